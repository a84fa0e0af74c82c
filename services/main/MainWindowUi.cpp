#include "services/main/MainWindowUi.h"

#include "services/ui/AppLogo.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/ToolIcons.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace keyholm {

namespace {

QString Indexed(const char* name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

template <class T> T* Named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QToolButton* FieldButton(QWidget* parent, const QString& name, const QString& icon, const QString& toolTip)
{
    auto* button = Named(new QToolButton(parent), name);
    button->setIcon(ToolIcon(icon));
    button->setIconSize(QSize(18, 18));
    button->setToolTip(toolTip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QLabel* Caption(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = Named(new QLabel(text, parent), name);
    label->setProperty("role", QStringLiteral("caption"));
    return label;
}

QLineEdit* ReadOnlyBox(QWidget* parent, const QString& name)
{
    auto* box = Named(new QLineEdit(parent), name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(110);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

// The look of the window: light surfaces, quiet borders, one accent colour.
const char* WindowStyle = R"(
#Lib_PasswordMgr { background: #eef1f5; }
QTabWidget#PasswordTabView::pane { border: 1px solid #d5dbe3; border-radius: 6px; background: #ffffff; top: -1px; }
QTabWidget#PasswordTabView > QTabBar::tab { padding: 6px 14px; margin-right: 2px; border: 1px solid #d5dbe3;
    border-bottom: none; border-top-left-radius: 6px; border-top-right-radius: 6px; background: #e4e8ee; color: #4a5566; }
QTabWidget#PasswordTabView > QTabBar::tab:selected { background: #ffffff; color: #1f2a37; font-weight: bold; }
QTreeView#tvTreeView { border: 1px solid #d5dbe3; border-radius: 6px; background: #ffffff; padding: 4px; }
QTreeView#tvTreeView::item { padding: 3px 2px; }
QTreeView#tvTreeView::item:selected { background: #dbe8fd; color: #10213a; }
QLabel[role="caption"] { color: #4a5566; }
QLabel[role="heading"] { color: #1f2a37; font-weight: bold; }
QLineEdit, QPlainTextEdit, QDateEdit, QListWidget, QTextBrowser { border: 1px solid #cdd4de; border-radius: 4px;
    padding: 3px 5px; background: #ffffff; selection-background-color: #2f6fde; }
QLineEdit:focus, QPlainTextEdit:focus, QDateEdit:focus, QListWidget:focus { border: 1px solid #2f6fde; }
QLineEdit:read-only { background: #f5f7fa; }
QGroupBox { border: 1px solid #dde2e9; border-radius: 6px; margin-top: 14px; padding: 10px 8px 8px 8px; }
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; color: #1f2a37; font-weight: bold; }
QToolBar { border: none; spacing: 2px; }
QToolBar#tbToolBar { background: #f8f9fb; border-bottom: 1px solid #d5dbe3; padding: 3px 6px; }
QStatusBar#theStatusBar { background: #f8f9fb; border-top: 1px solid #d5dbe3; color: #4a5566; }
QPushButton { padding: 5px 14px; border: 1px solid #c4ccd8; border-radius: 5px; background: #ffffff; }
QPushButton:hover { background: #f0f5ff; border-color: #2f6fde; }
QPushButton:disabled { color: #a0a8b4; background: #f3f4f6; }
QPushButton#ApplyInfo { background: #2f6fde; color: #ffffff; border-color: #2f6fde; font-weight: bold; }
QPushButton#ApplyInfo:disabled { background: #a9c1ee; border-color: #a9c1ee; }
)";

} // namespace

void MainWindowUi::Setup(QMainWindow* window)
{
    Window = window;
    window->setObjectName(QStringLiteral("Lib_PasswordMgr"));
    window->setWindowTitle(QStringLiteral("Keyholm"));
    window->setWindowIcon(AppIcon());
    window->setStyleSheet(QLatin1String(WindowStyle));
    window->setMinimumSize(TwipsToPixels(MinimumWidthTwips), TwipsToPixels(MinimumHeightTwips));
    window->resize(1040, 700);

    SetupMenus();
    SetupToolbars();
    SetupTree();
    SetupPages();
    SetupStatusBar();

    MainSplitter = Named(new QSplitter(Qt::Horizontal, window), QStringLiteral("MainSplitter"));
    MainSplitter->setChildrenCollapsible(false);
    MainSplitter->setHandleWidth(8);
    MainSplitter->addWidget(TreePane);
    MainSplitter->addWidget(PasswordTabView);
    MainSplitter->setStretchFactor(0, 0);
    MainSplitter->setStretchFactor(1, 1);
    MainSplitter->setSizes({ 340, 700 });
    auto* central = Named(new QWidget(window), QStringLiteral("CentralArea"));
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(8, 8, 8, 6);
    centralLayout->addWidget(MainSplitter);
    window->setCentralWidget(central);

    TimerAlert = Named(new QTimer(window), QStringLiteral("TimerAlert"));
    TimerAlert->setInterval(1000);
    TimerDatabaseClose = Named(new QTimer(window), QStringLiteral("TimerDatabaseClose"));
    TimerDatabaseClose->setInterval(65535);
}

void MainWindowUi::SetupMenus()
{
    QMenuBar* bar = Window->menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    auto item = [](QMenu* menu, const char* name, const QString& text, const QString& icon = {},
                    const QKeySequence& shortcut = {}) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        if (!icon.isEmpty())
            action->setIcon(ToolIcon(icon));
        if (!shortcut.isEmpty())
            action->setShortcut(shortcut);
        return action;
    };

    MenuBase = Named(bar->addMenu(QStringLiteral("&Fichier")), QStringLiteral("MenuBase"));
    MenuBaseNew
        = item(MenuBase, "MenuBaseNew", QStringLiteral("&Nouvelle..."), QStringLiteral("new"), QKeySequence::New);
    MenuBaseOpen
        = item(MenuBase, "MenuBaseOpen", QStringLiteral("&Ouvrir..."), QStringLiteral("open"), QKeySequence::Open);
    MenuBaseClose = item(MenuBase, "MenuBaseClose", QStringLiteral("&Fermer"), QStringLiteral("close"),
        QKeySequence(Qt::CTRL | Qt::Key_W));
    MenuBase->addSeparator();
    MenuBaseSave
        = item(MenuBase, "MenuBaseSave", QStringLiteral("&Sauver..."), QStringLiteral("save"), QKeySequence::Save);
    MenuBaseSaveUnder = item(MenuBase, "MenuBaseSaveUnder", QStringLiteral("S&auver sous..."), QStringLiteral("saveas"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    MenuBase->addSeparator();
    MenuBasePassword
        = item(MenuBase, "MenuBasePassword", QStringLiteral("&Mot de passe..."), QStringLiteral("security"));
    MenuBaseOptions = item(MenuBase, "MenuBaseOptions", QStringLiteral("O&ptions..."), QStringLiteral("options"));
    MenuSeparateurAncienFichier = MenuBase->addSeparator();
    MenuSeparateurAncienFichier->setObjectName(QStringLiteral("MenuSeparateurAncienFichier"));
    MenuSeparateurAncienFichier->setVisible(false);
    for (int i = 0; i < 5; ++i) {
        QAction* recent = MenuBase->addAction(QString());
        recent->setObjectName(QStringLiteral("MenuAncienFichier%1").arg(i + 1));
        recent->setVisible(false);
        MenuAncienFichier[i] = recent;
    }
    MenuBase->addSeparator();
    MenuBaseExit = item(MenuBase, "MenuBaseExit", QStringLiteral("&Quitter"), QStringLiteral("exit"),
        QKeySequence(Qt::CTRL | Qt::Key_Q));
    MenuBaseExit->setMenuRole(QAction::QuitRole);

    MenuAide = Named(bar->addMenu(QStringLiteral("&Aide")), QStringLiteral("MenuAide"));
    MenuAideAide = item(MenuAide, "MenuAideAide", QStringLiteral("&Information sur le logiciel..."),
        QStringLiteral("info"), QKeySequence::HelpContents);
    MenuAideSitebWeb
        = item(MenuAide, "MenuAideSitebWeb", QStringLiteral("&Consultez le site Web..."), QStringLiteral("web"));
    MenuAideVote = item(MenuAide, "MenuAideVote", QStringLiteral("Commentaire et &Vote des utilisateurs..."));
    MenuAide->addSeparator();
    MenuAideLog
        = item(MenuAide, "MenuAideLog", QStringLiteral("Affichage des &Traces logicielles..."), QStringLiteral("file"));
    MenuAide->addSeparator();
    MenuAideVersion = item(MenuAide, "MenuAideVersion", QStringLiteral("Vérifiez la &mise à jour du logiciel..."));
    MenuAideAchat = item(MenuAide, "MenuAideAchat", QStringLiteral("&Faire un don pour le logiciel via internet..."));
    MenuAide->addSeparator();
    MenuAideAbout = item(MenuAide, "MenuAideAbout", QStringLiteral("&A propos de..."), QStringLiteral("help"));
    MenuAideAbout->setMenuRole(QAction::AboutRole);

    // Shown only as the trash's popup; not part of the menu bar.
    MenuCorbeille = Named(new QMenu(QStringLiteral("Corbeille"), Window), QStringLiteral("MenuCorbeille"));
    MenuCorbeilleVider
        = item(MenuCorbeille, "MenuCorbeilleVider", QStringLiteral("Vider la Corbeille..."), QStringLiteral("purge"));
}

void MainWindowUi::SetupToolbars()
{
    tbToolBar = new KeyToolBar(QStringLiteral("tbToolBar"), Window);
    tbToolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tbToolBar->AddButton(QStringLiteral("New"), ToolIcon(QStringLiteral("new")), QStringLiteral("Nouvelle"),
        QStringLiteral("Créer une nouvelle Base de mots de passe (Ctrl+N)"));
    tbToolBar->AddButton(QStringLiteral("Open"), ToolIcon(QStringLiteral("open")), QStringLiteral("Ouvrir"),
        QStringLiteral("Ouvrir une Base de mots de passe (Ctrl+O)"));
    tbToolBar->AddButton(QStringLiteral("Close"), ToolIcon(QStringLiteral("close")), QStringLiteral("Fermer"),
        QStringLiteral("Fermer la Base courante (Ctrl+W)"));
    tbToolBar->addSeparator();
    tbToolBar->AddButton(QStringLiteral("Save"), ToolIcon(QStringLiteral("save")), QStringLiteral("Sauver"),
        QStringLiteral("Enregistrer la Base courante (Ctrl+S)"));
    tbToolBar->AddButton(QStringLiteral("SaveUnder"), ToolIcon(QStringLiteral("saveas")), QStringLiteral("Sauver sous"),
        QStringLiteral("Enregistrer la Base sous un autre nom (Ctrl+Maj+S)"));
    tbToolBar->addSeparator();
    tbToolBar->AddButton(QStringLiteral("Security"), ToolIcon(QStringLiteral("security")),
        QStringLiteral("Mot de passe"), QStringLiteral("Définir ou modifier le mot de passe de la Base"));
    tbToolBar->AddButtonMenu(QStringLiteral("Security"), QStringLiteral("Password"), QStringLiteral("&Suppression..."));

    // The unsaved-changes alert: two pictures in the same place, blinking
    // by turns (TimerAlert), at the far end of the file toolbar.
    auto* spacer = Named(new QWidget(tbToolBar), QStringLiteral("tbToolBarSpacer"));
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tbToolBar->addWidget(spacer);
    auto* alert = Named(new QWidget(tbToolBar), QStringLiteral("AlertHolder"));
    alert->setFixedSize(26, 26);
    const QString alertTip = QStringLiteral("Base modifiée, pensez à la sauvegarde !");
    const char* alertIcons[] = { "alert", "alertred" };
    for (int i = 0; i < 2; ++i) {
        auto* picture = Named(new QLabel(alert), Indexed("PictureAlert", i));
        picture->setPixmap(ToolIcon(QLatin1String(alertIcons[i])).pixmap(QSize(24, 24)));
        picture->setGeometry(1, 1, 24, 24);
        picture->setToolTip(alertTip);
        picture->setMouseTracking(true);
        picture->setVisible(false);
        PictureAlert[i] = picture;
    }
    tbToolBar->addWidget(alert);
    tbToolBar->AddButton(QStringLiteral("Exit"), ToolIcon(QStringLiteral("exit")), QStringLiteral("Quitter"),
        QStringLiteral("Quitter Keyholm"));
    Window->addToolBar(Qt::TopToolBarArea, tbToolBar);

    ToolbarTree = new KeyToolBar(QStringLiteral("ToolbarTree"));
    ToolbarTree->setIconSize(QSize(18, 18));
    ToolbarTree->AddButton(QStringLiteral("Add"), ToolIcon(QStringLiteral("add")), QStringLiteral("Ajouter"),
        QStringLiteral("Ajouter une nouvelle Catégorie sous la sélection"));
    ToolbarTree->AddButtonMenu(
        QStringLiteral("Add"), QStringLiteral("CatDefault"), QStringLiteral("&Ajout des Catégories par défaut..."));
    ToolbarTree->AddButton(QStringLiteral("Change"), ToolIcon(QStringLiteral("rename")), QStringLiteral("Modifier"),
        QStringLiteral("Modifier le label de la Catégorie sélectionnée"));
    ToolbarTree->AddButtonMenu(QStringLiteral("Change"), QStringLiteral("Icon"), QStringLiteral("Icone..."));
    ToolbarTree->AddButton(QStringLiteral("Delete"), ToolIcon(QStringLiteral("delete")), QStringLiteral("Supprimer"),
        QStringLiteral("Supprimer la catégorie sélectionnée"));
    ToolbarTree->AddButton(QStringLiteral("Purge"), ToolIcon(QStringLiteral("purge")), QStringLiteral("Purger"),
        QStringLiteral("Purge des mots de passe de la Corbeille..."));
    ToolbarTree->AddButton(QStringLiteral("Search"), ToolIcon(QStringLiteral("search")), QStringLiteral("Rechercher"),
        QStringLiteral("Rechercher un label dans l'arborescence..."));
    ToolbarTree->Button(QStringLiteral("Search"))->setShortcut(QKeySequence::Find);
    ToolbarTree->Button(QStringLiteral("Search"))->setShortcutContext(Qt::WindowShortcut);
    ToolbarTree->AddButton(QStringLiteral("Date"), ToolIcon(QStringLiteral("date")), QStringLiteral("Expirations"),
        QStringLiteral("Affiche les mots de passe arrivés à expiration..."));
    ToolbarTree->AddButtonMenu(QStringLiteral("Date"), QStringLiteral("Date"), QStringLiteral("&Toutes les dates..."));
    ToolbarTree->AddButton(QStringLiteral("Export"), ToolIcon(QStringLiteral("export")), QStringLiteral("Exporter"),
        QStringLiteral("Export et impression de la liste des mots de passe..."));
    ToolbarTree->AddButtonMenu(
        QStringLiteral("Export"), QStringLiteral("ExportCat"), QStringLiteral("depuis la &Catégorie sélectionnée..."));
    ToolbarTree->AddButton(QStringLiteral("Import"), ToolIcon(QStringLiteral("import")), QStringLiteral("Importer"),
        QStringLiteral("Importation d'une liste de mots de passe..."));
    ToolbarTree->AddButtonMenu(
        QStringLiteral("Import"), QStringLiteral("ImportCat"), QStringLiteral("dans la &Catégorie sélectionnée"));
    ToolbarTree->AddButton(QStringLiteral("Clipboard"), ToolIcon(QStringLiteral("clipboard")),
        QStringLiteral("Presse-papiers"), QStringLiteral("Affichage du Presse-Papiers Windows"));

    ToolbarPassCode = new KeyToolBar(QStringLiteral("ToolbarPassCode"));
    ToolbarPassCode->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolbarPassCode->setIconSize(QSize(20, 20));
    ToolbarPassCode->AddButton(QStringLiteral("Add"), ToolIcon(QStringLiteral("entryadd")), QStringLiteral("Ajouter"),
        QStringLiteral("Ajouter du nouveau mot de passe"));
    ToolbarPassCode->AddButton(QStringLiteral("Change"), ToolIcon(QStringLiteral("entrychange")),
        QStringLiteral("Modifier"), QStringLiteral("Modifier le mot de passe sélectionné"));
    ToolbarPassCode->AddButton(QStringLiteral("Delete"), ToolIcon(QStringLiteral("entrydelete")),
        QStringLiteral("Supprimer"), QStringLiteral("Supprimer le mot de passe sélectionné"));
    ToolbarPassCode->addSeparator();
    ToolbarPassCode->AddButton(QStringLiteral("Initfield"), ToolIcon(QStringLiteral("clear")), QStringLiteral("Vider"),
        QStringLiteral("Initialisation de tous les champs de saisie"));

    ToolbarNote = new KeyToolBar(QStringLiteral("ToolbarNote"));
    ToolbarNote->setIconSize(QSize(18, 18));
    ToolbarNote->AddButton(QStringLiteral("open"), ToolIcon(QStringLiteral("fileload")), QStringLiteral("Fichier"),
        QStringLiteral("Insère le contenu d'un fichier..."));
    ToolbarNote->AddButton(QStringLiteral("calendar"), ToolIcon(QStringLiteral("calendar")), QStringLiteral("Date"),
        QStringLiteral("Ajoute la date au point de saisie"));
    ToolbarNote->AddButton(QStringLiteral("time"), ToolIcon(QStringLiteral("time")), QStringLiteral("Heure"),
        QStringLiteral("Ajoute l'heure au point de saisie"));
}

void MainWindowUi::SetupTree()
{
    TreePane = Named(new QWidget, QStringLiteral("TreePane"));
    TreePane->setMinimumWidth(330);
    auto* layout = new QVBoxLayout(TreePane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    ToolbarTree->setParent(TreePane);
    layout->addWidget(ToolbarTree);

    tvTreeView = Named(new QTreeView(TreePane), QStringLiteral("tvTreeView"));
    tvTreeView->setHeaderHidden(true);
    tvTreeView->setUniformRowHeights(true);
    tvTreeView->setIconSize(QSize(18, 18));
    tvTreeView->setIndentation(18);
    tvTreeView->setAnimated(true);
    tvTreeView->setSelectionMode(QAbstractItemView::SingleSelection);
    tvTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers); // F2 goes through TreeRenameAction
    tvTreeView->setContextMenuPolicy(Qt::NoContextMenu);
    tvTreeView->setVisible(false); // hidden behind the logo until a database is open
    layout->addWidget(tvTreeView, 1);

    TreeDeleteAction = new QAction(QStringLiteral("Supprimer"), tvTreeView);
    TreeDeleteAction->setObjectName(QStringLiteral("TreeDeleteAction"));
    TreeDeleteAction->setShortcut(QKeySequence::Delete);
    TreeDeleteAction->setShortcutContext(Qt::WidgetShortcut);
    tvTreeView->addAction(TreeDeleteAction);
    TreeRenameAction = new QAction(QStringLiteral("Renommer"), tvTreeView);
    TreeRenameAction->setObjectName(QStringLiteral("TreeRenameAction"));
    TreeRenameAction->setShortcut(QKeySequence(Qt::Key_F2));
    TreeRenameAction->setShortcutContext(Qt::WidgetShortcut);
    tvTreeView->addAction(TreeRenameAction);

    PictureLogo = Named(new QLabel(TreePane), QStringLiteral("PictureLogo"));
    PictureLogo->setAlignment(Qt::AlignCenter);
    PictureLogo->setPixmap(AppLogo(128, Window->devicePixelRatioF()));
    PictureLogo->setCursor(Qt::PointingHandCursor);
    PictureLogo->setToolTip(QStringLiteral("Keyholm"));
    PictureLogo->setStyleSheet(QStringLiteral("QLabel#PictureLogo { border: 1px solid #d5dbe3; border-radius: 6px; "
                                              "background: #ffffff; }"));
    PictureLogo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    layout->addWidget(PictureLogo, 1);
}

void MainWindowUi::SetupPages()
{
    PasswordTabView = Named(new QTabWidget, QStringLiteral("PasswordTabView"));
    PasswordTabView->setDocumentMode(false);
    PasswordTabView->setUsesScrollButtons(true);

    auto* welcome = new QWidget;
    auto* welcomeLayout = new QVBoxLayout(welcome);
    PictureTab[0] = Named(new QLabel(QStringLiteral("Keyholm"), welcome), QStringLiteral("PictureTab_0"));
    static_cast<QLabel*>(PictureTab[0])->setAlignment(Qt::AlignCenter);
    welcomeLayout->addWidget(PictureTab[0]);

    QWidget* pages[DetailPageCount] = { welcome, SetupEntryPage(), SetupAboutPage(), SetupStatPage(), SetupOptionPage(),
        SetupTrashPage(), SetupInfoPage(), nullptr };
    WebBrowserHelp = Named(new QTextBrowser, QStringLiteral("WebBrowserHelp"));
    WebBrowserHelp->setOpenExternalLinks(true);
    auto* help = new QWidget;
    auto* helpLayout = new QVBoxLayout(help);
    helpLayout->setContentsMargins(7, 7, 7, 7);
    helpLayout->addWidget(WebBrowserHelp);
    pages[7] = help;

    for (int i = 0; i < DetailPageCount; ++i) {
        pages[i]->setObjectName(Indexed("PasswordTab", i));
        Pages[i] = pages[i];
        PasswordTabView->addTab(pages[i], QString());
    }
}

QWidget* MainWindowUi::SetupEntryPage()
{
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* tab = Named(new QWidget(page), QStringLiteral("PictureTab_1"));
    PictureTab[1] = tab;
    outer->addWidget(tab);

    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(14, 8, 14, 12);
    layout->setSpacing(6);
    ToolbarPassCode->setParent(tab);
    layout->addWidget(ToolbarPassCode);
    auto* rule = Named(new QFrame(tab), QStringLiteral("EntryRule"));
    rule->setFrameShape(QFrame::HLine);
    rule->setStyleSheet(QStringLiteral("color: #e3e7ed;"));
    layout->addWidget(rule);

    const QString captions[7] = {
        QStringLiteral("Titre :"),
        QStringLiteral("Identifiant, Email, Login, Pseudo :"),
        QStringLiteral("Mot de passe, Password, clé :"),
        QStringLiteral("Site Web, URL, page Web, ..."),
        QStringLiteral("Lien sur un fichier externe :"),
        QStringLiteral("Vos Notes, Commentaires, Informations, ..."),
        QStringLiteral("Date limite d'utilisation :"),
    };
    for (int i = 0; i < 7; ++i)
        LabelPassword[i] = Caption(tab, Indexed("LabelPassword", i), captions[i]);
    for (int i = 0; i < 5; ++i) {
        TextPassword[i] = Named(new QLineEdit(tab), Indexed("TextPassword", i));
        TextPassword[i]->setClearButtonEnabled(i != 2);
        LabelPassword[i]->setBuddy(TextPassword[i]);
    }
    TextPassword[0]->setPlaceholderText(QStringLiteral("Nom du compte ou du site"));
    TextPassword[3]->setPlaceholderText(QStringLiteral("https://"));
    TextPasswordNote = Named(new QPlainTextEdit(tab), QStringLiteral("TextPassword_5"));
    TextPasswordNote->setTabChangesFocus(true);
    LabelPassword[5]->setBuddy(TextPasswordNote);

    CommandColor = FieldButton(tab, QStringLiteral("CommandColor"), QString(),
        QStringLiteral("Choix d'une couleur de fond sur le Titre dans l'arborescence..."));
    CommandColor->setIcon(QIcon());
    CommandColor->setAutoRaise(false);
    CommandColor->setFixedSize(26, 26);
    CommandGenPeudo = FieldButton(tab, QStringLiteral("CommandGenPeudo"), QStringLiteral("nickname"),
        QStringLiteral("Création aléatoire d'un Pseudo"));
    CommandCopyLogin = FieldButton(tab, QStringLiteral("CommandCopyLogin"), QStringLiteral("copy"),
        QStringLiteral("Copie de l'Identifiant dans le Presse-Papiers"));
    CommandGenPasswd = FieldButton(tab, QStringLiteral("CommandGenPasswd"), QStringLiteral("generate"),
        QStringLiteral("Création aléatoire d'un mot de passe"));
    CommandCopyPassword = FieldButton(tab, QStringLiteral("CommandCopyPassword"), QStringLiteral("copy"),
        QStringLiteral("Copie du Mot de Passe dans le Presse-Papiers"));
    CommandWebHelp = FieldButton(tab, QStringLiteral("CommandWebHelp"), QStringLiteral("help"),
        QStringLiteral("Information sur la création d'un lien web..."));
    CommandGoWeb = FieldButton(
        tab, QStringLiteral("CommandGoWeb"), QStringLiteral("web"), QStringLiteral("Ouverture de la page web..."));
    CommandSelectFile = FieldButton(tab, QStringLiteral("CommandSelectFile"), QStringLiteral("folder"),
        QStringLiteral("Sélection d'un fichier sur votre disque dur..."));
    CommandOpenFile = FieldButton(
        tab, QStringLiteral("CommandOpenFile"), QStringLiteral("file"), QStringLiteral("Ouverture du fichier..."));
    OpenContentNote = FieldButton(tab, QStringLiteral("OpenContentNote"), QStringLiteral("fileload"),
        QStringLiteral("Charge le contenu d'un fichier dans la zone Note"));
    SaveContentNote = FieldButton(tab, QStringLiteral("SaveContentNote"), QStringLiteral("filesave"),
        QStringLiteral("Sauve le contenu de la Note dans un fichier"));
    for (QToolButton* button :
        { CommandCopyLogin, CommandCopyPassword, CommandGoWeb, CommandOpenFile, SaveContentNote })
        button->setEnabled(false);

    LabelCustom[0] = Caption(tab, QStringLiteral("LabelCustom_0"), QString());
    TextPerso[0] = Named(new QLineEdit(tab), QStringLiteral("TextPerso_0"));
    LabelCustom[0]->setBuddy(TextPerso[0]);
    LabelCustom[0]->setVisible(false);
    TextPerso[0]->setVisible(false);

    CheckDate = Named(new QCheckBox(QStringLiteral("Expire le"), tab), QStringLiteral("CheckDate"));
    DTPickerLimit = Named(new QDateEdit(tab), QStringLiteral("DTPickerLimit"));
    DTPickerLimit->setCalendarPopup(true);
    DTPickerLimit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    DTPickerLimit->setMinimumWidth(130);
    DTPickerLimit->setEnabled(false);

    // Fields in the first column; the two button columns to their right, so
    // that the web and file buttons line up (help/select, then go/open).
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(0, 1);
    int row = 0;
    auto field = [&](QLabel* label, QWidget* box, QWidget* first, QWidget* second) {
        grid->addWidget(label, row++, 0, 1, 3);
        grid->addWidget(box, row, 0);
        if (first)
            grid->addWidget(first, row, 1);
        if (second)
            grid->addWidget(second, row, 2);
        ++row;
        grid->setRowMinimumHeight(row++, 6);
    };
    field(LabelPassword[0], TextPassword[0], nullptr, CommandColor);
    field(LabelPassword[1], TextPassword[1], CommandGenPeudo, CommandCopyLogin);
    field(LabelPassword[2], TextPassword[2], CommandGenPasswd, CommandCopyPassword);
    field(LabelPassword[3], TextPassword[3], CommandWebHelp, CommandGoWeb);
    field(LabelPassword[4], TextPassword[4], CommandSelectFile, CommandOpenFile);
    field(LabelCustom[0], TextPerso[0], nullptr, nullptr);

    auto* dateRow = new QHBoxLayout;
    dateRow->setSpacing(8);
    dateRow->addWidget(LabelPassword[6]);
    dateRow->addWidget(CheckDate);
    dateRow->addWidget(DTPickerLimit);
    dateRow->addStretch(1);
    grid->addLayout(dateRow, row++, 0, 1, 3);
    grid->setRowMinimumHeight(row++, 6);

    auto* noteHeader = new QHBoxLayout;
    noteHeader->addWidget(LabelPassword[5], 1);
    noteHeader->addWidget(OpenContentNote);
    noteHeader->addWidget(SaveContentNote);
    grid->addLayout(noteHeader, row++, 0, 1, 3);
    grid->addWidget(TextPasswordNote, row, 0, 1, 3);
    grid->setRowStretch(row, 1);
    layout->addLayout(grid, 1);
    SetEntryColor(Qt::white);
    return page;
}

QWidget* MainWindowUi::SetupAboutPage()
{
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* tab = Named(new QWidget(page), QStringLiteral("PictureTab_2"));
    PictureTab[2] = tab;
    outer->addWidget(tab);

    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(10);
    auto* header = new QHBoxLayout;
    header->setSpacing(16);
    PictureAbout = Named(new QLabel(tab), QStringLiteral("PictureAbout"));
    PictureAbout->setPixmap(AppLogo(72, Window->devicePixelRatioF()));
    PictureAbout->setCursor(Qt::PointingHandCursor);
    header->addWidget(PictureAbout, 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    lblTitle = Named(new QLabel(QStringLiteral("Keyholm"), tab), QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.9);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setStyleSheet(QStringLiteral("color: #1f2a37;"));
    titles->addWidget(lblTitle);
    lblDescription = Named(new QLabel(tab), QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    lblDescription->setStyleSheet(QStringLiteral("color: #4a5566;"));
    lblDescription->setText(QStringLiteral(
        "Gestionnaire de mots de passe : vos identifiants, mots de passe, adresses Web, fichiers liés, notes et "
        "dates d'expiration, rangés par Catégories dans une Base chiffrée."));
    titles->addWidget(lblDescription);
    titles->addStretch(1);
    header->addLayout(titles, 1);
    layout->addLayout(header);

    TextInfoAppli = Named(new QTextBrowser(tab), QStringLiteral("TextInfoAppli"));
    TextInfoAppli->setFrameShape(QFrame::NoFrame);
    TextInfoAppli->setStyleSheet(QStringLiteral("QTextBrowser#TextInfoAppli { border: none; background: #f7f9fc; "
                                                "border-radius: 6px; padding: 10px; }"));
    TextInfoAppli->setHtml(QStringLiteral(
        "<h3 style='margin-top:0'>Pour commencer</h3>"
        "<ul style='margin-left:-20px'>"
        "<li>Cliquez sur le nom de la Base dans l'arborescence pour la renommer (F2).</li>"
        "<li>Ajoutez des Catégories avec le bouton <b>Ajouter</b> au-dessus de l'arborescence.</li>"
        "<li>Sélectionnez une Catégorie, remplissez la page <b>Mot de Passe</b> puis <b>Ajouter</b>.</li>"
        "<li>Les choix de fonctionnement et la Corbeille sont sous la racine de la Base.</li>"
        "<li>Enregistrez avec Ctrl+S ; l'alerte en haut à droite clignote tant que des changements "
        "ne sont pas enregistrés.</li></ul>"));
    layout->addWidget(TextInfoAppli, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    auto webButton = [&](const char* name, const QString& text, const QString& tip, const QString& icon) {
        auto* button = Named(new QPushButton(ToolIcon(icon), text, tab), QLatin1String(name));
        button->setToolTip(tip);
        button->setVisible(false); // made visible by the window's load
        buttons->addWidget(button);
        return button;
    };
    CommandWeb = webButton("CommandWeb", QStringLiteral("Page Web"), QStringLiteral("Accèdez à la page Web Keyholm..."),
        QStringLiteral("web"));
    CommandHisto = webButton("CommandHisto", QStringLiteral("Historique"),
        QStringLiteral("Affichez l'historique des versions du logiciel..."), QStringLiteral("time"));
    CommandVote = webButton("CommandVote", QStringLiteral("Votre Avis"),
        QStringLiteral("Donnez votre avis par un vote..."), QStringLiteral("apply"));
    CommandDon = webButton("CommandDon", QStringLiteral("Faire un Don"),
        QStringLiteral("Encouragez l'auteur par un don via le site PayPal..."), QStringLiteral("info"));
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return page;
}

QWidget* MainWindowUi::SetupStatPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(20, 16, 20, 16);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(0, 1);
    const QString captions[10] = {
        QStringLiteral("Nombre de mot de passe :"),
        QStringLiteral("Nombre de mot de passe dans la Corbeille :"),
        QStringLiteral("Nombre de Catégorie :"),
        QStringLiteral("Nombre de mot de passe avec une date d'expiration :"),
        QStringLiteral("Nombre de mot de passe avec un lien Web :"),
        QStringLiteral("Nombre de mot de passe avec un lien sur Fichier :"),
        QStringLiteral("Nombre de mot de passe avec une Note :"),
        QStringLiteral("Nombre de désignation sans Identifiant (Email, User, Login, ...) :"),
        QStringLiteral("Nombre de désignation sans Mot de Passe renseigné :"),
        QStringLiteral("Informations hors contenu de la Corbeille :"),
    };
    for (int i = 0; i < 10; ++i)
        LabelStat[i] = Caption(page, Indexed("LabelStat", i), captions[i]);
    LabelStat[9]->setProperty("role", QStringLiteral("heading"));
    for (int i = 0; i < 9; ++i) {
        TextStat[i] = ReadOnlyBox(page, Indexed("TextStat", i));
        LabelStat[i]->setBuddy(TextStat[i]);
    }
    int row = 0;
    for (int i : { 0, 1, 2 }) {
        grid->addWidget(LabelStat[i], row, 0);
        grid->addWidget(TextStat[i], row++, 1);
    }
    grid->setRowMinimumHeight(row++, 10);
    grid->addWidget(LabelStat[9], row++, 0, 1, 2);
    for (int i = 3; i < 9; ++i) {
        grid->addWidget(LabelStat[i], row, 0);
        grid->addWidget(TextStat[i], row++, 1);
    }
    layout->addLayout(grid);
    layout->addStretch(1);
    return page;
}

QWidget* MainWindowUi::SetupOptionPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(8);
    TextPasswordOption[1] = Named(new QLabel(page), QStringLiteral("TextPasswordOption_1"));
    TextPasswordOption[1]->setWordWrap(true);
    TextPasswordOption[1]->setProperty("role", QStringLiteral("caption"));
    TextPasswordOption[1]->setText(QStringLiteral(
        "Ces choix sont enregistrés avec vos préférences et valent pour toutes les Bases que vous ouvrez."));
    layout->addWidget(TextPasswordOption[1]);

    auto* columns = new QHBoxLayout;
    columns->setSpacing(12);
    auto* options = Named(new QGroupBox(QStringLiteral("Fonctionnement"), page), QStringLiteral("FrameOptions"));
    auto* optionLayout = new QGridLayout(options);
    optionLayout->setVerticalSpacing(5);
    optionLayout->setColumnStretch(0, 1);
    auto check = [&](const char* name, const QString& caption, bool checked) {
        auto* box = Named(new QCheckBox(caption, options), QLatin1String(name));
        box->setChecked(checked);
        return box;
    };
    CheckHide = check("CheckHide", QStringLiteral("Cacher l'affichage du mot de passe à la sélection"), true);
    CheckOpen = check("CheckOpen", QStringLiteral("Ouvrir automatiquement la dernière Base consultée"), true);
    CheckDateExpir
        = check("CheckDateExpir", QStringLiteral("Afficher les dates d'expiration à l'ouverture d'une Base"), true);
    CheckInitFields = check("CheckInitFields",
        QStringLiteral("Initialiser les champs de saisie après chaque ajout d'un Mot de Passe"), true);
    CheckTrash = check("CheckTrash", QStringLiteral("Mettre à la Corbeille les Mots de Passe supprimés"), true);
    CheckAutoSave = check("CheckAutoSave",
        QStringLiteral("Enregistrer directement dans la Base : Ajout, Modification et Suppression"), true);
    CheckDeleteDir
        = check("CheckDeleteDir", QStringLiteral("Autoriser la suppression d'une Catégorie non vide"), false);
    CheckSepCopy = check("CheckSepCopy", QStringLiteral("Caractère(s) de séparation du Copier Login+Password :"), true);
    CheckAutoClose = check(
        "CheckAutoClose", QStringLiteral("Fermeture automatique de la Base sur un temps de non utilisation :"), false);
    CheckPurge = check("CheckPurge", QStringLiteral("Purger la Corbeille des Mots de Passe plus vieux de :"), true);

    TextSepCopy = Named(new QLineEdit(QStringLiteral("/"), options), QStringLiteral("TextSepCopy"));
    TextSepCopy->setMaximumWidth(70);
    auto slider = [&](const char* name, int maximum, int value, const QString& tip) {
        auto* bar = Named(new QSlider(Qt::Horizontal, options), QLatin1String(name));
        bar->setRange(1, maximum);
        bar->setValue(value);
        bar->setPageStep(5);
        bar->setToolTip(tip);
        bar->setMinimumWidth(120);
        return bar;
    };
    auto valueBox = [&](const char* name, const QString& text) {
        auto* box = Named(new QLineEdit(text, options), QLatin1String(name));
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignCenter);
        box->setMaximumWidth(48);
        box->setFocusPolicy(Qt::NoFocus);
        return box;
    };
    SliderAutoClose = slider(
        "SliderAutoClose", 45, 5, QStringLiteral("Nombre de minutes avant fermeture automatqiue de la Base courante"));
    TextAutoClose = valueBox("TextAutoClose", QStringLiteral("5"));
    SliderPurge = slider("SliderPurge", 90, 3, QStringLiteral("Nombre de jours de conservation avant la suppression"));
    TextPurge = valueBox("TextPurge", QStringLiteral("3"));

    int row = 0;
    for (QCheckBox* box :
        { CheckHide, CheckOpen, CheckDateExpir, CheckInitFields, CheckTrash, CheckAutoSave, CheckDeleteDir })
        optionLayout->addWidget(box, row++, 0, 1, 4);
    optionLayout->addWidget(CheckSepCopy, row, 0, 1, 2);
    optionLayout->addWidget(TextSepCopy, row++, 2, 1, 2, Qt::AlignLeft);
    optionLayout->addWidget(CheckAutoClose, row++, 0, 1, 4);
    auto* autoCloseRow = new QHBoxLayout;
    autoCloseRow->setContentsMargins(24, 0, 0, 0);
    autoCloseRow->addWidget(SliderAutoClose, 1);
    autoCloseRow->addWidget(TextAutoClose);
    autoCloseRow->addWidget(Caption(options, QStringLiteral("LabelAutoCloseUnit"), QStringLiteral("minute(s)")));
    optionLayout->addLayout(autoCloseRow, row++, 0, 1, 4);
    optionLayout->addWidget(CheckPurge, row++, 0, 1, 4);
    auto* purgeRow = new QHBoxLayout;
    purgeRow->setContentsMargins(24, 0, 0, 0);
    purgeRow->addWidget(SliderPurge, 1);
    purgeRow->addWidget(TextPurge);
    purgeRow->addWidget(Caption(options, QStringLiteral("LabelPurgeUnit"), QStringLiteral("jour(s)")));
    optionLayout->addLayout(purgeRow, row++, 0, 1, 4);
    optionLayout->setRowStretch(row, 1);
    columns->addWidget(options, 3);

    auto* categories
        = Named(new QGroupBox(QStringLiteral("Catégories par défaut"), page), QStringLiteral("FrameCatDefaut"));
    auto* categoryLayout = new QVBoxLayout(categories);
    ListCatDefaut = Named(new QListWidget(categories), QStringLiteral("ListCatDefaut"));
    ListCatDefaut->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListCatDefaut->setToolTip(QStringLiteral("Catégories créées par l'ajout des Catégories par défaut"));
    categoryLayout->addWidget(ListCatDefaut, 1);
    auto* categoryButtons = new QHBoxLayout;
    CatDefautAdd = Named(new QPushButton(ToolIcon(QStringLiteral("add")), QStringLiteral("Ajouter..."), categories),
        QStringLiteral("CatDefautAdd"));
    CatDefautDelete
        = Named(new QPushButton(ToolIcon(QStringLiteral("delete")), QStringLiteral("Supprimer"), categories),
            QStringLiteral("CatDefautDelete"));
    CatDefautDelete->setEnabled(false);
    categoryButtons->addWidget(CatDefautAdd);
    categoryButtons->addWidget(CatDefautDelete);
    categoryLayout->addLayout(categoryButtons);
    columns->addWidget(categories, 2);
    layout->addLayout(columns, 1);
    return page;
}

QWidget* MainWindowUi::SetupTrashPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(20, 18, 20, 18);
    layout->setSpacing(12);
    auto* header = new QHBoxLayout;
    auto* picture = Named(new QLabel(page), QStringLiteral("PictureTrash"));
    picture->setPixmap(ToolIcon(QStringLiteral("purge")).pixmap(QSize(48, 48), Window->devicePixelRatioF()));
    header->addWidget(picture, 0, Qt::AlignTop);
    TextPasswordOption[0] = Named(new QLabel(page), QStringLiteral("TextPasswordOption_0"));
    TextPasswordOption[0]->setWordWrap(true);
    header->addWidget(TextPasswordOption[0], 1);
    layout->addLayout(header);
    TextPasswordOption[2] = Named(new QLabel(page), QStringLiteral("TextPasswordOption_2"));
    TextPasswordOption[2]->setWordWrap(true);
    TextPasswordOption[2]->setProperty("role", QStringLiteral("caption"));
    TextPasswordOption[2]->setText(QStringLiteral(
        "Un clic droit sur la Corbeille propose de la vider ; le bouton Purger supprime les mots de passe "
        "plus anciens que la durée choisie dans les Choix de fonctionnement."));
    layout->addWidget(TextPasswordOption[2]);
    layout->addStretch(1);
    return page;
}

QWidget* MainWindowUi::SetupInfoPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 14, 16, 12);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(7);
    grid->setColumnStretch(1, 1);
    int row = 0;
    const QString dateCaptions[2] = { QStringLiteral("Création :"), QStringLiteral("Enregistrement :") };
    for (int i = 0; i < 2; ++i) {
        grid->addWidget(Caption(page, Indexed("LabelDateCaption", i), dateCaptions[i]), row, 0);
        LabelDate[i] = Named(new QLabel(page), Indexed("LabelDate", i));
        LabelDate[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(LabelDate[i], row++, 1, 1, 2);
    }
    TextTitle = Named(new QLineEdit(page), QStringLiteral("TextTitle"));
    TextUser = Named(new QLineEdit(page), QStringLiteral("TextUser"));
    auto* titleLabel = Caption(page, QStringLiteral("LabelTitle"), QStringLiteral("Titre :"));
    titleLabel->setBuddy(TextTitle);
    auto* userLabel = Caption(page, QStringLiteral("LabelUser"), QStringLiteral("Propriétaire :"));
    userLabel->setBuddy(TextUser);
    grid->addWidget(titleLabel, row, 0);
    grid->addWidget(TextTitle, row++, 1, 1, 2);
    grid->addWidget(userLabel, row, 0);
    grid->addWidget(TextUser, row++, 1, 1, 2);
    CheckLabel[0] = Named(new QCheckBox(QStringLiteral("Champ personnalisé :"), page), QStringLiteral("CheckLabel_0"));
    TextCustom[0] = Named(new QLineEdit(page), QStringLiteral("TextCustom_0"));
    TextCustom[0]->setPlaceholderText(QStringLiteral("Label du champ ajouté aux mots de passe"));
    TextCustom[0]->setEnabled(false);
    grid->addWidget(CheckLabel[0], row, 0);
    grid->addWidget(TextCustom[0], row++, 1, 1, 2);
    auto* noteLabel = Caption(page, QStringLiteral("LabelNote"), QStringLiteral("Commentaire :"));
    ToolbarNote->setParent(page);
    grid->addWidget(noteLabel, row, 0);
    grid->addWidget(ToolbarNote, row++, 2, Qt::AlignRight);
    layout->addLayout(grid);
    TextNote = Named(new QPlainTextEdit(page), QStringLiteral("TextNote"));
    TextNote->setTabChangesFocus(true);
    noteLabel->setBuddy(TextNote);
    layout->addWidget(TextNote, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    ApplyInfo = Named(new QPushButton(ToolIcon(QStringLiteral("apply")), QStringLiteral("Appliquer"), page),
        QStringLiteral("ApplyInfo"));
    ApplyInfo->setEnabled(false);
    bottom->addWidget(ApplyInfo);
    layout->addSpacing(6);
    layout->addLayout(bottom);
    return page;
}

void MainWindowUi::SetupStatusBar()
{
    theStatusBar = Window->statusBar();
    theStatusBar->setObjectName(QStringLiteral("theStatusBar"));
    theStatusBar->setSizeGripEnabled(true);
    Msg = Named(new QLabel(theStatusBar), QStringLiteral("Msg"));
    Msg->setMinimumWidth(200);
    Msg->setTextFormat(Qt::PlainText);
    theStatusBar->addWidget(Msg, 1);
    // Shown while the open database has no master password: such a file is
    // only obfuscated, readable by anyone who has a copy of the program.
    LabelUnprotected = Named(new QLabel(theStatusBar), QStringLiteral("LabelUnprotected"));
    LabelUnprotected->setText(QStringLiteral("Base sans mot de passe maître"));
    LabelUnprotected->setToolTip(QStringLiteral("Ce fichier n'est pas chiffré par un mot de passe maître : "
                                                "toute personne qui en obtient une copie peut le lire."));
    LabelUnprotected->setStyleSheet(QStringLiteral("color: #a33a1f; font-weight: bold; padding: 0 6px;"));
    LabelUnprotected->setVisible(false);
    theStatusBar->addPermanentWidget(LabelUnprotected);
}

QString MainWindowUi::PasswordText(int index) const
{
    if (index == 5)
        return TextPasswordNote->toPlainText();
    if (index >= 0 && index < 5)
        return TextPassword[index]->text();
    return {};
}

void MainWindowUi::SetPasswordText(int index, const QString& text)
{
    if (index == 5)
        TextPasswordNote->setPlainText(text);
    else if (index >= 0 && index < 5)
        TextPassword[index]->setText(text);
}

QWidget* MainWindowUi::PasswordField(int index) const
{
    if (index == 5)
        return TextPasswordNote;
    if (index >= 0 && index < 5)
        return TextPassword[index];
    return nullptr;
}

QString MainWindowUi::StatusMsg() const
{
    return Msg->text();
}

void MainWindowUi::SetStatusMsg(const QString& text)
{
    Msg->setText(text);
}

QColor MainWindowUi::EntryColor() const
{
    const QColor color = CommandColor->property("entryColor").value<QColor>();
    return color.isValid() ? color : QColor(Qt::white);
}

void MainWindowUi::SetEntryColor(const QColor& color)
{
    const QColor valid = color.isValid() ? color : QColor(Qt::white);
    CommandColor->setProperty("entryColor", valid);
    CommandColor->setStyleSheet(
        QStringLiteral("QToolButton#CommandColor { background: %1; border: 1px solid #b9c2ce; border-radius: 4px; }")
            .arg(valid.name()));
}

} // namespace keyholm
