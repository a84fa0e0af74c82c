// The main window as a whole: its controls, its load with and without
// preferences, the working options, the minimum size and the closing.

#include "support/MainWindowFixture.h"

#include "components/OptionStore.h"
#include "database/WorkingOptions.h"
#include "services/Environment.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/Messages.h"
#include "support/ModalHelper.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

namespace keyholm::test {
namespace {

class MainWindowTest : public MainWindowFixture {
protected:
    // No preferences file: the next read starts from nothing.
    static void ForgetPreferences()
    {
        ClosePreferences();
        QFile::remove(DataFolder() + QStringLiteral("Preference.opt"));
    }
};

TEST_F(MainWindowTest, IsCaptionedKeyholm)
{
    EXPECT_EQ(Window().windowTitle(), "Keyholm");
    EXPECT_EQ(Window().objectName(), "Lib_PasswordMgr");
}

TEST_F(MainWindowTest, EveryNamedControlIsThere)
{
    QStringList names = { "tvTreeView", "PasswordTabView", "theStatusBar", "Msg", "PictureLogo", "TimerAlert",
        "TimerDatabaseClose", "lblTitle", "lblDescription", "TextInfoAppli", "CommandWeb", "CommandHisto",
        "CommandVote", "CommandDon", "PictureTab_1", "PictureTab_2", "TextPassword_5", "TextPerso_0", "LabelCustom_0",
        "CommandColor", "CheckDate", "DTPickerLimit", "CommandGenPasswd", "CommandGenPeudo", "CommandCopyLogin",
        "CommandCopyPassword", "CommandGoWeb", "CommandWebHelp", "CommandOpenFile", "CommandSelectFile",
        "OpenContentNote", "SaveContentNote", "ApplyInfo", "TextTitle", "TextUser", "CheckLabel_0", "TextCustom_0",
        "TextNote", "LabelDate_0", "LabelDate_1", "WebBrowserHelp", "CheckHide", "CheckOpen", "CheckDateExpir",
        "CheckInitFields", "CheckTrash", "CheckAutoSave", "CheckDeleteDir", "CheckSepCopy", "TextSepCopy",
        "CheckAutoClose", "SliderAutoClose", "TextAutoClose", "CheckPurge", "SliderPurge", "TextPurge", "ListCatDefaut",
        "CatDefautAdd", "CatDefautDelete", "MenuBase", "MenuAide", "MenuCorbeille", "tbToolBar", "ToolbarTree",
        "ToolbarPassCode", "ToolbarNote", "PictureAlert_0", "PictureAlert_1" };
    for (int i = 0; i < 7; ++i)
        names << QStringLiteral("LabelPassword_%1").arg(i);
    for (int i = 0; i < 5; ++i)
        names << QStringLiteral("TextPassword_%1").arg(i);
    for (int i = 0; i < 11; ++i)
        names << QStringLiteral("TextStat_%1").arg(i);
    for (int i = 0; i < 12; ++i)
        names << QStringLiteral("LabelStat_%1").arg(i);
    for (int i = 0; i < 3; ++i)
        names << QStringLiteral("TextPasswordOption_%1").arg(i);
    for (const QString& name : names)
        EXPECT_NE(Window().findChild<QObject*>(name), nullptr) << qPrintable(name);

    for (const char* name : { "MenuBaseNew", "MenuBaseOpen", "MenuBaseClose", "MenuBaseSave", "MenuBaseSaveUnder",
             "MenuBasePassword", "MenuBaseOptions", "MenuBaseExit", "MenuSeparateurAncienFichier", "MenuAncienFichier1",
             "MenuAncienFichier5", "MenuAideAide", "MenuAideSitebWeb", "MenuAideVote", "MenuAideLog", "MenuAideVersion",
             "MenuAideAchat", "MenuAideAbout", "MenuCorbeilleVider" })
        EXPECT_NE(Window().findChild<QAction*>(QLatin1String(name)), nullptr) << name;

    EXPECT_EQ(
        Ui().tbToolBar->Keys(), (QStringList { "New", "Open", "Close", "Save", "SaveUnder", "Security", "Exit" }));
    EXPECT_EQ(Ui().ToolbarTree->Keys(),
        (QStringList { "Add", "Change", "Delete", "Purge", "Search", "Date", "Export", "Import", "Clipboard" }));
    EXPECT_EQ(Ui().Entry->ToolbarPassCode->Keys(), (QStringList { "Add", "Change", "Delete", "Initfield" }));
    EXPECT_EQ(Ui().Info->ToolbarNote->Keys(), (QStringList { "open", "calendar", "time" }));
    EXPECT_NE(Ui().tbToolBar->ButtonMenu("Security", "Password"), nullptr);
    for (auto [button, item] : { std::pair { "Add", "CatDefault" }, { "Change", "Icon" }, { "Date", "Date" },
             { "Export", "ExportCat" }, { "Import", "ImportCat" } })
        EXPECT_NE(Ui().ToolbarTree->ButtonMenu(button, item), nullptr) << item;
    EXPECT_EQ(Ui().ToolbarTree->Button("Add")->toolTip(), "Ajouter une nouvelle Catégorie sous la sélection");
    EXPECT_EQ(
        Ui().Entry->ToolbarPassCode->Button("Initfield")->toolTip(), "Initialisation de tous les champs de saisie");
    EXPECT_EQ(Ui().TimerDatabaseClose->interval(), 65535);
    EXPECT_EQ(Ui().PasswordTabView->count(), DetailPageCount);
}

// The keys a user presses reach the file commands.
TEST_F(MainWindowTest, ShortcutsRunTheFileCommands)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // A closed dialog leaves no window active: each press activates the window first.
    const auto press = [this](const QKeySequence& keys) {
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        QTest::keySequence(&Window(), keys);
    };
    struct Case {
        const char* name;
        QKeySequence keys;
        const char* dialogTitle;
    };
    for (const Case& c : { Case { "new", QKeySequence::New, "Nouveau fichier Keyholm" },
             Case { "open", QKeySequence::Open, "Ouvrir un fichier Keyholm" } }) {
        SCOPED_TRACE(c.name);
        ModalHelper modal;
        modal.Expect("CMDialogOpen")
            .Do([&](QWidget* dialog) { EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8(c.dialogTitle)); })
            .Reject();
        press(c.keys);
        ASSERT_TRUE(modal.Wait());
    }

