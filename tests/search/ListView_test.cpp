// The list window driven as a user does: rows clicked, columns sorted by
// their headers, the filter box, the buttons and the keyboard; and the
// trace log shown in it.

#include "support/ModalHelper.h"

#include "search/ListModel.h"
#include "search/ListView.h"
#include "search/TraceLogViewer.h"
#include "services/TraceLog.h"
#include "services/ui/ControlTag.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace keyholm::test {
namespace {

// What the list shows, column by column, in its present order.
QStringList Column(const ListView& list, int column)
{
    QStringList cells;
    const QAbstractItemModel* model = list.ListViewInfo->model();
    for (int row = 0; row < model->rowCount(); ++row)
        cells << model->index(row, column).data().toString();
    return cells;
}

void ClickRow(ListView& list, int row)
{
    QTreeView* view = list.ListViewInfo;
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
}

void ClickHeader(ListView& list, int column)
{
    QHeaderView* header = list.ListViewInfo->header();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        list_.AddColumn("Label", 3000);
        list_.AddColumn("Expire", 1500);
        list_.AddColumn("Nombre", 900, Qt::AlignRight);
        list_.AddRow({ "banque", "2024-03-05", "10" }, 11);
        list_.AddRow({ "Agenda", "2023-12-01", "9" }, 22);
        list_.AddRow({ "courrier", "2024-01-15", "100" }, 33);
        tester_ = std::make_unique<QAbstractItemModelTester>(
            list_.ListViewInfo->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    }

    // Shows the window modally; `act` works in it as the user.
    void Show(const std::function<void(ListView&)>& act)
    {
        ModalHelper modal;
        modal.Expect("Lib_ListView").Do([&](QWidget*) { act(list_); });
        list_.exec();
        EXPECT_TRUE(modal.Wait());
    }

    ListView list_;
    std::unique_ptr<QAbstractItemModelTester> tester_;
};

TEST_F(ListViewTest, HeadersSortDatesNumbersAndTextsAsSuch)
{
    Show([](ListView& list) {
        EXPECT_EQ(list.CountBand->text(), "3");
        struct Case {
            int column;
            QStringList ascending;
        };
        const Case cases[] = {
            { 1, { "2023-12-01", "2024-01-15", "2024-03-05" } },
            { 2, { "9", "10", "100" } },
            { 0, { "Agenda", "banque", "courrier" } },
        };
        for (const Case& c : cases) {
            ClickHeader(list, c.column);
            EXPECT_EQ(Column(list, c.column), c.ascending) << "first click";
            ClickHeader(list, c.column);
            QStringList descending = c.ascending;
            std::reverse(descending.begin(), descending.end());
            EXPECT_EQ(Column(list, c.column), descending) << "second click";
        }
        QTest::mouseClick(list.cmdFermer, Qt::LeftButton);
    });
}

TEST_F(ListViewTest, TheChosenRowIsTheOneClickedInTheShownOrder)
{
    // Sorted on the numbers, descending: "courrier" (100) comes first.
    Show([](ListView& list) {
        ClickHeader(list, 2);
        ClickHeader(list, 2);
        ClickRow(list, 0);
        EXPECT_TRUE(list.cmdSelection->isEnabled());
        QTest::mouseClick(list.cmdSelection, Qt::LeftButton);
    });
    EXPECT_TRUE(list_.Chosen());
    EXPECT_EQ(list_.ChosenTag(), 33);
    EXPECT_EQ(list_.Table().rows[std::size_t(list_.ChosenIndex() - 1)].Cell(0), "courrier");

    // Double click and Enter choose as well.
    Show([](ListView& list) {
        QTreeView* view = list.ListViewInfo;
        const QPoint centre = view->visualRect(view->model()->index(2, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
    });
    EXPECT_TRUE(list_.Chosen());
    EXPECT_EQ(list_.ChosenIndex(), 3);
}

TEST_F(ListViewTest, ClosingChoosesNothingAndSelectionNeedsARow)
{
    struct Case {
        const char* name;
        std::function<void(ListView&)> close;
    };
    const Case cases[] = {
        { "Fermer", [](ListView& list) { QTest::mouseClick(list.cmdFermer, Qt::LeftButton); } },
        { "Escape", [](ListView& list) { QTest::keyClick(list.ListViewInfo, Qt::Key_Escape); } },
        { "close box", [](ListView& list) { list.close(); } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Show([&](ListView& list) {
            ClickRow(list, 1);
            c.close(list);
        });
        EXPECT_FALSE(list_.Chosen());
        EXPECT_EQ(list_.ChosenIndex(), 0);
        EXPECT_EQ(ControlTag(list_.cmdFermer), "0");
    }

    // Without a row, Sélectionner keeps the window open; a reading list
    // (no Sélectionner) is not closed by a double click.
    ListView fresh;
    fresh.AddColumn("Label", 3000);
    fresh.AddRow({ "seul" }, 1);
    ModalHelper modal;
    modal.Expect("Lib_ListView").Do([&](QWidget* window) {
        QTest::mouseClick(fresh.cmdSelection, Qt::LeftButton);
        EXPECT_TRUE(window->isVisible());
        fresh.cmdSelection->setVisible(false);
        QTreeView* view = fresh.ListViewInfo;
        const QPoint centre = view->visualRect(view->model()->index(0, 0)).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre);
        EXPECT_TRUE(window->isVisible());
        QTest::mouseClick(fresh.cmdFermer, Qt::LeftButton);
    });
    fresh.exec();
    EXPECT_TRUE(modal.Wait());
    EXPECT_FALSE(fresh.Chosen());
}

TEST_F(ListViewTest, TheFilterNarrowsTheRowsAndCopyLeavesSecretsOut)
{
    Show([](ListView& list) {
        QTest::keyClicks(list.LineFilter, "cour");
        EXPECT_EQ(Column(list, 0), QStringList({ "courrier" }));
        EXPECT_EQ(list.CountBand->text(), "1 / 3");
        ClickRow(list, 0);
        QTest::keySequence(list.ListViewInfo, QKeySequence::Copy);
        EXPECT_EQ(QApplication::clipboard()->text(), "courrier\t2024-01-15\t100");
        QApplication::clipboard()->setText("avant");
        list.holdsSecrets = true;
        QTest::keySequence(list.ListViewInfo, QKeySequence::Copy);
        EXPECT_EQ(QApplication::clipboard()->text(), "avant") << "not even the current cell";
        QTest::mouseClick(list.cmdSelection, Qt::LeftButton);
    });
    EXPECT_EQ(list_.ChosenTag(), 33) << "the filtered row's own tag";
}

TEST(TraceLogViewerTest, ListsTheTimedLinesAndFollowsTheLog)
{
    QTemporaryDir folder;
    StopTraceLog();
    ASSERT_TRUE(StartTraceLog(true, folder.path() + "/", {}, "test", false));
    TraceLog("Première étape", "détail un");
    TraceLog("Sans heure", "pas listée", false);
    TraceLog("Seconde étape", "détail deux");
    ModalHelper modal;
    modal.Expect("Lib_ListView").Do([](QWidget* window) {
        auto* list = static_cast<ListView*>(window);
        EXPECT_TRUE(list->Title().startsWith("Liste des traces d'exécution du logiciel "));
        EXPECT_FALSE(list->cmdSelection->isVisible());
        const QStringList labels = Column(*list, 1);
        EXPECT_FALSE(labels.contains("Sans heure"));
        const int first = int(labels.indexOf("Première étape"));
        ASSERT_GE(first, 0);
        EXPECT_EQ(labels.mid(first, 2), QStringList({ "Première étape", "Seconde étape" }));
        const int rows = list->ListViewInfo->model()->rowCount();
        EXPECT_EQ(list->ListViewInfo->currentIndex().row(), rows - 1) << "the last line is current";
        // A line written while the list is open joins it.
        TraceLog("Pendant l'affichage", "nouvelle");
        QTRY_VERIFY_WITH_TIMEOUT(Column(*list, 1).contains("Pendant l'affichage"), 5000);
        QTest::mouseClick(list->cmdFermer, Qt::LeftButton);
    });
    ShowTraceLog(QString());
    EXPECT_TRUE(modal.Wait());
    StopTraceLog();
}

} // namespace
} // namespace keyholm::test
