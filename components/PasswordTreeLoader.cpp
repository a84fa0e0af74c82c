// PasswordTree::Loader: a whole tree built at once from records.

#include "components/PasswordTree.h"

#include <cstring>

namespace keyholm {

void PasswordTree::Loader::Reserve(std::size_t records)
{
    tree_.nodes_.reserve(records);
    tree_.keys_.Reserve(records);
}

PackedText PasswordTree::Loader::Store(const Text& text)
{
    if (text.size == 0)
        return PackedText();
    if (!text.wide && text.size <= PackedText::InlineCapacity)
        return PackedText::InlineLatin1(text.units, text.size);
    // Borrowed from the arena: one allocation for many texts.
    const std::size_t bytes = std::size_t(text.size) * (text.wide ? 2 : 1);
    char* block = tree_.arena_.Allocate(PackedText::BlockHeader + bytes);
    const std::uint32_t header = text.size << 1 | (text.wide ? 1u : 0u);
    std::memcpy(block, &header, sizeof header);
    std::memcpy(block + PackedText::BlockHeader, text.units, bytes);
    return PackedText::Borrow(block);
}

bool PasswordTree::Loader::Add(const Record& record)
{
    PasswordTree& t = tree_;
    const auto fits = [](const Text& text) { return text.size <= std::uint32_t(PackedText::MaxSize); };
    if (record.parent > t.nodes_.size() || record.image >= t.images_.size() || record.selectedImage >= t.images_.size()
        || !fits(record.key) || !fits(record.text) || (!record.tagIsText && !fits(record.tag)))
        return false;
    TreeNode* parent = record.parent == 0 ? t.sentinel_ : t.nodes_[record.parent - 1];
    TreeNode* node = t.arena_.NewNode();
    // Appended at once, so that a failure below frees it with the tree.
    // Child arrays are laid out once every node is in.
    t.Append(node);
    node->parent_ = parent;
    ++parent->childCount_;
    node->key_ = Store(record.key);
    node->text_ = Store(record.text);
    if (record.tagIsText)
        node->SetFlag(TreeNode::TagIsTextBit, true);
    else
        node->tag_ = Store(record.tag);
    node->image_ = record.image;
    node->selectedImage_ = record.selectedImage;
    node->SetFlag(TreeNode::SortedBit, record.sorted);
    node->SetFlag(TreeNode::ExpandedBit, record.expanded);
    if (record.backColor >= 0)
        node->colorFlags_ |= TreeNode::HasColorBit | (std::uint32_t(record.backColor) & TreeNode::ColorMask);
    return t.keys_.Insert(node);
}

void PasswordTree::Loader::Finish()
{
    tree_.LayOutChildren();
    // A sorted parent keeps its children in order whatever gave the records.
    for (TreeNode* node : tree_.nodes_) {
        if (node->Sorted())
            tree_.SortChildren(node, false);
    }
    target_.Swap(tree_);
}

} // namespace keyholm
