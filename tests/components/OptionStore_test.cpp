#include "support/TestFiles.h"
#include "support/FullDisk.h"

#include "components/OptionStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace keyholm;
using keyholm::test::Read;
using keyholm::test::Write;

namespace {
class OptionStoreTest : public ::testing::Test {
protected:
    void TearDown() override { OptionStore::Instance().Close(); }
    QString PathOf(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir_;
    OptionStore& store_ = OptionStore::Instance();
};

struct Stored {
    const char* section;
    const char* key;
    const char* value;
};
} // namespace

TEST_F(OptionStoreTest, AwkwardTextsComeBackAfterReopening)
{
    const Stored cases[] = {
        { "Options", "Text_Language", "Français : fr" },
        { "Menu fichier Keyholm", "Text_1", "/home/léa/My Files/base=1.khm" },
        { "Options_Password CatDefault nb", "VALUE_0", "  two blanks around  " },
        { "Options_Web", "Text_0", "line one\r\nline two\ttab\\n not an escape" },
        { "Options_Web", "Text_1", "a#µ#b" },
        { "Options_Web", "Text_2", "" },
        { "Options_Web", "Text_3", "\x01 control and no-break space\xc2\xa0" },
        { "odd ] [section\\", "=key; with=equals", "[not a section]" },
        { "odd ] [section\\", ";starts like a comment", "#also" },
        { "odd ] [section\\", "[starts like a section", "\\" },
    };
    const QString path = PathOf("Preference.opt");
    ASSERT_TRUE(store_.Open(path, "Keyholm", "keyholm"));
    for (const auto& c : cases)
        ASSERT_TRUE(store_.SetValue(QString::fromUtf8(c.section), QString::fromUtf8(c.key), QString::fromUtf8(c.value)))
            << c.key;

    store_.Close();
    ASSERT_TRUE(store_.Open(path, "Keyholm", "keyholm"));
    EXPECT_TRUE(store_.SetAsidePath().isEmpty());
    for (const auto& c : cases)
        EXPECT_EQ(store_.GetValue(QString::fromUtf8(c.section), QString::fromUtf8(c.key), "absent"),
            QString::fromUtf8(c.value))
            << c.key;

    // One readable line per key, sections as written.
    const QString text = QString::fromUtf8(Read(path));
    EXPECT_TRUE(text.contains("\n[Menu fichier Keyholm]\nText_1=/home/léa/My Files/base=1.khm\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("Text_0=line one\\r\\nline two\\ttab\\\\n not an escape\n"));
    EXPECT_TRUE(text.contains("VALUE_0=\\s two blanks around \\s\n"));
    EXPECT_TRUE(text.startsWith("; Keyholm preferences (keyholm)\n"));
}

TEST_F(OptionStoreTest, MissingFileGivesDefaultsAndFirstWriteMakesIt)
{
    const QString path = PathOf("sub/Preference.opt");
    ASSERT_TRUE(store_.Open(path, "Keyholm", {}));
    EXPECT_EQ(store_.GetValue("Options", "Check_LOG", "1"), "1");
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(store_.SetValue("  ", "Check_LOG", "0"));
    EXPECT_FALSE(store_.SetValue("Options", "", "0"));
    EXPECT_FALSE(QFile::exists(path));
    ASSERT_TRUE(store_.SetValue("Options", "Check_LOG", "0"));
    EXPECT_EQ(store_.GetValue("Options", "Check_LOG", "1"), "0");
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(OptionStoreTest, ReadsAFileEditedByHand)
{
    const QString path = PathOf("Preference.opt");
    Write(path,
        "\xEF\xBB\xBF; edited by hand\r\n# another comment\r\n\r\n  [ Display Keyholm ]  \r\n"
        "StateForm = 2\r\nleftform=  1500\r\n[display keyholm]\r\nTopForm=30\r\nSTATEFORM=3\r\n");
    ASSERT_TRUE(store_.Open(path, "Keyholm", "keyholm"));
    EXPECT_TRUE(store_.SetAsidePath().isEmpty());
    EXPECT_EQ(store_.GetValue("Display Keyholm", "StateForm", "0"), "3") << "a key given twice keeps its last value";
    EXPECT_EQ(store_.GetValue("DISPLAY KEYHOLM", "LeftForm", "0"), "1500");
    EXPECT_EQ(store_.GetValue("Display Keyholm", "TopForm", "0"), "30");
    EXPECT_EQ(store_.GetValue("Display Keyholm", "WidthForm", "9"), "9");

    // A change keeps the first spelling of the section and of the key.
    ASSERT_TRUE(store_.SetValue("display KEYHOLM", "LEFTFORM", "45"));
    const QString text = QString::fromUtf8(Read(path));
    EXPECT_TRUE(text.contains("[Display Keyholm]\nStateForm=3\nleftform=45\nTopForm=30\n")) << text.toStdString();
}

TEST_F(OptionStoreTest, DamagedFileIsSetAsideAndTheStoreStartsEmpty)
{
    const QByteArray damaged[] = {
        "[Options]\nText_Language=\xC3\x28\n", // not UTF-8
        "[Options]\nCheck_LOG\n", // neither key nor section
        "Check_LOG=1\n[Options]\n", // key outside any section
        QByteArray("[Options]\nCheck_LOG=1\0\n", 23), // NUL byte
        "[Options\nCheck_LOG=1\n", // unclosed section
        "[Options]\nText_0=\\u12G4\n", // broken escape
        "[]\nA=1\n", // nameless section
    };
    const QString path = PathOf("Preference.opt");
    for (const QByteArray& content : damaged) {
        Write(path, content);
        ASSERT_TRUE(store_.Open(path, "Keyholm", "keyholm")) << content.constData();
        EXPECT_EQ(store_.SetAsidePath(), path + ".bad");
        EXPECT_EQ(Read(path + ".bad"), content);
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_EQ(store_.GetValue("Options", "Check_LOG", "dflt"), "dflt");
        ASSERT_TRUE(store_.SetValue("Options", "Check_LOG", "1"));
        store_.Close();
        ASSERT_TRUE(store_.Open(path, "Keyholm", "keyholm"));
        EXPECT_TRUE(store_.SetAsidePath().isEmpty()) << "a repaired file is not set aside again";
        EXPECT_EQ(store_.GetValue("Options", "Check_LOG", "dflt"), "1");
        store_.Close();
    }
}

TEST_F(OptionStoreTest, PathThatCannotBeReadIsRefused)
{
    const QString path = PathOf("Preference.opt");
    ASSERT_TRUE(QDir().mkpath(path)); // a folder where the file should be
    EXPECT_FALSE(store_.Open(path, "Keyholm", "keyholm"));
    EXPECT_FALSE(store_.IsOpen());
    EXPECT_FALSE(store_.SetValue("Options", "Check_LOG", "1"));
    EXPECT_EQ(store_.GetValue("Options", "Check_LOG", "d"), "d");
}

TEST_F(OptionStoreTest, InterruptedWriteLeavesTheOldFileWhole)
{
    const QString path = PathOf("Preference.opt");
    ASSERT_TRUE(store_.Open(path, "Keyholm", "keyholm"));
    ASSERT_TRUE(store_.SetValue("Options", "Text_Language", "fr"));
    ASSERT_TRUE(store_.SetValue("Menu fichier Keyholm", "Text_1", "/data/base.khm"));
    const QByteArray before = Read(path);

    // The disk "fills up" in the middle of the next write: no file may grow
    // past the size of the old one.
    bool written = true;
    {
        test::FullDisk disk(before.size());
        ASSERT_TRUE(disk.Active());
        written = store_.SetValue("Options_Web", "Text_0", QString(4000, QLatin1Char('x')));
    }

    EXPECT_FALSE(written);
    EXPECT_EQ(Read(path), before);
    EXPECT_EQ(store_.GetValue("Options_Web", "Text_0", "none"), "none") << "memory follows the disk";
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList { "Preference.opt" }) << "no scratch file is left";

    ASSERT_TRUE(store_.SetValue("Options_Web", "Text_0", "ok"));
    store_.Close();
    ASSERT_TRUE(store_.Open(path, "Keyholm", "keyholm"));
    EXPECT_EQ(store_.GetValue("Menu fichier Keyholm", "Text_1", ""), "/data/base.khm");
    EXPECT_EQ(store_.GetValue("Options_Web", "Text_0", ""), "ok");
}

