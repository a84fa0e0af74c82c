#pragma once
// The item model a QTreeView shows the password tree with. It holds no data
// of its own: it reads the nodes and follows the tree's changes as they
// come (rows inserted, removed and moved, data changed), so the view is
// never rebuilt, except when the whole tree is reset (clear, load).
//
// A row shows the node's text, the picture of its Image (of its
// SelectedImage in the selected mode, which views use for selected rows)
// and its BackColor behind the text. An entry whose expiry date has come
// shows its text in red, with a tool tip that says so.

#include "components/PasswordTree.h"
#include "components/PasswordTreeObserver.h"

#include <QAbstractItemModel>

#include <functional>

class QTreeView;

namespace keyholm {

class PasswordTreeModel : public QAbstractItemModel, private PasswordTreeObserver {
    Q_OBJECT

public:
    enum Role {
        KeyRole = Qt::UserRole + 1,
        ImageRole,
        SelectedImageRole,
        TagRole,
        IndexRole, // position in the tree's collection, from 1
        ExpandedRole, // settable
        SortedRole,
    };

    explicit PasswordTreeModel(PasswordTree& tree, QObject* parent = nullptr);
    ~PasswordTreeModel() override;

    // Null once the tree is destroyed.
    PasswordTree* Tree() const { return tree_; }
    TreeNode* NodeFromIndex(const QModelIndex& index) const;
    QModelIndex IndexFromNode(const TreeNode* node) const;

    // Keeps the view's expanded rows and the nodes' Expanded the same, both
    // ways, through changes and resets.
    void FollowExpanded(QTreeView* view);

    // Label editing: which nodes may be edited, and what a new text does
    // (true when it is taken). Without them, no row is editable.
    void SetLabelEditing(
        std::function<bool(const TreeNode*)> canEdit, std::function<bool(TreeNode*, const QString&)> apply);
    // Drag and drop inside the tree. The drag data is the node's key as
    // plain text, and a drop lands only on an item (never between rows).
    // Drags offer the copy effect only: a view then never removes or clears
    // rows after a drop, whatever the model does.
    struct DragHooks {
        // A drag of the node starts; false refuses it.
        std::function<bool(TreeNode*)> start;
        // The drag's data went away: the drag has ended, however it ended.
        std::function<void()> ended;
        // Whether the key may be dropped on the target (the pointer passes over it).
        std::function<bool(const QString& sourceKey, TreeNode* target)> canDrop;
        // The drop; true when something moved.
        std::function<bool(const QString& sourceKey, TreeNode* target)> drop;
    };
    // Without hooks, rows can be neither dragged nor dropped on.
    void SetDragHooks(DragHooks hooks);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
        const QModelIndex& parent) const override;
    bool dropMimeData(
        const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent) override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

Q_SIGNALS:
    void ExpandedChanged(const QModelIndex& index, bool expanded);

private:
    void NodesAboutToBeInserted(TreeNode* parent, int first, int last) override;
    void NodesInserted(TreeNode* parent, int first, int last) override;
    void NodesAboutToBeRemoved(TreeNode* parent, int first, int last) override;
    void NodesRemoved(TreeNode* parent, int first, int last) override;
    void NodeAboutToBeMoved(TreeNode* node, TreeNode* oldParent, int oldRow, TreeNode* newParent, int newRow) override;
    void NodeMoved(TreeNode* node, TreeNode* oldParent, int oldRow, TreeNode* newParent, int newRow) override;
    void NodeChanged(TreeNode* node, unsigned changes) override;
    void ChildrenAboutToBeReordered(TreeNode* parent) override;
    void ChildrenReordered(TreeNode* parent) override;
    void TreeAboutToBeReset() override;
    void TreeReset() override;
    void TreeDestroyed() override;

    void ExpandInView(QTreeView* view, const TreeNode* from);

    PasswordTree* tree_;
    std::function<bool(const TreeNode*)> canEdit_;
    std::function<bool(TreeNode*, const QString&)> applyEdit_;
    DragHooks drag_;
    mutable const QMimeData* liveDrag_ = nullptr; // the data of the drag under way
    QModelIndexList reordered_; // the persistent indexes while children are reordered
};

} // namespace keyholm
