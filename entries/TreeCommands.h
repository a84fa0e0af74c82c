#pragma once
// The tree toolbar's commands on categories: add, rename, delete, and the
// choice of a category's icon (also by a double click in the tree).

#include "services/main/MainArea.h"

#include <QString>

namespace keyholm {

class EntryEditor;

class TreeCommands : public MainArea {
public:
    TreeCommands(MainWindowUi& ui, MainState& state, MainProcedures& procedures, EntryEditor& editor)
        : MainArea(ui, state, procedures)
        , editor_(editor)
    {
    }

    void ToolbarTree_ButtonClick(const QString& key);
    void ToolbarTree_ButtonMenuClick(const QString& key, const QString& itemKey);
    void tvTreeView_DblClick();

private:
    void AddCategory();
    void RenameCategory();
    void DeleteCategory();
    void ChangeIcon();

    EntryEditor& editor_;
};

} // namespace keyholm
