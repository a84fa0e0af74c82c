#include "components/FieldCoding.h"
#include "components/NodeKeyIndex.h"
#include "components/TreeStore.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace keyholm;

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {
TreeStore& Store()
{
    return TreeStore::Instance();
}

// Everything a node holds, in display order, with its index.
QStringList Dump(const PasswordTree& tree)
{
    QStringList lines;
    for (const TreeNode* n = tree.TopLevel(0); n; n = tree.Next(n)) {
        int depth = 0;
        for (const TreeNode* p = n->Parent(); p; p = p->Parent())
            ++depth;
        lines << QStringList(
            { QString::number(n->Index()), QString::number(depth), n->Key(), n->Text(), n->Image(), n->SelectedImage(),
                n->Tag(), QString::number(n->BackColor(), 16), n->Sorted() ? "S" : "-", n->Expanded() ? "E" : "-" })
                     .join(QChar(0x1f));
    }
    return lines;
}

// The same without the indexes, which follow the file order after a load.
QStringList Shape(const PasswordTree& tree)
{
    QStringList lines = Dump(tree);
    for (QString& l : lines)
        l = l.section(QChar(0x1f), 1);
    return lines;
}

QStringList Texts(const PasswordTree& tree, const QList<int>& indexes)
{
    QStringList texts;
    for (int i : indexes)
        texts << tree.NodeAt(i)->Text();
    return texts;
}

// A small database: root, service nodes, two categories, entries with
// their details and a note.
class TreeStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto& s = Store();
        TreeNode* r = tree.Add(nullptr, "Root", "Ma base", "RootNot", "master]|[field");
        r->SetSelectedImage("Root");
        r->SetSorted(true);
        r->SetExpanded(true);
        root = "Root";
        info = s.AddNode(tree, root, " A propos de la Base", "InfoNot", "2024-01-01 10:00:00");
        s.AddNode(tree, info, "01/01/2024", "Create", "a]|[b", true, false);
        trash = s.AddNode(tree, root, " Corbeille", "TrashNot", "", true, false);
        bank = s.AddNode(tree, root, "Banque", "DirNot", "d]|[", true, true);
        web = s.AddNode(tree, root, "Web", "DirToolNot", "d]|[", true, true);
        sub = s.AddNode(tree, web, "Forums", "DirNot", "d]|[", true, true);
        gmail = AddEntry(web, "Gmail", "PasswordWebNot", true);
        AddEntry(web, "Yahoo", "PasswordNot", false);
        AddEntry(bank, "Compte courant", "PasswordNot", true);
        AddEntry(sub, "Gmail forum", "PasswordNot", false);
    }

    QString AddEntry(const QString& category, const QString& title, const QString& image, bool withDate)
    {
        auto& s = Store();
        const QString e = s.AddNode(tree, category, title, image, "c]|[m");
        s.AddNode(tree, e, "*****", "Login", "coded-login");
        s.AddNode(tree, e, "********", "Key", "coded-gmail-password");
        if (withDate)
            s.AddNode(tree, e, "lundi 1 janvier 2024", "Date", "2024-01-01");
        s.AddNode(tree, e, "https://mail." + title.toLower() + ".example", "Web",
            "https://mail." + title.toLower() + ".example");
        s.SaveNote(tree, "premier\nGmail second", e);
        return e;
    }

    TreeNode* Node(const QString& key) { return tree.FindKey(key); }

    PasswordTree tree;
    QString root, info, trash, bank, web, sub, gmail;
};
} // namespace

// --- Round trip -------------------------------------------------------------------

