#include "components/ExchangeTable.h"

#include "components/CipherEngine.h"
#include "components/EntryRecord.h"
#include "components/NodeImages.h"
#include "components/NodeTags.h"
#include "components/PasswordTree.h"
#include "components/SystemInfo.h"
#include "components/TextEncoding.h"
#include "components/TreeStore.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QUrl>

#include <algorithm>
#include <array>
#include <stdexcept>
#include <unordered_map>
#include <utility>

namespace keyholm {
namespace {

// Larger files are not password lists; reading them would only tie up memory.
constexpr qint64 MaxFileBytes = 64 * 1024 * 1024;
// No entry has a megabyte of text.
constexpr qsizetype MaxRowChars = 1024 * 1024;

// A tag date in the short format; empty when it is not a date.
QString ShortDate(const QString& tag)
{
    const QDate day = ReadDateTag(tag);
    return day.isValid() ? SystemInfo::Instance().ShortDate(day) : QString();
}

QString OneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

void AddEntryRow(ListTable& list, const PasswordTree& tree, const TreeNode* entry)
{
    EntryRecord record = EntryRecord::Read(tree, entry);
    QStringList cells(ExchangeColumn::Count);
    cells[ExchangeColumn::Category] = entry->Parent() ? entry->Parent()->Text() : QString();
    cells[ExchangeColumn::Title] = std::move(record.title);
    cells[ExchangeColumn::Login] = std::move(record.login);
    cells[ExchangeColumn::Password] = std::move(record.password);
    if (record.expiry.isValid())
        cells[ExchangeColumn::Expiry] = SystemInfo::Instance().ShortDate(record.expiry);
    cells[ExchangeColumn::Web] = std::move(record.web);
    cells[ExchangeColumn::File] = std::move(record.file);
    cells[ExchangeColumn::Note] = OneLine(std::move(record.note));
    cells[ExchangeColumn::Created] = ShortDate(record.created);
    if (!record.changed.isEmpty())
        cells[ExchangeColumn::Changed] = ShortDate(record.changed);
    record.Wipe();
    list.rows.push_back({ std::move(cells), entry->Index() });
}

void AddChildren(ListTable& list, const PasswordTree& tree, const TreeNode* node)
{
    for (const TreeNode* child : node->Children()) {
        const QString image = child->Image();
        if (image.contains(NodeImage::Password))
            AddEntryRow(list, tree, child);
        else if (image.contains(QLatin1String("Dir")) && !child->Children().empty())
            AddChildren(list, tree, child);
    }
}

// ---- Other managers' exports ----------------------------------------------

// Where a column of another manager goes, by its header (lower case).
struct HeaderName {
    const char* name;
    int column;
};

enum : int { TypeColumn = ExchangeColumn::Count, CodeColumn, MappedColumns };

constexpr HeaderName HeaderNames[] = {
    { "group", ExchangeColumn::Category },
    { "folder", ExchangeColumn::Category },
    { "grouping", ExchangeColumn::Category },
    { "title", ExchangeColumn::Title },
    { "name", ExchangeColumn::Title },
    { "account", ExchangeColumn::Title },
    { "username", ExchangeColumn::Login },
    { "login_username", ExchangeColumn::Login },
    { "login name", ExchangeColumn::Login },
    { "password", ExchangeColumn::Password },
    { "login_password", ExchangeColumn::Password },
    { "url", ExchangeColumn::Web },
    { "login_uri", ExchangeColumn::Web },
    { "web site", ExchangeColumn::Web },
    { "notes", ExchangeColumn::Note },
    { "note", ExchangeColumn::Note },
    { "extra", ExchangeColumn::Note },
    { "comments", ExchangeColumn::Note },
    { "created", ExchangeColumn::Created },
    { "timecreated", ExchangeColumn::Created },
    { "last modified", ExchangeColumn::Changed },
    { "timepasswordchanged", ExchangeColumn::Changed },
    { "type", TypeColumn },
    { "totp", CodeColumn },
    { "login_totp", CodeColumn },
};

struct ForeignFormat {
    const char* name;
    std::array<const char*, 6> signature; // headers it always has (null ends)
    char16_t pathSeparator; // between the names of nested groups
    bool rootGroup; // the first group of every path is the database's root
};

// The most particular first: some share the browsers' four columns.
const ForeignFormat ForeignFormats[] = {
    { "Bitwarden", { "folder", "type", "name", "login_uri", "login_username", "login_password" }, u'/', false },
    { "LastPass", { "url", "username", "password", "extra", "name", "grouping" }, u'\\', false },
    { "Firefox", { "url", "username", "password", "httprealm" }, 0, false },
    { "KeePass", { "group", "title", "username", "password" }, u'/', true },
    { "KeePass", { "account", "login name", "password" }, 0, false },
    { "Chrome", { "name", "url", "username", "password" }, 0, false },
};

QString Header(const QString& cell)
{
    return cell.trimmed().toLower();
}

const ForeignFormat* RecogniseHeader(const QStringList& header)
{
    QStringList names;
    for (const QString& cell : header)
        names << Header(cell);
    for (const ForeignFormat& format : ForeignFormats) {
        bool all = true;
        for (const char* column : format.signature)
            if (column && !names.contains(QLatin1String(column)))
                all = false;
        if (all)
            return &format;
    }
    return nullptr;
}

// The first line of the text, for a look at the header.
QStringView FirstLine(QStringView text)
{
    qsizetype end = 0;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
        ++end;
    return text.first(end);
}

// Dates of other managers: ISO texts, or milliseconds since 1970.
QString ForeignDate(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QString();
    QDateTime moment = QDateTime::fromString(trimmed, Qt::ISODateWithMs);
    if (!moment.isValid()) {
        bool number = false;
        const qint64 ms = trimmed.toLongLong(&number);
        if (number && ms > 0)
            moment = QDateTime::fromMSecsSinceEpoch(ms);
    }
    if (!moment.isValid())
        return ShortDate(trimmed);
    return SystemInfo::Instance().ShortDate(moment.toLocalTime().date());
}

QString TitleFromAddress(const QString& web)
{
    const QUrl url = QUrl::fromUserInput(web.trimmed());
    return url.isValid() ? url.host() : QString();
}

qsizetype RowChars(const QStringList& cells)
{
    qsizetype size = 0;
    for (const QString& cell : cells)
        size += cell.size();
    return size;
}

void MapForeignRows(ExchangeFile& file, const ForeignFormat& format, ExchangeRows& result)
{
    std::vector<QStringList>& rows = file.text.rows;
    std::array<int, MappedColumns> source;
    source.fill(-1);
    const QStringList& header = rows.front();
    for (int i = 0; i < header.size(); ++i) {
        const QString name = Header(header[i]);
        for (const HeaderName& known : HeaderNames)
            if (source[known.column] < 0 && name == QLatin1String(known.name))
                source[known.column] = i;
    }
    result.categoryPath = format.pathSeparator ? QChar(format.pathSeparator) : QChar();
    for (std::size_t r = 1; r < rows.size(); ++r) {
        QStringList& row = rows[r];
        if (RowChars(row) > MaxRowChars) {
            ++result.tooLong;
            continue;
        }
        auto take = [&](int column) {
            const int i = source[column];
            return i >= 0 && i < row.size() ? std::exchange(row[i], QString()) : QString();
        };
        const QString type = take(TypeColumn).trimmed().toLower();
        if (!type.isEmpty() && type != QLatin1String("login") && type != QLatin1String("note")) {
            ++result.unsupported;
            continue;
        }
        QStringList cells(ExchangeColumn::Count);
        for (int column = 0; column < ExchangeColumn::Count; ++column)
            cells[column] = take(column);
        QString code = take(CodeColumn);
        const bool hasCode = !code.trimmed().isEmpty();
        CipherEngine::Wipe(code);
        bool data = false;
        for (const int column : { ExchangeColumn::Title, ExchangeColumn::Login, ExchangeColumn::Password,
                 ExchangeColumn::Web, ExchangeColumn::Note })
            data = data || !cells[column].trimmed().isEmpty();
        if (!data) {
            ++result.empty;
            for (QString& cell : cells)
                CipherEngine::Wipe(cell);
            continue;
        }
        if (hasCode)
            ++result.codesLeftOut;
        // Several addresses come one a line: the first is the entry's.
        cells[ExchangeColumn::Web] = cells[ExchangeColumn::Web].section(u'\n', 0, 0).trimmed();
        if (cells[ExchangeColumn::Title].trimmed().isEmpty())
            cells[ExchangeColumn::Title] = TitleFromAddress(cells[ExchangeColumn::Web]);
        QString& path = cells[ExchangeColumn::Category];
        if (format.rootGroup) {
            const qsizetype cut = path.indexOf(QChar(format.pathSeparator));
            path = cut < 0 ? QString() : path.mid(cut + 1);
        }
        cells[ExchangeColumn::Created] = ForeignDate(cells[ExchangeColumn::Created]);
        cells[ExchangeColumn::Changed] = ForeignDate(cells[ExchangeColumn::Changed]);
        result.rows.push_back({ std::move(cells), 0 });
    }
}

void TakeOwnRows(ExchangeFile& file, bool header, ExchangeRows& result)
{
    std::vector<QStringList>& rows = file.text.rows;
    for (std::size_t r = header ? 1 : 0; r < rows.size(); ++r) {
        QStringList& row = rows[r];
        if (RowChars(row) > MaxRowChars) {
            ++result.tooLong;
            continue;
        }
        // Tools that end each line with a separator give an eleventh column.
        if (row.size() > ExchangeColumn::Count) {
            CipherEngine::Wipe(row[ExchangeColumn::Count]);
            row.removeAt(ExchangeColumn::Count);
        }
        while (row.size() < ExchangeColumn::Count)
            row.append(QString());
        result.rows.push_back({ std::exchange(row, QStringList()), 0 });
    }
}

// A day of the table: the short format first, as the table writes it; other
// forms through the tag reader. A plain date needs no time zone, which
// makes it many times faster over a whole file.
QDate TableDay(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QDate day = QDate::fromString(trimmed, SystemInfo::Instance().ShortDateFormat());
    return day.isValid() ? day : ReadDateTag(trimmed);
}

// A date of the table as a tag text (its midnight); empty (now) when it is
// not a date.
QString DateTagOf(const QString& text)
{
    const QDate day = TableDay(text);
    return day.isValid() ? day.toString(Qt::ISODate) + QStringLiteral("T00:00:00") : QString();
}

} // namespace

void ExportImportTableCreation(ListTable& list)
{
    WipeTable(list.rows);
    list.columns = {
        { QStringLiteral("Catégorie"), 2000, Qt::AlignLeft },
        { QStringLiteral("Titre"), 1500, Qt::AlignLeft },
        { QStringLiteral("Login"), 1000, Qt::AlignLeft },
        { QStringLiteral("Password"), 1000, Qt::AlignLeft },
        { QStringLiteral("Expiration"), 1200, Qt::AlignHCenter },
        { QStringLiteral("Web"), 1500, Qt::AlignLeft },
        { QStringLiteral("Fichier"), 1500, Qt::AlignLeft },
        { QStringLiteral("Note"), 1500, Qt::AlignLeft },
        { QStringLiteral("Créé"), 1200, Qt::AlignHCenter },
        { QStringLiteral("Modifié"), 1200, Qt::AlignHCenter },
    };
}

bool AddPasswordCategoryToList(ListTable& list, const PasswordTree& tree, const TreeNode* mainNode)
{
    if (!mainNode || &mainNode->Tree() != &tree || mainNode->Children().empty())
        return false;
    AddChildren(list, tree, mainNode);
    return true;
}

ExchangeFile ReadExchangeFile(const QString& path)
{
    ExchangeFile file;
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly))
        return file;
    if (input.size() > MaxFileBytes) {
        file.status = ExchangeFile::Status::TooLarge;
        return file;
    }
    QByteArray bytes = input.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes) {
        CipherEngine::Wipe(bytes);
        file.status = ExchangeFile::Status::TooLarge;
        return file;
    }
    QString text = DecodeTextBytes(bytes);
    CipherEngine::Wipe(bytes);
    file.status = ExchangeFile::Status::NotATable;
    // Control characters other than tabs and line ends: not a text file.
    for (const QChar c : text) {
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\r' && c != u'\n') {
            CipherEngine::Wipe(text);
            return file;
        }
    }
    const QStringView firstLine = FirstLine(text);
    for (const QChar separator : { QChar(u','), QChar(u';') }) {
        DelimitedText header = ParseDelimited(firstLine, separator);
        const ForeignFormat* format = header.rows.empty() ? nullptr : RecogniseHeader(header.rows.front());
        WipeRows(header.rows);
        if (format) {
            file.format = QLatin1String(format->name);
            file.text = ParseDelimited(text, separator);
            break;
        }
    }
    if (file.format.isEmpty()) {
        // Our own table: ";" as written, else "," from a spreadsheet set so.
        for (const QChar separator : { QChar(u';'), QChar(u',') }) {
            file.text = ParseDelimited(text, separator);
            const bool split = std::any_of(
                file.text.rows.begin(), file.text.rows.end(), [](const QStringList& row) { return row.size() > 1; });
            if (split)
                break;
            WipeRows(file.text.rows);
            file.text.unclosedQuoteLine = 0;
        }
    }
    CipherEngine::Wipe(text);
    if (!file.text.rows.empty())
        file.status = ExchangeFile::Status::Read;
    return file;
}

