// The export band of the list window: the file asked for, the header
// question, the written file (owner-only, opened afterwards), and what a
// cancel or a failed write leave behind.

#include "support/FullDisk.h"
#include "support/ModalHelper.h"
#include "support/TestFiles.h"

#include "components/FileTools.h"
#include "search/ListView.h"
#include "services/ApplicationOptions.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/OptionsForm.h"

#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>

namespace keyholm::test {
namespace {

class ListExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        FileTools::Instance().SetOpener([this](const QUrl& address) {
            opened_ << address.toLocalFile();
            return true;
        });
        SetErrorDisplay({ [] {}, [this](const QString&, const QString& text) { errors_ << text; } });
        list_.AddColumn("Titre", 3000);
        list_.AddColumn("Mot de passe", 3000);
        list_.AddRow({ "Banque", "a;b" }, 1);
        list_.AddRow({ "Mail", "x\"y" }, 2);
    }
    void TearDown() override
    {
        FileTools::Instance().SetOpener({});
        SetErrorDisplay({});
    }

    // Clicks the band's button inside the shown list; `answer` answers what
    // it opens.
    void Export(
        const char* key, const std::function<void(ModalHelper&)>& answer, const std::function<void()>& afterClick = {})
    {
        ModalHelper modal;
        modal.Expect("Lib_ListView").Do([&](QWidget*) {
            ModalHelper inner;
            answer(inner);
            QTest::mouseClick(list_.ListViewCommande->ButtonWidget(QLatin1String(key)), Qt::LeftButton);
            if (afterClick)
                afterClick();
            EXPECT_TRUE(inner.Wait());
            QTest::mouseClick(list_.cmdFermer, Qt::LeftButton);
        });
        list_.exec();
        EXPECT_TRUE(modal.Wait());
    }
    // The file chosen in the save dialog; over an existing file, the
    // dialog's own question is answered Yes.
    static void SaveAs(ModalHelper& modal, const QString& path)
    {
        const bool exists = QFileInfo::exists(path);
        modal.Expect("CMDialogOpen").Type("fileNameEdit", path).Accept();
        if (exists)
            modal.ExpectMessageBox().Click(QMessageBox::Yes);
    }

    QTemporaryDir folder_;
    ListView list_;
    QStringList opened_;
    QStringList errors_;
};

TEST_F(ListExportTest, CsvAsksForTheHeaderAndACancelWritesNothing)
{
    const QString path = folder_.filePath("liste.csv");
    struct Case {
        QMessageBox::StandardButton answer;
        QByteArray expected; // empty: the file is left as it was
    };
    const QByteArray rows = "Banque;\"a;b\"\r\nMail;\"x\"\"y\"\r\n";
    const Case cases[] = {
        { QMessageBox::Yes, "\xEF\xBB\xBFTitre;Mot de passe\r\n" + rows },
        { QMessageBox::No, "\xEF\xBB\xBF" + rows },
        { QMessageBox::Cancel, {} },
    };
    list_.exportHeader = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.answer));
        Write(path, "ancien");
        opened_.clear();
        Export("csv", [&](ModalHelper& modal) {
            SaveAs(modal, path);
            modal.ExpectMessageBox().Click(c.answer);
        });
        if (c.expected.isEmpty()) {
            EXPECT_EQ(Read(path), "ancien");
            EXPECT_TRUE(opened_.isEmpty());
        } else {
            EXPECT_EQ(Read(path), c.expected);
            EXPECT_EQ(opened_, QStringList({ path })) << "opened with its program";
            struct stat info { };
            ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0600u);
        }
    }
}

