#include "components/TreeStore.h"

#include "components/CipherEngine.h"
#include "components/FieldCoding.h"

#include "components/NodeImages.h"
#include "components/TextMatcher.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <deque>

namespace keyholm {
namespace {
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

template <class Match> const TreeNode* TreeStore::FirstChild(const TreeNode* parent, Match&& match)
{
    if (!parent)
        return nullptr;
    for (const TreeNode* child : parent->Children()) {
        if (match(child))
            return child;
    }
    return nullptr;
}

int TreeStore::FindChild(const PasswordTree& tree, int parentIndex, const QString& image) const
{
    const auto id = tree.FindImageId(image);
    const TreeNode* found
        = id ? FirstChild(tree.NodeAt(parentIndex), [&](const TreeNode* c) { return c->ImageId() == *id; }) : nullptr;
    return found ? found->Index() : 0;
}

int TreeStore::FindChildWithTag(
    const PasswordTree& tree, int parentIndex, const QString& image, const QString& tag) const
{
    const auto id = tree.FindImageId(image);
    const TreeNode* found = id ? FirstChild(tree.NodeAt(parentIndex),
                                [&](const TreeNode* c) { return c->ImageId() == *id && c->TagData().Equals(tag); })
                               : nullptr;
    return found ? found->Index() : 0;
}

QString TreeStore::FindNodeKey(const PasswordTree& tree, const QString& startKey, const QString& baseImage) const
{
    const TreeNode* start = tree.FindKey(startKey);
    if (!start || baseImage.isEmpty())
        return QString();
    const QString kinds[] = { baseImage, baseImage + NodeImage::NotSuffix, baseImage + NodeImage::Key,
        baseImage + NodeImage::Key + NodeImage::NotSuffix };
    std::vector<std::uint32_t> ids;
    for (const QString& kind : kinds) {
        if (const auto id = tree.FindImageId(kind))
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
        if (std::find(ids.begin(), ids.end(), n->ImageId()) != ids.end())
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
    std::vector<char> match(tree.ImageCount());
    for (std::uint32_t id = 0; id < match.size(); ++id) {
        const QString& image = tree.ImageKey(id);
        match[id] = partial ? image.contains(imageText) : image == imageText;
    }
    int count = 0;
    if (!subtree) {
        for (const TreeNode* child : node->Children())
            count += match[child->ImageId()];
        return count;
    }
    for (const TreeNode* n = tree.Next(node, node); n; n = tree.Next(n, node))
        count += match[n->ImageId()];
    return count;
}

int TreeStore::ChildIndexByText(
    const PasswordTree& tree, const QString& parentKey, const QString& text, Qt::CaseSensitivity cs) const
{
    const TreeNode* found
        = FirstChild(tree.FindKey(parentKey), [&](const TreeNode* c) { return SameText(c->TextData(), text, cs); });
    return found ? found->Index() : 0;
}

QString TreeStore::ChildKeyByText(
    const PasswordTree& tree, const QString& parentKey, const QString& text, Qt::CaseSensitivity cs) const
{
    const TreeNode* found
        = FirstChild(tree.FindKey(parentKey), [&](const TreeNode* c) { return SameText(c->TextData(), text, cs); });
    return found ? found->Key() : QString();
}

QString TreeStore::ChildLabel(const PasswordTree& tree, const TreeNode* parent, const QString& label) const
{
    if (!parent || &parent->Tree() != &tree)
        return label;
    for (const TreeNode* child : parent->Children()) {
        if (child->TextData().Equals(label))
            return ChildLabels(tree, parent).Take(label);
    }
    return label;
}

ChildLabels::ChildLabels(const PasswordTree& tree, const TreeNode* parent)
{
    if (!parent || &parent->Tree() != &tree)
        return;
    taken_.reserve(parent->Children().size());
    for (const TreeNode* child : parent->Children())
        taken_.insert(child->Text());
}

QString ChildLabels::Take(const QString& label)
{
    if (!taken_.contains(label)) {
        taken_.insert(label);
        return label;
    }
    QString base = label;
    qint64 number = 2;
    static const QRegularExpression numbered(
        QStringLiteral("^(.*) \\((\\d{1,9})\\)$"), QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = numbered.match(label);
    if (m.hasMatch()) {
        base = m.captured(1);
        number = m.captured(2).toLongLong() + 1;
    }
    // A QString, not a string builder: that would outlive its parts.
    auto candidate = [&](qint64 n) -> QString {
        return base + QStringLiteral(" (") + QString::number(n) + QLatin1Char(')');
    };
    qint64& firstFree = firstFree_[base];
    if (firstFree < 2)
        firstFree = 2;
    const bool fromFirstFree = number <= firstFree;
    if (fromFirstFree)
        number = firstFree;
    while (taken_.contains(candidate(number)))
        ++number;
    QString result = candidate(number);
    taken_.insert(result);
    if (fromFirstFree) {
        firstFree = number + 1;
        while (taken_.contains(candidate(firstFree)))
            ++firstFree;
    }
    return result;
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
const QString& NoteImage = NodeImage::Note;
const QString& QuoteImage = NodeImage::Quote;

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
    bool subtree, Qt::CaseSensitivity cs, bool firstOnly, bool ignoreAccents, bool logins) const
{
    const TreeNode* start = tree.FindKey(startKey);
    if (!start || text.isEmpty())
        return std::nullopt;
    // Login and password details show masks, not their values.
    enum : char { Plain, Masked, Login };
    std::vector<char> kind(tree.ImageCount(), Plain);
    for (std::uint32_t id = 0; id < kind.size(); ++id) {
        if (tree.ImageKey(id) == NodeImage::Key)
            kind[id] = Masked;
        else if (tree.ImageKey(id) == NodeImage::Login)
            kind[id] = logins ? Login : Masked;
    }

    const TextMatcher matcher(text, cs, ignoreAccents);
    std::optional<CipherEngine::TextDecoder> decoder;
    if (logins)
        decoder.emplace(FixedKeyText, NumericParameterText());
    const auto matches = [&](const TreeNode* n) {
        switch (kind[n->ImageId()]) {
        case Plain:
            return matcher.Matches(n->TextData());
        case Login: {
            QString login = decoder->Decode(n->Tag());
            const bool found = !login.isEmpty() && matcher.Matches(QStringView(login));
            CipherEngine::Wipe(login);
            return found;
        }
        default:
            return false;
        }
    };
    QList<int> found;
    auto visit = [&](const TreeNode* n) {
        if (matches(n))
            found.append(n->Index());
        return firstOnly && !found.isEmpty();
    };
    // The first match is one below the start node when there is one.
    if (!firstOnly && visit(start))
        return found;
    bool done = false;
    if (subtree) {
        for (const TreeNode* n = tree.Next(start, start); n && !done; n = tree.Next(n, start))
            done = visit(n);
    } else {
        for (const TreeNode* child : start->Children()) {
            if ((done = visit(child)))
                break;
        }
    }
    if (firstOnly && found.isEmpty())
        visit(start);
    return found;
}

std::optional<QList<int>> TreeStore::SearchKind(
    const PasswordTree& tree, const QString& startKey, const QString& kind) const
{
    const TreeNode* start = tree.FindKey(startKey);
    if (!start || kind.isEmpty())
        return std::nullopt;
    std::vector<char> match(tree.ImageCount());
    const QString notKind = kind + NodeImage::NotSuffix;
    for (std::uint32_t id = 0; id < match.size(); ++id)
        match[id] = tree.ImageKey(id) == kind || tree.ImageKey(id) == notKind;
    QList<int> found;
    for (const TreeNode* n = tree.Next(start, start); n; n = tree.Next(n, start)) {
        if (match[n->ImageId()])
            found.append(n->Index());
    }
    return found;
}

} // namespace keyholm
