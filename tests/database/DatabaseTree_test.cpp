// The default tree, the check and repair of a loaded tree, the "Key" icon
// rule and the unsaved-changes alert, through the real main window.

#include "support/MainWindowFixture.h"

#include <QLabel>
#include <QTabWidget>
#include <QTimer>

namespace keyholm::test {
namespace {

using DatabaseTreeTest = MainWindowFixture;

QStringList ChildTexts(const TreeNode* node)
{
    QStringList texts;
    for (const TreeNode* child : node->Children())
        texts << child->Text();
    return texts;
}

TEST_F(DatabaseTreeTest, NewDefaultTreeHasTheRootAndFourServiceNodesInOrder)
{
    TreeNode* root = NewDatabase();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Tree().TopLevelCount(), 1);
    EXPECT_EQ(root->Key(), "Root");
    EXPECT_EQ(root->Text(), "Cliquez ici sur ce label pour le modifier...");
    EXPECT_EQ(root->Image(), "RootNot");
    EXPECT_EQ(root->SelectedImage(), "Root");
    EXPECT_TRUE(root->Sorted());
    EXPECT_EQ(ChildTexts(root),
        (QStringList { " A propos de la Base", " Chiffres sur la Base", " Choix de fonctionnement", " Corbeille" }));
    TreeNode* info = root->Child(0);
    EXPECT_EQ(info->Image(), "InfoNot");
    ASSERT_EQ(info->ChildCount(), 2);
    EXPECT_EQ(info->Child(0)->Image(), "Create");
    EXPECT_EQ(TagField(info->Child(0)->Tag(), 0), TagField(info->Child(0)->Tag(), 1));
    EXPECT_TRUE(ReadDateTimeTag(TagField(info->Child(0)->Tag(), 0)).isValid());
    EXPECT_EQ(info->Child(1)->Image(), "User");
    for (int row = 1; row < 4; ++row)
        EXPECT_EQ(root->Child(row)->ChildCount(), 0);
    EXPECT_EQ(Tree().Count(), 7); // the five nodes and the two details of the information node

