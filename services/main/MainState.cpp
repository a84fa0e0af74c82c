#include "services/main/MainState.h"

namespace keyholm {

MainState::MainState()
{
    tree_.AddObserver(this);
}

MainState::~MainState()
{
    tree_.RemoveObserver(this);
}

void MainState::SetDatabaseChanged(bool changed)
{
    databaseChanged_ = changed;
    Q_EMIT DatabaseChangedChanged(changed);
}

void MainState::RequestSelection(TreeNode* node)
{
    Q_EMIT SelectionRequested(node);
}

void MainState::NotifyDatabaseOpened()
{
    Q_EMIT DatabaseOpened();
}

void MainState::NotifyDatabaseClosed()
{
    Q_EMIT DatabaseClosed();
}

void MainState::NodesAboutToBeRemoved(TreeNode* parent, int first, int last)
{
    if (!currentNode_)
        return;
    for (int row = first; row <= last; ++row) {
        TreeNode* going = parent ? parent->Child(row) : tree_.TopLevel(row);
        if (going && (going == currentNode_ || going->IsAncestorOf(currentNode_))) {
            currentNode_ = nullptr;
            return;
        }
    }
}

void MainState::TreeAboutToBeReset()
{
    currentNode_ = nullptr;
}

} // namespace keyholm
