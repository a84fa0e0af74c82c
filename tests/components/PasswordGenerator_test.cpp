// Passwords and passphrases drawn to the user's choice, their entropy, the
// word list reading and the strength estimate.

#include "components/PasswordGenerator.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace keyholm {
namespace {

GeneratorOptions Characters(int length, bool capitals, bool smalls, bool digits, bool signs, bool lookAlikes)
{
    GeneratorOptions options;
    options.length = length;
    options.capitals = capitals;
    options.smalls = smalls;
    options.digits = digits;
    options.signs = signs;
    options.excludeLookAlikes = lookAlikes;
    return options;
}

TEST(PasswordGenerator, DrawsTheLengthAndEveryChosenClassOnly)
{
    struct Case {
        GeneratorOptions options;
        int length; // as drawn, after the bounds
        qsizetype alphabet;
        double bits; // entropy, to a tenth of a bit
    };
    const Case cases[] = {
        { Characters(20, true, true, true, true, true), 20, 24 + 25 + 8 + 14, 122.8 },
        { Characters(20, true, true, true, true, false), 20, 26 + 26 + 10 + 14, 124.8 },
        { Characters(8, false, false, true, false, false), 8, 10, 26.6 },
        { Characters(3, true, false, true, false, true), 8, 24 + 8, 39.8 },
        { Characters(500, false, true, false, false, false), 128, 26, 601.6 },
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(row++);
        const QString alphabet = PasswordGenerator::Alphabet(c.options);
        EXPECT_EQ(alphabet.size(), c.alphabet);
        EXPECT_NEAR(PasswordGenerator::EntropyBits(c.options, 0), c.bits, 0.1);
        QSet<QString> seen;
        for (int draw = 0; draw < 50; ++draw) {
            const QString password = PasswordGenerator::Generate(c.options, {});
            ASSERT_EQ(password.size(), c.length);
            for (QChar ch : password)
                ASSERT_TRUE(alphabet.contains(ch)) << password.toStdString();
            if (c.options.capitals) {
                EXPECT_TRUE(password.contains(QRegularExpression("[A-Z]")));
            }
            if (c.options.digits) {
                EXPECT_TRUE(password.contains(QRegularExpression("[0-9]")));
            }
            if (c.options.excludeLookAlikes) {
                EXPECT_FALSE(password.contains(QRegularExpression("[IOl01]"))) << password.toStdString();
            }
            seen.insert(password);
        }
        EXPECT_EQ(seen.size(), 50);
    }
    EXPECT_TRUE(PasswordGenerator::Generate(Characters(20, false, false, false, false, true), {}).isEmpty());
}

TEST(PasswordGenerator, PassphrasesJoinWordsOfTheList)
{
    const QStringList words = PasswordGenerator::ReadWordList("arbre\n\n  bateau \r\n# note\narbre\nchâteau\ndune\n");
    EXPECT_EQ(words, QStringList({ "arbre", "bateau", "château", "dune" }));
    GeneratorOptions options;
    options.passphrase = true;
    options.words = 5;
    options.separator = " ";
    const QStringList drawn = PasswordGenerator::Generate(options, words).split(' ');
    ASSERT_EQ(drawn.size(), 5);
    for (const QString& word : drawn)
        EXPECT_TRUE(words.contains(word));
    EXPECT_DOUBLE_EQ(PasswordGenerator::EntropyBits(options, 4), 10.0);
    EXPECT_TRUE(PasswordGenerator::Generate(options, {}).isEmpty());
}

TEST(PasswordGenerator, IndexesAreDrawnEvenly)
{
    // 61 does not divide 256: the bytes past 244 must not favour the first indexes.
    std::vector<unsigned char> drawn(61 * 2000);
    PasswordGenerator::DrawIndexes(drawn, 61);
    std::map<int, int> counts;
    for (unsigned char index : drawn)
        ++counts[index];
    ASSERT_EQ(counts.size(), 61u);
    EXPECT_EQ(counts.rbegin()->first, 60);
    for (const auto& [index, count] : counts)
        EXPECT_NEAR(count, 2000, 250) << index;
}

TEST(PasswordStrength, GrowsWithWhatAGuesserMustTry)
{
    struct Case {
        QString password;
        int lowest;
        int highest;
    };
    const Case cases[] = {
        { "password", 0, 0 },
        { "azerty123", 0, 1 },
        { "Tr0ub4dor&3", 2, 2 },
        { "abeille-crayon-moulin-tapis-sucre-jardin", 4, 4 },
    };
    for (const Case& c : cases) {
        const PasswordStrength strength = PasswordStrength::Of(c.password);
        EXPECT_GE(strength.level, c.lowest) << c.password.toStdString();
        EXPECT_LE(strength.level, c.highest) << c.password.toStdString();
    }
    EXPECT_EQ(PasswordStrength::Of(QString()).level, 0);
    const QStringList words = { "très faible", "faible", "moyen", "fort", "très fort" };
    for (int level = 0; level < 5; ++level)
        EXPECT_EQ(PasswordStrength::Word(level), words[level]);
}

} // namespace
} // namespace keyholm
