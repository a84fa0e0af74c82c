#pragma once
// Between the password tree's nodes and the rows of a view showing it. The
// view's model mirrors the tree row for row, so a node's place (its row
// under each ancestor) names its model index and back.

#include <QModelIndex>

class QAbstractItemModel;
class QPoint;
class QTreeView;

namespace keyholm {

class PasswordTree;
class TreeNode;

// The model index of a node; invalid for null.
QModelIndex IndexOfNode(const QAbstractItemModel* model, const TreeNode* node);
// The node of a model index; null for an invalid index.
TreeNode* NodeOfIndex(const PasswordTree& tree, const QModelIndex& index);
// The node under a point of the view's viewport; null over empty space.
TreeNode* NodeAtPoint(const PasswordTree& tree, const QTreeView* view, const QPoint& point);

} // namespace keyholm
