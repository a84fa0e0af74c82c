#include "support/TestFiles.h"
#include "services/BackupCopies.h"

#include "TraceLogCapture.h"
#include "components/FileTools.h"
#include "components/SystemInfo.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
