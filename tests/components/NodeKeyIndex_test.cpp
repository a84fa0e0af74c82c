#include "components/NodeKeyIndex.h"

#include <QString>

#include <gtest/gtest.h>

#include <deque>
#include <vector>

using namespace keyholm;

namespace {
// The index needs nothing of a node but its key.
struct Item {
    explicit Item(PackedText k)
        : key(std::move(k))
    {
    }
    PackedText key;
    const PackedText& KeyData() const { return key; }
};

class NodeKeyIndexTest : public ::testing::Test {
protected:
    Item* Make(const QString& key) { return &items.emplace_back(PackedText(key)); }
    // The same key in its UTF-16 form, as a load may give a Latin-1 text.
    Item* MakeWide(const QString& key)
    {
        std::vector<char>& block = blocks.emplace_back(PackedText::BlockHeader + std::size_t(key.size()) * 2);
        const std::uint32_t header = std::uint32_t(key.size()) << 1 | 1u;
        std::memcpy(block.data(), &header, sizeof header);
        std::memcpy(block.data() + PackedText::BlockHeader, key.utf16(), std::size_t(key.size()) * 2);
        return &items.emplace_back(PackedText::Borrow(block.data()));
    }

    std::deque<std::vector<char>> blocks;
    std::deque<Item> items;
    NodeKeyIndex<Item> index;
};
} // namespace

TEST_F(NodeKeyIndexTest, FindsEveryKindOfKeyAndRefusesTakenOnes)
{
    // Made keys go to the direct table, a made key far beyond the key count
    // and every other key to the hash; a key longer than the short buffer
    // of the hash is hashed from a copy.
    const QString keys[]
        = { "k1", "kzz", "kzzzzzz", "Root", "k01", "K1", QString::fromUtf8("clé 日本"), QString(40, QChar('x')) };
    std::vector<Item*> added;
    for (const QString& key : keys) {
        added.push_back(Make(key));
        ASSERT_TRUE(index.Insert(added.back())) << qPrintable(key);
    }
    for (std::size_t i = 0; i < added.size(); ++i) {
        EXPECT_EQ(index.Find(keys[i]), added[i]) << qPrintable(keys[i]);
        EXPECT_FALSE(index.Insert(Make(keys[i]))) << qPrintable(keys[i]) << " is taken";
    }
    EXPECT_EQ(index.Count(), added.size());
    // Empty keys are allowed and never found.
    EXPECT_TRUE(index.Insert(Make(QString())));
    EXPECT_EQ(index.Find(u""), nullptr);
    EXPECT_EQ(index.Find(u"k2"), nullptr);
    EXPECT_EQ(index.Count(), added.size());
}

TEST_F(NodeKeyIndexTest, LatinOneAndWideFormsAreTheSameKey)
{
    for (const QString& key : { QString("Root"), QString("k12"), QString(70, QChar('w')) }) {
        Item* wide = MakeWide(key);
        ASSERT_TRUE(index.Insert(wide)) << qPrintable(key);
        EXPECT_EQ(index.Find(key), wide) << qPrintable(key);
        EXPECT_FALSE(index.Insert(Make(key))) << qPrintable(key);
    }
}

TEST_F(NodeKeyIndexTest, ErasingKeepsEveryOtherKeyFindable)
{
    // Enough keys to grow the hash several times; its deletions shift the
    // probe chains back.
    std::vector<Item*> all;
    for (int i = 0; i < 5000; ++i) {
        all.push_back(Make(i % 2 ? QStringLiteral("key-%1").arg(i) : index.NewKey()));
        ASSERT_TRUE(index.Insert(all.back()));
    }
    for (std::size_t i = 0; i < all.size(); i += 3)
        index.Erase(all[i]);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const QString key = all[i]->key.ToString();
        EXPECT_EQ(index.Find(key), i % 3 ? all[i] : nullptr) << qPrintable(key);
    }
    EXPECT_EQ(index.Count(), all.size() - (all.size() + 2) / 3);
    // An erased key is free again.
    EXPECT_TRUE(index.Insert(Make(all[0]->key.ToString())));
    EXPECT_TRUE(index.Insert(Make(all[3]->key.ToString())));
}

TEST_F(NodeKeyIndexTest, MadeKeysStayUniqueWhereverTheyWent)
{
    // With few keys, a large made number goes to the hash; once the key
    // count lets the direct table reach it, it must still be found there.
    const QString large = keyindex::GeneratedKey(5000);
    Item* first = Make(large);
    ASSERT_TRUE(index.Insert(first));
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(index.Insert(Make(QStringLiteral("other-%1").arg(i))));
    EXPECT_FALSE(index.Insert(Make(large)));
    EXPECT_EQ(index.Find(large), first);
    index.Erase(first);
    EXPECT_EQ(index.Find(large), nullptr);
    EXPECT_TRUE(index.Insert(Make(large)));
}

TEST_F(NodeKeyIndexTest, NewKeysAreShortAndFollowTheLargestMadeKey)
{
    ASSERT_TRUE(index.Insert(Make("k5")));
    ASSERT_TRUE(index.Insert(Make("kz")));
    EXPECT_EQ(index.NewKey(), "k10");
    for (int i = 0; i < 100; ++i) {
        const QString key = index.NewKey();
        EXPECT_EQ(index.Find(key), nullptr) << qPrintable(key);
        EXPECT_LE(key.size(), 7) << "keys fit the inline text";
        ASSERT_TRUE(index.Insert(Make(key)));
    }
}

TEST(GeneratedKeys, NumbersAndKeysMatchOneToOne)
{
    const struct {
        const char* key;
        std::uint64_t number;
    } cases[] = {
        { "k1", 1 },
        { "kz", 35 },
        { "k10", 36 },
        { "kzzzzzzzzzzzz", 4738381338321616895ull },
        // Not made by NewKey.
        { "k0", 0 },
        { "k01", 0 },
        { "K1", 0 },
        { "k", 0 },
        { "kA", 0 },
        { "k1-", 0 },
        { "k1zzzzzzzzzzzz", 0 },
        { "", 0 },
    };
    for (const auto& c : cases) {
        const QString key = QString::fromLatin1(c.key);
        EXPECT_EQ(keyindex::GeneratedNumber(QStringView(key)), c.number) << c.key;
        EXPECT_EQ(keyindex::GeneratedNumber(QLatin1StringView(c.key)), c.number) << c.key;
        if (c.number) {
            EXPECT_EQ(keyindex::GeneratedKey(c.number), key);
        }
    }
}
