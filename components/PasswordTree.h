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

#include "components/NodeArena.h"
#include "components/NodeKeyIndex.h"
#include "components/PackedText.h"
#include "components/PasswordTreeObserver.h"
#include "components/TreeNode.h"

#include <QHash>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace keyholm {

extern template class NodeKeyIndex<TreeNode>;

class PasswordTree {
public:
    class Loader;

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
    TreeNode* FindKey(QStringView key) const { return keys_.Find(key); }

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
    [[nodiscard]] QString NewKey() { return keys_.NewKey(); }
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

    // Image keys in use are numbered from 1 (TreeNode::ImageId); 0 stands
    // for no image and has the empty key.
    std::uint32_t ImageCount() const { return std::uint32_t(images_.size()); }
    const QString& ImageKey(std::uint32_t id) const { return images_[id]; }
    // Nothing for a key that no node of the tree has ever had.
    std::optional<std::uint32_t> FindImageId(const QString& key) const;

    // An observer must not add or remove observers while it is told.
    void AddObserver(PasswordTreeObserver* observer);
    void RemoveObserver(PasswordTreeObserver* observer);

    // Order of sorted children: negative, zero or positive.
    static int CompareTexts(const PackedText& a, const PackedText& b);

private:
    friend class TreeNode;

    using Observers = std::vector<PasswordTreeObserver*>;

    void StartEmpty();
    void ReleaseAll();

    // Structure
    void InsertChild(TreeNode* parent, TreeNode* child, std::uint32_t row);
    void DetachChild(TreeNode* child);
    static void DropChildArray(TreeNode* node);
    // Frees the detached subtrees below these nodes, the nodes included.
    void FreeSubtrees(std::vector<TreeNode*> pending);
    void LayOutChildren();
    std::uint32_t SortedRow(const TreeNode* parent, const PackedText& text, const TreeNode* exclude) const;
    void Reposition(TreeNode* node);
    void SortChildren(TreeNode* parent, bool notify);
    void Compact() const;
    void Append(TreeNode* node);
    TreeNode* Outer(TreeNode* parent) const { return parent == sentinel_ ? nullptr : parent; }

    std::uint32_t ImageId(const QString& key);

    // Notifications
    template <class... Params, class... Args>
    static void Notify(const Observers& observers, void (PasswordTreeObserver::*event)(Params...), Args... args)
    {
        for (PasswordTreeObserver* o : observers)
            (o->*event)(args...);
    }
    template <class... Params, class... Args>
    void Notify(void (PasswordTreeObserver::*event)(Params...), Args... args) const
    {
        Notify(observers_, event, args...);
    }
    void AboutToChange(TreeNode* node, unsigned changes)
    {
        Notify(&PasswordTreeObserver::NodeAboutToChange, node, changes);
    }
    void Changed(TreeNode* node, unsigned changes) { Notify(&PasswordTreeObserver::NodeChanged, node, changes); }

    NodeArena arena_ { this };
    TreeNode* sentinel_ = nullptr;
    mutable std::vector<TreeNode*> nodes_;
    mutable std::size_t dirtyFrom_;
    std::size_t liveCount_ = 0;
    NodeKeyIndex<TreeNode> keys_;

    std::vector<QString> images_;
    QHash<QString, std::uint32_t> imageIds_;

    Observers observers_;
};

// Builds a tree from records given parents first, as a load does, telling no
// one; Finish then exchanges it with the target's contents at once. Until
// then the target is untouched: a loader dropped on a failure leaves it as
// it was.
class PasswordTree::Loader {
public:
    // A text as it lies in a buffer: one byte a unit (Latin-1) or two
    // (UTF-16LE).
    struct Text {
        const char* units = nullptr;
        std::uint32_t size = 0;
        bool wide = false;
    };
    struct Record {
        // 0 for a top-level node, else the number (from 1) of an earlier
        // record.
        std::uint32_t parent = 0;
        // Ids that AddImage gave.
        std::uint32_t image = 0;
        std::uint32_t selectedImage = 0;
        bool sorted = false;
        bool expanded = false;
        // The tag is the text (see TreeNode::TagIsText); `tag` is not read.
        bool tagIsText = false;
        // 0x00BBGGRR, or -1 for none.
        qint32 backColor = -1;
        Text key;
        Text text;
        Text tag;
    };

    explicit Loader(PasswordTree& target)
        : target_(target)
    {
    }

    // The id records give for this image key.
    [[nodiscard]] std::uint32_t AddImage(const QString& key) { return tree_.ImageId(key); }
    // Room for that many records.
    void Reserve(std::size_t records);
    // False for a parent not added yet, an unknown image id or a key that
    // another node has: the load must then be given up.
    [[nodiscard]] bool Add(const Record& record);
    // Puts every child at its row, sorted parents' children in order, and
    // exchanges the result with the target's contents; once only.
    void Finish();

private:
    PackedText Store(const Text& text);

    PasswordTree& target_;
    PasswordTree tree_;
};

} // namespace keyholm
