#include "components/CipherEngine.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace keyholm;
using Status = CipherEngine::FileStatus;

namespace {
const QString KeyText = QStringLiteral("OrvaLineQuest");
const QString Numeric = QStringLiteral("31415926");
// The cheapest Argon2id libsodium allows, so that tests can derive often.
const FileKey::Params Cheap {1, 8192};

CipherEngine& Engine() { return CipherEngine::Instance(); }

QByteArray Pattern(int size, int seed = 1)
{
    QByteArray data(size, Qt::Uninitialized);
    std::mt19937 random(seed);
    for (char& c : data)
        c = char(random());
    return data;
}

FileKey MakeKey(const QString& password)
{
    auto key = Engine().MakeFileKey(KeyText, Numeric, password, Cheap);
    EXPECT_TRUE(key.has_value());
    return std::move(*key);
}

bool OnlyBase64Url(const QString& text)
{
    static const QRegularExpression alphabet(QStringLiteral("^[A-Za-z0-9_-]*$"));
    return alphabet.match(text).hasMatch();
}
} // namespace

// ---- field coding ----

class FieldCoding : public ::testing::TestWithParam<const char*> {};

TEST_P(FieldCoding, IsDeterministicExactAndTagSafe)
{
    const QString text = QString::fromUtf8(GetParam());
    const QString coded = Engine().CodeText(text, KeyText, Numeric);
    ASSERT_FALSE(coded.isEmpty());
    EXPECT_EQ(Engine().CodeText(text, KeyText, Numeric), coded);
    EXPECT_EQ(Engine().DecodeText(coded, KeyText, Numeric), text);
    EXPECT_FALSE(coded.contains(QStringLiteral("]|[")));
    EXPECT_TRUE(OnlyBase64Url(coded)) << coded.toStdString();
    // Another key text or numeric text neither decodes it nor codes alike.
    EXPECT_TRUE(Engine().DecodeText(coded, QStringLiteral("OrvaLineQuesT"), Numeric).isEmpty());
    EXPECT_TRUE(Engine().DecodeText(coded, KeyText, QStringLiteral("31415927")).isEmpty());
    EXPECT_NE(Engine().CodeText(text, KeyText, QStringLiteral("31415927")), coded);
}

INSTANTIATE_TEST_SUITE_P(Texts, FieldCoding,
    ::testing::Values("a", "secret", " padded password ", "]|[", "a]|[b]|[c", "Mot de passe accentué àéèçœ€",
        "日本語のパスワード", "emoji 🔑🗝", "tab\tnew\nline\r\n", "\x01\x7f control",
        "0123456789012345678901234567890123456789012345678901234567890123456789"));

TEST(FieldCodingEdges, EmptyStaysEmptyAndNeighboursDiffer)
{
    EXPECT_TRUE(Engine().CodeText(QString(), KeyText, Numeric).isEmpty());
    EXPECT_TRUE(Engine().DecodeText(QString(), KeyText, Numeric).isEmpty());

    QSet<QString> seen;
    const QStringList texts {"a", "b", "A", "a ", " a", "aa", "ab", "ba", "abc", "abd"};
    for (const QString& t : texts)
        seen.insert(Engine().CodeText(t, KeyText, Numeric));
    EXPECT_EQ(seen.size(), texts.size());

    // A long text (a whole note) still round-trips.
    const QString longText = QString(QStringLiteral("Une note assez longue ]|[ ")).repeated(4000);
    EXPECT_EQ(Engine().DecodeText(Engine().CodeText(longText, KeyText, Numeric), KeyText, Numeric), longText);
}

