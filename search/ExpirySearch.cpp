#include "search/ExpirySearch.h"

namespace keyholm {

int ExpirySearch::SearchOnDatePasswordTree(
    TreeNode* mainNode, const QString& dateLimit, bool displayMsg, bool displayOk)
{
    Q_UNUSED(mainNode)
    Q_UNUSED(dateLimit)
    Q_UNUSED(displayMsg)
    Q_UNUSED(displayOk)
    return 0;
}

} // namespace keyholm
