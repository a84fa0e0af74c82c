// Adding and changing one entry in a database of 100,000 entries (500
// categories of 200, each entry with its six details and a three-line note),
// through the entry toolbar of the main window (headless), the save after
// the edit turned off, no event processed: the tree work, with the tree
// view's model following the changes.
//   entries.add.100000      the toolbar's "Add" in one category: title check,
//                           entry and details, selection of the new entry
//                           (which lays the tree view out again to scroll to
//                           it) (ms, best of 5)
//   entries.change.100000   the toolbar's "Change" of that entry: title check,
//                           details rebuilt (the view is laid out at its next
//                           paint, not counted) (ms, best of 5)
//   entries.purge.100000.trash10000
//                           the trash purge once 10,000 of those entries,
//                           last changed long ago, were moved into it: each
//                           goes for good (ms, one run)

#include "BenchEntries.h"
#include "BenchHome.h"
#include "BenchSupport.h"

#include "app/MainWindow.h"
#include "components/EntryRecord.h"
#include "components/TreeStore.h"
#include "services/Environment.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <string>

using namespace keyholm;
using keyholm::bench::Report;

namespace {

constexpr int Entries = 100000;
constexpr int EntriesPerCategory = 200;

TreeNode* Build(MainWindow& window)
{
    PasswordTree& tree = window.State().Tree();
    window.Database().CreateDefaultTree();
    const TreeStore& store = TreeStore::Instance();
    TreeNode* category = nullptr;
    TreeNode* middle = nullptr;
    for (int e = 0; e < Entries; ++e) {
        if (e % EntriesPerCategory == 0) {
            category
                = tree.FindKey(store.AddNode(tree, "Root", QStringLiteral("Catégorie %1").arg(e / EntriesPerCategory),
                    "DirKeyNot", "2024-01-01T10:00:00]|[", true, true));
            if (e == Entries / 2)
                middle = category;
        }
        EntryRecord entry = bench::BenchEntry(e);
        entry.Write(tree, category);
    }
    return middle;
}

void Fill(MainWindowUi& ui, const QString& title, const QString& login)
{
    ui.Entry->SetPasswordText(0, title);
    ui.Entry->SetPasswordText(1, login);
    ui.Entry->SetPasswordText(2, QStringLiteral("Nouveau-mot-de-passe!"));
    ui.Entry->SetPasswordText(3, QStringLiteral("https://www.nouveau.example/"));
    ui.Entry->SetPasswordText(5, QStringLiteral("Une ligne\nDeux lignes"));
}

} // namespace

int main(int argc, char** argv)
{
    const keyholm::bench::BenchHome home;
    if (!home.IsValid())
        return 2;
    QApplication app(argc, argv);
    PrepareFolders();

    MainWindow window;
    TreeNode* category = Build(window);
    MainState& state = window.State();
    state.Options().autoSave = false;
    state.Options().clearFieldsAfterAdd = false;
    PasswordTree& tree = state.Tree();
    // The tree work alone: the view would lay out its 100,000 rows again.
    window.Ui().tvTreeView->setModel(nullptr);

    double add = 1e300;
    double change = 1e300;
    for (int i = 0; i < 5; ++i) {
        const QString title = QStringLiteral("Nouveau compte %1").arg(i);
        window.Entries().tvTreeView_NodeClick(category);
        Fill(window.Ui(), title, QStringLiteral("moi"));
        add = std::min(add, bench::BestMs(1, [&] { window.Editing().ToolbarPassCode_ButtonClick("Add"); }));
        TreeNode* entry
            = tree.FindKey(TreeStore::Instance().ChildKeyByText(tree, category->Key(), title, Qt::CaseSensitive));
        if (!entry || state.CurrentNode() != entry) {
            std::fprintf(stderr, "the entry was not added\n");
            return 1;
        }
        Fill(window.Ui(), title, QStringLiteral("toi"));
        change = std::min(change, bench::BestMs(1, [&] { window.Editing().ToolbarPassCode_ButtonClick("Change"); }));
    }
    if (tree.Count() < Entries * 11) {
        std::fprintf(stderr, "the tree is smaller than planned\n");
        return 1;
    }
    Report("entries.add.100000", add, "ms");
    Report("entries.change.100000", change, "ms");

    // Every tenth entry into the trash, as deletions put them there.
    const TreeStore& store = TreeStore::Instance();
    TreeNode* trash = tree.FindKey(state.TrashNodeKey());
    if (!trash)
        return 1;
    QStringList trashed;
    for (int i = 1; i <= tree.Count() && trashed.size() < 10000; ++i) {
        TreeNode* node = tree.NodeAt(i);
        if (node->Image() == QLatin1String("PasswordWebNot") && i % 10 == 0)
            trashed << node->Key();
    }
    for (const QString& key : trashed)
        store.MoveNode(tree, key, trash->Key(), QString());
    state.Options().purgeDays = 1;
    bool purged = false;
    const double purge = bench::BestMs(1, [&] { purged = window.TrashCommands().TrashPurge(); });
    if (!purged || trash->ChildCount() != 0 || window.TrashCommands().PurgedCount() != int(trashed.size())) {
        std::fprintf(stderr, "the trash was not purged\n");
        return 1;
    }
    Report("entries.purge.100000.trash" + std::to_string(trashed.size()), purge, "ms");
    return 0;
}
