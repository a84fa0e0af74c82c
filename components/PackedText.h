#pragma once
// A node text in eight bytes. A database holds millions of short texts, so
// they are kept as compactly as the text allows: up to seven Latin-1
// characters inline; longer texts in one block holding the length and the
// code units, one byte each when every character is Latin-1, UTF-16
// otherwise. A block is either owned (freed with the text) or borrowed from
// the arena a tree fills while loading (freed with the tree).

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <cstring>
#include <utility>

namespace keyholm {

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "PackedText keeps its inline flag in the lowest byte");

class PackedText {
public:
    // Blocks start with this header: length << 1 | wide flag.
    static constexpr std::size_t BlockHeader = 4;
    static constexpr qsizetype InlineCapacity = 7;
    static constexpr qsizetype MaxSize = 0x7fffffff;

    PackedText() = default;
    explicit PackedText(QStringView text) { Assign(text); }
    ~PackedText() { Release(); }
    PackedText(const PackedText&) = delete;
    PackedText& operator=(const PackedText&) = delete;
    PackedText(PackedText&& other) noexcept
        : bits_(std::exchange(other.bits_, 0))
    {
    }
    PackedText& operator=(PackedText&& other) noexcept
    {
        if (this != &other) {
            Release();
            bits_ = std::exchange(other.bits_, 0);
        }
        return *this;
    }

    // Copies the text into owned storage.
    void Assign(QStringView text);
    void Clear()
    {
        Release();
        bits_ = 0;
    }

    // A text over a block laid out as BlockHeader + units, which the caller
    // keeps alive (the load arena).
    static PackedText Borrow(const void* block)
    {
        PackedText t;
        t.bits_ = reinterpret_cast<std::uintptr_t>(block) | BorrowedBit;
        return t;
    }
    // Short Latin-1 text stored inline; size must not exceed InlineCapacity.
    static PackedText InlineLatin1(const char* data, qsizetype size)
    {
        PackedText t;
        if (size > 0) {
            t.bits_ = InlineBit | (std::uint64_t(size) << 1);
            std::memcpy(reinterpret_cast<char*>(&t.bits_) + 1, data, std::size_t(size));
        }
        return t;
    }

    bool IsEmpty() const { return bits_ == 0; }
    bool IsWide() const { return !IsInline() && bits_ != 0 && (Header() & 1u); }
    qsizetype Size() const
    {
        if (bits_ == 0)
            return 0;
        if (IsInline())
            return qsizetype((bits_ >> 1) & 7u);
        return qsizetype(Header() >> 1);
    }
    // Valid when !IsWide().
    QLatin1StringView Latin1() const
    {
        if (IsInline())
            return QLatin1StringView(reinterpret_cast<const char*>(&bits_) + 1, Size());
        if (bits_ == 0)
            return QLatin1StringView();
        return QLatin1StringView(Data(), Size());
    }
    // Valid when IsWide().
    QStringView Utf16() const { return QStringView(reinterpret_cast<const char16_t*>(Data()), Size()); }

    // Calls f with a QLatin1StringView or a QStringView of the text.
    template <class F> decltype(auto) Visit(F&& f) const
    {
        if (IsWide())
            return f(Utf16());
        return f(Latin1());
    }

    QString ToString() const
    {
        return Visit([](auto view) { return view.toString(); });
    }
    bool Equals(QStringView text) const
    {
        return Visit([text](auto view) { return text == view; });
    }
    // Code unit at position i (no range check).
    char16_t At(qsizetype i) const { return IsWide() ? Utf16()[i].unicode() : char16_t(uchar(Latin1()[i].toLatin1())); }

private:
    static constexpr std::uint64_t InlineBit = 1;
    static constexpr std::uint64_t BorrowedBit = 2;

    bool IsInline() const { return bits_ & InlineBit; }
    const char* Block() const { return reinterpret_cast<const char*>(std::uintptr_t(bits_ & ~std::uint64_t(3))); }
    std::uint32_t Header() const
    {
        std::uint32_t h;
        std::memcpy(&h, Block(), sizeof h);
        return h;
    }
    const char* Data() const { return Block() + BlockHeader; }
    void Release();

    std::uint64_t bits_ = 0;
};

static_assert(sizeof(PackedText) == 8);

// Code unit i of either view a PackedText gives, so that code written once
// over Visit reads Latin-1 and UTF-16 texts alike.
inline char16_t CodeUnit(QLatin1StringView v, qsizetype i)
{
    return char16_t(uchar(v.data()[i]));
}
inline char16_t CodeUnit(QStringView v, qsizetype i)
{
    return v.utf16()[i];
}

} // namespace keyholm
