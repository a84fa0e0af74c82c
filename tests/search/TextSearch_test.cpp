// The text search through the tree toolbar's "Rechercher" (Ctrl+F) of the
// real main window: its window, the first-result jump, the result list and
// what gets selected.

#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"

#include "components/NodeImages.h"
#include "search/ListView.h"
#include "services/main/KeyToolBar.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QTreeView>

namespace keyholm::test {
namespace {

class TextSearchTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        root_ = NewDatabase();
        root_->SetText("Mes mots de passe");
        bank_ = AddCategory(root_, "Banque");
        gmail_ = AddEntry(bank_, "Mot de passe Gmail",
            { .login = "moi@exemple.fr", .password = "s3cret", .web = "https://mail.example", .note = "code agence" });
        societe_ = AddEntry(bank_, "Société Générale", { .login = "client" });
        trash_ = Tree().FindKey(State().TrashNodeKey());
        old_ = AddEntry(trash_, "Ancien Gmail", {});
        MarkOpen();
    }

    // Ctrl+F from the node; `fill` sets the window up and closes it.
    void Search(TreeNode* from, const std::function<void(ModalHelper&)>& answer)
    {
        Window().Entries().tvTreeView_NodeClick(from);
        ModalHelper modal;
        answer(modal);
        QTest::mouseClick(Ui().ToolbarTree->ButtonWidget("Search"), Qt::LeftButton);
        EXPECT_TRUE(modal.Wait());
    }
    // The search window filled and confirmed.
    static void Find(
        ModalHelper& modal, const QString& text, bool firstOnly, bool matchCase = false, bool logins = false)
    {
        modal.Expect("Lib_Search")
            .Do([=](QWidget* window) {
                window->findChild<QCheckBox*>("CheckOneResult")->setChecked(firstOnly);
                window->findChild<QCheckBox*>("CheckMaj")->setChecked(matchCase);
                window->findChild<QCheckBox*>("CheckLogin")->setChecked(logins);
                auto* field = window->findChild<QLineEdit*>("TextaChercher");
                field->selectAll();
                field->insert(text);
            })
            .Click("Ok");
    }

    TreeNode* root_ = nullptr;
    TreeNode* bank_ = nullptr;
    TreeNode* gmail_ = nullptr;
    TreeNode* societe_ = nullptr;
    TreeNode* trash_ = nullptr;
    TreeNode* old_ = nullptr;
};

