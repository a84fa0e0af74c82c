#pragma once
// Reading and writing the password tree, and the node work the program does
// on it. Each operation takes the tree first. Indexes are positions in the
// tree's collection from 1; 0 means none.
//
// Tree buffer, format version 1. Integers are little-endian; a varint is an
// unsigned LEB128 number of at most 5 bytes below 2^32; a text is a varint
// (units << 1 | wide) followed by its code units, one byte each (Latin-1)
// when wide is 0, two bytes each (UTF-16LE) when wide is 1.
//
//   "KHTREE"               6 bytes
//   version                uint16, 1
//   image count            varint, then that many texts: the image keys in
//                          use; image id n >= 1 names the n-th, 0 no image
//   node count             varint, then that many node records, each parent
//                          before its children and siblings in their order:
//     parent               varint: 0 for a top-level node, else how many
//                          records back the parent is (1: the one before)
//     flags                uint8: 1 Sorted, 2 Expanded, 4 has a back colour,
//                          8 tag equal to the text; other bits must be 0
//     image, selected      two varint image ids
//     key, text            two texts
//     tag                  a text, absent with flag 8
//     colour               3 bytes red, green, blue, present with flag 4
//   nothing after the last record.
//
// Loading checks every count against the bytes left before allocating (a
// node count above a seventh of them fails), so a damaged, truncated or
// foreign buffer fails without a partial tree, a hang or an allocation out of
// proportion to its size; keys must be unique. Nodes get their indexes in
// record order. The format lives in TreeFormat.cpp.
//
// Keys made here are "k" followed by a base-36 number; loaded keys are kept.
// AddNode's flags: sorted (the new node keeps its children sorted by text)
// and expanded (the new node shows its children). A note is a child with
// image and text "Note" whose "Quote" children hold its lines.

#include "components/Components.h"
#include "components/PasswordTree.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace keyholm {

class TreeStore : public SingleInstance<TreeStore> {
public:
    static constexpr quint16 FormatVersion = 1;

    // The whole tree as a buffer in the format above.
    [[nodiscard]] QByteArray SaveTree(const PasswordTree& tree) const;
    // The same buffer written to a file (replaced atomically).
    [[nodiscard]] bool SaveTree(const PasswordTree& tree, const QString& path) const;
    // Replaces the tree by the buffer's nodes, Nodes(1) being the first
    // record. On failure the tree is left as it was.
    [[nodiscard]] bool LoadTree(PasswordTree& tree, const QByteArray& buffer) const;
    [[nodiscard]] bool LoadTree(PasswordTree& tree, const QString& path) const;

    // Adds a node under the parent (top level for an empty parent key) and
    // gives its new key; empty when the parent is unknown.
    QString AddNode(PasswordTree& tree, const QString& parentKey, const QString& text, const QString& image,
        const QString& tag, bool sorted = false, bool expanded = false) const;

    // Index of the first child whose image is exactly `image`.
    int FindChild(const PasswordTree& tree, int parentIndex, const QString& image) const;
    // Index of the first child with exactly that image and that tag.
    int FindChildWithTag(const PasswordTree& tree, int parentIndex, const QString& image, const QString& tag) const;
    // Key of the node of a kind below the start node, nearest level first:
    // its image is the base image, or the base followed by "Not", "Key" or
    // "KeyNot" ("Trash" finds the trash in any of its four images). Empty
    // when there is none.
    QString FindNodeKey(const PasswordTree& tree, const QString& startKey, const QString& baseImage) const;
    // Nodes below `node` (children only unless subtree) whose image equals
    // imageText, or contains it when partial (letter case counts).
    int CountNodes(
        const PasswordTree& tree, const TreeNode* node, const QString& imageText, bool partial, bool subtree) const;
    // Index of the first child with that text.
    int ChildIndexByText(const PasswordTree& tree, const QString& parentKey, const QString& text,
        Qt::CaseSensitivity cs = Qt::CaseSensitive) const;
    // Key of the first child with that text; empty when none.
    QString ChildKeyByText(const PasswordTree& tree, const QString& parentKey, const QString& text,
        Qt::CaseSensitivity cs = Qt::CaseInsensitive) const;
    // Text for a new child of `parent`: the label itself when no child has
    // it, else the label numbered " (2)", " (3)", ... (a label that already
    // ends in " (n)" goes on from n), first free one.
    QString ChildLabel(const PasswordTree& tree, const TreeNode* parent, const QString& label) const;

    // The node and its subtree go; false for an unknown key.
    bool DeleteNode(PasswordTree& tree, const QString& key) const;
    // Every child of the node goes; false for an unknown key.
    bool DeleteChildren(PasswordTree& tree, const QString& key) const;
    // Makes the source, with its subtree, a child of the target and gives
    // it the text (kept when empty). Refuses unknown keys and a target that
    // is the source or one of its descendants. The moved nodes keep their
    // keys and indexes.
    bool MoveNode(PasswordTree& tree, const QString& sourceKey, const QString& targetKey, const QString& text) const;

    // Stores the text as the node's note, one "Quote" line per line (line
    // breaks "\r\n", "\r" or "\n"); an empty text removes the note. False
    // for an unknown key.
    bool SaveNote(PasswordTree& tree, const QString& text, const QString& nodeKey) const;
    // The node's note, lines joined by "\n"; empty when it has none.
    QString LoadNote(const PasswordTree& tree, const QString& nodeKey) const;

    // Indexes of the nodes whose text contains `text`, in display order: the
    // start node, then its whole subtree or only its children. With
    // firstOnly, the first match below the start node, the start node only
    // when nothing below matches. The texts of "Login" and "Key" details are
    // masks and are not searched; with `logins`, a login detail's decoded
    // value is (it never leaves the search). Accents count unless
    // `ignoreAccents`. Nothing (no search) for an unknown start key or an
    // empty text.
    std::optional<QList<int>> SearchText(const PasswordTree& tree, const QString& startKey, const QString& text,
        bool subtree, Qt::CaseSensitivity cs, bool firstOnly, bool ignoreAccents = false, bool logins = false) const;
    // Indexes of the nodes below the start node whose image is the kind or
    // the kind followed by "Not", in display order.
    std::optional<QList<int>> SearchKind(const PasswordTree& tree, const QString& startKey, const QString& kind) const;

private:
    friend class SingleInstance<TreeStore>;
    TreeStore() = default;

    // The first child of the parent that `match` takes; null when none or
    // without a parent.
    template <class Match> static const TreeNode* FirstChild(const TreeNode* parent, Match&& match);
};

// The labels for many new children of one parent, numbered as ChildLabel
// numbers them, without a walk over the children for each label.
class ChildLabels {
public:
    ChildLabels(const PasswordTree& tree, const TreeNode* parent);
    // The label, or its first free numbered form; taken from then on.
    QString Take(const QString& label);

private:
    QSet<QString> taken_;
    // For each base text, the first number whose predecessors (from 2) are
    // all taken: many rows of one title do not count up from 2 each time.
    QHash<QString, qint64> firstFree_;
};

} // namespace keyholm
