// Built without the cheap key cost of the other test programs: a real
// build must never write a key weaker than the floor.
#include "components/CipherEngine.h"

#include <gtest/gtest.h>

#include <sodium.h>

using namespace keyholm;

namespace {
const QString KeyText = QStringLiteral("OrvaLineQuest");
const QString Numeric = QStringLiteral("31415926");
const quint64 MiB = 1024 * 1024;
} // namespace

TEST(KeyCostFloor, WritingRefusesCostsBelowTheFloor)
{
    struct Case {
        FileKey::Params params;
        bool made;
    };
    const Case cases[] = {
        {{crypto_pwhash_argon2id_OPSLIMIT_MIN, crypto_pwhash_argon2id_MEMLIMIT_MIN}, false},
        {{1, 64 * MiB}, false},
        {{2, 32 * MiB}, false},
        {{2, 64 * MiB}, true},
        {FileKey::Params::Moderate(), true},
    };
    EXPECT_EQ(FileKey::Params::WritingFloor(), (FileKey::Params {2, 64 * MiB}));
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.params.opsLimit << " passes, " << c.params.memLimit / MiB << " MiB");
        EXPECT_EQ(CipherEngine::Instance().MakeFileKey(KeyText, Numeric, QStringLiteral("maître"), c.params).has_value(), c.made);
    }
    // Without a master password nothing is derived, so no cost applies.
    EXPECT_TRUE(CipherEngine::Instance().MakeFileKey(KeyText, Numeric, QString(), {1, 8192}).has_value());
}
