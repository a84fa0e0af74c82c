#include "entries/Trash.h"

#include "components/NodeImages.h"
#include "components/NodeKind.h"
#include "components/NodeTags.h"
#include "components/TreeStore.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"
#include "services/ui/Messages.h"

#include <exception>

namespace keyholm {

namespace {

QString DaysText(int days)
{
    return QString::number(days) + QStringLiteral(" jour(s)");
}

} // namespace

TreeNode* Trash::TrashNode() const
{
    return state_.TrashNodeKey().isEmpty() ? nullptr : Tree().FindKey(state_.TrashNodeKey());
}

void Trash::ShowFilling(TreeNode* trash)
{
    if (!trash)
        return;
    const bool full = trash->ChildCount() > 0;
    trash->SetImage(full ? NodeImage::TrashKeyNot : NodeImage::TrashNot);
    trash->SetSelectedImage(full ? NodeImage::TrashKey : NodeImage::Trash);
}

bool Trash::Expired(const TreeNode* entry, const QDate& today) const
{
    // Only entries are purged: anything else kept there stays.
    if (KindOf(entry) != NodeKind::Entry)
        return false;
    const QString tag = entry->Tag();
    if (tag.isEmpty())
        return false;
    QString reference = TagField(tag, 1);
    if (reference.isEmpty())
        reference = TagField(tag, 0);
    const QDate changed = ReadDateTag(reference);
    if (!changed.isValid())
        return false;
    return changed.addDays(state_.Options().purgeDays + 1) <= today;
}

int Trash::PurgeCount() const
{
    const TreeNode* trash = TrashNode();
    if (!trash)
        return 0;
    const QDate today = QDate::currentDate();
    int count = 0;
    for (const TreeNode* child : trash->Children())
        count += Expired(child, today) ? 1 : 0;
    return count;
}

bool Trash::TrashPurge()
{
    bool result = false;
    purged_ = 0;
    try {
        TreeNode* trash = TrashNode();
        if (!trash || trash->ChildCount() == 0)
            return false;
        const QDate today = QDate::currentDate();
        const TreeStore& store = TreeStore::Instance();
        // From the last child back to the first: removing a child moves
        // only the rows after it, which are already done. Nothing but the
        // trash's own children is ever looked at.
        for (int row = trash->ChildCount() - 1; row >= 0; --row) {
            TreeNode* entry = trash->Child(row);
            if (!Expired(entry, today))
                continue;
            if (purged_ == 0)
                state_.SetDatabaseChanged(true);
            result = store.DeleteNode(Tree(), entry->Key());
            if (!result)
                break;
            ++purged_;
        }
        if (trash->ChildCount() == 0)
            ShowFilling(trash);
    } catch (const std::exception& error) {
        // Only traced: the entries purged before stay purged.
        ReportError(QStringLiteral("Error on purging Trash node"), {}, false, ErrorRecord::FromException(error));
    }
    return result;
}

void Trash::Purge_Click()
{
    const QString days = DaysText(state_.Options().purgeDays);
    const int count = PurgeCount();
    if (count > 0) {
        const QString question = QString::number(count)
            + QStringLiteral(" mot(s) de passe de la Corbeille, plus vieux de ") + days
            + QStringLiteral(", vont être supprimés définitivement.<br><br>Confirmez-vous la purge ?");
        if (AskQuestion(question, QStringLiteral("Purger la Corbeille")) != Answer::Yes)
            return;
    }
    if (count > 0 && TrashPurge()) {
        if (state_.Options().autoSave)
            procedures_.MenuBaseSave_Click();
        ShowInfo(QStringLiteral("Corbeille purgée des mots de passe expirés plus vieux de ") + days);
    } else {
        ShowInfo(QStringLiteral("Aucun mot de passe de la corbeille n'est à purger,<br>car aucun n'est plus vieux de ")
            + days);
    }
    if (TreeNode* trash = TrashNode())
        state_.RequestSelection(trash);
}

void Trash::MenuCorbeilleVider_Click()
{
    state_.ResetIdleTicks();
    TreeNode* trash = state_.CurrentNode();
    if (KindOf(trash) != NodeKind::Trash || trash->ChildCount() == 0)
        return;
    if (AskQuestion(QStringLiteral("Confirmez-vous la suppression définitive des éléments dans la Corbeille ?"))
        != Answer::Yes)
        return;
    TraceLog(QStringLiteral("Empty the trash"), QStringLiteral("..."));
    if (!TreeStore::Instance().DeleteChildren(Tree(), trash->Key())) {
        TraceLog(QStringLiteral("Error on deleting Node's child"), QStringLiteral("Trash"));
        return;
    }
    ShowFilling(trash);
    state_.SetDatabaseChanged(true);
    state_.RequestSelection(trash);
}

} // namespace keyholm
