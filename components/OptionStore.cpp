#include "components/OptionStore.h"

#include "components/FileTools.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <unordered_map>

namespace keyholm {
namespace {
// A preferences file is a few kilobytes; anything this big is not one.
constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

enum class Part { Section, Key, Value };

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString Unicode(QChar c)
{
    return QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
}

QString Escape(const QString& text, Part part)
{
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool atEnd = i == 0 || i == text.size() - 1;
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char(' ') && atEnd)
            out += QLatin1String("\\s"); // the reader trims blanks at both ends
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f || (c.isSpace() && atEnd))
            out += Unicode(c);
        else if (part == Part::Key && (c == QLatin1Char('=') || (i == 0 && QStringLiteral(";#[").contains(c))))
            out += QLatin1Char('\\') + c;
        else if (part == Part::Section && c == QLatin1Char(']'))
            out += QLatin1String("\\]");
        else
            out += c;
    }
    return out;
}

std::optional<QString> Unescape(QStringView text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text.toString();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c; // a lone backslash at the end stands for itself
            continue;
        }
        const QChar next = text.at(++i);
        switch (next.unicode()) {
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 's':
            out += QLatin1Char(' ');
            break;
        case 'u': {
            if (text.size() - (i + 1) < 4)
                return std::nullopt;
            ushort code = 0;
            for (qsizetype k = i + 1; k <= i + 4; ++k) {
                const int digit = QStringLiteral("0123456789abcdef").indexOf(text.at(k).toLower());
                if (digit < 0)
                    return std::nullopt;
                code = static_cast<ushort>(code * 16 + digit);
            }
            out += QChar(code);
            i += 4;
            break;
        }
        default:
            out += next;
            break;
        }
    }
    return out;
}

// Names compared whatever their letter case, hashed the same way, without a
// folded copy of each.
struct FoldedHash {
    std::size_t operator()(const QString& text) const noexcept
    {
        std::size_t hash = 14695981039346656037u;
        for (QChar c : text)
            hash = (hash ^ c.toCaseFolded().unicode()) * 1099511628211u;
        return hash;
    }
};
struct FoldedEqual {
    bool operator()(const QString& a, const QString& b) const noexcept { return SameName(a, b); }
};
using NameIndex = std::unordered_map<QString, std::size_t, FoldedHash, FoldedEqual>;

// Index of the first character `wanted` not escaped by a backslash, or -1.
qsizetype FindUnescaped(QStringView text, QChar wanted, qsizetype from = 0)
{
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\'))
            ++i;
        else if (text.at(i) == wanted)
            return i;
    }
    return -1;
}
} // namespace

