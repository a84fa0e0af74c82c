#include "components/ui/PasswordTreeModel.h"

#include "components/NodeImages.h"
#include "components/NodeTags.h"
#include "components/ui/ColorValue.h"
#include "components/ui/ImageListTreeView.h"

#include <QBrush>
#include <QColor>
#include <QMimeData>
#include <QPointer>
#include <QTreeView>

namespace keyholm {
namespace {
const QString KeyMime = QStringLiteral("text/plain");
const QString ExpiredTip = QStringLiteral("Date limite d'utilisation dépassée");
const QString DateNot = NodeImage::Date + NodeImage::NotSuffix;

bool IsDate(const TreeNode* node)
{
    return node->Image() == NodeImage::Date || node->Image() == DateNot;
}

// Whether the node is an entry whose expiry date has come (today counts).
// Only entry rows look at their children, a handful of details.
bool Expired(const TreeNode* node)
{
    if (!node->Image().startsWith(NodeImage::Password))
        return false;
    for (const TreeNode* detail : node->Children()) {
        if (IsDate(detail)) {
            const QDate expiry = ReadDateTag(detail->Tag());
            return expiry.isValid() && expiry <= QDate::currentDate();
        }
    }
    return false;
}
} // namespace

PasswordTreeModel::PasswordTreeModel(PasswordTree& tree, QObject* parent)
    : QAbstractItemModel(parent)
    , tree_(&tree)
{
    tree.AddObserver(this);
}

PasswordTreeModel::~PasswordTreeModel()
{
    if (tree_)
        tree_->RemoveObserver(this);
}

TreeNode* PasswordTreeModel::NodeFromIndex(const QModelIndex& index) const
{
    if (!tree_ || !index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<TreeNode*>(index.internalPointer());
}

QModelIndex PasswordTreeModel::IndexFromNode(const TreeNode* node) const
{
    if (!node || !tree_)
        return QModelIndex();
    return createIndex(node->Row(), 0, const_cast<TreeNode*>(node));
}

QModelIndex PasswordTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!tree_ || column != 0)
        return QModelIndex();
    const TreeNode* p = NodeFromIndex(parent);
    if (parent.isValid() && !p)
        return QModelIndex();
    TreeNode* child = p ? p->Child(row) : tree_->TopLevel(row);
    return child ? createIndex(row, 0, child) : QModelIndex();
}

QModelIndex PasswordTreeModel::parent(const QModelIndex& child) const
{
    const TreeNode* node = NodeFromIndex(child);
    return node ? IndexFromNode(node->Parent()) : QModelIndex();
}

int PasswordTreeModel::rowCount(const QModelIndex& parent) const
{
    if (!tree_ || parent.column() > 0)
        return 0;
    if (!parent.isValid())
        return tree_->TopLevelCount();
    const TreeNode* node = NodeFromIndex(parent);
    return node ? node->ChildCount() : 0;
}

int PasswordTreeModel::columnCount(const QModelIndex& parent) const
{
    Q_UNUSED(parent)
    return 1;
}

bool PasswordTreeModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant PasswordTreeModel::data(const QModelIndex& index, int role) const
{
    const TreeNode* node = NodeFromIndex(index);
    if (!node)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return node->Text();
    case Qt::DecorationRole:
        return ImageListTreeView::Instance().NodeIcon(node->Image(), node->SelectedImage());
    case Qt::BackgroundRole:
        return node->BackColor() >= 0 ? QVariant(QBrush(ColorFromValue(node->BackColor()))) : QVariant();
    case Qt::ForegroundRole:
        return Expired(node) ? QVariant(QBrush(QColor(0xC0, 0x00, 0x00))) : QVariant();
    case Qt::ToolTipRole:
        return Expired(node) ? QVariant(ExpiredTip) : QVariant();
    case KeyRole:
        return node->Key();
    case ImageRole:
        return node->Image();
    case SelectedImageRole:
        return node->SelectedImage();
    case TagRole:
        return node->Tag();
    case IndexRole:
        return node->Index();
    case ExpandedRole:
        return node->Expanded();
    case SortedRole:
        return node->Sorted();
    default:
        return QVariant();
    }
}

bool PasswordTreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    TreeNode* node = NodeFromIndex(index);
    if (!node)
        return false;
    if (role == ExpandedRole) {
        node->SetExpanded(value.toBool());
        return true;
    }
    if (role != Qt::EditRole || !canEdit_ || !canEdit_(node))
        return false;
    if (applyEdit_)
        return applyEdit_(node, value.toString());
    node->SetText(value.toString());
    return true;
}

