#include "services/Environment.h"

#include "components/FileTools.h"
#include "components/SystemInfo.h"
#include "components/TextTools.h"
#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTime>

#include <random>

namespace keyholm {
namespace {
const QString ProductName = QStringLiteral("Keyholm");

struct EnvironmentState {
    QString dataFolder;
    QString backupFolder;
    QString tempFolder;
    QString label;
    QString scratchFile;
    std::unique_ptr<QLockFile> lock;
};

EnvironmentState& State()
{
    static EnvironmentState state;
    return state;
}

std::mt19937& Generator()
{
    static std::mt19937 generator(static_cast<std::mt19937::result_type>(QDateTime::currentMSecsSinceEpoch()));
    return generator;
}

QString EnvironmentFolder(const char* name)
{
    const QString value = qEnvironmentVariable(name).trimmed();
    // Absolute, because the start makes the program folder the current one.
    return value.isEmpty() ? QString() : FileTools::Instance().WithFolderSeparator(QDir(value).absolutePath());
}
} // namespace

// ---- Folders ---------------------------------------------------------------

QString EnsureFolder(const QString& path)
{
    const auto& files = FileTools::Instance();
    if (path.trimmed().isEmpty())
        return path;
    if (!files.FolderExists(path) && !files.CreateFolder(path))
        return path;
    return files.WithFolderSeparator(path);
}

void PrepareFolders(const QString& subFolder, const QString& applicationFolderName)
{
    auto& state = State();
    auto& files = FileTools::Instance();
    const QString folderName
        = applicationFolderName.trimmed().isEmpty() ? ApplicationFolderName() : applicationFolderName.trimmed();
    QString data = EnvironmentFolder("KEYHOLM_HOME");
    if (data.isEmpty()) {
        const QString documents = SystemInfo::Instance().DocumentsFolder();
        if (documents.isEmpty())
            data = ProgramFolder();
        else
            data = files.WithFolderSeparator(documents)
                + (subFolder.trimmed().isEmpty() ? folderName : subFolder.trimmed());
    }
    state.dataFolder = EnsureFolder(data);
    if (!files.FolderExists(state.dataFolder)) {
        ReportError(QStringLiteral("Error on checking default directories."), {}, true,
            ErrorRecord::Make(ErrorRecord::FileAccess, QStringLiteral("Cannot make the folder ") + data));
        state.dataFolder = files.WithFolderSeparator(data);
    }
    files.SetDataFolder(state.dataFolder);
    state.backupFolder = EnsureFolder(state.dataFolder + QStringLiteral("Backup"));
    // Databases, their backups and the log are the user's alone, also in
    // folders made by an earlier version under a looser umask. The program
    // folder, a fallback, is not ours to narrow.
    if (state.dataFolder != ProgramFolder())
        files.RestrictFolder(state.dataFolder);
    files.RestrictFolder(state.backupFolder);

    QString temp = EnvironmentFolder("TMP");
    if (temp.isEmpty())
        temp = EnvironmentFolder("TEMP");
    if (temp.isEmpty())
        temp = files.WithFolderSeparator(QDir::tempPath());
    if (!files.FolderExists(temp))
        temp = EnsureFolder(state.dataFolder + QStringLiteral("Temp"));
    state.tempFolder = temp;
}

const QString& DataFolder()
{
    return State().dataFolder;
}

const QString& BackupFolder()
{
    return State().backupFolder;
}

const QString& TempFolder()
{
    return State().tempFolder;
}

QString ApplicationFolderName()
{
    const QString name = GetMessage(10000).trimmed();
    return name.isEmpty() || name.contains(QStringLiteral("Message #")) ? ProductName : name;
}

QString ApplicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? ProductName : name;
}

QString ApplicationLabel()
{
    const QString& label = State().label;
    return label.isEmpty() ? ApplicationTitle() : label;
}

void SetApplicationLabel(const QString& label)
{
    State().label = label.trimmed();
}

QString ProgramFileName()
{
    const QString path = QCoreApplication::applicationFilePath();
    return path.isEmpty() ? ProductName.toLower() : QFileInfo(path).fileName();
}

QString ProgramFolder()
{
    const QString folder = QCoreApplication::applicationDirPath();
    return FileTools::Instance().WithFolderSeparator(folder.isEmpty() ? QDir::currentPath() : folder);
}

const QString& ScratchFileName()
{
    return State().scratchFile;
}

void ReserveScratchFile()
{
    auto& state = State();
    if (!state.scratchFile.isEmpty())
        return;
    state.scratchFile = FileTools::Instance().TempFileName(QStringLiteral("tmp"));
    if (state.scratchFile.isEmpty()) {
        // The system's temporary folder is unusable: a name of our own in a
        // folder the program may write to.
        const QString folder = TempFolder().isEmpty() ? ProgramFolder() : TempFolder();
        state.scratchFile
            = folder + QStringLiteral("~Khm") + QString::number(PseudoRandomBetween(23, 69)) + QStringLiteral(".tmp");
    }
}

