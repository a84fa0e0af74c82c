#pragma once
// The content of a result list: its title, its columns and its rows, each
// row with the caller's tag (usually the index of a node of the password
// tree). The list window shows one, the list writers write one to a file.

#include <QString>
#include <QStringList>
#include <Qt>

#include <vector>

namespace keyholm {

struct ListColumn {
    QString header;
    int widthTwips = 1440;
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct ListRow {
    QStringList cells; // one per column; the first is the row's text
    qint64 tag = 0;

    QString Cell(int column) const { return column >= 0 && column < cells.size() ? cells[column] : QString(); }
};

struct ListTable {
    QString title;
    std::vector<ListColumn> columns;
    std::vector<ListRow> rows;

    int ColumnCount() const { return int(columns.size()); }
    int RowCount() const { return int(rows.size()); }
};

} // namespace keyholm
