#include "entries/Selection.h"

#include "entries/Statistics.h"

#include "components/EntryRecord.h"
#include "components/NodeImages.h"
#include "components/NodeKind.h"
#include "components/NodeTags.h"
#include "components/SystemInfo.h"
#include "components/TextTools.h"
#include "components/TreeStore.h"
#include "components/ui/ColorValue.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"
#include "services/main/KeyToolBar.h"
#include "services/main/TreeViewNodes.h"
#include "services/ui/ControlTag.h"
#include "services/ui/SecretLineEdit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDateEdit>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>

#include <exception>

namespace keyholm {

namespace {

// The busy pointer for the length of a scope.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { Restore(); }
    void Restore()
    {
        if (active_) {
            QApplication::restoreOverrideCursor();
            active_ = false;
        }
    }

private:
    bool active_ = true;
};

void SetButton(KeyToolBar* bar, const char* key, bool enabled)
{
    if (QAction* button = bar->Button(QLatin1String(key)))
        button->setEnabled(enabled);
}

} // namespace

bool Selection::IsFolderLike(const TreeNode* node)
{
    switch (KindOf(node)) {
    case NodeKind::Root:
    case NodeKind::Category:
    case NodeKind::Detail:
        return true;
    default:
        return false;
    }
}

void Selection::MarkSelected(TreeNode* node)
{
    QTreeView* view = ui_.tvTreeView;
    QItemSelectionModel* selection = view->selectionModel();
    if (!selection)
        return;
    marking_ = true;
    const QModelIndex index = IndexOfNode(view->model(), node);
    if (index.isValid()) {
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        view->scrollTo(index);
    } else {
        selection->clear();
    }
    marking_ = false;
}

void Selection::tvTreeView_NodeClick(TreeNode* node)
{
    if (!node)
        return;
    BusyPointer busy;
    try {
        state_.ResetIdleTicks();
        ui_.SetStatusMsg(QString());
        state_.SetCurrentNode(node);
        MarkSelected(node);
        if (node->SelectedImage().isEmpty())
            node->SetSelectedImage(SelectedImageFor(node->Image()));
        EnableFromSelectedNode();
        ui_.SetStatusMsg(node->Text());

        switch (KindOfImage(node->Image())) {
        case NodeKind::Root:
            TraceLog(QStringLiteral("Node click"), QStringLiteral("Root"));
            SetPasswordFields();
            UnvisiblePasswordTab(int(DetailPage::About));
            break;
        case NodeKind::Info:
            TraceLog(QStringLiteral("Node click"), QStringLiteral("Info"));
            SetPasswordFields();
            FillInformationPage(node);
            ui_.Info->ApplyInfo->setEnabled(false);
            UnvisiblePasswordTab(int(DetailPage::Info));
            break;
        case NodeKind::Stat:
            TraceLog(QStringLiteral("Node click"), QStringLiteral("Stat"));
            SetPasswordFields();
            SetPasswordStat();
            UnvisiblePasswordTab(int(DetailPage::Stat));
            break;
        case NodeKind::Option:
            TraceLog(QStringLiteral("Node click"), QStringLiteral("Option"));
            SetPasswordFields();
            UnvisiblePasswordTab(int(DetailPage::Option));
            break;
        case NodeKind::Trash:
            TraceLog(QStringLiteral("Node click"), QStringLiteral("Trash"));
            SetPasswordFields();
            UnvisiblePasswordTab(int(DetailPage::Trash));
            if (state_.LastTreeButton() == 2) {
                busy.Restore();
                ShowTrashPopup(node);
                state_.SetLastTreeButton(0);
            }
            break;
        case NodeKind::Entry:
            SetPasswordFields();
            ShowEntryPage(node);
            TraceLog(QStringLiteral("Node click"), QStringLiteral("Pass"));
            FillEntryFields(node);
            break;
        case NodeKind::Category:
            // The fields keep what they show, so that an entry's values can
            // be added again in the selected category.
            TraceLog(QStringLiteral("Node click Dir"), node->Image());
            ShowEntryPage(node);
            break;
        default:
            break;
        }
        procedures_.CheckNodeInfo(nullptr);
        procedures_.Form_Resize();
    } catch (const std::exception& error) {
        state_.SetCurrentNode(nullptr);
        ReportException(QStringLiteral("Error on selecting Keyholm Node"), error);
    }
}

