#include "database/DatabaseTree.h"

#include "components/SystemInfo.h"
#include "components/TextTools.h"
#include "components/TreeStore.h"
#include "services/ErrorReport.h"
#include "components/NodeImages.h"
#include "components/NodeKind.h"
#include "components/NodeTags.h"
#include "services/TraceLog.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QTimer>

#include <exception>
#include <stdexcept>

namespace keyholm {

namespace {

void Fail(const char* message, const std::exception& error)
{
    ReportException(QLatin1String(message), error);
}

} // namespace

QString DatabaseTree::AddServiceNode(
    const QString& rootKey, const QString& text, const QString& image, const QString& tag, bool sorted)
{
    return TreeStore::Instance().AddNode(Tree(), rootKey, text, image, tag, sorted, false);
}

bool DatabaseTree::CreateDefaultTree()
{
    try {
        TraceLog(QStringLiteral("Building default data tree"), QStringLiteral("..."));
        if (!CreateDefaultMainNode())
            return false;
        TreeNode* root = state_.CurrentNode();
        const QString rootKey = root->Key();
        CreateDefaultInfoNode(rootKey);
        CreateDefaultStatNode(rootKey);
        CreateDefaultOptionNode(rootKey);
        CreateDefaultTrashNode(rootKey);
        state_.RequestSelection(Tree().FindKey(rootKey));
        return true;
    } catch (const std::exception& error) {
        Fail("Error on building the default data tree", error);
        return false;
    }
}

bool DatabaseTree::CreateDefaultMainNode()
{
    try {
        TreeNode* root = Tree().Add(nullptr, NodeImage::Root, RootText, NodeImage::RootNot);
        if (!root)
            throw std::runtime_error("the tree refused the root node");
        root->SetSelectedImage(NodeImage::Root);
        state_.SetCurrentNode(root);
        root->SetSorted(true);
        root->SetExpanded(true);
        state_.SetDatabaseChanged(true);
        return true;
    } catch (const std::exception& error) {
        Fail("Error on creating the main default data tree", error);
        return false;
    }
}

void DatabaseTree::CreateDefaultInfoNode(const QString& rootKey)
{
    try {
        const QString infoKey = AddServiceNode(rootKey, InfoText, NodeImage::InfoNot, NowTag(), false);
        if (infoKey.isEmpty())
            return;
        const SystemInfo& system = SystemInfo::Instance();
        const QString created = system.Locale().toString(QDate::currentDate(), system.ShortDateFormat());
        const QString now = NowTag();
        TreeStore& store = TreeStore::Instance();
        store.AddNode(Tree(), infoKey, created, NodeImage::Create, now + TagSeparator + now, true, false);
        const QString user = TextTools::Instance().CutAtNul(system.UserName().trimmed());
        store.AddNode(Tree(), infoKey, user, NodeImage::User, QString(), true, false);
        state_.SetDatabaseChanged(true);
    } catch (const std::exception& error) {
        Fail("Error on building the default Info Node", error);
    }
}

void DatabaseTree::CreateDefaultStatNode(const QString& rootKey)
{
    try {
        if (!AddServiceNode(rootKey, StatText, NodeImage::StatNot, QString(), true).isEmpty())
            state_.SetDatabaseChanged(true);
    } catch (const std::exception& error) {
        Fail("Error on building the default Stat Node", error);
    }
}

void DatabaseTree::CreateDefaultOptionNode(const QString& rootKey)
{
    try {
        if (!AddServiceNode(rootKey, OptionText, NodeImage::OptionNot, QString(), true).isEmpty())
            state_.SetDatabaseChanged(true);
    } catch (const std::exception& error) {
        Fail("Error on building the default Option Node", error);
    }
}

void DatabaseTree::CreateDefaultTrashNode(const QString& rootKey)
{
    try {
        const QString trashKey = AddServiceNode(rootKey, TrashText, NodeImage::TrashNot, QString(), true);
        state_.SetTrashNodeKey(trashKey);
        if (!trashKey.isEmpty()) {
            ui_.Option->CheckTrash->setEnabled(true);
            state_.SetDatabaseChanged(true);
        } else {
            ui_.Option->CheckTrash->setChecked(false);
            ui_.Option->CheckTrash->setEnabled(false);
            ReportError(QStringLiteral("Unable to create the Trash Node.<br>Delete option is disabled."));
        }
    } catch (const std::exception& error) {
        Fail("Error on building the default Trash Node", error);
    }
}

void DatabaseTree::CheckDataTree()
{
    try {
        TraceLog(QStringLiteral("Checking data tree"), QStringLiteral("..."));
        if (Tree().IsEmpty() && !CreateDefaultMainNode())
            return;
        struct Service {
            QStringList images;
            void (DatabaseTree::*create)(const QString&);
            bool trash;
        };
        const Service services[] = {
            { { NodeImage::InfoNot, NodeImage::Info }, &DatabaseTree::CreateDefaultInfoNode, false },
            { { NodeImage::StatNot, NodeImage::Stat }, &DatabaseTree::CreateDefaultStatNode, false },
            { { NodeImage::OptionNot, NodeImage::Option }, &DatabaseTree::CreateDefaultOptionNode,
                false },
            { { NodeImage::TrashNot, NodeImage::Trash, NodeImage::TrashKey,
                  NodeImage::TrashKeyNot },
                &DatabaseTree::CreateDefaultTrashNode, true },
        };
        const TreeStore& store = TreeStore::Instance();
        for (const Service& service : services) {
            TreeNode* root = Tree().Root();
            int found = 0;
            for (const QString& image : service.images) {
                found = store.FindChild(Tree(), root->Index(), image);
                if (found >= 1)
                    break;
            }
            if (found >= 1) {
                TreeNode* node = Tree().NodeAt(found);
                if (!node->Text().startsWith(QLatin1Char(' ')))
                    node->SetText(QLatin1Char(' ') + node->Text());
                if (service.trash) {
                    ui_.Option->CheckTrash->setEnabled(true);
                    state_.SetTrashNodeKey(node->Key());
                }
            } else {
                (this->*service.create)(root->Key());
            }
        }
    } catch (const std::exception& error) {
        Fail("Error on checking the data tree", error);
    }
}

void DatabaseTree::CheckNodeInfo(TreeNode* node)
{
    try {
        if (!node)
            node = state_.CurrentNode();
        if (!node)
            return;
        const QString image = node->Image();
        if (image.contains(NodeImage::Password)) {
            TreeNode* parent = node->Parent();
            if (!parent)
                return;
            // A parent never selected yet has no selected image: its image
            // tells its state as well.
            const QString parentState
                = parent->SelectedImage().isEmpty() ? SelectedImageFor(parent->Image()) : parent->SelectedImage();
            if (parentState == NodeImage::Dir) {
                parent->SetImage(NodeImage::DirKeyNot);
                parent->SetSelectedImage(NodeImage::DirKey);
            } else if (parentState == NodeImage::Trash) {
                parent->SetImage(NodeImage::TrashKeyNot);
                parent->SetSelectedImage(NodeImage::TrashKey);
            }
            return;
        }
        const int entries = TreeStore::Instance().CountNodes(Tree(), node, NodeImage::Password, true, false);
        if (image.contains(NodeImage::Dir)
            && (image == NodeImage::DirNot || image == NodeImage::DirKeyNot)) {
            node->SetImage(entries > 0 ? NodeImage::DirKeyNot : NodeImage::DirNot);
            node->SetSelectedImage(entries > 0 ? NodeImage::DirKey : NodeImage::Dir);
        } else if (image.contains(NodeImage::Trash)) {
            node->SetImage(entries > 0 ? NodeImage::TrashKeyNot : NodeImage::TrashNot);
            node->SetSelectedImage(entries > 0 ? NodeImage::TrashKey : NodeImage::Trash);
        }
    } catch (const std::exception& error) {
        Fail("Error on checking selected node", error);
    }
}

} // namespace keyholm
