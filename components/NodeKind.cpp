#include "components/NodeImages.h"
#include "components/NodeKind.h"

#include "components/TreeNode.h"

namespace keyholm {

namespace {

bool IsPair(const QString& image, const QString& kind)
{
    return image == kind
        || (image.size() == kind.size() + 3 && image.startsWith(kind) && image.endsWith(NodeImage::NotSuffix));
}

} // namespace

NodeKind KindOfImage(const QString& image)
{
    if (image.isEmpty())
        return NodeKind::None;
    if (image.startsWith(NodeImage::Dir))
        return NodeKind::Category;
    if (IsPair(image, NodeImage::Root))
        return NodeKind::Root;
    if (IsPair(image, NodeImage::Info))
        return NodeKind::Info;
    if (IsPair(image, NodeImage::Stat))
        return NodeKind::Stat;
    if (IsPair(image, NodeImage::Option))
        return NodeKind::Option;
    if (IsPair(image, NodeImage::Trash) || IsPair(image, NodeImage::TrashKey))
        return NodeKind::Trash;
    if (IsPair(image, NodeImage::Password) || IsPair(image, NodeImage::PasswordWeb))
        return NodeKind::Entry;
    return NodeKind::Detail;
}

NodeKind KindOf(const TreeNode* node)
{
    if (!node)
        return NodeKind::None;
    const NodeKind kind = KindOfImage(node->Image());
    if (kind != NodeKind::None)
        return kind;
    const NodeKind selected = KindOfImage(node->SelectedImage());
    return selected == NodeKind::None ? NodeKind::Detail : selected;
}

QString SelectedImageFor(const QString& image)
{
    static const QString* const twoStates[] = {
        &NodeImage::RootNot,
        &NodeImage::DirNot,
        &NodeImage::PasswordNot,
        &NodeImage::PasswordWebNot,
        &NodeImage::TrashNot,
        &NodeImage::TrashKeyNot,
        &NodeImage::OptionNot,
        &NodeImage::StatNot,
        &NodeImage::InfoNot,
    };
    bool strip = image.contains(NodeImage::Dir);
    for (const QString* key : twoStates)
        strip = strip || image == *key;
    if (!strip)
        return image;
    QString selected = image;
    return selected.remove(NodeImage::NotSuffix);
}

} // namespace keyholm
