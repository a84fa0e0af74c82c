#pragma once
// The entries whose expiry date has come: listed from the tree toolbar's
// "Date" button and menu, and at each opening when the working options ask.

#include "components/ListTable.h"
#include "services/main/MainArea.h"

#include <optional>

namespace keyholm {

class ExpirySearch : public MainArea {
public:
    using MainArea::MainArea;

    // Lists the entries below the node whose expiry date is on or before the
    // limit (every dated entry when the limit is blank) and lets the user
    // choose one when `displayOk`. The index of the chosen "Date" node, 0 for none.
    int SearchOnDatePasswordTree(TreeNode* mainNode, const QString& dateLimit, bool displayMsg, bool displayOk);

    // The result list of that search, without a window: one row an entry
    // (category, entry, date as yyyy-MM-dd), tagged with its "Date" node's
    // index. Nothing when the search cannot run from that node.
    static std::optional<ListTable> ExpiredRows(
        const PasswordTree& tree, const TreeNode* mainNode, const QString& dateLimit);
};

} // namespace keyholm