    // With a database open, saving under another name and closing.
    NewDatabase();
    State().SetTag(QDir::tempPath() + "/keyholm-shortcut.khm");
    Window().File().EnableDisableMainBar(true);
    {
        ModalHelper modal;
        modal.Expect("CMDialogOpen")
            .Do([](QWidget* dialog) { EXPECT_EQ(dialog->windowTitle(), "Enregistrer dans un fichier"); })
            .Reject();
        press(QKeySequence("Ctrl+Shift+S"));
        ASSERT_TRUE(modal.Wait());
    }
    State().SetDatabaseChanged(false);
    press(QKeySequence("Ctrl+W"));
    EXPECT_FALSE(State().DatabaseOpen());

    // Delete and F2 act over the tree only, so that they keep their meaning in text fields.
    EXPECT_EQ(Ui().TreeDeleteAction->shortcut(), QKeySequence(QKeySequence::Delete));
    EXPECT_EQ(Ui().TreeRenameAction->shortcut(), QKeySequence("F2"));
    EXPECT_EQ(Ui().TreeDeleteAction->shortcutContext(), Qt::WidgetShortcut);
    EXPECT_TRUE(Ui().tvTreeView->actions().contains(Ui().TreeDeleteAction));
}

// A change of a working option reaches the preferences file without waiting
// for the program to close.
TEST_F(MainWindowTest, AChangedOptionIsWrittenSoon)
{
    Window().Lifecycle().Form_Load();
    const bool before = Ui().Option->CheckDeleteDir->isChecked();
    Ui().Option->CheckDeleteDir->click();
    Ui().Option->SliderPurge->setValue(40);
    const auto stored = [](const char* key) {
        QFile file(DataFolder() + QStringLiteral("Preference.opt"));
        if (!file.open(QIODevice::ReadOnly))
            return QString();
        const auto sections = OptionStore::Parse(file.readAll());
        if (!sections)
            return QString();
        for (const auto& section : *sections) {
            if (section.name == WorkingOptions::Section(QLatin1String(key)))
                return section.entries.empty() ? QString() : section.entries.front().value;
        }
        return QString();
    };
    QTRY_COMPARE_WITH_TIMEOUT(stored("_Password Delete"), before ? QStringLiteral("0") : QStringLiteral("1"), 3000);
    EXPECT_EQ(stored("_Password PurgeValue"), "40");
}

