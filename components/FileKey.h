#pragma once
// The key of one database file, kept while the database is open so that a
// save does not pay the password derivation again. The key bytes live in
// guarded memory that is locked out of swap, unreadable between uses and
// wiped when the key goes.

#include <QByteArray>
#include <QtGlobal>

#include <array>

namespace keyholm {

class FileKey {
public:
    // Argon2id cost, stored in the file header so that a file stays readable
    // when the defaults change.
    struct Params {
        quint32 opsLimit = 0;
        quint64 memLimit = 0; // bytes
        // 3 passes over 256 MiB: about half a second on a current desktop.
        static Params Moderate();
        // 2 passes over 64 MiB: the least a new key is made with. Test
        // programs link a lower floor of their own, to spare time.
        static Params WritingFloor();
        // True when both costs are at least those of `other`.
        bool AtLeast(const Params& other) const { return opsLimit >= other.opsLimit && memLimit >= other.memLimit; }
        bool operator==(const Params&) const = default;
    };
    static constexpr int SaltSize = 16;
    using Salt = std::array<unsigned char, SaltSize>;

    FileKey(FileKey&& other) noexcept;
    FileKey& operator=(FileKey&& other) noexcept;
    FileKey(const FileKey&) = delete;
    FileKey& operator=(const FileKey&) = delete;
    ~FileKey();

    // True when a master password went into the key; otherwise the file is
    // only obfuscated with the key text built into the program.
    bool IsProtected() const { return protected_; }
    const Params& KdfParams() const { return params_; }
    const Salt& SaltBytes() const { return salt_; }

private:
    friend class CipherEngine;
    friend struct FileKeyTestProbe; // tests open the page the way CipherEngine does
    struct Secret {
        unsigned char encryption[32];
        unsigned char check[32];
    };
    FileKey(bool isProtected, const Params& params, const Salt& salt);
    bool IsValid() const { return secret_ != nullptr; }
    // Opens the guarded page for reading while the returned object lives;
    // accesses may nest, the page closes when the outermost one ends.
    class Access {
    public:
        explicit Access(const FileKey& key);
        ~Access();
        Access(const Access&) = delete;
        Access& operator=(const Access&) = delete;
        const Secret& operator*() const { return *key_.secret_; }
        const Secret* operator->() const { return key_.secret_; }

    private:
        const FileKey& key_;
    };
    Secret* Writable();
    void Seal();

    Secret* secret_ = nullptr;
    mutable int openAccesses_ = 0;
    bool protected_ = false;
    Params params_;
    Salt salt_ {};
};

} // namespace keyholm