Qt::ItemFlags PasswordTreeModel::flags(const QModelIndex& index) const
{
    const TreeNode* node = NodeFromIndex(index);
    if (!node)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (canEdit_ && canEdit_(node))
        f |= Qt::ItemIsEditable;
    // Whether a node may go is for the start hook to say (and trace).
    if (drag_.drop)
        f |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    return f;
}

QStringList PasswordTreeModel::mimeTypes() const
{
    return { KeyMime };
}

namespace {
// The drag data, which tells when it goes: with the drag that carried it.
class NodeDragData : public QMimeData {
public:
    explicit NodeDragData(std::function<void(const QMimeData*)> gone)
        : gone_(std::move(gone))
    {
    }
    ~NodeDragData() override { gone_(this); }

private:
    std::function<void(const QMimeData*)> gone_;
};
} // namespace

QMimeData* PasswordTreeModel::mimeData(const QModelIndexList& indexes) const
{
    TreeNode* node = indexes.isEmpty() ? nullptr : NodeFromIndex(indexes.first());
    if (!node || !drag_.start || !drag_.start(node))
        return nullptr;
    // Only the newest drag's end counts: an older drag's data may go later.
    QPointer<const PasswordTreeModel> model(this);
    auto* data = new NodeDragData([model](const QMimeData* gone) {
        if (model && model->liveDrag_ == gone) {
            model->liveDrag_ = nullptr;
            if (model->drag_.ended)
                model->drag_.ended();
        }
    });
    data->setText(node->Key());
    liveDrag_ = data;
    return data;
}

bool PasswordTreeModel::canDropMimeData(
    const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent) const
{
    Q_UNUSED(column)
    // On an item only: a drop between rows would land on their parent.
    if (!drag_.canDrop || !data || !data->hasText() || action == Qt::IgnoreAction || row != -1)
        return false;
    TreeNode* target = NodeFromIndex(parent);
    return target && drag_.canDrop(data->text(), target);
}

bool PasswordTreeModel::dropMimeData(
    const QMimeData* data, Qt::DropAction action, int row, int column, const QModelIndex& parent)
{
    Q_UNUSED(column)
    if (!drag_.drop || !data || !data->hasText() || action == Qt::IgnoreAction || row != -1)
        return false;
    TreeNode* target = NodeFromIndex(parent);
    return target && drag_.drop(data->text(), target);
}

Qt::DropActions PasswordTreeModel::supportedDragActions() const
{
    return drag_.drop ? Qt::CopyAction : Qt::IgnoreAction;
}

Qt::DropActions PasswordTreeModel::supportedDropActions() const
{
    return drag_.drop ? Qt::CopyAction : Qt::IgnoreAction;
}

void PasswordTreeModel::SetLabelEditing(
    std::function<bool(const TreeNode*)> canEdit, std::function<bool(TreeNode*, const QString&)> apply)
{
    canEdit_ = std::move(canEdit);
    applyEdit_ = std::move(apply);
}

void PasswordTreeModel::SetDragHooks(DragHooks hooks)
{
    drag_ = std::move(hooks);
}

// --- Following the tree -------------------------------------------------------------

void PasswordTreeModel::NodesAboutToBeInserted(TreeNode* parent, int first, int last)
{
    beginInsertRows(IndexFromNode(parent), first, last);
}

void PasswordTreeModel::NodesInserted(TreeNode* parent, int first, int last)
{
    Q_UNUSED(parent)
    Q_UNUSED(first)
    Q_UNUSED(last)
    endInsertRows();
}

void PasswordTreeModel::NodesAboutToBeRemoved(TreeNode* parent, int first, int last)
{
    beginRemoveRows(IndexFromNode(parent), first, last);
}

void PasswordTreeModel::NodesRemoved(TreeNode* parent, int first, int last)
{
    Q_UNUSED(parent)
    Q_UNUSED(first)
    Q_UNUSED(last)
    endRemoveRows();
}

void PasswordTreeModel::NodeAboutToBeMoved(
    TreeNode* node, TreeNode* oldParent, int oldRow, TreeNode* newParent, int newRow)
{
    Q_UNUSED(node)
    // Qt counts the destination among the rows as they are before the move.
    const int destination = (oldParent == newParent && newRow > oldRow) ? newRow + 1 : newRow;
    const bool moving = beginMoveRows(IndexFromNode(oldParent), oldRow, oldRow, IndexFromNode(newParent), destination);
    Q_ASSERT(moving);
    Q_UNUSED(moving)
}

