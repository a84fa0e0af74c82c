#pragma once
// Coding of node fields and of database files, over CipherEngine.
//
// A database file is the TreeStore buffer of the whole tree in the
// CipherEngine container; the plain tree never reaches the disk. Without a
// master password the container key comes from the key text built into the
// program, so such a file is only obfuscated; with one, the key is Argon2id
// of the master password. The master password therefore has to be asked
// before the file is decoded (ReadFileHeader tells whether it is needed), and
// the key of the open database is kept to save it again (a new key, with a
// new salt, only when the master password changes). The file is read once:
// its header, its backup and its decoding all come from the same bytes, so
// a file swapped meanwhile cannot slip in.

#include "components/CipherEngine.h"
#include "components/FieldCoding.h"
#include "components/FileKey.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace keyholm {

// The key to save a database with: protected by Argon2id of `masterPassword`
// (which takes about half a second), or only the key text when that is
// empty. Nothing when it cannot be made (reported).
[[nodiscard]] std::optional<FileKey> MakeFileKey(
    const QString& keyText, const QString& masterPassword, const FileKey::Params& params = FileKey::Params::Moderate());

// What the file's header says, without any key: whether it is a Keyholm
// file and whether a master password protects it. An unreadable file gives
// the status Failed.
[[nodiscard]] CipherEngine::FileHeader ReadFileHeader(const QString& path);

// Codes the tree buffer into `destination`, atomically: the container goes
// to a file beside it that is flushed to the disk and renamed over the old
// one, so that a crash leaves the old file or the new one, whole. True when
// the destination was written; a failure is reported.
[[nodiscard]] bool CodeFile(const QByteArray& tree, const QString& destination, const FileKey& key);

// Removes what a save killed before its rename left beside `database`: its
// scratch files (the database's name, a dot and six letters or digits) that
// hold a Keyholm container and are older than this run. The number removed.
int RemoveScratchLeftovers(const QString& database);

// Why a file could not be read or decoded, for the user: one sentence.
QString FileStatusText(CipherEngine::FileStatus status);

// The whole file, read once, with what its header says; `header.status` is
// Ok only for a sound Keyholm header of a file not too large to be ours.
// A failure goes to the trace log and `failure` says why; telling the user
// is the caller's, so that one failure makes one message.
struct DatabaseBytes {
    CipherEngine::FileHeader header;
    QByteArray container;
    QString failure;
};
[[nodiscard]] DatabaseBytes ReadDatabaseFile(const QString& source);

// Decodes the container read from `source`. A wrong master password gives
// WrongKey (the caller asks again); every other failure goes to the trace
// log, and FileStatusText of the status tells the user why. On success the result holds the tree buffer (wipe it
// with CipherEngine::Wipe once loaded) and the key to save the database with.
[[nodiscard]] CipherEngine::DecodedFile DecodeContainer(
    const QByteArray& container, const QString& source, const QString& keyText, const QString& masterPassword);

// ReadDatabaseFile, then DecodeContainer.
[[nodiscard]] CipherEngine::DecodedFile DecodeFile(
    const QString& source, const QString& keyText, const QString& masterPassword);

// True when `masterPassword` is the one the key of the open database was
// made from (one key derivation).
[[nodiscard]] bool VerifyMasterPassword(const FileKey& key, const QString& keyText, const QString& masterPassword);

} // namespace keyholm
