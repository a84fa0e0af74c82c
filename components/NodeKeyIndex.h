#pragma once
// Finds nodes by key in constant time. Keys made by NewKey ("k" and a base-36
// number) are found by their number in a direct table while numbers stay
// near the key count; other keys go to a hash table with linear probing.
// That table hashes with SipHash under a key drawn once per process, so that
// keys crafted into a file cannot pile up on one slot and make a load
// quadratic. A byte of each slot's hash sits beside it, so that probing
// rarely reads a node.
//
// Node is any type with `const PackedText& KeyData() const`. The index keeps
// pointers to the nodes and never owns them; empty keys are not indexed.

#include "components/PackedText.h"

#include <QString>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace keyholm {

namespace keyindex {
// Keyed hash of the code units: Latin-1 and UTF-16 forms of a text agree.
std::uint64_t Hash(QStringView key);
std::uint64_t Hash(QLatin1StringView key);
inline std::uint64_t Hash(const PackedText& key)
{
    return key.Visit([](auto v) { return Hash(v); });
}

// The number of a key NewKey makes: "k" and a base-36 number without leading
// zero, so that numbers and keys match one to one. 0 for any other key.
// Inline: every lookup asks it first.
template <class View> std::uint64_t GeneratedNumber(View v)
{
    if (v.size() < 2 || v.size() > 13 || CodeUnit(v, 0) != u'k' || CodeUnit(v, 1) == u'0')
        return 0;
    std::uint64_t n = 0;
    for (qsizetype i = 1; i < v.size(); ++i) {
        const char16_t c = CodeUnit(v, i);
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
inline std::uint64_t GeneratedNumber(const PackedText& key)
{
    return key.Visit([](auto v) { return GeneratedNumber(v); });
}
// The key of a number (not 0).
[[nodiscard]] QString GeneratedKey(std::uint64_t number);

template <class A, class B> bool SameUnits(A a, B b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (CodeUnit(a, i) != CodeUnit(b, i))
            return false;
    }
    return true;
}
} // namespace keyindex

template <class Node> class NodeKeyIndex {
public:
    // Null for an empty or unknown key.
    Node* Find(QStringView key) const
    {
        if (key.isEmpty())
            return nullptr;
        const std::uint64_t number = keyindex::GeneratedNumber(key);
        if (number && number < direct_.size() && direct_[number])
            return direct_[number];
        if (number > largestHashedNumber_)
            return nullptr;
        const std::size_t slot = HashedSlot(key);
        return slot == NoSlot ? nullptr : slots_[slot];
    }

    // Indexes the node under its key; false when another node has the key.
    [[nodiscard]] bool Insert(Node* node)
    {
        const PackedText& key = node->KeyData();
        if (key.IsEmpty())
            return true;
        const std::uint64_t number = keyindex::GeneratedNumber(key);
        // A number too large for the table now may have gone to it before.
        if (number && number < direct_.size() && direct_[number])
            return false;
        if (Direct(number)) {
            // An earlier, larger number may have gone to the hash.
            if (number <= largestHashedNumber_ && key.Visit([&](auto v) { return HashedSlot(v) != NoSlot; }))
                return false;
            if (number >= direct_.size())
                direct_.resize(std::size_t(number) + 1, nullptr);
            direct_[number] = node;
            ++directCount_;
        } else if (InsertHashed(node)) {
            largestHashedNumber_ = std::max(largestHashedNumber_, number);
        } else {
            return false;
        }
        nextKey_ = std::max(nextKey_, number + 1);
        return true;
    }

    // Forgets the node, if indexed.
    void Erase(const Node* node)
    {
        const PackedText& key = node->KeyData();
        if (key.IsEmpty())
            return;
        const std::uint64_t number = keyindex::GeneratedNumber(key);
        if (number && number < direct_.size() && direct_[number] == node) {
            direct_[number] = nullptr;
            --directCount_;
            return;
        }
        if (slots_.empty())
            return;
        const std::uint64_t hash = keyindex::Hash(key);
        const std::uint8_t tag = TagOf(hash);
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = std::size_t(hash) & mask;
        while (tags_[i] && !(tags_[i] == tag && slots_[i] == node))
            i = (i + 1) & mask;
        if (!tags_[i])
            return;
        // Backward shift deletion keeps every probe chain unbroken.
        std::size_t j = i;
        for (;;) {
            j = (j + 1) & mask;
            if (!tags_[j])
                break;
            const std::size_t home = std::size_t(keyindex::Hash(slots_[j]->KeyData())) & mask;
            const bool between = i <= j ? (home > i && home <= j) : (home > i || home <= j);
            if (!between) {
                slots_[i] = slots_[j];
                tags_[i] = tags_[j];
                i = j;
            }
        }
        slots_[i] = nullptr;
        tags_[i] = 0;
        --hashed_;
    }

    // A short key that no indexed node has; each call gives a new one.
    [[nodiscard]] QString NewKey()
    {
        for (;;) {
            QString key = keyindex::GeneratedKey(nextKey_++);
            if (!Find(key))
                return key;
        }
    }

    // Sizes the direct table for that many keys to come (a load).
    void Reserve(std::size_t keys)
    {
        reserve_ = keys;
        direct_.reserve(keys + 1);
    }

    std::size_t Count() const { return directCount_ + hashed_; }

private:
    static constexpr std::size_t NoSlot = std::size_t(-1);
    static constexpr std::size_t MinSlots = 16;

    static std::uint8_t TagOf(std::uint64_t hash) { return std::uint8_t(0x80 | (hash >> 57)); }

    bool Direct(std::uint64_t number) const { return number != 0 && number < 4 * std::max(Count(), reserve_) + 4096; }

    template <class View> std::size_t HashedSlot(View key) const
    {
        if (hashed_ == 0)
            return NoSlot;
        const std::uint64_t hash = keyindex::Hash(key);
        const std::uint8_t tag = TagOf(hash);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = std::size_t(hash) & mask; tags_[i]; i = (i + 1) & mask) {
            if (tags_[i] == tag && slots_[i]->KeyData().Visit([key](auto v) { return keyindex::SameUnits(v, key); }))
                return i;
        }
        return NoSlot;
    }

