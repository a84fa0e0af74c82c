#pragma once
// Selecting a node: it becomes CurrentNode, its page is shown and filled
// from the node and its detail children, and the tree and entry toolbars
// follow what it is. Also the mouse over the tree and the trash popup.

#include "services/main/MainArea.h"

#include <QString>

class QPoint;

namespace keyholm {

class Selection : public MainArea {
public:
    using MainArea::MainArea;

    // Makes the node current and shows its details; null does nothing.
    void tvTreeView_NodeClick(TreeNode* node);
    // Clears the entry fields of the entry page.
    void SetPasswordFields();
    // Shows one detail page and hides the others (the help page stays).
    void UnvisiblePasswordTab(int page);
    // Enabled states of the tree and entry toolbars for CurrentNode.
    void EnableFromSelectedNode();

    // Mouse over the tree (viewport coordinates); button 1 primary, 2 secondary.
    void tvTreeView_MouseDown(int button, const QPoint& point);
    void tvTreeView_MouseUp(int button);
    // Re-lays the window out when the page changes.
    void PasswordTabView_Click();
    // The pointer over the detail area clears the status message.
    void PasswordTabView_MouseMove();

    // The view follows CurrentNode (selected row, scrolled into view).
    void MarkSelected(TreeNode* node);

    // Folder-like: the root, any category, or a detail; not an entry nor a
    // service node.
    static bool IsFolderLike(const TreeNode* node);
    // True while MarkSelected moves the view (its selection signals are ours).
    bool Marking() const { return marking_; }

private:
    void ShowEntryPage(TreeNode* node);
    void FillEntryFields(TreeNode* node);
    void FillInformationPage(TreeNode* node);
    void ShowTrashPopup(TreeNode* trash);
    // Fills the statistics page, computed anew on each selection.
    void SetPasswordStat();
    // A date of a tag written in the given format, or the text itself when
    // it is not a date.
    static QString TagDateText(const QString& field, const QString& format);

    bool marking_ = false;
};

} // namespace keyholm
