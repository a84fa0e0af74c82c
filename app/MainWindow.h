#pragma once
// The main window Lib_PasswordMgr: builds its controls (MainWindowUi) and
// hands every event to the procedure classes of the areas, which share one
// MainState. Cross-area calls (MainProcedures) are forwarded here to the
// class that owns the procedure.

#include "app/DatabaseOpening.h"
#include "app/WindowLayout.h"
#include "app/WindowLifecycle.h"
#include "database/DatabaseFile.h"
#include "database/DatabaseTree.h"
#include "database/WorkingOptions.h"
#include "entries/EntryEditor.h"
#include "entries/EntryTools.h"
#include "entries/Selection.h"
#include "entries/Trash.h"
#include "entries/TreeCommands.h"
#include "entries/TreeDragDrop.h"
#include "search/CategoryExchange.h"
#include "search/ClipboardViewer.h"
#include "search/ExpirySearch.h"
#include "search/TextSearch.h"
#include "services/main/MainProcedures.h"
#include "services/main/MainState.h"
#include "services/main/MainWindowUi.h"

#include <QMainWindow>

#include <memory>

class QAbstractItemModel;

namespace keyholm {

class MainWindow : public QMainWindow, public MainProcedures {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    MainWindowUi& Ui() { return ui_; }
    MainState& State() { return state_; }

    // The procedure classes, by area.
    DatabaseTree& Database() { return database_; }
    DatabaseFile& File() { return file_; }
    WorkingOptions& Options() { return options_; }
    Selection& Entries() { return selection_; }
    EntryEditor& Editing() { return editor_; }
    EntryTools& Tools() { return tools_; }
    TreeCommands& Commands() { return commands_; }
    Trash& TrashCommands() { return trash_; }
    TreeDragDrop& DragDrop() { return dragdrop_; }
    TextSearch& Search() { return textSearch_; }
    ExpirySearch& Expiry() { return expirySearch_; }
    CategoryExchange& Exchange() { return exchange_; }
    ClipboardViewer& Clipboard() { return clipboard_; }
    WindowLayout& Layout() { return layout_; }
    WindowLifecycle& Lifecycle() { return lifecycle_; }

    // MainProcedures
    void CheckNodeInfo(TreeNode* node = nullptr) override { database_.CheckNodeInfo(node); }
    void MenuBaseSave_Click() override { file_.MenuBaseSave_Click(); }
    bool OfferToSaveChanges() override { return file_.OfferToSaveChanges(); }
    void AddDefaultCategories() override { commands_.AddDefaultCategories(); }
    bool LeaveEditedEntry() override { return editor_.LeaveEditedEntry(); }
    int SearchOnPasswordTree(TreeNode* mainNode, const QString& addTitle) override
    {
        return textSearch_.SearchOnPasswordTree(mainNode, addTitle);
    }
    int FindNextMatch(bool backwards) override { return textSearch_.FindNext(backwards); }
    int SearchOnDatePasswordTree(TreeNode* mainNode, const QString& dateLimit, bool displayMsg, bool displayOk) override
    {
        return expirySearch_.SearchOnDatePasswordTree(mainNode, dateLimit, displayMsg, displayOk);
    }
    void ExportPasswordCategory(TreeNode* mainNode) override { exchange_.ExportPasswordCategory(mainNode); }
    void ImportPasswordCategory(TreeNode* mainNode) override { exchange_.ImportPasswordCategory(mainNode); }
    void ShowClipboardViewer() override { clipboard_.ShowClipboardViewer(); }
    void SetPasswordFields() override { selection_.SetPasswordFields(); }
    void EnableFromSelectedNode() override { selection_.EnableFromSelectedNode(); }
    void UnvisiblePasswordTab(int page) override { selection_.UnvisiblePasswordTab(page); }
    void Form_Resize() override { layout_.Form_Resize(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectEvents();
    void ConnectTree();
    void ConnectEntryEditing();
    void ConnectEntryTools();
    void AttachTreeModel();
    void tbToolBar_ButtonClick(const QString& key);
    void TreeDelete_Triggered();
    void TreeRename_Triggered();

    MainWindowUi ui_;
    MainState state_;
    std::unique_ptr<QAbstractItemModel> treeModel_;
    DatabaseTree database_;
    DatabaseFile file_;
    WorkingOptions options_;
    Selection selection_;
    EntryEditor editor_;
    EntryTools tools_;
    Trash trash_;
    TreeCommands commands_;
    TreeDragDrop dragdrop_;
    TextSearch textSearch_;
    ExpirySearch expirySearch_;
    CategoryExchange exchange_;
    ClipboardViewer clipboard_;
    WindowLayout layout_;
    WindowLifecycle lifecycle_;
    DatabaseOpening opening_;
};

} // namespace keyholm