TEST_F(TreeStoreTest, RoundTripGivesBackEveryNodeExactly)
{
    // The awkward cases on top of the ordinary ones.
    TreeNode* odd = tree.FindKey(Store().AddNode(tree, root, QString(), "DirNot", QString(), false, true));
    const QString texts[] = {
        QString::fromUtf8("Zoë ÿ déjà"),
        QString::fromUtf8("日本語 🔑 emoji"),
        QStringLiteral("two\r\nlines\nand ]|[ fields ]|["),
        QString(QChar(0xdc00)) + "lone",
        QString(),
        QString(300, QChar('w')),
    };
    int colour = 0;
    for (const QString& t : texts) {
        TreeNode* n = tree.Add(odd, tree.NewKey(), t, QString::fromUtf8("Imagé"), t + "|" + t);
        n->SetBackColor(colour);
        colour = (colour * 7 + 0x123456) & 0xffffff;
    }
    odd->Child(0)->SetBackColor(0xffffff);
    tree.Add(nullptr, QString::fromUtf8("clé 2"), "second top level");
    // A move leaves a parent with a higher index than its child.
    ASSERT_TRUE(Store().MoveNode(tree, bank, sub, "Banque moved"));
    tree.FindKey(gmail)->SetBackColor(0x00c0ffee & 0xffffff);

    const QStringList before = Shape(tree);
    const QByteArray buffer = Store().SaveTree(tree);
    PasswordTree loaded;
    ASSERT_TRUE(Store().LoadTree(loaded, buffer));
    EXPECT_EQ(Shape(loaded), before);
    // A second round trip is byte for byte the same, indexes included.
    EXPECT_EQ(Store().SaveTree(loaded), buffer);
    const QStringList once = Dump(loaded);
    PasswordTree again;
    ASSERT_TRUE(Store().LoadTree(again, Store().SaveTree(loaded)));
    EXPECT_EQ(Dump(again), once);
    // Loaded keys keep working, and new keys avoid them.
    EXPECT_EQ(loaded.FindKey(gmail)->Text(), "Gmail");
    const QString fresh = Store().AddNode(loaded, root, "new", "DirNot", "");
    EXPECT_FALSE(fresh.isEmpty());
    EXPECT_EQ(once.filter(QChar(0x1f) + fresh + QChar(0x1f)).size(), 0);
}

TEST_F(TreeStoreTest, LoadedTreeStaysEditable)
{
    // A loaded tree shares one block among its child arrays; every kind of
    // change must still work on it.
    PasswordTree loaded;
    ASSERT_TRUE(Store().LoadTree(loaded, Store().SaveTree(tree)));
    auto& s = Store();
    for (int i = 0; i < 20; ++i)
        ASSERT_FALSE(s.AddNode(loaded, web, "Z" + QString::number(i), "PasswordNot", "").isEmpty());
    ASSERT_TRUE(s.SaveNote(loaded, "replaced\nnote", gmail));
    ASSERT_TRUE(s.MoveNode(loaded, sub, bank, "Forums"));
    ASSERT_TRUE(s.DeleteNode(loaded, info));
    ASSERT_TRUE(s.DeleteChildren(loaded, trash));
    loaded.FindKey(gmail)->SetText("AAA first");
    const TreeNode* w = loaded.FindKey(web);
    EXPECT_EQ(w->Child(0)->Text(), "AAA first");
    EXPECT_EQ(w->ChildCount(), 22);
    for (int i = 1; i <= loaded.Count(); ++i) {
        const TreeNode* n = loaded.NodeAt(i);
        ASSERT_EQ(n->Index(), i);
        for (int r = 0; r < n->ChildCount(); ++r)
            ASSERT_EQ(n->Child(r)->Row(), r);
    }
    EXPECT_EQ(s.LoadNote(loaded, gmail), "replaced\nnote");
    PasswordTree again;
    ASSERT_TRUE(s.LoadTree(again, s.SaveTree(loaded)));
    EXPECT_EQ(Shape(again), Shape(loaded));
}

TEST_F(TreeStoreTest, EmptyTreeRoundTrips)
{
    PasswordTree empty;
    ASSERT_TRUE(Store().LoadTree(tree, Store().SaveTree(empty)));
    EXPECT_TRUE(tree.IsEmpty());
}

TEST_F(TreeStoreTest, SavesToAndLoadsFromAFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("tree.bin");
    ASSERT_TRUE(Store().SaveTree(tree, path));
    PasswordTree loaded;
    ASSERT_TRUE(Store().LoadTree(loaded, path));
    EXPECT_EQ(Shape(loaded), Shape(tree));
    EXPECT_FALSE(Store().LoadTree(loaded, dir.filePath("missing.bin")));
    EXPECT_FALSE(Store().SaveTree(tree, dir.filePath("no/such/folder/tree.bin")));
}

// --- Malformed input ------------------------------------------------------------------