void PasswordTreeModel::NodeMoved(TreeNode* node, TreeNode* oldParent, int oldRow, TreeNode* newParent, int newRow)
{
    Q_UNUSED(node)
    Q_UNUSED(oldParent)
    Q_UNUSED(oldRow)
    Q_UNUSED(newParent)
    Q_UNUSED(newRow)
    endMoveRows();
}

void PasswordTreeModel::ChildrenAboutToBeReordered(TreeNode* parent)
{
    Q_EMIT layoutAboutToBeChanged({ QPersistentModelIndex(IndexFromNode(parent)) }, VerticalSortHint);
    reordered_ = persistentIndexList();
}

void PasswordTreeModel::ChildrenReordered(TreeNode* parent)
{
    // Selections and the current node follow their nodes to their new rows.
    QModelIndexList moved;
    moved.reserve(reordered_.size());
    for (const QModelIndex& index : std::as_const(reordered_))
        moved << IndexFromNode(NodeFromIndex(index));
    changePersistentIndexList(reordered_, moved);
    reordered_.clear();
    Q_EMIT layoutChanged({ QPersistentModelIndex(IndexFromNode(parent)) }, VerticalSortHint);
}

void PasswordTreeModel::NodeChanged(TreeNode* node, unsigned changes)
{
    QList<int> roles;
    if (changes & TextChange)
        roles << Qt::DisplayRole << Qt::EditRole;
    if (changes & (ImageChange | SelectedImageChange))
        roles << Qt::DecorationRole << ImageRole << SelectedImageRole;
    if (changes & BackColorChange)
        roles << Qt::BackgroundRole;
    if (changes & TagChange)
        roles << TagRole;
    if (changes & ExpandedChange)
        roles << ExpandedRole;
    if (changes & SortedChange)
        roles << SortedRole;
    const QModelIndex index = IndexFromNode(node);
    Q_EMIT dataChanged(index, index, roles);
    // A new expiry date changes how its entry looks.
    if ((changes & TagChange) && node->Parent() && IsDate(node)) {
        const QModelIndex entry = IndexFromNode(node->Parent());
        Q_EMIT dataChanged(entry, entry, { Qt::ForegroundRole, Qt::ToolTipRole });
    }
    if (changes & ExpandedChange)
        Q_EMIT ExpandedChanged(index, node->Expanded());
}

void PasswordTreeModel::TreeAboutToBeReset()
{
    beginResetModel();
}

void PasswordTreeModel::TreeReset()
{
    endResetModel();
}

void PasswordTreeModel::TreeDestroyed()
{
    beginResetModel();
    tree_ = nullptr;
    endResetModel();
}

// --- Expanded rows ------------------------------------------------------------------

void PasswordTreeModel::ExpandInView(QTreeView* view, const TreeNode* from)
{
    if (!tree_)
        return;
    auto expand = [&](const TreeNode* n) {
        if (n->Expanded())
            view->setExpanded(IndexFromNode(n), true);
    };
    if (from) {
        expand(from);
        for (const TreeNode* n = tree_->Next(from, from); n; n = tree_->Next(n, from))
            expand(n);
    } else {
        for (const TreeNode* n = tree_->TopLevel(0); n; n = tree_->Next(n))
            expand(n);
    }
}

void PasswordTreeModel::FollowExpanded(QTreeView* view)
{
    const QPointer<QTreeView> guard(view);
    connect(this, &PasswordTreeModel::ExpandedChanged, view,
        [guard](const QModelIndex& index, bool expanded) { guard->setExpanded(index, expanded); });
    connect(view, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        if (TreeNode* node = NodeFromIndex(index))
            node->SetExpanded(true);
    });
    connect(view, &QTreeView::collapsed, this, [this](const QModelIndex& index) {
        if (TreeNode* node = NodeFromIndex(index))
            node->SetExpanded(false);
    });
    connect(this, &QAbstractItemModel::modelReset, view, [this, guard] { ExpandInView(guard, nullptr); });
    connect(
        this, &QAbstractItemModel::rowsInserted, view, [this, guard](const QModelIndex& parent, int first, int last) {
            for (int row = first; row <= last; ++row)
                ExpandInView(guard, NodeFromIndex(index(row, 0, parent)));
        });
    ExpandInView(view, nullptr);
}

} // namespace keyholm
