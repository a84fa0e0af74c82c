#pragma once
// The trash's own commands: emptying it from its popup menu, and the purge
// of the entries kept there longer than the chosen number of days (the
// "Purge" button, and the automatic purge when a database opens).

#include "services/main/MainArea.h"

#include <QDate>

namespace keyholm {

class Trash : public MainArea {
public:
    using MainArea::MainArea;

    // Removes the trash's entries whose last change is older than the
    // purge age; true when at least one went (the last deletion's result).
    bool TrashPurge();
    // How many entries the last TrashPurge removed.
    int PurgedCount() const { return purged_; }
    // How many entries TrashPurge would remove today.
    int PurgeCount() const;

    // The "Purge" button: says how many entries will go for good, asks,
    // purges and tells the outcome.
    void Purge_Click();
    // "Vider la Corbeille...": every element of the trash goes for good.
    void MenuCorbeilleVider_Click();

    // The trash node, null when the database has none.
    TreeNode* TrashNode() const;
    // Gives the trash the pictures of its content: full or empty.
    static void ShowFilling(TreeNode* trash);

private:
    // True when the entry, a direct child of the trash, is due for the
    // purge: its last change (else its creation) is a readable date older
    // than the purge age.
    bool Expired(const TreeNode* entry, const QDate& today) const;

    int purged_ = 0;
};

} // namespace keyholm