namespace {
QByteArray Varint(quint32 v)
{
    QByteArray out;
    while (v >= 0x80) {
        out += char((v & 0x7f) | 0x80);
        v >>= 7;
    }
    out += char(v);
    return out;
}
QByteArray Header(quint16 version = 1)
{
    return QByteArray("KHTREE") + char(version & 0xff) + char(version >> 8);
}
QByteArray Text(const QByteArray& latin1)
{
    return Varint(quint32(latin1.size()) << 1) + latin1;
}
// One node record: parent back-reference, flags, images, key, text, tag.
QByteArray Record(quint32 parent, quint8 flags, quint32 image, const QByteArray& key, const QByteArray& tail = {})
{
    return Varint(parent) + char(flags) + Varint(image) + Varint(0) + Text(key) + Text("t") + Text("") + tail;
}
// A top-level node without key whose tag is its empty text.
QByteArray ShortestRecord()
{
    return QByteArray("\0\x08\0\0\0\0", 6);
}
} // namespace

struct Malformed {
    const char* name;
    QByteArray buffer;
};

class LoadTreeRejects : public ::testing::TestWithParam<Malformed> { };

TEST_P(LoadTreeRejects, AndKeepsTheTreeAsItWas)
{
    PasswordTree tree;
    tree.Add(nullptr, "Root", "kept");
    EXPECT_FALSE(TreeStore::Instance().LoadTree(tree, GetParam().buffer));
    ASSERT_EQ(tree.Count(), 1);
    EXPECT_EQ(tree.Root()->Text(), "kept");
}

