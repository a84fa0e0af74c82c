#include "components/PasswordTree.h"

#include "components/PasswordTreeObserver.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <limits>
#include <new>

namespace keyholm {
namespace {
constexpr std::size_t NoneDirty = std::numeric_limits<std::size_t>::max();
// The first slot of a chunk holds its header.
constexpr std::size_t SlotsPerChunk = TreeNodeChunkBytes / sizeof(TreeNode) - 1;
constexpr std::size_t ArenaBlock = 256 * 1024;
constexpr std::size_t MinKeySlots = 16;

struct ChunkHeader {
    PasswordTree* tree;
};
static_assert(sizeof(ChunkHeader) <= sizeof(TreeNode));

// Capacity of a child array that holds n children.
std::uint32_t Capacity(std::uint32_t n)
{
    return n == 0 ? 0 : std::bit_ceil(n);
}

inline char16_t Unit(QLatin1StringView v, qsizetype i)
{
    return char16_t(uchar(v.data()[i]));
}
inline char16_t Unit(QStringView v, qsizetype i)
{
    return v.utf16()[i];
}

template <class View> std::uint64_t HashUnits(View v)
{
    // FNV-1a over code units, so that Latin-1 and UTF-16 forms agree.
    std::uint64_t h = 14695981039346656037ull;
    for (qsizetype i = 0; i < v.size(); ++i) {
        h ^= Unit(v, i);
        h *= 1099511628211ull;
    }
    return h ^ (h >> 29);
}

std::uint64_t HashKey(const PackedText& key)
{
    return key.Visit([](auto v) { return HashUnits(v); });
}

// Sort folds: first letter case and Latin accents, then letter case only,
// then nothing, so that the order is total and stable across runs.
struct FoldTable {
    char16_t primary[0x250];
    FoldTable()
    {
        for (char32_t c = 0; c < 0x250; ++c) {
            const QChar ch { char16_t(c) };
            QChar base = ch;
            if (ch.decompositionTag() == QChar::Canonical) {
                const QString d = ch.decomposition();
                if (!d.isEmpty())
                    base = d.at(0);
            }
            primary[c] = char16_t(QChar::toCaseFolded(char32_t(base.unicode())));
        }
    }
};

const FoldTable& Folds()
{
    static const FoldTable table;
    return table;
}

struct PrimaryFold {
    const char16_t* table = Folds().primary;
    char16_t operator()(char16_t c) const
    {
        if (c < 0x250)
            return table[c];
        if (QChar::isSurrogate(c))
            return c;
        return char16_t(QChar::toCaseFolded(char32_t(c)));
    }
};
struct SecondaryFold {
    char16_t operator()(char16_t c) const
    {
        if (c < 0x80)
            return (c >= 'A' && c <= 'Z') ? char16_t(c + 32) : c;
        if (QChar::isSurrogate(c))
            return c;
        return char16_t(QChar::toCaseFolded(char32_t(c)));
    }
};
struct NoFold {
    char16_t operator()(char16_t c) const { return c; }
};

template <class A, class B, class Fold> int CompareFolded(A a, B b, Fold fold)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = fold(Unit(a, i));
        const char16_t y = fold(Unit(b, i));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

template <class Fold> int Compare(const PackedText& a, const PackedText& b, Fold fold)
{
    return a.Visit([&](auto va) { return b.Visit([&](auto vb) { return CompareFolded(va, vb, fold); }); });
}

template <class View> std::uint64_t GeneratedNumber(View v)
{
    // Keys made by NewKey: "k" and a base-36 number without leading zero,
    // so that number and key match one to one. 0 for any other key.
    if (v.size() < 2 || v.size() > 13 || Unit(v, 0) != u'k' || Unit(v, 1) == u'0')
        return 0;
    std::uint64_t n = 0;
    for (qsizetype i = 1; i < v.size(); ++i) {
        const char16_t c = Unit(v, i);
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'z')
            digit = c - u'a' + 10;
        else
            return 0;
        n = n * 36 + std::uint64_t(digit);
    }
    return n;
}

std::uint64_t GeneratedNumber(const PackedText& key)
{
    return key.Visit([](auto v) { return GeneratedNumber(v); });
}
} // namespace

// --- TreeNode -------------------------------------------------------------

TreeNode::~TreeNode()
{
    if (!(colorFlags_ & BorrowedChildrenBit))
        std::free(children_);
}

