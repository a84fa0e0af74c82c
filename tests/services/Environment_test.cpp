#include "DataFolderFixture.h"
#include "support/ModalHelper.h"

#include "components/FileTools.h"
#include "services/Environment.h"
#include "services/ui/ApplicationEnvironment.h"
#include "services/ui/Messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>

using namespace keyholm;
using keyholm::test::DataFolderFixture;

namespace {
const char* ChildMode = "KEYHOLM_TEST_CHILD";
const char* ChildHome = "KEYHOLM_TEST_CHILD_HOME";

class EnvironmentTest : public DataFolderFixture {
protected:
    // This test program again, running one of the child cases below on our data folder.
    std::unique_ptr<QProcess> StartChild(const QString& mode, const QString& test)
    {
        auto child = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(ChildMode, mode);
        env.insert(ChildHome, home_.path());
        child->setProcessEnvironment(env);
        child->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child->start(QCoreApplication::applicationFilePath(), { "--gtest_filter=" + test });
        return child;
    }
};

// The child cases: they run only when a test above starts them.
bool RunAsChild(const char* mode)
{
    if (qEnvironmentVariable(ChildMode) != QLatin1String(mode))
        return false;
    qputenv("KEYHOLM_HOME", qgetenv(ChildHome));
    PrepareFolders();
    return true;
}
} // namespace

TEST(EnvironmentChild, HoldsTheInstanceLock)
{
    if (!RunAsChild("hold-lock"))
        GTEST_SKIP() << "runs as a child of EnvironmentTest";
    ASSERT_TRUE(ClaimSingleInstance());
    std::printf("locked\n");
    std::fflush(stdout);
    QThread::sleep(60);
}

TEST(EnvironmentChild, StartsASecondInstance)
{
    if (!RunAsChild("second-instance"))
        GTEST_SKIP() << "runs as a child of EnvironmentTest";
    test::ModalHelper modal;
    modal.ExpectMessageBox()
        .Do([](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            std::printf("title=%s\ntext=%s\n", qPrintable(box->windowTitle()),
                qPrintable(message ? message->text() : QString()));
            std::fflush(stdout);
        })
        .Click(QMessageBox::Ok);
    StartApplication(false);
    ADD_FAILURE() << "the second instance went on";
}

TEST_F(EnvironmentTest, DataFolderComesFromKeyholmHomeOrTheDocumentsFolder)
{
    EXPECT_EQ(FileTools::Instance().DataFolder(), DataFolder());
    EXPECT_EQ(BackupFolder(), DataFolder() + "Backup" + QDir::separator());
    EXPECT_TRUE(QFileInfo(BackupFolder()).isDir());
    EXPECT_TRUE(QFileInfo(TempFolder()).isDir());

    // A relative KEYHOLM_HOME is taken from the current folder of the start.
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(home_.path()));
    qputenv("KEYHOLM_HOME", "portable/data");
    PrepareFolders();
    QDir::setCurrent(current);
    EXPECT_EQ(DataFolder(), home_.path() + "/portable/data/");
    EXPECT_TRUE(QFileInfo(DataFolder()).isDir());

    // Without KEYHOLM_HOME: the documents folder (of the test's own home) and "Keyholm".
    qunsetenv("KEYHOLM_HOME");
    PrepareFolders();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    ASSERT_TRUE(documents.startsWith(QDir::homePath())) << "the test home is a throw-away folder";
    EXPECT_EQ(DataFolder(), documents + "/Keyholm/");
    EXPECT_TRUE(QFileInfo(DataFolder()).isDir());
    PrepareFolders("Other");
    EXPECT_EQ(DataFolder(), documents + "/Other/");
}

