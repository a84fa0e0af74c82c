// The tree toolbar's category commands through the real main window: add,
// rename, delete and the icon choice, with their prompts answered.

#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"

#include "components/NodeImages.h"
#include "services/main/KeyToolBar.h"

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QTreeView>

namespace keyholm::test {
namespace {

class TreeCommandsTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        root_ = NewDatabase();
        category_ = AddCategory(root_, "Banque");
        sibling_ = AddCategory(root_, "Travail");
        State().Options().autoSave = false;
    }

    void Select(TreeNode* node) { Window().Entries().tvTreeView_NodeClick(node); }

    void Click(const char* key)
    {
        QToolButton* button = Ui().ToolbarTree->ButtonWidget(QLatin1String(key));
        ASSERT_TRUE(button && button->isEnabled()) << key;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    // Runs the command, types `label` into its prompt and confirms it; the
    // texts of the message boxes that followed.
    std::vector<QString> Prompted(const char* key, const QString& label, int boxes = 0)
    {
        ModalHelper modal;
        modal.Expect("Lib_SaisieDlg").Type("TextReponse", label).Click("Oui");
        for (int i = 0; i < boxes; ++i)
            modal.ExpectMessageBox().Click(QMessageBox::Ok);
        Click(key);
        EXPECT_TRUE(modal.Wait());
        std::vector<QString> texts;
        for (const SeenWindow& seen : modal.Seen())
            if (seen.className == "QMessageBox")
                texts.push_back(seen.text);
        return texts;
    }

    TreeNode* root_ = nullptr;
    TreeNode* category_ = nullptr;
    TreeNode* sibling_ = nullptr;
};

const QString Duplicate = "Attention un mot de passe avec un Titre identique est déjà présent au même niveau.";

TEST_F(TreeCommandsTest, AddPutsATrimmedUniqueLabelUnderTheSelection)
{
    struct Case {
        TreeNode* selected;
        QString typed;
        QString added; // empty: nothing is added
        bool duplicate = false;
    };
    const Case cases[] = {
        { root_, "  Finance ", "Finance" },
        { category_, "Sous-compte", "Sous-compte" },
        { root_, "Banque", {}, true },
        { root_, "Banque ", {}, true },
        { root_, "   ", {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        Select(c.selected);
        const int before = Tree().Count();
        const std::vector<QString> boxes = Prompted("Add", c.typed, c.duplicate ? 1 : 0);
        EXPECT_EQ(State().LastCategoryLabel(), c.typed);
        if (c.duplicate) {
            EXPECT_EQ(boxes, std::vector<QString> { Duplicate });
        }
        if (c.added.isEmpty()) {
            EXPECT_EQ(Tree().Count(), before);
            continue;
        }
        TreeNode* added = State().CurrentNode();
        ASSERT_TRUE(added);
        EXPECT_EQ(added->Parent(), c.selected);
        EXPECT_EQ(added->Text(), c.added);
        EXPECT_EQ(added->Image(), NodeImage::DirNot);
        EXPECT_TRUE(State().DatabaseChanged());
    }

    // The next prompt offers the label typed last; a detail takes nothing.
    ModalHelper modal;
    modal.Expect("Lib_SaisieDlg")
        .Do([](QWidget* window) { EXPECT_EQ(window->findChild<QLineEdit*>("TextReponse")->text(), "   "); })
        .Click("Annuler");
    Click("Add");
    EXPECT_TRUE(modal.Wait());
    TreeNode* entry = AddEntry(category_, "Compte", { .login = "moi" });
    TreeNode* login = entry->Child(0);
    Select(login);
    const int before = Tree().Count();
    Window().Commands().ToolbarTree_ButtonClick("Add");
    EXPECT_EQ(Tree().Count(), before);
}

TEST_F(TreeCommandsTest, RenameRefusesASiblingsLabelAndKeepsTheRootsTag)
{
    const QString created = DateTimeTag(QDateTime(QDate(2020, 1, 2), QTime(10, 0)));
    category_->SetTag(created + TagSeparator);
    for (const QString& typed : { QStringLiteral("Travail"), QStringLiteral("Travail "), QStringLiteral("  ") }) {
        SCOPED_TRACE(typed.toStdString());
        Select(category_);
        Prompted("Change", typed, typed.trimmed().isEmpty() ? 0 : 1);
        EXPECT_EQ(category_->Text(), "Banque");
        EXPECT_EQ(category_->Tag(), created + TagSeparator);
    }
    Select(category_);
    Prompted("Change", "Banque");
    EXPECT_EQ(category_->Text(), "Banque");
    EXPECT_EQ(TagField(category_->Tag(), 0), created);
    EXPECT_EQ(ReadDateTimeTag(TagField(category_->Tag(), 1)).date(), QDate::currentDate());

    const QString rootTag = root_->Tag();
    Select(root_);
    Prompted("Change", " Mes comptes ");
    EXPECT_EQ(root_->Text(), "Mes comptes");
    EXPECT_EQ(root_->Tag(), rootTag);
}

TEST_F(TreeCommandsTest, DeleteRefusesServiceNodesAndFullCategories)
{
    AddEntry(sibling_, "Compte", {});
    const QString forbidden = "Opération de suppression interdite sur cet item";
    const QString notEmpty = "Opération non autorisée, car cette Catégorie n'est pas vide.\nChangez votre Choix pour "
                             "réaliser cette suppression.";
    struct Case {
        TreeNode* node;
        QString message;
    };
    const Case cases[] = {
        { root_, forbidden },
        { ServiceNode(NodeImage::TrashNot), forbidden },
        { ServiceNode(NodeImage::OptionNot), forbidden },
        { ServiceNode(NodeImage::InfoNot), forbidden },
        { sibling_, notEmpty },
    };
    State().Options().deleteFullCategory = false;
    for (const Case& c : cases) {
        Select(c.node);
        const int before = Tree().Count();
        ModalHelper modal;
        modal.ExpectMessageBox().Click(QMessageBox::Ok);
        Window().Commands().ToolbarTree_ButtonClick("Delete");
        EXPECT_TRUE(modal.Wait());
        ASSERT_FALSE(modal.Seen().empty());
        EXPECT_EQ(modal.Seen()[0].text, c.message) << qPrintable(c.node->Text());
        EXPECT_EQ(Tree().Count(), before);
    }

    State().Options().deleteFullCategory = true;
    Select(sibling_);
    ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::Yes);
    Click("Delete");
    EXPECT_TRUE(modal.Wait());
    EXPECT_FALSE(Tree().FindKey(TreeStore::Instance().ChildKeyByText(Tree(), root_->Key(), "Travail")));
    EXPECT_EQ(State().CurrentNode(), root_);
}

TEST_F(TreeCommandsTest, TheChosenIconIsTheCategorysNewPicture)
{
    Select(category_);
    for (const bool choose : { false, true }) {
        ModalHelper modal;
        auto& window = modal.Expect("Lib_SelectIcon");
        if (choose) {
            window
                .Do([](QWidget* dialog) {
                    auto* list = dialog->findChild<QListWidget*>("ListViewIcon");
                    for (int i = 0; i < list->count(); ++i)
                        if (list->item(i)->data(Qt::UserRole).toString() == "DirStar")
                            list->setCurrentRow(i);
                })
                .Click("OKButton");
        } else {
            window.Reject();
        }
        Ui().ToolbarTree->ButtonMenu("Change", "Icon")->trigger();
        EXPECT_TRUE(modal.Wait());
        EXPECT_EQ(category_->Image(), choose ? "DirStarNot" : "DirNot");
    }
    EXPECT_EQ(category_->SelectedImage(), "DirStar");
}

TEST_F(TreeCommandsTest, DefaultCategoriesGoUnderTheRootOrAPlainCategory)
{
    State().Options().defaultCategories = { "Banque", "Mail", "  " };
    TreeNode* starred = AddCategory(root_, "Favoris", "DirStarNot");
    Select(starred);
    Ui().ToolbarTree->ButtonMenu("Add", "CatDefault")->trigger();
    EXPECT_EQ(starred->ChildCount(), 0);

    Select(root_);
    ModalHelper modal;
    modal.ExpectMessageBox().Click(QMessageBox::Yes);
    Ui().ToolbarTree->ButtonMenu("Add", "CatDefault")->trigger();
    EXPECT_TRUE(modal.Wait());
    ASSERT_FALSE(modal.Seen().empty());
    EXPECT_EQ(modal.Seen()[0].text, "Confirmez-vous l'ajout de la liste des Catégories par défaut ?");
    const TreeStore& store = TreeStore::Instance();
    EXPECT_FALSE(store.ChildKeyByText(Tree(), root_->Key(), "Banque (2)").isEmpty()) << "no duplicate check";
    EXPECT_FALSE(store.ChildKeyByText(Tree(), root_->Key(), "Mail").isEmpty());
    EXPECT_TRUE(store.ChildKeyByText(Tree(), root_->Key(), "").isEmpty()) << "a blank label adds nothing";
}

class LabelEditTest : public TreeCommandsTest {
protected:
    void SetUp() override
    {
        TreeCommandsTest::SetUp();
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    }

    // Edits the node's label in the tree as with F2, then Enter.
    void Edit(TreeNode* node, const QString& text)
    {
        Select(node);
        // The editor of an earlier edit must be gone before this one is sought.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Ui().TreeRenameAction->trigger();
        QCoreApplication::processEvents();
        // The tree pane stays hidden while no file is open: the editor is
        // there, not shown.
        auto* editor = Ui().tvTreeView->viewport()->findChild<QLineEdit*>();
        ASSERT_TRUE(editor) << qPrintable(node->Text());
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor hands its text over queued, and the node is selected
        // again queued after that.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
};

TEST_F(LabelEditTest, LabelsEditedInPlaceFollowTheTitleRules)
{
    const QString old = DateTimeTag(QDateTime(QDate(2020, 1, 2), QTime(10, 0)));
    TreeNode* entry = AddEntry(category_, "Compte", { .note = "ligne" }, old + TagSeparator + old);
    AddEntry(category_, "Autre", {});
    TreeNode* quote = entry->Child(0)->Child(0);
    ASSERT_EQ(quote->Image(), NodeImage::Quote);

    struct Case {
        TreeNode* node;
        QString typed;
        bool duplicate = false;
    };
    for (const Case& c : { Case { entry, "Autre", true }, Case { entry, "Autre ", true }, Case { entry, "   " },
             Case { entry, "Compte" }, Case { quote, "  " } }) {
        SCOPED_TRACE(c.typed.toStdString());
        const QString text = c.node->Text();
        const QString tag = c.node->Tag();
        ModalHelper modal;
        if (c.duplicate)
            modal.ExpectMessageBox().Click(QMessageBox::Ok);
        Edit(c.node, c.typed);
        EXPECT_TRUE(modal.Wait());
        QCoreApplication::processEvents();
        EXPECT_EQ(c.node->Text(), text);
        EXPECT_EQ(c.node->Tag(), tag);
    }

    Edit(entry, " Neuf ");
    QCoreApplication::processEvents();
    EXPECT_EQ(entry->Text(), "Neuf");
    EXPECT_EQ(TagField(entry->Tag(), 0), old);
    EXPECT_EQ(ReadDateTimeTag(TagField(entry->Tag(), 1)).date(), QDate::currentDate());
    EXPECT_EQ(Ui().Entry->PasswordText(0), "Neuf");

    // A note line takes any text, another line's too.
    TreeNode* note = AddEntry(category_, "Notes", { .note = "premier\nsecond" });
    Edit(note->Child(0)->Child(1), "premier");
    QCoreApplication::processEvents();
    EXPECT_EQ(TreeStore::Instance().LoadNote(Tree(), note->Key()), "premier\npremier");
    Edit(note->Child(0)->Child(0), " autre ligne");
    QCoreApplication::processEvents();
    EXPECT_EQ(TreeStore::Instance().LoadNote(Tree(), note->Key()), "autre ligne\npremier");

    TreeNode* login = AddEntry(category_, "Avec", { .login = "moi" })->Child(0);
    Select(login);
    EXPECT_FALSE(Ui().tvTreeView->model()->flags(Ui().tvTreeView->currentIndex()) & Qt::ItemIsEditable);
}

} // namespace
} // namespace keyholm::test
