#include "entries/TreeDragDrop.h"

#include "components/NodeImages.h"
#include "components/NodeKind.h"
#include "components/NodeTags.h"
#include "components/TreeStore.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"
#include "services/ui/Messages.h"

#include <QTimer>
#include <QTreeView>

#include <exception>

namespace keyholm {

bool TreeDragDrop::AllowedMove(const TreeNode* source, const TreeNode* target)
{
    if (!source || !target || source == target || source->IsAncestorOf(target))
        return false;
    const NodeKind from = KindOf(source);
    switch (KindOf(target)) {
    case NodeKind::Trash:
        return from == NodeKind::Entry;
    case NodeKind::Root:
        return from == NodeKind::Category;
    case NodeKind::Category:
        return from == NodeKind::Entry || from == NodeKind::Category;
    default:
        return false;
    }
}

bool TreeDragDrop::tvTreeView_StartDrag(TreeNode* node)
{
    try {
        state_.SetDragActive(false);
        if (!node) {
            TraceLog(QStringLiteral("Unable to start Drag. Node is not selected"), QString());
            return false;
        }
        switch (KindOf(node)) {
        case NodeKind::Entry:
            TraceLog(QStringLiteral("Drag Password starts from: ") + node->Text(), node->Image());
            break;
        case NodeKind::Category:
            if (node->Image() != NodeImage::DirNot && node->Image() != NodeImage::DirKeyNot)
                TraceLog(QStringLiteral("Drag Category..."), node->Image());
            TraceLog(QStringLiteral("Drag Category starts from: ") + node->Text(), QString());
            break;
        default:
            TraceLog(QStringLiteral("Not allow drag node"), node->Image());
            return false;
        }
        state_.SetDragActive(true);
        return true;
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on moving node from start drag"), error);
        return false;
    }
}

bool TreeDragDrop::tvTreeView_DragOver(const QString& sourceKey, const TreeNode* target)
{
    try {
        if (!state_.DragActive()) {
            TraceLog(QStringLiteral("Unable to Drag without activation"), QString());
            return false;
        }
        if (!target) {
            TraceLog(QStringLiteral("Password# unable to DragOver the node"), QString());
            return false;
        }
        const TreeNode* source = Tree().FindKey(sourceKey.trimmed());
        if (!source) {
            TraceLog(QStringLiteral("Password# unable to keep the source node"), QString());
            return false;
        }
        switch (KindOf(target)) {
        case NodeKind::Trash:
            TraceLog(QStringLiteral("Trash Folder node Selection"), QString());
            break;
        case NodeKind::Root:
            TraceLog(QStringLiteral("Valid root folder node Selection"), QString());
            break;
        case NodeKind::Category:
            TraceLog(QStringLiteral("Valid folder node Selection: ") + source->Text(), QString());
            break;
        default:
            TraceLog(QStringLiteral("Not drag destination: ") + target->Image(), QString());
            break;
        }
        if (!AllowedMove(source, target)) {
            TraceLog(QStringLiteral("DragOver Node destination is not valid: ") + target->Image(), QString());
            return false;
        }
        TraceLog(QStringLiteral("Password# DragOver the node"), target->Image() + QStringLiteral(" ") + target->Text());
        return true;
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on moving Node from drag-over"), error);
        return false;
    }
}

bool TreeDragDrop::tvTreeView_DragDrop(const QString& sourceKey, TreeNode* target)
{
    bool moved = false;
    try {
        if (!state_.DragActive() || !target)
            TraceLog(QStringLiteral("Unable to Drag without activation or selected node"), QString());
        else
            moved = MoveUnder(sourceKey, target);
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on moving Node from drap'n drop"), error);
    }
    state_.SetDragActive(false);
    return moved;
}

void TreeDragDrop::DragEnded()
{
    state_.SetDragActive(false);
}

bool TreeDragDrop::MoveUnder(const QString& sourceKey, TreeNode* target)
{
    TraceLog(QStringLiteral("Password# DragDrop on Node: ") + target->Image(), target->Text());
    const QString key = sourceKey.trimmed();
    TreeNode* source = key.isEmpty() ? nullptr : Tree().FindKey(key);
    if (!source) {
        InformAndSelectLater(QStringLiteral("Déplacement impossible : l'information source est vide !?"), QString());
        return false;
    }
    TraceLog(QStringLiteral("DragDrop data is coming from"), key);
    TraceLog(QStringLiteral("DragDrop node destination is"), target->Text());
    if (TreeNode* current = state_.CurrentNode())
        TraceLog(QStringLiteral("Selected Node source is"), current->Key());
    if (source->Parent() == target) {
        InformAndSelectLater(
            QStringLiteral("Déplacement interdit :<BR>l'arborescence de destination et celle d'origine sont "
                           "identiques"),
            source->Key());
        return false;
    }
    if (source == target) {
        InformAndSelectLater(
            QStringLiteral("Déplacement interdit :<BR>l'élément de destination et celui d'origine sont identiques"),
            source->Key());
        return false;
    }
    // What the pointer could not highlight is not moved either.
    if (!AllowedMove(source, target))
        return false;

    TreeNode* formerParent = source->Parent();
    const QString tag = source->Tag();
    source->SetExpanded(false);
    state_.SetCurrentNode(nullptr);
    procedures_.SetPasswordFields();
    const TreeStore& store = TreeStore::Instance();
    if (!store.MoveNode(Tree(), key, target->Key(), store.ChildLabel(Tree(), target, source->Text()))) {
        InformAndSelectLater(QStringLiteral("Erreur de traitement : déplacement de l'arborescence impossible"),
            Tree().Root() ? Tree().Root()->Key() : QString());
        return false;
    }
    // A move counts as a change, from the day it happened.
    source->SetTag(TagField(tag, 0) + TagSeparator + NowTag());
    procedures_.CheckNodeInfo(formerParent);
    state_.SetDatabaseChanged(true);
    if (cutKey_ == key)
        cutKey_.clear();
    InformAndSelectLater(QString(), target->Key());
    return true;
}

void TreeDragDrop::Cut_Click()
{
    TreeNode* node = state_.CurrentNode();
    const NodeKind kind = KindOf(node);
    if (kind != NodeKind::Entry && kind != NodeKind::Category) {
        cutKey_.clear();
        return;
    }
    cutKey_ = node->Key();
    ui_.SetStatusMsg(
        QStringLiteral("À déplacer : ") + node->Text() + QStringLiteral(" (sélectionnez la destination puis Ctrl+V)"));
}

void TreeDragDrop::Paste_Click()
{
    state_.ResetIdleTicks();
    TreeNode* target = state_.CurrentNode();
    TreeNode* source = cutKey_.isEmpty() ? nullptr : Tree().FindKey(cutKey_);
    if (!target || !source)
        return;
    try {
        if (source != target && source->Parent() != target && !AllowedMove(source, target)) {
            ShowInfo(QStringLiteral("Déplacement interdit :<BR>") + source->Text()
                + QStringLiteral(" ne peut pas être placé dans ") + target->Text());
            return;
        }
        MoveUnder(cutKey_, target);
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on moving Node from drap'n drop"), error);
    }
}

} // namespace keyholm
