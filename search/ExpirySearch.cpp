#include "search/ExpirySearch.h"

#include "components/DateTools.h"
#include "components/ListTools.h"
#include "components/NodeImages.h"
#include "components/NodeTags.h"
#include "components/TreeStore.h"
#include "search/ListView.h"
#include "services/ErrorReport.h"
#include "services/ui/Messages.h"

#include <QMainWindow>
#include <QPushButton>

namespace keyholm {

namespace {

const QString NoDateFound = QStringLiteral("Il n'y a aucune Date en accord avec les critères de recherche");

} // namespace

std::optional<ListTable> ExpirySearch::ExpiredRows(
    const PasswordTree& tree, const TreeNode* mainNode, const QString& dateLimit)
{
    if (!mainNode)
        return std::nullopt;
    const std::optional<QList<int>> found = TreeStore::Instance().SearchKind(tree, mainNode->Key(), NodeImage::Date);
    if (!found)
        return std::nullopt;

    ListTable table;
    table.title = QStringLiteral("Résultat de la recherche sur les dates arrivées à expiration");
    table.columns = { { QStringLiteral("Catégorie supérieure directe"), 3000, Qt::AlignLeft },
        { QStringLiteral("Mot de passe"), 3000, Qt::AlignLeft }, { QStringLiteral("Date"), 1200, Qt::AlignHCenter } };

    const QString limitText = dateLimit.trimmed();
    const bool limited = !limitText.isEmpty();
    const QDate limit = limited ? DateTools::Instance().ReadShortDate(limitText) : QDate();
    if (limited && !limit.isValid())
        return table; // no date is on or before a limit that is no date

    // Dates are compared as days: the short format always reads back to the
    // same day, so no text is written but for the rows kept.
    for (const int index : *found) {
        if (index <= 0)
            continue;
        const TreeNode* date = tree.NodeAt(index);
        const TreeNode* entry = date ? date->Parent() : nullptr;
        if (!entry || !entry->Image().contains(NodeImage::Password))
            continue;
        const QDate expiry = ReadDateTag(date->Tag());
        if (!expiry.isValid() || (limited && expiry > limit))
            continue;
        const TreeNode* category = entry->Parent();
        table.rows.push_back(
            { { category ? category->Text() : QString(), entry->Text(), expiry.toString(Qt::ISODate) }, index });
    }
    // Rows keep their own "Date" node's index: two entries that only look
    // alike both stay.
    DeleteDuplicateLines(table, 1, 2, -1);
    return table;
}

int ExpirySearch::SearchOnDatePasswordTree(
    TreeNode* mainNode, const QString& dateLimit, bool displayMsg, bool displayOk)
{
    int result = 0;
    if (!mainNode)
        return result;
    if (mainNode->ChildCount() == 0) {
        if (displayMsg)
            ShowInfo(
                QStringLiteral("L'arborescence ne contient aucun élément.<BR>La recherche ne peut être exécutée."));
        return result;
    }

    ShowBusy();
    try {
        std::optional<ListTable> table = ExpiredRows(Tree(), mainNode, dateLimit);
        // The pointer is the user's again before any window shows.
        EndBusy();
        if (table && table->rows.empty()) {
            if (displayMsg)
                ShowInfo(NoDateFound);
        } else if (table) {
            const int count = table->RowCount();
            ListView list(ui_.Window);
            list.useOptionStyle = true;
            list.setWindowTitle(QStringLiteral("Rechercher - Résultat"));
            list.cmdSelection->setVisible(displayOk);
            list.SetTitle(table->title);
            list.SetTable(std::move(*table));
            // The silent check tells in the status bar what it found.
            if (!displayMsg)
                ui_.SetStatusMsg(QString::number(count) + QStringLiteral(" mot(s) de passe arrivé(s) à expiration"));
            list.exec();
            if (displayOk && list.Chosen())
                result = int(list.ChosenTag());
        }
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on searching date from: ") + mainNode->Text(), error);
    }
    EndBusy();
    return result;
}

} // namespace keyholm
