#pragma once
// The controls of the main window Lib_PasswordMgr, built by Setup: menus,
// toolbars, the tree, the eight detail pages, the status bar, the alert
// pictures and the timers. Each control carries its name as Qt object name
// (indexed sets as Name_0, Name_1, ...). This class only builds and lays out;
// behaviour lives in the procedure classes of database/, entries/, search/ and
// app/, which reach the controls through the pointers below.

#include <QColor>
#include <QString>

#include <array>

class QAction;
class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTextBrowser;
class QTimer;
class QToolButton;
class QTreeView;
class QWidget;

namespace keyholm {

class KeyToolBar;

// The pages of PasswordTabView.
enum class DetailPage : int {
    Welcome = 0, // never shown once a page was chosen
    Entry = 1, // " Mot de Passe ": entries and categories
    About = 2, // " A propos de... ": the root
    Stat = 3, // " Quelques chiffres sur la Base "
    Option = 4, // " Choix de fonctionnement "
    Trash = 5, // " Corbeille de la Base des Mots de Passe "
    Info = 6, // " Informations et Propriétés "
    Help = 7, // " Information ": the help browser
};
inline constexpr int DetailPageCount = 8;

class MainWindowUi {
public:
    // Builds every control into `window` (which becomes Lib_PasswordMgr).
    void Setup(QMainWindow* window);

    // Minimum size of the window, in twips (the layout snaps back to it).
    static constexpr int MinimumWidthTwips = 11370;
    static constexpr int MinimumHeightTwips = 9165;
    static int TwipsToPixels(int twips) { return twips / 15; }

    // ---- Helpers over indexed and composite controls ----------------------
    // The text of TextPassword_<index>, 0 to 5 (5 is the note).
    QString PasswordText(int index) const;
    void SetPasswordText(int index, const QString& text);
    QWidget* PasswordField(int index) const;
    // The status bar panel "Msg".
    QString StatusMsg() const;
    void SetStatusMsg(const QString& text);
    // The back colour of CommandColor (the colour of an entry's title).
    QColor EntryColor() const;
    void SetEntryColor(const QColor& color);
    QWidget* Page(DetailPage page) const { return Pages[static_cast<int>(page)]; }

    QMainWindow* Window = nullptr;

    // ---- Menus --------------------------------------------------------------
    QMenu* MenuBase = nullptr;
    QAction* MenuBaseNew = nullptr;
    QAction* MenuBaseOpen = nullptr;
    QAction* MenuBaseClose = nullptr;
    QAction* MenuBaseSave = nullptr;
    QAction* MenuBaseSaveUnder = nullptr;
    QAction* MenuBasePassword = nullptr;
    QAction* MenuBaseOptions = nullptr;
    QAction* MenuSeparateurAncienFichier = nullptr;
    std::array<QAction*, 5> MenuAncienFichier {}; // MenuAncienFichier1 .. 5
    QAction* MenuBaseExit = nullptr;

    QMenu* MenuAide = nullptr;
    QAction* MenuAideAide = nullptr;
    QAction* MenuAideSitebWeb = nullptr;
    QAction* MenuAideVote = nullptr;
    QAction* MenuAideLog = nullptr;
    QAction* MenuAideVersion = nullptr;
    QAction* MenuAideAchat = nullptr;
    QAction* MenuAideAbout = nullptr;

    QMenu* MenuCorbeille = nullptr; // the trash popup
    QAction* MenuCorbeilleVider = nullptr;

    // ---- Toolbars (buttons known by key, see KeyToolBar) ------------------
    KeyToolBar* tbToolBar = nullptr; // Exit New Open Close Save SaveUnder Security(Password)
    KeyToolBar* ToolbarTree = nullptr; // Add(CatDefault) Change(Icon) Delete Purge Search Date(Date)
                                       // Export(ExportCat) Import(ImportCat) Clipboard
    KeyToolBar* ToolbarPassCode = nullptr; // Add Change Delete Initfield
    KeyToolBar* ToolbarNote = nullptr; // open calendar time

    // ---- The tree -----------------------------------------------------------
    QSplitter* MainSplitter = nullptr;
    QWidget* TreePane = nullptr;
    QTreeView* tvTreeView = nullptr;
    QAction* TreeDeleteAction = nullptr; // Delete over the tree
    QAction* TreeRenameAction = nullptr; // F2 over the tree
    QLabel* PictureLogo = nullptr;

