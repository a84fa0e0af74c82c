#include "services/main/MainWindowUi.h"

#include "services/main/ControlBuilders.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/AppLogo.h"
#include "services/ui/ToolIcons.h"

#include <QAction>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

// A static library registers its resources only when asked to, and only from
// outside any namespace.
static void InitStyleResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace keyholm {

namespace {

// The window's style sheet, kept in this library's resources so that every
// program that builds the window gets it.
QString WindowStyleSheet()
{
    InitStyleResources();
    QFile file(QStringLiteral(":/keyholm.qss"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// A keyboard command of `owner`, heard while the focus is where `context` says.
QAction* KeyAction(QWidget* owner, const char* name, const QString& caption, const QKeySequence& keys,
    Qt::ShortcutContext context = Qt::WidgetShortcut)
{
    auto* action = new QAction(caption, owner);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(keys);
    action->setShortcutContext(context);
    owner->addAction(action);
    return action;
}

} // namespace

void MainWindowUi::Setup(QMainWindow* window)
{
    Window = window;
    window->setObjectName(QStringLiteral("Lib_PasswordMgr"));
    window->setWindowTitle(QStringLiteral("Keyholm"));
    window->setWindowIcon(AppIcon());
    window->setStyleSheet(WindowStyleSheet());
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
    ToolbarTree->AddButtonMenu(
        QStringLiteral("Date"), QStringLiteral("Date30"), QStringLiteral("&Expirant dans les 30 prochains jours..."));
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
    // Nodes move by dragging them onto another node; the copy effect keeps
    // the view from removing anything itself once a drop is done.
    tvTreeView->setDragEnabled(true);
    tvTreeView->setAcceptDrops(true);
    tvTreeView->setDropIndicatorShown(true);
    tvTreeView->setDragDropMode(QAbstractItemView::DragDrop);
    tvTreeView->setDefaultDropAction(Qt::CopyAction);
    tvTreeView->setDragDropOverwriteMode(true); // the whole row is the target
    tvTreeView->setAutoExpandDelay(700);
    tvTreeView->setVisible(false); // hidden behind the logo until a database is open
    layout->addWidget(tvTreeView, 1);

    TreeDeleteAction = KeyAction(tvTreeView, "TreeDeleteAction", QStringLiteral("Supprimer"), QKeySequence::Delete);
    TreeRenameAction = KeyAction(tvTreeView, "TreeRenameAction", QStringLiteral("Renommer"), QKeySequence(Qt::Key_F2));
    TreeCutAction = KeyAction(tvTreeView, "TreeCutAction", QStringLiteral("Couper"), QKeySequence::Cut);
    TreePasteAction = KeyAction(tvTreeView, "TreePasteAction", QStringLiteral("Coller"), QKeySequence::Paste);
    FindNextAction
        = KeyAction(Window, "FindNextAction", QStringLiteral("Suivant"), QKeySequence::FindNext, Qt::WindowShortcut);
    FindPreviousAction = KeyAction(
        Window, "FindPreviousAction", QStringLiteral("Précédent"), QKeySequence::FindPrevious, Qt::WindowShortcut);
    // Ctrl+N is also "Nouvelle...", which is disabled while a database is
    // open; this one is enabled only then, so they never clash.
    NewEntryAction = KeyAction(
        Window, "NewEntryAction", QStringLiteral("Nouveau mot de passe"), QKeySequence::New, Qt::WindowShortcut);
    NewEntryAction->setEnabled(false);

    PictureLogo = Named(new QLabel(TreePane), QStringLiteral("PictureLogo"));
    PictureLogo->setAlignment(Qt::AlignCenter);
    PictureLogo->setPixmap(AppLogo(128, Window->devicePixelRatioF()));
    PictureLogo->setCursor(Qt::PointingHandCursor);
    PictureLogo->setToolTip(QStringLiteral("Keyholm"));
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
    auto* welcomePicture = Named(new QLabel(QStringLiteral("Keyholm"), welcome), QStringLiteral("PictureTab_0"));
    welcomePicture->setAlignment(Qt::AlignCenter);
    welcomeLayout->addWidget(welcomePicture);

    const qreal pixelRatio = Window->devicePixelRatioF();
    Entry = new EntryPage;
    RestoreFieldsAction = KeyAction(Entry->PictureTab, "RestoreFieldsAction", QStringLiteral("Annuler la saisie"),
        QKeySequence(Qt::Key_Escape), Qt::WidgetWithChildrenShortcut);
    About = new AboutPage(pixelRatio);
    Stat = new StatPage;
    Option = new OptionPage;
    Trash = new TrashPage(pixelRatio);
    Info = new InfoPage;
    WebBrowserHelp = Named(new QTextBrowser, QStringLiteral("WebBrowserHelp"));
    WebBrowserHelp->setOpenExternalLinks(true);
    auto* help = new QWidget;
    auto* helpLayout = new QVBoxLayout(help);
    helpLayout->setContentsMargins(7, 7, 7, 7);
    helpLayout->addWidget(WebBrowserHelp);

    const std::array<QWidget*, DetailPageCount> pages = { welcome, Entry, About, Stat, Option, Trash, Info, help };
    for (int i = 0; i < DetailPageCount; ++i) {
        pages[i]->setObjectName(Indexed("PasswordTab", i));
        Pages[i] = pages[i];
        // A page never squeezes its texts: below its own size it scrolls.
        auto* scroll = Named(new QScrollArea, Indexed("PasswordTabScroll", i));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(pages[i]);
        PasswordTabView->addTab(scroll, QString());
    }
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
    LabelUnprotected->setVisible(false);
    theStatusBar->addPermanentWidget(LabelUnprotected);
    // The seconds left before a copied login or password leaves the clipboard.
    LabelClipboard = Named(new QLabel(theStatusBar), QStringLiteral("LabelClipboard"));
    LabelClipboard->setVisible(false);
    theStatusBar->addPermanentWidget(LabelClipboard);
}

QString MainWindowUi::StatusMsg() const
{
    return Msg->text();
}

void MainWindowUi::SetStatusMsg(const QString& text)
{
    Msg->setText(text);
}

} // namespace keyholm
