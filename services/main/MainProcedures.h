#pragma once
// The main window's procedures that one area calls in another: the "Key"
// icon rule and the save (database) after a selection or an edit, clearing
// and enabling the entry page (entries) at closing, re-laying the window
// out (app) after a selection. Areas cannot see each other's classes, so they call through
// this interface, which the main window implements by handing each call to
// the area that owns it. What many areas follow (a change, a selection, an
// opening) goes through the signals of MainState instead.

#include <QString>

namespace keyholm {

class TreeNode;

class MainProcedures {
public:
    virtual ~MainProcedures() = default;

    // ---- database/ --------------------------------------------------------
    // The "Key" icon rule for a node (CurrentNode when null).
    virtual void CheckNodeInfo(TreeNode* node = nullptr) = 0;
    // Saves the open database to its file.
    virtual void MenuBaseSave_Click() = 0;
    // Offers to save the changes before an export or import: false when the
    // user cancelled or the save failed; No goes on, the changes kept.
    virtual bool OfferToSaveChanges() = 0;

    // ---- entries/ ---------------------------------------------------------
    virtual void SetPasswordFields() = 0;
    virtual void EnableFromSelectedNode() = 0;
    virtual void UnvisiblePasswordTab(int page) = 0;
    // The default categories under the current node, after asking.
    virtual void AddDefaultCategories() = 0;
    // Asks about edits of the current entry not yet applied before the user
    // leaves it; false when the user stays.
    virtual bool LeaveEditedEntry() = 0;

    // ---- search/ ----------------------------------------------------------
    // The text search below the node, its window's caption completed by
    // `addTitle`: the index of the node to select (the start node's when a
    // search ran and nothing was chosen), 0 when no search ran.
    virtual int SearchOnPasswordTree(TreeNode* mainNode, const QString& addTitle) = 0;
    // The next or previous match of the last first-result text search: the
    // index of the node to select, 0 when there is none.
    virtual int FindNextMatch(bool backwards) = 0;
    // The entries whose expiry date is on or before `dateLimit` (a date in
    // the short format; every dated entry when empty), below the node: the
    // index of the chosen "Date" node, 0 when none. `displayMsg` lets it
    // speak when nothing is found, `displayOk` lets the user choose a row.
    virtual int SearchOnDatePasswordTree(
        TreeNode* mainNode, const QString& dateLimit, bool displayMsg, bool displayOk) = 0;
    // The entries below the root or a category written to a file through
    // the list window, or a file's rows made entries below it.
    virtual void ExportPasswordCategory(TreeNode* mainNode) = 0;
    virtual void ImportPasswordCategory(TreeNode* mainNode) = 0;
    // The clipboard viewer, shown beside the main window.
    virtual void ShowClipboardViewer() = 0;

    // ---- app/ -------------------------------------------------------------
    virtual void Form_Resize() = 0;
};

} // namespace keyholm
