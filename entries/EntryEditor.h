#pragma once
// Turning what the user typed into tree nodes: a new category, a new entry
// with its details, the change of an entry, the database information node
// written from its page, the entry toolbar and the small handlers of the
// entry and information fields.

#include "services/main/MainArea.h"

#include <QString>

namespace keyholm {

struct EntryRecord;

class EntryEditor : public MainArea {
public:
    using MainArea::MainArea;

    // Adds a category under the parent; its key, empty on failure or for a
    // blank label.
    QString CreateCategory(TreeNode* parent, const QString& label);
    // Adds an entry from the fields under CurrentNode (a category); dates
    // that do not read as dates are now. False when nothing was added.
    bool CreatePasswordKey(const QString& created, const QString& changed);
    // True when the fields may be stored: a title that no other node of the
    // level has (the node at ignoreIndex aside, -1 for none).
    bool isCheckKeyInfo(int ignoreIndex, bool showMessage);
    // True when another child of the parent (not the one at ignoreIndex)
    // has the label, trimmed.
    bool isCheckIdemLabel(TreeNode* parent, const QString& label, bool showMessage, int ignoreIndex);
    // Rebuilds the information node from the information page.
    void ApplyInfo_Click();
    // The entry toolbar: Add, Change, Delete, Initfield.
    void ToolbarPassCode_ButtonClick(const QString& key);

    // Field handlers.
    void InfoField_Change();
    void TextNote_Click();
    void CheckLabel_Click(int index);
    void TextPassword_Change(int index);
    void TextPassword_GotFocus(int index);

    // Saves the database when the working options ask for a save after
    // each edit.
    void AutoSave();

    // Before the user leaves the current entry: when its fields were edited
    // and not applied, asks whether to keep the edits. Oui applies them,
    // Non gives the fields their stored values back; false when the user
    // stays (Annuler, or the edits could not be applied).
    bool LeaveEditedEntry();
    // True when the current node is an entry whose fields differ from what
    // it stores.
    bool EntryEdited() const;
    // The keyboard over the entry fields: Enter applies them ("Modifier" on
    // an entry, "Ajouter" on a category), Esc gives an entry's fields their
    // stored values back.
    void Fields_Return();
    void Fields_Escape();
    // Ctrl+N: empty fields under the selected category (the entry's own
    // when an entry is selected), the title field ready for typing.
    void NewEntry_Click();

private:
    // The entry the fields describe, trimmed as stored.
    EntryRecord FieldsRecord() const;
    void ChangeEntry(TreeNode* entry);
    void DeleteEntry(TreeNode* entry);
    // The information node that the page shows: CurrentNode, its
    // information ancestor, or the root's; null when there is none.
    TreeNode* InformationNode() const;

    int lastField_ = 0; // the entry field that had the focus last
};

} // namespace keyholm
