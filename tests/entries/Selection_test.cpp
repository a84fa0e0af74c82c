// Selecting nodes through the real main window: the page shown, the fields
// filled, the password mask, the toolbars' enabled states and the trash popup.

#include "support/MainWindowFixture.h"

#include "services/ui/ControlTag.h"
#include "services/main/KeyToolBar.h"
#include "services/main/TreeViewNodes.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>

namespace keyholm::test {
namespace {

class SelectionTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        root_ = NewDatabase();
        category_ = AddCategory(root_, "Banque");
    }

    bool Enabled(KeyToolBar* bar, const char* key) { return bar->Button(QLatin1String(key))->isEnabled(); }
    int VisiblePages()
    {
        int visible = 0;
        for (int i = 0; i < DetailPageCount; ++i)
            visible += Ui().PasswordTabView->isTabVisible(i) ? 1 : 0;
        return visible;
    }

    TreeNode* root_ = nullptr;
    TreeNode* category_ = nullptr;
};

TEST_F(SelectionTest, EntryFillsEveryFieldAndMasksThePasswordAsCheckHideSays)
{
    const QDate expiry(2031, 5, 17);
    TreeNode* entry = AddEntry(category_, "Compte courant",
        { .login = "marie@example.org",
            .password = "s3c",
            .web = "https://banque.example/",
            .file = "/tmp/releve.pdf",
            .note = "ligne 1\nligne 2",
            .custom = "1234",
            .expiry = expiry });
    entry->SetBackColor(0x0000ff); // red, stored as 0x00BBGGRR

    for (bool hide : { true, false }) {
        Ui().Option->CheckHide->setChecked(hide);
        Window().Entries().tvTreeView_NodeClick(entry);
        EXPECT_EQ(State().CurrentNode(), entry);
        EXPECT_EQ(Ui().PasswordTabView->currentIndex(), int(DetailPage::Entry));
        EXPECT_EQ(Ui().Entry->PasswordText(0), "Compte courant");
        EXPECT_EQ(Ui().Entry->PasswordText(1), "marie@example.org");
        EXPECT_EQ(Ui().Entry->PasswordText(2), "s3c");
        EXPECT_EQ(Ui().Entry->TextPassword[2]->echoMode(), hide ? QLineEdit::Password : QLineEdit::Normal);
        EXPECT_EQ(Ui().Entry->TextPassword[2]->displayText().contains("s3c"), !hide);
        EXPECT_TRUE(ControlTag(Ui().Entry->TextPassword[2]).isEmpty()) << "no second copy of the password";
        EXPECT_EQ(Ui().Entry->PasswordText(3), "https://banque.example/");
        EXPECT_EQ(Ui().Entry->PasswordText(4), "/tmp/releve.pdf");
        EXPECT_EQ(Ui().Entry->PasswordText(5), "ligne 1\nligne 2");
        EXPECT_EQ(Ui().Entry->TextPerso[0]->text(), "1234");
        EXPECT_TRUE(Ui().Entry->CheckDate->isChecked());
        EXPECT_TRUE(Ui().Entry->DTPickerLimit->isEnabled());
        EXPECT_EQ(Ui().Entry->DTPickerLimit->date(), expiry);
        EXPECT_EQ(Ui().Entry->EntryColor(), QColor(255, 0, 0));
    }
    EXPECT_EQ(entry->SelectedImage(), "PasswordWeb");
}

TEST_F(SelectionTest, CategoryAfterAnEntryKeepsTheEntrysValuesAndShowsItsOwnDates)
{
    TreeNode* entry = AddEntry(category_, "Compte", { .login = "moi", .password = "pw" });
    TreeNode* other = AddCategory(root_, "Travail", "DirStarNot");
    other->SetTag(DateTimeTag(QDateTime(QDate(2020, 1, 2), QTime(10, 0))) + TagSeparator
        + DateTimeTag(QDateTime(QDate(2021, 3, 4), QTime(11, 0))));

    Window().Entries().tvTreeView_NodeClick(entry);
    Window().Entries().tvTreeView_NodeClick(other);
    EXPECT_EQ(State().CurrentNode(), other);
    EXPECT_EQ(other->SelectedImage(), "DirStar");
    EXPECT_EQ(Ui().PasswordTabView->currentIndex(), int(DetailPage::Entry));
    EXPECT_EQ(Ui().Entry->PasswordText(0), "Compte");
    EXPECT_EQ(Ui().Entry->PasswordText(1), "moi");
    EXPECT_EQ(Ui().Entry->PasswordText(2), "pw");
    const QString message = Ui().StatusMsg();
    EXPECT_TRUE(message.startsWith("Créé le ")) << qPrintable(message);
    EXPECT_TRUE(message.contains("2020")) << qPrintable(message);
    EXPECT_TRUE(message.contains(". Modifié le ")) << qPrintable(message);
    EXPECT_TRUE(message.contains("2021")) << qPrintable(message);
}

