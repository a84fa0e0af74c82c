#include "DataFolderFixture.h"
#include "support/FullDisk.h"

#include "components/OptionStore.h"
#include "services/BackupCopies.h"
#include "services/Preferences.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>

using namespace keyholm;
using keyholm::test::DataFolderFixture;

namespace {
class PreferencesTest : public DataFolderFixture { };
} // namespace

TEST_F(PreferencesTest, TwoLineTextIsOneStoredLineAndComesBackWithCrLf)
{
    ASSERT_TRUE(SetTextOption("Options_Web", "Note", "first line\r\nsecond line"));
    ASSERT_TRUE(SetTextOptionAt("Options_Web", "only\nline feed", 3));
    const QString text = QString::fromUtf8(ReadAll(PreferenceFile()));
    EXPECT_TRUE(text.contains("\nText_Note=first line#µ#second line\n")) << text.toStdString();

    ClosePreferences();
    EXPECT_EQ(GetTextOption("Options_Web", "Note", "none"), "first line\r\nsecond line");
    EXPECT_EQ(GetTextOptionAt("Options_Web", "none", 3), "only\nline feed") << "a lone line feed stays as it is";
    // A default is handed over in its stored form and comes back unchanged.
    EXPECT_EQ(GetTextOption("Options_Web", "Absent", "a\r\nb"), "a\r\nb");
}

TEST_F(PreferencesTest, TypedProceduresUseTheirKeyPrefixes)
{
    ASSERT_TRUE(SetColorOption("Options_Web", "Back", 0x00FF8040));
    ASSERT_TRUE(SetCheckOption("Options", "LOG", 1));
    ASSERT_TRUE(SetValueOption("Options_Password PurgeValue", "0", 90));
    ASSERT_TRUE(SetColorOptionAt("Options_Web", 255, 2));
    ASSERT_TRUE(SetCheckOptionAt("Options_Web", -1, 0));
    ASSERT_TRUE(SetValueOptionAt("Options_Web", 7, 0));
    ASSERT_TRUE(SetTextOptionAt("Menu fichier Keyholm", "/data/a.khm", 1));

    auto& store = OptionStore::Instance();
    EXPECT_EQ(store.GetValue("Options_Web", "Color_Back", ""), QString::number(0x00FF8040));
    EXPECT_EQ(store.GetValue("Options", "Check_LOG", ""), "1");
    EXPECT_EQ(store.GetValue("Options_Password PurgeValue", "VALUE_0", ""), "90");
    EXPECT_EQ(store.GetValue("Options_Web", "Color_2", ""), "255");
    EXPECT_EQ(store.GetValue("Options_Web", "Check_0", ""), "-1");
    EXPECT_EQ(store.GetValue("Options_Web", "VALUE_0", ""), "7");
    EXPECT_EQ(store.GetValue("Menu fichier Keyholm", "Text_1", ""), "/data/a.khm");

    EXPECT_EQ(GetColorOption("Options_Web", "Back", 0), 0x00FF8040);
    EXPECT_EQ(GetColorOptionAt("Options_Web", 0, 2), "255");
    EXPECT_EQ(GetCheckOptionAt("Options_Web", 0, 0), -1);
    EXPECT_EQ(GetValueOptionAt("Options_Web", 0, 0), 7);
    EXPECT_EQ(GetValueOption("Options_Password PurgeValue", "0", 0), 90);
}

TEST_F(PreferencesTest, StoredValueThatIsNoNumberOfItsTypeGivesTheFallback)
{
    WriteAll(PreferenceFile(),
        "[Options]\nCheck_Big=70000\nCheck_Word=yes\nVALUE_Big=99999999999\n"
        "Color_Word=red\nVALUE_Blanks= 12 \n");
    EXPECT_EQ(GetCheckOption("Options", "Big", 1), 1) << "a check value is 16 bits";
    EXPECT_EQ(GetCheckOption("Options", "Word", 0), 0);
    EXPECT_EQ(GetValueOption("Options", "Big", 5), 5);
    EXPECT_EQ(GetColorOption("Options", "Word", 123), 0) << "the fallback of a colour is 0";
    EXPECT_EQ(GetValueOption("Options", "Blanks", 0), 12);
}

