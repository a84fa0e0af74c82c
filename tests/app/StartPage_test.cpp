// What the start page tells a newcomer to do, done as it says, on a database
// made with the New command.

#include "support/MainWindowFixture.h"

#include "services/main/KeyToolBar.h"
#include "services/main/TreeViewNodes.h"
#include "support/ModalHelper.h"

#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

namespace keyholm::test {
namespace {

using StartPageTest = MainWindowFixture;

TEST_F(StartPageTest, EveryStepItNamesWorks)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    Window().Lifecycle().Form_Load();
    State().Options().autoSave = false;
    const QString steps = Ui().About->TextInfoAppli->toPlainText();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("Perso.khm"));
    {
        ModalHelper modal;
        modal.Expect("CMDialogOpen").Type("fileNameEdit", path).Accept();
        modal.Expect("Lib_PasswordAsk").Click("Annuler");
        modal.ExpectMessageBox().Click(QMessageBox::Ok);
        modal.ExpectMessageBox().Click(QMessageBox::No); // no default categories
        Ui().tbToolBar->Button(QStringLiteral("New"))->trigger();
        ASSERT_TRUE(modal.Wait());
    }
    ASSERT_TRUE(State().DatabaseOpen());
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QTreeView* view = Ui().tvTreeView;
    const auto click = [&](TreeNode* node) {
        const QModelIndex index = IndexOfNode(view->model(), node);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    };

    // "Cliquez sur le nom de la Base dans l'arborescence pour la renommer (F2)."
    ASSERT_TRUE(steps.contains("pour la renommer (F2)"));
    TreeNode* root = Tree().Root();
    click(root);
    ASSERT_TRUE(RenameInPlace("Mes comptes"));
    EXPECT_EQ(root->Text(), "Mes comptes");

    // "Ajoutez des Catégories avec le bouton Ajouter au-dessus de l'arborescence."
    ASSERT_TRUE(steps.contains("Ajoutez des Catégories avec le bouton Ajouter"));
    click(root);
    QToolButton* addCategory = Ui().ToolbarTree->ButtonWidget(QStringLiteral("Add"));
    ASSERT_EQ(addCategory->text(), "Ajouter");
    {
        ModalHelper modal;
        modal.Expect("Lib_SaisieDlg").Type("TextReponse", "Banque").Click("Oui");
        QTest::mouseClick(addCategory, Qt::LeftButton);
        ASSERT_TRUE(modal.Wait());
    }
    TreeNode* category = nullptr;
    for (TreeNode* child : root->Children())
        if (child->Text() == "Banque")
            category = child;
    ASSERT_NE(category, nullptr);

    // "Sélectionnez une Catégorie, remplissez la page Mot de Passe puis Ajouter."
    ASSERT_TRUE(steps.contains("remplissez la page Mot de Passe puis Ajouter"));
    click(category);
    const auto type = [&](int index, const QString& text) {
        QWidget* field = Ui().Entry->PasswordField(index);
        field->setFocus();
        QTest::keyClicks(field, text);
    };
    type(0, "Compte courant");
    type(1, "jean.dupont");
    type(2, "S3cret!");
    QToolButton* addEntry = Ui().Entry->ToolbarPassCode->ButtonWidget(QStringLiteral("Add"));
    ASSERT_EQ(addEntry->text(), "Ajouter");
    QTest::mouseClick(addEntry, Qt::LeftButton);
    ASSERT_EQ(category->ChildCount(), 1);
    EXPECT_EQ(category->Child(0)->Text(), "Compte courant");

    // "Les choix de fonctionnement et la Corbeille sont sous la racine de la Base."
    QStringList images;
    for (TreeNode* child : root->Children())
        images << child->Image();
    EXPECT_TRUE(images.contains("OptionNot"));
    EXPECT_TRUE(images.contains("TrashNot"));

    // "Enregistrez avec Ctrl+S ; l'alerte en haut à droite clignote tant que des
    // changements ne sont pas enregistrés."
    EXPECT_TRUE(Ui().TimerAlert->isActive());
    Window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    QTest::keySequence(&Window(), QKeySequence::Save);
    EXPECT_FALSE(State().DatabaseChanged());
    EXPECT_FALSE(Ui().TimerAlert->isActive());
    EXPECT_TRUE(QFile::exists(path));
}

} // namespace
} // namespace keyholm::test