void DeleteScratchFile()
{
    auto& state = State();
    if (!state.scratchFile.isEmpty())
        FileTools::Instance().DeleteFile(state.scratchFile);
    state.scratchFile.clear();
}

// ---- Single instance ---------------------------------------------------------

QString InstanceLockPath()
{
    QString folder = DataFolder();
    if (folder.isEmpty()) {
        PrepareFolders();
        folder = DataFolder();
    }
    return folder + QFileInfo(ProgramFileName()).completeBaseName() + QStringLiteral(".lock");
}

bool ClaimSingleInstance()
{
    auto& state = State();
    if (state.lock && state.lock->isLocked())
        return true;
    auto lock = std::make_unique<QLockFile>(InstanceLockPath());
    // A running instance holds its lock for hours: only a dead owner makes a
    // lock stale, never its age.
    lock->setStaleLockTime(0);
    // tryLock takes over a lock whose owner is no longer running.
    if (!lock->tryLock(0))
        // No lock can be made there at all (a read-only folder): that is no
        // reason to refuse the start.
        return lock->error() != QLockFile::LockFailedError;
    state.lock = std::move(lock);
    return true;
}

void ReleaseSingleInstance()
{
    State().lock.reset();
}

// ---- Files -------------------------------------------------------------------

std::unique_ptr<QFile> OpenForWriting(const QString& path, bool report)
{
    if (!path.trimmed().isEmpty()) {
        auto file = std::make_unique<QFile>(path);
        if (file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            return file;
        if (report)
            ReportError(
                GetMessage(284) + path, {}, true, ErrorRecord::Make(ErrorRecord::FileAccess, file->errorString()));
    } else if (report) {
        ReportError(GetMessage(284) + path, {}, true, ErrorRecord::Make(ErrorRecord::InvalidCall, {}));
    }
    return nullptr;
}

std::unique_ptr<QFile> OpenForAppending(const QString& path, bool report)
{
    if (!path.trimmed().isEmpty()) {
        auto file = std::make_unique<QFile>(path);
        if (file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            return file;
        if (report)
            ReportError(QStringLiteral("Error on append the file: ") + path, {}, true,
                ErrorRecord::Make(ErrorRecord::FileAccess, file->errorString()));
    } else if (report) {
        ReportError(QStringLiteral("Error on append the file: ") + path, {}, true,
            ErrorRecord::Make(ErrorRecord::InvalidCall, {}));
    }
    return nullptr;
}

std::unique_ptr<QFile> OpenForReading(const QString& path, bool report, bool create)
{
    const bool exists = FileTools::Instance().FileExists(path);
    if (!exists && create)
        return OpenForWriting(path, true);
    ErrorRecord error = ErrorRecord::Make(ErrorRecord::FileNotFound, QStringLiteral("File not found"));
    if (exists) {
        auto file = std::make_unique<QFile>(path);
        if (file->open(QIODevice::ReadOnly | QIODevice::Text))
            return file;
        error = ErrorRecord::Make(ErrorRecord::FileAccess, file->errorString());
    }
    if (report)
        ReportError(GetMessage(282) + QStringLiteral(" : <BR>") + path, {}, true, error);
    return nullptr;
}

bool HasExtension(const QString& path, const QString& extension)
{
    const auto& text = TextTools::Instance();
    const QString wanted
        = extension.contains(QLatin1Char('.')) ? text.AfterLast(extension, QStringLiteral(".")) : extension;
    const QString own = text.AfterLast(path, QStringLiteral("."));
    return !wanted.isEmpty() && !own.isEmpty() && own.toUpper() == wanted.toUpper();
}

void DisplayUrl(const QString& address, const QString& program)
{
    const QString target = address.trimmed().isEmpty() ? MakerHomePage : address;
    const QString command
        = (program.trimmed().isEmpty() ? target : program.trimmed() + QLatin1Char(' ') + target).trimmed();
    TraceLog(QStringLiteral("Display URL"), command);
    if (program.trimmed().isEmpty())
        FileTools::Instance().ShellOpen(command);
    else
        SystemInfo::Instance().RunCommand(command);
}

QString sHeureMinuteDuMoment()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm"));
}

// ---- Pseudo-random draws -------------------------------------------------------

double NextPseudoRandom()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(Generator());
}

int PseudoRandomBetween(int low, int high)
{
    if (high < low)
        std::swap(low, high);
    return std::uniform_int_distribution<int>(low, high)(Generator());
}

void SeedPseudoRandom(quint32 seed)
{
    Generator().seed(seed);
}

} // namespace keyholm