TEST_F(SelectionTest, EntryWithoutDetailsShowsClearedFields)
{
    TreeNode* full
        = AddEntry(category_, "Plein", { .login = "a", .password = "b", .web = "w", .expiry = QDate(2030, 1, 1) });
    TreeNode* bare = AddEntry(category_, "Vide", {});
    Window().Entries().tvTreeView_NodeClick(full);
    Window().Entries().tvTreeView_NodeClick(bare);
    EXPECT_EQ(Ui().Entry->PasswordText(0), "Vide");
    for (int i = 1; i <= 5; ++i)
        EXPECT_TRUE(Ui().Entry->PasswordText(i).isEmpty()) << i;
    EXPECT_FALSE(Ui().Entry->CheckDate->isChecked());
    EXPECT_FALSE(Ui().Entry->DTPickerLimit->isEnabled());
    EXPECT_EQ(Ui().Entry->DTPickerLimit->date(), QDate::currentDate().addDays(7));
}

TEST_F(SelectionTest, EachKindShowsItsOwnPageAlone)
{
    struct PageCase {
        TreeNode* node;
        DetailPage page;
    };
    const PageCase cases[] = { { root_, DetailPage::About }, { ServiceNode("InfoNot"), DetailPage::Info },
        { ServiceNode("StatNot"), DetailPage::Stat }, { ServiceNode("OptionNot"), DetailPage::Option },
        { ServiceNode("TrashNot"), DetailPage::Trash }, { category_, DetailPage::Entry } };
    for (const PageCase& kind : cases) {
        ASSERT_NE(kind.node, nullptr) << int(kind.page);
        Window().Entries().tvTreeView_NodeClick(kind.node);
        EXPECT_EQ(Ui().PasswordTabView->currentIndex(), int(kind.page));
        EXPECT_TRUE(Ui().PasswordTabView->isTabVisible(int(DetailPage::Help))) << int(kind.page);
        EXPECT_EQ(VisiblePages(), 2) << int(kind.page); // the page and the help page
    }
}

TEST_F(SelectionTest, EnabledStatesForTheRootAndAnEntry)
{
    TreeNode* entry = AddEntry(category_, "Compte", { .login = "moi" });
    KeyToolBar* tree = Ui().ToolbarTree;
    KeyToolBar* pass = Ui().Entry->ToolbarPassCode;
    QAction* icon = tree->ButtonMenu("Change", "Icon");

    Window().Entries().tvTreeView_NodeClick(root_);
    EXPECT_TRUE(Enabled(tree, "Add"));
    EXPECT_TRUE(Enabled(tree, "Change"));
    EXPECT_FALSE(icon->isEnabled());
    EXPECT_FALSE(Enabled(tree, "Delete"));
    EXPECT_FALSE(Enabled(tree, "Purge"));
    EXPECT_TRUE(Enabled(tree, "Search"));
    EXPECT_TRUE(Enabled(tree, "Date"));
    EXPECT_TRUE(Enabled(tree, "Export"));
    EXPECT_FALSE(Enabled(pass, "Add"));
    EXPECT_FALSE(Enabled(pass, "Change"));
    EXPECT_FALSE(Enabled(pass, "Delete"));

    Window().Entries().tvTreeView_NodeClick(entry);
    EXPECT_FALSE(Enabled(tree, "Add"));
    EXPECT_FALSE(Enabled(tree, "Change"));
    EXPECT_FALSE(icon->isEnabled());
    EXPECT_FALSE(Enabled(tree, "Delete"));
    EXPECT_FALSE(Enabled(tree, "Search"));
    EXPECT_TRUE(Enabled(tree, "Date"));
    EXPECT_FALSE(Enabled(pass, "Add"));
    EXPECT_TRUE(Enabled(pass, "Change"));
    EXPECT_TRUE(Enabled(pass, "Delete"));

    Window().Entries().tvTreeView_NodeClick(Tree().FindKey(State().TrashNodeKey()));
    EXPECT_TRUE(Enabled(tree, "Purge"));
    EXPECT_FALSE(Enabled(tree, "Add"));
    EXPECT_FALSE(Enabled(pass, "Add"));
}

TEST_F(SelectionTest, CategoriesWithInformationOrStatisticsIconsAreStillCategories)
{
    for (const char* image : { "DirInfoNot", "DirStatNot", "DirToolNot" }) {
        TreeNode* category = AddCategory(root_, QLatin1String(image), QLatin1String(image));
        Window().Entries().tvTreeView_NodeClick(category);
        EXPECT_EQ(Ui().PasswordTabView->currentIndex(), int(DetailPage::Entry)) << image;
        EXPECT_TRUE(Enabled(Ui().ToolbarTree, "Add")) << image;
        EXPECT_TRUE(Enabled(Ui().ToolbarTree, "Delete")) << image;
        EXPECT_TRUE(Ui().ToolbarTree->ButtonMenu("Change", "Icon")->isEnabled()) << image;
        EXPECT_TRUE(Enabled(Ui().Entry->ToolbarPassCode, "Add")) << image;
    }
}