TEST_F(EnvironmentTest, TemporaryFolderFollowsTmpThenTemp)
{
    const QByteArray savedTmp = qgetenv("TMP");
    const QByteArray savedTemp = qgetenv("TEMP");
    QTemporaryDir tmp;
    QTemporaryDir temp;
    qputenv("TMP", QFile::encodeName(tmp.path()));
    qputenv("TEMP", QFile::encodeName(temp.path()));
    PrepareFolders();
    EXPECT_EQ(TempFolder(), tmp.path() + "/");
    qunsetenv("TMP");
    PrepareFolders();
    EXPECT_EQ(TempFolder(), temp.path() + "/");
    qputenv("TEMP", QFile::encodeName(temp.path() + "/missing"));
    PrepareFolders();
    EXPECT_EQ(TempFolder(), DataFolder() + "Temp/");
    qputenv("TMP", savedTmp);
    qputenv("TEMP", savedTemp);
}

TEST_F(EnvironmentTest, EnsureFolderMakesMissingFolders)
{
    const QString folder = home_.filePath("a/b/c");
    EXPECT_EQ(EnsureFolder(folder), folder + "/");
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(EnsureFolder(folder + "/"), folder + "/");
    WriteAll(home_.filePath("file"), "x");
    EXPECT_EQ(EnsureFolder(home_.filePath("file/sub")), home_.filePath("file/sub"))
        << "as given when it cannot be made";
}

TEST_F(EnvironmentTest, HasExtensionComparesTheLastExtensionInAnyCase)
{
    struct Case {
        const char* path;
        const char* extension;
        bool expected;
    };
    const Case cases[] = {
        { "/notes/Letter.RTF", ".rtf", true },
        { "/notes/letter.rtf", "rtf", true },
        { "/notes/letter", ".rtf", false },
        { "/notes.d/letter", ".d", false },
        { "/notes/a.rtf.txt", ".rtf", false },
        { "", ".rtf", false },
        { "/notes/letter.rtf", "", false },
        { "/notes/letter.", ".", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(HasExtension(c.path, c.extension), c.expected) << c.path << " " << c.extension;
}

TEST_F(EnvironmentTest, FileOpeningProcedures)
{
    const QString path = home_.filePath("notes.txt");
    EXPECT_EQ(OpenForReading(path, false), nullptr);
    EXPECT_FALSE(QFile::exists(path));

    auto created = OpenForReading(path, false, true);
    ASSERT_NE(created, nullptr) << "a missing file is made when asked";
    created.reset();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(ReadAll(path), "");

    auto appending = OpenForAppending(path, false);
    ASSERT_NE(appending, nullptr);
    appending->write("one\n");
    appending.reset();
    appending = OpenForAppending(path, false);
    appending->write("two\n");
    appending.reset();
    EXPECT_EQ(ReadAll(path), "one\ntwo\n");

    auto reading = OpenForReading(path, false);
    ASSERT_NE(reading, nullptr);
    EXPECT_EQ(reading->readAll(), "one\ntwo\n");
    reading.reset();

    auto writing = OpenForWriting(path, false);
    ASSERT_NE(writing, nullptr);
    writing.reset();
    EXPECT_EQ(ReadAll(path), "") << "writing empties the file";

    EXPECT_EQ(OpenForWriting("  ", false), nullptr);
    EXPECT_EQ(OpenForAppending("", false), nullptr);
    EXPECT_EQ(OpenForWriting(home_.filePath("missing/x.txt"), false), nullptr);
}

TEST_F(EnvironmentTest, FailedOpeningIsReportedWhenAsked)
{
    test::ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::Ok);
    InstallMessageBoxes();
    EXPECT_EQ(OpenForReading(home_.filePath("missing.txt"), true), nullptr);
    ASSERT_TRUE(modal.Wait());
    ASSERT_EQ(modal.Seen().size(), 1u);
    const QString text = QString(modal.Seen()[0].text).replace("\r\n", "\n");
    EXPECT_TRUE(text.startsWith("Ouverture impossible : \n" + home_.filePath("missing.txt"))) << text.toStdString();
}

TEST_F(EnvironmentTest, TimeOfDayIsHoursAndMinutes)
{
    EXPECT_TRUE(QRegularExpression("^([01][0-9]|2[0-3]):[0-5][0-9]$").match(sHeureMinuteDuMoment()).hasMatch());
}

TEST_F(EnvironmentTest, DisplayUrlOpensTheAddressOrTheHomePage)
{
    QStringList opened;
    FileTools::Instance().SetOpener([&](const QUrl& url) { return opened << url.toString(), true; });
    DisplayUrl("https://example.org/page");
    DisplayUrl("   ");
    FileTools::Instance().SetOpener({});
    EXPECT_EQ(opened, (QStringList { "https://example.org/page", MakerHomePage }));
    EXPECT_EQ(Find("Display URL")->detail, "https://example.org/page");
}

TEST_F(EnvironmentTest, ScratchFileIsReservedPrivatelyAndDeleted)
{
    ReserveScratchFile();
    const QString scratch = ScratchFileName();
    ASSERT_FALSE(scratch.isEmpty());
    EXPECT_TRUE(QFile::exists(scratch));
    EXPECT_EQ(QFile::permissions(scratch) & (QFile::ReadGroup | QFile::ReadOther), 0);
    ReserveScratchFile();
    EXPECT_EQ(ScratchFileName(), scratch) << "reserved once";
    DeleteScratchFile();
    EXPECT_FALSE(QFile::exists(scratch));
    EXPECT_TRUE(ScratchFileName().isEmpty());
}

TEST_F(EnvironmentTest, PseudoRandomDrawsStayInRangeAndRepeatFromASeed)
{
    SeedPseudoRandom(7);
    QList<int> first;
    for (int i = 0; i < 200; ++i) {
        const int value = PseudoRandomBetween(23, 69);
        ASSERT_GE(value, 23);
        ASSERT_LE(value, 69);
        first << value;
    }
    SeedPseudoRandom(7);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(PseudoRandomBetween(23, 69), first[i]);
    const double r = NextPseudoRandom();
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, 1.0);
}

