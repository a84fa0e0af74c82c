#include "components/FileTools.h"

#include "components/TextEncoding.h"
#include "components/TextTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QUrl>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace keyholm {
namespace {
bool IsFolderSeparator(QChar c)
{
    return c == QLatin1Char('/') || c == QDir::separator();
}
} // namespace

QString FileTools::RelocatePath(const QString& storedPath) const
{
    if (storedPath.isEmpty() || FileExists(storedPath) || dataFolder_.isEmpty())
        return storedPath;
    const QString name = TextTools::Instance().FileNamePart(storedPath);
    if (name.isEmpty())
        return storedPath;
    const QString candidate = WithFolderSeparator(dataFolder_) + name;
    return FileExists(candidate) ? candidate : storedPath;
}

std::optional<QString> FileTools::LoadTextFile(const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return DecodeTextBytes(file.readAll());
}

bool FileTools::SaveTextFile(const QString& path, const QString& text) const
{
    return WriteAtomically(path, text.toUtf8());
}

bool FileTools::WriteAtomically(
    const QString& target, const QByteArray& data, QFileDevice::Permissions permissions, ExistingMode existing)
{
    return WriteAtomically(
        target, [&data](QIODevice& file) { return file.write(data) == data.size(); }, permissions, existing);
}

bool FileTools::WriteAtomically(
    const QString& target, const DeviceWriter& write, QFileDevice::Permissions permissions, ExistingMode existing)
{
    // QSaveFile writes beside the target, fsyncs and renames on commit.
    QSaveFile file(target);
    const bool keep = existing == ExistingMode::Keep && QFileInfo::exists(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // open() gave its scratch file the target's mode, or the umask's for a
    // new target: settle it before anything is written.
    if (!keep && !file.setPermissions(permissions)) {
        file.cancelWriting();
        return false;
    }
    // Qt 6.4's commit() ignores a failed final flush (a full disk) and would
    // put a truncated file in place, so flush first and give up on failure.
    if (!write(file) || file.error() != QFileDevice::NoError || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool FileTools::CopyWithExtension(const QString& path, const QString& newExtension, const QString& targetFolder) const
{
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    QString extension = newExtension;
    if (!extension.isEmpty() && !extension.startsWith(QLatin1Char('.')))
        extension.prepend(QLatin1Char('.'));
    const QString folder = targetFolder.isEmpty() ? info.absolutePath() : targetFolder;
    const QString target = WithFolderSeparator(folder) + info.completeBaseName() + extension;
    return CopyFile(path, target);
}

bool FileTools::CopyFile(const QString& source, const QString& target, QFileDevice::Permissions permissions) const
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (!out.setPermissions(permissions)) { // see WriteAtomically
        out.cancelWriting();
        return false;
    }
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0 || (got > 0 && out.write(buffer, got) != got)) {
            out.cancelWriting();
            return false;
        }
        if (got == 0)
            break;
    }
    if (!out.flush()) { // see WriteAtomically
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

bool FileTools::ShellOpen(const QString& documentOrUrl) const
{
    if (documentOrUrl.trimmed().isEmpty())
        return false;
    const QUrl url = QFileInfo::exists(documentOrUrl) ? QUrl::fromLocalFile(documentOrUrl)
                                                      : QUrl::fromUserInput(documentOrUrl);
    if (!url.isValid())
        return false;
    if (opener_)
        return opener_(url);
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
}

QString FileTools::StripFolderSeparator(const QString& folder) const
{
    QString stripped = folder;
    // Keep the root itself: "/" stays "/".
    while (stripped.size() > 1 && IsFolderSeparator(stripped.back()))
        stripped.chop(1);
    return stripped;
}

QString FileTools::WithFolderSeparator(const QString& folder) const
{
    if (folder.isEmpty())
        return folder;
    QString with = StripFolderSeparator(folder);
    if (!IsFolderSeparator(with.back()))
        with.append(QDir::separator());
    return with;
}

bool FileTools::DeleteFile(const QString& path) const
{
    return QFile::remove(path) || !QFileInfo::exists(path);
}

bool FileTools::FileExists(const QString& path) const
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

bool FileTools::FolderExists(const QString& folder) const
{
    return !folder.isEmpty() && QFileInfo(folder).isDir();
}

bool FileTools::CreateFolder(const QString& folder) const
{
    if (folder.isEmpty())
        return false;
    // The missing folders, the deepest first; QDir::mkpath would give them
    // the umask's mode.
    QStringList missing;
    for (QString path = QDir::cleanPath(QDir(folder).absolutePath()); !QFileInfo::exists(path);) {
        missing.prepend(path);
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    for (const QString& path : missing) {
        const QByteArray name = QFile::encodeName(path);
        if (::mkdir(name.constData(), 0700) == 0)
            ::chmod(name.constData(), 0700); // mkdir's mode is cut by the umask, chmod's is not
        else if (errno != EEXIST)
            return false;
    }
    return FolderExists(folder);
}

bool FileTools::RestrictFolder(const QString& folder) const
{
    if (!FolderExists(folder))
        return false;
    const QByteArray name = QFile::encodeName(folder);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return false;
    if ((info.st_mode & 077) == 0)
        return true;
    return ::chmod(name.constData(), info.st_mode & 0700) == 0;
}

QString FileTools::TempFileName(const QString& extension) const
{
    const QString folder = WithFolderSeparator(QDir::tempPath());
    const QString suffix = extension.isEmpty() ? QString() : QLatin1Char('.') + extension;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = QStringLiteral("keyholm-%1%2")
                                 .arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'))
                                 .arg(suffix);
        const QString path = folder + name;
        // O_EXCL reserves the name; 0600 keeps other users out of it.
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return path;
        }
    }
    return {};
}

} // namespace keyholm
