#pragma once
// The grid behind list printing: a table whose first row (its fixed row)
// holds the column headers and whose further rows are the data rows,
// numbered from 0 with the fixed row.

#include <QString>
#include <QStringList>

class QTableWidget;

namespace keyholm {

// The rows above the data rows (the column headers): 1.
constexpr int GridFixedRows = 1;

// Removes the data rows but one and fills the cells of that one with `fill`
// (none is left when there was none).
void GridClear(QTableWidget& grid, const QString& fill);
// Fills every cell of a data row with `fill`; another row changes nothing.
void GridClearRow(QTableWidget& grid, int row, const QString& fill);
// Puts a line, its cells joined by TAB, into the grid: in place of a free
// row (its cell in `column` empty, "-1" or "-2") when there is one (looked
// for when the grid has data rows, or when `force`), else as a new row. The
// row that holds it, made current; -1 on failure.
int GetClearLineGrid(QTableWidget& grid, int column, bool force, const QString& fill, const QString& line);
// The same with the cells given one by one, which may hold a TAB.
int GetClearLineGrid(QTableWidget& grid, int column, bool force, const QString& fill, const QStringList& cells);

// Appends a data row holding the cells (which may hold a TAB); its number.
int GridAppendRow(QTableWidget& grid, const QStringList& cells);

// The text of a cell; empty when it has none.
QString GridText(const QTableWidget& grid, int row, int column);

} // namespace keyholm