PasswordTree& TreeNode::Tree() const
{
    const auto base = reinterpret_cast<std::uintptr_t>(this) & ~std::uintptr_t(TreeNodeChunkBytes - 1);
    return *reinterpret_cast<const ChunkHeader*>(base)->tree;
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

// --- PasswordTree: life and allocation -------------------------------------

PasswordTree::PasswordTree()
    : dirtyFrom_(NoneDirty)
{
    images_.emplace_back();
    sentinel_ = NewNode();
    sentinel_->SetFlag(TreeNode::SentinelBit, true);
}

PasswordTree::~PasswordTree()
{
    const auto observers = observers_; // observers may leave while told
    for (PasswordTreeObserver* o : observers)
        o->TreeDestroyed();
    ReleaseAll();
}

TreeNode* PasswordTree::NewNode()
{
    void* slot;
    if (freeNodes_) {
        slot = freeNodes_;
        std::memcpy(&freeNodes_, slot, sizeof freeNodes_);
    } else {
        if (chunks_.empty() || chunkSlotsUsed_ == SlotsPerChunk) {
            void* chunk = std::aligned_alloc(TreeNodeChunkBytes, TreeNodeChunkBytes);
            if (!chunk)
                throw std::bad_alloc();
            static_cast<ChunkHeader*>(chunk)->tree = this;
            chunks_.push_back(chunk);
            chunkSlotsUsed_ = 0;
        }
        slot = static_cast<char*>(chunks_.back()) + sizeof(TreeNode) * (1 + chunkSlotsUsed_++);
    }
    return new (slot) TreeNode();
}

void PasswordTree::FreeNode(TreeNode* node)
{
    node->~TreeNode();
    std::memcpy(static_cast<void*>(node), &freeNodes_, sizeof freeNodes_);
    freeNodes_ = node;
}

char* PasswordTree::ArenaAllocate(std::size_t bytes)
{
    bytes = (bytes + 3) & ~std::size_t(3);
    if (bytes > arenaLeft_) {
        const std::size_t size = std::max(ArenaBlock, bytes);
        char* block = static_cast<char*>(std::malloc(size));
        if (!block)
            throw std::bad_alloc();
        arena_.push_back(block);
        arenaNext_ = block;
        arenaLeft_ = size;
    }
    char* out = arenaNext_;
    arenaNext_ += bytes;
    arenaLeft_ -= bytes;
    return out;
}

void PasswordTree::ReleaseAll()
{
    for (TreeNode* node : nodes_) {
        if (node)
            node->~TreeNode();
    }
    if (sentinel_)
        sentinel_->~TreeNode();
    for (void* chunk : chunks_)
        std::free(chunk);
    for (char* block : arena_)
        std::free(block);
    chunks_.clear();
    chunkSlotsUsed_ = 0;
    freeNodes_ = nullptr;
    arena_.clear();
    arenaLeft_ = 0;
    arenaNext_ = nullptr;
    sentinel_ = nullptr;
    nodes_.clear();
    nodes_.shrink_to_fit();
    dirtyFrom_ = NoneDirty;
    liveCount_ = 0;
    keys_ = KeyIndex();
    direct_.clear();
    direct_.shrink_to_fit();
    directReserve_ = 0;
    nextKey_ = 1;
    images_.clear();
    imageIds_.clear();
}

void PasswordTree::AdoptChunks()
{
    for (void* chunk : chunks_)
        static_cast<ChunkHeader*>(chunk)->tree = this;
}

void PasswordTree::Clear()
{
    const auto& observers = observers_;
    for (PasswordTreeObserver* o : observers)
        o->TreeAboutToBeReset();
    ReleaseAll();
    images_.emplace_back();
    sentinel_ = NewNode();
    sentinel_->SetFlag(TreeNode::SentinelBit, true);
    for (PasswordTreeObserver* o : observers)
        o->TreeReset();
}

void PasswordTree::Swap(PasswordTree& other)
{
    if (&other == this)
        return;
    const auto mine = observers_;
    const auto theirs = other.observers_;
    for (PasswordTreeObserver* o : mine)
        o->TreeAboutToBeReset();
    for (PasswordTreeObserver* o : theirs)
        o->TreeAboutToBeReset();
    std::swap(chunks_, other.chunks_);
    std::swap(chunkSlotsUsed_, other.chunkSlotsUsed_);
    std::swap(freeNodes_, other.freeNodes_);
    std::swap(arena_, other.arena_);
    std::swap(arenaLeft_, other.arenaLeft_);
    std::swap(arenaNext_, other.arenaNext_);
    std::swap(sentinel_, other.sentinel_);
    std::swap(nodes_, other.nodes_);
    std::swap(dirtyFrom_, other.dirtyFrom_);
    std::swap(liveCount_, other.liveCount_);
    std::swap(keys_, other.keys_);
    std::swap(direct_, other.direct_);
    std::swap(directReserve_, other.directReserve_);
    std::swap(nextKey_, other.nextKey_);
    std::swap(images_, other.images_);
    std::swap(imageIds_, other.imageIds_);
    AdoptChunks();
    other.AdoptChunks();
    for (PasswordTreeObserver* o : mine)
        o->TreeReset();
    for (PasswordTreeObserver* o : theirs)
        o->TreeReset();
}

// --- PasswordTree: lookup ----------------------------------------------------

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

// --- PasswordTree: keys ------------------------------------------------------

namespace {
inline std::uint8_t TagOf(std::uint64_t hash)
{
    return std::uint8_t(0x80 | (hash >> 57));
}
} // namespace

TreeNode** PasswordTree::KeySlot(QStringView key) const
{
    if (keys_.slots.empty())
        return nullptr;
    const std::uint64_t hash = HashUnits(key);
    const std::uint8_t tag = TagOf(hash);
    const std::size_t mask = keys_.slots.size() - 1;
    auto& slots = const_cast<std::vector<TreeNode*>&>(keys_.slots);
    for (std::size_t i = std::size_t(hash) & mask; keys_.tags[i]; i = (i + 1) & mask) {
        if (keys_.tags[i] == tag && slots[i]->key_.Equals(key))
            return &slots[i];
    }
    return nullptr;
}

TreeNode* PasswordTree::FindKey(QStringView key) const
{
    if (key.isEmpty())
        return nullptr;
    const std::uint64_t number = GeneratedNumber(key);
    if (number && number < direct_.size() && direct_[number])
        return direct_[number];
    if (keys_.count == 0)
        return nullptr;
    TreeNode** slot = KeySlot(key);
    return slot ? *slot : nullptr;
}

bool PasswordTree::Direct(std::uint64_t number) const
{
    return number != 0 && number < 4 * std::max(liveCount_, directReserve_) + 4096;
}

void PasswordTree::GrowKeys()
{
    const std::vector<TreeNode*> old = std::move(keys_.slots);
    const std::size_t size = std::max(MinKeySlots, old.size() * 2);
    keys_.slots.assign(size, nullptr);
    keys_.tags.assign(size, 0);
    const std::size_t mask = size - 1;
    for (TreeNode* n : old) {
        if (!n)
            continue;
        const std::uint64_t hash = HashKey(n->key_);
        std::size_t i = std::size_t(hash) & mask;
        while (keys_.tags[i])
            i = (i + 1) & mask;
        keys_.slots[i] = n;
        keys_.tags[i] = TagOf(hash);
    }
}

bool PasswordTree::IndexKey(TreeNode* node)
{
    if (node->key_.IsEmpty())
        return true;
    const std::uint64_t number = GeneratedNumber(node->key_);
    if (Direct(number)) {
        if (number < direct_.size() && direct_[number])
            return false;
        // An earlier, larger number may have gone to the hash.
        if (keys_.count && node->key_.Visit([this](auto v) { return KeySlot(v.toString()) != nullptr; }))
            return false;
        if (number >= direct_.size())
            direct_.resize(std::size_t(number) + 1, nullptr);
        direct_[number] = node;
        return true;
    }
    // A number too large for the table now may have gone to it before.
    if (number && number < direct_.size() && direct_[number])
        return false;
    // Linear probing stays short below three quarters full.
    if ((keys_.count + 1) * 4 > keys_.slots.size() * 3)
        GrowKeys();
    const std::uint64_t hash = HashKey(node->key_);
    const std::uint8_t tag = TagOf(hash);
    const std::size_t mask = keys_.slots.size() - 1;
    std::size_t i = std::size_t(hash) & mask;
    for (; keys_.tags[i]; i = (i + 1) & mask) {
        if (keys_.tags[i] == tag && Compare(keys_.slots[i]->key_, node->key_, NoFold()) == 0)
            return false;
    }
    keys_.slots[i] = node;
    keys_.tags[i] = tag;
    ++keys_.count;
    return true;
}

void PasswordTree::UnindexKey(const TreeNode* node)
{
    if (node->key_.IsEmpty())
        return;
    const std::uint64_t number = GeneratedNumber(node->key_);
    if (number && number < direct_.size() && direct_[number] == node) {
        direct_[number] = nullptr;
        return;
    }
    if (keys_.slots.empty())
        return;
    const std::uint64_t hash = HashKey(node->key_);
    const std::uint8_t tag = TagOf(hash);
    const std::size_t mask = keys_.slots.size() - 1;
    std::size_t i = std::size_t(hash) & mask;
    while (keys_.tags[i] && !(keys_.tags[i] == tag && keys_.slots[i] == node))
        i = (i + 1) & mask;
    if (!keys_.tags[i])
        return;
    // Backward shift deletion keeps every probe chain unbroken.
    std::size_t j = i;
    for (;;) {
        j = (j + 1) & mask;
        if (!keys_.tags[j])
            break;
        const std::size_t home = std::size_t(HashKey(keys_.slots[j]->key_)) & mask;
        const bool between = i <= j ? (home > i && home <= j) : (home > i || home <= j);
        if (!between) {
            keys_.slots[i] = keys_.slots[j];
            keys_.tags[i] = keys_.tags[j];
            i = j;
        }
    }
    keys_.slots[i] = nullptr;
    keys_.tags[i] = 0;
    --keys_.count;
}

void PasswordTree::NoteKey(const PackedText& key)
{
    const std::uint64_t n = GeneratedNumber(key);
    if (n >= nextKey_)
        nextKey_ = n + 1;
}

QString PasswordTree::NewKey()
{
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (;;) {
        std::uint64_t n = nextKey_++;
        char buffer[16];
        int pos = sizeof buffer;
        do {
            buffer[--pos] = digits[n % 36];
            n /= 36;
        } while (n);
        buffer[--pos] = 'k';
        const QString key = QString::fromLatin1(buffer + pos, qsizetype(sizeof buffer) - pos);
        if (!FindKey(key))
            return key;
    }
}

// --- PasswordTree: images ----------------------------------------------------

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

// --- PasswordTree: structure -------------------------------------------------

int PasswordTree::CompareTexts(const PackedText& a, const PackedText& b)
{
    if (const int r = Compare(a, b, PrimaryFold()))
        return r;
    if (const int r = Compare(a, b, SecondaryFold()))
        return r;
    return Compare(a, b, NoFold());
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
    arena_.push_back(reinterpret_cast<char*>(block));
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
        if (CompareTexts(text, m->text_) < 0)
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
    const bool afterPrevious = row == 0 || CompareTexts(parent->children_[row - 1]->text_, node->text_) <= 0;
    const bool beforeNext
        = row + 1 >= parent->childCount_ || CompareTexts(node->text_, parent->children_[row + 1]->text_) <= 0;
    if (afterPrevious && beforeNext)
        return;
    const std::uint32_t target = SortedRow(parent, node->text_, node);
    const auto& observers = observers_;
    for (PasswordTreeObserver* o : observers)
        o->NodeAboutToBeMoved(node, Outer(parent), int(row), Outer(parent), int(target));
    DetachChild(node);
    InsertChild(parent, node, target);
    for (PasswordTreeObserver* o : observers)
        o->NodeMoved(node, Outer(parent), int(row), Outer(parent), int(target));
}

void PasswordTree::SortChildren(TreeNode* parent, bool notify)
{
    const std::uint32_t n = parent->childCount_;
    if (n < 2)
        return;
    TreeNode** c = parent->children_;
    const auto less = [](const TreeNode* a, const TreeNode* b) { return CompareTexts(a->text_, b->text_) < 0; };
    if (std::is_sorted(c, c + n, less))
        return;
    std::vector<TreeNode*> order(c, c + n);
    std::stable_sort(order.begin(), order.end(), less);
    if (!notify) {
        for (std::uint32_t r = 0; r < n; ++r) {
            c[r] = order[r];
            c[r]->row_ = r;
        }
        return;
    }
    // One move a misplaced child, so that a view keeps its selection.
    const auto& observers = observers_;
    TreeNode* outer = Outer(parent);
    for (std::uint32_t i = 0; i < n; ++i) {
        TreeNode* want = order[i];
        if (c[i] == want)
            continue;
        const std::uint32_t from = want->row_;
        for (PasswordTreeObserver* o : observers)
            o->NodeAboutToBeMoved(want, outer, int(from), outer, int(i));
        std::memmove(c + i + 1, c + i, (from - i) * sizeof(TreeNode*));
        c[i] = want;
        for (std::uint32_t r = i; r <= from; ++r)
            c[r]->row_ = r;
        for (PasswordTreeObserver* o : observers)
            o->NodeMoved(want, outer, int(from), outer, int(i));
    }
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
    TreeNode* node = NewNode();
    node->key_.Assign(key);
    node->text_.Assign(text);
    if (!tag.isEmpty() && tag == text)
        node->SetFlag(TreeNode::TagIsTextBit, true);
    else
        node->tag_.Assign(tag);
    node->image_ = ImageId(image);
    const std::uint32_t row = p->Sorted() ? SortedRow(p, node->text_, nullptr) : p->childCount_;
    const auto& observers = observers_;
    for (PasswordTreeObserver* o : observers)
        o->NodesAboutToBeInserted(parent, int(row), int(row));
    InsertChild(p, node, row);
    Append(node);
    IndexKey(node);
    NoteKey(node->key_);
    for (PasswordTreeObserver* o : observers)
        o->NodesInserted(parent, int(row), int(row));
    return node;
}

bool PasswordTree::Remove(TreeNode* node)
{
    if (!node || node->IsSentinel() || &node->Tree() != this)
        return false;
    TreeNode* parent = node->parent_;
    const int row = int(node->row_);
    const auto& observers = observers_;
    for (PasswordTreeObserver* o : observers)
        o->NodesAboutToBeRemoved(Outer(parent), row, row);
    DetachChild(node);
    std::vector<TreeNode*> pending { node };
    while (!pending.empty()) {
        TreeNode* n = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), n->children_, n->children_ + n->childCount_);
        UnindexKey(n);
        nodes_[n->index_] = nullptr;
        dirtyFrom_ = std::min<std::size_t>(dirtyFrom_, n->index_);
        --liveCount_;
        FreeNode(n);
    }
    for (PasswordTreeObserver* o : observers)
        o->NodesRemoved(Outer(parent), row, row);
    return true;
}

