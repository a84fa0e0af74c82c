#pragma once
// A database opened by keyholm-cli: read once, backed up once it opened, the
// master password asked (two tries, as in the window) when the header says
// one protects it, and saved through the same write as the window's.

#include "components/CipherEngine.h"
#include "components/FileKey.h"
#include "components/PasswordTree.h"

#include <QString>

#include <memory>
#include <optional>

namespace keyholm::cli {

class SecretInput;

struct Database {
    QString path;
    PasswordTree tree;
    CipherEngine::FileHeader header;
    std::optional<FileKey> key;
};

// Prints on the standard error why it failed; null then.
std::unique_ptr<Database> OpenDatabase(const QString& path, SecretInput& input);
// The key of a new master password (empty: none). Null on failure (said).
std::optional<FileKey> NewKey(const QString& password);
// Writes the database back; false (said) on failure.
bool SaveDatabase(Database& database);

// Messages on the standard error, prefixed with the program's name.
void Fail(const QString& text);
void Warn(const QString& text);

} // namespace keyholm::cli
