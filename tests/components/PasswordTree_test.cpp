#include "components/PasswordTree.h"
#include "components/PasswordTreeObserver.h"

#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

using namespace keyholm;

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {
QStringList ChildTexts(const TreeNode* parent)
{
    QStringList texts;
    for (const TreeNode* c : parent->Children())
        texts << c->Text();
    return texts;
}

// Every node's index must be its position, and every child's row its place.
void ExpectConsistent(const PasswordTree& tree)
{
    for (int i = 1; i <= tree.Count(); ++i) {
        const TreeNode* n = tree.NodeAt(i);
        ASSERT_NE(n, nullptr);
        EXPECT_EQ(n->Index(), i);
        if (!n->Key().isEmpty()) {
            EXPECT_EQ(tree.FindKey(n->Key()), n);
        }
        for (int r = 0; r < n->ChildCount(); ++r) {
            EXPECT_EQ(n->Child(r)->Row(), r);
            EXPECT_EQ(n->Child(r)->Parent(), n);
        }
    }
    EXPECT_EQ(tree.NodeAt(tree.Count() + 1), nullptr);
    EXPECT_EQ(tree.NodeAt(0), nullptr);
}

// Records the notifications, and checks that each "done" follows its
// "about to" with the tree in the expected state.
class Recorder : public PasswordTreeObserver {
public:
    explicit Recorder(PasswordTree& tree)
        : tree_(tree)
    {
        tree.AddObserver(this);
    }
    ~Recorder() override { tree_.RemoveObserver(this); }

    QStringList events;

    static QString Name(const TreeNode* n) { return n ? n->Text() : QStringLiteral("<top>"); }
    int Rows(const TreeNode* parent) const { return parent ? parent->ChildCount() : tree_.TopLevelCount(); }

    void NodesAboutToBeInserted(TreeNode* parent, int first, int last) override
    {
        rowsBefore_ = Rows(parent);
        events << QStringLiteral("insert? %1 %2-%3").arg(Name(parent)).arg(first).arg(last);
    }
    void NodesInserted(TreeNode* parent, int first, int last) override
    {
        EXPECT_EQ(Rows(parent), rowsBefore_ + last - first + 1);
        events << QStringLiteral("inserted %1 %2")
                      .arg(Name(parent), Name(parent ? parent->Child(first) : tree_.TopLevel(first)));
    }
    void NodesAboutToBeRemoved(TreeNode* parent, int first, int last) override
    {
        rowsBefore_ = Rows(parent);
        const TreeNode* n = parent ? parent->Child(first) : tree_.TopLevel(first);
        events << QStringLiteral("remove? %1 %2").arg(Name(parent), Name(n));
        Q_UNUSED(last)
    }
    void NodesRemoved(TreeNode* parent, int first, int last) override
    {
        EXPECT_EQ(Rows(parent), rowsBefore_ - (last - first + 1));
        events << QStringLiteral("removed %1 %2-%3").arg(Name(parent)).arg(first).arg(last);
    }
    void NodeAboutToBeMoved(TreeNode* node, TreeNode* oldParent, int oldRow, TreeNode* newParent, int newRow) override
    {
        EXPECT_EQ(node->Row(), oldRow);
        EXPECT_EQ(node->Parent(), oldParent);
        events << QStringLiteral("move? %1 %2:%3 -> %4:%5")
                      .arg(Name(node), Name(oldParent))
                      .arg(oldRow)
                      .arg(Name(newParent))
                      .arg(newRow);
    }
    void NodeMoved(TreeNode* node, TreeNode* oldParent, int oldRow, TreeNode* newParent, int newRow) override
    {
        Q_UNUSED(oldParent)
        Q_UNUSED(oldRow)
        EXPECT_EQ(node->Row(), newRow);
        EXPECT_EQ(node->Parent(), newParent);
        events << QStringLiteral("moved %1").arg(Name(node));
    }
    void NodeAboutToChange(TreeNode* node, unsigned changes) override
    {
        events << QStringLiteral("change? %1 %2").arg(Name(node)).arg(changes);
    }
    void NodeChanged(TreeNode* node, unsigned changes) override
    {
        events << QStringLiteral("changed %1 %2").arg(Name(node)).arg(changes);
    }
    void TreeAboutToBeReset() override { events << QStringLiteral("reset?"); }
    void TreeReset() override { events << QStringLiteral("reset"); }

private:
    PasswordTree& tree_;
    int rowsBefore_ = 0;
};

class PasswordTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = tree.Add(nullptr, QStringLiteral("Root"), QStringLiteral("Base"), QStringLiteral("RootNot"));
        root->SetSorted(true);
    }
    TreeNode* Add(TreeNode* parent, const QString& text, const QString& image = QStringLiteral("DirNot"))
    {
        return tree.Add(parent, tree.NewKey(), text, image);
    }

    PasswordTree tree;
    TreeNode* root = nullptr;
};
} // namespace