    EXPECT_EQ(State().TrashNodeKey(), root->Child(3)->Key());
    EXPECT_TRUE(State().DatabaseChanged());
    EXPECT_EQ(State().CurrentNode(), root);
    EXPECT_EQ(Ui().PasswordTabView->currentIndex(), int(DetailPage::About));
}

struct RepairCase {
    const char* name;
    QStringList serviceImages; // service nodes the loaded tree has
    QStringList serviceTexts;
};

class CheckDataTreeTest : public MainWindowFixture, public ::testing::WithParamInterface<RepairCase> { };

TEST_P(CheckDataTreeTest, FindsOrAddsEachServiceNodeOnce)
{
    const RepairCase& repair = GetParam();
    TreeNode* root = Add(nullptr, "Ma base", "RootNot");
    root->SetSorted(true);
    AddCategory(root, "Banque");
    for (int i = 0; i < repair.serviceImages.size(); ++i)
        Add(root, repair.serviceTexts[i], repair.serviceImages[i]);

    Window().Database().CheckDataTree();

    EXPECT_EQ(Tree().TopLevelCount(), 1);
    const QStringList kinds[] = { { "InfoNot", "Info" }, { "StatNot", "Stat" }, { "OptionNot", "Option" },
        { "TrashNot", "Trash", "TrashKey", "TrashKeyNot" } };
    for (const QStringList& images : kinds) {
        int found = 0;
        for (const TreeNode* child : root->Children())
            found += images.contains(child->Image()) ? 1 : 0;
        EXPECT_EQ(found, 1) << qPrintable(images.first());
    }
    for (const TreeNode* child : root->Children()) {
        if (child->Text() == "Banque")
            continue;
        EXPECT_TRUE(child->Text().startsWith(' ')) << qPrintable(child->Text());
        EXPECT_FALSE(child->Text().startsWith("  ")) << qPrintable(child->Text());
    }
    ASSERT_FALSE(State().TrashNodeKey().isEmpty());
    const TreeNode* trash = Tree().FindKey(State().TrashNodeKey());
    ASSERT_NE(trash, nullptr);
    EXPECT_TRUE(trash->Image().startsWith("Trash"));
    if (repair.serviceImages.contains("TrashKey")) {
        EXPECT_EQ(trash->Image(), "TrashKey");
    }
}

INSTANTIATE_TEST_SUITE_P(LoadedTrees, CheckDataTreeTest,
    ::testing::Values(RepairCase { "NoServiceNode", {}, {} },
        RepairCase { "TextsWithoutTheirSpace", { "InfoNot", "StatNot", "OptionNot", "TrashNot" },
            { "A propos de la Base", "Chiffres sur la Base", "Choix de fonctionnement", "Corbeille" } },
        RepairCase { "TextsWithTheirSpace", { "Info", "Stat", "Option", "Trash" },
            { " A propos de la Base", " Chiffres", " Choix", " Corbeille" } },
        RepairCase { "TrashStoredFull", { "TrashKey" }, { "Corbeille" } },
        RepairCase { "TrashStoredFullNotSelected", { "InfoNot", "TrashKeyNot" }, { " A propos", " Corbeille" } }),
    [](const ::testing::TestParamInfo<RepairCase>& info) { return std::string(info.param.name); });

TEST_F(DatabaseTreeTest, CheckDataTreeOnAnEmptyTreeBuildsRootAndServiceNodes)
{
    Window().Database().CheckDataTree();
    ASSERT_EQ(Tree().TopLevelCount(), 1);
    EXPECT_EQ(Tree().Root()->Key(), "Root");
    EXPECT_EQ(ChildTexts(Tree().Root()),
        (QStringList { " A propos de la Base", " Chiffres sur la Base", " Choix de fonctionnement", " Corbeille" }));
}

TEST_F(DatabaseTreeTest, KeyIconFollowsDirectEntriesOfPlainCategoriesOnly)
{
    TreeNode* root = NewDatabase();
    TreeNode* plain = AddCategory(root, "Banque");
    TreeNode* custom = AddCategory(root, "Outils", "DirToolNot");
    TreeNode* outer = AddCategory(root, "Parent");
    TreeNode* inner = AddCategory(outer, "Enfant");
    TreeNode* inPlain = AddEntry(plain, "Compte", { .login = "moi" });
    AddEntry(custom, "Marteau", { .password = "clou" });
    AddEntry(inner, "Profond", { .login = "x" });

    // Clicking an entry marks its plain category; a chosen icon stays.
    Window().Entries().tvTreeView_NodeClick(inPlain);
    EXPECT_EQ(plain->Image(), "DirKeyNot");
    EXPECT_EQ(plain->SelectedImage(), "DirKey");
    Window().Entries().tvTreeView_NodeClick(custom->Child(0));
    EXPECT_EQ(custom->Image(), "DirToolNot");

    // Only direct children count.
    Window().Entries().tvTreeView_NodeClick(outer);
    EXPECT_EQ(outer->Image(), "DirNot");
    EXPECT_EQ(outer->SelectedImage(), "Dir");
    Window().Entries().tvTreeView_NodeClick(inner);
    EXPECT_EQ(inner->Image(), "DirKeyNot");

    // The last entry gone, the category shows the plain icon again.
    ASSERT_TRUE(TreeStore::Instance().DeleteNode(Tree(), inPlain->Key()));
    Window().Entries().tvTreeView_NodeClick(plain);
    EXPECT_EQ(plain->Image(), "DirNot");
    EXPECT_EQ(plain->SelectedImage(), "Dir");
    Window().Entries().tvTreeView_NodeClick(custom);
    EXPECT_EQ(custom->Image(), "DirToolNot");
    EXPECT_EQ(custom->SelectedImage(), "DirTool");
}

TEST_F(DatabaseTreeTest, KeyIconOfTheTrash)
{
    NewDatabase();
    TreeNode* trash = Tree().FindKey(State().TrashNodeKey());
    TreeNode* binned = AddEntry(trash, "Ancien", { .login = "a" });
    Window().Entries().tvTreeView_NodeClick(binned);
    EXPECT_EQ(trash->Image(), "TrashKeyNot");
    EXPECT_EQ(trash->SelectedImage(), "TrashKey");
    ASSERT_TRUE(TreeStore::Instance().DeleteNode(Tree(), binned->Key()));
    Window().CheckNodeInfo(trash);
    EXPECT_EQ(trash->Image(), "TrashNot");
    EXPECT_EQ(trash->SelectedImage(), "Trash");
}

TEST_F(DatabaseTreeTest, UnsavedChangesAlertBlinksUntilCleared)
{
    QLabel* first = Ui().PictureAlert[0];
    QLabel* second = Ui().PictureAlert[1];
    Ui().SetStatusMsg("ancien message");
    State().SetDatabaseChanged(true);
    EXPECT_TRUE(State().DatabaseChanged());
    EXPECT_TRUE(Ui().TimerAlert->isActive());
    EXPECT_EQ(Ui().TimerAlert->interval(), 1000);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(second->isVisible());
    EXPECT_TRUE(Ui().StatusMsg().isEmpty());
    EXPECT_EQ(first->toolTip(), "Base modifiée, pensez à la sauvegarde !");

    // Each tick shows the other picture.
    bool firstShown = true;
    for (int tick = 0; tick < 4; ++tick) {
        Window().Layout().TimerAlert_Timer();
        EXPECT_EQ(first->isVisible(), firstShown) << "tick " << tick;
        EXPECT_NE(first->isVisible(), second->isVisible()) << "tick " << tick;
        firstShown = !firstShown;
    }

    State().SetDatabaseChanged(false);
    EXPECT_FALSE(State().DatabaseChanged());
    EXPECT_FALSE(Ui().TimerAlert->isActive());
    EXPECT_FALSE(first->isVisible());
    EXPECT_FALSE(second->isVisible());
}

TEST_F(DatabaseTreeTest, CurrentNodeForgetsANodeThatLeavesTheTree)
{
    TreeNode* root = NewDatabase();
    TreeNode* category = AddCategory(root, "Banque");
    TreeNode* entry = AddEntry(category, "Compte", { .login = "moi" });
    Window().Entries().tvTreeView_NodeClick(entry);
    ASSERT_EQ(State().CurrentNode(), entry);
    ASSERT_TRUE(TreeStore::Instance().DeleteNode(Tree(), category->Key()));
    EXPECT_EQ(State().CurrentNode(), nullptr);
}

} // namespace
} // namespace keyholm::test
