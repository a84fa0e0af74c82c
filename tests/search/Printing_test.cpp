// Printing through PDF files read back with pdftotext (no printer is
// needed): the list's print preview and its pages, the grid procedures, the
// direct printing steps and their traces, and the clipboard viewer.

#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"
#include "support/TestFiles.h"

#include "search/ClipboardViewer.h"
#include "search/Grid.h"
#include "search/ListView.h"
#include "search/PrintPreview.h"
#include "search/Printing.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"
#include "services/main/KeyToolBar.h"

#include <QAction>
#include <QClipboard>
#include <QDirIterator>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include <sys/stat.h>

namespace keyholm::test {
namespace {

// The text of a PDF, its pages split at form feeds, in drawing order.
QStringList PdfPages(const QString& path)
{
    QProcess process;
    process.start("pdftotext", { "-raw", path, "-" });
    EXPECT_TRUE(process.waitForFinished(30000));
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split('\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

ListTable ListOf(int rows, const QString& longCell = {})
{
    ListTable list;
    list.columns = { { "Titre", 2000, Qt::AlignLeft }, { "Mot de passe", 3000, Qt::AlignLeft },
        { "Créé", 1200, Qt::AlignHCenter } };
    for (int i = 0; i < rows; ++i)
        list.rows.push_back({ { QString("Entrée %1").arg(i), i == 3 ? longCell : "court", "01/02/2024" }, i });
    return list;
}

class PrintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        SetErrorDisplay({ [] {}, [this](const QString&, const QString& text) { errors_ << text; } });
        StopTraceLog();
        ASSERT_TRUE(StartTraceLog(true, folder_.path() + "/log/", {}, "test", false));
    }
    void TearDown() override
    {
        StopTraceLog();
        SetErrorDisplay({});
        SetInstalledPrinters({});
        // The next test starts from the system's printer again.
        CurrentPrinter().setOutputFileName({});
        CurrentPrinter().setOutputFormat(QPrinter::NativeFormat);
    }
    QString Trace()
    {
        FlushTraceLog();
        QString text;
        QDirIterator files(folder_.path() + "/log", QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext())
            text += QString::fromUtf8(Read(files.next()));
        return text;
    }

    QTemporaryDir folder_;
    QStringList errors_;
};

TEST_F(PrintingTest, AListPrintsAsAPaperCopyOnEveryPage)
{
    const QString password = QString("motdepasse").repeated(30); // 300 characters, no blank
    ListView list;
    list.SetTitle("Liste des mots de passe - Banque");
    list.SetTable(ListOf(200, password));
    const QString pdf = folder_.filePath("liste.pdf");
    int pages = 0;
    ModalHelper modal;
    modal.Expect("Lib_ListView").Do([&](QWidget*) {
        ModalHelper inner;
        inner.Expect("Lib_PreviewForm").Do([&](QWidget* window) {
            auto* form = qobject_cast<PreviewForm*>(window);
            ASSERT_NE(form, nullptr);
            pages = form->MyPrintPreview->pageCount();
            EXPECT_EQ(form->MyPrintPreview->orientation(), QPageLayout::Landscape);
            ModalHelper save;
            save.Expect("CMDialogOpen").Type("fileNameEdit", pdf).Accept();
            form->PdfAction->trigger();
            EXPECT_TRUE(save.Wait());
            form->CloseAction->trigger();
        });
        QTest::mouseClick(list.ListViewCommande->ButtonWidget("print"), Qt::LeftButton);
        EXPECT_TRUE(inner.Wait());
        QTest::mouseClick(list.cmdFermer, Qt::LeftButton);
    });
    list.exec();
    ASSERT_TRUE(modal.Wait());

    const QStringList text = PdfPages(pdf);
    ASSERT_GT(pages, 1);
    ASSERT_EQ(text.size(), pages) << "the PDF holds the pages the preview showed";
    for (int p = 0; p < pages; ++p) {
        SCOPED_TRACE(p + 1);
        EXPECT_TRUE(text[p].contains("Liste des mots de passe - Banque"));
        EXPECT_TRUE(text[p].contains("Titre Mot de passe Créé")) << "the header row on every page";
        EXPECT_TRUE(text[p].contains(QString("Page %1 / %2").arg(p + 1).arg(pages)));
    }
    QString all = text.join("");
    all.remove('\n');
    EXPECT_TRUE(all.contains(password)) << "a long cell wraps in its column, whole";
    EXPECT_TRUE(all.contains("Entrée 199"));
    struct stat info { };
    ASSERT_EQ(::stat(QFile::encodeName(pdf).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_LE(list.UneGrille->rowCount(), 2) << "the grid lets the rows go";
    EXPECT_EQ(GridText(*list.UneGrille, 1, 1), "");
}

TEST_F(PrintingTest, APreviewIsSetUpOnceAndAnUntitledGridHasItsTitle)
{
    PrtPreview preview;
    preview.Init("Premier", 2, 10, "DejaVu Serif", true);
    preview.Init("Second", 1, 20, "DejaVu Sans", false);
    EXPECT_EQ(preview.Form().Printer().docName(), "Premier");
    EXPECT_EQ(preview.Form().MyPrintPreview->orientation(), QPageLayout::Landscape);
    EXPECT_EQ(preview.Font().pointSizeF(), 10);
    EXPECT_EQ(preview.Font().family(), "DejaVu Serif");

    QTableWidget grid(2, 1);
    grid.setItem(0, 0, new QTableWidgetItem("Titre"));
    grid.setItem(1, 0, new QTableWidgetItem("Gmail"));
    const QString pdf = folder_.filePath("grille.pdf");
    ModalHelper modal;
    modal.Expect("Lib_PreviewForm").Do([&](QWidget* window) {
        auto* form = qobject_cast<PreviewForm*>(window);
        EXPECT_TRUE(form->SaveAsPdf(pdf));
        form->reject();
    });
    preview.DisplayGridPortrait(grid, QString(), QString(), 8, "DejaVu Sans");
    ASSERT_TRUE(modal.Wait());
    const QStringList text = PdfPages(pdf);
    ASSERT_EQ(text.size(), 1);
    EXPECT_TRUE(text[0].contains("Tableau des données"));
    EXPECT_TRUE(text[0].contains("Premier")) << "the first title stays";
}

TEST_F(PrintingTest, GridRowsAreClearedAndFilledInOrder)
{
    QTableWidget grid(3, 2);
    grid.setItem(0, 0, new QTableWidgetItem("Titre"));
    grid.setItem(1, 0, new QTableWidgetItem("a"));
    grid.setItem(2, 0, new QTableWidgetItem("b"));
    GridClear(grid, "");
    ASSERT_EQ(grid.rowCount(), 2) << "one blank data row is left";
    EXPECT_EQ(GridText(grid, 1, 0), "");
    EXPECT_EQ(GridText(grid, 0, 0), "Titre");

    for (const char* line : { "un\tA", "deux\tB", "trois\tC" }) {
        const int row = GetClearLineGrid(grid, 0, true, "", QString(line));
        EXPECT_EQ(row, grid.rowCount() - 1);
    }
    ASSERT_EQ(grid.rowCount(), 4);
    EXPECT_EQ(QStringList({ GridText(grid, 1, 0), GridText(grid, 2, 0), GridText(grid, 3, 1) }),
        QStringList({ "un", "deux", "C" }));
    EXPECT_EQ(grid.currentRow(), 3);

    // A row marked free ("-1" or "-2") is taken for the next line.
    grid.item(3, 0)->setText("-2");
    EXPECT_EQ(GetClearLineGrid(grid, 0, false, "", QString("quatre\tD")), 3);
    EXPECT_EQ(GridText(grid, 3, 0), "quatre");

    GridClearRow(grid, 7, "x");
    GridClearRow(grid, 0, "x");
    EXPECT_EQ(GridText(grid, 0, 0), "Titre") << "the fixed row and rows out of range stay";
}

TEST_F(PrintingTest, PrintersAreMatchedByNameAndEveryStepIsTraced)
{
    SetInstalledPrinters([] {
        return QList<InstalledPrinter> { { "Bureau", "PDF" }, { "HP LASER", "hplip" }, { "hp laser", "second" } };
    });
    EXPECT_TRUE(SetPrinter(" hp laser "));
    EXPECT_FALSE(SetPrinter("Salon"));
    QString trace = Trace();
    EXPECT_TRUE(
        trace.contains("Set detected printer: HP LASER\thplip") || trace.contains("Set detected printer: HP LASER"))
        << "the first match";
    EXPECT_FALSE(trace.contains("second"));

    // A paper size the printer refuses: traced, and printing goes on.
    CurrentPrinter().setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = folder_.filePath("texte.pdf");
    CurrentPrinter().setOutputFileName(pdf);
    ASSERT_TRUE(InitPrinter("DejaVu Sans", "12", 6, 1, 0, 0));
    EXPECT_TRUE(PrintText("Bonjour"));
    EndPrinting(false, false, 9);
    trace = Trace();
    EXPECT_TRUE(trace.contains("## Error on setting paper size : 0"));
    EXPECT_TRUE(trace.contains("3 Printer names: hp laser"));
    EXPECT_TRUE(trace.contains("End printer access - Foot Date Format: False"));
    EXPECT_TRUE(errors_.isEmpty()) << "the paper is only traced";
    EXPECT_TRUE(PdfPages(pdf).value(0).contains("Bonjour"));

    // A size that is no number stops at step 3.
    EXPECT_FALSE(InitPrinter("DejaVu Sans", "grand", 6, 1, 0, 9));
    ASSERT_EQ(errors_.size(), 1);
    EXPECT_TRUE(errors_[0].contains("InitPrinter(3) : Echec lors de l'initialisation des valeurs de l'objet "
                                    "d'impression."));
    EXPECT_TRUE(Trace().contains("Size\tgrand") || Trace().contains("Size"));
}

TEST(WrapLines, BreaksAtBlanksAndWithinLongWords)
{
    EXPECT_EQ(WrapLines("un deux trois", 8), QStringList({ "un deux", "trois" }));
    EXPECT_EQ(WrapLines("abcdefghij k", 4), QStringList({ "abcd", "efgh", "ij k" }));
    EXPECT_EQ(WrapLines("a\r\nb\rc", 75), QStringList({ "a", "b", "c" }));
}

class ClipboardViewerTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(folder_.isValid());
        NewDatabase();
        MarkOpen();
    }
    DataViewer* Open()
    {
        QTest::mouseClick(Ui().ToolbarTree->ButtonWidget("Clipboard"), Qt::LeftButton);
        DataViewer* viewer = Window().Clipboard().Viewer();
        EXPECT_TRUE(viewer && viewer->isVisible());
        return viewer;
    }
    QTemporaryDir folder_;
};

TEST_F(ClipboardViewerTest, ShowsPastesAndGivesBackItsText)
{
    QGuiApplication::clipboard()->setText("copié ailleurs");
    DataViewer* viewer = Open();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), "Visualiser des données texte du Presse-Papiers Windows");
    EXPECT_EQ(viewer->ZoneData->toPlainText(), "copié ailleurs");

