#include "services/main/TreeViewNodes.h"

#include "components/PasswordTree.h"

#include <QAbstractItemModel>
#include <QTreeView>

#include <vector>

namespace keyholm {

QModelIndex IndexOfNode(const QAbstractItemModel* model, const TreeNode* node)
{
    if (!model || !node)
        return {};
    std::vector<int> rows;
    for (const TreeNode* at = node; at; at = at->Parent())
        rows.push_back(at->Row());
    QModelIndex index;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        index = model->index(*row, 0, index);
    return index;
}

TreeNode* NodeOfIndex(const PasswordTree& tree, const QModelIndex& index)
{
    if (!index.isValid())
        return nullptr;
    std::vector<int> rows;
    for (QModelIndex at = index; at.isValid(); at = at.parent())
        rows.push_back(at.row());
    TreeNode* node = tree.TopLevel(rows.back());
    for (auto row = rows.rbegin() + 1; node && row != rows.rend(); ++row)
        node = node->Child(*row);
    return node;
}

TreeNode* NodeAtPoint(const PasswordTree& tree, const QTreeView* view, const QPoint& point)
{
    return view ? NodeOfIndex(tree, view->indexAt(point)) : nullptr;
}

} // namespace keyholm
