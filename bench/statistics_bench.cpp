// The counts of the statistics page over a database of 100,000 entries: 500
// categories, 1,000 entries in the trash, each entry with its six details
// (login and password coded, every tenth password shared) and a three-line
// note, twelve nodes an entry; the tree saved and loaded again, as a database
// lies in memory once opened.
//   entries.stat.100000   the page's eleven counts in one walk (ms, best of 5)

#include "BenchEntries.h"
#include "BenchSupport.h"

#include "components/EntryRecord.h"
#include "components/NodeImages.h"
#include "components/TreeStore.h"
#include "entries/Statistics.h"

#include <QCoreApplication>

#include <cstdio>

using namespace keyholm;

namespace {

constexpr int Entries = 100000;
constexpr int InTrash = 1000;
constexpr int EntriesPerCategory = 200;

// The trash's key.
QString Build(PasswordTree& tree)
{
    const TreeStore& store = TreeStore::Instance();
    TreeNode* root = tree.Add(nullptr, "Root", "Mes mots de passe", NodeImage::RootNot);
    root->SetSorted(true);
    const QString info = store.AddNode(tree, "Root", ServiceText::Info, NodeImage::InfoNot, "2024-01-01T10:00:00");
    store.AddNode(tree, info, "01/01/2024", NodeImage::Create, "2024-01-01T10:00:00]|[2024-01-01T10:00:00");
    store.SaveNote(tree, "Les comptes de la maison", info);
    store.AddNode(tree, "Root", ServiceText::Stat, NodeImage::StatNot, "");
    store.AddNode(tree, "Root", ServiceText::Option, NodeImage::OptionNot, "");
    const QString trash = store.AddNode(tree, "Root", ServiceText::Trash, NodeImage::TrashKeyNot, "");

    TreeNode* category = nullptr;
    for (int e = 0; e < Entries; ++e) {
        if (e < InTrash) {
            category = tree.FindKey(trash);
        } else if ((e - InTrash) % EntriesPerCategory == 0) {
            category = tree.FindKey(store.AddNode(tree, "Root",
                QStringLiteral("Catégorie %1").arg(e / EntriesPerCategory), "DirKeyNot", "2024-01-01T10:00:00]|["));
        }
        EntryRecord entry = bench::BenchEntry(e);
        if (e % 10 == 0)
            entry.password = QStringLiteral("Mot-de-passe_commun!");
        entry.expiry = QDate(2024, 1, 1).addDays(e % 2000);
        entry.Write(tree, category);
        entry.Wipe();
    }
    return trash;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const TreeStore& store = TreeStore::Instance();
    QString trash;
    QByteArray saved;
    {
        PasswordTree built;
        trash = Build(built);
        saved = store.SaveTree(built);
    }
    PasswordTree tree;
    if (!store.LoadTree(tree, saved) || tree.Count() < Entries * 11) {
        std::fprintf(stderr, "the tree is not the one planned\n");
        return 1;
    }
    Statistics counts;
    const double ms = bench::BestMs(5, [&] { counts = Statistics::Compute(tree, trash); });
    if (counts[Statistics::Entries] != Entries - InTrash || counts[Statistics::TrashEntries] != InTrash
        || counts[Statistics::SharedPassword] != (Entries - InTrash) / 10
        || counts[Statistics::WithNote] != Entries - InTrash + 1) {
        std::fprintf(stderr, "wrong counts\n");
        return 1;
    }
    bench::Report("entries.stat.100000", ms, "ms");
    return 0;
}
