#include "components/PasswordTree.h"

#include "components/TextOrder.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

namespace keyholm {

template class NodeKeyIndex<TreeNode>;

namespace {
constexpr std::size_t NoneDirty = std::numeric_limits<std::size_t>::max();

// Capacity of a child array that holds n children.
std::uint32_t Capacity(std::uint32_t n)
{
    return n == 0 ? 0 : std::bit_ceil(n);
}
} // namespace

// --- Life --------------------------------------------------------------------

PasswordTree::PasswordTree()
    : dirtyFrom_(NoneDirty)
{
    StartEmpty();
}

PasswordTree::~PasswordTree()
{
    const Observers observers = observers_; // observers may leave while told
    Notify(observers, &PasswordTreeObserver::TreeDestroyed);
    ReleaseAll();
}

void PasswordTree::StartEmpty()
{
    images_.emplace_back();
    sentinel_ = arena_.NewNode();
    sentinel_->SetFlag(TreeNode::SentinelBit, true);
}

void PasswordTree::ReleaseAll()
{
    for (TreeNode* node : nodes_) {
        if (node)
            node->~TreeNode();
    }
    if (sentinel_)
        sentinel_->~TreeNode();
    arena_.ReleaseAll();
    sentinel_ = nullptr;
    nodes_.clear();
    nodes_.shrink_to_fit();
    dirtyFrom_ = NoneDirty;
    liveCount_ = 0;
    keys_ = {};
    images_.clear();
    imageIds_.clear();
}

void PasswordTree::Clear()
{
    Notify(&PasswordTreeObserver::TreeAboutToBeReset);
    ReleaseAll();
    StartEmpty();
    Notify(&PasswordTreeObserver::TreeReset);
}

void PasswordTree::Swap(PasswordTree& other)
{
    if (&other == this)
        return;
    const Observers mine = observers_;
    const Observers theirs = other.observers_;
    Notify(mine, &PasswordTreeObserver::TreeAboutToBeReset);
    Notify(theirs, &PasswordTreeObserver::TreeAboutToBeReset);
    arena_.Swap(other.arena_);
    std::swap(sentinel_, other.sentinel_);
    std::swap(nodes_, other.nodes_);
    std::swap(dirtyFrom_, other.dirtyFrom_);
    std::swap(liveCount_, other.liveCount_);
    std::swap(keys_, other.keys_);
    std::swap(images_, other.images_);
    std::swap(imageIds_, other.imageIds_);
    Notify(mine, &PasswordTreeObserver::TreeReset);
    Notify(theirs, &PasswordTreeObserver::TreeReset);
}

// --- Lookup ------------------------------------------------------------------

void PasswordTree::Compact() const
{
    if (dirtyFrom_ == NoneDirty)
        return;
    std::size_t w = dirtyFrom_;
    for (std::size_t r = dirtyFrom_; r < nodes_.size(); ++r) {
        if (TreeNode* n = nodes_[r]) {
            nodes_[w] = n;
            n->index_ = std::uint32_t(w);
            ++w;
        }
    }
    nodes_.resize(w);
    dirtyFrom_ = NoneDirty;
}

TreeNode* PasswordTree::NodeAt(int index) const
{
    if (index < 1 || std::size_t(index) > liveCount_)
        return nullptr;
    Compact();
    return nodes_[std::size_t(index) - 1];
}

int PasswordTree::TopLevelCount() const
{
    return sentinel_->ChildCount();
}

TreeNode* PasswordTree::TopLevel(int row) const
{
    return sentinel_->Child(row);
}

std::span<TreeNode* const> PasswordTree::TopLevelNodes() const
{
    return sentinel_->Children();
}

TreeNode* PasswordTree::Next(const TreeNode* node, const TreeNode* within) const
{
    if (!node)
        return nullptr;
    if (node->childCount_)
        return node->children_[0];
    const TreeNode* n = node;
    while (n != within) {
        TreeNode* p = n->parent_;
        if (!p)
            return nullptr;
        if (n->row_ + 1 < p->childCount_)
            return p->children_[n->row_ + 1];
        n = p;
    }
    return nullptr;
}

// --- Images ------------------------------------------------------------------

std::uint32_t PasswordTree::ImageId(const QString& key)
{
    if (key.isEmpty())
        return 0;
    const auto it = imageIds_.constFind(key);
    if (it != imageIds_.constEnd())
        return *it;
    const auto id = std::uint32_t(images_.size());
    images_.push_back(key);
    imageIds_.insert(key, id);
    return id;
}

std::optional<std::uint32_t> PasswordTree::FindImageId(const QString& key) const
{
    const auto it = imageIds_.constFind(key);
    if (it == imageIds_.constEnd())
        return std::nullopt;
    return *it;
}

// --- Structure ---------------------------------------------------------------

int PasswordTree::CompareTexts(const PackedText& a, const PackedText& b)
{
    return keyholm::CompareTexts(a, b);
}

void PasswordTree::InsertChild(TreeNode* parent, TreeNode* child, std::uint32_t row)
{
    const std::uint32_t count = parent->childCount_;
    const bool borrowed = parent->colorFlags_ & TreeNode::BorrowedChildrenBit;
    if (borrowed || count == Capacity(count)) {
        // A borrowed array is exactly full: its node gets an array of its own.
        const std::uint32_t capacity = Capacity(count + 1);
        auto* grown = static_cast<TreeNode**>(
            std::realloc(borrowed ? nullptr : parent->children_, capacity * sizeof(TreeNode*)));
        if (!grown)
            throw std::bad_alloc();
        if (borrowed)
            std::memcpy(grown, parent->children_, count * sizeof(TreeNode*));
        parent->children_ = grown;
        parent->SetFlag(TreeNode::BorrowedChildrenBit, false);
    }
    TreeNode** c = parent->children_;
    std::memmove(c + row + 1, c + row, (count - row) * sizeof(TreeNode*));
    c[row] = child;
    parent->childCount_ = count + 1;
    for (std::uint32_t r = row; r <= count; ++r)
        c[r]->row_ = r;
    child->parent_ = parent;
}

void PasswordTree::DropChildArray(TreeNode* node)
{
    if (!(node->colorFlags_ & TreeNode::BorrowedChildrenBit))
        std::free(node->children_);
    node->children_ = nullptr;
    node->SetFlag(TreeNode::BorrowedChildrenBit, false);
}

void PasswordTree::LayOutChildren()
{
    // Parents hold their child counts and children their parents; every
    // child array goes into one block, parents in collection order.
    std::size_t total = sentinel_->childCount_;
    for (const TreeNode* n : nodes_)
        total += n->childCount_;
    if (total == 0)
        return;
    auto* block = static_cast<TreeNode**>(std::malloc(total * sizeof(TreeNode*)));
    if (!block)
        throw std::bad_alloc();
    arena_.Keep(block, total * sizeof(TreeNode*));
    TreeNode** next = block;
    auto place = [&next](TreeNode* parent) {
        if (parent->childCount_) {
            DropChildArray(parent);
            parent->children_ = next;
            parent->SetFlag(TreeNode::BorrowedChildrenBit, true);
            next += parent->childCount_;
            parent->childCount_ = 0;
        }
    };
    place(sentinel_);
    for (TreeNode* n : nodes_)
        place(n);
    for (TreeNode* n : nodes_) {
        TreeNode* parent = n->parent_;
        n->row_ = parent->childCount_++;
        parent->children_[n->row_] = n;
    }
}

void PasswordTree::DetachChild(TreeNode* child)
{
    TreeNode* parent = child->parent_;
    const std::uint32_t row = child->row_;
    const std::uint32_t count = parent->childCount_ - 1;
    TreeNode** c = parent->children_;
    std::memmove(c + row, c + row + 1, (count - row) * sizeof(TreeNode*));
    parent->childCount_ = count;
    for (std::uint32_t r = row; r < count; ++r)
        c[r]->row_ = r;
    if (count == 0)
        DropChildArray(parent);
    child->parent_ = nullptr;
}

void PasswordTree::FreeSubtrees(std::vector<TreeNode*> pending)
{
    while (!pending.empty()) {
        TreeNode* n = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), n->children_, n->children_ + n->childCount_);
        keys_.Erase(n);
        nodes_[n->index_] = nullptr;
        dirtyFrom_ = std::min<std::size_t>(dirtyFrom_, n->index_);
        --liveCount_;
        arena_.FreeNode(n);
    }
}

