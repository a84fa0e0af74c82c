// libFuzzer target: LoadTree must take any bytes without crashing, hanging
// or allocating far more than the input; a tree it accepts must save, load
// again and save to the same bytes, and stand the tree operations.

#include "components/TreeStore.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace keyholm;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const TreeStore& store = TreeStore::Instance();
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    PasswordTree tree;
    if (!store.LoadTree(tree, input))
        return 0;

    const QByteArray saved = store.SaveTree(tree);
    PasswordTree again;
    if (!store.LoadTree(again, saved) || store.SaveTree(again) != saved)
        __builtin_trap();

    // Walk, search and change the tree it gave.
    int nodes = 0;
    for (const TreeNode* n = tree.TopLevel(0); n; n = tree.Next(n))
        ++nodes;
    if (nodes != tree.Count())
        __builtin_trap();
    if (const TreeNode* root = tree.Root()) {
        const QString key = root->Key();
        (void)store.SearchText(tree, key, QStringLiteral("e"), true, Qt::CaseInsensitive, false);
        (void)store.SearchKind(tree, key, QStringLiteral("Date"));
        (void)store.CountNodes(tree, root, QStringLiteral("Dir"), true, true);
        (void)store.FindNodeKey(tree, key, QStringLiteral("Trash"));
        const QString added
            = store.AddNode(tree, key, QStringLiteral("fuzz"), QStringLiteral("DirNot"), QString(), true);
        if (!key.isEmpty() && added.isEmpty())
            __builtin_trap();
        if (TreeNode* last = tree.NodeAt(tree.Count() / 2 + 1)) {
            last->SetText(QStringLiteral("renamed"));
            tree.Remove(last);
        }
    }
    return 0;
}
