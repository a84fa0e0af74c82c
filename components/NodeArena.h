#pragma once
// The memory of one tree's nodes and of the texts and child arrays a load
// lays out. Nodes are carved out of chunks aligned on their size whose header
// names the tree, so that a node finds its tree without spending a pointer on
// it; freed nodes wait in a list for the next one. Load blocks are freed all
// together, with the arena.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace keyholm {

class PasswordTree;
class TreeNode;

class NodeArena {
public:
    static constexpr std::size_t ChunkBytes = 64 * 1024;

    explicit NodeArena(PasswordTree* owner)
        : owner_(owner)
    {
    }
    ~NodeArena() { ReleaseAll(); }
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;

    // The tree whose arena holds the node.
    static PasswordTree& TreeOf(const TreeNode* node)
    {
        const auto base = reinterpret_cast<std::uintptr_t>(node) & ~std::uintptr_t(ChunkBytes - 1);
        return **reinterpret_cast<PasswordTree* const*>(base);
    }

    TreeNode* NewNode();
    // Destroys the node and keeps its place for the next one.
    void FreeNode(TreeNode* node);
    // Bytes aligned on 4 that live until ReleaseAll.
    char* Allocate(std::size_t bytes);
    // A block of `bytes` from malloc, wiped and freed with the arena.
    void Keep(void* block, std::size_t bytes);
    // Frees every chunk and block; the nodes must have been destroyed.
    void ReleaseAll();
    // Exchanges the contents; each arena's chunks then name its own tree.
    void Swap(NodeArena& other);

private:
    void AdoptChunks();

    PasswordTree* owner_;
    std::vector<void*> chunks_;
    std::size_t chunkSlotsUsed_ = 0;
    TreeNode* freeNodes_ = nullptr;
    std::vector<std::pair<void*, std::size_t>> blocks_;
    std::size_t blockLeft_ = 0;
    char* blockNext_ = nullptr;
};

} // namespace keyholm
