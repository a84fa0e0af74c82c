// The expiry list through the real main window: which entries it lists
// against a limit date under French and American date formats, the row that
// leads back to its entry, the silent check at opening with its count in the
// status bar, and the red marking of expired entries in the tree.

#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"

#include "components/NodeImages.h"
#include "components/SystemInfo.h"
#include "components/ui/PasswordTreeModel.h"
#include "entries/TreeCommands.h"
#include "search/ListView.h"
#include "services/main/KeyToolBar.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QToolButton>

namespace keyholm::test {
namespace {

// The rows the list shows, "category | entry | date", in its order.
QStringList Rows(const ListView& list)
{
    QStringList rows;
    const QAbstractItemModel* model = list.ListViewInfo->model();
    for (int row = 0; row < model->rowCount(); ++row)
        rows << model->index(row, 0).data().toString() + " | " + model->index(row, 1).data().toString() + " | "
                + model->index(row, 2).data().toString();
    return rows;
}

QPoint RowCentre(const ListView& list, int row)
{
    return list.ListViewInfo->visualRect(list.ListViewInfo->model()->index(row, 0)).center();
}

class ExpirySearchTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        saved_ = SystemInfo::Instance().Locale();
        root_ = NewDatabase();
        State().Options().autoSave = false;
    }

    void TearDown() override
    {
        SystemInfo::Instance().SetLocale(saved_);
        MainWindowFixture::TearDown();
    }

    // Dates around `day`: due on it, the day after, long past (two look-alike
    // entries in look-alike categories), none, and a "Date" that is no date.
    void AddDatedEntries(const QDate& day)
    {
        TreeNode* bank = AddCategory(root_, "Banque");
        due_ = AddEntry(bank, "Compte courant", { .password = "a", .expiry = day });
        AddEntry(bank, "Livret", { .password = "b", .expiry = day.addDays(1) });
        AddEntry(AddCategory(root_, "Perso"), "Forum", { .password = "c", .expiry = QDate(2024, 1, 30) });
        AddEntry(AddCategory(root_, "Perso"), "Forum", { .password = "d", .expiry = QDate(2024, 1, 30) });
        TreeNode* work = AddCategory(root_, "Travail");
        AddEntry(work, "Messagerie", { .password = "e" });
        TreeNode* broken = AddEntry(work, "Intranet", { .password = "f", .expiry = day });
        DateOf(broken)->SetTag("pas une date");
    }

    TreeNode* DateOf(TreeNode* entry)
    {
        return Tree().NodeAt(TreeStore::Instance().FindChild(Tree(), entry->Index(), NodeImage::Date));
    }

    // Runs the search and answers its list with `act`; what the list showed
    // and the search's result.
    int Search(const QString& limit, bool displayMsg, bool displayOk, QStringList* rows,
        const std::function<void(ListView&)>& act = {})
    {
        ModalHelper modal;
        modal.Expect("Lib_ListView").Do([&](QWidget* window) {
            auto* list = qobject_cast<ListView*>(window);
            ASSERT_NE(list, nullptr);
            *rows = Rows(*list);
            if (act)
                act(*list);
            if (list->isVisible())
                QTest::mouseClick(list->cmdFermer, Qt::LeftButton);
        });
        const int result = Window().Expiry().SearchOnDatePasswordTree(root_, limit, displayMsg, displayOk);
        EXPECT_TRUE(modal.Wait());
        return result;
    }

    QLocale saved_;
    TreeNode* root_ = nullptr;
    TreeNode* due_ = nullptr;
};

TEST_F(ExpirySearchTest, ListsTheEntriesDueOnOrBeforeTheLimitUnderEitherDateFormat)
{
    const QDate day(2026, 3, 5);
    AddDatedEntries(day);
    const QStringList due
        = { "Banque | Compte courant | 2026-03-05", "Perso | Forum | 2024-01-30", "Perso | Forum | 2024-01-30" };
    const QStringList dated = due + QStringList { "Banque | Livret | 2026-03-06" };
    for (const QLocale& locale :
        { QLocale(QLocale::French, QLocale::France), QLocale(QLocale::English, QLocale::UnitedStates) }) {
        SystemInfo::Instance().SetLocale(locale);
        struct Case {
            QString limit;
            QStringList listed;
        };
        const Case cases[] = {
            { TreeCommands::ShortDateText(day), due },
            { TreeCommands::ShortDateText(day.addDays(1)), dated },
            { "", dated },
            { "   ", dated },
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(locale.name().toStdString() + " limit \"" + c.limit.toStdString() + "\"");
            QStringList rows;
            Search(c.limit, true, true, &rows);
            rows.sort();
            QStringList expected = c.listed;
            expected.sort();
            EXPECT_EQ(rows, expected);
        }
    }

    // A limit that is no date lists nothing, and says so.
    ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::Ok);
    EXPECT_EQ(Window().Expiry().SearchOnDatePasswordTree(root_, "bientôt", true, true), 0);
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(modal.Seen()[0].text, "Il n'y a aucune Date en accord avec les critères de recherche");
}