// At the smallest size the window takes, no label or check box of any page
// is cut.
TEST_F(MainWindowTest, EveryPageShowsItsTextsWholeAtTheMinimumSize)
{
    Window().Lifecycle().Form_Load();
    NewDatabase();
    Window().resize(Window().minimumSize());
    for (const DetailPage page : { DetailPage::Entry, DetailPage::About, DetailPage::Stat, DetailPage::Option,
             DetailPage::Trash, DetailPage::Info }) {
        Ui().PasswordTabView->setTabVisible(int(page), true);
        Ui().PasswordTabView->setCurrentIndex(int(page));
        QApplication::processEvents();
        for (QWidget* widget : Ui().Page(page)->findChildren<QWidget*>()) {
            if (!widget->isVisible())
                continue;
            const auto* label = qobject_cast<QLabel*>(widget);
            const auto* box = qobject_cast<QCheckBox*>(widget);
            if (!box && !(label && !label->text().isEmpty()))
                continue;
            const QString name = widget->objectName() + " \"" + (box ? box->text() : label->text()) + "\"";
            if (label && label->wordWrap()) {
                EXPECT_GE(label->height(), label->heightForWidth(label->width())) << name.toStdString();
            } else {
                EXPECT_GE(widget->width(), widget->sizeHint().width()) << name.toStdString();
            }
        }
    }
}

TEST_F(MainWindowTest, FirstStartWithoutPreferencesShowsTheDefaults)
{
    ForgetPreferences();
    Window().Lifecycle().Form_Load();

    struct Default {
        QCheckBox* box;
        bool checked;
    };
    for (const Default& option : { Default { Ui().Option->CheckHide, true }, { Ui().Option->CheckOpen, true },
             { Ui().Option->CheckDateExpir, true }, { Ui().Option->CheckInitFields, true },
             { Ui().Option->CheckTrash, true }, { Ui().Option->CheckAutoSave, true },
             { Ui().Option->CheckDeleteDir, false }, { Ui().Option->CheckSepCopy, true },
             { Ui().Option->CheckAutoClose, false }, { Ui().Option->CheckPurge, true } })
        EXPECT_EQ(option.box->isChecked(), option.checked) << qPrintable(option.box->objectName());
    EXPECT_EQ(Ui().Option->TextSepCopy->text(), "/");
    EXPECT_EQ(Ui().Option->SliderAutoClose->value(), 5);
    EXPECT_EQ(Ui().Option->SliderAutoClose->maximum(), 45);
    EXPECT_EQ(Ui().Option->TextAutoClose->text(), "5");
    EXPECT_EQ(Ui().Option->SliderPurge->value(), 3);
    EXPECT_EQ(Ui().Option->SliderPurge->maximum(), 90);
    EXPECT_EQ(Ui().Option->TextPurge->text(), "3");
    QStringList categories;
    for (int row = 0; row < Ui().Option->ListCatDefaut->count(); ++row)
        categories << Ui().Option->ListCatDefaut->item(row)->text();
    EXPECT_EQ(
        categories, (QStringList { "Finance", "Forum", "Internet", "Messagerie", "Réseau", "Service", "Windows" }));

    // The load also sets up the pages.
    EXPECT_EQ(Ui().PasswordTabView->currentIndex(), int(DetailPage::About));
    EXPECT_EQ(Ui().PasswordTabView->tabText(1), " Mot de Passe ");
    EXPECT_EQ(Ui().PasswordTabView->tabText(6), " Informations et Propriétés ");
    EXPECT_TRUE(Ui().About->lblTitle->text().contains(" v1."));
    EXPECT_FALSE(Ui().About->CommandWeb->isHidden());
    EXPECT_TRUE(Ui().Trash->TextPasswordOption0->text().startsWith("A la suppression d'un mot de passe"));
    EXPECT_EQ(Ui().Entry->DTPickerLimit->date(), QDate::currentDate().addDays(7));
    EXPECT_FALSE(State().DatabaseChanged());
    EXPECT_TRUE(Ui().tvTreeView->isHidden());
}

