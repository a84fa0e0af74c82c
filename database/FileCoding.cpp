#include "database/FileCoding.h"

#include "components/FileTools.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"

#include <QFile>
#include <QFileInfo>

#include <exception>
#include <initializer_list>

#include <fcntl.h>
#include <unistd.h>

namespace keyholm {
namespace {

// A database that large is no database of ours; refuse it before reading it whole.
constexpr qint64 LargestDatabase = qint64(1) << 30;


QString StatusText(CipherEngine::FileStatus status)
{
    switch (status) {
    case CipherEngine::FileStatus::Ok:
        return {};
    case CipherEngine::FileStatus::WrongKey:
        return QStringLiteral("The master password does not open this file.");
    case CipherEngine::FileStatus::Damaged:
        return QStringLiteral("The file is damaged or incomplete.");
    case CipherEngine::FileStatus::NotKeyholmFile:
        return QStringLiteral("The file is not a Keyholm database.");
    case CipherEngine::FileStatus::NewerVersion:
        return QStringLiteral("The file was written by a newer version of Keyholm.");
    case CipherEngine::FileStatus::Failed:
        return QStringLiteral("There is not enough memory to decode the file.");
    }
    return {};
}

// Makes the rename itself durable, not only the file's content.
void SyncFolderOf(const QString& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void ReportUnreadable(const QString& source, const ErrorRecord& error)
{
    ReportError(QStringLiteral("Unable to read the file:\r\n") + source, {}, true, error);
}

} // namespace

std::optional<FileKey> MakeFileKey(const QString& keyText, const QString& masterPassword, const FileKey::Params& params)
{
    TraceLog(QStringLiteral("Make data file key"),
        masterPassword.isEmpty() ? QStringLiteral("without master password") : QStringLiteral("with master password"));
    std::optional<FileKey> key;
    try {
        key = CipherEngine::Instance().MakeFileKey(keyText, NumericParameterText(), masterPassword, params);
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("Unable to make the data file key"), {}, true, ErrorRecord::FromException(e));
        return std::nullopt;
    }
    if (!key)
        ReportError(QStringLiteral("Unable to make the data file key"), {}, true,
            ErrorRecord::Make(ErrorRecord::OutOfMemory, QStringLiteral("The key derivation failed.")));
    return key;
}

CipherEngine::FileHeader ReadFileHeader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        CipherEngine::FileHeader header;
        header.status = CipherEngine::FileStatus::Failed;
        return header;
    }
    return CipherEngine::Instance().InspectFile(file.read(CipherEngine::HeaderSize + CipherEngine::TagSize));
}

bool CodeFile(const QByteArray& tree, const QString& destination, const FileKey& key)
{
    TraceLog(QStringLiteral("Code data file"), destination);
    const QString message = QStringLiteral("Unable to write the file:\r\n") + destination;
    try {
        const QByteArray container = CipherEngine::Instance().CodeFile(tree, key);
        if (container.isEmpty()) {
            ReportError(message, {}, true,
                ErrorRecord::Make(ErrorRecord::OutOfMemory, QStringLiteral("The data could not be coded.")));
            return false;
        }
        // A new database is the user's alone; an existing one keeps the
        // permissions it was given.
        if (!FileTools::WriteAtomically(
                destination, container, FileTools::OwnerOnly, FileTools::ExistingMode::Keep)) {
            ReportError(message, {}, true,
                ErrorRecord::Make(ErrorRecord::FileAccess, QStringLiteral("The file could not be written whole.")));
            return false;
        }
        SyncFolderOf(destination);
        return true;
    } catch (const std::exception& e) {
        ReportError(message, {}, true, ErrorRecord::FromException(e));
        return false;
    }
}

DatabaseBytes ReadDatabaseFile(const QString& source)
{
    DatabaseBytes read;
    read.header.status = CipherEngine::FileStatus::Failed;
    try {
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly)) {
            ReportUnreadable(source, ErrorRecord::Make(ErrorRecord::FileAccess, file.errorString()));
            return read;
        }
        auto& engine = CipherEngine::Instance();
        // The header first: a foreign or oversized file is not read whole.
        read.header = engine.InspectFile(file.read(CipherEngine::HeaderSize + CipherEngine::TagSize));
        if (read.header.status == CipherEngine::FileStatus::Ok && file.size() > LargestDatabase)
            read.header.status = CipherEngine::FileStatus::Damaged;
        if (read.header.status != CipherEngine::FileStatus::Ok) {
            ReportUnreadable(source, ErrorRecord::Make(ErrorRecord::FileAccess, StatusText(read.header.status)));
            return read;
        }
        file.seek(0);
        read.container = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            ReportUnreadable(source, ErrorRecord::Make(ErrorRecord::FileAccess, file.errorString()));
            read.container.clear();
            read.header.status = CipherEngine::FileStatus::Failed;
            return read;
        }
        // What is decoded is what this header came from, even if the file
        // changed between the two reads.
        read.header = engine.InspectFile(read.container);
        if (read.header.status != CipherEngine::FileStatus::Ok) {
            ReportUnreadable(source, ErrorRecord::Make(ErrorRecord::FileAccess, StatusText(read.header.status)));
            read.container.clear();
        }
        return read;
    } catch (const std::exception& e) {
        ReportUnreadable(source, ErrorRecord::FromException(e));
        read.header.status = CipherEngine::FileStatus::Failed;
        read.container.clear();
        return read;
    }
}

CipherEngine::DecodedFile DecodeContainer(
    const QByteArray& container, const QString& source, const QString& keyText, const QString& masterPassword)
{
    TraceLog(QStringLiteral("Decode data file"), source);
    CipherEngine::DecodedFile failed;
    failed.status = CipherEngine::FileStatus::Failed;
    try {
        auto& engine = CipherEngine::Instance();
        const CipherEngine::FileHeader header = engine.InspectFile(container);
        CipherEngine::DecodedFile decoded = engine.DecodeFile(container, keyText, NumericParameterText(), masterPassword);
        // Without a master password the key is the program's own, so a key
        // that does not fit means damage, not a wrong password.
        if (decoded.status == CipherEngine::FileStatus::WrongKey && !header.isProtected)
            decoded.status = CipherEngine::FileStatus::Damaged;
        if (decoded.status == CipherEngine::FileStatus::WrongKey)
            TraceLog(QStringLiteral("Wrong master password"), source);
        else if (decoded.status != CipherEngine::FileStatus::Ok)
            ReportUnreadable(source, ErrorRecord::Make(ErrorRecord::FileAccess, StatusText(decoded.status)));
        else if (decoded.checkDamaged)
            TraceLog(QStringLiteral("Damaged key check of the data file, rewritten at the next save"), source);
        return decoded;
    } catch (const std::exception& e) {
        ReportUnreadable(source, ErrorRecord::FromException(e));
        return failed;
    }
}

CipherEngine::DecodedFile DecodeFile(const QString& source, const QString& keyText, const QString& masterPassword)
{
    const DatabaseBytes read = ReadDatabaseFile(source);
    if (read.header.status != CipherEngine::FileStatus::Ok) {
        CipherEngine::DecodedFile failed;
        failed.status = read.header.status;
        return failed;
    }
    return DecodeContainer(read.container, source, keyText, masterPassword);
}

bool VerifyMasterPassword(const FileKey& key, const QString& keyText, const QString& masterPassword)
{
    try {
        return CipherEngine::Instance().VerifyMasterPassword(key, keyText, NumericParameterText(), masterPassword);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace keyholm
