// The file choosers and the conversion of Windows filter texts.

#include "components/FileTools.h"
#include "components/TextTools.h"
#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "services/ui/DialogSupport.h"
#include "services/ui/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QPointer>
#include <QRegularExpression>

#include <exception>
#include <optional>

namespace keyholm {

using namespace dialogs;

namespace {

const QString CancelDetail = QStringLiteral("error or cancel");

// "*.*" means every file on Windows; here "*" does.
QString QtPatterns(const QString& windowsPatterns)
{
    QStringList patterns;
    for (const QString& part : windowsPatterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty())
            continue;
        patterns.append(pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
    }
    patterns.removeDuplicates();
    return patterns.join(QLatin1Char(' '));
}

// The description without the patterns it shows in parentheses at its end.
QString BareDescription(const QString& description)
{
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QString bare = description;
    bare.remove(trailingPatterns);
    return bare.trimmed();
}

QString DefaultSuffix(const QString& extension)
{
    QString suffix = extension.trimmed();
    while (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    if (suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?')))
        return {};
    return suffix;
}

// Shows the dialog; the chosen path trimmed, or nothing when cancelled.
std::optional<QString> Run(QFileDialog* dialog)
{
    QPointer<QFileDialog> guard = dialog;
    SetDefaultPointer();
    const int code = dialog->exec();
    std::optional<QString> chosen;
    if (guard) {
        const QStringList files = dialog->selectedFiles();
        if (code == QDialog::Accepted && !files.isEmpty() && !files.first().trimmed().isEmpty())
            chosen = files.first().trimmed();
        delete dialog;
    }
    return chosen;
}

QFileDialog* NewFileDialog()
{
    auto* dialog = new QFileDialog(QApplication::activeWindow());
    dialog->setObjectName(QStringLiteral("CMDialogOpen"));
    if (QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs))
        dialog->setOption(QFileDialog::DontUseNativeDialog);
    return dialog;
}

// The common course of the three choosers: trace lines on success, the exit
// line on cancel or failure.
QString Choose(QFileDialog* dialog, const QString& title, const QString& filter, const QString& doneLabel,
    const QString& exitLabel)
{
    try {
        if (const std::optional<QString> chosen = Run(dialog)) {
            TraceLog(title, filter);
            TraceLog(doneLabel, *chosen);
            return *chosen;
        }
    } catch (const std::exception&) {
        SetDefaultPointer();
    }
    TraceLog(exitLabel, CancelDetail);
    return {};
}

} // namespace

QStringList QtNameFilters(const QString& windowsFilter)
{
    QStringList filters;
    const QStringList parts = windowsFilter.split(QLatin1Char('|'));
    for (qsizetype at = 0; at < parts.size(); at += 2) {
        const QString description = parts[at].trimmed();
        const QString patterns = at + 1 < parts.size() ? QtPatterns(parts[at + 1]) : QString();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        if (patterns.isEmpty()) {
            // A description without its patterns: Qt reads them from its parentheses, if any.
            filters.append(description.endsWith(QLatin1Char(')')) ? description : description + QStringLiteral(" (*)"));
            continue;
        }
        const QString bare = BareDescription(description);
        filters.append(bare.isEmpty() ? patterns : bare + QStringLiteral(" (") + patterns + QLatin1Char(')'));
    }
    return filters;
}

void PrepareFileDialog(QFileDialog& dialog, const QString& title, const QString& windowsFilter,
    const QString& defaultExtension, FileDialogFlags flags)
{
    if (!title.isEmpty())
        dialog.setWindowTitle(title);
    const QStringList filters = QtNameFilters(windowsFilter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(DefaultSuffix(defaultExtension));
    if (dialog.acceptMode() == QFileDialog::AcceptOpen)
        dialog.setFileMode(
            flags.testFlag(FileDialogFlag::FileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    else
        dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !flags.testFlag(FileDialogFlag::ConfirmOverwrite));
}

QString ChooseNewFile(
    const QString& fileName, const QString& title, const QString& filter, const QString& defaultExtension)
{
    SetWaitPointer();
    QFileDialog* dialog = NewFileDialog();
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    PrepareFileDialog(
        *dialog, title, filter, defaultExtension, FileDialogFlag::HideReadOnly | FileDialogFlag::ConfirmOverwrite);
    if (!fileName.isEmpty())
        dialog->selectFile(fileName);
    return Choose(
        dialog, title, filter, QStringLiteral("File newing dialog"), QStringLiteral("Exit on new file Window"));
}

QString ChooseFileToOpen(const QString& path, const QString& title, const QString& filter,
    const QString& defaultExtension, FileDialogFlags flags)
{
    SetWaitPointer();
    const QString shownTitle = title.isEmpty() ? GetMessage(198) : title;
    const QString shownFilter = filter.isEmpty() ? GetMessage(200) + QLatin1Char('|') + GetMessage(207) : filter;
    const QString extension = defaultExtension.isEmpty() ? QStringLiteral(".txt") : defaultExtension;

    QFileDialog* dialog = NewFileDialog();
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    PrepareFileDialog(*dialog, shownTitle, shownFilter, extension, flags);

    const FileTools& files = FileTools::Instance();
    const QString folder = TextTools::Instance().FolderPart(path);
    if (files.FolderExists(path)) {
        dialog->setDirectory(path);
    } else if (files.FolderExists(folder)) {
        dialog->setDirectory(folder);
        dialog->selectFile(path);
    } else if (files.FileExists(path)) {
        dialog->selectFile(path);
    }
    return Choose(dialog, shownTitle, shownFilter, QStringLiteral("File opening dialog"),
        QStringLiteral("Exit on open file Window"));
}

QString ChooseFileToSave(
    const QString& path, const QString& title, const QString& filter, const QString& defaultExtension)
{
    SetWaitPointer();
    QFileDialog* dialog = NewFileDialog();
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    PrepareFileDialog(
        *dialog, title, filter, defaultExtension, FileDialogFlag::HideReadOnly | FileDialogFlag::ConfirmOverwrite);
    if (FileTools::Instance().FolderExists(TextTools::Instance().FolderPart(path)))
        dialog->selectFile(path);
    return Choose(
        dialog, title, filter, QStringLiteral("File saving dialog"), QStringLiteral("Exit on save dialog file window"));
}

} // namespace keyholm
