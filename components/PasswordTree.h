#pragma once
// The node collection that holds an open database: the one holder of its
// data while it is open. Nodes are numbered from 1 in the order they were
// added (a load adds them in file order); removing nodes renumbers the rest.
// Finding a node by index or by key takes constant time. A parent whose
// Sorted is set keeps its children in the order of their texts, letter case
// and accents ignored, so that the service nodes, whose texts begin with a
// space, come first under the root.
//
// Memory: a node takes 64 bytes plus its texts (short Latin-1 texts inline,
// image keys shared through a table of the tree), one collection slot and
// one key slot.

#include "components/PackedText.h"
#include "components/TreeNode.h"

#include <QHash>
#include <QString>

#include <span>
#include <vector>

namespace keyholm {

class PasswordTreeObserver;

class PasswordTree {
public:
    PasswordTree();
    ~PasswordTree();
    PasswordTree(const PasswordTree&) = delete;
    PasswordTree& operator=(const PasswordTree&) = delete;

    int Count() const { return int(liveCount_); }
    bool IsEmpty() const { return liveCount_ == 0; }
    // Nodes(index) of the collection, from 1; null out of range.
    TreeNode* NodeAt(int index) const;
    // Nodes(1).
    TreeNode* Root() const { return NodeAt(1); }
    // Null for an empty or unknown key.
    TreeNode* FindKey(QStringView key) const;

    int TopLevelCount() const;
    TreeNode* TopLevel(int row) const;
    std::span<TreeNode* const> TopLevelNodes() const;

    // Adds a child of parent (top level when null), at its sorted place when
    // the parent is sorted, else last. Null when the key is taken or the
    // parent belongs to another tree. An empty key is allowed (the node
    // cannot be found by key).
    TreeNode* Add(
        TreeNode* parent, const QString& key, const QString& text, const QString& image = {}, const QString& tag = {});
    // A short key that no node has.
    QString NewKey();
    // Removes the node and its subtree.
    bool Remove(TreeNode* node);
    void RemoveChildren(TreeNode* node);
    // Makes the node a child of newParent (top level when null), at its
    // sorted place or last. Refuses a move under the node itself or one of
    // its descendants. A node keeps its key and its index.
    bool Move(TreeNode* node, TreeNode* newParent);
    void Clear();
    // Exchanges the contents (not the observers) of two trees.
    void Swap(PasswordTree& other);

    // The node after `node` in display order (depth first), staying inside
    // the subtree of `within` (whole tree when null); null at the end.
    TreeNode* Next(const TreeNode* node, const TreeNode* within = nullptr) const;

    // An observer must not add or remove observers while it is told.
    void AddObserver(PasswordTreeObserver* observer);
    void RemoveObserver(PasswordTreeObserver* observer);

    // Order of sorted children: negative, zero or positive.
    static int CompareTexts(const PackedText& a, const PackedText& b);

private:
    friend class TreeNode;
    friend class TreeStore;

    // Open addressing with linear probing. A byte of each slot's hash sits
    // beside it, so that probing rarely reads a node.
    struct KeyIndex {
        std::vector<TreeNode*> slots;
        std::vector<std::uint8_t> tags; // 0: free
        std::size_t count = 0;
    };

    // Allocation
    TreeNode* NewNode();
    void FreeNode(TreeNode* node);
    char* ArenaAllocate(std::size_t bytes);
    void ReleaseAll();
    void AdoptChunks();

    // Structure
    void InsertChild(TreeNode* parent, TreeNode* child, std::uint32_t row);
    void DetachChild(TreeNode* child);
    static void DropChildArray(TreeNode* node);
    void LayOutChildren();
    std::uint32_t SortedRow(const TreeNode* parent, const PackedText& text, const TreeNode* exclude) const;
    void Reposition(TreeNode* node);
    void SortChildren(TreeNode* parent, bool notify);
    void Compact() const;
    void Append(TreeNode* node);
    TreeNode* Outer(TreeNode* parent) const { return parent == sentinel_ ? nullptr : parent; }

    // Keys
    bool IndexKey(TreeNode* node);
    void UnindexKey(const TreeNode* node);
    TreeNode** KeySlot(QStringView key) const;
    bool Direct(std::uint64_t number) const;
    void GrowKeys();
    void NoteKey(const PackedText& key);

    // Images
    std::uint32_t ImageId(const QString& key);
    const QString& ImageKey(std::uint32_t id) const { return images_[id]; }

    // Notifications
    void AboutToChange(TreeNode* node, unsigned changes);
    void Changed(TreeNode* node, unsigned changes);

    std::vector<void*> chunks_;
    std::size_t chunkSlotsUsed_ = 0;
    TreeNode* freeNodes_ = nullptr;
    std::vector<char*> arena_;
    std::size_t arenaLeft_ = 0;
    char* arenaNext_ = nullptr;

    TreeNode* sentinel_ = nullptr;
    mutable std::vector<TreeNode*> nodes_;
    mutable std::size_t dirtyFrom_;
    std::size_t liveCount_ = 0;
    // Keys made by NewKey ("k" and a base-36 number) are found by their
    // number in a direct table while numbers stay near the node count;
    // other keys go to the hash.
    KeyIndex keys_;
    std::vector<TreeNode*> direct_;
    std::size_t directReserve_ = 0;
    std::uint64_t nextKey_ = 1;

    std::vector<QString> images_;
    QHash<QString, std::uint32_t> imageIds_;

    std::vector<PasswordTreeObserver*> observers_;
};

} // namespace keyholm
