#include "search/TextSearch.h"

#include "search/SearchDialog.h"

namespace keyholm {

TextSearch::TextSearch(MainWindowUi& ui, MainState& state, MainProcedures& procedures)
    : MainArea(ui, state, procedures)
{
}

TextSearch::~TextSearch() = default;

int TextSearch::SearchOnPasswordTree(TreeNode* mainNode, const QString& addTitle)
{
    Q_UNUSED(mainNode)
    Q_UNUSED(addTitle)
    return 0;
}

int TextSearch::FindNext(bool backwards)
{
    Q_UNUSED(backwards)
    return 0;
}

} // namespace keyholm