TEST(FieldCodingEdges, DamagedCodedTextDecodesToEmpty)
{
    const QString text = QStringLiteral("hunter2");
    const QString coded = Engine().CodeText(text, KeyText, Numeric);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_");
    for (int i = 0; i < coded.size(); ++i) {
        QString damaged = coded;
        damaged[i] = alphabet[(alphabet.indexOf(coded[i]) + 17) % alphabet.size()];
        EXPECT_TRUE(Engine().DecodeText(damaged, KeyText, Numeric).isEmpty()) << "position " << i;
    }
    for (int length = 0; length < coded.size(); ++length)
        EXPECT_TRUE(Engine().DecodeText(coded.left(length), KeyText, Numeric).isEmpty()) << "length " << length;
    for (const QString& foreign : {coded + QStringLiteral("A"), coded + QStringLiteral("="), QStringLiteral("hunter2"),
             QStringLiteral("]|["), QStringLiteral(" ") + coded, coded.left(10) + QStringLiteral("é") + coded.mid(11)})
        EXPECT_TRUE(Engine().DecodeText(foreign, KeyText, Numeric).isEmpty()) << foreign.toStdString();
}

// ---- file container ----

struct RoundTrip {
    const char* name;
    const char* password;
    int size;
};

class FileContainer : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(FileContainer, RoundTripsAndKeepsItsKeyForTheNextSave)
{
    const RoundTrip c = GetParam();
    const QString password = QString::fromUtf8(c.password);
    const QByteArray plain = Pattern(c.size);
    const FileKey key = MakeKey(password);
    EXPECT_EQ(key.IsProtected(), !password.isEmpty());

    const QByteArray container = Engine().CodeFile(plain, key);
    ASSERT_EQ(container.size(), plain.size() + CipherEngine::HeaderSize + CipherEngine::TagSize);
    if (c.size >= 64) {
        EXPECT_EQ(container.indexOf(plain.left(32)), -1) << "plain bytes in the container";
    }

    const CipherEngine::FileHeader header = Engine().InspectFile(container);
    EXPECT_EQ(header.status, Status::Ok);
    EXPECT_EQ(header.version, CipherEngine::FormatVersion);
    EXPECT_EQ(header.isProtected, !password.isEmpty());
    if (header.isProtected) {
        EXPECT_EQ(header.params, Cheap);
    }

    CipherEngine::DecodedFile opened = Engine().DecodeFile(container, KeyText, Numeric, password);
    ASSERT_EQ(opened.status, Status::Ok);
    EXPECT_EQ(opened.plain, plain);
    ASSERT_TRUE(opened.key.has_value());

