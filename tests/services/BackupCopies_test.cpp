#include "support/TestFiles.h"
#include "services/BackupCopies.h"

#include "TraceLogCapture.h"
#include "components/FileTools.h"
#include "components/SystemInfo.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace keyholm;
using keyholm::test::Read;
using keyholm::test::Write;

namespace {
const char* const FrenchMonths[] = {"JANVIER", "FÉVRIER", "MARS", "AVRIL", "MAI", "JUIN", "JUILLET", "AOÛT",
    "SEPTEMBRE", "OCTOBRE", "NOVEMBRE", "DÉCEMBRE"};

QString ThisMonthCopy()
{
    return QStringLiteral("Keyholm_khm_") + QString::fromUtf8(FrenchMonths[QDate::currentDate().month() - 1])
        + QStringLiteral("_.bak");
}

// The permission bits in octal ("600"), as ls shows them.
QString ModeText(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("missing");
    return QString::number(info.st_mode & 07777, 8);
}

} // namespace

class BackupCopies : public test::TraceLogCapture {
protected:
    void SetUp() override
    {
        TraceLogCapture::SetUp();
        ASSERT_TRUE(work_.isValid());
        source_ = work_.path() + "/Keyholm.khm";
        backup_ = work_.path() + "/Backup";
        ASSERT_TRUE(QDir().mkpath(backup_));
        savedLocale_ = SystemInfo::Instance().Locale();
        SystemInfo::Instance().SetLocale(QLocale(QLocale::French, QLocale::France));
        savedDataFolder_ = FileTools::Instance().DataFolder();
    }
    void TearDown() override
    {
        SystemInfo::Instance().SetLocale(savedLocale_);
        FileTools::Instance().SetDataFolder(savedDataFolder_);
        TraceLogCapture::TearDown();
    }
    // One opening of the database: its content at that time, then the copies.
    bool Open(const QByteArray& content, int count, const QString& folder)
    {
        Write(source_, content);
        return CopyWithNewSuffix(source_, ".bak", folder, count);
    }
    QStringList Backups() const { return QDir(backup_).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir work_;
    QString source_;
    QString backup_;
    QLocale savedLocale_;
    QString savedDataFolder_;
};

TEST_F(BackupCopies, CountOfThreeKeepsThreeGenerationsNewestFirst)
{
    ASSERT_TRUE(Open("v1", 3, backup_));
    EXPECT_EQ(Backups(), QStringList({"1_Keyholm_khm.bak", ThisMonthCopy()}));

    for (const QByteArray v : {"v2", "v3", "v4", "v5"})
        ASSERT_TRUE(Open(v, 3, backup_));
    EXPECT_EQ(Backups(), QStringList({"1_Keyholm_khm.bak", "2_Keyholm_khm.bak", "3_Keyholm_khm.bak", ThisMonthCopy()}));
    EXPECT_EQ(Read(backup_ + "/1_Keyholm_khm.bak"), "v5");
    EXPECT_EQ(Read(backup_ + "/2_Keyholm_khm.bak"), "v4");
    EXPECT_EQ(Read(backup_ + "/3_Keyholm_khm.bak"), "v3");
    EXPECT_EQ(Read(backup_ + "/" + ThisMonthCopy()), "v5");
    EXPECT_EQ(Read(source_), "v5") << "the source is never changed";

    const auto move = Find("Move file 2_Keyholm_khm.bak to 3_Keyholm_khm.bak");
    ASSERT_TRUE(move.has_value());
    EXPECT_EQ(move->detail, "2 bytes");
    const auto copy = Find("Copy a file with new suffixe");
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(copy->detail, "2 bytes");
    const auto paths = Find(source_);
    ASSERT_TRUE(paths.has_value());
    EXPECT_EQ(QDir::cleanPath(paths->detail), QDir::cleanPath(backup_ + "/1_Keyholm_khm.bak"));
    EXPECT_TRUE(Find("File copy").has_value());
}

TEST_F(BackupCopies, CountOfOneOrLessKeepsOnePlainCopy)
{
    for (const int count : {1, 0, -2}) {
        QDir(backup_).removeRecursively();
        QDir().mkpath(backup_);
        ASSERT_TRUE(Open("old", count, backup_)) << count;
        ASSERT_TRUE(Open("new", count, backup_)) << count;
        EXPECT_EQ(Backups(), QStringList({"Keyholm_khm.bak", ThisMonthCopy()})) << count;
        EXPECT_EQ(Read(backup_ + "/Keyholm_khm.bak"), "new") << count;
    }
}

TEST_F(BackupCopies, FolderFallsBackToDataFolderThenToSourceFolder)
{
    const QString data = work_.path() + "/Data";
    FileTools::Instance().SetDataFolder(data);
    ASSERT_TRUE(Open("x", 3, QString()));
    EXPECT_EQ(Read(data + "/Backup/1_Keyholm_khm.bak"), "x") << "the backup folder is made when missing";

    FileTools::Instance().SetDataFolder(QString());
    ASSERT_TRUE(Open("y", 1, QString()));
    EXPECT_EQ(Read(work_.path() + "/Keyholm_khm.bak"), "y");
}

TEST_F(BackupCopies, NothingHappensWithoutSourceOrSuffix)
{
    EXPECT_FALSE(CopyWithNewSuffix(work_.path() + "/missing.khm", ".bak", backup_, 3));
    Write(source_, "x");
    EXPECT_FALSE(CopyWithNewSuffix(source_, QString(), backup_, 3));
    EXPECT_TRUE(Backups().isEmpty());
    EXPECT_FALSE(Find("File copy").has_value());
}

// The copies of databases, taken from the bytes read at each opening.
TEST_F(BackupCopies, DatabaseCopiesAreKeptPerFileAndOnlyWhenTheBytesChanged)
{
    const QString a = work_.path() + "/A/Perso.khm";
    const QString b = work_.path() + "/B/Perso.khm";
    const QString month = QString::fromUtf8(FrenchMonths[QDate::currentDate().month() - 1]);
    auto copy = [](const QString& path, int number) { return DatabaseCopyName(path, number); };
    auto monthly = [](const QString& path) { return DatabaseMonthlyCopyName(path); };
    struct Opening {
        QString path;
        QByteArray bytes;
    };
    using Files = QMap<QString, QByteArray>;
    struct Case {
        const char* name;
        int count;
        Files before; // in the backup folder already
        QList<Opening> openings;
        Files after; // the whole backup folder
    };
    const QList<Case> cases = {
        {"generations shift up and the oldest drops", 3, {},
            {{a, "v1"}, {a, "v2"}, {a, "v3"}, {a, "v4"}, {a, "v5"}},
            {{copy(a, 1), "v5"}, {copy(a, 2), "v4"}, {copy(a, 3), "v3"}, {monthly(a), "v5"}}},
        // Three openings of an unchanged file keep the generations before it.
        {"unchanged bytes take no new generation", 3, {},
            {{a, "v1"}, {a, "v2"}, {a, "v2"}, {a, "v2"}, {a, "v2"}},
            {{copy(a, 1), "v2"}, {copy(a, 2), "v1"}, {monthly(a), "v2"}}},
        {"files of one name in two folders keep their own copies", 3, {},
            {{a, "a1"}, {b, "b1"}, {a, "a2"}},
            {{copy(a, 1), "a2"}, {copy(a, 2), "a1"}, {monthly(a), "a2"}, {copy(b, 1), "b1"}, {monthly(b), "b1"}}},
        {"a count of one keeps a single copy", 1, {},
            {{a, "v1"}, {a, "v2"}},
            {{copy(a, 0), "v2"}, {monthly(a), "v2"}}},
        {"copies named by an earlier version are left for a restore by hand", 3,
            {{"1_Perso_khm.bak", "old1"}, {"2_Perso_khm.bak", "old2"}, {"3_Perso_khm.bak", "old3"},
                {"Perso_khm_" + month + "_.bak", "old month"}},
            {{a, "v1"}, {a, "v2"}, {a, "v3"}, {a, "v4"}},
            {{"1_Perso_khm.bak", "old1"}, {"2_Perso_khm.bak", "old2"}, {"3_Perso_khm.bak", "old3"},
                {"Perso_khm_" + month + "_.bak", "old month"}, {copy(a, 1), "v4"}, {copy(a, 2), "v3"},
                {copy(a, 3), "v2"}, {monthly(a), "v4"}}},
    };

    const mode_t savedUmask = ::umask(022);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(QDir(backup_).removeRecursively());
        if (!c.before.isEmpty()) {
            ASSERT_TRUE(QDir().mkpath(backup_));
            for (auto it = c.before.begin(); it != c.before.end(); ++it)
                Write(backup_ + "/" + it.key(), it.value());
        }
        // The databases themselves are not there: the copies come from the bytes given.
        for (const Opening& opening : c.openings)
            EXPECT_TRUE(BackupDatabase(opening.path, opening.bytes, backup_, c.count));

        Files found;
        for (const QString& name : Backups())
            found[name] = Read(backup_ + "/" + name);
        EXPECT_EQ(found, c.after);
        EXPECT_EQ(ModeText(backup_), "700") << "the backup folder";
        for (const QString& name : Backups()) {
            if (c.before.contains(name))
                continue;
            EXPECT_EQ(ModeText(backup_ + "/" + name), "600") << qPrintable(name);
        }
    }
    ::umask(savedUmask);
    EXPECT_FALSE(BackupDatabase(QString(), "x", backup_, 3));
}

