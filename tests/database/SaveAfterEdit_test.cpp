// With "Enregistrer directement dans la Base" an entry added from the entry
// toolbar reaches the open file at once; without it the file waits for a save.

#include "DatabaseFileFixture.h"

#include "services/main/KeyToolBar.h"

#include <QAction>

namespace keyholm::test {
namespace {

using SaveAfterEditTest = DatabaseFileFixture;

TEST_F(SaveAfterEditTest, AnAddedEntryIsSavedAsTheOptionSays)
{
    for (const bool autoSave : { true, false }) {
        SCOPED_TRACE(autoSave);
        const QString path = PathOf(autoSave ? "Directe.khm" : "Differee.khm");
        WriteDatabase(path, {});
        ASSERT_TRUE(Open(path).open);
        State().Options().autoSave = autoSave;
        TreeNode* category
            = Tree().FindKey(TreeStore::Instance().ChildKeyByText(Tree(), Tree().Root()->Key(), "Banque"));
        ASSERT_TRUE(category);
        Window().Entries().tvTreeView_NodeClick(category);
        Ui().Entry->SetPasswordText(0, "Nouveau compte");
        Ui().Entry->ToolbarPassCode->Button("Add")->trigger();

        const auto saved = ReadDatabase(path);
        ASSERT_TRUE(saved);
        bool found = false;
        for (TreeNode* node = saved->Root(); node; node = saved->Next(node))
            found = found || node->Text() == "Nouveau compte";
        EXPECT_EQ(found, autoSave);
        EXPECT_EQ(State().DatabaseChanged(), !autoSave);
        State().SetDatabaseChanged(false);
        Window().File().ClosePasswordFile();
    }
}

} // namespace
} // namespace keyholm::test
