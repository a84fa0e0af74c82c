#pragma once
// The pictures of the password tree, one for every image key of a node
// kind: the base key is the picture of a selected node, the key followed by
// "Not" the picture of a node that is not selected. Category pictures carry
// a French label (the choice of a category icon lists them); the other keys
// carry none. The pictures are drawn SVG files built into the library.

#include "components/Components.h"

#include <QHash>
#include <QIcon>
#include <QString>
#include <QStringList>

namespace keyholm {

class ImageListTreeView : public SingleInstance<ImageListTreeView> {
public:
    // Every key in list order: the service kinds, the categories, the
    // entries and details; a base key comes just before its "Not" twin.
    const QStringList& Keys() const { return keys_; }
    // The 62 category keys that carry a label ("Dir", "DirKey", "DirTool",
    // ...), in list order, without their "Not" twins.
    const QStringList& CategoryKeys() const { return categoryKeys_; }
    bool Contains(const QString& key) const { return paths_.contains(key); }
    // French label of a category key; empty for any other key.
    QString Label(const QString& key) const { return labels_.value(key); }
    // The picture of a key; a null icon for an unknown key.
    QIcon Icon(const QString& key) const;
    // The resource path of the key's picture; empty for an unknown key.
    QString FilePath(const QString& key) const { return paths_.value(key); }

    // The picture of a node: `image` in the normal mode, `selectedImage` in
    // the selected mode (a view draws a selected row's icon in that mode).
    // An empty selected image is the image without its "Not". An unknown key
    // falls back to its base key, then to the plain folder for a category
    // ("Dir" in the key), else to no picture.
    QIcon NodeIcon(const QString& image, const QString& selectedImage) const;
    // The known key a node image is shown with (see NodeIcon); empty when none.
    QString ShownKey(const QString& image) const;

private:
    friend class SingleInstance<ImageListTreeView>;
    ImageListTreeView();

    void Append(const QString& key, const QString& label = QString());

    QStringList keys_;
    QStringList categoryKeys_;
    QHash<QString, QString> labels_;
    QHash<QString, QString> paths_;
    mutable QHash<QString, QIcon> icons_;
    mutable QHash<QString, QIcon> nodeIcons_;
};

} // namespace keyholm
