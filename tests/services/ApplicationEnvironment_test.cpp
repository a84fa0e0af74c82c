#include "DataFolderFixture.h"
#include "support/ModalHelper.h"

#include "components/FileTools.h"
#include "services/Environment.h"
#include "services/MessagesDatabase.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"
#include "services/ui/ApplicationEnvironment.h"
#include "services/ui/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

using namespace keyholm;
using keyholm::test::DataFolderFixture;
using keyholm::test::ModalHelper;

namespace {
QString Fixture(const char* name)
{
    return QStringLiteral(KEYHOLM_TESTS_FOLDER "/services/data/") + QString::fromUtf8(name);
}

class LoadTextTest : public DataFolderFixture {
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        InstallMessageBoxes();
    }
    QStringList TempEntries() const { return QDir(TempFolder()).entryList(QDir::Files); }
};
} // namespace

TEST_F(LoadTextTest, RtfFileIsShownAsPlainTextWithoutAScratchCopy)
{
    const QStringList before = TempEntries();
    QPlainTextEdit box;
    const QString rtf = Fixture("letter.rtf");
    EXPECT_EQ(LoadTextIntoBox(&box, {}, rtf, false), rtf);
    EXPECT_TRUE(box.toPlainText().startsWith("Banque : changer le mot de passe à la fin du mois.\nImportant : café €"))
        << box.toPlainText().toStdString();
    EXPECT_EQ(TempEntries(), before);
}

TEST_F(LoadTextTest, TextFileInAFolderAndMissingFile)
{
    WriteAll(home_.filePath("note.txt"), "première ligne\nseconde");
    QLineEdit line;
    EXPECT_EQ(LoadTextIntoBox(&line, home_.path(), "note.txt", false), home_.filePath("note.txt"));
    EXPECT_EQ(line.text(), "première ligne\nseconde");

    QPlainTextEdit box;
    box.setPlainText("unchanged");
    ModalHelper modal; // fails the test if any window appears
    EXPECT_EQ(LoadTextIntoBox(&box, home_.path(), "absent.txt", false), "");
    EXPECT_EQ(box.toPlainText(), "unchanged");
}

TEST_F(LoadTextTest, DocumentThatIsNoRtfIsReported)
{
    WriteAll(home_.filePath("fake.RTF"), "not rich text");
    QPlainTextEdit box;
    ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::Ok);
    EXPECT_EQ(LoadTextIntoBox(&box, {}, home_.filePath("fake.RTF"), false), "");
    ASSERT_TRUE(modal.Wait());
    EXPECT_TRUE(modal.Seen()[0].text.startsWith("Erreur fichier")) << modal.Seen()[0].text.toStdString();
    EXPECT_TRUE(box.toPlainText().isEmpty());
}

TEST_F(LoadTextTest, AskingOffersTheOpenDialogInTheFolder)
{
    WriteAll(home_.filePath("chosen.txt"), "from the dialog");
    QPlainTextEdit box;
    ModalHelper modal;
    modal.ExpectType("QFileDialog")
        .Do([&](QWidget* window) {
            auto* dialog = qobject_cast<QFileDialog*>(window);
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), "Chargement d'un fichier");
            EXPECT_EQ(QFileInfo(dialog->directory().absolutePath()).canonicalFilePath(),
                QFileInfo(home_.path()).canonicalFilePath());
            EXPECT_TRUE(dialog->nameFilters().contains("Rich Text File (*.rtf)"));
        })
        .Type("fileNameEdit", "chosen.txt")
        .Accept();
    const QString loaded = LoadTextIntoBox(&box, home_.path(), {}, true);
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(QFileInfo(loaded).canonicalFilePath(), QFileInfo(home_.filePath("chosen.txt")).canonicalFilePath());
    EXPECT_EQ(box.toPlainText(), "from the dialog");
}

TEST_F(DataFolderFixture, StartAndEndOfTheApplication)
{
    SetTextOption("Options", "Language", ""); // no user language file
    ClosePreferences();
    StopTraceLog();

    QWidget main;
    main.setWindowTitle("Keyholm");
    QWidget helper;
    helper.setWindowTitle("Options");
    helper.show();
    QWidget twin; // captioned like the main window: kept
    twin.setWindowTitle("Keyholm");
    twin.show();

    ASSERT_TRUE(StartApplication(true));
    EXPECT_TRUE(TraceLogEnabled());
    EXPECT_TRUE(TraceLogPath().startsWith(DataFolder() + "Log/")) << TraceLogPath().toStdString();
    EXPECT_TRUE(PreferencesOpen());
    EXPECT_EQ(PreferencesPath(), PreferenceFile());
    EXPECT_FALSE(UserMessagesOpen()) << "no language chosen";
    const QString scratch = ScratchFileName();
    EXPECT_TRUE(QFile::exists(scratch));
    EXPECT_EQ(QDir::currentPath() + "/", ProgramFolder());
    EXPECT_TRUE(QFile::exists(InstanceLockPath()));
    const QString log = TraceLogPath();

    EndApplication(&main, false, true);
    EXPECT_FALSE(helper.isVisible()) << "other windows are closed";
    EXPECT_TRUE(twin.isVisible());
    EXPECT_FALSE(QFile::exists(scratch));
    EXPECT_FALSE(PreferencesOpen());
    EXPECT_FALSE(TraceLogEnabled());
    EXPECT_FALSE(QFile::exists(InstanceLockPath())) << "the lock is given up";
    const QString text = QString::fromUtf8(ReadAll(log));
    EXPECT_TRUE(text.contains("\"End of application\""));
    EXPECT_TRUE(text.contains("\"Software duration\""));
    EXPECT_LT(text.indexOf("\"Close the option file access\""), text.indexOf("Close Log recording in"));

    // The released components come back empty: settle the folders again for the tests after this one.
    PrepareFolders();
    ASSERT_TRUE(StartTraceLog(true, folder_.path() + "/", {}, "test", false));
}