    bool InsertHashed(Node* node)
    {
        // Linear probing stays short below three quarters full.
        if ((hashed_ + 1) * 4 > slots_.size() * 3)
            Grow();
        const PackedText& key = node->KeyData();
        const std::uint64_t hash = keyindex::Hash(key);
        const std::uint8_t tag = TagOf(hash);
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = std::size_t(hash) & mask;
        for (; tags_[i]; i = (i + 1) & mask) {
            if (tags_[i] == tag && key.Visit([&](auto a) {
                    return slots_[i]->KeyData().Visit([a](auto b) { return keyindex::SameUnits(a, b); });
                }))
                return false;
        }
        slots_[i] = node;
        tags_[i] = tag;
        ++hashed_;
        return true;
    }

    void Grow()
    {
        const std::vector<Node*> old = std::move(slots_);
        const std::size_t size = std::max(MinSlots, old.size() * 2);
        slots_.assign(size, nullptr);
        tags_.assign(size, 0);
        const std::size_t mask = size - 1;
        for (Node* n : old) {
            if (!n)
                continue;
            const std::uint64_t hash = keyindex::Hash(n->KeyData());
            std::size_t i = std::size_t(hash) & mask;
            while (tags_[i])
                i = (i + 1) & mask;
            slots_[i] = n;
            tags_[i] = TagOf(hash);
        }
    }

    std::vector<Node*> slots_;
    std::vector<std::uint8_t> tags_; // 0: free
    std::size_t hashed_ = 0;
    std::vector<Node*> direct_;
    std::size_t directCount_ = 0;
    std::size_t reserve_ = 0;
    // Made keys above it are never in the hash: their lookups skip it.
    std::uint64_t largestHashedNumber_ = 0;
    std::uint64_t nextKey_ = 1;
};

} // namespace keyholm