TEST_F(MainWindowTest, OptionsRoundTripThroughThePreferences)
{
    ForgetPreferences();
    // A stored list holding a label twice, and one differing by letter case.
    const QString section = QStringLiteral("Options_Password CatDefault ");
    SetValueOptionAt(QStringLiteral("Options_Password CatDefault nb"), 4, 0, "Keyholm");
    SetTextOptionAt(section + "1", "Banque", 0, "Keyholm");
    SetTextOptionAt(section + "2", "Jeux", 0, "Keyholm");
    SetTextOptionAt(section + "3", "Banque", 0, "Keyholm");
    SetTextOptionAt(section + "4", "banque", 0, "Keyholm");
    Window().Options().PasswordOptionsLoad();
    ASSERT_EQ(Ui().Option->ListCatDefaut->count(), 3);
    EXPECT_EQ(Ui().Option->ListCatDefaut->item(2)->text(), "banque");

    Ui().Option->CheckHide->setChecked(false);
    Ui().Option->CheckDeleteDir->setChecked(true);
    Ui().Option->TextSepCopy->setText(" | ");
    Ui().Option->SliderAutoClose->setValue(12);
    Ui().Option->SliderPurge->setValue(30);
    State().SetTag("/tmp/ailleurs/Comptes.khm");
    Window().Options().PasswordOptionsSave();
    EXPECT_EQ(GetTextOptionAt("Options_Password OpenValue", {}, 0, "Keyholm"), "/tmp/ailleurs/Comptes.khm");

    MainWindow other;
    other.Options().PasswordOptionsLoad();
    EXPECT_FALSE(other.Ui().Option->CheckHide->isChecked());
    EXPECT_TRUE(other.Ui().Option->CheckDeleteDir->isChecked());
    EXPECT_EQ(other.Ui().Option->TextSepCopy->text(), " | ");
    EXPECT_EQ(other.Ui().Option->SliderAutoClose->value(), 12);
    EXPECT_EQ(other.Ui().Option->TextAutoClose->text(), "12");
    EXPECT_EQ(other.Ui().Option->SliderPurge->value(), 30);
    EXPECT_EQ(other.Ui().Option->ListCatDefaut->count(), 3);
}

TEST_F(MainWindowTest, DefaultCategoryLabelsAreAddedOnceAndRemovedOnYes)
{
    Window().Options().FillDefaultCategories();
    const int before = Ui().Option->ListCatDefaut->count();
    struct Typed {
        QString text;
        bool added;
    };
    for (const Typed& typed : { Typed { "Forum", false }, { "forum", true }, { "   ", false }, { "Santé", true } }) {
        ModalHelper modal;
        modal.Expect("Lib_SaisieDlg").Type("TextReponse", typed.text).Click("Oui");
        const int count = Ui().Option->ListCatDefaut->count();
        Ui().Option->CatDefautAdd->click();
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(Ui().Option->ListCatDefaut->count(), count + (typed.added ? 1 : 0)) << qPrintable(typed.text);
    }
    EXPECT_EQ(Ui().Option->ListCatDefaut->count(), before + 2);

    Ui().Option->ListCatDefaut->clearSelection();
    Ui().Option->ListCatDefaut->item(0)->setSelected(true);
    Ui().Option->ListCatDefaut->item(1)->setSelected(true);
    Window().Options().ListCatDefaut_Click();
    EXPECT_TRUE(Ui().Option->CatDefautDelete->isEnabled());
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::Yes);
        Ui().Option->CatDefautDelete->click();
        ASSERT_TRUE(modal.Wait());
    }
    EXPECT_EQ(Ui().Option->ListCatDefaut->count(), before);
    EXPECT_EQ(Ui().Option->ListCatDefaut->item(0)->text(), "Internet");
    EXPECT_FALSE(Ui().Option->CatDefautDelete->isEnabled());
}