    // The kept key saves again without a new derivation: same salt, fresh
    // nonce, and the password still opens the new file.
    const QByteArray changed = Pattern(c.size + 7, 2);
    const QByteArray again = Engine().CodeFile(changed, *opened.key);
    EXPECT_EQ(again.mid(24, 16), container.mid(24, 16));
    EXPECT_NE(again.mid(40, 24), container.mid(40, 24));
    EXPECT_EQ(Engine().DecodeFile(again, KeyText, Numeric, password).plain, changed);
    EXPECT_EQ(Engine().DecodeFile(again, key).plain, changed);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileContainer,
    ::testing::Values(RoundTrip {"Obfuscated", "", 1000}, RoundTrip {"ObfuscatedEmpty", "", 0},
        RoundTrip {"Protected", "correct horse", 1000}, RoundTrip {"ProtectedEmpty", "x", 0},
        RoundTrip {"ProtectedLarge", "mot de passe é", 3 << 20}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileContainerKeys, WrongPasswordOrForeignKeyIsWrongKey)
{
    const FileKey key = MakeKey(QStringLiteral("right"));
    const QByteArray container = Engine().CodeFile(Pattern(500), key);
    for (const QString& wrong : {QStringLiteral("Right"), QStringLiteral("right "), QStringLiteral("righ"), QString()}) {
        const auto decoded = Engine().DecodeFile(container, KeyText, Numeric, wrong);
        EXPECT_EQ(decoded.status, Status::WrongKey) << wrong.toStdString();
        EXPECT_TRUE(decoded.plain.isEmpty());
        EXPECT_FALSE(decoded.key.has_value());
    }
    // Same password, another file's salt.
    EXPECT_EQ(Engine().DecodeFile(container, MakeKey(QStringLiteral("right"))).status, Status::WrongKey);
    // A file without master password is not opened by a protected key, and
    // the key text of the program matters too.
    const QByteArray open = Engine().CodeFile(Pattern(500), MakeKey(QString()));
    EXPECT_EQ(Engine().DecodeFile(open, key).status, Status::WrongKey);
    EXPECT_EQ(Engine().DecodeFile(open, QStringLiteral("other"), Numeric, QString()).status, Status::WrongKey);
    EXPECT_EQ(Engine().DecodeFile(open, KeyText, Numeric, QStringLiteral("ignored")).status, Status::Ok);
}

TEST(FileContainerKeys, ModerateParametersAreTheDefault)
{
    const FileKey::Params moderate = FileKey::Params::Moderate();
    EXPECT_EQ(moderate.opsLimit, 3u);
    EXPECT_EQ(moderate.memLimit, quint64(256) << 20);
    // Parameters a header could never carry are refused up front.
    EXPECT_FALSE(Engine().MakeFileKey(KeyText, Numeric, QStringLiteral("p"), {0, 8192}).has_value());
    EXPECT_FALSE(Engine().MakeFileKey(KeyText, Numeric, QStringLiteral("p"), {1, quint64(8) << 30}).has_value());
}

class DamagedContainer : public ::testing::TestWithParam<const char*> {};

TEST_P(DamagedContainer, AnyFlippedByteOrCutFails)
{
    const QString password = QString::fromUtf8(GetParam());
    const FileKey key = MakeKey(password);
    const QByteArray container = Engine().CodeFile(Pattern(100), key);
    for (int i = 0; i < container.size(); ++i) {
        for (const char flip : {char(0x01), char(0x80)}) {
            QByteArray damaged = container;
            damaged[i] = char(damaged[i] ^ flip);
            const auto decoded = Engine().DecodeFile(damaged, KeyText, Numeric, password);
            if (i >= 64 && i < CipherEngine::HeaderSize) {
                // The key check alone is hurt: the rest of the header, which
                // the AEAD authenticates, shows the key is right.
                EXPECT_EQ(decoded.status, Status::Ok) << "byte " << i;
                EXPECT_TRUE(decoded.checkDamaged) << "byte " << i;
                EXPECT_EQ(decoded.plain, Pattern(100)) << "byte " << i;
                EXPECT_EQ(Engine().DecodeFile(damaged, key).status, Status::Ok) << "byte " << i;
                continue;
            }
            ASSERT_NE(decoded.status, Status::Ok) << "byte " << i;
            EXPECT_TRUE(decoded.plain.isEmpty());
            // Damage where the key comes from (flags, parameters, salt, key
            // check) may read as a wrong key; everywhere else it is told apart.
            if (i < 8) {
                EXPECT_EQ(decoded.status, Status::NotKeyholmFile) << "byte " << i;
            } else if ((i >= 40 && i < 64) || i >= CipherEngine::HeaderSize) {
                EXPECT_EQ(decoded.status, Status::Damaged) << "byte " << i;
            }
            EXPECT_NE(Engine().DecodeFile(damaged, key).status, Status::Ok) << "byte " << i;
        }
    }
    for (int length = 0; length < container.size(); ++length) {
        const auto decoded = Engine().DecodeFile(container.left(length), KeyText, Numeric, password);
        ASSERT_NE(decoded.status, Status::Ok) << "length " << length;
        EXPECT_EQ(decoded.status, length < 8 ? Status::NotKeyholmFile : Status::Damaged) << "length " << length;
        EXPECT_NE(Engine().DecodeFile(container.left(length), key).status, Status::Ok);
    }
    // Bytes added at the end are damage as well.
    EXPECT_EQ(Engine().DecodeFile(container + QByteArray(1, '\0'), key).status, Status::Damaged);
}

INSTANTIATE_TEST_SUITE_P(Keys, DamagedContainer, ::testing::Values("", "secret"));

TEST(DamagedContainerInput, RandomAndHostileInputFailsCleanly)
{
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const QByteArray junk = Pattern(int(random() % 600), round);
        EXPECT_EQ(Engine().DecodeFile(junk, KeyText, Numeric, QStringLiteral("p")).status, Status::NotKeyholmFile);
        // Behind a correct magic and version, junk is damage or a wrong key.
        const QByteArray forged = Engine().CodeFile(QByteArray(), MakeKey(QString())).left(10) + junk;
        const Status status = Engine().DecodeFile(forged, KeyText, Numeric, QStringLiteral("p")).status;
        EXPECT_TRUE(status == Status::Damaged || status == Status::WrongKey) << int(status);
    }
    // A header asking for more work than any Keyholm writes is refused
    // without running the derivation.
    QByteArray container = Engine().CodeFile(Pattern(50), MakeKey(QStringLiteral("p")));
    QByteArray greedy = container;
    greedy[23] = char(0x7f); // memory limit near 2^63 bytes
    EXPECT_EQ(Engine().InspectFile(greedy).status, Status::Damaged);
    QByteArray slow = container;
    slow[15] = char(0x40); // passes near 2^30
    EXPECT_EQ(Engine().DecodeFile(slow, KeyText, Numeric, QStringLiteral("p")).status, Status::Damaged);
    QByteArray newer = container;
    newer[8] = char(CipherEngine::FormatVersion + 1);
    EXPECT_EQ(Engine().DecodeFile(newer, KeyText, Numeric, QStringLiteral("p")).status, Status::NewerVersion);
    EXPECT_EQ(Engine().InspectFile(QByteArray("Keyholm")).status, Status::NotKeyholmFile);
}

