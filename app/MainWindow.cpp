#include "app/MainWindow.h"

#include "components/NodeKind.h"
#include "components/ui/PasswordTreeModel.h"
#include "services/FileCoding.h"
#include "services/main/KeyToolBar.h"
#include "services/main/TreeViewNodes.h"
#include "services/ui/Messages.h"
#include "services/ui/ProtectedClipboard.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

namespace keyholm {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , database_(ui_, state_, *this)
    , file_(ui_, state_, *this, database_)
    , options_(ui_, state_, *this)
    , selection_(ui_, state_, *this)
    , editor_(ui_, state_, *this)
    , tools_(ui_, state_, *this)
    , trash_(ui_, state_, *this)
    , commands_(ui_, state_, *this, editor_, trash_)
    , dragdrop_(ui_, state_, *this)
    , textSearch_(ui_, state_, *this)
    , expirySearch_(ui_, state_, *this)
    , exchange_(ui_, state_, *this)
    , clipboard_(ui_, state_, *this)
    , layout_(ui_, state_, *this)
    , lifecycle_(ui_, state_, *this, options_, file_, layout_)
    , opening_(ui_, state_, *this, database_, file_, selection_, trash_)
{
    ui_.Setup(this);
    options_.BindOptionPage();
    connect(
        &state_, &MainState::DatabaseChangedChanged, this, [this](bool changed) { layout_.ShowChangeAlert(changed); });
    connect(&state_, &MainState::SelectionRequested, this,
        [this](TreeNode* node) { selection_.tvTreeView_NodeClick(node); });
    connect(&state_, &MainState::DatabaseOpened, this, [this] { opening_.AfterOpening(); });
    SetStatusTarget(ui_.theStatusBar);
    ConnectTree();
    ConnectEvents();
    ConnectEntryEditing();
    ConnectEntryTools();
    selection_.EnableFromSelectedNode();
    file_.EnableFileCommands(false);
}

MainWindow::~MainWindow()
{
    SetStatusTarget(nullptr);
    ProtectedClipboard::SetCountdownLabel(nullptr);
    qApp->removeEventFilter(this);
    ui_.tvTreeView->setModel(nullptr);
}

void MainWindow::AttachTreeModel()
{
    auto model = std::make_unique<PasswordTreeModel>(state_.Tree());
    ui_.tvTreeView->setModel(model.get());
    model->FollowExpanded(ui_.tvTreeView);
    model->SetLabelEditing([this](const TreeNode* node) { return commands_.tvTreeView_BeforeLabelEdit(node); },
        [this](TreeNode* node, const QString& text) { return commands_.tvTreeView_AfterLabelEdit(node, text); });
    model->SetDragHooks({
        .start = [this](TreeNode* node) { return dragdrop_.tvTreeView_StartDrag(node); },
        .ended = [this] { dragdrop_.DragEnded(); },
        .canDrop = [this](const QString& key, TreeNode* target) { return dragdrop_.tvTreeView_DragOver(key, target); },
        .drop = [this](const QString& key, TreeNode* target) { return dragdrop_.tvTreeView_DragDrop(key, target); },
    });
    treeModel_ = std::move(model);
}

void MainWindow::ConnectTree()
{
    QTreeView* view = ui_.tvTreeView;
    view->viewport()->installEventFilter(this);
    AttachTreeModel();
    if (QItemSelectionModel* selection = view->selectionModel()) {
        connect(selection, &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
            if (selection_.Marking())
                return;
            TreeNode* node = NodeOfIndex(state_.Tree(), current);
            if (!node || node == state_.CurrentNode())
                return;
            if (editor_.LeaveEditedEntry())
                selection_.tvTreeView_NodeClick(node);
            else
                selection_.MarkSelected(state_.CurrentNode());
        });
    }
}

