#pragma once
// Coding of node fields and of whole database files, and the random
// password and nickname generators, all on libsodium.
//
// Fields are coded deterministically (the stored files rely on it): a
// synthetic nonce, the keyed BLAKE2b hash of the text, then
// XChaCha20-Poly1305, written in base64url, whose alphabet never holds the
// node-tag separator "]|[".
//
// A database file is a container:
//   offset  size
//        0     8  magic "Keyholm" 0x1A
//        8     2  format version, little-endian (1)
//       10     1  flags: bit 0 set when a master password protects the file
//       11     1  key derivation: 0 the built-in key text, 1 Argon2id 1.3
//       12     4  Argon2id passes (0 without master password)
//       16     8  Argon2id memory in bytes (0 without master password)
//       24    16  salt
//       40    24  nonce, fresh for every save
//       64    16  key check: tells a wrong key from a damaged file
//       80     n  XChaCha20-Poly1305 of the tree, with bytes 0-79 as
//                 associated data, then its 16-byte tag
// The key is BLAKE2b of the key text, the numeric parameter text, the salt
// and, for a protected file, Argon2id of the master password.

#include "components/Components.h"
#include "components/FileKey.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace keyholm {

class CipherEngine : public SingleInstance<CipherEngine> {
public:
    static constexpr int FormatVersion = 1;
    static constexpr int HeaderSize = 80;
    static constexpr int TagSize = 16;

    enum class FileStatus {
        Ok,
        WrongKey,       // a whole Keyholm file, but not for this key or password
        Damaged,        // a Keyholm file that was changed or cut short
        NotKeyholmFile, // no Keyholm magic at the start
        NewerVersion,   // written by a later Keyholm
        Failed,         // the decoding could not run (libsodium or memory)
    };

    // What the header tells before any key is known; `status` is Ok when the
    // header is whole and sound.
    struct FileHeader {
        FileStatus status = FileStatus::NotKeyholmFile;
        int version = 0;
        bool isProtected = false;
        FileKey::Params params;
        FileKey::Salt salt {};
    };

    struct DecodedFile {
        FileStatus status = FileStatus::NotKeyholmFile;
        // The tree, only when status is Ok. The caller wipes it (Wipe) once loaded.
        QByteArray plain;
        // The key that opened the file, to save it again with; only from the
        // decoding that derives the key itself.
        std::optional<FileKey> key;
        // The key check of the header was wrong although the key opened the
        // file: the file is whole but for its check, which the next save
        // writes anew.
        bool checkDamaged = false;
    };

    // False when libsodium could not start; every operation then fails.
    bool IsReady() const { return ready_; }

    // The coded field; empty for an empty text or when coding fails.
    [[nodiscard]] QString CodeText(const QString& text, const QString& keyText, const QString& numericText) const;
    // The text back; empty for a damaged or foreign coded text.
    [[nodiscard]] QString DecodeText(const QString& codedText, const QString& keyText, const QString& numericText) const;

    // Decodes many coded texts of one key text, its keys derived once (a
    // search through every login). The keys are wiped with it.
    class TextDecoder {
    public:
        TextDecoder(const QString& keyText, const QString& numericText);
        ~TextDecoder();
        TextDecoder(const TextDecoder&) = delete;
        TextDecoder& operator=(const TextDecoder&) = delete;
        // As DecodeText.
        [[nodiscard]] QString Decode(const QString& codedText) const;

    private:
        unsigned char nonceKey_[32];
        unsigned char encryption_[32];
    };

    // A key with a fresh random salt. With an empty master password the file
    // is only obfuscated; otherwise Argon2id with `params` protects it.
    // Nothing when the parameters are out of bounds or below
    // FileKey::Params::WritingFloor(), or when memory is short.
    [[nodiscard]] std::optional<FileKey> MakeFileKey(const QString& keyText, const QString& numericText,
        const QString& masterPassword, const FileKey::Params& params = FileKey::Params::Moderate()) const;

    // The container of `plain`; empty when coding failed.
    [[nodiscard]] QByteArray CodeFile(const QByteArray& plain, const FileKey& key) const;

    [[nodiscard]] FileHeader InspectFile(const QByteArray& container) const;

    // Derives the key from the header's salt and parameters (the master
    // password is ignored for a file that has none) and decodes.
    [[nodiscard]] DecodedFile DecodeFile(const QByteArray& container, const QString& keyText, const QString& numericText,
        const QString& masterPassword) const;
    // Decodes with a key already derived for this file.
    [[nodiscard]] DecodedFile DecodeFile(const QByteArray& container, const FileKey& key) const;

    // True when `masterPassword` is the one `key` was derived from: one
    // derivation with the key's salt and cost, compared in constant time.
    // The password itself is never kept anywhere to compare it with.
    [[nodiscard]] bool VerifyMasterPassword(const FileKey& key, const QString& keyText, const QString& numericText,
        const QString& masterPassword) const;

    // A new random password from PasswordAlphabet(), with at least one
    // capital, small letter, digit and sign. Its length is drawn between the
    // two bounds, both raised to MinimumPasswordLength() so that it carries at
    // least 80 bits of entropy.
    [[nodiscard]] QString GeneratePassword(int minimumLength, int maximumLength) const;
    // A pronounceable nickname of 1 to 6 syllables (the count is clamped),
    // capitalised, followed by two digits when `withDigits`.
    [[nodiscard]] QString GenerateNickname(int syllables, bool withDigits) const;

    // Capitals without I and O, small letters without l, digits 2 to 9, and
    // "-_.!": nothing that looks like another sign, and nothing that needs
    // escaping in a web address or breaks a ";"-separated export.
    static QString PasswordAlphabet();
    static int MinimumPasswordLength();

    // Overwrite the buffer and empty it. A buffer that something else still
    // shares cannot be overwritten from here: it is only emptied, and the
    // answer is false, so that a caller (or a test) sees the copy left.
    static bool Wipe(QByteArray& bytes);
    static bool Wipe(QString& text);

private:
    friend class SingleInstance<CipherEngine>;
    CipherEngine();
    std::optional<FileKey> DeriveKey(const QString& keyText, const QString& numericText,
        const QString& masterPassword, const FileKey::Params& params, const FileKey::Salt& salt) const;

    bool ready_ = false;
};

} // namespace keyholm