TEST_F(ListExportTest, EachFormatProposesItsFileAndWritesIt)
{
    struct Case {
        const char* key;
        const char* title;
        const char* extension;
        QByteArray start;
    };
    const Case cases[] = {
        { "html", "Export HTML", ".htm", "<!DOCTYPE html>" },
        { "prn", "Export ASCII-PRN", ".prn", "Banque a;b\r\n" },
        { "txt", "Export ASCII-TXT", ".txt", "\"Banque\"\t\"a;b\"\r\n" },
        { "xml", "Export XML", ".xml", "<?xml" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const QString path = folder_.filePath(QStringLiteral("sortie") + QLatin1String(c.extension));
        Export(c.key, [&](ModalHelper& modal) {
            modal.Expect("CMDialogOpen")
                .Do([&](QWidget* dialog) {
                    EXPECT_EQ(dialog->windowTitle(), QLatin1String(c.title));
                    const QString proposed = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
                    EXPECT_TRUE(proposed.endsWith(QStringLiteral("Fichier") + QLatin1String(c.extension)))
                        << proposed.toStdString();
                })
                .Type("fileNameEdit", path)
                .Accept();
        });
        EXPECT_TRUE(Read(path).startsWith(c.start)) << Read(path).left(60).toStdString();
    }
}

TEST_F(ListExportTest, NothingHappensForAnEmptyListAndAFailureIsReported)
{
    ListView empty;
    empty.AddColumn("Titre", 3000);
    {
        ModalHelper modal; // no file dialog may open
        modal.Expect("Lib_ListView").Do([&](QWidget*) {
            QTest::mouseClick(empty.ListViewCommande->ButtonWidget("csv"), Qt::LeftButton);
            QTest::mouseClick(empty.cmdFermer, Qt::LeftButton);
        });
        empty.exec();
        EXPECT_TRUE(modal.Wait());
        ASSERT_EQ(modal.Seen().size(), 1u);
    }

    // A full disk: the old file stays whole, nothing opens.
    const QString path = folder_.filePath("liste.txt");
    Write(path, "ancien");
    std::optional<FullDisk> disk;
    Export(
        "txt",
        [&](ModalHelper& modal) {
            modal.Expect("CMDialogOpen").Type("fileNameEdit", path).Do([&](QWidget*) { disk.emplace(3); }).Accept();
            modal.ExpectMessageBox().Click(QMessageBox::Yes); // replace it
        },
        [&] { disk.reset(); });
    EXPECT_EQ(Read(path), "ancien");
    EXPECT_TRUE(opened_.isEmpty());
    ASSERT_EQ(errors_.size(), 1);
    EXPECT_TRUE(errors_[0].startsWith("Error on List Export (txt)")) << errors_[0].toStdString();
}

TEST_F(ListExportTest, HtmlTakesTheColoursTheOptionsWindowKept)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    ApplicationOptionValues stored;
    stored.log = TraceLogEnabled(); // OK restarts the log as the window says
    ASSERT_TRUE(SaveApplicationOptions(stored));
    list_.useOptionStyle = true;
    const QString path = folder_.filePath("liste.htm");
    for (const char* close : { "cmdCancel", "cmdOK" }) {
        SCOPED_TRACE(close);
        OptionsForm form;
        ModalHelper modal;
        modal.Expect("OptionsForm").Do([&](QWidget*) {
            ModalHelper chooser;
            chooser.Expect("CMDialogColor")
                .Do([](QWidget* window) {
                    qobject_cast<QColorDialog*>(window)->setCurrentColor(QColor(0x12, 0x34, 0x56));
                })
                .Accept();
            QTest::mouseClick(form.CommandColor[0], Qt::LeftButton);
            EXPECT_TRUE(chooser.Wait());
            QTest::mouseClick(form.findChild<QPushButton*>(close), Qt::LeftButton);
        });
        form.ShowOptions();
        EXPECT_TRUE(modal.Wait());

        QFile::remove(path);
        Export("html", [&](ModalHelper& modal) { SaveAs(modal, path); });
        const QByteArray page = Read(path);
        const QByteArray background = QByteArray("<body style=\"background-color:")
            + (QByteArrayView(close) == "cmdOK" ? "#123456" : "#FFFFFF");
        EXPECT_TRUE(page.contains(background)) << page.left(400).toStdString();
        EXPECT_TRUE(page.contains("background-color:#E0E0E0")) << "the window's first row colour";
    }
}

} // namespace
} // namespace keyholm::test
