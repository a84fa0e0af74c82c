#pragma once
// What a node of the password tree is, read from its image key. A category
// is a category whatever its icon ("DirInfo" and "DirStat" included): every
// category key begins with "Dir".

#include <QString>

namespace keyholm {

class TreeNode;

enum class NodeKind {
    None, // no node
    Root, // "Root"/"RootNot"
    Info, // the information node
    Stat, // the statistics node
    Option, // the options node
    Trash, // "Trash", "TrashKey" and their "Not" twins
    Category, // every key beginning with "Dir"
    Entry, // "Password", "PasswordWeb" and their "Not" twins
    Detail, // entry and database details, note lines
};

// The kind of an image key (the selected-image key works as well).
NodeKind KindOfImage(const QString& image);
// The kind of a node, from its image (its selected image when it has none).
NodeKind KindOf(const TreeNode* node);

// The image key with every "Not" removed for the kinds shown in two states,
// the key itself for the others ("Note" stays "Note").
QString SelectedImageFor(const QString& image);

} // namespace keyholm