// ---- generators ----

namespace {
// log2 of the number of passwords of `length` over the classes' signs that
// hold at least one sign of each class.
double EntropyBits(const QList<int>& classSizes, int length)
{
    int all = 0;
    for (int s : classSizes)
        all += s;
    double share = 0;
    const int n = int(classSizes.size());
    for (int subset = 0; subset < (1 << n); ++subset) {
        int missing = 0;
        int bits = 0;
        for (int c = 0; c < n; ++c) {
            if (subset & (1 << c)) {
                missing += classSizes[c];
                ++bits;
            }
        }
        share += (bits % 2 ? -1.0 : 1.0) * std::pow(double(all - missing) / all, length);
    }
    return length * std::log2(double(all)) + std::log2(share);
}
} // namespace

TEST(Generators, PasswordsDifferAndCarryEightyBits)
{
    const QString alphabet = CipherEngine::PasswordAlphabet();
    QSet<QChar> signs(alphabet.begin(), alphabet.end());
    ASSERT_EQ(signs.size(), alphabet.size()) << "repeated signs would skew the draw";
    for (const QChar c : QStringLiteral("0O1lI;\"']|[ *+&=#%"))
        EXPECT_FALSE(signs.contains(c)) << QString(c).toStdString();

    QSet<QString> seen;
    QSet<QChar> used;
    int upper = 0, lower = 0, digit = 0, other = 0;
    for (const QChar c : alphabet)
        (c.isUpper() ? upper : c.isLower() ? lower : c.isDigit() ? digit : other)++;
    for (int i = 0; i < 2000; ++i) {
        const QString password = Engine().GeneratePassword(6, 6);
        ASSERT_GE(password.size(), CipherEngine::MinimumPasswordLength());
        EXPECT_GE(EntropyBits({upper, lower, digit, other}, int(password.size())), 80.0);
        bool hasUpper = false, hasLower = false, hasDigit = false, hasOther = false;
        for (const QChar c : password) {
            ASSERT_TRUE(signs.contains(c)) << password.toStdString();
            used.insert(c);
            hasUpper |= c.isUpper();
            hasLower |= c.isLower();
            hasDigit |= c.isDigit();
            hasOther |= !c.isLetterOrNumber();
        }
        EXPECT_TRUE(hasUpper && hasLower && hasDigit && hasOther) << password.toStdString();
        seen.insert(password);
    }
    EXPECT_EQ(seen.size(), 2000);
    EXPECT_EQ(used.size(), signs.size()) << "some signs are never drawn";
    // One sign shorter would fall below the bound: the minimum is tight.
    EXPECT_LT(EntropyBits({upper, lower, digit, other}, CipherEngine::MinimumPasswordLength() - 1), 80.0);

    for (int i = 0; i < 50; ++i) {
        const QString longer = Engine().GeneratePassword(20, 24);
        EXPECT_GE(longer.size(), 20);
        EXPECT_LE(longer.size(), 24);
    }
}