TEST_F(MainWindowTest, AutoCloseCheckStartsAndStopsItsTimerAtOnce)
{
    State().AddIdleTick();
    Ui().Option->CheckAutoClose->click();
    EXPECT_TRUE(Ui().Option->CheckAutoClose->isChecked());
    EXPECT_TRUE(Ui().TimerDatabaseClose->isActive());
    EXPECT_EQ(State().IdleTicks(), 0);
    Ui().Option->CheckAutoClose->click();
    EXPECT_FALSE(Ui().TimerDatabaseClose->isActive());

    Ui().Entry->CheckDate->click();
    EXPECT_TRUE(Ui().Entry->DTPickerLimit->isEnabled());
    Ui().Entry->CheckDate->click();
    EXPECT_FALSE(Ui().Entry->DTPickerLimit->isEnabled());
}

TEST_F(MainWindowTest, ShrinkingBelowTheMinimumSizeSnapsBack)
{
    const int minimumWidth = MainWindowUi::TwipsToPixels(MainWindowUi::MinimumWidthTwips);
    const int minimumHeight = MainWindowUi::TwipsToPixels(MainWindowUi::MinimumHeightTwips);
    EXPECT_EQ(minimumWidth, 758);
    EXPECT_EQ(minimumHeight, 611);
    Window().resize(400, 300);
    QApplication::processEvents();
    Window().Layout().Form_Resize();
    EXPECT_GE(Window().width(), minimumWidth);
    EXPECT_GE(Window().height(), minimumHeight);

    Window().resize(1200, 800);
    QApplication::processEvents();
    EXPECT_EQ(Window().size(), QSize(1200, 800));

    Window().showMinimized();
    QApplication::processEvents();
    Window().Layout().Form_Resize();
    EXPECT_EQ(Window().size(), QSize(1200, 800));
}

TEST_F(MainWindowTest, CancellingTheUnsavedChangesQuestionKeepsTheProgramOpen)
{
    TreeNode* root = NewDatabase();
    AddCategory(root, "Banque");
    ASSERT_TRUE(State().DatabaseChanged());
    const int nodes = Tree().Count();

    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::Cancel);
        Window().close();
        ASSERT_TRUE(modal.Wait());
        ASSERT_EQ(modal.Seen().size(), 1u);
        EXPECT_TRUE(modal.Seen()[0].text.contains("Des informations modifiées n'ont pas été enregistrées."));
    }
    EXPECT_TRUE(Window().isVisible());
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::Cancel);
        Ui().MenuBaseExit->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(State().DatabaseChanged());
    EXPECT_EQ(Tree().Count(), nodes);
    EXPECT_EQ(State().CurrentNode(), root);
    EXPECT_TRUE(Ui().TimerAlert->isActive());
}

TEST_F(MainWindowTest, PresentationButtonsShowTheirPageInTheHelpBrowser)
{
    Window().Lifecycle().Form_Load();
    Ui().About->CommandHisto->click();
    EXPECT_EQ(Ui().PasswordTabView->currentIndex(), int(DetailPage::Help));
    EXPECT_TRUE(Ui().WebBrowserHelp->toHtml().contains("historique.htm"));
    Ui().About->CommandVote->click();
    EXPECT_TRUE(Ui().WebBrowserHelp->toHtml().contains("vote.htm"));
}

// The help menu's log command: the log in the list window, or how to get one.
TEST_F(MainWindowTest, TheLogMenuShowsTheLogOrSaysHowToTurnItOn)
{
    QTemporaryDir folder;
    StopTraceLog();
    ASSERT_TRUE(StartTraceLog(true, folder.path() + "/", {}, "test", false));
    for (const bool on : { false, true }) {
        SCOPED_TRACE(on);
        ASSERT_TRUE(SetCheckOption("Options", "LOG", on ? 1 : 0));
        ModalHelper modal;
        if (on)
            modal.Expect("Lib_ListView").Do([](QWidget* list) { list->close(); });
        else
            modal.ExpectMessageBox().Click(QMessageBox::Ok);
        Ui().MenuAideLog->trigger();
        ASSERT_TRUE(modal.Wait());
        if (!on) {
            EXPECT_EQ(modal.Seen()[0].text, "Activez l'enregistrement des Traces Logicielle pour les afficher");
        }
    }
    StopTraceLog();
}

} // namespace
} // namespace keyholm::test