void MainWindow::ConnectEvents()
{
    qApp->installEventFilter(this);

    connect(ui_.MenuBaseExit, &QAction::triggered, this, [this] { lifecycle_.MenuBaseExit_Click(); });
    connect(ui_.tbToolBar, &KeyToolBar::ButtonClick, this, &MainWindow::tbToolBar_ButtonClick);

    // Database file commands.
    connect(ui_.MenuBaseNew, &QAction::triggered, this, [this] { file_.MenuBaseNew_Click(); });
    connect(ui_.MenuBaseOpen, &QAction::triggered, this, [this] { file_.MenuBaseOpen_Click(); });
    connect(ui_.MenuBaseClose, &QAction::triggered, this, [this] { file_.MenuBaseClose_Click(); });
    connect(ui_.MenuBaseSave, &QAction::triggered, this, [this] { file_.MenuBaseSave_Click(); });
    connect(ui_.MenuBaseSaveUnder, &QAction::triggered, this, [this] { file_.MenuBaseSaveUnder_Click(); });
    connect(ui_.MenuBasePassword, &QAction::triggered, this, [this] { file_.Master().MenuBasePassword_Click(); });
    for (int i = 0; i < int(ui_.MenuAncienFichier.size()); ++i)
        connect(
            ui_.MenuAncienFichier[i], &QAction::triggered, this, [this, i] { file_.MenuAncienFichier_Click(i + 1); });
    connect(ui_.tbToolBar, &KeyToolBar::ButtonMenuClick, this, [this](const QString& key, const QString& item) {
        state_.ResetIdleTicks();
        if (key == QLatin1String("Security") && item == QLatin1String("Password"))
            file_.Master().RemoveMasterPassword();
    });
    connect(ui_.TimerDatabaseClose, &QTimer::timeout, this, [this] { file_.TimerDatabaseClose_Timer(); });
    connect(ui_.TimerAlert, &QTimer::timeout, this, [this] { layout_.TimerAlert_Timer(); });

    // Presentation page.
    connect(ui_.About->CommandWeb, &QPushButton::clicked, this, [this] { layout_.CommandWeb_Click(); });
    connect(ui_.About->CommandHisto, &QPushButton::clicked, this, [this] { layout_.CommandHisto_Click(); });
    connect(ui_.About->CommandVote, &QPushButton::clicked, this, [this] { layout_.CommandVote_Click(); });
    connect(ui_.About->CommandDon, &QPushButton::clicked, this, [this] { layout_.CommandDon_Click(); });
    connect(ui_.MenuAideLog, &QAction::triggered, this, [this] { layout_.MenuAideLog_Click(); });
    connect(ui_.MenuAideSitebWeb, &QAction::triggered, this, [this] { layout_.MenuAideSitebWeb_Click(); });
    connect(ui_.MenuAideAbout, &QAction::triggered, this, [this] { layout_.MenuAideAbout_Click(); });
    connect(ui_.MenuAideAchat, &QAction::triggered, this, [this] { layout_.MenuAideAchat_Click(); });
    connect(ui_.MenuAideAide, &QAction::triggered, this, [this] { layout_.MenuAideAide_Click(); });
    connect(ui_.MenuAideVote, &QAction::triggered, this, [this] { layout_.MenuAideVote_Click(); });
    connect(ui_.MenuAideVersion, &QAction::triggered, this, [this] { lifecycle_.MenuAideVersion_Click(); });
    connect(ui_.MenuBaseOptions, &QAction::triggered, this, [this] { lifecycle_.MenuBaseOptions_Click(); });
    ui_.PictureLogo->installEventFilter(this);
    ui_.About->PictureAbout->installEventFilter(this);
    for (QLabel* picture : ui_.PictureAlert)
        picture->installEventFilter(this);

    // Detail area.
    connect(ui_.PasswordTabView, &QTabWidget::tabBarClicked, this, [this] { selection_.PasswordTabView_Click(); });
    connect(ui_.PasswordTabView, &QTabWidget::currentChanged, this, [this] { layout_.Form_Resize(); });
    ui_.PasswordTabView->setAttribute(Qt::WA_Hover);
    ui_.PasswordTabView->installEventFilter(this);

    // Option page.
    connect(ui_.Option->CatDefautAdd, &QPushButton::clicked, this, [this] { options_.CatDefautAdd_Click(); });
    connect(ui_.Option->CatDefautDelete, &QPushButton::clicked, this, [this] { options_.CatDefautDelete_Click(); });
    connect(ui_.Option->ListCatDefaut, &QListWidget::itemClicked, this, [this] { options_.ListCatDefaut_Click(); });
    connect(ui_.Option->CheckAutoClose, &QCheckBox::clicked, this, [this] { options_.CheckAutoClose_Click(); });
    connect(ui_.Option->SliderAutoClose, &QSlider::valueChanged, this, [this] { options_.SliderAutoClose_Click(); });
    connect(ui_.Option->SliderPurge, &QSlider::valueChanged, this, [this] { options_.SliderPurge_Change(); });
    for (QCheckBox* box : { ui_.Option->CheckDateExpir, ui_.Option->CheckDeleteDir, ui_.Option->CheckInitFields,
             ui_.Option->CheckOpen, ui_.Option->CheckPurge, ui_.Option->CheckTrash })
        connect(box, &QCheckBox::clicked, this, [this] { options_.OptionTouched(); });
    connect(ui_.Entry->DTPickerLimit, &QDateEdit::dateChanged, this, [this] { options_.OptionTouched(); });
    connect(ui_.Entry->CheckDate, &QCheckBox::clicked, this, [this] { options_.CheckDate_Click(); });

    // Tree keys.
    connect(ui_.TreeDeleteAction, &QAction::triggered, this, &MainWindow::TreeDelete_Triggered);
    connect(ui_.TreeRenameAction, &QAction::triggered, this, &MainWindow::TreeRename_Triggered);
    connect(ui_.TreeCutAction, &QAction::triggered, this, [this] { dragdrop_.Cut_Click(); });
    connect(ui_.TreePasteAction, &QAction::triggered, this, [this] { dragdrop_.Paste_Click(); });
}