TEST_F(PasswordTreeTest, NumbersNodesInOrderOfAddingAndRenumbersAfterRemoval)
{
    TreeNode* b = Add(root, "B");
    TreeNode* a = Add(root, "A");
    TreeNode* a1 = Add(a, "A1");
    TreeNode* c = Add(root, "C");
    ASSERT_EQ(tree.Count(), 5);
    EXPECT_EQ(tree.Root(), root);
    EXPECT_EQ(root->Index(), 1);
    EXPECT_EQ(b->Index(), 2);
    EXPECT_EQ(a->Index(), 3);
    EXPECT_EQ(a1->Index(), 4);
    EXPECT_EQ(c->Index(), 5);
    // Sorted: the collection order and the display order differ.
    EXPECT_EQ(ChildTexts(root), QStringList({ "A", "B", "C" }));

    const QString a1Key = a1->Key();
    ASSERT_TRUE(tree.Remove(a));
    EXPECT_EQ(tree.Count(), 3);
    EXPECT_EQ(tree.FindKey(a1Key), nullptr);
    EXPECT_EQ(tree.NodeAt(3), c);
    EXPECT_EQ(c->Index(), 3);
    TreeNode* d = Add(root, "D");
    EXPECT_EQ(d->Index(), 4);
    ExpectConsistent(tree);
}

TEST_F(PasswordTreeTest, KeysAreUniqueAndNewKeysAvoidLoadedOnes)
{
    EXPECT_EQ(tree.Add(root, QStringLiteral("Root"), "dup"), nullptr);
    ASSERT_NE(tree.Add(root, QStringLiteral("k5"), "five"), nullptr);
    ASSERT_NE(tree.Add(root, QStringLiteral("k7"), "seven"), nullptr);
    QSet<QString> keys { "Root", "k5", "k7" };
    for (int i = 0; i < 50; ++i) {
        const QString key = tree.NewKey();
        EXPECT_FALSE(keys.contains(key)) << qPrintable(key);
        EXPECT_LE(key.size(), 7) << "keys fit the inline text";
        keys.insert(key);
        ASSERT_NE(tree.Add(root, key, QString::number(i)), nullptr);
    }
    // Empty keys are allowed but not indexed.
    EXPECT_NE(tree.Add(root, QString(), "a"), nullptr);
    EXPECT_NE(tree.Add(root, QString(), "b"), nullptr);
    EXPECT_EQ(tree.FindKey(QString()), nullptr);
    ExpectConsistent(tree);
}

TEST_F(PasswordTreeTest, KeyLookupSurvivesManyRemovals)
{
    std::vector<QString> keys;
    TreeNode* cat = Add(root, "cat");
    for (int i = 0; i < 3000; ++i)
        keys.push_back(Add(cat, QString::number(i))->Key());
    for (int i = 0; i < 3000; i += 3)
        ASSERT_TRUE(tree.Remove(tree.FindKey(keys[std::size_t(i)])));
    for (int i = 0; i < 3000; ++i) {
        const TreeNode* n = tree.FindKey(keys[std::size_t(i)]);
        if (i % 3 == 0) {
            EXPECT_EQ(n, nullptr) << i;
        } else {
            ASSERT_TRUE(n && n->Text() == QString::number(i)) << i;
        }
    }
    ExpectConsistent(tree);
}