std::uint32_t PasswordTree::SortedRow(const TreeNode* parent, const PackedText& text, const TreeNode* exclude) const
{
    // Upper bound among the children other than `exclude`: equal texts keep
    // the order in which they came.
    const std::uint32_t skip = exclude ? exclude->row_ : std::numeric_limits<std::uint32_t>::max();
    std::uint32_t lo = 0;
    std::uint32_t hi = parent->childCount_ - (exclude ? 1 : 0);
    while (lo < hi) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        const TreeNode* m = parent->children_[mid >= skip ? mid + 1 : mid];
        if (keyholm::CompareTexts(text, m->text_) < 0)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

void PasswordTree::Reposition(TreeNode* node)
{
    TreeNode* parent = node->parent_;
    if (!parent || !parent->Sorted())
        return;
    const std::uint32_t row = node->row_;
    const bool afterPrevious = row == 0 || keyholm::CompareTexts(parent->children_[row - 1]->text_, node->text_) <= 0;
    const bool beforeNext
        = row + 1 >= parent->childCount_ || keyholm::CompareTexts(node->text_, parent->children_[row + 1]->text_) <= 0;
    if (afterPrevious && beforeNext)
        return;
    const std::uint32_t target = SortedRow(parent, node->text_, node);
    TreeNode* outer = Outer(parent);
    Notify(&PasswordTreeObserver::NodeAboutToBeMoved, node, outer, int(row), outer, int(target));
    DetachChild(node);
    InsertChild(parent, node, target);
    Notify(&PasswordTreeObserver::NodeMoved, node, outer, int(row), outer, int(target));
}

void PasswordTree::SortChildren(TreeNode* parent, bool notify)
{
    const std::uint32_t n = parent->childCount_;
    if (n < 2)
        return;
    TreeNode** c = parent->children_;
    const auto less
        = [](const TreeNode* a, const TreeNode* b) { return keyholm::CompareTexts(a->text_, b->text_) < 0; };
    // Children added at the end of sorted ones (an import) are sorted alone
    // and merged in: the cost follows what was added, not what was there.
    const std::uint32_t sorted = std::uint32_t(std::is_sorted_until(c, c + n, less) - c);
    if (sorted == n)
        return;
    std::vector<TreeNode*> order(c, c + n);
    std::stable_sort(order.begin() + sorted, order.end(), less);
    std::inplace_merge(order.begin(), order.begin() + sorted, order.end(), less);
    TreeNode* outer = Outer(parent);
    if (notify)
        Notify(&PasswordTreeObserver::ChildrenAboutToBeReordered, outer);
    for (std::uint32_t r = 0; r < n; ++r) {
        c[r] = order[r];
        c[r]->row_ = r;
    }
    if (notify)
        Notify(&PasswordTreeObserver::ChildrenReordered, outer);
}

void PasswordTree::Append(TreeNode* node)
{
    node->index_ = std::uint32_t(nodes_.size());
    nodes_.push_back(node);
    ++liveCount_;
}

TreeNode* PasswordTree::Add(
    TreeNode* parent, const QString& key, const QString& text, const QString& image, const QString& tag)
{
    if (parent && (&parent->Tree() != this || parent->IsSentinel()))
        return nullptr;
    if (FindKey(key))
        return nullptr;
    TreeNode* p = parent ? parent : sentinel_;
    TreeNode* node = arena_.NewNode();
    node->key_.Assign(key);
    node->text_.Assign(text);
    if (!tag.isEmpty() && tag == text)
        node->SetFlag(TreeNode::TagIsTextBit, true);
    else
        node->tag_.Assign(tag);
    node->image_ = ImageId(image);
    const std::uint32_t row = p->Sorted() ? SortedRow(p, node->text_, nullptr) : p->childCount_;
    Notify(&PasswordTreeObserver::NodesAboutToBeInserted, parent, int(row), int(row));
    InsertChild(p, node, row);
    Append(node);
    // Cannot fail: the key was free.
    [[maybe_unused]] const bool indexed = keys_.Insert(node);
    Q_ASSERT(indexed);
    Notify(&PasswordTreeObserver::NodesInserted, parent, int(row), int(row));
    return node;
}

bool PasswordTree::Remove(TreeNode* node)
{
    if (!node || node->IsSentinel() || &node->Tree() != this)
        return false;
    TreeNode* parent = Outer(node->parent_);
    const int row = int(node->row_);
    Notify(&PasswordTreeObserver::NodesAboutToBeRemoved, parent, row, row);
    DetachChild(node);
    FreeSubtrees({ node });
    Notify(&PasswordTreeObserver::NodesRemoved, parent, row, row);
    return true;
}

void PasswordTree::RemoveChildren(TreeNode* node)
{
    if (!node || node->childCount_ == 0 || &node->Tree() != this)
        return;
    const int last = int(node->childCount_) - 1;
    Notify(&PasswordTreeObserver::NodesAboutToBeRemoved, Outer(node), 0, last);
    std::vector<TreeNode*> children(node->children_, node->children_ + node->childCount_);
    DropChildArray(node);
    node->childCount_ = 0;
    FreeSubtrees(std::move(children));
    Notify(&PasswordTreeObserver::NodesRemoved, Outer(node), 0, last);
}

bool PasswordTree::Move(TreeNode* node, TreeNode* newParent)
{
    if (!node || node->IsSentinel() || &node->Tree() != this)
        return false;
    if (newParent && (newParent->IsSentinel() || &newParent->Tree() != this))
        return false;
    TreeNode* target = newParent ? newParent : sentinel_;
    if (target == node || node->IsAncestorOf(target))
        return false;
    TreeNode* from = node->parent_;
    if (from == target)
        return true;
    const int oldRow = int(node->row_);
    const std::uint32_t row = target->Sorted() ? SortedRow(target, node->text_, nullptr) : target->childCount_;
    Notify(&PasswordTreeObserver::NodeAboutToBeMoved, node, Outer(from), oldRow, newParent, int(row));
    DetachChild(node);
    InsertChild(target, node, row);
    Notify(&PasswordTreeObserver::NodeMoved, node, Outer(from), oldRow, newParent, int(row));
    return true;
}

// --- Observers ---------------------------------------------------------------

void PasswordTree::AddObserver(PasswordTreeObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void PasswordTree::RemoveObserver(PasswordTreeObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

} // namespace keyholm