QString Selection::TagDateText(const QString& field, const QString& format)
{
    const QDateTime moment = ReadDateTimeTag(field);
    if (!moment.isValid())
        return field;
    return SystemInfo::Instance().Locale().toString(moment.date(), format);
}

void Selection::ShowEntryPage(TreeNode* node)
{
    UnvisiblePasswordTab(int(DetailPage::Entry));
    // A password shown by its eye button hides again on the next selection.
    ui_.Entry->PasswordEdit->SetConcealed(state_.Options().hidePassword);
    const QString tag = node->Tag();
    if (tag.isEmpty())
        return;
    const QString shortFormat = SystemInfo::Instance().ShortDateFormat();
    const TextTools& text = TextTools::Instance();
    QString message = QStringLiteral("Créé le ") + TagDateText(text.BeforeFirst(tag, TagSeparator), shortFormat);
    const QString changed = text.AfterFirst(tag, TagSeparator);
    if (!changed.isEmpty())
        message += QStringLiteral(". Modifié le ") + TagDateText(changed, shortFormat);
    ui_.SetStatusMsg(message);
}

void Selection::FillEntryFields(TreeNode* node)
{
    EntryRecord entry = EntryRecord::Read(Tree(), node);
    ui_.Entry->SetPasswordText(0, entry.title);
    ui_.Entry->SetEntryColor(entry.color < 0 ? QColor(Qt::white) : ColorFromValue(entry.color));
    ui_.Entry->SetPasswordText(1, entry.login);
    // The field is the one holder of the shown password; hidden, it shows
    // bullets rather than a mask of its length.
    ui_.Entry->SetPasswordText(2, entry.password);
    if (entry.expires) {
        ui_.Entry->CheckDate->setChecked(true);
        ui_.Entry->DTPickerLimit->setEnabled(true);
        if (entry.expiry.isValid())
            ui_.Entry->DTPickerLimit->setDate(entry.expiry);
    }
    ui_.Entry->TextPerso[0]->setText(entry.custom);
    ui_.Entry->SetPasswordText(3, entry.web);
    ui_.Entry->SetPasswordText(4, entry.file);
    ui_.Entry->SetPasswordText(5, entry.note);
    entry.Wipe();
}

void Selection::FillInformationPage(TreeNode* node)
{
    const TreeStore& store = TreeStore::Instance();
    const SystemInfo& system = SystemInfo::Instance();
    auto child
        = [&](const QString& kind) -> TreeNode* { return Tree().NodeAt(store.FindChild(Tree(), node->Index(), kind)); };
    // A box whose line is missing is emptied, so that nothing of the
    // database shown before stays on the page.
    TreeNode* create = child(NodeImage::Create);
    for (int i = 0; i < 2; ++i) {
        const QString field = create ? TagField(create->Tag(), i) : QString();
        SetControlTag(ui_.Info->LabelDate[i], field);
        const QDateTime moment = ReadDateTimeTag(field);
        ui_.Info->LabelDate[i]->setText(moment.isValid()
                ? system.Locale().toString(moment.date(), system.LongDateFormat()) + QStringLiteral(", ")
                    + moment.time().toString(QStringLiteral("HH:mm:ss"))
                : field);
    }
    TreeNode* title = child(NodeImage::Title);
    ui_.Info->TextTitle->setText(title ? title->Text().trimmed() : QString());
    TreeNode* user = child(NodeImage::User);
    ui_.Info->TextUser->setText(user ? user->Text().trimmed() : QString());
    TreeNode* custom
        = Tree().NodeAt(store.FindChildWithTag(Tree(), node->Index(), NodeImage::Custom1, QStringLiteral("1")));
    ui_.Info->CheckLabel[0]->setChecked(custom != nullptr);
    ui_.Info->TextCustom[0]->setEnabled(custom != nullptr);
    ui_.Info->TextCustom[0]->setText(custom ? custom->Text().trimmed() : QString());
    ui_.Entry->LabelCustom[0]->setText(custom ? ui_.Info->TextCustom[0]->text() + QStringLiteral(" :") : QString());
    ui_.Entry->LabelCustom[0]->setVisible(custom != nullptr);
    ui_.Entry->TextPerso[0]->setVisible(custom != nullptr);
    ui_.Info->TextNote->setPlainText(store.LoadNote(Tree(), node->Key()));
    ui_.Info->ApplyInfo->setEnabled(false);
}

