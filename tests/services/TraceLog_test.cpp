#include "support/TestFiles.h"
#include "TraceLogCapture.h"

#include "components/CipherEngine.h"
#include "components/Version.h"
#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace keyholm;
using keyholm::test::Read;
using keyholm::test::TraceLogCapture;

namespace {

QString LogName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".log";
}

QString OldName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".old";
}

} // namespace

// --- the repeat rule and blank labels ---------------------------------------

struct RepeatCase {
    const char* name;
    std::vector<const char*> labels; // handed to TraceLog in this order
    std::vector<const char*> written;
};

class TraceLogRepeat : public TraceLogCapture, public ::testing::WithParamInterface<RepeatCase> {};

TEST_P(TraceLogRepeat, KeepsTheFirstOfARunOfEqualLabels)
{
    const RepeatCase& c = GetParam();
    int detail = 0;
    for (const char* label : c.labels)
        TraceLog(QString::fromUtf8(label), QString::number(++detail));
    QStringList expected;
    for (const char* label : c.written)
        expected << QString::fromUtf8(label);
    EXPECT_EQ(NewLabels(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TraceLogRepeat,
    ::testing::Values(RepeatCase{"SameLabelTwice", {"Open", "Open"}, {"Open"}},
                      RepeatCase{"SameLabelAfterAnother", {"Open", "Read", "Open"}, {"Open", "Read", "Open"}},
                      RepeatCase{"CaseCounts", {"open", "Open"}, {"open", "Open"}},
                      // a blank label writes nothing and leaves the last label as it was
                      RepeatCase{"BlankBetweenEqualLabels", {"Open", "   ", "", "Open"}, {"Open"}},
                      RepeatCase{"BlankOnly", {" ", "\t"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TraceLogCapture, RepeatedLabelKeepsTheFirstDetail)
{
    TraceLog("Copy", "first");
    TraceLog("Copy", "second");
    ASSERT_EQ(NewLines().size(), 1);
    EXPECT_EQ(NewLines()[0].detail, "first");
}

// --- record format ------------------------------------------------------------

TEST_F(TraceLogCapture, WritesOneCrLfLineWithCleanedFields)
{
    TraceLog("  Line one\r\nline \"two\"  ", "a]|[b\tc \"quoted\" é ");
    TraceLog("No time", "x", false);
    const QByteArray bytes = Bytes();
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_GE(lines.size(), 3);
    const QByteArray timed = lines[lines.size() - 3];
    const QByteArray untimed = lines[lines.size() - 2];
    EXPECT_TRUE(QRegularExpression(R"(^"\d\d:\d\d:\d\d","Line one - line two","a - b - c quoted é "\r$)")
                    .match(QString::fromUtf8(timed))
                    .hasMatch())
        << timed.toStdString();
    EXPECT_EQ(untimed, "\"\",\"No time\",\"x\"\r");
    EXPECT_TRUE(bytes.endsWith("\r\n"));
}

TEST_F(TraceLogCapture, UntimedRecordsAreInTheFileButNotInTheViewer)
{
    TraceLog("Shown", "1");
    TraceLog("Hidden", "2", false);
    TraceLog("Shown again", "3");
    QStringList all;
    for (const TraceRecord& r : NewLines())
        all << r.label;
    EXPECT_EQ(all, (QStringList{"Shown", "Hidden", "Shown again"}));

    const auto viewed = ReadTraceLog({});
    ASSERT_TRUE(viewed);
    QStringList shown;
    for (const TraceRecord& r : *viewed)
        shown << r.label;
    EXPECT_TRUE(shown.contains("Shown") && shown.contains("Shown again"));
    EXPECT_FALSE(shown.contains("Hidden"));
    // the viewer reads without ending the log
    EXPECT_TRUE(TraceLogEnabled());
    TraceLog("After reading", "4");
    EXPECT_TRUE(Find("After reading"));
}

TEST_F(TraceLogCapture, LinesReachTheFileWithinASecondWithoutStopping)
{
    TraceLog("Buffered line", "x");
    const QString path = TraceLogPath();
    const bool arrived = QTest::qWaitFor([&] { return Read(path).contains("Buffered line"); }, 3000);
    EXPECT_TRUE(arrived);
}

TEST_F(TraceLogCapture, NothingIsWrittenOnceStopped)
{
    const QString path = TraceLogPath();
    StopTraceLog();
    TraceLog("Too late", "x");
    EXPECT_FALSE(TraceLogEnabled());
    EXPECT_TRUE(TraceLogPath().isEmpty());
    const QByteArray bytes = Read(path);
    EXPECT_FALSE(bytes.contains("Too late"));
    EXPECT_TRUE(bytes.contains("\"Close Log recording in "));
}

TEST_F(TraceLogCapture, HeaderHoldsFolderStartDateAndHostLines)
{
    const QList<TraceRecord> header = Lines().mid(0, headerLines_);
    ASSERT_EQ(header.size(), 4 + 15);
    EXPECT_EQ(header[0].label, QDir::toNativeSeparators(folder_.path() + "/Log/"));
    EXPECT_EQ(header[0].detail, LogName());
    EXPECT_EQ(header[1].label, "START: test");
    EXPECT_TRUE(header[1].detail.endsWith(QStringLiteral(" %1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionPatch)));
    EXPECT_EQ(header[2].detail, "isRunOff");
    EXPECT_EQ(header[3].label, "System information");
    const QStringList host = {"Country #1",  "Country #2",     "Language",    "Id Language", "Currency",
                              "Decimal",     "Thousand",       "Separator Date", "Short Date", "Long Date",
                              "Separator Time", "Time Format", "User Name",   "Computer Name", "Documents"};
    for (int i = 0; i < host.size(); ++i)
        EXPECT_EQ(header[4 + i].label, host[i]);
}

TEST(TraceLogStart, CloseHeaderEndsTheHeaderWithItsLine)
{
    QTemporaryDir folder;
    StopTraceLog();
    ASSERT_TRUE(StartTraceLog(true, folder.path(), {}, {}, true));
    const QString path = TraceLogPath();
    StopTraceLog();
    const QList<TraceRecord> records = ParseTraceRecords(Read(path), true);
    ASSERT_GE(records.size(), 2);
    EXPECT_EQ(records[records.size() - 2].label, "End of host config");
    EXPECT_TRUE(records.last().label.startsWith("Close Log recording in "));
}

// --- where the log goes ---------------------------------------------------------

struct FolderCase {
    const char* name;
    const char* base;   // below the temporary folder
    const char* folder; // the log folder expected, below it
};

class TraceLogFolderRule : public ::testing::TestWithParam<FolderCase> {};

TEST_P(TraceLogFolderRule, UsesALogSubfolderUnlessTheBaseIsOne)
{
    const FolderCase& c = GetParam();
    QTemporaryDir root;
    StopTraceLog();
    ASSERT_TRUE(StartTraceLog(true, root.path() + QString::fromUtf8(c.base), {}, {}, false));
    const QString expected = QDir::toNativeSeparators(root.path() + QString::fromUtf8(c.folder));
    EXPECT_EQ(TraceLogFolder(), expected);
    EXPECT_EQ(TraceLogPath(), expected + LogName());
    EXPECT_TRUE(QFileInfo::exists(expected + LogName()));
    EXPECT_FALSE(QFileInfo::exists(expected + "Log"));
    StopTraceLog();
}

INSTANTIATE_TEST_SUITE_P(Cases, TraceLogFolderRule,
                         ::testing::Values(FolderCase{"WithSeparator", "/data/", "/data/Log/"},
                                           FolderCase{"WithoutSeparator", "/data", "/data/Log/"},
                                           FolderCase{"LogWithSeparator", "/Log/", "/Log/"},
                                           FolderCase{"LogWithoutSeparator", "/Log", "/Log/"},
                                           FolderCase{"OnlyTheLastNameCounts", "/Log/data/", "/Log/data/Log/"},
                                           FolderCase{"NameIsExact", "/Logs", "/Logs/Log/"},
                                           FolderCase{"MissingParentsAreMade", "/a/b/c/", "/a/b/c/Log/"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TraceLogStart, FailsAndStaysOffWhenTheFolderCannotBeMade)
{
    QTemporaryDir root;
    QFile blocker(root.path() + "/Log"); // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    StopTraceLog();
    EXPECT_FALSE(StartTraceLog(true, root.path(), {}, {}, false));
    EXPECT_FALSE(TraceLogEnabled());
    TraceLog("Nowhere", "x"); // must not fail
    EXPECT_FALSE(StartTraceLog(true, QString(), {}, {}, false));
    EXPECT_FALSE(TraceLogEnabled());
}

TEST(TraceLogStart, NameFragmentGoesIntoTheFileName)
{
    QTemporaryDir root;
    StopTraceLog();
    ASSERT_TRUE(StartTraceLog(true, root.path(), "mon essai", {}, false));
    const QString base = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    EXPECT_EQ(QFileInfo(TraceLogPath()).fileName(), base + "_mon_essai.log");
    StopTraceLog();
}

// --- rotation ---------------------------------------------------------------------

TEST(TraceLogStart, RotatesOnlyOnARealRestart)
{
    QTemporaryDir root;
    StopTraceLog();
    ASSERT_TRUE(StartTraceLog(true, root.path(), {}, "first", false));
    const QString path = TraceLogPath();
    const QString old = QFileInfo(path).path() + "/" + OldName();
    TraceLog("First run line", "x");

    // the second start-up call with the box checked changes nothing
    EXPECT_FALSE(StartTraceLog(true, root.path(), {}, {}, false));
    EXPECT_TRUE(TraceLogEnabled());
    EXPECT_FALSE(QFileInfo::exists(old));
    TraceLog("Still the first file", "x");
    FlushTraceLog();
    EXPECT_TRUE(Read(path).contains("First run line"));

    // the box unticked: the log stops, the file keeps what it had and the closing line
    EXPECT_FALSE(StartTraceLog(false, root.path(), {}, {}, false));
    EXPECT_FALSE(TraceLogEnabled());
    EXPECT_FALSE(QFileInfo::exists(old));
    const QByteArray firstFile = Read(path);
    EXPECT_TRUE(firstFile.contains("Still the first file"));
    EXPECT_TRUE(firstFile.contains("Close Log recording in "));

    // ticked again: the previous file becomes ".old", the new one starts afresh
    ASSERT_TRUE(StartTraceLog(true, root.path(), {}, "second", false));
    EXPECT_EQ(Read(old), firstFile);
    FlushTraceLog();
    const QByteArray secondFile = Read(path);
    EXPECT_FALSE(secondFile.contains("First run line"));
    EXPECT_TRUE(secondFile.contains("START: second"));

    // a third start replaces the ".old" with the second file
    StopTraceLog();
    const QByteArray secondClosed = Read(path);
    ASSERT_TRUE(StartTraceLog(true, root.path(), {}, "third", false));
    EXPECT_EQ(Read(old), secondClosed);
    StopTraceLog();
}

// --- the reader -------------------------------------------------------------------

TEST(TraceLogReader, ParsesRecordsAndPassesOverDamage)
{
    const QByteArray text = "\xEF\xBB\xBF"
                            "\"10:00:00\",\"One\",\"first\"\r\n"
                            "\"\",\"Untimed\",\"x\"\r\n"
                            "not a record at all\r\n"
                            "\"10:00:01\",\"Two\",\"line one\r\nline two\"\r\n"
                            "\"10:00:02\",\"Three, with comma\",\"\"\r\n"
                            "\"10:00:03\",\"Cut short";
    const QList<TraceRecord> timed = ParseTraceRecords(text);
    ASSERT_EQ(timed.size(), 3);
    EXPECT_EQ(timed[0], (TraceRecord{"10:00:00", "One", "first"}));
    EXPECT_EQ(timed[1], (TraceRecord{"10:00:01", "Two", "line one\r\nline two"}));
    EXPECT_EQ(timed[2], (TraceRecord{"10:00:02", "Three, with comma", ""}));
    const QList<TraceRecord> all = ParseTraceRecords(text, true);
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(all[1].label, "Untimed");
}

TEST(TraceLogReader, ReadsAGivenFileAndFailsOnAMissingOne)
{
    QTemporaryDir root;
    const QString path = root.path() + "/other.log";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\"09:00:00\",\"Elsewhere\",\"é\"\r\n");
    file.close();
    const auto records = ReadTraceLog(path);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 1);
    EXPECT_EQ(records->at(0).detail, QString::fromUtf8("é"));

    StopTraceLog();
    EXPECT_FALSE(ReadTraceLog(root.path() + "/missing.log")); // no current log to fall back on
}

// --- secrets ----------------------------------------------------------------------

TEST_F(TraceLogCapture, ASessionWithSecretsLeavesNoneOfThemInTheLog)
{
    const QString master = QString::fromUtf8("Maître\"Zq9]|[wördX");
    const QString password = QStringLiteral("hunter2-Secret");
    const QString login = QStringLiteral("alice.smith@example.org");
    KeepOutOfTraceLog(master);
    KeepOutOfTraceLog(password);
    KeepOutOfTraceLog(login);

    // what callers write: the stand-in, never the text
    TraceLog("Master password asked", SecretText);
    // and what a careless caller might write anyway
    TraceLog("Typed answer", master);
    TraceLog("Entry copied " + login, "login " + login + "]|[password " + password);
    TraceLog(password, "as a label", false);
    ReportError("Error on opening the database with " + master, login, false,
                ErrorRecord::Make(ErrorRecord::InvalidCall, "bad key " + password));
    GetMessage(399);
    StopTraceLog();

    const QByteArray bytes = Bytes();
    EXPECT_TRUE(bytes.contains("Typed answer\",\"***\""));
    for (const QString& secret : {master, password, login}) {
        EXPECT_FALSE(bytes.contains(secret.toUtf8())) << secret.toStdString();
        // nor the pieces that cleaning the fields would leave of it
        for (const QString& piece : secret.split(QRegularExpression(R"(["\]\|\[])"), Qt::SkipEmptyParts))
            EXPECT_FALSE(bytes.contains(piece.toUtf8())) << piece.toStdString();
    }
    EXPECT_TRUE(bytes.contains("Entry copied ***"));
}

TEST_F(TraceLogCapture, SecretsAreKeptOnlyWhileTheLogRunsAndAreLetGoAtItsStop)
{
    QString secret = QStringLiteral("Maître-Clé 7");
    KeepOutOfTraceLog(secret);
    KeepOutOfTraceLog(secret); // once is enough
    KeepOutOfTraceLog(QString());
    EXPECT_EQ(KeptTraceLogSecrets(), 1);
    // The log's copy is its own: the caller wipes its text, the mask holds.
    CipherEngine::Wipe(secret);
    TraceLog("Typed", QStringLiteral("Maître-Clé 7"));
    ForgetTraceLogSecrets();
    EXPECT_EQ(KeptTraceLogSecrets(), 0);
    KeepOutOfTraceLog(QStringLiteral("autre secret"));
    StopTraceLog();
    EXPECT_EQ(KeptTraceLogSecrets(), 0);
    EXPECT_FALSE(Bytes().contains("Maître-Clé 7"));
    // With the log off there is nothing to mask, so nothing is kept.
    KeepOutOfTraceLog(QStringLiteral("hors journal"));
    EXPECT_EQ(KeptTraceLogSecrets(), 0);
}
