#pragma once
// The controls of the main window Lib_PasswordMgr, built by Setup: menus,
// toolbars, the tree, the detail pages, the status bar, the alert pictures
// and the timers. Each detail page owns and lays out its own controls (see
// EntryPage, AboutPage, ...). Each control carries its name as Qt object
// name (indexed sets as Name_0, Name_1, ...). This class only builds and lays
// out; behaviour lives in the procedure classes of database/, entries/,
// search/ and app/, which reach the controls through the pointers below.

#include "services/main/AboutPage.h"
#include "services/main/EntryPage.h"
#include "services/main/InfoPage.h"
#include "services/main/OptionPage.h"
#include "services/main/StatPage.h"
#include "services/main/TrashPage.h"

#include <QString>

#include <array>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTextBrowser;
class QTimer;
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

    // The status bar panel "Msg".
    QString StatusMsg() const;
    void SetStatusMsg(const QString& text);
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
    // The entry toolbar ToolbarPassCode and the note toolbar ToolbarNote
    // belong to their pages.
    KeyToolBar* tbToolBar = nullptr; // Exit New Open Close Save SaveUnder Security(Password)
    KeyToolBar* ToolbarTree = nullptr; // Add(CatDefault) Change(Icon) Delete Purge Search Date(Date)
                                       // Export(ExportCat) Import(ImportCat) Clipboard

    // ---- The tree -----------------------------------------------------------
    QSplitter* MainSplitter = nullptr;
    QWidget* TreePane = nullptr;
    QTreeView* tvTreeView = nullptr;
    QAction* TreeDeleteAction = nullptr; // Delete over the tree
    QAction* TreeRenameAction = nullptr; // F2 over the tree
    QAction* TreeCutAction = nullptr; // Ctrl+X over the tree: the node to move
    QAction* TreePasteAction = nullptr; // Ctrl+V over the tree: moves it here
    QAction* NewEntryAction = nullptr; // Ctrl+N while a database is open
    QAction* FindNextAction = nullptr; // F3: the next match
    QAction* FindPreviousAction = nullptr; // Shift+F3: the previous one
    QAction* RestoreFieldsAction = nullptr; // Esc over the entry fields
    QLabel* PictureLogo = nullptr;

    // ---- Detail pages -------------------------------------------------------
    QTabWidget* PasswordTabView = nullptr;
    std::array<QWidget*, DetailPageCount> Pages {};
    EntryPage* Entry = nullptr; // page 1
    AboutPage* About = nullptr; // page 2
    StatPage* Stat = nullptr; // page 3
    OptionPage* Option = nullptr; // page 4
    TrashPage* Trash = nullptr; // page 5
    InfoPage* Info = nullptr; // page 6
    QTextBrowser* WebBrowserHelp = nullptr; // page 7

    // ---- Status bar, alert, timers ----------------------------------------
    QStatusBar* theStatusBar = nullptr;
    QLabel* Msg = nullptr; // the panel "Msg"
    QLabel* LabelUnprotected = nullptr; // the open database has no master password
    QLabel* LabelClipboard = nullptr; // the countdown to the clipboard's clear
    std::array<QLabel*, 2> PictureAlert {};
    QTimer* TimerAlert = nullptr; // 1000 ms, the unsaved-changes alert
    QTimer* TimerDatabaseClose = nullptr; // 65535 ms, the automatic close

private:
    void SetupMenus();
    void SetupToolbars();
    void SetupTree();
    void SetupPages();
    void SetupStatusBar();
};

} // namespace keyholm
