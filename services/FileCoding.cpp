#include "services/FileCoding.h"

#include "components/FileTools.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <exception>
#include <initializer_list>

#include <fcntl.h>
#include <unistd.h>

namespace keyholm {
namespace {

// A database that large is no database of ours; refuse it before reading it whole.
constexpr qint64 LargestDatabase = qint64(1) << 30;

// A scratch file made before this time cannot be a save still going on.
const QDateTime RunStart = QDateTime::currentDateTime();

} // namespace

QString FileStatusText(CipherEngine::FileStatus status)
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

namespace {

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

// Into the log only: the opening that asked tells the user, once.
void TraceUnreadable(const QString& source, const ErrorRecord& error)
{
    ReportError(QStringLiteral("Unable to read the file:\r\n") + source, {}, false, error);
}

// Traces the failure and keeps its reason for the caller.
void Fail(DatabaseBytes& read, const QString& source, const QString& why)
{
    TraceUnreadable(source, ErrorRecord::Make(ErrorRecord::FileAccess, why));
    read.failure = why;
    read.container.clear();
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
        ReportException(QStringLiteral("Unable to make the data file key"), e);
        return std::nullopt;
    }
    if (!key)
        ReportError(QStringLiteral("Unable to make the data file key"), {}, true,
            ErrorRecord::Make(ErrorRecord::OutOfMemory, QStringLiteral("The key derivation failed.")));
    return key;
}

int RemoveScratchLeftovers(const QString& database)
{
    const QFileInfo target(database);
    const QRegularExpression scratch(
        QStringLiteral("^") + QRegularExpression::escape(target.fileName()) + QStringLiteral("\\.[A-Za-z0-9]{6}$"));
    int removed = 0;
    const QFileInfoList candidates = target.dir().entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QFileInfo& candidate : candidates) {
        if (!scratch.match(candidate.fileName()).hasMatch() || candidate.lastModified() >= RunStart)
            continue;
        // Only what is surely ours: a user's "Base.khm.backup" of another kind stays.
        QFile file(candidate.absoluteFilePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const auto header
            = CipherEngine::Instance().InspectFile(file.read(CipherEngine::HeaderSize + CipherEngine::TagSize));
        file.close();
        if (header.status == CipherEngine::FileStatus::NotKeyholmFile)
            continue;
        if (QFile::remove(candidate.absoluteFilePath())) {
            TraceLog(QStringLiteral("Scratch file of an interrupted save removed"), candidate.absoluteFilePath());
            ++removed;
        }
    }
    return removed;
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
        RemoveScratchLeftovers(destination);
        // A new database is the user's alone; an existing one keeps the
        // permissions it was given.
        if (!FileTools::WriteAtomically(destination, container, FileTools::OwnerOnly, FileTools::ExistingMode::Keep)) {
            ReportError(message, {}, true,
                ErrorRecord::Make(ErrorRecord::FileAccess, QStringLiteral("The file could not be written whole.")));
            return false;
        }
        SyncFolderOf(destination);
        return true;
    } catch (const std::exception& e) {
        ReportException(message, e);
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
            Fail(read, source, file.errorString());
            return read;
        }
        auto& engine = CipherEngine::Instance();
        // The header first: a foreign or oversized file is not read whole.
        read.header = engine.InspectFile(file.read(CipherEngine::HeaderSize + CipherEngine::TagSize));
        if (read.header.status == CipherEngine::FileStatus::Ok && file.size() > LargestDatabase)
            read.header.status = CipherEngine::FileStatus::Damaged;
        if (read.header.status != CipherEngine::FileStatus::Ok) {
            Fail(read, source, FileStatusText(read.header.status));
            return read;
        }
        file.seek(0);
        read.container = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            Fail(read, source, file.errorString());
            read.header.status = CipherEngine::FileStatus::Failed;
            return read;
        }
        // What is decoded is what this header came from, even if the file
        // changed between the two reads.
        read.header = engine.InspectFile(read.container);
        if (read.header.status != CipherEngine::FileStatus::Ok)
            Fail(read, source, FileStatusText(read.header.status));
        else
            RemoveScratchLeftovers(source);
        return read;
    } catch (const std::exception& e) {
        TraceUnreadable(source, ErrorRecord::FromException(e));
        read.header.status = CipherEngine::FileStatus::Failed;
        read.failure = FileStatusText(read.header.status);
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
        CipherEngine::DecodedFile decoded
            = engine.DecodeFile(container, keyText, NumericParameterText(), masterPassword);
        // Without a master password the key is the program's own, so a key
        // that does not fit means damage, not a wrong password.
        if (decoded.status == CipherEngine::FileStatus::WrongKey && !header.isProtected)
            decoded.status = CipherEngine::FileStatus::Damaged;
        if (decoded.status == CipherEngine::FileStatus::WrongKey)
            TraceLog(QStringLiteral("Wrong master password"), source);
        else if (decoded.status != CipherEngine::FileStatus::Ok)
            TraceUnreadable(source, ErrorRecord::Make(ErrorRecord::FileAccess, FileStatusText(decoded.status)));
        else if (decoded.checkDamaged)
            TraceLog(QStringLiteral("Damaged key check of the data file, rewritten at the next save"), source);
        return decoded;
    } catch (const std::exception& e) {
        TraceUnreadable(source, ErrorRecord::FromException(e));
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
