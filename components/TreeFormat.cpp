// The tree buffer: SaveTree and LoadTree (layout in TreeStore.h).

#include "components/TreeStore.h"

#include <QFile>
#include <QSaveFile>

#include <sodium.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace keyholm {
namespace {
constexpr char Magic[6] = { 'K', 'H', 'T', 'R', 'E', 'E' };
// parent, flags, image, selected image, key, text, tag: one byte at least.
constexpr std::size_t MinRecordBytes = 7;

// The most records that bytes can hold. Loading caps the node count with it
// before reserving anything, so that the memory a buffer costs stays
// proportional to its size: a node costs a bounded number of bytes (the
// node, its slots in the collection, the child arrays and the key tables:
// some 150 at worst), about 20 times its smallest record.
constexpr std::size_t MaxRecords(std::size_t bytes)
{
    return bytes / MinRecordBytes;
}

enum RecordFlag : std::uint8_t {
    SortedFlag = 1,
    ExpandedFlag = 2,
    ColorFlag = 4,
    TagIsTextFlag = 8,
    KnownFlags = 15,
};

class Writer {
public:
    explicit Writer(std::size_t estimate) { buffer_.resize(qsizetype(std::max<std::size_t>(estimate, 64))); }

    void Ensure(std::size_t bytes)
    {
        if (used_ + bytes <= std::size_t(buffer_.size()))
            return;
        // The buffer holds the plain tree: a grown copy must not leave the
        // old one behind in freed memory.
        QByteArray grown(qsizetype(std::max(used_ + bytes, std::size_t(buffer_.size()) * 2)), Qt::Uninitialized);
        std::memcpy(grown.data(), buffer_.constData(), used_);
        sodium_memzero(buffer_.data(), std::size_t(buffer_.size()));
        buffer_.swap(grown);
    }
    void Byte(std::uint8_t b)
    {
        Ensure(1);
        buffer_.data()[used_++] = char(b);
    }
    void Bytes(const void* data, std::size_t size)
    {
        if (size == 0)
            return;
        Ensure(size);
        std::memcpy(buffer_.data() + used_, data, size);
        used_ += size;
    }
    void Varint(std::uint32_t v)
    {
        Ensure(5);
        char* out = buffer_.data() + used_;
        while (v >= 0x80) {
            *out++ = char((v & 0x7f) | 0x80);
            v >>= 7;
        }
        *out++ = char(v);
        used_ = std::size_t(out - buffer_.data());
    }
    void Text(const PackedText& text)
    {
        const auto size = std::uint32_t(text.Size());
        if (text.IsWide()) {
            Varint(size << 1 | 1u);
            Bytes(text.Utf16().utf16(), std::size_t(size) * 2);
        } else {
            Varint(size << 1);
            Bytes(text.Latin1().data(), size);
        }
    }
    [[nodiscard]] QByteArray Finish()
    {
        sodium_memzero(buffer_.data() + used_, std::size_t(buffer_.size()) - used_);
        buffer_.resize(qsizetype(used_));
        return std::move(buffer_);
    }

private:
    QByteArray buffer_;
    std::size_t used_ = 0;
};

class Reader {
public:
    Reader(const char* data, std::size_t size)
        : p_(data)
        , end_(data + size)
    {
    }

    std::size_t Left() const { return std::size_t(end_ - p_); }
    [[nodiscard]] bool Byte(std::uint8_t& b)
    {
        if (p_ == end_)
            return false;
        b = std::uint8_t(*p_++);
        return true;
    }
    [[nodiscard]] bool Varint(std::uint32_t& v)
    {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            std::uint8_t b;
            if (!Byte(b))
                return false;
            value |= std::uint64_t(b & 0x7f) << shift;
            if (!(b & 0x80)) {
                if (value > 0xffffffffull)
                    return false;
                v = std::uint32_t(value);
                return true;
            }
        }
        return false;
    }
    // The header of a text and the place of its units.
    [[nodiscard]] bool TextUnits(PasswordTree::Loader::Text& text)
    {
        std::uint32_t header;
        if (!Varint(header))
            return false;
        text.size = header >> 1;
        text.wide = header & 1u;
        const std::size_t bytes = std::size_t(text.size) * (text.wide ? 2 : 1);
        if (bytes > Left())
            return false;
        text.units = p_;
        p_ += bytes;
        return true;
    }
    [[nodiscard]] bool Skip(const void* expected, std::size_t size)
    {
        if (Left() < size || std::memcmp(p_, expected, size) != 0)
            return false;
        p_ += size;
        return true;
    }
    [[nodiscard]] bool Uint16(std::uint16_t& v)
    {
        std::uint8_t lo, hi;
        if (!Byte(lo) || !Byte(hi))
            return false;
        v = std::uint16_t(lo | hi << 8);
        return true;
    }

private:
    const char* p_;
    const char* end_;
};

QString UnitsToString(std::uint32_t size, bool wide, const char* units)
{
    if (!wide)
        return QString::fromLatin1(units, qsizetype(size));
    QString s(qsizetype(size), Qt::Uninitialized);
    std::memcpy(s.data(), units, std::size_t(size) * 2);
    return s;
}
} // namespace

