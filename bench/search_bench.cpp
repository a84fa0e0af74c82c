// The searches of the password tree over a database of 100,000 entries in
// 500 categories, each entry with every detail and an expiry date, twelve
// nodes an entry; the tree saved and loaded again, as a database lies in
// memory once opened.
//   search.expiry.100000   the expiry list against a limit date that half the
//                          entries have reached, from the call to the list
//                          window's filled rows, the window not shown (ms,
//                          best of 5)
//   search.text.100000     a text found in about 1 % of the nodes (the web
//                          addresses of 11,111 entries), logins searched by
//                          value, from the search to the list window's filled
//                          rows, the window not shown (ms, best of 5)
//   search.first.100000    the same text, the first result only (ms, best of 5)
//   search.text_logins.100000
//                          the list search with the logins' values searched
//                          too: each one decoded (ms, best of 5)

#include "BenchEntries.h"
#include "BenchHome.h"
#include "BenchSupport.h"

#include "components/NodeImages.h"
#include "components/SystemInfo.h"
#include "components/TreeStore.h"
#include "search/ExpirySearch.h"
#include "search/ListView.h"
#include "search/TextSearch.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

using namespace keyholm;

namespace {

constexpr int Entries = 100000;
constexpr int EntriesPerCategory = 200;
const QDate Limit(2026, 3, 5);

// Even entries are due on or before the limit, odd ones after it.
bool Build(PasswordTree& tree)
{
    const TreeStore& store = TreeStore::Instance();
    PasswordTree built;
    TreeNode* root = built.Add(nullptr, "Root", "Mes mots de passe", NodeImage::RootNot);
    root->SetSorted(true);
    store.AddNode(built, "Root", ServiceText::Info, NodeImage::InfoNot, "2024-01-01T10:00:00");
    store.AddNode(built, "Root", ServiceText::Stat, NodeImage::StatNot, "");
    store.AddNode(built, "Root", ServiceText::Option, NodeImage::OptionNot, "");
    store.AddNode(built, "Root", ServiceText::Trash, NodeImage::TrashNot, "");
    TreeNode* category = nullptr;
    for (int e = 0; e < Entries; ++e) {
        if (e % EntriesPerCategory == 0)
            category = built.FindKey(store.AddNode(built, "Root",
                QStringLiteral("Catégorie %1").arg(e / EntriesPerCategory), "DirKeyNot", "2024-01-01T10:00:00]|["));
        EntryRecord entry = bench::BenchEntry(e);
        entry.expiry = e % 2 == 0 ? Limit.addDays(-(e % 1000)) : Limit.addDays(1 + e % 1000);
        entry.Write(built, category);
        entry.Wipe();
    }
    return store.LoadTree(tree, store.SaveTree(built)) && tree.Count() >= Entries * 11;
}

bool BenchExpiry(const PasswordTree& tree)
{
    const SystemInfo& system = SystemInfo::Instance();
    const QString limit = system.Locale().toString(Limit, system.ShortDateFormat());
    double best = 1e300;
    for (int run = 0; run < 5; ++run) {
        std::unique_ptr<ListView> list;
        best = std::min(best, bench::BestMs(1, [&] {
            std::optional<ListTable> table = ExpirySearch::ExpiredRows(tree, tree.Root(), limit);
            list = std::make_unique<ListView>();
            if (table)
                list->SetTable(std::move(*table));
        }));
        if (list->Table().RowCount() != Entries / 2) {
            std::fprintf(stderr, "search.expiry: %d rows listed\n", list->Table().RowCount());
            return false;
        }
    }
    bench::Report("search.expiry.100000", best, "ms");
    return true;
}

bool BenchText(const PasswordTree& tree)
{
    const TreeStore& store = TreeStore::Instance();
    const QString text = QStringLiteral("site1");
    double all = 1e300;
    double first = 1e300;
    double withLogins = 1e300;
    int rows = 0;
    for (int run = 0; run < 5; ++run) {
        std::unique_ptr<ListView> list;
        all = std::min(all, bench::BestMs(1, [&] {
            const auto found = store.SearchText(tree, "Root", text, true, Qt::CaseInsensitive, false, true, false);
            list = std::make_unique<ListView>();
            if (found)
                list->SetTable(TextSearch::ResultRows(tree, *found));
        }));
        rows = list->Table().RowCount();
        withLogins = std::min(withLogins, bench::BestMs(1, [&] {
            const auto found = store.SearchText(tree, "Root", text, true, Qt::CaseInsensitive, false, true, true);
            list = std::make_unique<ListView>();
            if (found)
                list->SetTable(TextSearch::ResultRows(tree, *found));
        }));
        first = std::min(first, bench::BestMs(1, [&] {
            const auto found = store.SearchText(tree, "Root", text, true, Qt::CaseInsensitive, true, true, false);
            if (!found || found->size() != 1)
                rows = -1;
        }));
    }
    if (rows != 11111) {
        std::fprintf(stderr, "search.text: %d rows listed\n", rows);
        return false;
    }
    bench::Report("search.text.100000", all, "ms");
    bench::Report("search.first.100000", first, "ms");
    bench::Report("search.text_logins.100000", withLogins, "ms");
    return true;
}

} // namespace

// Each search reports its own figure; one that fails makes the run fail.
int main(int argc, char** argv)
{
    const bench::BenchHome home;
    if (!home.IsValid())
        return 2;
    QApplication app(argc, argv);
    PasswordTree tree;
    if (!Build(tree)) {
        std::fprintf(stderr, "the tree is not the one planned\n");
        return 1;
    }
    bool ok = true;
    ok = BenchExpiry(tree) && ok;
    ok = BenchText(tree) && ok;
    return ok ? 0 : 1;
}
