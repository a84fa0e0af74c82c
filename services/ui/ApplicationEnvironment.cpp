#include "services/ui/ApplicationEnvironment.h"

#include "components/CipherEngine.h"
#include "components/Components.h"
#include "components/DateTools.h"
#include "components/FileTools.h"
#include "components/TextTools.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"
#include "services/Preferences.h"
#include "services/RtfToTxt.h"
#include "services/TraceLog.h"
#include "services/ui/DialogSupport.h"
#include "services/ui/Dialogs.h"
#include "services/ui/Messages.h"
#include "services/ui/ProtectedClipboard.h"
#include "services/ui/RecentFiles.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>

namespace keyholm {
namespace {
bool& Ending()
{
    static bool ending = false;
    return ending;
}

QString TextOf(const QWidget* box)
{
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(box))
        return plain->toPlainText();
    if (auto* rich = qobject_cast<const QTextEdit*>(box))
        return rich->toPlainText();
    if (auto* line = qobject_cast<const QLineEdit*>(box))
        return line->text();
    return {};
}

bool PutText(QWidget* box, const QString& text)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(box))
        plain->setPlainText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(box))
        rich->setPlainText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setText(text);
    else
        return false;
    return true;
}

// The text of an RTF file, or nothing after reporting why.
std::optional<QString> RtfFileText(const QString& path)
{
    QFile file(path);
    int answer = RtfCannotRead;
    QString text;
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray rtf = file.readAll();
        if (file.error() == QFileDevice::NoError) {
            RtfText converted = ConvertRtf(rtf);
            answer = converted.answer;
            text = std::move(converted.text);
        }
    }
    if (answer == RtfConverted)
        return text;
    if (answer >= 1 && answer <= 7)
        ReportError(GetMessage(283), {}, true, ErrorRecord::Make(ErrorRecord::FileAccess, path));
    else if (answer == RtfCannotRead)
        ReportError(GetMessage(288) + path, {}, true, ErrorRecord::Make(ErrorRecord::FileAccess, file.errorString()));
    else
        ReportError(GetMessage(495), {}, true, ErrorRecord::Make(ErrorRecord::InvalidCall, QString::number(answer)));
    return std::nullopt;
}
} // namespace

bool InstallQtTranslations()
{
    static QPointer<QTranslator> installed;
    if (installed)
        return true;
    auto translator = std::make_unique<QTranslator>();
    const QLocale french(QLocale::French, QLocale::France);
    if (!translator->load(french, QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        TraceLog(QStringLiteral("Qt translations not found"), french.name());
        return false;
    }
    installed = translator.release();
    installed->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(installed);
    return true;
}

bool StartApplication(
    bool logEnabled, const QString& label, bool rotatePreferenceBackups, const QString& preferencesBaseName)
{
    try {
        if (DataFolder().isEmpty())
            PrepareFolders();
        if (!ClaimSingleInstance()) {
            ShowInfo(QStringLiteral("Program already running!<BR>Le logiciel est déjà en cours d'exécution !"),
                QStringLiteral("!! ") + ProgramFileName());
            // Nothing has been set up yet: end at once, without any other effect.
            std::fflush(nullptr);
            std::_Exit(EXIT_FAILURE);
        }
        InstallMessageBoxes();
        FileTools::Instance().SetOpener([](const QUrl& url) { return QDesktopServices::openUrl(url); });
        SetApplicationLabel(label);
        StartTraceLog(logEnabled, DataFolder(), {}, ApplicationLabel(), false);
        OpenPreferences(DataFolder(), ApplicationLabel(), rotatePreferenceBackups, preferencesBaseName);

        const QString language = GetTextOption(QStringLiteral("Options"), QStringLiteral("Language"), {});
        QString userFile;
        if (!language.trimmed().isEmpty()) {
            // Only a file name of the data folder, whatever the preference holds.
            const auto& text = TextTools::Instance();
            userFile = DataFolder() + text.FileNameSafe(text.BeforeFirst(language, QStringLiteral(":")).trimmed())
                + QStringLiteral(".mge");
        }
        const bool opened = OpenMessages(userFile, DataFolder());
        TraceLog((opened ? QStringLiteral("Success of messages database opening: ")
                         : QStringLiteral("Unable to open messages database: "))
                + QStringLiteral("True"),
            userFile);
        if (language.trimmed().isEmpty())
            CloseUserMessages(QStringLiteral("from init Lib"));

        ClearRecentFiles();
        ReserveScratchFile();
        QDir::setCurrent(ProgramFolder());
        return true;
    } catch (const std::exception& e) {
        ReportException(GetMessage(411), e);
        return false;
    }
}

void EndApplication(QWidget* window, bool endProcess, bool unloadWindow)
{
    // Closing the main window below leads back here through its unload.
    if (Ending())
        return;
    Ending() = true;
    dialogs::SetWaitPointer();
    TraceLog(QStringLiteral("End of application"), QStringLiteral("..."));

    const QString caption = window ? window->windowTitle().trimmed() : QString();
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other == window || !other->isWindow())
            continue;
        const Qt::WindowType type = other->windowType();
        if (type == Qt::Popup || type == Qt::ToolTip || type == Qt::Desktop)
            continue;
        if (!caption.isEmpty() && other->windowTitle().trimmed() == caption)
            continue;
        other->close();
    }

    // Before Qt hands the clipboard to a clipboard manager at exit.
    ProtectedClipboard::ClearOwnText();
    DeleteScratchFile();
    TraceLog(QStringLiteral("Windows duration"), DateTools::Instance().SystemUpTime());
    TraceLog(QStringLiteral("Software duration"), DateTools::Instance().RunDuration());
    ClosePreferences();
    CloseUserMessages({});
    CloseMainMessages({});
    CloseMessages();
    StopTraceLog();
    ReleaseSingleInstance();
    // Last, so that nothing above makes a component again after the release.
    ReleaseComponents();
    dialogs::SetDefaultPointer();

    if (unloadWindow && window)
        window->close();
    Ending() = false;
    if (endProcess)
        QCoreApplication::exit(0);
}

