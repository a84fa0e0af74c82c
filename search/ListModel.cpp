#include "search/ListModel.h"

#include <QCollator>
#include <QDate>
#include <QLocale>
#include <QTime>

#include <algorithm>
#include <numeric>
#include <optional>

namespace keyholm {

namespace {

// How a column's cells compare: as numbers (dates, times and numbers all
// become one) or as texts.
enum class KeyKind { Date, Time, Number, Text };

std::optional<double> DateValue(const QString& text)
{
    const QString t = text.trimmed();
    // "yyyy-MM-dd", with or without its time.
    if (t.size() >= 10 && t[4] == u'-' && t[7] == u'-') {
        const QDate day = QDate::fromString(t.left(10), Qt::ISODate);
        if (day.isValid()) {
            const QTime time = t.size() > 11 ? QTime::fromString(t.mid(11, 8), Qt::ISODate) : QTime(0, 0);
            return double(day.toJulianDay()) + (time.isValid() ? time.msecsSinceStartOfDay() / 86400000.0 : 0.0);
        }
    }
    const QLocale locale;
    for (const QString& format : { locale.dateFormat(QLocale::ShortFormat), QStringLiteral("dd/MM/yyyy") }) {
        const QDate day = locale.toDate(t, format);
        if (day.isValid())
            return double(day.toJulianDay());
    }
    return std::nullopt;
}

std::optional<double> TimeValue(const QString& text)
{
    const QTime time = QTime::fromString(text.trimmed(), Qt::ISODate);
    return time.isValid() ? std::optional<double>(time.msecsSinceStartOfDay()) : std::nullopt;
}

std::optional<double> NumberValue(const QString& text)
{
    bool ok = false;
    const double value = QLocale().toDouble(text.trimmed(), &ok);
    if (ok)
        return value;
    const double c = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok ? std::optional<double>(c) : std::nullopt;
}

} // namespace

ListModel::ListModel(QObject* parent)
    : QAbstractTableModel(parent)
{
}

void ListModel::SetTable(ListTable table)
{
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

void ListModel::AddColumn(ListColumn column)
{
    const int at = table_.ColumnCount();
    beginInsertColumns({}, at, at);
    table_.columns.push_back(std::move(column));
    endInsertColumns();
}

void ListModel::AddRow(ListRow row)
{
    const int at = table_.RowCount();
    beginInsertRows({}, at, at);
    table_.rows.push_back(std::move(row));
    endInsertRows();
}

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : table_.RowCount();
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : table_.ColumnCount();
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= table_.RowCount() || index.column() >= table_.ColumnCount())
        return {};
    const ListRow& row = table_.rows[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return row.Cell(index.column());
    case Qt::TextAlignmentRole:
        return int(table_.columns[std::size_t(index.column())].alignment | Qt::AlignVCenter);
    case TagRole:
        return row.tag;
    default:
        return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= table_.ColumnCount())
        return {};
    if (role == Qt::DisplayRole)
        return table_.columns[std::size_t(section)].header;
    if (role == Qt::TextAlignmentRole)
        return int(table_.columns[std::size_t(section)].alignment | Qt::AlignVCenter);
    return {};
}

void ListModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= table_.ColumnCount() || table_.rows.empty())
        return;
    const std::size_t count = table_.rows.size();
    // The kind all the column's filled cells share.
    std::vector<double> values(count, 0.0);
    KeyKind kind = KeyKind::Date;
    for (const KeyKind candidate : { KeyKind::Date, KeyKind::Time, KeyKind::Number }) {
        bool all = true;
        bool any = false;
        for (std::size_t i = 0; i < count && all; ++i) {
            const QString cell = table_.rows[i].Cell(column);
            if (cell.trimmed().isEmpty()) {
                values[i] = -1e300; // blanks first
                continue;
            }
            const std::optional<double> value = candidate == KeyKind::Date ? DateValue(cell)
                : candidate == KeyKind::Time                               ? TimeValue(cell)
                                                                           : NumberValue(cell);
            all = value.has_value();
            any = true;
            if (value)
                values[i] = *value;
        }
        kind = candidate;
        if (all && any)
            break;
        kind = KeyKind::Text;
    }
    std::vector<QCollatorSortKey> keys;
    if (kind == KeyKind::Text) {
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator.setNumericMode(true);
        keys.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            keys.push_back(collator.sortKey(table_.rows[i].Cell(column)));
    }
    std::vector<int> permutation(count);
    std::iota(permutation.begin(), permutation.end(), 0);
    const auto less = [&](int a, int b) {
        if (kind == KeyKind::Text)
            return keys[std::size_t(a)].compare(keys[std::size_t(b)]) < 0;
        return values[std::size_t(a)] < values[std::size_t(b)];
    };
    if (order == Qt::AscendingOrder)
        std::stable_sort(permutation.begin(), permutation.end(), less);
    else
        std::stable_sort(permutation.begin(), permutation.end(), [&](int a, int b) { return less(b, a); });

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(count);
    for (std::size_t to = 0; to < count; ++to)
        newRowOf[std::size_t(permutation[to])] = int(to);
    std::vector<ListRow> rows;
    rows.reserve(count);
    for (const int from : permutation)
        rows.push_back(std::move(table_.rows[std::size_t(from)]));
    table_.rows = std::move(rows);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after << this->index(newRowOf[std::size_t(index.row())], index.column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace keyholm