    // ---- Detail pages -------------------------------------------------------
    QTabWidget* PasswordTabView = nullptr;
    std::array<QWidget*, DetailPageCount> Pages {};
    std::array<QWidget*, 3> PictureTab {}; // page containers of pages 0, 1, 2

    // Page 1: the entry.
    std::array<QLabel*, 7> LabelPassword {};
    std::array<QLineEdit*, 5> TextPassword {}; // TextPassword_0 .. _4
    QPlainTextEdit* TextPasswordNote = nullptr; // TextPassword_5
    std::array<QLabel*, 1> LabelCustom {};
    std::array<QLineEdit*, 1> TextPerso {};
    QCheckBox* CheckDate = nullptr;
    QDateEdit* DTPickerLimit = nullptr;
    QToolButton* CommandColor = nullptr;
    QToolButton* CommandGenPasswd = nullptr;
    QToolButton* CommandGenPeudo = nullptr;
    QToolButton* CommandCopyLogin = nullptr;
    QToolButton* CommandCopyPassword = nullptr;
    QToolButton* CommandGoWeb = nullptr;
    QToolButton* CommandWebHelp = nullptr;
    QToolButton* CommandOpenFile = nullptr;
    QToolButton* CommandSelectFile = nullptr;
    QToolButton* OpenContentNote = nullptr;
    QToolButton* SaveContentNote = nullptr;

    // Page 2: the presentation.
    QLabel* PictureAbout = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblDescription = nullptr;
    QTextBrowser* TextInfoAppli = nullptr;
    QPushButton* CommandWeb = nullptr;
    QPushButton* CommandHisto = nullptr;
    QPushButton* CommandVote = nullptr;
    QPushButton* CommandDon = nullptr;

    // Page 3: statistics.
    std::array<QLabel*, 10> LabelStat {};
    std::array<QLineEdit*, 9> TextStat {};

    // Page 4: working options.
    QCheckBox* CheckHide = nullptr;
    QCheckBox* CheckOpen = nullptr;
    QCheckBox* CheckDateExpir = nullptr;
    QCheckBox* CheckInitFields = nullptr;
    QCheckBox* CheckTrash = nullptr;
    QCheckBox* CheckAutoSave = nullptr;
    QCheckBox* CheckDeleteDir = nullptr;
    QCheckBox* CheckSepCopy = nullptr;
    QLineEdit* TextSepCopy = nullptr;
    QCheckBox* CheckAutoClose = nullptr;
    QSlider* SliderAutoClose = nullptr;
    QLineEdit* TextAutoClose = nullptr;
    QCheckBox* CheckPurge = nullptr;
    QSlider* SliderPurge = nullptr;
    QLineEdit* TextPurge = nullptr;
    QListWidget* ListCatDefaut = nullptr;
    QPushButton* CatDefautAdd = nullptr;
    QPushButton* CatDefautDelete = nullptr;

    // Texts of the option and trash pages: 0 the trash explanation, 1 the
    // option page's note, 2 the trash page's hint.
    std::array<QLabel*, 3> TextPasswordOption {};

    // Page 6: database information.
    std::array<QLabel*, 2> LabelDate {}; // hidden values: the dates as text
    QLineEdit* TextTitle = nullptr;
    QLineEdit* TextUser = nullptr;
    std::array<QCheckBox*, 1> CheckLabel {};
    std::array<QLineEdit*, 1> TextCustom {};
    QPlainTextEdit* TextNote = nullptr;
    QPushButton* ApplyInfo = nullptr;

    // Page 7: help.
    QTextBrowser* WebBrowserHelp = nullptr;

    // ---- Status bar, alert, timers ----------------------------------------
    QStatusBar* theStatusBar = nullptr;
    QLabel* Msg = nullptr; // the panel "Msg"
    QLabel* LabelUnprotected = nullptr; // the open database has no master password
    std::array<QLabel*, 2> PictureAlert {};
    QTimer* TimerAlert = nullptr; // 1000 ms, the unsaved-changes alert
    QTimer* TimerDatabaseClose = nullptr; // 65535 ms, the automatic close

private:
    void SetupMenus();
    void SetupToolbars();
    void SetupTree();
    void SetupPages();
    QWidget* SetupEntryPage();
    QWidget* SetupAboutPage();
    QWidget* SetupStatPage();
    QWidget* SetupOptionPage();
    QWidget* SetupTrashPage();
    QWidget* SetupInfoPage();
    void SetupStatusBar();
};

} // namespace keyholm