TEST_F(PasswordTreeTest, KeysStayUniqueWhenTheTreeShrinks)
{
    // Made keys are found through a table sized by the node count; after
    // the tree shrinks, old large numbers must still be found and refused.
    TreeNode* cat = Add(root, "cat");
    std::vector<TreeNode*> nodes;
    for (int i = 0; i < 6000; ++i)
        nodes.push_back(Add(cat, QString::number(i)));
    const QString survivor = nodes.back()->Key();
    for (int i = 0; i < 5990; ++i)
        tree.Remove(nodes[std::size_t(i)]);
    EXPECT_EQ(tree.FindKey(survivor), nodes.back());
    EXPECT_EQ(tree.Add(root, survivor, "again"), nullptr);
    TreeNode* big = tree.Add(root, "kzzzzzz", "big number");
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(tree.FindKey(QStringLiteral("kzzzzzz")), big);
    EXPECT_EQ(tree.Add(root, "kzzzzzz", "twice"), nullptr);
    EXPECT_EQ(tree.FindKey(QStringLiteral("k0")), nullptr);
    EXPECT_NE(tree.Add(root, "k01", "leading zero is another key"), nullptr);
    ExpectConsistent(tree);
}

TEST_F(PasswordTreeTest, SortedParentOrdersByTextIgnoringCaseAndAccents)
{
    for (const char* t : { "zèbre", "Banque", " Corbeille", "école", "Alpha", " A propos de la Base", "alpha", "Ecole",
             "10 ans", "émail" })
        Add(root, QString::fromUtf8(t));
    EXPECT_EQ(ChildTexts(root),
        QStringList({ " A propos de la Base", " Corbeille", "10 ans", "Alpha", "alpha", "Banque", "Ecole", "école",
            "émail", "zèbre" }));

    TreeNode* plain = Add(root, "plain");
    for (const char* t : { "b", "a", "c" })
        Add(plain, t);
    EXPECT_EQ(ChildTexts(plain), QStringList({ "b", "a", "c" })) << "unsorted parents keep the order of adding";
    plain->SetSorted(true);
    EXPECT_EQ(ChildTexts(plain), QStringList({ "a", "b", "c" }));
    ExpectConsistent(tree);
}

TEST_F(PasswordTreeTest, RenamingMovesTheNodeToItsSortedPlace)
{
    TreeNode* a = Add(root, "a");
    Add(root, "b");
    Add(root, "c");
    Recorder rec(tree);
    a->SetText("d");
    EXPECT_EQ(ChildTexts(root), QStringList({ "b", "c", "d" }));
    EXPECT_EQ(rec.events, QStringList({ "change? a 1", "changed d 1", "move? d Base:0 -> Base:2", "moved d" }));
    rec.events.clear();
    a->SetText("bb"); // between b and c
    EXPECT_EQ(ChildTexts(root), QStringList({ "b", "bb", "c" }));
    rec.events.clear();
    a->SetText("bc"); // still in place: no move
    EXPECT_EQ(rec.events, QStringList({ "change? bb 1", "changed bc 1" }));
    ExpectConsistent(tree);
}

TEST_F(PasswordTreeTest, TellsObserversInPairs)
{
    TreeNode* cat = Add(root, "cat");
    TreeNode* other = Add(root, "other");
    Recorder rec(tree);

    TreeNode* e = Add(cat, "entry", "PasswordNot");
    Add(e, "login", "Login");
    e->SetImage("PasswordWebNot");
    e->SetImage("PasswordWebNot"); // unchanged: no event
    e->SetBackColor(0x0000ff);
    ASSERT_TRUE(tree.Move(e, other));
    tree.RemoveChildren(e);
    ASSERT_TRUE(tree.Remove(other));
    tree.Clear();
    EXPECT_EQ(rec.events,
        QStringList({
            "insert? cat 0-0",
            "inserted cat entry",
            "insert? entry 0-0",
            "inserted entry login",
            QStringLiteral("change? entry %1").arg(PasswordTreeObserver::ImageChange),
            QStringLiteral("changed entry %1").arg(PasswordTreeObserver::ImageChange),
            QStringLiteral("change? entry %1").arg(PasswordTreeObserver::BackColorChange),
            QStringLiteral("changed entry %1").arg(PasswordTreeObserver::BackColorChange),
            "move? entry cat:0 -> other:0",
            "moved entry",
            "remove? entry login",
            "removed entry 0-0",
            "remove? Base other",
            "removed Base 1-1",
            "reset?",
            "reset",
        }));
    EXPECT_TRUE(tree.IsEmpty());
    EXPECT_EQ(tree.Root(), nullptr);
}