TEST_F(ExpirySearchTest, TheChosenRowLeadsToItsEntry)
{
    AddDatedEntries(QDate::currentDate());
    auto chooseDue = [](ListView& list) {
        EXPECT_EQ(list.windowTitle(), "Rechercher - Résultat");
        EXPECT_EQ(list.TitleBand->text(), "Résultat de la recherche sur les dates arrivées à expiration");
        EXPECT_TRUE(list.cmdSelection->isVisible());
        const int row = Rows(list).indexOf(QRegularExpression("Banque \\| Compte courant \\| .*"));
        ASSERT_GE(row, 0);
        QTest::mouseClick(list.ListViewInfo->viewport(), Qt::LeftButton, {}, RowCentre(list, row));
        QTest::mouseClick(list.cmdSelection, Qt::LeftButton);
    };
    QStringList rows;
    EXPECT_EQ(Search("", true, true, &rows, chooseDue), DateOf(due_)->Index());

    // The toolbar's button lists up to today and selects the chosen entry.
    Window().Entries().tvTreeView_NodeClick(root_);
    ModalHelper modal;
    modal.Expect("Lib_ListView").Do([&](QWidget* window) { chooseDue(*qobject_cast<ListView*>(window)); });
    QTest::mouseClick(Ui().ToolbarTree->ButtonWidget("Date"), Qt::LeftButton);
    ASSERT_TRUE(modal.Wait());
    QCoreApplication::processEvents();
    EXPECT_EQ(State().CurrentNode(), due_);
}

TEST_F(ExpirySearchTest, TheCheckAtOpeningIsSilentUnlessSomethingExpired)
{
    State().Options().expiryListAtOpening = true;
    // Nothing expired: no window at all (the helper fails on any).
    AddEntry(AddCategory(root_, "Banque"), "Livret", { .password = "b", .expiry = QDate::currentDate().addDays(1) });
    {
        ModalHelper modal;
        MarkOpen();
        EXPECT_TRUE(modal.Wait());
        EXPECT_TRUE(modal.Seen().empty());
        EXPECT_FALSE(Ui().StatusMsg().contains("expiration"));
        EXPECT_EQ(Window().Expiry().SearchOnDatePasswordTree(root_, "bientôt", false, false), 0);
    }

    // Expired entries: a list to read only, and their count in the status bar.
    AddDatedEntries(QDate::currentDate());
    QStringList rows;
    const int result
        = Search(TreeCommands::ShortDateText(QDate::currentDate()), false, false, &rows, [](ListView& list) {
              EXPECT_FALSE(list.cmdSelection->isVisible());
              QTest::mouseDClick(list.ListViewInfo->viewport(), Qt::LeftButton, {}, RowCentre(list, 0));
              EXPECT_TRUE(list.isVisible());
          });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(rows.size(), 3);

    Ui().SetStatusMsg(QString());
    ModalHelper modal;
    modal.Expect("Lib_ListView").Do([](QWidget* window) {
        QTest::mouseClick(qobject_cast<ListView*>(window)->cmdFermer, Qt::LeftButton);
    });
    State().NotifyDatabaseOpened();
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(Ui().StatusMsg(), "3 mot(s) de passe arrivé(s) à expiration");
}

TEST_F(ExpirySearchTest, AnEmptyTreeIsNotSearched)
{
    Tree().Clear();
    root_ = Add(nullptr, "Racine", "RootNot");
    {
        ModalHelper modal;
        EXPECT_EQ(Window().Expiry().SearchOnDatePasswordTree(root_, "", false, false), 0);
        EXPECT_TRUE(modal.Wait());
        EXPECT_TRUE(modal.Seen().empty());
    }
    ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::Ok);
    EXPECT_EQ(Window().Expiry().SearchOnDatePasswordTree(root_, "", true, true), 0);
    ASSERT_TRUE(modal.Wait());
    EXPECT_EQ(modal.Seen()[0].text, "L'arborescence ne contient aucun élément.\nLa recherche ne peut être exécutée.");
}

TEST_F(ExpirySearchTest, ExpiredEntriesAreMarkedInTheTree)
{
    const QDate today = QDate::currentDate();
    TreeNode* bank = AddCategory(root_, "Banque");
    TreeNode* dueToday = AddEntry(bank, "Compte courant", { .password = "a", .expiry = today });
    TreeNode* later = AddEntry(bank, "Livret", { .password = "b", .expiry = today.addDays(1) });
    TreeNode* undated = AddEntry(bank, "Messagerie", { .password = "c" });
    auto* model = qobject_cast<PasswordTreeModel*>(Ui().tvTreeView->model());
    ASSERT_NE(model, nullptr);
    auto tip = [&](TreeNode* node) { return model->IndexFromNode(node).data(Qt::ToolTipRole).toString(); };
    auto marked = [&](TreeNode* node) { return model->IndexFromNode(node).data(Qt::ForegroundRole).isValid(); };
    EXPECT_EQ(tip(dueToday), "Date limite d'utilisation dépassée");
    EXPECT_TRUE(marked(dueToday));
    for (TreeNode* node : { later, undated, bank, DateOf(dueToday) }) {
        EXPECT_TRUE(tip(node).isEmpty()) << node->Text().toStdString();
        EXPECT_FALSE(marked(node)) << node->Text().toStdString();
    }

    // A new date repaints its entry.
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    DateOf(later)->SetTag(DateTimeTag(QDateTime(today.addDays(-1), QTime(0, 0))));
    EXPECT_TRUE(marked(later));
    bool entryRepainted = false;
    for (const QList<QVariant>& signal : changed)
        entryRepainted = entryRepainted || signal[0].toModelIndex() == model->IndexFromNode(later);
    EXPECT_TRUE(entryRepainted);
}

} // namespace
} // namespace keyholm::test