    viewer->ZoneData->setPlainText("modifié ici");
    QGuiApplication::clipboard()->setText("autre");
    Open();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "modifié ici") << "a second opening gives its text back";

    QGuiApplication::clipboard()->setText("nouveau");
    QTest::mouseClick(viewer->PressePapier, Qt::LeftButton);
    EXPECT_EQ(viewer->ZoneData->toPlainText(), "nouveau");
    viewer->ZoneData->setPlainText("");
    QTest::mouseClick(viewer->VersPressePapier, Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "") << "an empty text empties the clipboard";
}

TEST_F(ClipboardViewerTest, PrintsEachCopyAsItsOwnDocumentAndNothingWhenBlank)
{
    DataViewer* viewer = Open();
    ASSERT_NE(viewer, nullptr);
    viewer->ZoneData->setPlainText("   \n ");
    {
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::Ok);
        QTest::mouseClick(viewer->Imprimer, Qt::LeftButton);
        ASSERT_TRUE(modal.Wait());
        EXPECT_EQ(modal.Seen().front().text, "Impression impossible car le champ de consultation est vide");
    }
    QTemporaryDir log;
    StopTraceLog();
    ASSERT_TRUE(StartTraceLog(true, log.path() + "/", {}, "test", false));
    viewer->ZoneData->setPlainText(QString("mot ").repeated(200));
    const QString pdf = folder_.filePath("presse-papiers.pdf");
    {
        ModalHelper modal;
        // Qt's own dialog: its file box's completer does not survive the
        // typing helper, so the fields are set as the dialog reads them.
        modal.Expect("CMDialogPrint")
            .Do([&](QWidget* dialog) {
                dialog->findChild<QLineEdit*>("filename")->setText(pdf);
                dialog->findChild<QSpinBox*>("copies")->setValue(2);
            })
            .Accept();
        QTest::mouseClick(viewer->Imprimer, Qt::LeftButton);
        ASSERT_TRUE(modal.Wait());
    }
    FlushTraceLog();
    QString trace;
    QDirIterator files(log.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        trace += QString::fromUtf8(Read(files.next()));
    StopTraceLog();
    EXPECT_EQ(trace.count("End Printer"), 2) << "two documents";
    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1) << "each of one copy";
    const QStringList lines = pages[0].split('\n', Qt::SkipEmptyParts);
    EXPECT_GE(lines.size(), 10);
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 75);
    EXPECT_EQ(CurrentPrinter().copyCount(), 2) << "the choice is kept for the next time";
}

TEST_F(ClipboardViewerTest, ClosingTheDatabaseEmptiesAndClosesTheViewer)
{
    QGuiApplication::clipboard()->setText("s3cret");
    QPointer<DataViewer> viewer = Open();
    ASSERT_TRUE(viewer);
    Window().File().ClosePasswordFile();
    EXPECT_TRUE(viewer.isNull());
    DataViewer* again = Open();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->ZoneData->toPlainText(), QGuiApplication::clipboard()->text())
        << "a new viewer starts from the clipboard";
}

} // namespace
} // namespace keyholm::test
