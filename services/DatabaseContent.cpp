#include "services/DatabaseContent.h"

#include "components/CipherEngine.h"
#include "components/NodeImages.h"
#include "components/NodeTags.h"
#include "components/PasswordTree.h"
#include "components/SystemInfo.h"
#include "components/TextTools.h"
#include "components/TreeStore.h"
#include "services/FileCoding.h"

#include <QDate>

namespace keyholm {

bool BuildDefaultTree(PasswordTree& tree)
{
    TreeNode* root = tree.Add(nullptr, NodeImage::Root, ServiceText::Root, NodeImage::RootNot);
    if (!root)
        return false;
    root->SetSelectedImage(NodeImage::Root);
    root->SetSorted(true);
    root->SetExpanded(true);
    TreeStore& store = TreeStore::Instance();
    const QString rootKey = root->Key();
    const QString infoKey = store.AddNode(tree, rootKey, ServiceText::Info, NodeImage::InfoNot, NowTag(), false, false);
    if (infoKey.isEmpty())
        return false;
    const SystemInfo& system = SystemInfo::Instance();
    const QString now = NowTag();
    store.AddNode(tree, infoKey, system.Locale().toString(QDate::currentDate(), system.ShortDateFormat()),
        NodeImage::Create, now + TagSeparator + now, true, false);
    store.AddNode(tree, infoKey, TextTools::Instance().CutAtNul(system.UserName().trimmed()), NodeImage::User,
        QString(), true, false);
    for (const auto& [text, image] :
        { std::pair { ServiceText::Stat, NodeImage::StatNot }, std::pair { ServiceText::Option, NodeImage::OptionNot },
            std::pair { ServiceText::Trash, NodeImage::TrashNot } }) {
        if (store.AddNode(tree, rootKey, text, image, QString(), true, false).isEmpty())
            return false;
    }
    return true;
}

SaveStamp::SaveStamp(PasswordTree& tree)
{
    TreeNode* root = tree.Root();
    if (!root)
        return;
    const TreeStore& store = TreeStore::Instance();
    TreeNode* info = tree.FindKey(store.FindNodeKey(tree, root->Key(), NodeImage::Info));
    if (!info)
        return;
    info->SetExpanded(false);
    created_ = tree.NodeAt(store.FindChild(tree, info->Index(), NodeImage::Create));
    if (!created_)
        return;
    previous_ = created_->Tag();
    created_->SetTag(TextTools::Instance().BeforeFirst(previous_, TagSeparator) + TagSeparator + NowTag());
}

void SaveStamp::Undo()
{
    if (created_)
        created_->SetTag(previous_);
}

DatabaseWrite WriteDatabase(PasswordTree& tree, const QString& path, const FileKey* key)
{
    TreeNode* root = tree.Root();
    const bool protectedKey = key && key->IsProtected();
    if (root && !TagField(root->Tag(), 0).trimmed().isEmpty()) {
        if (!protectedKey)
            return DatabaseWrite::RootPasswordWithoutKey;
        // The password an older file kept in its root never goes out again.
        root->SetTag(QString());
    }
    QByteArray buffer = TreeStore::Instance().SaveTree(tree);
    if (buffer.isEmpty())
        return DatabaseWrite::TreeNotSaved;
    const bool written = key && CodeFile(buffer, path, *key);
    CipherEngine::Wipe(buffer);
    return written ? DatabaseWrite::Written : DatabaseWrite::FileNotWritten;
}

} // namespace keyholm
