#include "search/TextSearch.h"

#include "components/ListTools.h"
#include "components/NodeKind.h"
#include "components/TreeStore.h"
#include "search/ListView.h"
#include "search/SearchDialog.h"
#include "services/ErrorReport.h"
#include "services/ui/Messages.h"

#include <QCheckBox>
#include <QMainWindow>
#include <QRadioButton>

#include <exception>

namespace keyholm {

namespace {

// "/R/A/B": the trimmed texts from the root down to the node.
QString PathOf(const TreeNode* node)
{
    QStringList parts;
    for (const TreeNode* n = node; n; n = n->Parent())
        parts.prepend(n->Text().trimmed());
    return QLatin1Char('/') + parts.join(QLatin1Char('/'));
}

// The node a match shows: a detail or a note line shows its entry (or the
// information node it belongs to).
TreeNode* Shown(TreeNode* node)
{
    for (TreeNode* n = node; n; n = n->Parent()) {
        switch (KindOf(n)) {
        case NodeKind::Detail:
            continue;
        default:
            return n;
        }
    }
    return node;
}

} // namespace

TextSearch::TextSearch(MainWindowUi& ui, MainState& state, MainProcedures& procedures)
    : MainArea(ui, state, procedures)
{
}

TextSearch::~TextSearch() = default;

int TextSearch::SearchOnPasswordTree(TreeNode* mainNode, const QString& addTitle)
{
    int result = 0;
    if (!mainNode)
        return result;
    if (mainNode->ChildCount() == 0) {
        ShowInfo(QStringLiteral(
            "La branche sélectionnée ne contient aucun descendant.<br>La recherche ne peut être lancée."));
        return result;
    }
    try {
        if (!dialog_)
            dialog_ = std::make_unique<SearchDialog>(ui_.Window);
        const QString title = addTitle.trimmed();
        dialog_->setWindowTitle(
            title.isEmpty() ? QStringLiteral("Rechercher") : QStringLiteral("Rechercher - ") + addTitle);
        dialog_->exec();
        const QString text = dialog_->ConfirmedText();
        if (text.trimmed().isEmpty())
            return result;
        ShowBusy();
        const bool ignoreCase = !dialog_->CheckMaj->isChecked();
        const bool firstOnly = dialog_->CheckOneResult->isChecked();
        const bool logins = dialog_->CheckLogin->isChecked();
        const std::optional<QList<int>> found
            = TreeStore::Instance().SearchText(Tree(), mainNode->Key(), text, dialog_->AllTree->isChecked(),
                ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive, firstOnly, ignoreCase, logins);
        last_.reset();
        lastMatches_.clear();
        lastPosition_ = -1;
        if (!found) {
            EndBusy();
            return result;
        }
        result = mainNode->Index();
        if (found->isEmpty()) {
            EndBusy();
            ShowInfo(QStringLiteral("Il n'y a aucun résultat en accord avec les critères de recherche."));
            return result;
        }
        if (firstOnly) {
            result = Shown(Tree().NodeAt(found->first()))->Index();
            // F3 goes on from there; the other matches are found when asked.
            last_ = { mainNode->Key(), text, dialog_->AllTree->isChecked(), ignoreCase, logins, result };
            EndBusy();
            return result;
        }
        ListTable table = ResultRows(Tree(), *found);
        ListView list(ui_.Window);
        list.useOptionStyle = true;
        list.setWindowTitle(QStringLiteral("Rechercher - Résultat"));
        list.SetTitle(QStringLiteral("Résultat de la recherche - ") + addTitle);
        list.SetTable(std::move(table));
        EndBusy();
        list.exec();
        if (list.Chosen())
            result = Shown(Tree().NodeAt(int(list.ChosenTag())))->Index();
    } catch (const std::exception& error) {
        EndBusy();
        ReportError(QStringLiteral("Error on searching text from: ") + mainNode->Text(), {}, true,
            ErrorRecord::FromException(error));
    }
    return result;
}

ListTable TextSearch::ResultRows(const PasswordTree& tree, const QList<int>& found)
{
    ListTable table;
    table.columns
        = { { QStringLiteral("Label"), 4000, Qt::AlignLeft }, { QStringLiteral("Niveau"), 5000, Qt::AlignLeft } };
    table.rows.reserve(std::size_t(found.size()));
    for (const int index : found) {
        const TreeNode* node = tree.NodeAt(index);
        table.rows.push_back({ { node->Text(), PathOf(node) }, index });
    }
    DeleteDuplicateLines(table, 1, 2, -1);
    return table;
}

int TextSearch::FindNext(bool backwards)
{
    if (!last_)
        return 0;
    if (lastMatches_.isEmpty()) {
        const auto all = TreeStore::Instance().SearchText(Tree(), last_->startKey, last_->text, last_->subtree,
            last_->ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive, false, last_->ignoreCase, last_->logins);
        if (!all || all->isEmpty())
            return 0;
        for (const int index : *all) {
            const int shown = Shown(Tree().NodeAt(index))->Index();
            if (lastMatches_.isEmpty() || lastMatches_.last() != shown)
                lastMatches_.append(shown);
        }
        lastPosition_ = int(lastMatches_.indexOf(last_->first));
    }
    const int count = int(lastMatches_.size());
    lastPosition_ = backwards ? (lastPosition_ - 1 + count) % count : (lastPosition_ + 1) % count;
    return lastMatches_[lastPosition_];
}

} // namespace keyholm