void PasswordTree::RemoveChildren(TreeNode* node)
{
    if (!node || node->childCount_ == 0 || &node->Tree() != this)
        return;
    const int last = int(node->childCount_) - 1;
    const auto& observers = observers_;
    for (PasswordTreeObserver* o : observers)
        o->NodesAboutToBeRemoved(Outer(node), 0, last);
    std::vector<TreeNode*> pending(node->children_, node->children_ + node->childCount_);
    DropChildArray(node);
    node->childCount_ = 0;
    while (!pending.empty()) {
        TreeNode* n = pending.back();
        pending.pop_back();
        pending.insert(pending.end(), n->children_, n->children_ + n->childCount_);
        UnindexKey(n);
        nodes_[n->index_] = nullptr;
        dirtyFrom_ = std::min<std::size_t>(dirtyFrom_, n->index_);
        --liveCount_;
        FreeNode(n);
    }
    for (PasswordTreeObserver* o : observers)
        o->NodesRemoved(Outer(node), 0, last);
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
    const auto& observers = observers_;
    for (PasswordTreeObserver* o : observers)
        o->NodeAboutToBeMoved(node, Outer(from), oldRow, newParent, int(row));
    DetachChild(node);
    InsertChild(target, node, row);
    for (PasswordTreeObserver* o : observers)
        o->NodeMoved(node, Outer(from), oldRow, newParent, int(row));
    return true;
}

// --- PasswordTree: observers -------------------------------------------------

void PasswordTree::AddObserver(PasswordTreeObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void PasswordTree::RemoveObserver(PasswordTreeObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void PasswordTree::AboutToChange(TreeNode* node, unsigned changes)
{
    const auto& observers = observers_;
    for (PasswordTreeObserver* o : observers)
        o->NodeAboutToChange(node, changes);
}

void PasswordTree::Changed(TreeNode* node, unsigned changes)
{
    const auto& observers = observers_;
    for (PasswordTreeObserver* o : observers)
        o->NodeChanged(node, changes);
}

} // namespace keyholm