void Selection::ShowTrashPopup(TreeNode* trash)
{
    ui_.MenuCorbeilleVider->setEnabled(trash->ChildCount() > 0);
    ui_.MenuCorbeille->popup(QCursor::pos());
}

void Selection::SetPasswordStat()
{
    static_assert(std::tuple_size_v<decltype(StatPage::TextStat)> == Statistics::ValueCount, "one box a count");
    try {
        const Statistics counts = Statistics::Compute(Tree(), state_.TrashNodeKey());
        for (int i = 0; i < Statistics::ValueCount; ++i)
            ui_.Stat->TextStat[i]->setText(QString::number(counts.values[i]));
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on calculating statistics from Paswword database"), error);
    }
}

void Selection::SetPasswordFields()
{
    try {
        ui_.Entry->SetEntryColor(Qt::white);
        for (int i = 0; i <= 5; ++i) {
            SetControlTag(ui_.Entry->PasswordField(i), QString());
            ui_.Entry->SetPasswordText(i, QString());
        }
        ui_.Entry->TextPerso[0]->clear();
        ui_.Entry->DTPickerLimit->setDate(QDate::currentDate().addDays(7));
        ui_.Entry->DTPickerLimit->setEnabled(false);
        ui_.Entry->CheckDate->setChecked(false);
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on setting password fields"), error);
    }
}

void Selection::UnvisiblePasswordTab(int page)
{
    QTabWidget* tabs = ui_.PasswordTabView;
    if (page >= 0 && page < tabs->count()) {
        tabs->setTabVisible(page, true);
        tabs->setCurrentIndex(page);
    }
    for (int i = 0; i <= int(DetailPage::Info); ++i)
        if (i != page)
            tabs->setTabVisible(i, false);
}

void Selection::EnableFromSelectedNode()
{
    try {
        TraceLog(QStringLiteral("Enable from selection"), QStringLiteral("..."));
        const TreeNode* node = state_.CurrentNode();
        const NodeKind kind = KindOf(node);
        const bool folderLike = IsFolderLike(node);
        const bool root = node && node->Index() == 1;
        KeyToolBar* tree = ui_.ToolbarTree;
        SetButton(tree, "Add", folderLike);
        SetButton(tree, "Change", folderLike);
        if (node) {
            if (QAction* icon = tree->ButtonMenu(QStringLiteral("Change"), QStringLiteral("Icon")))
                icon->setEnabled(folderLike && !root);
        }
        SetButton(tree, "Delete", folderLike && !root);
        SetButton(tree, "Purge", kind == NodeKind::Trash);
        SetButton(tree, "Search", folderLike);
        SetButton(tree, "Date", node != nullptr);
        SetButton(tree, "Export", folderLike);
        SetButton(tree, "Import", folderLike);

        const bool entry = kind == NodeKind::Entry;
        const bool holdsEntries
            = node && !root && (kind == NodeKind::Root || kind == NodeKind::Category || kind == NodeKind::Detail);
        KeyToolBar* pass = ui_.Entry->ToolbarPassCode;
        SetButton(pass, "Add", holdsEntries);
        SetButton(pass, "Change", entry);
        SetButton(pass, "Delete", entry && !root);
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on checking selected node"), error);
    }
}

void Selection::tvTreeView_MouseDown(int button, const QPoint& point)
{
    try {
        TraceLog(QStringLiteral("Mouse Down on tree..."), QString::number(button));
        state_.SetLastTreeButton(qint16(button));
        TreeNode* node = NodeAtPoint(Tree(), ui_.tvTreeView, point);
        state_.SetCurrentNode(node);
        if (node)
            MarkSelected(node);
    } catch (const std::exception&) {
    }
}

void Selection::tvTreeView_MouseUp(int button)
{
    state_.SetLastTreeButton(qint16(button));
}

void Selection::PasswordTabView_Click()
{
    procedures_.Form_Resize();
}

void Selection::PasswordTabView_MouseMove()
{
    ui_.SetStatusMsg(QString());
}

} // namespace keyholm
