#pragma once
// The entries whose expiry date has come: listed from the tree toolbar's
// "Date" button and menu, and at each opening when the working options ask.

#include "services/main/MainArea.h"

namespace keyholm {

class ExpirySearch : public MainArea {
public:
    using MainArea::MainArea;

    int SearchOnDatePasswordTree(TreeNode* mainNode, const QString& dateLimit, bool displayMsg, bool displayOk);
};

} // namespace keyholm
