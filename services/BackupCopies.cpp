#include "services/BackupCopies.h"

#include "components/FileTools.h"
#include "components/SystemInfo.h"
#include "components/TextTools.h"
#include "services/TraceLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sodium.h>

#include <cstdio>
#include <exception>
#include <optional>

namespace keyholm {
namespace {

// Base name and extension of the file name, cut at its last "." (a "." in a
// folder name above it does not count).
struct NameParts {
    QString base;
    QString extension;
};

NameParts Split(const QString& source)
{
    const auto& text = TextTools::Instance();
    const QString name = text.FileNamePart(source);
    return {text.BeforeLast(name, QStringLiteral(".")), text.AfterLast(name, QStringLiteral("."))};
}

QString SizeText(const QString& path)
{
    return QString::number(QFileInfo(path).size()) + QStringLiteral(" bytes");
}

QString TargetFolder(const QString& source, const QString& backupFolder)
{
    const auto& files = FileTools::Instance();
    QString folder = backupFolder;
    if (folder.isEmpty() && !files.DataFolder().isEmpty())
        folder = files.WithFolderSeparator(files.DataFolder()) + QStringLiteral("Backup");
    if (folder.isEmpty())
        folder = QFileInfo(source).absolutePath();
    if (!files.FolderExists(folder))
        files.CreateFolder(folder);
    else
        files.RestrictFolder(folder);
    return files.WithFolderSeparator(folder);
}

// The file's content when it has `size` bytes; nothing otherwise (a copy
// of another size cannot hold the same bytes, and need not be read).
std::optional<QByteArray> ContentOfSize(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() != size)
        return std::nullopt;
    return file.readAll();
}

QString MonthText(const QDate& date)
{
    const QLocale& locale = SystemInfo::Instance().Locale();
    return locale.toUpper(locale.standaloneMonthName(date.month(), QLocale::LongFormat));
}

} // namespace

QString BackupCopyName(const QString& source, const QString& suffix, int number)
{
    const NameParts parts = Split(source);
    const QString name = parts.base + QLatin1Char('_') + parts.extension + suffix;
    return number >= 1 ? QString::number(number) + QLatin1Char('_') + name : name;
}

QString MonthlyCopyName(const QString& source, const QString& suffix, const QDate& date)
{
    const NameParts parts = Split(source);
    return parts.base + QLatin1Char('_') + parts.extension + QLatin1Char('_') + MonthText(date) + QLatin1Char('_')
        + suffix;
}

QString PathTag(const QString& path)
{
    static const bool ready = sodium_init() >= 0;
    Q_UNUSED(ready);
    const QByteArray absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath()).toUtf8();
    unsigned char hash[crypto_generichash_BYTES_MIN];
    crypto_generichash(hash, sizeof hash, reinterpret_cast<const unsigned char*>(absolute.constData()),
        size_t(absolute.size()), nullptr, 0);
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(hash), 4).toHex());
}

QString DatabaseCopyName(const QString& path, int number)
{
    return BackupCopyName(path, QLatin1Char('_') + PathTag(path) + QStringLiteral(".bak"), number);
}

QString DatabaseMonthlyCopyName(const QString& path, const QDate& date)
{
    const NameParts parts = Split(path);
    return parts.base + QLatin1Char('_') + parts.extension + QLatin1Char('_') + PathTag(path) + QLatin1Char('_')
        + MonthText(date) + QStringLiteral("_.bak");
}

bool CopyWithNewSuffix(const QString& source, const QString& suffix, const QString& backupFolder, int backupCount)
{
    const auto& files = FileTools::Instance();
    if (suffix.isEmpty() || !files.FileExists(source))
        return false;
    const QString count = QString::number(backupCount);
    try {
        const QString name = BackupCopyName(source, suffix);
        const QString folder = TargetFolder(source, backupFolder);
        TraceLog(QStringLiteral("File copy"), QStringLiteral("#") + count);

        QString target = folder + name;
        if (backupCount > 1) {
            for (int i = backupCount - 1; i >= 1; --i) {
                const QString from = folder + BackupCopyName(source, suffix, i);
                const QString to = folder + BackupCopyName(source, suffix, i + 1);
                if (!files.FileExists(from))
                    continue;
                TraceLog(QStringLiteral("Move file ") + QString::number(i) + QLatin1Char('_') + name
                        + QStringLiteral(" to ") + QString::number(i + 1) + QLatin1Char('_') + name,
                    SizeText(from));
                if (files.FileExists(to) && !files.DeleteFile(to))
                    TraceLog(QStringLiteral("## Error on file deleting!"), to);
                if (!files.CopyFile(from, to))
                    TraceLog(QStringLiteral("### Error on file coping!"), to);
            }
            target = folder + BackupCopyName(source, suffix, 1);
            if (files.FileExists(target) && !files.DeleteFile(target))
                TraceLog(QStringLiteral("### Error on last file deleting!"), target);
        }

        TraceLog(QStringLiteral("Copy a file with new suffixe"), SizeText(source));
        TraceLog(source, target);
        const bool copied = files.CopyFile(source, target);
        if (!copied)
            TraceLog(QStringLiteral("### Error on true file copy!!"), target);

        const QString monthly = folder + MonthlyCopyName(source, suffix);
        if (files.FileExists(monthly) && !files.DeleteFile(monthly))
            TraceLog(QStringLiteral("### Error on last file delete"), monthly);
        if (!files.CopyFile(source, monthly))
            TraceLog(QStringLiteral("### Error on file copy"), monthly);
        return copied;
    } catch (const std::exception&) {
        TraceLog(QStringLiteral("### ERROR: unable to copy file (#") + count + QStringLiteral(") with new extension: ")
                + suffix + QStringLiteral("\r\n") + source,
            backupFolder);
        return false;
    }
}

bool BackupDatabase(const QString& path, const QByteArray& bytes, const QString& backupFolder, int backupCount)
{
    const auto& files = FileTools::Instance();
    if (path.isEmpty())
        return false;
    const QString count = QString::number(backupCount);
    try {
        const QString folder = TargetFolder(path, backupFolder);
        const QString newest = folder + DatabaseCopyName(path, backupCount > 1 ? 1 : 0);
        if (ContentOfSize(newest, bytes.size()) == bytes) {
            TraceLog(QStringLiteral("Database backup: unchanged"), newest);
            return true;
        }
        TraceLog(QStringLiteral("Database backup #") + count, QString::number(bytes.size()) + QStringLiteral(" bytes"));
        // rename() replaces its target in one step: a crash leaves every
        // copy whole, at worst one number off.
        for (int i = backupCount - 1; i >= 1; --i) {
            const QString from = folder + DatabaseCopyName(path, i);
            if (!files.FileExists(from))
                continue;
            const QString to = folder + DatabaseCopyName(path, i + 1);
            if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
                TraceLog(QStringLiteral("### Error on backup moving!"), to);
        }
        const bool written = FileTools::WriteAtomically(newest, bytes, FileTools::OwnerOnly);
        if (!written)
            TraceLog(QStringLiteral("### Error on backup writing!"), newest);
        const QString monthly = folder + DatabaseMonthlyCopyName(path);
        if (!FileTools::WriteAtomically(monthly, bytes, FileTools::OwnerOnly))
            TraceLog(QStringLiteral("### Error on monthly backup writing!"), monthly);
        return written;
    } catch (const std::exception&) {
        TraceLog(QStringLiteral("### ERROR: unable to back up the database (#") + count + QStringLiteral(")"), path);
        return false;
    }
}

} // namespace keyholm