// Every read and write of the blank-section and closed cases.
struct Access {
    const char* name;
    std::function<bool(const QString& section)> fallsBack; // true when the read gave its fallback
    std::function<bool(const QString& section)> write;
};

const Access Accesses[] = {
    { "Color", [](const QString& s) { return GetColorOption(s, "k", 77) == 0; },
        [](const QString& s) { return SetColorOption(s, "k", 1); } },
    { "ColorAt", [](const QString& s) { return GetColorOptionAt(s, 77, 0) == "0"; },
        [](const QString& s) { return SetColorOptionAt(s, 1, 0); } },
    { "Text", [](const QString& s) { return GetTextOption(s, "k", "dflt") == "dflt"; },
        [](const QString& s) { return SetTextOption(s, "k", "v"); } },
    { "TextAt", [](const QString& s) { return GetTextOptionAt(s, "dflt", 0) == "dflt"; },
        [](const QString& s) { return SetTextOptionAt(s, "v", 0); } },
    { "Check", [](const QString& s) { return GetCheckOption(s, "k", 1) == 1; },
        [](const QString& s) { return SetCheckOption(s, "k", 0); } },
    { "CheckAt", [](const QString& s) { return GetCheckOptionAt(s, -1, 0) == -1; },
        [](const QString& s) { return SetCheckOptionAt(s, 0, 0); } },
    { "Value", [](const QString& s) { return GetValueOption(s, "k", 42) == 42; },
        [](const QString& s) { return SetValueOption(s, "k", 1); } },
    { "ValueAt", [](const QString& s) { return GetValueOptionAt(s, 42, 0) == 42; },
        [](const QString& s) { return SetValueOptionAt(s, 1, 0); } },
};

TEST_F(PreferencesTest, BlankSectionGivesFallbacksAndRefusesWrites)
{
    // Stored values under a blank-looking section must not leak through.
    ASSERT_TRUE(OptionStore::Instance().Open(PreferenceFile(), "t", "t"));
    ClosePreferences();
    for (const auto& access : Accesses) {
        for (const QString& section : { QString(), QString("   ") }) {
            EXPECT_TRUE(access.fallsBack(section)) << access.name;
            EXPECT_FALSE(access.write(section)) << access.name;
        }
    }
    EXPECT_FALSE(SetTextOption("Options", "  ", "v")) << "a blank key is refused as well";
    EXPECT_TRUE(PreferencesOpen()) << "a blank section does not close the file";
    EXPECT_FALSE(QFile::exists(PreferenceFile())) << "nothing was written";
}

TEST_F(PreferencesTest, UnreadableFileLeavesPreferencesClosedAndEverythingOnDefaults)
{
    ASSERT_TRUE(SetColorOption("Options_Web", "k", 1234));
    ASSERT_TRUE(SetCheckOption("Options_Web", "k", 0));
    ClosePreferences();
    // Something that cannot be read stands where the file should be.
    ASSERT_TRUE(QFile::remove(PreferenceFile()));
    ASSERT_TRUE(QDir().mkpath(PreferenceFile()));

    for (const auto& access : Accesses) {
        EXPECT_TRUE(access.fallsBack("Options_Web")) << access.name;
        EXPECT_FALSE(access.write("Options_Web")) << access.name;
        EXPECT_FALSE(PreferencesOpen());
    }
    EXPECT_GE(CountLabel("### Unable to read the option file. Initalization failed!"), 1);
}

