#include "services/BackupCopies.h"

#include "components/FileTools.h"
#include "components/SystemInfo.h"
#include "components/TextTools.h"
#include "services/TraceLog.h"

#include <QFileInfo>

#include <exception>

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
    return files.WithFolderSeparator(folder);
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
    const QLocale& locale = SystemInfo::Instance().Locale();
    const QString month = locale.toUpper(locale.standaloneMonthName(date.month(), QLocale::LongFormat));
    return parts.base + QLatin1Char('_') + parts.extension + QLatin1Char('_') + month + QLatin1Char('_') + suffix;
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

} // namespace keyholm
