#pragma once
// Finding nodes by a piece of their text: the search window Lib_Search
// asks for the text and the options, the tree store finds the nodes, and
// the result list shows them, or the first one is selected at once (then
// F3 and Shift+F3 go to the next and previous ones).

#include "components/ListTable.h"
#include "services/main/MainArea.h"

#include <QList>

#include <memory>
#include <optional>

namespace keyholm {

class SearchDialog;

class TextSearch : public MainArea {
public:
    TextSearch(MainWindowUi& ui, MainState& state, MainProcedures& procedures);
    ~TextSearch();

    int SearchOnPasswordTree(TreeNode* mainNode, const QString& addTitle);
    // F3 / Shift+F3: the next or previous match of the last first-result
    // search; the index of the node to select, 0 when there is none.
    int FindNext(bool backwards);
    // The result list's rows for the nodes found: each node's text and its
    // path ("/R/A/B"), repeats removed.
    static ListTable ResultRows(const PasswordTree& tree, const QList<int>& found);

private:
    std::unique_ptr<SearchDialog> dialog_; // kept: it proposes the last search again
    // The last first-result search, for F3: what it looked for, and the
    // nodes it finds (found at the first F3).
    struct LastSearch {
        QString startKey;
        QString text;
        bool subtree = true;
        bool ignoreCase = true;
        bool logins = false;
        int first = 0;
    };
    std::optional<LastSearch> last_;
    QList<int> lastMatches_;
    int lastPosition_ = -1;
};

} // namespace keyholm