TEST_F(PreferencesTest, DamagedFileIsSetAsideReportedOnceAndDefaultsServe)
{
    const QByteArray damaged = "[Options]\nText_Language=\xFF\xFE broken\n";
    WriteAll(PreferenceFile(), damaged);
    int rotations = 0;
    SetPreferenceBackupRotation([&](const QString&, const QString&, const QString&, int) { return ++rotations, true; });

    ASSERT_TRUE(OpenPreferences(DataFolder(), {}));
    EXPECT_EQ(ReadAll(PreferenceFile() + ".bad"), damaged);
    EXPECT_EQ(GetTextOption("Options", "Language", "none"), "none");
    ASSERT_TRUE(SetTextOption("Options", "Language", "Français"));
    ASSERT_TRUE(OpenPreferences(DataFolder(), {}));
    EXPECT_EQ(GetTextOption("Options", "Language", "none"), "Français");

    EXPECT_EQ(CountLabel("### Damaged option file set aside, defaults used"), 1);
    EXPECT_EQ(rotations, 0) << "a damaged file must not take the place of a good backup";
}

TEST_F(PreferencesTest, FirstOpenOfARunRotatesTheBackupsOnce)
{
    WriteAll(PreferenceFile(), "[Options]\nCheck_LOG=1\n");
    QStringList calls;
    SetPreferenceBackupRotation([&](const QString& path, const QString& suffix, const QString& folder, int count) {
        calls << path + "|" + suffix + "|" + folder + "|" + QString::number(count);
        return false;
    });
    ASSERT_TRUE(OpenPreferences(DataFolder(), "Keyholm"));
    ASSERT_TRUE(OpenPreferences(DataFolder(), "Keyholm"));
    ClosePreferences();
    EXPECT_EQ(GetCheckOption("Options", "LOG", 0), 1) << "reopened by the read";

    ASSERT_EQ(calls.size(), 1);
    EXPECT_EQ(calls[0], PreferenceFile() + "|.bak|" + BackupFolder() + "|3");
    EXPECT_EQ(CountLabel("### ERROR on backup (#3) Option File"), 1);
    EXPECT_TRUE(PreferencesOpen()) << "a failed backup does not stop the opening";
}

TEST_F(PreferencesTest, WithoutRotationASingleCopyIsKept)
{
    WriteAll(PreferenceFile(), "[Options]\nCheck_LOG=1\n");
    ASSERT_TRUE(OpenPreferences(DataFolder(), {}, false));
    EXPECT_EQ(ReadAll(BackupFolder() + "Preference.bak"), "[Options]\nCheck_LOG=1\n");
    EXPECT_EQ(OptionTracePath(), BackupFolder() + "PreferenceLOG.opt");
}

TEST_F(PreferencesTest, FailedWriteKeepsTheFileAndTheOldValue)
{
    ASSERT_TRUE(SetTextOption("Options", "Language", "fr"));
    const QByteArray before = ReadAll(PreferenceFile());
    bool written = true;
    {
        test::FullDisk disk(before.size());
        ASSERT_TRUE(disk.Active());
        written = SetTextOption("Options", "Language", QString(5000, 'x'));
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(ReadAll(PreferenceFile()), before);
    EXPECT_EQ(GetTextOption("Options", "Language", ""), "fr");
}

TEST_F(PreferencesTest, CloseTracesAndSecondCloseSaysAlreadyClosed)
{
    ASSERT_TRUE(OpenPreferences(DataFolder(), {}));
    ClosePreferences();
    ClosePreferences();
    EXPECT_FALSE(PreferencesOpen());
    EXPECT_EQ(CountLabel("Close the option file access"), 1);
    const auto closed = Find("### Unable to close the Option File");
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->detail, "Already closed");
}

TEST_F(PreferencesTest, GenerationBackupKeepsNumberedCopies)
{
    SetPreferenceBackupRotation(&CopyWithNewSuffix);
    WriteAll(PreferenceFile(), "[Options]\nCheck_LOG=1\n");
    ASSERT_TRUE(OpenPreferences(DataFolder(), "Keyholm"));
    EXPECT_EQ(ReadAll(BackupFolder() + "1_Preference_opt.bak"), "[Options]\nCheck_LOG=1\n");
}
