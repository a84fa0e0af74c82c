// The program's command line: help and version without a display, and a
// file named by a second start, handed to the running window, which opens it.

#include "database/DatabaseFileFixture.h"

#include "app/FileHandOff.h"
#include "components/Version.h"

#include <QProcess>

namespace keyholm::test {
namespace {

class CommandLineTest : public DatabaseFileFixture {
protected:
    static QString Run(const QStringList& arguments, int& status)
    {
        QProcess process;
        process.start(QStringLiteral(KEYHOLM_PROGRAM), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        status = process.exitCode();
        return QString::fromUtf8(process.readAllStandardOutput());
    }
};

TEST_F(CommandLineTest, HelpAndVersionAnswerWithoutAWindow)
{
    int status = -1;
    EXPECT_EQ(Run({ "--version" }, status).trimmed(), QStringLiteral("keyholm ") + QLatin1String(VersionNumber));
    EXPECT_EQ(status, 0);
    const QString help = Run({ "--help" }, status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(help.startsWith("Usage : keyholm [options] [FICHIER]")) << help.toStdString();
    EXPECT_TRUE(help.contains("--version"));
}

TEST_F(CommandLineTest, ASecondStartHandsItsFileToTheRunningWindow)
{
    const QString path = PathOf("handed.khm");
    WriteDatabase(path, {});
    FileHandOffServer server([this](const QString& file) { OpenFileInWindow(Window(), file); });
    ASSERT_TRUE(server.Listening());

    QProcess second;
    second.start(QStringLiteral(KEYHOLM_PROGRAM), { path });
    ASSERT_TRUE(second.waitForStarted());
    // The running instance answers from its event loop.
    QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 60000);
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();
    QTRY_COMPARE_WITH_TIMEOUT(State().Tag(), path, 60000);
    EXPECT_TRUE(Window().windowTitle().endsWith("handed.khm"));
}

TEST_F(CommandLineTest, AHandedFileWaitsForTheUnsavedChangesQuestion)
{
    const QString first = PathOf("first.khm");
    const QString second = PathOf("second.khm");
    WriteDatabase(first, {});
    WriteDatabase(second, {});
    ASSERT_TRUE(Open(first).open);
    ChangeRoot(QStringLiteral("Changée"));

    // Cancel keeps the database and its changes.
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::Cancel);
        OpenFileInWindow(Window(), second);
        EXPECT_TRUE(modal.Wait());
    }
    EXPECT_EQ(State().Tag(), first);
    EXPECT_TRUE(State().DatabaseChanged());

    // No drops the changes and opens the handed file.
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::No);
        OpenFileInWindow(Window(), second);
        EXPECT_TRUE(modal.Wait());
    }
    EXPECT_EQ(State().Tag(), second);
}

} // namespace
} // namespace keyholm::test