TEST_F(EnvironmentTest, SecondInstanceIsRefusedWhileTheFirstRuns)
{
    ASSERT_TRUE(ClaimSingleInstance());
    QLockFile other(InstanceLockPath());
    EXPECT_FALSE(other.tryLock(0)) << "the lock is held";
    ReleaseSingleInstance();
    EXPECT_TRUE(other.tryLock(0)) << "and given up at the end";
    other.unlock();

    // Another process holds it: refused; once that process has crashed, taken over.
    auto holder = StartChild("hold-lock", "EnvironmentChild.HoldsTheInstanceLock");
    QByteArray said;
    while (!said.contains("locked\n") && holder->waitForReadyRead(20000))
        said += holder->readAllStandardOutput();
    ASSERT_TRUE(said.contains("locked\n")) << "the child did not take the lock: " << said.constData();
    EXPECT_FALSE(ClaimSingleInstance());
    holder->kill();
    ASSERT_TRUE(holder->waitForFinished(10000));
    EXPECT_TRUE(QFile::exists(InstanceLockPath())) << "a crash leaves the lock file behind";
    EXPECT_TRUE(ClaimSingleInstance()) << "a lock left by a crashed run does not block";
    ReleaseSingleInstance();
}

TEST_F(EnvironmentTest, SecondInstanceShowsTheMessageAndEnds)
{
    ASSERT_TRUE(ClaimSingleInstance());
    auto second = StartChild("second-instance", "EnvironmentChild.StartsASecondInstance");
    ASSERT_TRUE(second->waitForFinished(30000));
    ReleaseSingleInstance();
    const QString output = QString::fromUtf8(second->readAllStandardOutput()).replace("\r\n", "\n");
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_NE(second->exitCode(), 0);
    EXPECT_TRUE(output.contains("title=!! " + QFileInfo(QCoreApplication::applicationFilePath()).fileName() + "\n"))
        << output.toStdString();
    EXPECT_TRUE(output.contains("text=Program already running!\nLe logiciel est déjà en cours d'exécution !\n"))
        << output.toStdString();
    EXPECT_FALSE(output.contains("went on"));
    EXPECT_FALSE(QFileInfo::exists(DataFolder() + "Log")) << "the refused instance starts nothing";
}
