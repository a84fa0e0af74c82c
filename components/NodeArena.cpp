#include "components/NodeArena.h"

#include "components/TreeNode.h"

#include <sodium.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace keyholm {
namespace {
// The first slot of a chunk holds its header: the owning tree.
constexpr std::size_t SlotsPerChunk = NodeArena::ChunkBytes / sizeof(TreeNode) - 1;
constexpr std::size_t BlockBytes = 256 * 1024;
static_assert(sizeof(PasswordTree*) <= sizeof(TreeNode));
} // namespace

TreeNode* NodeArena::NewNode()
{
    void* slot;
    if (freeNodes_) {
        slot = freeNodes_;
        std::memcpy(&freeNodes_, slot, sizeof freeNodes_);
    } else {
        if (chunks_.empty() || chunkSlotsUsed_ == SlotsPerChunk) {
            void* chunk = std::aligned_alloc(ChunkBytes, ChunkBytes);
            if (!chunk)
                throw std::bad_alloc();
            *static_cast<PasswordTree**>(chunk) = owner_;
            chunks_.push_back(chunk);
            chunkSlotsUsed_ = 0;
        }
        slot = static_cast<char*>(chunks_.back()) + sizeof(TreeNode) * (1 + chunkSlotsUsed_++);
    }
    return new (slot) TreeNode();
}

void NodeArena::FreeNode(TreeNode* node)
{
    node->~TreeNode();
    sodium_memzero(static_cast<void*>(node), sizeof(TreeNode));
    std::memcpy(static_cast<void*>(node), &freeNodes_, sizeof freeNodes_);
    freeNodes_ = node;
}

char* NodeArena::Allocate(std::size_t bytes)
{
    bytes = (bytes + 3) & ~std::size_t(3);
    if (bytes > blockLeft_) {
        const std::size_t size = std::max(BlockBytes, bytes);
        char* block = static_cast<char*>(std::malloc(size));
        if (!block)
            throw std::bad_alloc();
        blocks_.emplace_back(block, size);
        blockNext_ = block;
        blockLeft_ = size;
    }
    char* out = blockNext_;
    blockNext_ += bytes;
    blockLeft_ -= bytes;
    return out;
}

void NodeArena::Keep(void* block, std::size_t bytes)
{
    blocks_.emplace_back(block, bytes);
}

void NodeArena::ReleaseAll()
{
    // The tree's texts live here: freed memory keeps none of them.
    for (void* chunk : chunks_) {
        sodium_memzero(chunk, ChunkBytes);
        std::free(chunk);
    }
    for (const auto& [block, bytes] : blocks_) {
        sodium_memzero(block, bytes);
        std::free(block);
    }
    chunks_.clear();
    chunkSlotsUsed_ = 0;
    freeNodes_ = nullptr;
    blocks_.clear();
    blockLeft_ = 0;
    blockNext_ = nullptr;
}

void NodeArena::Swap(NodeArena& other)
{
    std::swap(chunks_, other.chunks_);
    std::swap(chunkSlotsUsed_, other.chunkSlotsUsed_);
    std::swap(freeNodes_, other.freeNodes_);
    std::swap(blocks_, other.blocks_);
    std::swap(blockLeft_, other.blockLeft_);
    std::swap(blockNext_, other.blockNext_);
    AdoptChunks();
    other.AdoptChunks();
}

void NodeArena::AdoptChunks()
{
    for (void* chunk : chunks_)
        *static_cast<PasswordTree**>(chunk) = owner_;
}

} // namespace keyholm
