#include "search/Grid.h"

#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"

#include <QTableWidget>

#include <exception>

namespace keyholm {
namespace {

void SetText(QTableWidget& grid, int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = grid.item(row, column))
        item->setText(text);
    else
        grid.setItem(row, column, new QTableWidgetItem(text));
}

bool IsFree(const QTableWidget& grid, int row, int column)
{
    const QString text = GridText(grid, row, column);
    return text.isEmpty() || text == QLatin1String("-1") || text == QLatin1String("-2");
}

int Append(QTableWidget& grid, const QStringList& cells)
{
    const int row = grid.rowCount();
    grid.insertRow(row);
    for (int column = 0; column < grid.columnCount(); ++column)
        SetText(grid, row, column, column < cells.size() ? cells[column] : QString());
    return row;
}

bool Blank(const QStringList& cells)
{
    for (const QString& cell : cells)
        if (!cell.trimmed().isEmpty())
            return false;
    return true;
}

} // namespace

int GridAppendRow(QTableWidget& grid, const QStringList& cells)
{
    return Append(grid, cells);
}

QString GridText(const QTableWidget& grid, int row, int column)
{
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

void GridClearRow(QTableWidget& grid, int row, const QString& fill)
{
    if (row < GridFixedRows || row >= grid.rowCount())
        return;
    for (int column = 0; column < grid.columnCount(); ++column)
        SetText(grid, row, column, fill);
}

void GridClear(QTableWidget& grid, const QString& fill)
{
    for (int row = grid.rowCount() - 1; row >= GridFixedRows && grid.rowCount() - GridFixedRows > 1; --row)
        grid.removeRow(row);
    GridClearRow(grid, GridFixedRows, fill);
}

int GetClearLineGrid(QTableWidget& grid, int column, bool force, const QString& fill, const QString& line)
{
    return GetClearLineGrid(grid, column, force, fill, line.split(u'\t'));
}

int GetClearLineGrid(QTableWidget& grid, int column, bool force, const QString& fill, const QStringList& cells)
{
    try {
        int result = -1;
        if (grid.rowCount() > GridFixedRows || force) {
            for (int row = grid.rowCount() - 1; row >= GridFixedRows; --row) {
                if (!IsFree(grid, row, column))
                    continue;
                GridClearRow(grid, row, fill);
                result = row;
                if (!Blank(cells)) {
                    Append(grid, cells);
                    if (IsFree(grid, row, column))
                        grid.removeRow(row);
                    result = grid.rowCount() - 1;
                }
                break;
            }
        }
        if (result < 0) {
            if (!Blank(cells)) {
                result = Append(grid, cells);
            } else {
                result = Append(grid, { QString(), QString() });
                GridClearRow(grid, result, fill);
            }
        }
        grid.setCurrentCell(result, std::max(0, column));
        return result;
    } catch (const std::exception& error) {
        ReportError(
            GetMessage(412) + QStringLiteral("GetClearLineGrid()"), {}, true, ErrorRecord::FromException(error));
        return -1;
    }
}

} // namespace keyholm
