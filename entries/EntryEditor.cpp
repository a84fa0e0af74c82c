#include "entries/EntryEditor.h"

#include "components/EntryRecord.h"
#include "components/FileTools.h"
#include "components/NodeImages.h"
#include "components/NodeKind.h"
#include "components/NodeTags.h"
#include "components/SystemInfo.h"
#include "components/TreeStore.h"
#include "components/ui/ColorValue.h"
#include "entries/Trash.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/ControlTag.h"
#include "services/ui/Messages.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include <exception>
#include <stdexcept>

namespace keyholm {

namespace {

const QString ChooseCategory = QStringLiteral("Vous devez sélectionner une Catégorie de l'arborescence");

// A date text of the caller as a tag text; now when it is not a date.
QString DateOrNow(const QString& text)
{
    const QDateTime moment = ReadDateTimeTag(text);
    return moment.isValid() ? DateTimeTag(moment) : NowTag();
}

// A tag date in the short format; the text itself when it is not a date.
QString ShortDate(const QString& field)
{
    const QDateTime moment = ReadDateTimeTag(field);
    if (!moment.isValid())
        return field;
    const SystemInfo& system = SystemInfo::Instance();
    return system.Locale().toString(moment.date(), system.ShortDateFormat());
}

} // namespace

QString EntryEditor::CreateCategory(TreeNode* parent, const QString& label)
{
    const QString text = label.trimmed();
    if (!parent || text.isEmpty())
        return QString();
    TreeStore& store = TreeStore::Instance();
    return store.AddNode(Tree(), parent->Key(), store.ChildLabel(Tree(), parent, text), NodeImage::DirNot,
        NowTag() + TagSeparator, true, true);
}

EntryRecord EntryEditor::FieldsRecord() const
{
    const EntryPage& page = *ui_.Entry;
    EntryRecord record;
    record.title = page.PasswordText(0).trimmed();
    record.login = page.PasswordText(1).trimmed();
    // A password is kept as typed, blanks included.
    record.password = page.PasswordText(2);
    record.web = page.PasswordText(3).trimmed();
    record.file = page.PasswordText(4).trimmed();
    record.note = page.PasswordText(5).trimmed();
    record.custom = page.TextPerso[0]->text().trimmed();
    if (page.CheckDate->isChecked()) {
        record.expires = true;
        record.expiry = page.DTPickerLimit->date();
    }
    record.color = ValueFromColor(page.EntryColor());
    return record;
}

bool EntryEditor::CreatePasswordKey(const QString& created, const QString& changed)
{
    TreeNode* category = state_.CurrentNode();
    if (!category)
        return false;
    try {
        EntryRecord record = FieldsRecord();
        record.created = DateOrNow(created);
        record.changed = DateOrNow(changed);
        TreeNode* entry = record.Write(Tree(), category);
        record.Wipe();
        if (!entry)
            return false;
        if (category->Image() == NodeImage::DirNot) {
            category->SetImage(NodeImage::DirKeyNot);
            category->SetSelectedImage(NodeImage::DirKey);
        }
        state_.SetCurrentNode(entry);
        state_.SetDatabaseChanged(true);
        ui_.Entry->SetPasswordText(5, record.note);
        if (state_.Options().clearFieldsAfterAdd) {
            procedures_.SetPasswordFields();
            state_.RequestSelection(category);
        } else {
            state_.RequestSelection(entry);
        }
        return true;
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on adding new Password"), error);
        return false;
    }
}

bool EntryEditor::isCheckKeyInfo(int ignoreIndex, bool showMessage)
{
    try {
        const QString title = ui_.Entry->PasswordText(0).trimmed();
        if (title.isEmpty()) {
            ShowInfo(QStringLiteral("Vous devez saisir au moins le Titre du mot de passe"));
            ui_.Entry->TextPassword[0]->setFocus();
            return false;
        }
        TreeNode* current = state_.CurrentNode();
        TreeNode* level = KindOf(current) == NodeKind::Category ? current : (current ? current->Parent() : nullptr);
        if (isCheckIdemLabel(level, title, showMessage, ignoreIndex)) {
            ui_.Entry->TextPassword[0]->setFocus();
            return false;
        }
        procedures_.CheckNodeInfo(nullptr);
        return true;
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on checking password details"), error);
        return false;
    }
}

bool EntryEditor::isCheckIdemLabel(TreeNode* parent, const QString& label, bool showMessage, int ignoreIndex)
{
    if (!parent)
        return false;
    try {
        const int found = TreeStore::Instance().ChildIndexByText(Tree(), parent->Key(), label.trimmed());
        const bool duplicate = found >= 1 && found != ignoreIndex;
        if (duplicate && showMessage)
            ShowInfo(
                QStringLiteral("Attention un mot de passe avec un Titre identique est déjà présent au même niveau."));
        return duplicate;
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on checking similar label"), error);
        return false;
    }
}

TreeNode* EntryEditor::InformationNode() const
{
    for (TreeNode* node = state_.CurrentNode(); node; node = node->Parent())
        if (KindOf(node) == NodeKind::Info)
            return node;
    const PasswordTree& tree = state_.Tree();
    const TreeNode* root = tree.Root();
    if (!root)
        return nullptr;
    const TreeStore& store = TreeStore::Instance();
    for (const QString& image : { NodeImage::InfoNot, NodeImage::Info })
        if (TreeNode* info = tree.NodeAt(store.FindChild(tree, root->Index(), image)))
            return info;
    return nullptr;
}

void EntryEditor::ApplyInfo_Click()
{
    TreeNode* info = InformationNode();
    if (!info) {
        ShowInfo(QStringLiteral("Impossible d'appliquer les changements,<br>le noeud de destination est inconnu !?"));
        return;
    }
    try {
        // The page is read first: removing the line the tree shows as
        // current moves the view's selection, which fills the page again.
        InfoPage& page = *ui_.Info;
        QString dates[2];
        for (int i = 0; i < 2; ++i) {
            dates[i] = ControlTag(page.LabelDate[i]);
            // A database that had no creation line gets one from now on.
            if (dates[i].isEmpty())
                dates[i] = NowTag();
        }
        const QString title = page.TextTitle->text();
        const QString user = page.TextUser->text();
        const QString label = page.TextCustom[0]->text();
        const bool custom = page.CheckLabel[0]->isChecked() && !label.trimmed().isEmpty();
        const QString note = page.TextNote->toPlainText();

        TreeStore& store = TreeStore::Instance();
        const QString key = info->Key();
        auto add = [&](const QString& text, const QString& image, const QString& tag) {
            store.AddNode(Tree(), key, text, image, tag, true, false);
        };
        store.DeleteChildren(Tree(), key);
        add(ShortDate(dates[0]) + QLatin1Char(' ') + ShortDate(dates[1]), NodeImage::Create,
            dates[0] + TagSeparator + dates[1]);
        if (!title.trimmed().isEmpty())
            add(title, NodeImage::Title, QString());
        if (!user.trimmed().isEmpty())
            add(user, NodeImage::User, QString());
        if (custom) {
            ui_.Entry->LabelCustom[0]->setText(label + QStringLiteral(" :"));
            add(label, NodeImage::Custom1, QStringLiteral("1"));
        }
        ui_.Entry->LabelCustom[0]->setVisible(custom);
        ui_.Entry->TextPerso[0]->setVisible(custom);
        if (!note.trimmed().isEmpty())
            store.SaveNote(Tree(), note, key);
        info->SetExpanded(false);
        state_.SetDatabaseChanged(true);
        state_.RequestSelection(info);
        AutoSave();
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on changing global database information"), error);
    }
}

void EntryEditor::ToolbarPassCode_ButtonClick(const QString& key)
{
    state_.ResetIdleTicks();
    TreeNode* node = state_.CurrentNode();
    if (!node) {
        ShowInfo(QStringLiteral("Vous devez sélectionner un élément de l'arborescence"));
        return;
    }
    if (node == Tree().Root()) {
        ShowInfo(ChooseCategory);
        return;
    }
    try {
        const NodeKind kind = KindOf(node);
        if (key == QLatin1String("Add")) {
            // Entries go into categories only, never under a detail.
            if (kind != NodeKind::Category) {
                ShowInfo(ChooseCategory);
                return;
            }
            if (isCheckKeyInfo(-1, true) && CreatePasswordKey(QString(), QString()))
                AutoSave();
        } else if (key == QLatin1String("Change")) {
            if (kind == NodeKind::Entry && isCheckKeyInfo(node->Index(), true)) {
                ChangeEntry(node);
                AutoSave();
            }
        } else if (key == QLatin1String("Delete")) {
            if (kind == NodeKind::Entry)
                DeleteEntry(node);
        } else if (key == QLatin1String("Initfield")) {
            if (AskQuestion(QStringLiteral("Confirmez-vous l'initialisation de tous les champs de saisie ?"),
                    QStringLiteral("Vider les champs de saisie"))
                == Answer::Yes)
                procedures_.SetPasswordFields();
        }
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on Password command: ") + key, error);
    }
}

void EntryEditor::ChangeEntry(TreeNode* entry)
{
    EntryRecord record = FieldsRecord();
    record.created = TagField(entry->Tag(), 0);
    record.changed = NowTag();
    const bool done = record.Rewrite(Tree(), entry);
    record.Wipe();
    if (!done)
        throw std::runtime_error("the entry could not be rewritten");
    state_.SetDatabaseChanged(true);
    state_.SetCurrentNode(entry);
}

void EntryEditor::DeleteEntry(TreeNode* entry)
{
    TreeNode* parent = entry->Parent();
    if (!parent)
        return;
    TreeStore& store = TreeStore::Instance();
    const QString title = QStringLiteral("\r\n\r\n\t") + entry->Text();
    if (KindOf(parent) == NodeKind::Trash) {
        if (AskQuestion(
                QStringLiteral("Confirmez-vous la suppression définitive du mot de passe sélectionné ?") + title)
            != Answer::Yes)
            return;
        store.DeleteNode(Tree(), entry->Key());
        Trash::ShowFilling(parent);
        state_.SetDatabaseChanged(true);
        state_.SetCurrentNode(nullptr);
        state_.RequestSelection(Tree().FindKey(state_.TrashNodeKey()));
        AutoSave();
        return;
    }
    TreeNode* trash = state_.TrashNodeKey().isEmpty() ? nullptr : Tree().FindKey(state_.TrashNodeKey());
    const bool toTrash = state_.Options().useTrash && trash;
    const QString question = toTrash ? QStringLiteral("Confirmez-vous le déplacement dans la Corbeille")
                                     : QStringLiteral("Confirmez-vous la suppression");
    if (AskQuestion(question + QStringLiteral(" du mot de passe sélectionné ?") + title) != Answer::Yes)
        return;
    const bool lastOfCategory = store.CountNodes(Tree(), parent, NodeImage::Password, true, false) < 2;
    if (toTrash) {
        // The trash keeps an entry from the day it was deleted: its change
        // date is the one the purge reads.
        const QString tag = entry->Tag();
        if (!store.MoveNode(Tree(), entry->Key(), trash->Key(), store.ChildLabel(Tree(), trash, entry->Text()))) {
            ReportError(QStringLiteral("Error on moving Password node to trash location."));
            return;
        }
        entry->SetTag(TagField(tag, 0) + TagSeparator + NowTag());
        Trash::ShowFilling(trash);
    } else {
        store.DeleteNode(Tree(), entry->Key());
    }
    // Custom category icons stay; the standard ones show the category empty.
    if (lastOfCategory && (parent->Image() == NodeImage::DirKeyNot || parent->Image() == NodeImage::DirNot)) {
        parent->SetImage(NodeImage::DirNot);
        parent->SetSelectedImage(NodeImage::Dir);
    }
    state_.SetDatabaseChanged(true);
    state_.SetCurrentNode(nullptr);
    state_.RequestSelection(Tree().Root());
    AutoSave();
}

bool EntryEditor::EntryEdited() const
{
    const TreeNode* entry = state_.CurrentNode();
    if (KindOf(entry) != NodeKind::Entry)
        return false;
    EntryRecord stored = EntryRecord::Read(Tree(), entry);
    EntryRecord shown = FieldsRecord();
    const bool same = stored.SameFields(shown);
    stored.Wipe();
    shown.Wipe();
    return !same;
}

bool EntryEditor::LeaveEditedEntry()
{
    try {
        if (!EntryEdited())
            return true;
        TreeNode* entry = state_.CurrentNode();
        const Answer answer = AskQuestion(QStringLiteral("Les modifications du mot de passe « ") + entry->Text()
                + QStringLiteral(" » n'ont pas été appliquées.\r\nSouhaitez-vous les appliquer ?"),
            QStringLiteral("Modifications non appliquées"));
        switch (answer) {
        case Answer::Yes:
            if (!isCheckKeyInfo(entry->Index(), true))
                return false;
            ChangeEntry(entry);
            AutoSave();
            return true;
        case Answer::No:
            state_.RequestSelection(entry);
            return true;
        case Answer::Cancel:
            // The click that led here took the focus to the tree.
            ui_.Entry->PasswordField(lastField_)->setFocus(Qt::OtherFocusReason);
            return false;
        }
        return false;
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on leaving the changed Password"), error);
        return false;
    }
}

void EntryEditor::Fields_Return()
{
    const NodeKind kind = KindOf(state_.CurrentNode());
    const char* key = kind == NodeKind::Entry ? "Change" : kind == NodeKind::Category ? "Add" : nullptr;
    if (!key)
        return;
    if (QAction* button = ui_.Entry->ToolbarPassCode->Button(QLatin1String(key)); button && button->isEnabled())
        button->trigger();
}

void EntryEditor::Fields_Escape()
{
    state_.ResetIdleTicks();
    if (TreeNode* entry = state_.CurrentNode(); KindOf(entry) == NodeKind::Entry)
        state_.RequestSelection(entry);
}

void EntryEditor::NewEntry_Click()
{
    state_.ResetIdleTicks();
    TreeNode* node = state_.CurrentNode();
    TreeNode* category = KindOf(node) == NodeKind::Entry ? node->Parent() : node;
    if (KindOf(category) != NodeKind::Category) {
        ShowInfo(ChooseCategory);
        return;
    }
    if (!LeaveEditedEntry())
        return;
    state_.RequestSelection(category);
    procedures_.SetPasswordFields();
    ui_.Entry->TextPassword[0]->setFocus(Qt::ShortcutFocusReason);
}

void EntryEditor::AutoSave()
{
    if (state_.Options().autoSave)
        procedures_.MenuBaseSave_Click();
}

void EntryEditor::InfoField_Change()
{
    ui_.Info->ApplyInfo->setEnabled(true);
}

void EntryEditor::TextNote_Click()
{
    state_.SetNoteCaret(ui_.Info->TextNote->textCursor().position());
}

void EntryEditor::CheckLabel_Click(int index)
{
    InfoPage& page = *ui_.Info;
    page.ApplyInfo->setEnabled(!page.TextCustom[0]->text().trimmed().isEmpty());
    page.TextCustom[index]->setEnabled(page.CheckLabel[index]->isChecked());
}

void EntryEditor::TextPassword_Change(int index)
{
    try {
        state_.ResetIdleTicks();
        EntryPage& page = *ui_.Entry;
        page.CommandCopyLogin->setEnabled(!page.PasswordText(1).trimmed().isEmpty());
        page.CommandCopyPassword->setEnabled(!page.PasswordText(2).trimmed().isEmpty());
        page.CommandGoWeb->setEnabled(!page.PasswordText(3).trimmed().isEmpty());
        page.CommandOpenFile->setEnabled(FileTools::Instance().FileExists(page.PasswordText(4)));
        page.SaveContentNote->setEnabled(!page.PasswordText(5).trimmed().isEmpty());
        page.TextPassword[3]->setToolTip(page.PasswordText(3));
        // The password never shows in a tool tip.
        if (index != 2)
            page.PasswordField(index)->setToolTip(page.PasswordText(index));
    } catch (const std::exception&) {
    }
}

void EntryEditor::TextPassword_GotFocus(int index)
{
    state_.ResetIdleTicks();
    lastField_ = index;
    if (index == 5)
        return;
    // The password field shows its text in clear while it has the focus.
    QLineEdit* field = ui_.Entry->TextPassword[index];
    if (!field->text().trimmed().isEmpty())
        field->selectAll();
}

} // namespace keyholm