void MainWindow::ConnectEntryEditing()
{
    EntryPage* entry = ui_.Entry;
    connect(entry->ToolbarPassCode, &KeyToolBar::ButtonClick, this,
        [this](const QString& key) { editor_.ToolbarPassCode_ButtonClick(key); });
    // Their focus and the clicks in the database note come through the
    // application's event filter.
    for (int i = 0; i < int(entry->TextPassword.size()); ++i)
        connect(entry->TextPassword[i], &QLineEdit::textChanged, this, [this, i] { editor_.TextPassword_Change(i); });
    connect(entry->TextPasswordNote, &QPlainTextEdit::textChanged, this, [this] { editor_.TextPassword_Change(5); });
    for (QLineEdit* field : { entry->TextPassword[0], entry->TextPassword[1], entry->TextPassword[2],
             entry->TextPassword[3], entry->TextPassword[4], entry->TextPerso[0] })
        connect(field, &QLineEdit::returnPressed, this, [this] { editor_.Fields_Return(); });
    connect(ui_.RestoreFieldsAction, &QAction::triggered, this, [this] { editor_.Fields_Escape(); });
    connect(ui_.NewEntryAction, &QAction::triggered, this, [this] { editor_.NewEntry_Click(); });
    connect(ui_.FindNextAction, &QAction::triggered, this, [this] { commands_.FindNext(false); });
    connect(ui_.FindPreviousAction, &QAction::triggered, this, [this] { commands_.FindNext(true); });

    connect(ui_.ToolbarTree, &KeyToolBar::ButtonClick, this,
        [this](const QString& key) { commands_.ToolbarTree_ButtonClick(key); });
    connect(ui_.ToolbarTree, &KeyToolBar::ButtonMenuClick, this,
        [this](const QString& key, const QString& item) { commands_.ToolbarTree_ButtonMenuClick(key, item); });
    connect(ui_.tvTreeView, &QTreeView::doubleClicked, this, [this] { commands_.tvTreeView_DblClick(); });
    connect(ui_.MenuCorbeilleVider, &QAction::triggered, this, [this] { trash_.MenuCorbeilleVider_Click(); });

    InfoPage* info = ui_.Info;
    connect(info->ApplyInfo, &QPushButton::clicked, this, [this] { editor_.ApplyInfo_Click(); });
    for (QLineEdit* box : { info->TextTitle, info->TextUser, info->TextCustom[0] })
        connect(box, &QLineEdit::textChanged, this, [this] { editor_.InfoField_Change(); });
    connect(info->TextNote, &QPlainTextEdit::textChanged, this, [this] { editor_.InfoField_Change(); });
    for (int i = 0; i < int(info->CheckLabel.size()); ++i)
        connect(info->CheckLabel[i], &QCheckBox::clicked, this, [this, i] { editor_.CheckLabel_Click(i); });
}

void MainWindow::ConnectEntryTools()
{
    EntryPage* entry = ui_.Entry;
    const std::pair<QToolButton*, void (EntryTools::*)()> buttons[] = {
        { entry->CommandGenPasswd, &EntryTools::CommandGenPasswd_Click },
        { entry->CommandGenPeudo, &EntryTools::CommandGenPeudo_Click },
        { entry->CommandCopyLogin, &EntryTools::CommandCopyLogin_Click },
        { entry->CommandCopyPassword, &EntryTools::CommandCopyPassword_Click },
        { entry->CommandGoWeb, &EntryTools::CommandGoWeb_Click },
        { entry->CommandWebHelp, &EntryTools::CommandWebHelp_Click },
        { entry->CommandOpenFile, &EntryTools::CommandOpenFile_Click },
        { entry->CommandSelectFile, &EntryTools::CommandSelectFile_Click },
        { entry->OpenContentNote, &EntryTools::OpenContentNote_Click },
        { entry->SaveContentNote, &EntryTools::SaveContentNote_Click },
        { entry->CommandColor, &EntryTools::CommandColor_Click },
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QToolButton::clicked, this, [this, handler = handler] { (tools_.*handler)(); });
    connect(entry->GeneratorOptions, &QAction::triggered, this, [this] { tools_.GeneratorOptions_Click(); });
    connect(ui_.Info->ToolbarNote, &KeyToolBar::ButtonClick, this,
        [this](const QString& key) { tools_.ToolbarNote_ButtonClick(key); });
    // A caret moved with the keys counts as much as a click.
    connect(ui_.Info->TextNote, &QPlainTextEdit::cursorPositionChanged, this, [this] { editor_.TextNote_Click(); });
    ProtectedClipboard::SetCountdownLabel(ui_.LabelClipboard);
}