TEST_F(SelectionTest, SelectedImageOfKindsWithoutTwoStatesIsTheirOwnKey)
{
    TreeNode* entry = AddEntry(category_, "Compte", { .note = "une note" });
    TreeNode* note = Tree().NodeAt(TreeStore::Instance().FindChild(Tree(), entry->Index(), "Note"));
    ASSERT_NE(note, nullptr);
    note->SetSelectedImage(QString());
    Window().Entries().tvTreeView_NodeClick(entry);
    const int page = Ui().PasswordTabView->currentIndex();
    Window().Entries().tvTreeView_NodeClick(note);
    EXPECT_EQ(note->SelectedImage(), "Note");
    EXPECT_EQ(State().CurrentNode(), note);
    EXPECT_EQ(Ui().PasswordTabView->currentIndex(), page); // details change no page
}

// The tree view driven as a user does: clicks with either button, and the
// arrow keys.
TEST_F(SelectionTest, ClicksAndKeysInTheTreeSelectAndTheTrashHasItsMenu)
{
    QTreeView* view = Ui().tvTreeView;
    view->show();
    TreeNode* trash = Tree().FindKey(State().TrashNodeKey());
    const auto click = [&](TreeNode* node, Qt::MouseButton button) {
        const QModelIndex index = IndexOfNode(view->model(), node);
        ASSERT_TRUE(index.isValid());
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), button, {}, view->visualRect(index).center());
    };

    click(trash, Qt::RightButton);
    EXPECT_EQ(State().CurrentNode(), trash);
    EXPECT_EQ(Ui().PasswordTabView->currentIndex(), int(DetailPage::Trash));
    EXPECT_TRUE(Ui().MenuCorbeille->isVisible());
    EXPECT_FALSE(Ui().MenuCorbeilleVider->isEnabled()); // nothing to empty
    Ui().MenuCorbeille->hide();

    click(category_, Qt::LeftButton);
    EXPECT_EQ(State().CurrentNode(), category_);
    click(trash, Qt::LeftButton);
    EXPECT_EQ(State().CurrentNode(), trash);
    EXPECT_FALSE(Ui().MenuCorbeille->isVisible()) << "only the secondary button pops it up";

    AddEntry(trash, "Ancien", { .login = "a" });
    click(trash, Qt::RightButton);
    EXPECT_TRUE(Ui().MenuCorbeilleVider->isEnabled());
    Ui().MenuCorbeille->hide();

    // The arrow keys move the selection, and the page follows.
    click(category_, Qt::LeftButton);
    view->setFocus();
    const QModelIndex above = view->indexAbove(IndexOfNode(view->model(), category_));
    ASSERT_TRUE(above.isValid());
    QTest::keyClick(view, Qt::Key_Up);
    TreeNode* moved = NodeOfIndex(Tree(), above);
    EXPECT_EQ(State().CurrentNode(), moved);
    EXPECT_EQ(view->currentIndex(), above);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(State().CurrentNode(), category_);
    EXPECT_EQ(Ui().PasswordTabView->currentIndex(), int(DetailPage::Entry));
}

TEST_F(SelectionTest, InformationPageShowsTheDatabaseDetails)
{
    TreeNode* info = ServiceNode("InfoNot");
    Add(info, "  Mes comptes  ", "Title");
    Add(info, "Numéro client", "Custom1", "1");
    TreeStore::Instance().SaveNote(Tree(), "Commentaire de la base", info->Key());
    Window().Entries().tvTreeView_NodeClick(info);
    EXPECT_EQ(Ui().PasswordTabView->currentIndex(), int(DetailPage::Info));
    EXPECT_EQ(Ui().Info->TextTitle->text(), "Mes comptes");
    EXPECT_TRUE(Ui().Info->CheckLabel[0]->isChecked());
    EXPECT_EQ(Ui().Info->TextCustom[0]->text(), "Numéro client");
    EXPECT_EQ(Ui().Entry->LabelCustom[0]->text(), "Numéro client :");
    EXPECT_FALSE(Ui().Entry->TextPerso[0]->isHidden());
    EXPECT_EQ(Ui().Info->TextNote->toPlainText(), "Commentaire de la base");
    EXPECT_FALSE(ControlTag(Ui().Info->LabelDate[0]).isEmpty());
    EXPECT_FALSE(Ui().Info->LabelDate[0]->text().isEmpty());
    EXPECT_FALSE(Ui().Info->ApplyInfo->isEnabled());
}

} // namespace
} // namespace keyholm::test