ExchangeRows ToExchangeRows(ExchangeFile& file, bool header)
{
    ExchangeRows result;
    if (file.text.rows.empty())
        return result;
    const ForeignFormat* format = nullptr;
    if (!file.format.isEmpty())
        format = RecogniseHeader(file.text.rows.front());
    if (format)
        MapForeignRows(file, *format, result);
    else
        TakeOwnRows(file, header, result);
    // A line break read inside a quoted cell stays only in the note.
    for (ListRow& row : result.rows)
        for (int column = 0; column < ExchangeColumn::Count; ++column)
            if (column != ExchangeColumn::Note && row.cells[column].contains(u'\n'))
                row.cells[column].replace(u'\n', u' ');
    WipeRows(file.text.rows);
    return result;
}

void ImportRows(
    PasswordTree& tree, TreeNode* target, const std::vector<ListRow>& rows, QChar categoryPath, ImportOutcome& outcome)
{
    TreeStore& store = TreeStore::Instance();
    // Looked up once a parent: names trimmed, letter case aside, categories
    // only, so that an entry or a service node is never taken for one.
    std::unordered_map<const TreeNode*, QHash<QString, TreeNode*>> categories;
    std::unordered_map<const TreeNode*, ChildLabels> labels;
    auto labelsOf = [&](const TreeNode* parent) -> ChildLabels& {
        auto found = labels.find(parent);
        if (found == labels.end())
            found = labels.emplace(parent, ChildLabels(tree, parent)).first;
        return found->second;
    };
    auto categoryUnder = [&](TreeNode* parent, const QString& name) -> TreeNode* {
        auto found = categories.find(parent);
        if (found == categories.end()) {
            found = categories.emplace(parent, QHash<QString, TreeNode*>()).first;
            for (TreeNode* child : parent->Children())
                if (child->Image().contains(QLatin1String("Dir")))
                    found->second.insert(child->Text().trimmed().toCaseFolded(), child);
        }
        const QString folded = name.toCaseFolded();
        if (TreeNode* known = found->second.value(folded))
            return known;
        TreeNode* added = tree.FindKey(store.AddNode(tree, parent->Key(), name, NodeImage::DirNot, QString(), true));
        if (!added)
            throw std::runtime_error("the category could not be added");
        found->second.insert(folded, added);
        if (labels.count(parent))
            labelsOf(parent).Take(name);
        return added;
    };

    // Sorted categories take the new entries at their end and are sorted
    // once afterwards (also after a failure): a sorted insertion renumbers
    // every later child, which would grow with the category.
    struct Resort {
        std::vector<TreeNode*> categories;
        ~Resort()
        {
            for (TreeNode* category : categories)
                category->SetSorted(true);
        }
    } resort;
    auto intoCategory = [&](TreeNode* category) {
        if (category->Sorted()) {
            category->SetSorted(false);
            resort.categories.push_back(category);
        }
    };

    std::unordered_map<TreeNode*, std::size_t> categoryIndex;
    for (const ListRow& row : rows) {
        TreeNode* category = target;
        const QString name = row.Cell(ExchangeColumn::Category).trimmed();
        if (!categoryPath.isNull()) {
            for (const QString& part : name.split(categoryPath, Qt::SkipEmptyParts))
                if (const QString trimmed = part.trimmed(); !trimmed.isEmpty())
                    category = categoryUnder(category, trimmed);
        } else if (!name.isEmpty()) {
            category = categoryUnder(target, name);
        }
        if (category == target)
            category = categoryUnder(target, QStringLiteral("Divers"));

        EntryRecord record;
        QString title = row.Cell(ExchangeColumn::Title).trimmed();
        if (title.isEmpty())
            title = QStringLiteral("Sans titre");
        record.title = labelsOf(category).Take(title);
        if (record.title != title)
            ++outcome.renamed;
        record.login = row.Cell(ExchangeColumn::Login).trimmed();
        if (record.login.isEmpty())
            record.login = QStringLiteral("Mot de Passe");
        record.password = row.Cell(ExchangeColumn::Password);
        if (const QDate expiry = TableDay(row.Cell(ExchangeColumn::Expiry)); expiry.isValid()) {
            record.expires = true;
            record.expiry = expiry;
        }
        record.web = row.Cell(ExchangeColumn::Web).trimmed();
        record.file = row.Cell(ExchangeColumn::File).trimmed();
        record.note = row.Cell(ExchangeColumn::Note).trimmed();
        record.created = DateTagOf(row.Cell(ExchangeColumn::Created));
        record.changed = DateTagOf(row.Cell(ExchangeColumn::Changed));
        intoCategory(category);
        TreeNode* entry = record.Write(tree, category);
        record.Wipe();
        if (!entry)
            throw std::runtime_error("the entry could not be added");
        ++outcome.added;
        outcome.last = entry;
        const auto [at, added] = categoryIndex.emplace(category, outcome.lastInCategory.size());
        if (added)
            outcome.lastInCategory.push_back(entry);
        else
            outcome.lastInCategory[at->second] = entry;
    }
}

void WipeTable(std::vector<ListRow>& rows)
{
    for (ListRow& row : rows)
        for (QString& cell : row.cells)
            CipherEngine::Wipe(cell);
    rows.clear();
}

} // namespace keyholm