void MainWindow::tbToolBar_ButtonClick(const QString& key)
{
    ShowBusy();
    state_.ResetIdleTicks();
    if (key == QLatin1String("Exit"))
        lifecycle_.MenuBaseExit_Click();
    else if (key == QLatin1String("New"))
        file_.MenuBaseNew_Click();
    else if (key == QLatin1String("Open"))
        file_.MenuBaseOpen_Click();
    else if (key == QLatin1String("Close"))
        file_.MenuBaseClose_Click();
    else if (key == QLatin1String("Save"))
        file_.MenuBaseSave_Click();
    else if (key == QLatin1String("SaveUnder"))
        file_.MenuBaseSaveUnder_Click();
    else if (key == QLatin1String("Security"))
        file_.Master().MenuBasePassword_Click();
    EndBusy();
}

void MainWindow::TreeDelete_Triggered()
{
    // Delete over the tree deletes what is selected: an entry with the entry
    // toolbar's command, a category with the tree toolbar's.
    KeyToolBar* bar = KindOf(state_.CurrentNode()) == NodeKind::Entry ? ui_.Entry->ToolbarPassCode : ui_.ToolbarTree;
    if (QAction* button = bar->Button(QStringLiteral("Delete")); button && button->isEnabled())
        button->trigger();
}

void MainWindow::TreeRename_Triggered()
{
    const QModelIndex index = IndexOfNode(ui_.tvTreeView->model(), state_.CurrentNode());
    if (index.isValid())
        ui_.tvTreeView->edit(index);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (lifecycle_.CloseRequested())
        event->accept();
    else
        event->ignore();
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    layout_.Form_Resize();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        layout_.Form_Resize();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // Any use of the window counts as activity for the automatic close.
    if (type == QEvent::MouseMove || type == QEvent::MouseButtonPress || type == QEvent::KeyPress
        || type == QEvent::Wheel) {
        // In the main window or a window it opened (a list, a dialog).
        if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->isVisible())
            state_.ResetIdleTicks();
    }
    tools_.WatchEvent(watched, event);
    if (type == QEvent::FocusIn) {
        for (int i = 0; i <= 5; ++i) {
            if (watched == ui_.Entry->PasswordField(i))
                editor_.TextPassword_GotFocus(i);
        }
    }
    if (watched == ui_.Info->TextNote->viewport() && type == QEvent::MouseButtonRelease)
        editor_.TextNote_Click();
    if (watched == ui_.tvTreeView->viewport()) {
        if (type == QEvent::MouseButtonPress) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint point = mouse->position().toPoint();
            const int button = mouse->button() == Qt::RightButton ? 2 : 1;
            // Leaving an entry whose edits were not applied asks first; the
            // press is then not the view's, as its release went to the
            // question. A click on the entry itself keeps the edits shown.
            TreeNode* target = NodeAtPoint(state_.Tree(), ui_.tvTreeView, point);
            const bool asking = target && editor_.EntryEdited();
            if (asking && target == state_.CurrentNode())
                return QMainWindow::eventFilter(watched, event);
            if (asking && !editor_.LeaveEditedEntry())
                return true;
            selection_.tvTreeView_MouseDown(button, point);
            if (TreeNode* node = state_.CurrentNode())
                selection_.tvTreeView_NodeClick(node);
            if (asking)
                return true;
        } else if (type == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            selection_.tvTreeView_MouseUp(mouse->button() == Qt::RightButton ? 2 : 1);
        }
    } else if (watched == ui_.PasswordTabView) {
        if (type == QEvent::HoverMove)
            selection_.PasswordTabView_MouseMove();
    } else if (watched == ui_.PictureLogo || watched == ui_.About->PictureAbout) {
        if (type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick)
            layout_.PictureLogo_Click();
    } else if (watched == ui_.PictureAlert[0] || watched == ui_.PictureAlert[1]) {
        if (type == QEvent::MouseMove || type == QEvent::Enter)
            layout_.PictureAlert_MouseMove(watched == ui_.PictureAlert[0] ? 0 : 1);
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace keyholm