QByteArray TreeStore::SaveTree(const PasswordTree& tree) const
{
    // Only the image keys in use are written, numbered from 1.
    std::vector<std::uint32_t> fileImage(tree.ImageCount(), 0);
    std::vector<std::uint32_t> order;
    auto use = [&](std::uint32_t id) {
        if (id != 0 && fileImage[id] == 0) {
            order.push_back(id);
            fileImage[id] = std::uint32_t(order.size());
        }
    };
    // In display order, so that the same tree always gives the same bytes.
    for (const TreeNode* n = tree.TopLevel(0); n; n = tree.Next(n)) {
        use(n->ImageId());
        use(n->SelectedImageId());
    }

    Writer out(std::size_t(tree.Count()) * 48 + 64);
    out.Bytes(Magic, sizeof Magic);
    out.Byte(std::uint8_t(FormatVersion & 0xff));
    out.Byte(std::uint8_t(FormatVersion >> 8));
    out.Varint(std::uint32_t(order.size()));
    for (std::uint32_t id : order)
        out.Text(PackedText(tree.ImageKey(id)));

    out.Varint(std::uint32_t(tree.Count()));
    // The node written last and its ancestors, with their record numbers:
    // in display order a node's parent is always among them.
    std::vector<std::pair<const TreeNode*, std::uint32_t>> path;
    std::uint32_t record = 0;
    for (const TreeNode* n = tree.TopLevel(0); n; n = tree.Next(n)) {
        ++record;
        const TreeNode* parent = n->Parent();
        while (!path.empty() && path.back().first != parent)
            path.pop_back();
        out.Varint(parent ? record - path.back().second : 0);
        path.emplace_back(n, record);
        const qint32 color = n->BackColor();
        std::uint8_t flags = 0;
        if (n->Sorted())
            flags |= SortedFlag;
        if (n->Expanded())
            flags |= ExpandedFlag;
        if (color >= 0)
            flags |= ColorFlag;
        if (n->TagIsText())
            flags |= TagIsTextFlag;
        out.Byte(flags);
        out.Varint(fileImage[n->ImageId()]);
        out.Varint(fileImage[n->SelectedImageId()]);
        out.Text(n->KeyData());
        out.Text(n->TextData());
        if (!n->TagIsText())
            out.Text(n->TagData());
        if (flags & ColorFlag) {
            const auto bgr = std::uint32_t(color);
            const std::uint8_t c[3] = { std::uint8_t(bgr), std::uint8_t(bgr >> 8), std::uint8_t(bgr >> 16) };
            out.Bytes(c, 3);
        }
    }
    return out.Finish();
}

bool TreeStore::LoadTree(PasswordTree& tree, const QByteArray& buffer) const
{
    Reader in(buffer.constData(), std::size_t(buffer.size()));
    std::uint16_t version;
    if (!in.Skip(Magic, sizeof Magic) || !in.Uint16(version) || version != FormatVersion)
        return false;

    PasswordTree::Loader loader(tree);
    std::uint32_t imageCount;
    if (!in.Varint(imageCount) || imageCount > in.Left())
        return false;
    std::vector<std::uint32_t> imageId(std::size_t(imageCount) + 1, 0);
    for (std::uint32_t i = 1; i <= imageCount; ++i) {
        PasswordTree::Loader::Text key;
        if (!in.TextUnits(key))
            return false;
        imageId[i] = loader.AddImage(UnitsToString(key.size, key.wide, key.units));
    }

    std::uint32_t nodeCount;
    if (!in.Varint(nodeCount) || nodeCount > MaxRecords(in.Left()))
        return false;
    loader.Reserve(nodeCount);

    for (std::uint32_t i = 0; i < nodeCount; ++i) {
        PasswordTree::Loader::Record r;
        std::uint32_t parentBack, image, selected;
        std::uint8_t flags;
        if (!in.Varint(parentBack) || parentBack > i || !in.Byte(flags) || (flags & ~KnownFlags) || !in.Varint(image)
            || image > imageCount || !in.Varint(selected) || selected > imageCount)
            return false;
        r.parent = parentBack == 0 ? 0 : i + 1 - parentBack;
        r.image = imageId[image];
        r.selectedImage = imageId[selected];
        r.sorted = flags & SortedFlag;
        r.expanded = flags & ExpandedFlag;
        r.tagIsText = flags & TagIsTextFlag;
        if (!in.TextUnits(r.key) || !in.TextUnits(r.text) || (!r.tagIsText && !in.TextUnits(r.tag)))
            return false;
        if (flags & ColorFlag) {
            std::uint8_t red, green, blue;
            if (!in.Byte(red) || !in.Byte(green) || !in.Byte(blue))
                return false;
            r.backColor = qint32(std::uint32_t(blue) << 16 | std::uint32_t(green) << 8 | red);
        }
        if (!loader.Add(r))
            return false;
    }
    if (in.Left() != 0)
        return false;
    loader.Finish();
    return true;
}

bool TreeStore::SaveTree(const PasswordTree& tree, const QString& path) const
{
    const QByteArray buffer = SaveTree(tree);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(buffer) != buffer.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool TreeStore::LoadTree(PasswordTree& tree, const QString& path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return LoadTree(tree, file.readAll());
}

} // namespace keyholm
