#pragma once
// The tree toolbar's commands on categories: add, rename, delete, and the
// choice of a category's icon (also by a double click in the tree); its
// "Purge" goes to the trash.

#include "services/main/MainArea.h"

#include <QDate>
#include <QString>

namespace keyholm {

class EntryEditor;
class Trash;

class TreeCommands : public MainArea {
public:
    TreeCommands(MainWindowUi& ui, MainState& state, MainProcedures& procedures, EntryEditor& editor, Trash& trash)
        : MainArea(ui, state, procedures)
        , editor_(editor)
        , trash_(trash)
    {
    }

    void ToolbarTree_ButtonClick(const QString& key);
    void ToolbarTree_ButtonMenuClick(const QString& key, const QString& itemKey);
    void tvTreeView_DblClick();
    // Label editing in the tree: whether the node's label may be edited,
    // and the new text given (true when it is taken).
    bool tvTreeView_BeforeLabelEdit(const TreeNode* node) const;
    bool tvTreeView_AfterLabelEdit(TreeNode* node, const QString& text);
    // "CatDefault": the default categories under the root or a category,
    // after asking; also a new database's last step.
    void AddDefaultCategories();
    // "Search": the text search below the selected node. F3 / Shift+F3: the
    // next or previous match of the last first-result search.
    void Search();
    void FindNext(bool backwards);
    // "Date" and its menu: the entries expired on `dateLimit` (short date
    // format; every dated entry when empty), the chosen one selected.
    void SearchDates(const QString& dateLimit);
    static QString ShortDateText(const QDate& date);

private:
    // "ExportCat" and "ImportCat": on the selected root or category.
    void ExchangeFromSelection(bool exporting);
    void AddCategory();
    void RenameCategory();
    void DeleteCategory();
    void ChangeIcon();

    EntryEditor& editor_;
    Trash& trash_;
};

} // namespace keyholm