bool OptionStore::Open(const QString& path, const QString& label, const QString& programName)
{
    Close();
    setAsidePath_.clear();
    header_ = programName.isEmpty() ? QString(label + QStringLiteral(" preferences"))
                                    : QString(label + QStringLiteral(" preferences (") + programName + QLatin1Char(')'));
    const QFileInfo info(path);
    if (!info.exists()) {
        path_ = path;
        open_ = true;
        return true;
    }
    if (!info.isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    std::optional<std::vector<Section>> sections;
    if (file.size() <= MaxFileSize) {
        const QByteArray text = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return false;
        sections = Parse(text);
    }
    file.close();
    if (!sections) {
        // Keep the damaged file for the user and go on with the defaults.
        const QString bad = path + QStringLiteral(".bad");
        QFile::remove(bad);
        if (!QFile::rename(path, bad))
            return false;
        setAsidePath_ = bad;
        sections.emplace();
    }
    path_ = path;
    sections_ = std::move(*sections);
    open_ = true;
    return true;
}

void OptionStore::Close()
{
    open_ = false;
    path_.clear();
    sections_.clear();
}

OptionStore::Section* OptionStore::FindSection(const QString& name)
{
    for (auto& section : sections_) {
        if (SameName(section.name, name))
            return &section;
    }
    return nullptr;
}

const OptionStore::Section* OptionStore::FindSection(const QString& name) const
{
    return const_cast<OptionStore*>(this)->FindSection(name);
}

QString OptionStore::GetValue(const QString& section, const QString& key, const QString& defaultValue) const
{
    if (!open_)
        return defaultValue;
    const Section* found = FindSection(section.trimmed());
    if (!found)
        return defaultValue;
    const QString wanted = key.trimmed();
    for (const auto& entry : found->entries) {
        if (SameName(entry.key, wanted))
            return entry.value;
    }
    return defaultValue;
}

bool OptionStore::SetValue(const QString& section, const QString& key, const QString& value)
{
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (!open_ || sectionName.isEmpty() || keyName.isEmpty())
        return false;

    // Work on a copy, so that a failed write changes nothing.
    std::vector<Section> updated = sections_;
    auto sectionIt
        = std::find_if(updated.begin(), updated.end(), [&](const Section& s) { return SameName(s.name, sectionName); });
    if (sectionIt == updated.end()) {
        updated.push_back({ sectionName, {} });
        sectionIt = updated.end() - 1;
    }
    auto& entries = sectionIt->entries;
    auto entryIt
        = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return SameName(e.key, keyName); });
    if (entryIt != entries.end()) {
        if (entryIt->value == value && QFileInfo::exists(path_))
            return true;
        entryIt->value = value;
    } else {
        entries.push_back({ keyName, value });
    }

    const QString folder = QFileInfo(path_).absolutePath();
    if (!FileTools::Instance().CreateFolder(folder))
        return false;
    // The preferences name the user's files and databases: 0600.
    if (!FileTools::WriteAtomically(path_, Format(updated, header_), FileTools::OwnerOnly))
        return false;
    sections_ = std::move(updated);
    return true;
}

QByteArray OptionStore::Format(const std::vector<Section>& sections, const QString& header)
{
    QString text;
    if (!header.isEmpty())
        text += QStringLiteral("; ")
            + QString(header).replace(QLatin1Char('\n'), QLatin1Char(' ')).remove(QLatin1Char('\r'))
            + QLatin1Char('\n');
    for (const auto& section : sections) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QLatin1Char('[') + Escape(section.name, Part::Section) + QStringLiteral("]\n");
        for (const auto& entry : section.entries)
            text += Escape(entry.key, Part::Key) + QLatin1Char('=') + Escape(entry.value, Part::Value)
                + QLatin1Char('\n');
    }
    return text.toUtf8();
}

std::optional<std::vector<OptionStore::Section>> OptionStore::Parse(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar(0)))
        return std::nullopt;

    // Names are found through hashes of their folded form, so that a file of
    // many keys parses in linear time.
    std::vector<Section> sections;
    NameIndex sectionIndex;
    std::vector<NameIndex> keyIndex;
    std::size_t current = 0;
    bool inSection = false;
    for (QStringView line : QStringView(text).tokenize(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = FindUnescaped(line, QLatin1Char(']'), 1);
            if (close != line.size() - 1)
                return std::nullopt;
            const auto name = Unescape(line.sliced(1, close - 1).trimmed());
            if (!name || name->isEmpty())
                return std::nullopt;
            const auto [found, added] = sectionIndex.try_emplace(*name, sections.size());
            current = found->second;
            if (added) {
                sections.push_back({ *name, {} });
                keyIndex.emplace_back();
            }
            inSection = true;
            continue;
        }
        const qsizetype equal = FindUnescaped(line, QLatin1Char('='));
        if (!inSection || equal <= 0)
            return std::nullopt;
        const auto key = Unescape(line.first(equal).trimmed());
        const auto value = Unescape(line.sliced(equal + 1).trimmed());
        if (!key || key->isEmpty() || !value)
            return std::nullopt;
        auto& entries = sections[current].entries;
        const auto [found, added] = keyIndex[current].try_emplace(*key, entries.size());
        if (added)
            entries.push_back({ *key, *value });
        else
            entries[found->second].value = *value;
    }
    return sections;
}

} // namespace keyholm
