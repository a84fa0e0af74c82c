#include "services/NodeKind.h"

#include "components/TreeNode.h"

namespace keyholm {

namespace {

bool IsPair(const QString& image, QLatin1String kind)
{
    return image == kind
        || (image.size() == kind.size() + 3 && image.startsWith(kind) && image.endsWith(QLatin1String("Not")));
}

} // namespace

NodeKind KindOfImage(const QString& image)
{
    if (image.isEmpty())
        return NodeKind::None;
    if (image.startsWith(QLatin1String("Dir")))
        return NodeKind::Category;
    if (IsPair(image, QLatin1String("Root")))
        return NodeKind::Root;
    if (IsPair(image, QLatin1String("Info")))
        return NodeKind::Info;
    if (IsPair(image, QLatin1String("Stat")))
        return NodeKind::Stat;
    if (IsPair(image, QLatin1String("Option")))
        return NodeKind::Option;
    if (IsPair(image, QLatin1String("Trash")) || IsPair(image, QLatin1String("TrashKey")))
        return NodeKind::Trash;
    if (IsPair(image, QLatin1String("Password")) || IsPair(image, QLatin1String("PasswordWeb")))
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
    static const QLatin1String twoStates[] = {
        QLatin1String("RootNot"),
        QLatin1String("DirNot"),
        QLatin1String("PasswordNot"),
        QLatin1String("PasswordWebNot"),
        QLatin1String("TrashNot"),
        QLatin1String("TrashKeyNot"),
        QLatin1String("OptionNot"),
        QLatin1String("StatNot"),
        QLatin1String("InfoNot"),
    };
    bool strip = image.contains(QLatin1String("Dir"));
    for (QLatin1String key : twoStates)
        strip = strip || image == key;
    if (!strip)
        return image;
    QString selected = image;
    return selected.remove(QLatin1String("Not"));
}

} // namespace keyholm
