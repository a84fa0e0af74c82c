#include "components/ui/ImageListTreeView.h"

#include "components/NodeImages.h"

// Resources of a static library must be registered by hand; doing it here
// makes the pictures available to every user of the image list.
static void InitTreeIcons()
{
    Q_INIT_RESOURCE(TreeIcons);
}

namespace keyholm {
namespace {

const QString* const PairedKinds[]
    = { &NodeImage::Root, &NodeImage::Info, &NodeImage::Stat, &NodeImage::Option, &NodeImage::Trash, &NodeImage::TrashKey };
const QString* const EntryKinds[] = { &NodeImage::Password, &NodeImage::PasswordWeb };
const QString* const Details[] = { &NodeImage::Login, &NodeImage::Key, &NodeImage::Date, &NodeImage::Custom1,
    &NodeImage::Web, &NodeImage::File, &NodeImage::Note, &NodeImage::Quote, &NodeImage::Create, &NodeImage::User,
    &NodeImage::Title };

const QString& Not = NodeImage::NotSuffix;
} // namespace

ImageListTreeView::ImageListTreeView()
{
    InitTreeIcons();
    for (const QString* kind : PairedKinds) {
        Append(*kind);
        Append(*kind + Not);
    }
    for (const NodeImage::Category& c : NodeImage::Categories) {
        const QString key = QLatin1String(c.key);
        Append(key, QString::fromUtf8(c.label));
        Append(key + Not);
        categoryKeys_ << key;
    }
    for (const QString* kind : EntryKinds) {
        Append(*kind);
        Append(*kind + Not);
    }
    for (const QString* detail : Details)
        Append(*detail);
}

void ImageListTreeView::Append(const QString& key, const QString& label)
{
    keys_ << key;
    paths_.insert(key, QStringLiteral(":/keyholm/tree/") + key + QStringLiteral(".svg"));
    if (!label.isEmpty())
        labels_.insert(key, label);
}

QIcon ImageListTreeView::Icon(const QString& key) const
{
    const auto cached = icons_.constFind(key);
    if (cached != icons_.constEnd())
        return *cached;
    const QString path = FilePath(key);
    if (path.isEmpty())
        return QIcon();
    QIcon icon;
    // The same picture in the selected mode, so that styles do not tint it.
    icon.addFile(path, QSize(), QIcon::Normal);
    icon.addFile(path, QSize(), QIcon::Selected);
    icons_.insert(key, icon);
    return icon;
}

QString ImageListTreeView::ShownKey(const QString& image) const
{
    if (image.isEmpty())
        return QString();
    if (Contains(image))
        return image;
    const bool notTwin = image.endsWith(Not);
    const QString base = notTwin ? image.chopped(Not.size()) : image;
    if (notTwin && Contains(base))
        return base;
    if (image.contains(NodeImage::Dir))
        return notTwin ? NodeImage::DirNot : NodeImage::Dir;
    return QString();
}

QIcon ImageListTreeView::NodeIcon(const QString& image, const QString& selectedImage) const
{
    const QString normal = ShownKey(image);
    QString selected = selectedImage;
    if (selected.isEmpty())
        selected = image.endsWith(Not) ? image.chopped(Not.size()) : image;
    selected = ShownKey(selected);
    if (selected.isEmpty())
        selected = normal;
    if (normal.isEmpty())
        return QIcon();
    if (normal == selected)
        return Icon(normal);
    const QString cacheKey = normal + QLatin1Char('|') + selected;
    const auto cached = nodeIcons_.constFind(cacheKey);
    if (cached != nodeIcons_.constEnd())
        return *cached;
    QIcon icon;
    icon.addFile(FilePath(normal), QSize(), QIcon::Normal);
    icon.addFile(FilePath(selected), QSize(), QIcon::Selected);
    nodeIcons_.insert(cacheKey, icon);
    return icon;
}

} // namespace keyholm
