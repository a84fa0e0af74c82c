#include "components/TreeStore.h"

#include "components/PasswordTreeObserver.h"

#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>

namespace keyholm {
namespace {
constexpr char Magic[6] = { 'K', 'H', 'T', 'R', 'E', 'E' };
constexpr std::size_t HeaderBytes = sizeof Magic + 2;
// parent, flags, image, selected image, key, text, tag: one byte at least.
constexpr std::size_t MinRecordBytes = 7;

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
        if (used_ + bytes > std::size_t(buffer_.size()))
            buffer_.resize(qsizetype(std::max(used_ + bytes, std::size_t(buffer_.size()) * 2)));
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
    QByteArray Finish()
    {
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
    bool Byte(std::uint8_t& b)
    {
        if (p_ == end_)
            return false;
        b = std::uint8_t(*p_++);
        return true;
    }
    bool Varint(std::uint32_t& v)
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
    bool TextUnits(std::uint32_t& size, bool& wide, const char*& units)
    {
        std::uint32_t header;
        if (!Varint(header))
            return false;
        size = header >> 1;
        wide = header & 1u;
        const std::size_t bytes = std::size_t(size) * (wide ? 2 : 1);
        if (bytes > Left())
            return false;
        units = p_;
        p_ += bytes;
        return true;
    }
    bool Skip(const void* expected, std::size_t size)
    {
        if (Left() < size || std::memcmp(p_, expected, size) != 0)
            return false;
        p_ += size;
        return true;
    }
    bool Uint16(std::uint16_t& v)
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

// Finds a text inside node texts, prepared once for a whole search. Case
// folding is Unicode simple folding, as QString's; most texts are Latin-1
// and are searched without conversion.
class TextMatcher {
public:
    TextMatcher(const QString& needle, Qt::CaseSensitivity cs)
        : needle_(needle)
        , cs_(cs)
    {
        for (QChar c : needle) {
            const char16_t u = c.unicode();
            folded_.push_back(cs == Qt::CaseSensitive || c.isSurrogate() ? u : char16_t(QChar::toCaseFolded(u)));
        }
        for (int b = 0; b < 256; ++b)
            fold_[b] = cs == Qt::CaseSensitive ? char16_t(b) : char16_t(QChar::toCaseFolded(char32_t(b)));
        // A needle that no Latin-1 text can hold never matches one.
        latin1Possible_ = !folded_.empty();
        for (char16_t u : folded_) {
            if (std::find(std::begin(fold_), std::end(fold_), u) == std::end(fold_))
                latin1Possible_ = false;
        }
        if (latin1Possible_) {
            for (int b = 0; b < 256; ++b) {
                if (fold_[b] == folded_[0])
                    first_.push_back(char(b));
            }
        }
    }

    bool Matches(const PackedText& text) const
    {
        if (text.IsWide())
            return text.Utf16().contains(needle_, cs_);
        if (!latin1Possible_)
            return false;
        const QLatin1StringView v = text.Latin1();
        const auto* h = reinterpret_cast<const unsigned char*>(v.data());
        const std::size_t n = std::size_t(v.size());
        const std::size_t m = folded_.size();
        if (n < m)
            return false;
        const std::size_t last = n - m;
        for (std::size_t i = 0; i <= last;) {
            // The next place where the first character may match.
            std::size_t at = n;
            for (char c : first_) {
                if (const void* p = std::memchr(h + i, c, last + 1 - i))
                    at = std::min(at, std::size_t(static_cast<const unsigned char*>(p) - h));
            }
            if (at > last)
                return false;
            std::size_t j = 1;
            while (j < m && fold_[h[at + j]] == folded_[j])
                ++j;
            if (j == m)
                return true;
            i = at + 1;
        }
        return false;
    }

private:
    QString needle_;
    Qt::CaseSensitivity cs_;
    std::vector<char16_t> folded_;
    char16_t fold_[256];
    std::string first_;
    bool latin1Possible_ = false;
};

bool SameText(const PackedText& a, QStringView b, Qt::CaseSensitivity cs)
{
    return a.Visit([&](auto v) { return v.size() == b.size() && b.compare(v, cs) == 0; });
}

QStringList NoteLines(const QString& text)
{
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return normal.split(QLatin1Char('\n'));
}
} // namespace

// --- Buffer --------------------------------------------------------------------

QByteArray TreeStore::SaveTree(const PasswordTree& tree) const
{
    tree.Compact();
    const auto& nodes = tree.nodes_;

    // Only the image keys in use are written, numbered from 1.
    std::vector<std::uint32_t> fileImage(tree.images_.size(), 0);
    std::vector<std::uint32_t> order;
    auto use = [&](std::uint32_t id) {
        if (id != 0 && fileImage[id] == 0) {
            order.push_back(id);
            fileImage[id] = std::uint32_t(order.size());
        }
    };
    // In display order, so that the same tree always gives the same bytes.
    for (const TreeNode* n = tree.TopLevel(0); n; n = tree.Next(n)) {
        use(n->image_);
        use(n->selectedImage_);
    }

    Writer out(nodes.size() * 48 + 64);
    out.Bytes(Magic, sizeof Magic);
    out.Byte(std::uint8_t(FormatVersion & 0xff));
    out.Byte(std::uint8_t(FormatVersion >> 8));
    out.Varint(std::uint32_t(order.size()));
    for (std::uint32_t id : order) {
        const PackedText key(tree.images_[id]);
        out.Text(key);
    }

    out.Varint(std::uint32_t(nodes.size()));
    std::vector<std::uint32_t> recordOf(nodes.size(), 0);
    std::uint32_t record = 0;
    const TreeNode* n = tree.TopLevel(0);
    for (; n; n = tree.Next(n)) {
        ++record;
        recordOf[n->index_] = record;
        const TreeNode* parent = n->Parent();
        out.Varint(parent ? record - recordOf[parent->index_] : 0);
        std::uint8_t flags = 0;
        if (n->Sorted())
            flags |= SortedFlag;
        if (n->Expanded())
            flags |= ExpandedFlag;
        if (n->colorFlags_ & TreeNode::HasColorBit)
            flags |= ColorFlag;
        if (n->TagIsText())
            flags |= TagIsTextFlag;
        out.Byte(flags);
        out.Varint(fileImage[n->image_]);
        out.Varint(fileImage[n->selectedImage_]);
        out.Text(n->key_);
        out.Text(n->text_);
        if (!n->TagIsText())
            out.Text(n->tag_);
        if (flags & ColorFlag) {
            const std::uint32_t bgr = n->colorFlags_ & TreeNode::ColorMask;
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

    PasswordTree loaded;
    std::uint32_t imageCount;
    if (!in.Varint(imageCount) || imageCount > in.Left())
        return false;
    std::vector<std::uint32_t> imageId(std::size_t(imageCount) + 1, 0);
    for (std::uint32_t i = 1; i <= imageCount; ++i) {
        std::uint32_t size;
        bool wide;
        const char* units;
        if (!in.TextUnits(size, wide, units))
            return false;
        imageId[i] = loaded.ImageId(UnitsToString(size, wide, units));
    }

    std::uint32_t nodeCount;
    if (!in.Varint(nodeCount) || nodeCount > in.Left() / MinRecordBytes)
        return false;
    loaded.nodes_.reserve(nodeCount);
    loaded.directReserve_ = nodeCount;
    loaded.direct_.reserve(std::size_t(nodeCount) + 1);

    auto readText = [&](PackedText& target) {
        std::uint32_t size;
        bool wide;
        const char* units;
        if (!in.TextUnits(size, wide, units) || size > std::uint32_t(PackedText::MaxSize))
            return false;
        if (size == 0)
            return true;
        if (!wide && size <= PackedText::InlineCapacity) {
            target = PackedText::InlineLatin1(units, size);
            return true;
        }
        const std::size_t bytes = std::size_t(size) * (wide ? 2 : 1);
        char* block = loaded.ArenaAllocate(PackedText::BlockHeader + bytes);
        const std::uint32_t header = size << 1 | (wide ? 1u : 0u);
        std::memcpy(block, &header, sizeof header);
        std::memcpy(block + PackedText::BlockHeader, units, bytes);
        target = PackedText::Borrow(block);
        return true;
    };

    for (std::uint32_t i = 0; i < nodeCount; ++i) {
        std::uint32_t parentBack, image, selected;
        std::uint8_t flags;
        if (!in.Varint(parentBack) || parentBack > i || !in.Byte(flags) || (flags & ~KnownFlags) || !in.Varint(image)
            || image > imageCount || !in.Varint(selected) || selected > imageCount)
            return false;
        TreeNode* parent = parentBack == 0 ? loaded.sentinel_ : loaded.nodes_[i - parentBack];
        TreeNode* node = loaded.NewNode();
        // Appended at once, so that a failure below frees it with the tree.
        // Child arrays are laid out once every node is read.
        loaded.Append(node);
        node->parent_ = parent;
        ++parent->childCount_;
        if (!readText(node->key_) || !readText(node->text_))
            return false;
        if (flags & TagIsTextFlag)
            node->SetFlag(TreeNode::TagIsTextBit, true);
        else if (!readText(node->tag_))
            return false;
        node->image_ = imageId[image];
        node->selectedImage_ = imageId[selected];
        node->SetFlag(TreeNode::SortedBit, flags & SortedFlag);
        node->SetFlag(TreeNode::ExpandedBit, flags & ExpandedFlag);
        if (flags & ColorFlag) {
            std::uint8_t r, g, b;
            if (!in.Byte(r) || !in.Byte(g) || !in.Byte(b))
                return false;
            node->colorFlags_ |= TreeNode::HasColorBit | std::uint32_t(b) << 16 | std::uint32_t(g) << 8 | r;
        }
        if (!loaded.IndexKey(node))
            return false;
        loaded.NoteKey(node->key_);
    }
    if (in.Left() != 0)
        return false;

    loaded.LayOutChildren();
    // A sorted parent keeps its children in order whatever wrote the file.
    for (TreeNode* node : loaded.nodes_) {
        if (node->Sorted())
            loaded.SortChildren(node, false);
    }
    tree.Swap(loaded);
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

// --- Node work -----------------------------------------------------------------

QString TreeStore::AddNode(PasswordTree& tree, const QString& parentKey, const QString& text, const QString& image,
    const QString& tag, bool sorted, bool expanded) const
{
    TreeNode* parent = nullptr;
    if (!parentKey.isEmpty()) {
        parent = tree.FindKey(parentKey);
        if (!parent)
            return QString();
    }
    const QString key = tree.NewKey();
    TreeNode* node = tree.Add(parent, key, text, image, tag);
    if (!node)
        return QString();
    node->SetSorted(sorted);
    node->SetExpanded(expanded);
    return key;
}

int TreeStore::FindChild(const PasswordTree& tree, int parentIndex, const QString& image) const
{
    const TreeNode* parent = tree.NodeAt(parentIndex);
    const auto id = tree.imageIds_.constFind(image);
    if (!parent || id == tree.imageIds_.constEnd())
        return 0;
    for (const TreeNode* child : parent->Children()) {
        if (child->image_ == *id)
            return child->Index();
    }
    return 0;
}

int TreeStore::FindChildWithTag(
    const PasswordTree& tree, int parentIndex, const QString& image, const QString& tag) const
{
    const TreeNode* parent = tree.NodeAt(parentIndex);
    const auto id = tree.imageIds_.constFind(image);
    if (!parent || id == tree.imageIds_.constEnd())
        return 0;
    for (const TreeNode* child : parent->Children()) {
        if (child->image_ == *id && child->TagData().Equals(tag))
            return child->Index();
    }
    return 0;
}

QString TreeStore::FindNodeKey(const PasswordTree& tree, const QString& startKey, const QString& baseImage) const
{
    const TreeNode* start = tree.FindKey(startKey);
    if (!start || baseImage.isEmpty())
        return QString();
    const QString kinds[] = { baseImage, baseImage + QLatin1String("Not"), baseImage + QLatin1String("Key"),
        baseImage + QLatin1String("KeyNot") };
    std::vector<std::uint32_t> ids;
    for (const QString& kind : kinds) {
        const auto id = tree.imageIds_.constFind(kind);
        if (id != tree.imageIds_.constEnd())
            ids.push_back(*id);
    }
    if (ids.empty())
        return QString();
    // Level by level: a service node directly under the root wins over a
    // look-alike deeper down.
    std::deque<const TreeNode*> level(start->Children().begin(), start->Children().end());
    while (!level.empty()) {
        const TreeNode* n = level.front();
        level.pop_front();
        if (std::find(ids.begin(), ids.end(), n->image_) != ids.end())
            return n->Key();
        level.insert(level.end(), n->Children().begin(), n->Children().end());
    }
    return QString();
}

int TreeStore::CountNodes(
    const PasswordTree& tree, const TreeNode* node, const QString& imageText, bool partial, bool subtree) const
{
    if (!node || &node->Tree() != &tree)
        return 0;
    // Decided once per image key, not once per node.
    std::vector<char> match(tree.images_.size());
    for (std::size_t id = 0; id < match.size(); ++id) {
        const QString& image = tree.images_[id];
        match[id] = partial ? image.contains(imageText) : image == imageText;
    }
    int count = 0;
    if (!subtree) {
        for (const TreeNode* child : node->Children())
            count += match[child->image_];
        return count;
    }
    for (const TreeNode* n = tree.Next(node, node); n; n = tree.Next(n, node))
        count += match[n->image_];
    return count;
}

int TreeStore::ChildIndexByText(
    const PasswordTree& tree, const QString& parentKey, const QString& text, Qt::CaseSensitivity cs) const
{
    const TreeNode* parent = tree.FindKey(parentKey);
    if (!parent)
        return 0;
    for (const TreeNode* child : parent->Children()) {
        if (SameText(child->TextData(), text, cs))
            return child->Index();
    }
    return 0;
}

QString TreeStore::ChildKeyByText(
    const PasswordTree& tree, const QString& parentKey, const QString& text, Qt::CaseSensitivity cs) const
{
    const TreeNode* parent = tree.FindKey(parentKey);
    if (!parent)
        return QString();
    for (const TreeNode* child : parent->Children()) {
        if (SameText(child->TextData(), text, cs))
            return child->Key();
    }
    return QString();
}

QString TreeStore::ChildLabel(const PasswordTree& tree, const TreeNode* parent, const QString& label) const
{
    if (!parent || &parent->Tree() != &tree)
        return label;
    bool taken = false;
    for (const TreeNode* child : parent->Children()) {
        if (child->TextData().Equals(label)) {
            taken = true;
            break;
        }
    }
    if (!taken)
        return label;

    QString base = label;
    qint64 number = 2;
    static const QRegularExpression numbered(
        QStringLiteral("^(.*) \\((\\d{1,9})\\)$"), QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = numbered.match(label);
    if (m.hasMatch()) {
        base = m.captured(1);
        number = m.captured(2).toLongLong() + 1;
    }
    QSet<QString> texts;
    for (const TreeNode* child : parent->Children()) {
        if (child->TextData().Size() > base.size())
            texts.insert(child->Text());
    }
    for (;; ++number) {
        const QString candidate = base + QStringLiteral(" (") + QString::number(number) + QLatin1Char(')');
        if (!texts.contains(candidate))
            return candidate;
    }
}

bool TreeStore::DeleteNode(PasswordTree& tree, const QString& key) const
{
    return tree.Remove(tree.FindKey(key));
}

bool TreeStore::DeleteChildren(PasswordTree& tree, const QString& key) const
{
    TreeNode* node = tree.FindKey(key);
    if (!node)
        return false;
    tree.RemoveChildren(node);
    return true;
}

bool TreeStore::MoveNode(
    PasswordTree& tree, const QString& sourceKey, const QString& targetKey, const QString& text) const
{
    TreeNode* source = tree.FindKey(sourceKey);
    TreeNode* target = tree.FindKey(targetKey);
    if (!source || !target || !tree.Move(source, target))
        return false;
    if (!text.isEmpty())
        source->SetText(text);
    return true;
}

// --- Notes -----------------------------------------------------------------------

namespace {
const QString NoteImage = QStringLiteral("Note");
const QString QuoteImage = QStringLiteral("Quote");

TreeNode* NoteOf(const TreeNode* node)
{
    for (TreeNode* child : node->Children()) {
        if (child->Image() == NoteImage)
            return child;
    }
    return nullptr;
}
} // namespace

bool TreeStore::SaveNote(PasswordTree& tree, const QString& text, const QString& nodeKey) const
{
    TreeNode* node = tree.FindKey(nodeKey);
    if (!node)
        return false;
    TreeNode* note = NoteOf(node);
    if (text.isEmpty()) {
        if (note)
            tree.Remove(note);
        return true;
    }
    if (note)
        tree.RemoveChildren(note);
    else
        note = tree.Add(node, tree.NewKey(), NoteImage, NoteImage);
    for (const QString& line : NoteLines(text))
        tree.Add(note, tree.NewKey(), line, QuoteImage);
    return true;
}

QString TreeStore::LoadNote(const PasswordTree& tree, const QString& nodeKey) const
{
    const TreeNode* node = tree.FindKey(nodeKey);
    const TreeNode* note = node ? NoteOf(node) : nullptr;
    if (!note)
        return QString();
    QString text;
    for (const TreeNode* line : note->Children()) {
        if (line->Row() > 0)
            text += QLatin1Char('\n');
        text += line->Text();
    }
    return text;
}

// --- Searches --------------------------------------------------------------------

std::optional<QList<int>> TreeStore::SearchText(const PasswordTree& tree, const QString& startKey, const QString& text,
    bool subtree, Qt::CaseSensitivity cs, bool firstOnly) const
{
    const TreeNode* start = tree.FindKey(startKey);
    if (!start || text.isEmpty())
        return std::nullopt;
    tree.Compact();
    // Login and password details show masks, not their values.
    std::vector<char> masked(tree.images_.size());
    for (std::size_t id = 0; id < masked.size(); ++id)
        masked[id] = tree.images_[id] == QLatin1String("Login") || tree.images_[id] == QLatin1String("Key");

    const TextMatcher matcher(text, cs);
    QList<int> found;
    auto visit = [&](const TreeNode* n) {
        if (!masked[n->image_] && matcher.Matches(n->text_))
            found.append(int(n->index_) + 1);
        return firstOnly && !found.isEmpty();
    };
    if (visit(start))
        return found;
    if (subtree) {
        for (const TreeNode* n = tree.Next(start, start); n; n = tree.Next(n, start)) {
            if (visit(n))
                break;
        }
    } else {
        for (const TreeNode* child : start->Children()) {
            if (visit(child))
                break;
        }
    }
    return found;
}

std::optional<QList<int>> TreeStore::SearchKind(
    const PasswordTree& tree, const QString& startKey, const QString& kind) const
{
    const TreeNode* start = tree.FindKey(startKey);
    if (!start || kind.isEmpty())
        return std::nullopt;
    tree.Compact();
    std::vector<char> match(tree.images_.size());
    const QString notKind = kind + QLatin1String("Not");
    for (std::size_t id = 0; id < match.size(); ++id)
        match[id] = tree.images_[id] == kind || tree.images_[id] == notKind;
    QList<int> found;
    for (const TreeNode* n = tree.Next(start, start); n; n = tree.Next(n, start)) {
        if (match[n->image_])
            found.append(int(n->index_) + 1);
    }
    return found;
}

} // namespace keyholm
