#include "components/PackedText.h"

#include <sodium.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace keyholm {
namespace {
bool FitsLatin1(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() > 0xff)
            return false;
    }
    return true;
}
} // namespace

void PackedText::Assign(QStringView text)
{
    // Built aside first: the text may be a view of this very value.
    PackedText packed;
    // The block header holds 31 bits of length.
    const qsizetype size = std::min<qsizetype>(text.size(), MaxSize);
    if (size > 0) {
        const bool latin1 = FitsLatin1(text);
        if (latin1 && size <= InlineCapacity) {
            packed.bits_ = InlineBit | (std::uint64_t(size) << 1);
            char* out = reinterpret_cast<char*>(&packed.bits_) + 1;
            for (qsizetype i = 0; i < size; ++i)
                out[i] = char(text[i].unicode());
        } else {
            const std::size_t unitBytes = latin1 ? 1 : 2;
            char* block = static_cast<char*>(std::malloc(BlockHeader + std::size_t(size) * unitBytes));
            if (!block)
                throw std::bad_alloc();
            const std::uint32_t header = std::uint32_t(size) << 1 | (latin1 ? 0u : 1u);
            std::memcpy(block, &header, sizeof header);
            if (latin1) {
                for (qsizetype i = 0; i < size; ++i)
                    block[BlockHeader + std::size_t(i)] = char(text[i].unicode());
            } else {
                std::memcpy(block + BlockHeader, text.utf16(), std::size_t(size) * 2);
            }
            packed.bits_ = reinterpret_cast<std::uintptr_t>(block);
        }
    }
    *this = std::move(packed);
}

void PackedText::Release()
{
    if (bits_ != 0 && !(bits_ & (InlineBit | BorrowedBit))) {
        // Texts hold titles, notes and addresses: nothing is freed unwiped.
        char* block = const_cast<char*>(Block());
        std::uint32_t header;
        std::memcpy(&header, block, sizeof header);
        sodium_memzero(block, BlockHeader + std::size_t(header >> 1) * ((header & 1u) ? 2 : 1));
        std::free(block);
    }
}

} // namespace keyholm
