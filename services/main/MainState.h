#pragma once
// What the main window's procedures share, whatever their area: the open
// database (the tree and its path), the node the user works on, the trash's
// key, whether there are unsaved changes, the idle counter and the working
// options. QtCore only, so that every area (database, entries, search, app)
// can hold it. What many areas care about is told by its signals: the
// window wires them to the area that acts on them.

#include "components/PasswordTree.h"
#include "components/PasswordTreeObserver.h"
#include "services/main/WorkingOptionValues.h"

#include <QObject>
#include <QString>

namespace keyholm {

class MainState : public QObject, public PasswordTreeObserver {
    Q_OBJECT
public:
    MainState();
    ~MainState() override;
    MainState(const MainState&) = delete;
    MainState& operator=(const MainState&) = delete;

    // The open database: its nodes are the whole database while it is open.
    PasswordTree& Tree() { return tree_; }
    const PasswordTree& Tree() const { return tree_; }

    // The node every command acts on; null when none. It becomes null by
    // itself when the node leaves the tree, so it never dangles.
    TreeNode* CurrentNode() const { return currentNode_; }
    void SetCurrentNode(TreeNode* node) { currentNode_ = node; }

    // Key of the trash node; empty when there is none.
    const QString& TrashNodeKey() const { return trashNodeKey_; }
    void SetTrashNodeKey(const QString& key) { trashNodeKey_ = key; }

    // True while the tree holds changes not saved yet; each setting is told
    // (the blinking alert follows it).
    bool DatabaseChanged() const { return databaseChanged_; }
    void SetDatabaseChanged(bool changed);

    // Asks for `node` to become the current node, its page shown.
    void RequestSelection(TreeNode* node);
    // Tells that a database file has just opened into the tree.
    void NotifyDatabaseOpened();
    void NotifyDatabaseClosed();

    // Ticks of the automatic-close timer since the last user action.
    qint32 IdleTicks() const { return idleTicks_; }
    void ResetIdleTicks() { idleTicks_ = 0; }
    void AddIdleTick() { ++idleTicks_; }

    // Full path of the open database file (the window's tag); empty when
    // none is open.
    const QString& Tag() const { return tag_; }
    void SetTag(const QString& path) { tag_ = path; }
    bool DatabaseOpen() const { return !tag_.isEmpty(); }

    // Mouse button last pressed or released over the tree: 1 primary,
    // 2 secondary, 0 none.
    qint16 LastTreeButton() const { return lastTreeButton_; }
    void SetLastTreeButton(qint16 button) { lastTreeButton_ = button; }
    // Key last pressed while a copy button had the focus.
    qint16 LastCopyKey() const { return lastCopyKey_; }
    void SetLastCopyKey(qint16 key) { lastCopyKey_ = key; }
    // Caret position last clicked in the database note.
    qint32 NoteCaret() const { return noteCaret_; }
    void SetNoteCaret(qint32 caret) { noteCaret_ = caret; }
    // Label last entered in the category prompts.
    const QString& LastCategoryLabel() const { return lastCategoryLabel_; }
    void SetLastCategoryLabel(const QString& label) { lastCategoryLabel_ = label; }
    // True from a permitted drag start until the drop ends.
    bool DragActive() const { return dragActive_; }
    void SetDragActive(bool active) { dragActive_ = active; }

    // The working options, as the option page sets them.
    const WorkingOptionValues& Options() const { return options_; }
    WorkingOptionValues& Options() { return options_; }

Q_SIGNALS:
    void DatabaseChangedChanged(bool changed);
    void SelectionRequested(TreeNode* node);
    void DatabaseOpened();
    void DatabaseClosed();

public:
    // PasswordTreeObserver: forget the current node when it goes.
    void NodesAboutToBeRemoved(TreeNode* parent, int first, int last) override;
    void TreeAboutToBeReset() override;

private:
    PasswordTree tree_;
    TreeNode* currentNode_ = nullptr;
    QString trashNodeKey_;
    bool databaseChanged_ = false;
    qint32 idleTicks_ = 0;
    QString tag_;
    qint16 lastTreeButton_ = 0;
    qint16 lastCopyKey_ = 0;
    qint32 noteCaret_ = 0;
    QString lastCategoryLabel_;
    bool dragActive_ = false;
    WorkingOptionValues options_;
};

} // namespace keyholm