INSTANTIATE_TEST_SUITE_P(Cases, LoadTreeRejects,
    ::testing::Values(Malformed { "empty", QByteArray() },
        Malformed { "garbage", QByteArray("this is not a tree at all, only words") },
        Malformed { "magic_only", QByteArray("KHTREE") },
        Malformed { "unknown_version", Header(2) + Varint(0) + Varint(0) },
        Malformed { "version_zero", Header(0) + Varint(0) + Varint(0) },
        Malformed { "huge_node_count", Header() + Varint(0) + Varint(0xffffffffu) + Record(0, 0, 0, "a") },
        Malformed { "huge_image_count", Header() + Varint(0x7fffffffu) },
        Malformed { "huge_text", Header() + Varint(1) + Varint(0xfffffff0u) + "abc" },
        Malformed { "overlong_varint", Header() + QByteArray("\xff\xff\xff\xff\xff\x01", 6) },
        Malformed { "parent_ahead", Header() + Varint(0) + Varint(2) + Record(0, 0, 0, "a") + Record(2, 0, 0, "b") },
        Malformed { "first_node_with_parent", Header() + Varint(0) + Varint(1) + Record(1, 0, 0, "a") },
        Malformed { "unknown_flags", Header() + Varint(0) + Varint(1) + Record(0, 0x40, 0, "a") },
        Malformed { "image_out_of_range", Header() + Varint(1) + Text("Dir") + Varint(1) + Record(0, 0, 2, "a") },
        Malformed { "duplicate_keys", Header() + Varint(0) + Varint(2) + Record(0, 0, 0, "a") + Record(1, 0, 0, "a") },
        Malformed { "trailing_bytes", Header() + Varint(0) + Varint(1) + Record(0, 0, 0, "a") + "x" },
        Malformed { "missing_colour", Header() + Varint(0) + Varint(1) + Record(0, 4, 0, "a", "\x01") },
        // Records of six bytes read (see WellFormedRecordsLoad), but seven
        // of them are more nodes than 42 bytes may declare.
        Malformed {
            "more_nodes_than_the_bytes_allow", Header() + Varint(0) + Varint(7) + ShortestRecord().repeated(7) }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TreeStoreTest, EveryTruncationOfAValidBufferFails)
{
    const QByteArray buffer = Store().SaveTree(tree);
    const QStringList before = Dump(tree);
    for (qsizetype n = 0; n < buffer.size(); ++n)
        ASSERT_FALSE(Store().LoadTree(tree, buffer.left(n))) << "length " << n;
    EXPECT_EQ(Dump(tree), before);
}

TEST_F(TreeStoreTest, WellFormedRecordsLoad)
{
    // The hand-made records above are right apart from their one fault.
    PasswordTree t;
    const QByteArray ok = Header() + Varint(1) + Text("DirNot") + Varint(2) + Record(0, 3, 1, "a")
        + Record(1, 4, 0, "b", QByteArray("\x01\x02\x03", 3));
    ASSERT_TRUE(Store().LoadTree(t, ok));
    ASSERT_EQ(t.Count(), 2);
    EXPECT_EQ(t.Root()->Image(), "DirNot");
    EXPECT_TRUE(t.Root()->Sorted());
    EXPECT_TRUE(t.Root()->Expanded());
    EXPECT_EQ(t.NodeAt(2)->Parent(), t.Root());
    EXPECT_EQ(t.NodeAt(2)->BackColor(), 0x030201);

    ASSERT_TRUE(Store().LoadTree(t, Header() + Varint(0) + Varint(2) + ShortestRecord() + Record(0, 0, 0, "a")));
    EXPECT_EQ(t.Count(), 2);
}

// --- Forged keys -------------------------------------------------------------------

namespace {
// The key hash of earlier versions: FNV-1a over the code units, unseeded, so
// that keys could be crafted to share a slot.
constexpr std::uint64_t OldBasis = 14695981039346656037ull;
constexpr std::uint64_t OldPrime = 1099511628211ull; // 2^40 + 0x1b3

std::uint64_t OldState(QStringView key)
{
    std::uint64_t h = OldBasis;
    for (QChar c : key) {
        h ^= c.unicode();
        h *= OldPrime;
    }
    return h;
}

std::uint64_t OldKeyHash(QStringView key)
{
    const std::uint64_t h = OldState(key);
    return h ^ (h >> 29);
}

// Keys whose old hash has the same low 16 bits: with linear probing they all
// started at one slot of tables up to 65,536 slots. Each is a prefix and one
// code unit u solved for. With A the state after the prefix and v the low 16
// bits of A ^ u, the last state is F = (A - low16(A)) * P + v * P. Its low
// 16 bits are those of v * 0x1b3; its bits 29-44 are those of the first term,
// plus the carry of v * 0x1b3 (below 2^25), plus the low 5 bits of v at bit
// 40. Guessing that carry and those 5 bits gives v.
std::vector<QString> OldHashCollisions(std::size_t count, std::uint16_t target)
{
    std::uint16_t inverse = 0x1b3; // of 0x1b3 modulo 2^16, by Newton's steps
    for (int i = 0; i < 4; ++i)
        inverse = std::uint16_t(inverse * (2 - 0x1b3 * inverse));
    std::vector<QString> keys;
    for (int n = 0; keys.size() < count; ++n) {
        const QString prefix = QStringLiteral("f%1").arg(n);
        const std::uint64_t a = OldState(prefix);
        const std::uint64_t f0 = (a & ~std::uint64_t(0xffff)) * OldPrime;
        const std::uint64_t low29 = f0 & ((1u << 29) - 1);
        for (std::uint64_t carry = 0; carry < 2; ++carry) {
            for (std::uint64_t low5 = 0; low5 < 32; ++low5) {
                const auto high = std::uint16_t((f0 >> 29) + carry + (low5 << 11));
                const auto v = std::uint16_t((target ^ high) * inverse);
                if ((v & 31) != low5 || (low29 + v * 0x1b3ull) >> 29 != carry)
                    continue;
                const QString key = prefix + QChar(char16_t(v ^ std::uint16_t(a)));
                if (std::uint16_t(OldKeyHash(key)) == target && keys.size() < count)
                    keys.push_back(key);
            }
        }
    }
    return keys;
}

QByteArray WideText(const QString& text)
{
    QByteArray units(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return Varint(quint32(text.size()) << 1 | 1u) + units;
}

} // namespace

// Keys crafted to share one slot under the old hash must spread under the
// index's keyed hash, so that a forged file loads in linear time. Counted,
// not timed: 40,000 keys over 65,536 slots leave about 30,000 distinct low
// halves when the hash is sound, and one when it is the old one.
TEST(ForgedKeys, KeysCollidingUnderAFixedHashSpreadUnderTheIndexHash)
{
    constexpr std::size_t Count = 40000;
    const std::vector<QString> crafted = OldHashCollisions(Count, 0x5a5a);
    ASSERT_EQ(crafted.size(), Count);
    ASSERT_EQ(QSet<QString>(crafted.begin(), crafted.end()).size(), qsizetype(Count));

    QSet<std::uint16_t> oldSlots;
    QSet<std::uint16_t> slots;
    for (const QString& key : crafted) {
        oldSlots.insert(std::uint16_t(OldKeyHash(key)));
        slots.insert(std::uint16_t(keyindex::Hash(QStringView(key))));
    }
    EXPECT_EQ(oldSlots.size(), 1);
    EXPECT_GT(slots.size(), 25000);

    QByteArray forged = Header() + Varint(0) + Varint(Count);
    for (std::size_t i = 0; i < Count; ++i)
        forged += Varint(0) + char(0) + Varint(0) + Varint(0) + WideText(crafted[i]) + Text("t") + Text("");
    PasswordTree tree;
    ASSERT_TRUE(Store().LoadTree(tree, forged));
    ASSERT_EQ(tree.Count(), int(Count));
    EXPECT_EQ(tree.FindKey(crafted[Count / 2]), tree.NodeAt(Count / 2 + 1));
}

// --- Node work ----------------------------------------------------------------------

TEST_F(TreeStoreTest, AddNodeMakesKeysAndAppliesTheFlags)
{
    const QString key = Store().AddNode(tree, bank, "Livret", "DirNot", "t]|[", true, true);
    ASSERT_FALSE(key.isEmpty());
    const TreeNode* n = Node(key);
    EXPECT_EQ(n->Parent(), Node(bank));
    EXPECT_TRUE(n->Sorted());
    EXPECT_TRUE(n->Expanded());
    EXPECT_TRUE(n->SelectedImage().isEmpty());
    EXPECT_TRUE(Store().AddNode(tree, "nope", "x", "DirNot", "").isEmpty());
    EXPECT_NE(Store().AddNode(tree, bank, "Livret", "DirNot", ""), key);
}

TEST_F(TreeStoreTest, FindChildMatchesTheImageExactly)
{
    const int entry = Node(gmail)->Index();
    const int login = Store().FindChild(tree, entry, "Login");
    ASSERT_GT(login, 0);
    EXPECT_EQ(tree.NodeAt(login)->Image(), "Login");
    EXPECT_EQ(Store().FindChild(tree, entry, "Key"), Node(gmail)->Child(1)->Index());
    EXPECT_EQ(Store().FindChild(tree, entry, "key"), 0);
    EXPECT_EQ(Store().FindChild(tree, entry, "Log"), 0);
    EXPECT_EQ(Store().FindChild(tree, 1, "InfoNot"), Node(info)->Index());
    EXPECT_EQ(Store().FindChild(tree, 1, "Info"), 0);
    EXPECT_EQ(Store().FindChild(tree, 0, "InfoNot"), 0);

    Store().AddNode(tree, info, "Libellé", "Custom1", "0");
    const QString custom = Store().AddNode(tree, info, "Libellé", "Custom1", "1");
    EXPECT_EQ(Store().FindChildWithTag(tree, Node(info)->Index(), "Custom1", "1"), Node(custom)->Index());
    EXPECT_EQ(Store().FindChildWithTag(tree, Node(info)->Index(), "Custom1", "2"), 0);
}

TEST_F(TreeStoreTest, FindNodeKeyFindsTheTrashInAnyOfItsImages)
{
    for (const char* image : { "TrashNot", "Trash", "TrashKey", "TrashKeyNot" }) {
        Node(trash)->SetImage(image);
        EXPECT_EQ(Store().FindNodeKey(tree, root, "Trash"), trash) << image;
    }
    EXPECT_EQ(Store().FindNodeKey(tree, root, "Info"), info);
    // The nearest level wins over a look-alike deeper down.
    Store().AddNode(tree, sub, "fake", "InfoNot", "");
    EXPECT_EQ(Store().FindNodeKey(tree, root, "Info"), info);
    Store().DeleteNode(tree, trash);
    EXPECT_EQ(Store().FindNodeKey(tree, root, "Trash"), QString());
    EXPECT_EQ(Store().FindNodeKey(tree, "nope", "Info"), QString());
}

struct CountCase {
    const char* start; // "root", "web" or "trash"
    const char* image;
    bool partial;
    bool subtree;
    int expected;
};

class CountNodesTest : public TreeStoreTest, public ::testing::WithParamInterface<CountCase> { };

TEST_P(CountNodesTest, CountsBelowTheNode)
{
    const CountCase c = GetParam();
    const QString start = QString::fromLatin1(c.start);
    const QString key = start == "root" ? root : start == "web" ? web : trash;
    EXPECT_EQ(Store().CountNodes(tree, Node(key), c.image, c.partial, c.subtree), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, CountNodesTest,
    ::testing::Values(
        // Entries: "PasswordNot" and "PasswordWebNot" under a partial match.
        CountCase { "root", "Password", true, true, 4 }, CountCase { "root", "Password", false, true, 0 },
        CountCase { "root", "PasswordNot", false, true, 3 }, CountCase { "web", "Password", true, false, 2 },
        CountCase { "web", "Password", true, true, 3 },
        // "Key" exact leaves "DirKey"-like images out; partial takes them.
        CountCase { "root", "Key", false, true, 4 }, CountCase { "root", "Dir", true, true, 3 },
        CountCase { "root", "Dir", true, false, 2 }, CountCase { "root", "Date", true, true, 2 },
        CountCase { "root", "Note", false, true, 4 }, CountCase { "trash", "Password", true, true, 0 },
        CountCase { "root", "Root", false, true, 0 }));

TEST_F(TreeStoreTest, CountNodesOfNoNodeIsZero)
{
    EXPECT_EQ(Store().CountNodes(tree, nullptr, "Dir", true, true), 0);
}

TEST_F(TreeStoreTest, ChildByTextLooksAtOneLevel)
{
    EXPECT_EQ(Store().ChildIndexByText(tree, web, "Gmail"), Node(gmail)->Index());
    EXPECT_EQ(Store().ChildIndexByText(tree, web, "gmail"), 0) << "letter case counts by default";
    EXPECT_EQ(Store().ChildIndexByText(tree, web, "gmail", Qt::CaseInsensitive), Node(gmail)->Index());
    EXPECT_EQ(Store().ChildIndexByText(tree, web, "Gmail forum"), 0) << "grandchildren are not children";
    EXPECT_EQ(Store().ChildIndexByText(tree, web, "Gmai"), 0);
    EXPECT_EQ(Store().ChildKeyByText(tree, root, "banque"), bank) << "letter case ignored by default";
    EXPECT_EQ(Store().ChildKeyByText(tree, root, "banque", Qt::CaseSensitive), QString());
    EXPECT_EQ(Store().ChildKeyByText(tree, "nope", "Banque"), QString());
}

TEST_F(TreeStoreTest, ChildLabelNumbersTakenLabels)
{
    const TreeNode* w = Node(web);
    EXPECT_EQ(Store().ChildLabel(tree, w, "Hotmail"), "Hotmail");
    EXPECT_EQ(Store().ChildLabel(tree, w, "Gmail"), "Gmail (2)");
    Store().AddNode(tree, web, "Gmail (2)", "PasswordNot", "");
    Store().AddNode(tree, web, "Gmail (3)", "PasswordNot", "");
    EXPECT_EQ(Store().ChildLabel(tree, w, "Gmail"), "Gmail (4)");
    EXPECT_EQ(Store().ChildLabel(tree, w, "Gmail (2)"), "Gmail (4)");
    EXPECT_EQ(Store().ChildLabel(tree, w, "gmail"), "gmail") << "same as the duplicate check";
    EXPECT_EQ(Store().ChildLabel(tree, nullptr, "Gmail"), "Gmail");
}

TEST_F(TreeStoreTest, ChildLabelsGiveWhatChildLabelAndAddNodeWouldGiveOneByOne)
{
    Store().AddNode(tree, web, "Gmail (3)", "PasswordNot", "");
    const QStringList labels
        = { "Gmail", "Gmail", "Gmail (2)", "Gmail", "Gmail (3)", "Hotmail", "Hotmail", "gmail", "Gmail", "Gmail (9)" };
    PasswordTree copy;
    ASSERT_TRUE(Store().LoadTree(copy, Store().SaveTree(tree)));
    ChildLabels batch(tree, Node(web));
    for (const QString& label : labels) {
        const QString expected = Store().ChildLabel(copy, copy.FindKey(web), label);
        Store().AddNode(copy, web, expected, "PasswordNot", "");
        EXPECT_EQ(batch.Take(label), expected) << label.toStdString();
    }
}

TEST_F(TreeStoreTest, DeleteNodeTakesTheSubtreeAndRenumbers)
{
    const QString lastKey = Store().AddNode(tree, bank, "last", "PasswordNot", "");
    const int count = tree.Count();
    const int size = 1 + Store().CountNodes(tree, Node(web), "", true, true);
    ASSERT_EQ(Node(lastKey)->Index(), count);
    ASSERT_TRUE(Store().DeleteNode(tree, web));
    EXPECT_EQ(tree.Count(), count - size);
    EXPECT_EQ(Node(gmail), nullptr);
    EXPECT_EQ(Node(sub), nullptr);
    EXPECT_EQ(Node(lastKey)->Index(), count - size) << "later nodes move up";
    for (int i = 1; i <= tree.Count(); ++i)
        EXPECT_EQ(tree.NodeAt(i)->Index(), i);
    EXPECT_FALSE(Store().DeleteNode(tree, web));

    ASSERT_TRUE(Store().DeleteChildren(tree, bank));
    EXPECT_EQ(Node(bank)->ChildCount(), 0);
    EXPECT_TRUE(Store().DeleteChildren(tree, bank)) << "a node without children";
    EXPECT_FALSE(Store().DeleteChildren(tree, "nope"));
}

TEST_F(TreeStoreTest, MoveNodeRefusesCyclesAndRenames)
{
    EXPECT_FALSE(Store().MoveNode(tree, web, web, "x"));
    EXPECT_FALSE(Store().MoveNode(tree, web, sub, "x"));
    EXPECT_FALSE(Store().MoveNode(tree, root, sub, "x"));
    EXPECT_FALSE(Store().MoveNode(tree, web, "nope", "x"));
    EXPECT_FALSE(Store().MoveNode(tree, "nope", web, "x"));
    EXPECT_EQ(Node(web)->Text(), "Web");

    // An entry into the trash, with the text ChildLabel gives.
    const int index = Node(gmail)->Index();
    const QString text = Store().ChildLabel(tree, Node(trash), "Gmail");
    ASSERT_TRUE(Store().MoveNode(tree, gmail, trash, text));
    EXPECT_EQ(Node(gmail)->Parent(), Node(trash));
    EXPECT_EQ(Node(gmail)->Text(), "Gmail");
    EXPECT_EQ(Node(gmail)->Index(), index);
    EXPECT_EQ(Node(gmail)->ChildCount(), 5) << "details and note move along";
    // A category into another, at its sorted place and renamed.
    ASSERT_TRUE(Store().MoveNode(tree, bank, web, "Aaa banque"));
    EXPECT_EQ(Node(web)->Child(0), Node(bank));
    EXPECT_EQ(Node(bank)->Text(), "Aaa banque");
}

TEST_F(TreeStoreTest, NotesKeepTheirLines)
{
    const QString texts[] = {
        QStringLiteral("one line"),
        QStringLiteral("first\nsecond\nthird"),
        QStringLiteral("blank\n\nline and trailing break\n"),
        QString::fromUtf8("accents: é ü, ]|[ and 🔑"),
    };
    for (const QString& t : texts) {
        ASSERT_TRUE(Store().SaveNote(tree, t, gmail));
        EXPECT_EQ(Store().LoadNote(tree, gmail), t);
    }
    // Windows and old Mac line breaks become "\n".
    ASSERT_TRUE(Store().SaveNote(tree, "a\r\nb\rc", gmail));
    EXPECT_EQ(Store().LoadNote(tree, gmail), "a\nb\nc");
    // One "Note" child with one "Quote" child per line.
    const TreeNode* entry = Node(gmail);
    ASSERT_EQ(Store().CountNodes(tree, entry, "Note", false, false), 1);
    const TreeNode* note = entry->Child(entry->ChildCount() - 1);
    EXPECT_EQ(note->Image(), "Note");
    EXPECT_EQ(note->Text(), "Note");
    EXPECT_EQ(Store().CountNodes(tree, note, "Quote", false, false), 3);

    ASSERT_TRUE(Store().SaveNote(tree, QString(), gmail));
    EXPECT_EQ(Store().CountNodes(tree, entry, "Note", false, false), 0);
    EXPECT_EQ(Store().LoadNote(tree, gmail), QString());
    EXPECT_FALSE(Store().SaveNote(tree, "x", "nope"));
    EXPECT_EQ(Store().LoadNote(tree, "nope"), QString());
}

struct SearchCase {
    const char* text;
    bool subtree;
    Qt::CaseSensitivity cs;
    bool firstOnly;
    QStringList expected;
};

class SearchTextTest : public TreeStoreTest, public ::testing::WithParamInterface<SearchCase> { };

TEST_P(SearchTextTest, MatchesPartOfTheTexts)
{
    const SearchCase c = GetParam();
    const auto found = Store().SearchText(tree, web, QString::fromUtf8(c.text), c.subtree, c.cs, c.firstOnly);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(Texts(tree, *found), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SearchTextTest,
    ::testing::Values(
        // Whole branch, display order: the entries, their web details and
        // note lines, the sub-category's entry.
        SearchCase { "gmail", true, Qt::CaseInsensitive, false,
            { "Gmail forum", "https://mail.gmail forum.example", "Gmail second", "Gmail", "https://mail.gmail.example",
                "Gmail second", "Gmail second" } },
        SearchCase { "gmail", true, Qt::CaseSensitive, false,
            { "https://mail.gmail forum.example", "https://mail.gmail.example" } },
        SearchCase { "gmail", false, Qt::CaseInsensitive, false, { "Gmail" } },
        SearchCase { "gmail", true, Qt::CaseInsensitive, true, { "Gmail forum" } },
        SearchCase { "GMAIL", true, Qt::CaseInsensitive, true, { "Gmail forum" } },
        SearchCase { "web", false, Qt::CaseInsensitive, false, { "Web" } },
        SearchCase { "*", true, Qt::CaseInsensitive, false, {} },
        SearchCase { "zzz", true, Qt::CaseSensitive, false, {} }));

TEST_F(TreeStoreTest, SearchTextFoldsAccentedLettersCase)
{
    Store().AddNode(tree, web, QString::fromUtf8("ÉCOLE Zoë"), "PasswordNot", "");
    const auto found = Store().SearchText(tree, web, QString::fromUtf8("école zoË"), false, Qt::CaseInsensitive, false);
    ASSERT_TRUE(found);
    EXPECT_EQ(Texts(tree, *found), QStringList({ QString::fromUtf8("ÉCOLE Zoë") }));
}

// The first result lies below the start node unless only the start node
// matches; accents may be left aside; a login is matched by its value.
TEST_F(TreeStoreTest, SearchTextFirstBelowTheStartAccentsAndLogins)
{
    const auto first = [&](const QString& start, const char* text, bool accents = false, bool logins = false) {
        const auto found = Store().SearchText(
            tree, start, QString::fromUtf8(text), true, Qt::CaseInsensitive, true, accents, logins);
        return found && !found->isEmpty() ? Node(start) == tree.NodeAt(found->first()) ? QString("start")
                                                                                        : tree.NodeAt(found->first())->Text()
                                          : QString();
    };
    EXPECT_EQ(first(web, "mail"), "Gmail forum") << "below the start first";
    EXPECT_EQ(first(web, "web"), "start") << "the start when only it matches";
    Store().AddNode(tree, web, QString::fromUtf8("Société Générale"), "PasswordNot", "");
    EXPECT_EQ(first(web, "societe"), QString());
    EXPECT_EQ(first(web, "societe", true), QString::fromUtf8("Société Générale"));
    EXPECT_EQ(first(web, "SOCIÉTÉ", true), QString::fromUtf8("Société Générale"));

    const QString entry = AddEntry(bank, "Courrier", "PasswordNot", false);
    Node(entry)->Child(0)->SetTag(CodeField("anne@exemple.fr"));
    EXPECT_EQ(first(bank, "anne@"), QString()) << "a login shows a mask";
    EXPECT_EQ(first(bank, "anne@", false, true), "*****") << "its value is searched, never shown";
}

TEST_F(TreeStoreTest, SearchTextRunsOnlyWithAStartAndAText)
{
    EXPECT_FALSE(Store().SearchText(tree, "nope", "a", true, Qt::CaseInsensitive, false));
    EXPECT_FALSE(Store().SearchText(tree, web, "", true, Qt::CaseInsensitive, false));
    const auto none = Store().SearchText(tree, root, "no such text", true, Qt::CaseInsensitive, false);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
}

TEST_F(TreeStoreTest, SearchKindListsTheDatesBelowTheStart)
{
    const auto all = Store().SearchKind(tree, root, "Date");
    ASSERT_TRUE(all);
    ASSERT_EQ(all->size(), 2);
    // Display order: "Banque" before "Web".
    EXPECT_EQ(tree.NodeAt(all->at(0))->Parent()->Text(), "Compte courant");
    EXPECT_EQ(tree.NodeAt(all->at(1))->Parent()->Text(), "Gmail");
    const auto inWeb = Store().SearchKind(tree, web, "Date");
    ASSERT_TRUE(inWeb);
    EXPECT_EQ(inWeb->size(), 1);
    EXPECT_FALSE(Store().SearchKind(tree, "nope", "Date"));
}