// The first-result jump: the entry that owns the match is selected.
TEST_F(TextSearchTest, TheFirstMatchBelowTheStartShowsItsEntry)
{
    struct Case {
        const char* text;
        TreeNode* from;
        bool matchCase;
        TreeNode* selected;
        bool logins = false;
    };
    const Case cases[] = {
        { "mot", root_, false, gmail_ }, // not the root itself
        { "mail.example", root_, false, gmail_ }, // a web detail
        { "agence", root_, false, gmail_ }, // a note line
        { "moi@exemple", root_, false, gmail_, true }, // a login, decoded when asked
        { "moi@exemple", root_, false, root_ }, // not otherwise
        { "societe", root_, false, societe_ }, // accents aside
        { "Banque", bank_, false, bank_ }, // only the start matches
        { "SOCIÉTÉ", root_, true, root_ }, // letter case counts: none
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Search(c.from, [&](ModalHelper& modal) {
            Find(modal, QString::fromUtf8(c.text), true, c.matchCase, c.logins);
            if (c.selected == root_)
                modal.ExpectMessageBox().Click(QMessageBox::Ok); // no result
        });
        EXPECT_EQ(State().CurrentNode(), c.selected);
    }

    // The trash comes first under the root, and its entries are found too;
    // F3 goes on to the next entry that matches, Shift+F3 back.
    Search(root_, [](ModalHelper& modal) { Find(modal, "gmail", true); });
    EXPECT_EQ(State().CurrentNode(), old_);
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QTest::keyClick(&Window(), Qt::Key_F3);
    EXPECT_EQ(State().CurrentNode(), gmail_);
    QTest::keyClick(&Window(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(State().CurrentNode(), old_);
}

TEST_F(TextSearchTest, TheListShowsPathsAndSelectsTheChosenRow)
{
    QStringList labels;
    QStringList paths;
    Search(root_, [&](ModalHelper& modal) {
        Find(modal, "gmail", false);
        modal.Expect("Lib_ListView").Do([&](QWidget* window) {
            auto* list = static_cast<ListView*>(window);
            EXPECT_EQ(list->Title(), "Résultat de la recherche - A partir de Mes mots de passe");
            const QAbstractItemModel* model = list->ListViewInfo->model();
            for (int row = 0; row < model->rowCount(); ++row) {
                labels << model->index(row, 0).data().toString();
                paths << model->index(row, 1).data().toString();
            }
            list->ListViewInfo_ItemClick(int(labels.indexOf("Ancien Gmail")));
            QTest::mouseClick(list->cmdSelection, Qt::LeftButton);
        });
    });
    EXPECT_EQ(labels, QStringList({ "Ancien Gmail", "Mot de passe Gmail" }));
    EXPECT_EQ(paths,
        QStringList({ "/Mes mots de passe/Corbeille/Ancien Gmail", "/Mes mots de passe/Banque/Mot de passe Gmail" }));
    EXPECT_EQ(State().CurrentNode(), old_);

    // Closed without a choice: the start node is selected again; "***"
    // matches no masked login or password.
    Search(bank_, [](ModalHelper& modal) {
        Find(modal, "***", false);
        modal.ExpectMessageBox().Click(QMessageBox::Ok);
    });
    EXPECT_EQ(State().CurrentNode(), bank_);
}

TEST_F(TextSearchTest, TheWindowClosesWithoutSearchingAndWantsAText)
{
    struct Case {
        const char* name;
        std::function<void(QWidget*)> close;
    };
    const Case cases[] = {
        { "Annuler", [](QWidget* w) { QTest::mouseClick(w->findChild<QPushButton*>("Annuler"), Qt::LeftButton); } },
        { "Escape", [](QWidget* w) { QTest::keyClick(w->findChild<QLineEdit*>("TextaChercher"), Qt::Key_Escape); } },
        { "close box", [](QWidget* w) { w->close(); } },
        { "blanks",
            [](QWidget* w) {
                w->findChild<QLineEdit*>("TextaChercher")->setText("   ");
                QTest::mouseClick(w->findChild<QPushButton*>("Ok"), Qt::LeftButton);
            } },
    };
    Search(root_, [](ModalHelper& modal) { Find(modal, "gmail", true); }); // a search to not repeat
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Window().Entries().tvTreeView_NodeClick(bank_);
        Search(bank_, [&](ModalHelper& modal) { modal.Expect("Lib_Search").Do(c.close); });
        EXPECT_EQ(State().CurrentNode(), bank_) << "nothing searched";
    }

    // An empty text is asked again; a branch without children is not searched.
    Search(root_, [](ModalHelper& modal) {
        modal.Expect("Lib_Search").Do([](QWidget* w) {
            w->findChild<QLineEdit*>("TextaChercher")->clear();
            ModalHelper inner;
            inner.ExpectMessageBox().Click(QMessageBox::Ok);
            QTest::mouseClick(w->findChild<QPushButton*>("Ok"), Qt::LeftButton);
            EXPECT_TRUE(inner.Wait());
            EXPECT_EQ(inner.Seen()[0].text, "Vous devez obligatoirement saisir le texte à rechercher.");
            EXPECT_TRUE(w->isVisible());
            QTest::mouseClick(w->findChild<QPushButton*>("Annuler"), Qt::LeftButton);
        });
    });
    TreeNode* empty = AddCategory(root_, "Vide");
    Search(empty, [](ModalHelper& modal) { modal.ExpectMessageBox().Click(QMessageBox::Ok); });
}

} // namespace
} // namespace keyholm::test
