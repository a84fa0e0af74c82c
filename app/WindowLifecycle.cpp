#include "app/WindowLifecycle.h"

#include "app/UpdateCheck.h"
#include "app/WindowLayout.h"
#include "components/FileTools.h"
#include "components/Version.h"
#include "database/DatabaseFile.h"
#include "database/WorkingOptions.h"
#include "services/ApplicationOptions.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"
#include "services/ui/AppLogo.h"
#include "services/ui/ApplicationEnvironment.h"
#include "services/ui/Messages.h"
#include "services/ui/OptionsForm.h"
#include "services/ui/RecentFiles.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTreeView>

#include <exception>

namespace keyholm {

WindowLifecycle::WindowLifecycle(MainWindowUi& ui, MainState& state, MainProcedures& procedures,
    WorkingOptions& options, DatabaseFile& file, WindowLayout& layout)
    : MainArea(ui, state, procedures)
    , options_(options)
    , file_(file)
    , layout_(layout)
{
}

WindowLifecycle::~WindowLifecycle()
{
    DropUpdateCheck();
}

QString WindowLifecycle::VersionText()
{
    return ApplicationTitle() + QStringLiteral(" v") + QLatin1String(VersionNumber);
}

void WindowLifecycle::Form_Load()
{
    QMainWindow* window = ui_.Window;
    try {
        TraceLog(QStringLiteral("Loading Keyholm window"), QStringLiteral("..."));
        if (QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            window->move(area.left() + (area.width() - window->width()) / 2,
                area.top() + (area.height() - window->height()) / 2);
        }
        TraceLog(QStringLiteral("Center this Window"), window->windowTitle());

        ui_.About->lblTitle->setText(VersionText());
        for (QPushButton* button :
            { ui_.About->CommandWeb, ui_.About->CommandHisto, ui_.About->CommandVote, ui_.About->CommandDon })
            button->setVisible(true);
        ui_.Entry->DTPickerLimit->setDate(QDate::currentDate().addDays(7));

        options_.PasswordOptionsLoad();
        procedures_.UnvisiblePasswordTab(int(DetailPage::About));
        layout_.WebBrowserHelp_Navigate(WindowLayout::HelpPage());

        ui_.PictureLogo->setVisible(LogoOption() && ui_.tvTreeView->isHidden());
        SetPicturelogo(LogoPathOption());
        options_.FillDefaultCategories();

        const QString captions[DetailPageCount] = {
            ApplicationTitle(),
            QStringLiteral(" Mot de Passe "),
            QStringLiteral(" A propos de... "),
            QStringLiteral(" Quelques chiffres sur la Base "),
            QStringLiteral(" Choix de fonctionnement "),
            QStringLiteral(" Corbeille de la Base des Mots de Passe "),
            QStringLiteral(" Informations et Propriétés "),
            QStringLiteral(" Information "),
        };
        for (int i = 0; i < DetailPageCount; ++i)
            ui_.PasswordTabView->setTabText(i, captions[i]);

        ui_.MenuAideAchat->setVisible(true);
        ui_.Trash->TextPasswordOption0->setText(
            QStringLiteral("A la suppression d'un mot de passe, celui-ci est copié dans la Corbeille de la base. ")
            + QStringLiteral(
                "La suppression définitive est alors effectuée par suppression à partir de la Corbeille."));
        for (QAction* item : { ui_.MenuBaseOptions, ui_.MenuAideVersion, ui_.MenuAideVote })
            item->setVisible(true);

        if (WebVersionOption()) {
            TraceLog(QStringLiteral("Check the program release"), QStringLiteral("..."));
            CheckForUpdate(true, 1);
        }
        InitRecentFiles(window, RecentFilesSuffix, true, QString(), true, QStringLiteral("khm"));

        if (state_.Options().openLastDatabase) {
            const QString last = GetTextOptionAt(WorkingOptions::Section(QStringLiteral("_Password OpenValue")),
                DataFolder() + QStringLiteral("Keyholm.khm"), 0, WorkingOptions::Label);
            if (!last.isEmpty() && FileTools::Instance().FileExists(last)) {
                window->show();
                if (const auto opening = file_.OpenPasswordFile(last); !opening.open) {
                    TraceLog(QStringLiteral("Unable to open password database"),
                        opening.dropFromRecent ? QStringLiteral("True") : QStringLiteral("False"));
                    file_.ClosePasswordFile();
                }
            }
        }
        state_.SetDatabaseChanged(false);
        layout_.Form_Resize();
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on loading Keyholm window"), error);
    }
}

void WindowLifecycle::SetPicturelogo(const QString& path)
{
    QPixmap picture;
    if (!path.isEmpty() && QFileInfo::exists(path))
        picture.load(path);
    if (picture.isNull())
        picture = AppLogo(128, ui_.Window->devicePixelRatioF());
    else
        picture = picture.scaled(QSize(220, 220), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    ui_.PictureLogo->setPixmap(picture);
}

void WindowLifecycle::ApplyLogo(bool shown, const QString& path)
{
    ui_.PictureLogo->setVisible(shown && !state_.DatabaseOpen());
    SetPicturelogo(path);
}

void WindowLifecycle::MenuBaseOptions_Click()
{
    state_.ResetIdleTicks();
    OptionsForm form(ui_.Window);
    QObject::connect(
        &form, &OptionsForm::LogoChanged, [this](bool shown, const QString& path) { ApplyLogo(shown, path); });
    form.ShowOptions();
}

void WindowLifecycle::MenuAideVersion_Click()
{
    CheckForUpdate(false, 1);
}

void WindowLifecycle::CheckForUpdate(bool atStartUp, int mode)
{
    try {
        if (!webTools_) {
            webTools_ = new WebTools(ui_.Window);
            QObject::connect(
                webTools_, &WebTools::Finished, [this](WebTools::Outcome outcome, const QString& detail, bool startUp) {
                    if (outcome != WebTools::Outcome::Failed)
                        return;
                    if (startUp)
                        TraceLog(QStringLiteral("Check version failed"), detail);
                    else
                        ReportError(GetMessage(13227), {}, true, ErrorRecord::Make(ErrorRecord::FileAccess, detail));
                    DropUpdateCheck();
                });
        }
        const QString current = QLatin1String(VersionNumber);
        if (!webTools_->CheckVersion(
                VersionTextAddress(), current, mode, WindowLayout::HistoryPage(), atStartUp, ApplicationTitle())) {
            if (atStartUp)
                TraceLog(QStringLiteral("Check version failed"), VersionTextAddress());
            else
                ReportError(GetMessage(13227), {}, true,
                    ErrorRecord::Make(
                        ErrorRecord::InvalidCall, QStringLiteral("Unusable address: ") + VersionTextAddress()));
            DropUpdateCheck();
        }
    } catch (const std::exception& error) {
        ReportException(GetMessage(13227), error);
        DropUpdateCheck();
    }
}

WebTools* WindowLifecycle::UpdateCheck() const
{
    return webTools_;
}

void WindowLifecycle::DropUpdateCheck()
{
    if (WebTools* tools = webTools_) {
        webTools_ = nullptr;
        tools->Abort();
        // It may be the sender of the signal being handled.
        tools->deleteLater();
    }
}

bool WindowLifecycle::Form_QueryUnload()
{
    if (exitConfirmed_)
        return true;
    if (!file_.PasswordIsChanged())
        return false;
    options_.PasswordOptionsSave();
    file_.ClosePasswordFile();
    return true;
}

void WindowLifecycle::Form_Unload(bool endProcess)
{
    const QString optionTrace = OptionTracePath();
    if (!optionTrace.isEmpty() && QFileInfo::exists(optionTrace)) {
        TraceLog(QStringLiteral("deleting opt trace file"), QStringLiteral("..."));
        FileTools::Instance().DeleteFile(optionTrace);
    }
    TraceLog(QStringLiteral("UNLOADING SOFTWARE"), ProgramFileName());
    EndApplication(ui_.Window, endProcess, true);
}

void WindowLifecycle::MenuBaseExit_Click()
{
    // Ask first: a cancel must leave the program running with its services
    // and the database untouched.
    if (!file_.PasswordIsChanged())
        return;
    DropUpdateCheck();
    ShowBusy(QStringLiteral("Exit program..."));
    options_.PasswordOptionsSave();
    file_.ClosePasswordFile();
    exitConfirmed_ = true;
    closing_ = true;
    Form_Unload(true);
}

bool WindowLifecycle::CloseRequested()
{
    if (closing_)
        return true;
    if (!Form_QueryUnload())
        return false;
    closing_ = true;
    Form_Unload();
    return true;
}

} // namespace keyholm