TEST_F(PasswordTreeTest, RefusesToMoveANodeUnderItselfOrItsDescendants)
{
    TreeNode* a = Add(root, "a");
    TreeNode* b = Add(a, "b");
    TreeNode* c = Add(b, "c");
    Recorder rec(tree);
    EXPECT_FALSE(tree.Move(a, a));
    EXPECT_FALSE(tree.Move(a, b));
    EXPECT_FALSE(tree.Move(a, c));
    EXPECT_FALSE(tree.Move(root, c));
    EXPECT_TRUE(rec.events.isEmpty());
    EXPECT_EQ(c->Parent(), b);

    EXPECT_TRUE(tree.Move(c, root));
    EXPECT_EQ(c->Parent(), root);
    EXPECT_EQ(ChildTexts(root), QStringList({ "a", "c" }));
    EXPECT_TRUE(tree.Move(c, nullptr)) << "to the top level";
    EXPECT_EQ(c->Parent(), nullptr);
    EXPECT_EQ(tree.TopLevelCount(), 2);
    // A moved node keeps its index.
    EXPECT_EQ(c->Index(), 4);
    ExpectConsistent(tree);
}

TEST_F(PasswordTreeTest, KeepsTagAndTextApartWhenTheyStopBeingEqual)
{
    TreeNode* web = tree.Add(root, "w", "https://a.example", "Web", "https://a.example");
    EXPECT_EQ(web->Tag(), "https://a.example");
    web->SetText("https://b.example");
    EXPECT_EQ(web->Text(), "https://b.example");
    EXPECT_EQ(web->Tag(), "https://a.example");
    web->SetTag("https://b.example");
    web->SetTag("");
    EXPECT_EQ(web->Tag(), "");
    EXPECT_EQ(web->Text(), "https://b.example");
}

TEST_F(PasswordTreeTest, HoldsAnyTextExactly)
{
    const QString texts[] = {
        QString(),
        QStringLiteral("short"),
        QStringLiteral("exactly"),
        QStringLiteral("exactly8"),
        QString::fromUtf8("Zoë déjà ÿ"),
        QString::fromUtf8("日本語のメモ 🔑"),
        QStringLiteral("line one\r\nline two\n]|[third"),
        QString(QChar(0xd800)) + "lone surrogate",
        QString(100000, QChar('x')),
    };
    for (const QString& t : texts) {
        TreeNode* n = tree.Add(root, tree.NewKey(), t, "Quote", t + "]|[" + t);
        EXPECT_EQ(n->Text(), t);
        EXPECT_EQ(n->Tag(), t + "]|[" + t);
        EXPECT_TRUE(n->TextData().Equals(t));
    }
}

TEST_F(PasswordTreeTest, WalksAndRemovesDeepChainsWithoutRecursion)
{
    TreeNode* n = root;
    for (int i = 0; i < 200000; ++i)
        n = tree.Add(n, QString(), QString());
    int count = 0;
    for (const TreeNode* w = tree.Next(root, root); w; w = tree.Next(w, root))
        ++count;
    EXPECT_EQ(count, 200000);
    tree.RemoveChildren(root);
    EXPECT_EQ(tree.Count(), 1);
}

TEST_F(PasswordTreeTest, SwapExchangesContentsAndNodesFollowTheirTree)
{
    Add(root, "a");
    PasswordTree other;
    TreeNode* x = other.Add(nullptr, "x", "X");
    Recorder rec(tree);
    tree.Swap(other);
    EXPECT_EQ(rec.events, QStringList({ "reset?", "reset" }));
    EXPECT_EQ(tree.Root(), x);
    EXPECT_EQ(&x->Tree(), &tree);
    EXPECT_EQ(&root->Tree(), &other);
    EXPECT_EQ(other.Count(), 2);
    EXPECT_EQ(tree.FindKey(QStringLiteral("x")), x);
    EXPECT_EQ(other.FindKey(QStringLiteral("Root")), root);
}
