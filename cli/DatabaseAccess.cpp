#include "cli/DatabaseAccess.h"

#include "cli/SecretInput.h"
#include "components/FieldCoding.h"
#include "components/NodeTags.h"
#include "components/TreeStore.h"
#include "services/BackupCopies.h"
#include "services/DatabaseContent.h"
#include "services/Environment.h"
#include "services/FileCoding.h"
#include "services/MessagesDatabase.h"
#include "services/Preferences.h"

#include <QFileInfo>

#include <cstdio>

namespace keyholm::cli {

namespace {

void Say(const char* kind, const QString& text)
{
    const QByteArray line = QStringLiteral("keyholm-cli: %1%2\n").arg(QLatin1String(kind), text).toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

} // namespace

void Fail(const QString& text)
{
    Say("", text);
}

void Warn(const QString& text)
{
    Say("attention : ", text);
}

std::unique_ptr<Database> OpenDatabase(const QString& path, SecretInput& input)
{
    if (!QFileInfo(path).isFile()) {
        Fail(GetMessage(296) + path);
        return nullptr;
    }
    auto database = std::make_unique<Database>();
    database->path = path;
    DatabaseBytes read = ReadDatabaseFile(path);
    database->header = read.header;
    if (read.header.status != CipherEngine::FileStatus::Ok) {
        Fail(QStringLiteral("Impossible de lire le fichier %1 : %2").arg(path, read.failure));
        return nullptr;
    }
    CipherEngine::DecodedFile decoded;
    if (!read.header.isProtected) {
        decoded = DecodeContainer(read.container, path, FixedKeyText, QString());
    } else {
        for (int attempt = 1; attempt <= 2; ++attempt) {
            std::optional<QString> typed = input.Read(QStringLiteral("Mot de passe maître : "));
            if (!typed) {
                Fail(input.Failure());
                CipherEngine::Wipe(read.container);
                return nullptr;
            }
            decoded = DecodeContainer(read.container, path, FixedKeyText, *typed);
            CipherEngine::Wipe(*typed);
            if (decoded.status != CipherEngine::FileStatus::WrongKey)
                break;
            if (attempt == 1) {
                Fail(QStringLiteral("Mot de passe non correct."));
            } else {
                Fail(QStringLiteral("Mot de passe toujours incorrect. Impossible d'ouvrir la base de données."));
                CipherEngine::Wipe(read.container);
                return nullptr;
            }
        }
        // A file that asked for a password must open with a key made from one.
        if (decoded.status == CipherEngine::FileStatus::Ok && !(decoded.key && decoded.key->IsProtected())) {
            CipherEngine::Wipe(decoded.plain);
            decoded.status = CipherEngine::FileStatus::Damaged;
        }
    }
    if (decoded.status != CipherEngine::FileStatus::Ok) {
        Fail(QStringLiteral("Impossible de lire le fichier %1 : %2").arg(path, FileStatusText(decoded.status)));
        CipherEngine::Wipe(read.container);
        return nullptr;
    }
    const bool loaded = TreeStore::Instance().LoadTree(database->tree, decoded.plain);
    CipherEngine::Wipe(decoded.plain);
    if (!loaded || !database->tree.Root()) {
        Fail(QStringLiteral("Impossible de lire le contenu de la base : ") + path);
        CipherEngine::Wipe(read.container);
        return nullptr;
    }
    const TreeNode* root = database->tree.Root();
    if (!read.header.isProtected && !TagField(root->Tag(), 0).trimmed().isEmpty()) {
        // An older file keeps its password in the root: the window asks for
        // it and protects the file with it, once; nothing is done here.
        Fail(QStringLiteral("Ce fichier garde son mot de passe sous une ancienne forme : ouvrez-le d'abord dans "
                            "Keyholm, qui le protégera."));
        CipherEngine::Wipe(read.container);
        return nullptr;
    }
    database->key = std::move(decoded.key);
    // Only a file that opened is worth keeping, as in the window.
    BackupDatabase(path, read.container, BackupFolder(), PreferenceBackupGenerations);
    CipherEngine::Wipe(read.container);
    return database;
}

std::optional<FileKey> NewKey(const QString& password)
{
    std::optional<FileKey> key = MakeFileKey(FixedKeyText, password);
    if (!key)
        Fail(QStringLiteral("La clé du fichier n'a pas pu être faite."));
    return key;
}

bool SaveDatabase(Database& database)
{
    SaveStamp stamp(database.tree);
    const FileKey* key = database.key ? &*database.key : nullptr;
    switch (WriteDatabase(database.tree, database.path, key)) {
    case DatabaseWrite::Written:
        return true;
    case DatabaseWrite::RootPasswordWithoutKey:
    case DatabaseWrite::TreeNotSaved:
    case DatabaseWrite::FileNotWritten:
        break;
    }
    stamp.Undo();
    Fail(QStringLiteral("Erreur à l'écriture du fichier : ") + database.path);
    return false;
}

} // namespace keyholm::cli
