#include "components/TreeNode.h"

#include "components/PasswordTree.h"
#include "components/PasswordTreeObserver.h"

#include <cstdlib>

namespace keyholm {

TreeNode::~TreeNode()
{
    if (!(colorFlags_ & BorrowedChildrenBit))
        std::free(children_);
}

PasswordTree& TreeNode::Tree() const
{
    return NodeArena::TreeOf(this);
}

const QString& TreeNode::Image() const
{
    return Tree().ImageKey(image_);
}

const QString& TreeNode::SelectedImage() const
{
    return Tree().ImageKey(selectedImage_);
}

TreeNode* TreeNode::Parent() const
{
    return parent_ && !parent_->IsSentinel() ? parent_ : nullptr;
}

int TreeNode::Index() const
{
    Tree().Compact();
    return int(index_) + 1;
}

bool TreeNode::IsAncestorOf(const TreeNode* other) const
{
    if (!other)
        return false;
    for (const TreeNode* p = other->parent_; p; p = p->parent_) {
        if (p == this)
            return true;
    }
    return false;
}

void TreeNode::SetText(const QString& text)
{
    if (text_.Equals(text))
        return;
    PasswordTree& tree = Tree();
    tree.AboutToChange(this, PasswordTreeObserver::TextChange);
    if (TagIsText()) {
        // The tag keeps the old text.
        tag_ = std::move(text_);
        SetFlag(TagIsTextBit, false);
    }
    text_.Assign(text);
    tree.Changed(this, PasswordTreeObserver::TextChange);
    tree.Reposition(this);
}

void TreeNode::SetImageId(std::uint32_t& field, const QString& key, unsigned change)
{
    PasswordTree& tree = Tree();
    const std::uint32_t id = tree.ImageId(key);
    if (id == field)
        return;
    tree.AboutToChange(this, change);
    field = id;
    tree.Changed(this, change);
}

void TreeNode::SetImage(const QString& key)
{
    SetImageId(image_, key, PasswordTreeObserver::ImageChange);
}

void TreeNode::SetSelectedImage(const QString& key)
{
    SetImageId(selectedImage_, key, PasswordTreeObserver::SelectedImageChange);
}

void TreeNode::SetTag(const QString& tag)
{
    if (TagData().Equals(tag))
        return;
    PasswordTree& tree = Tree();
    tree.AboutToChange(this, PasswordTreeObserver::TagChange);
    if (!tag.isEmpty() && text_.Equals(tag)) {
        tag_.Clear();
        SetFlag(TagIsTextBit, true);
    } else {
        SetFlag(TagIsTextBit, false);
        tag_.Assign(tag);
    }
    tree.Changed(this, PasswordTreeObserver::TagChange);
}

void TreeNode::SetBackColor(qint32 color)
{
    const std::uint32_t value = color >= 0 ? (HasColorBit | (std::uint32_t(color) & ColorMask)) : 0;
    if ((colorFlags_ & (HasColorBit | ColorMask)) == value)
        return;
    PasswordTree& tree = Tree();
    tree.AboutToChange(this, PasswordTreeObserver::BackColorChange);
    colorFlags_ = (colorFlags_ & ~(HasColorBit | ColorMask)) | value;
    tree.Changed(this, PasswordTreeObserver::BackColorChange);
}

void TreeNode::SetSorted(bool sorted)
{
    if (Sorted() == sorted)
        return;
    PasswordTree& tree = Tree();
    tree.AboutToChange(this, PasswordTreeObserver::SortedChange);
    SetFlag(SortedBit, sorted);
    tree.Changed(this, PasswordTreeObserver::SortedChange);
    if (sorted)
        tree.SortChildren(this, true);
}

void TreeNode::SetExpanded(bool expanded)
{
    if (Expanded() == expanded)
        return;
    PasswordTree& tree = Tree();
    tree.AboutToChange(this, PasswordTreeObserver::ExpandedChange);
    SetFlag(ExpandedBit, expanded);
    tree.Changed(this, PasswordTreeObserver::ExpandedChange);
}

} // namespace keyholm
