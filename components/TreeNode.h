#pragma once
// One node of the password tree: a category, an entry, a detail, a note line
// or a service node, told apart by its image key. Nodes live in their
// PasswordTree, which creates, numbers and frees them; a TreeNode pointer
// stays valid until the node is removed or the tree cleared or reloaded.
// Setters notify the tree's observers.

#include "components/PackedText.h"

#include <QString>

#include <cstdint>
#include <span>

namespace keyholm {

class PasswordTree;

class TreeNode {
public:
    QString Key() const { return key_.ToString(); }
    QString Text() const { return text_.ToString(); }
    // Image keys are shared by every node that shows the same picture.
    const QString& Image() const;
    const QString& SelectedImage() const;
    QString Tag() const { return TagIsText() ? text_.ToString() : tag_.ToString(); }
    // 0x00BBGGRR (red in the low byte), -1 when the node has no colour of
    // its own.
    qint32 BackColor() const { return (colorFlags_ & HasColorBit) ? qint32(colorFlags_ & ColorMask) : -1; }
    bool Sorted() const { return colorFlags_ & SortedBit; }
    bool Expanded() const { return colorFlags_ & ExpandedBit; }

    // Null for a top-level node.
    TreeNode* Parent() const;
    int ChildCount() const { return int(childCount_); }
    TreeNode* Child(int row) const { return row >= 0 && row < ChildCount() ? children_[row] : nullptr; }
    std::span<TreeNode* const> Children() const { return { children_, childCount_ }; }
    // Position among the siblings, from 0.
    int Row() const { return int(row_); }
    // Position in the tree's collection, from 1 (the root is 1).
    int Index() const;
    // True when this node is a strict ancestor of the other.
    bool IsAncestorOf(const TreeNode* other) const;
    PasswordTree& Tree() const;

    // Raw texts, for matching without copies.
    const PackedText& KeyData() const { return key_; }
    const PackedText& TextData() const { return text_; }
    const PackedText& TagData() const { return TagIsText() ? text_ : tag_; }
    // True when the tag is the text itself, kept once (web, file, custom
    // field details); a tag set apart that happens to equal the text is not.
    bool TagIsText() const { return colorFlags_ & TagIsTextBit; }
    // The tree's ids of the image keys (see PasswordTree::ImageKey); 0 for
    // no image.
    std::uint32_t ImageId() const { return image_; }
    std::uint32_t SelectedImageId() const { return selectedImage_; }

    // A new text moves the node to its place when its parent is sorted.
    void SetText(const QString& text);
    void SetImage(const QString& key);
    void SetSelectedImage(const QString& key);
    void SetTag(const QString& tag);
    // A negative value removes the node's own colour; the high byte is
    // ignored.
    void SetBackColor(qint32 color);
    // Sorting a node puts its present children in order.
    void SetSorted(bool sorted);
    void SetExpanded(bool expanded);

private:
    friend class PasswordTree;
    friend class NodeArena;

    static constexpr std::uint32_t ColorMask = 0x00ffffff;
    static constexpr std::uint32_t HasColorBit = 1u << 24;
    static constexpr std::uint32_t SortedBit = 1u << 25;
    static constexpr std::uint32_t ExpandedBit = 1u << 26;
    static constexpr std::uint32_t TagIsTextBit = 1u << 27;
    static constexpr std::uint32_t SentinelBit = 1u << 28;
    // The child array lies in a block of the tree (a load lays all child
    // arrays out together, in display order) and is not freed on its own.
    static constexpr std::uint32_t BorrowedChildrenBit = 1u << 29;

    TreeNode() = default;
    ~TreeNode();
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    bool IsSentinel() const { return colorFlags_ & SentinelBit; }
    void SetFlag(std::uint32_t bit, bool on) { colorFlags_ = on ? (colorFlags_ | bit) : (colorFlags_ & ~bit); }
    // Image and selected image change alike: interned id, then one notification.
    void SetImageId(std::uint32_t& field, const QString& key, unsigned change);

    TreeNode* parent_ = nullptr;
    TreeNode** children_ = nullptr;
    PackedText key_;
    PackedText text_;
    PackedText tag_;
    std::uint32_t image_ = 0;
    std::uint32_t selectedImage_ = 0;
    std::uint32_t index_ = 0; // slot in the collection, from 0
    std::uint32_t row_ = 0;
    std::uint32_t childCount_ = 0;
    std::uint32_t colorFlags_ = 0;
};

static_assert(sizeof(TreeNode) == 64, "keep nodes compact: a database holds millions");

} // namespace keyholm
