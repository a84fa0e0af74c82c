#pragma once
// Told about every change of a PasswordTree, in about-to/done pairs, so that
// a view can follow the tree without rebuilding itself. A null parent means
// the top level. Rows count from 0.

#include <QtGlobal>

namespace keyholm {

class TreeNode;

class PasswordTreeObserver {
public:
    // What changed in a node (or-ed together).
    enum Change : unsigned {
        TextChange = 1u << 0,
        ImageChange = 1u << 1,
        SelectedImageChange = 1u << 2,
        TagChange = 1u << 3,
        BackColorChange = 1u << 4,
        SortedChange = 1u << 5,
        ExpandedChange = 1u << 6,
    };

    virtual ~PasswordTreeObserver() = default;

    virtual void NodesAboutToBeInserted(TreeNode* parent, int first, int last)
    {
        Q_UNUSED(parent)
        Q_UNUSED(first)
        Q_UNUSED(last)
    }
    virtual void NodesInserted(TreeNode* parent, int first, int last)
    {
        Q_UNUSED(parent)
        Q_UNUSED(first)
        Q_UNUSED(last)
    }
    // The nodes still exist during the first call, not during the second.
    virtual void NodesAboutToBeRemoved(TreeNode* parent, int first, int last)
    {
        Q_UNUSED(parent)
        Q_UNUSED(first)
        Q_UNUSED(last)
    }
    virtual void NodesRemoved(TreeNode* parent, int first, int last)
    {
        Q_UNUSED(parent)
        Q_UNUSED(first)
        Q_UNUSED(last)
    }
    // newRow is the node's row once moved.
    virtual void NodeAboutToBeMoved(TreeNode* node, TreeNode* oldParent, int oldRow, TreeNode* newParent, int newRow)
    {
        Q_UNUSED(node)
        Q_UNUSED(oldParent)
        Q_UNUSED(oldRow)
        Q_UNUSED(newParent)
        Q_UNUSED(newRow)
    }
    virtual void NodeMoved(TreeNode* node, TreeNode* oldParent, int oldRow, TreeNode* newParent, int newRow)
    {
        Q_UNUSED(node)
        Q_UNUSED(oldParent)
        Q_UNUSED(oldRow)
        Q_UNUSED(newParent)
        Q_UNUSED(newRow)
    }
    virtual void NodeAboutToChange(TreeNode* node, unsigned changes)
    {
        Q_UNUSED(node)
        Q_UNUSED(changes)
    }
    virtual void NodeChanged(TreeNode* node, unsigned changes)
    {
        Q_UNUSED(node)
        Q_UNUSED(changes)
    }
    // The children of the parent take another order all at once (a sort);
    // none comes or goes, and the nodes keep their keys.
    virtual void ChildrenAboutToBeReordered(TreeNode* parent) { Q_UNUSED(parent) }
    virtual void ChildrenReordered(TreeNode* parent) { Q_UNUSED(parent) }
    // The whole content goes (clearing, loading).
    virtual void TreeAboutToBeReset() { }
    virtual void TreeReset() { }
    // The tree is being destroyed; the observer must not use it afterwards.
    virtual void TreeDestroyed() { }
};

} // namespace keyholm