TEST(Generators, NicknamesFollowCountAndFlag)
{
    static const QRegularExpression shape(QStringLiteral("^[A-Z][a-z]+([0-9]{2})?$"));
    for (int count = 2; count <= 4; ++count) {
        for (const bool digits : {false, true}) {
            QSet<QString> seen;
            for (int i = 0; i < 50; ++i) {
                const QString nickname = Engine().GenerateNickname(count, digits);
                ASSERT_TRUE(shape.match(nickname).hasMatch()) << nickname.toStdString();
                EXPECT_EQ(nickname.size(), 2 * count + (digits ? 2 : 0)) << nickname.toStdString();
                seen.insert(nickname);
            }
            EXPECT_GT(seen.size(), 40) << "count " << count;
        }
    }
}

TEST(MasterPasswordCheck, OneDerivationWithTheKeysOwnSaltTellsTheRightPassword)
{
    const FileKey key = MakeKey(QStringLiteral("Maître 7"));
    struct Case {
        const char* typed;
        bool same;
    };
    const Case cases[] = {
        {"Maître 7", true}, {"maître 7", false}, {"Maître 7 ", false}, {"Maître", false}, {"", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(Engine().VerifyMasterPassword(key, KeyText, Numeric, QString::fromUtf8(c.typed)), c.same);
    }
    // Another key made from the same password has another salt: the check
    // is against this key, not against the password.
    EXPECT_FALSE(Engine().VerifyMasterPassword(key, QStringLiteral("other"), Numeric, QStringLiteral("Maître 7")));
    // An unprotected key has no password to match, not even the empty one.
    const FileKey open = MakeKey(QString());
    EXPECT_FALSE(Engine().VerifyMasterPassword(open, KeyText, Numeric, QString()));
    EXPECT_FALSE(Engine().VerifyMasterPassword(open, KeyText, Numeric, QStringLiteral("x")));
}

TEST(SecretWipe, ASharedBufferIsReportedNotWiped)
{
    QString alone = QStringLiteral("secret").repeated(2);
    EXPECT_TRUE(CipherEngine::Wipe(alone));
    EXPECT_TRUE(alone.isEmpty());

    QByteArray bytes("secret-bytes");
    bytes.detach();
    const QByteArray copy = bytes;
    EXPECT_FALSE(CipherEngine::Wipe(bytes));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_EQ(copy, QByteArray("secret-bytes")); // the other owner keeps its text
}

namespace keyholm {
struct FileKeyTestProbe {
    // An access opened inside another one, then the outer one read again.
    static unsigned char ReadAfterNestedAccess(const FileKey& key)
    {
        const FileKey::Access outer(key);
        {
            const FileKey::Access inner(key);
            (void)inner->check[0];
        }
        // Before the accesses counted, the inner one locked the page here.
        return outer->check[0] | outer->encryption[31];
    }
};
} // namespace keyholm

TEST(FileKeyAccess, NestedAccessesKeepThePageOpenUntilTheOuterOneEnds)
{
    const FileKey key = MakeKey(QStringLiteral("p"));
    FileKeyTestProbe::ReadAfterNestedAccess(key);
    // And the page still opens for the engine afterwards.
    EXPECT_EQ(Engine().DecodeFile(Engine().CodeFile(Pattern(10), key), key).plain, Pattern(10));
}
