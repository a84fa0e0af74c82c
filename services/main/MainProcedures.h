#pragma once
// The main window's procedures that one area calls in another: selecting a
// node (entries) from the database code, marking the database changed
// (database) from an edit, re-laying the window out (app) after a selection.
// Areas cannot see each other's classes, so they call through this
// interface, which the main window implements by handing each call to the
// area that owns it. A procedure needed across areas is declared here once.

#include <QString>

namespace keyholm {

class TreeNode;

class MainProcedures {
public:
    virtual ~MainProcedures() = default;

    // ---- database/ --------------------------------------------------------
    // Sets or clears DatabaseChanged and its blinking alert.
    virtual void EnabledDisableBackup(bool changed) = 0;
    // The "Key" icon rule for a node (CurrentNode when null).
    virtual void CheckNodeInfo(TreeNode* node = nullptr) = 0;
    virtual bool CreateDefaultTree() = 0;
    virtual void CheckDataTree() = 0;
    // Field coding of logins and passwords, with the fixed key text.

    // ---- entries/ ---------------------------------------------------------
    // Makes the node current and shows its page (null: nothing happens).
    virtual void tvTreeView_NodeClick(TreeNode* node) = 0;
    virtual void SetPasswordFields() = 0;
    virtual void EnableFromSelectedNode() = 0;
    virtual void UnvisiblePasswordTab(int page) = 0;

    // Seams for steps of the opening that later areas fill in: until they
    // do, nothing is purged and no expiry list is shown.
    // Purges the trash of entries older than SliderPurge days; true when
    // some went.
    virtual bool TrashPurge() { return false; }
    // The expiry list below mainNode (dateLimit empty: every date); the
    // index of the "Date" node the user chose, 0 when none.
    virtual int SearchOnDatePasswordTree(TreeNode* mainNode, const QString& dateLimit, bool displayMsg, bool displayOk)
    {
        Q_UNUSED(mainNode)
        Q_UNUSED(dateLimit)
        Q_UNUSED(displayMsg)
        Q_UNUSED(displayOk)
        return 0;
    }

    // ---- app/ -------------------------------------------------------------
    virtual void Form_Resize() = 0;
};

} // namespace keyholm