TEST(BackupCopyNames, CutTheFileNameAtItsLastDot)
{
    EXPECT_EQ(BackupCopyName("/home/a.b/Keyholm.khm", ".bak"), "Keyholm_khm.bak");
    EXPECT_EQ(BackupCopyName("/home/a.b/Keyholm.khm", ".bak", 2), "2_Keyholm_khm.bak");
    EXPECT_EQ(BackupCopyName("/home/a.b/archive.tar.khm", ".bak"), "archive.tar_khm.bak");
    EXPECT_EQ(BackupCopyName("/home/a.b/Keyholm", ".bak"), "Keyholm_.bak");
    EXPECT_EQ(BackupCopyName("Preference.opt", ".bak", 3), "3_Preference_opt.bak");
    const QLocale saved = SystemInfo::Instance().Locale();
    SystemInfo::Instance().SetLocale(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(MonthlyCopyName("/x/Keyholm.khm", ".bak", QDate(2024, 2, 10)), QString::fromUtf8("Keyholm_khm_FÉVRIER_.bak"));
    EXPECT_EQ(MonthlyCopyName("/x/Keyholm.khm", ".bak", QDate(2024, 8, 1)), QString::fromUtf8("Keyholm_khm_AOÛT_.bak"));
    SystemInfo::Instance().SetLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(MonthlyCopyName("/x/Keyholm.khm", ".bak", QDate(2024, 8, 1)), "Keyholm_khm_AUGUST_.bak");
    SystemInfo::Instance().SetLocale(saved);
}

TEST(BackupCopyNames, DatabaseCopiesCarryTheTagOfTheAbsolutePath)
{
    const QString tag = PathTag("/home/anne/Perso.khm");
    EXPECT_TRUE(QRegularExpression("^[0-9a-f]{8}$").match(tag).hasMatch()) << qPrintable(tag);
    EXPECT_EQ(PathTag("/home/anne/./docs/../Perso.khm"), tag) << "the same file, written another way";
    EXPECT_EQ(PathTag(QDir::current().relativeFilePath("/home/anne/Perso.khm")), tag);
    EXPECT_NE(PathTag("/home/bob/Perso.khm"), tag);
    EXPECT_NE(PathTag("/home/anne/perso.khm"), tag);

    EXPECT_EQ(DatabaseCopyName("/home/anne/Perso.khm", 2), "2_Perso_khm_" + tag + ".bak");
    EXPECT_EQ(DatabaseCopyName("/home/anne/Perso.khm"), "Perso_khm_" + tag + ".bak");
    const QLocale saved = SystemInfo::Instance().Locale();
    SystemInfo::Instance().SetLocale(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(DatabaseMonthlyCopyName("/home/anne/Perso.khm", QDate(2024, 12, 3)),
        "Perso_khm_" + tag + QString::fromUtf8("_DÉCEMBRE_.bak"));
    SystemInfo::Instance().SetLocale(saved);
}