QString LoadTextIntoBox(QWidget* textBox, const QString& folder, const QString& fileName, bool ask)
{
    auto& files = FileTools::Instance();
    QString path;
    if (!fileName.trimmed().isEmpty() && !ask) {
        path = QFileInfo(fileName).isRelative() && !folder.isEmpty() ? files.WithFolderSeparator(folder) + fileName
                                                                     : fileName;
        if (!files.FileExists(path))
            return {};
    } else {
        const QString filter = GetMessage(207) + QStringLiteral("|Rich Text File (*.rtf)|*.rtf|") + GetMessage(200);
        path = ChooseFileToOpen(files.WithFolderSeparator(folder) + GetMessage(399) + QStringLiteral(".txt"),
            GetMessage(218), filter, QStringLiteral(".txt"),
            FileDialogFlag::FileMustExist | FileDialogFlag::HideReadOnly);
        if (path.isEmpty())
            return {};
    }

    dialogs::SetWaitPointer();
    // An RTF file is converted in memory: its text never lands in a scratch
    // file that others could read.
    std::optional<QString> text;
    if (HasExtension(path, QStringLiteral(".rtf")))
        text = RtfFileText(path);
    else if (!(text = files.LoadTextFile(path)))
        ReportError(GetMessage(288) + path, {}, true, ErrorRecord::Make(ErrorRecord::FileAccess, path));
    const bool loaded = text && PutText(textBox, *text);
    dialogs::SetDefaultPointer();
    return loaded ? path : QString();
}

QString FileSafeName(const QString& name)
{
    QString safe;
    safe.reserve(name.size());
    for (const QChar c : name) {
        if (c == QLatin1Char('.'))
            continue;
        const bool forbidden = c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c);
        safe += forbidden ? QLatin1Char('_') : c;
    }
    return safe.trimmed();
}

QString SaveTextToFile(QWidget* textBox, const QString& name)
{
    auto& files = FileTools::Instance();
    const QString proposed = files.WithFolderSeparator(DataFolder()) + FileSafeName(name) + QStringLiteral(".txt");
    const QString path
        = ChooseFileToSave(proposed, QStringLiteral("Enregistrer dans un fichier") + QStringLiteral(" : ") + name,
            GetMessage(207) + QLatin1Char('|') + GetMessage(200), QStringLiteral(".txt"));
    if (path.trimmed().isEmpty())
        return {};
    dialogs::SetWaitPointer();
    QString text = TextOf(textBox);
    const bool saved = files.SaveTextFile(path, text);
    CipherEngine::Wipe(text);
    dialogs::SetDefaultPointer();
    if (!saved) {
        ReportError(GetMessage(284) + path, {}, true, ErrorRecord::Make(ErrorRecord::FileAccess, path));
        return {};
    }
    return path;
}

} // namespace keyholm
