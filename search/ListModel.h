#pragma once
// The rows of a result list as a table model: one ListTable, shown as it is
// filled, sorted in place on a column. A column whose cells all read as
// dates, times or numbers sorts as such; any other sorts as text, in the
// language's order, letter case aside.

#include "components/ListTable.h"

#include <QAbstractTableModel>

namespace keyholm {

class ListModel : public QAbstractTableModel {
public:
    static constexpr int TagRole = Qt::UserRole + 1;

    explicit ListModel(QObject* parent = nullptr);

    const ListTable& Table() const { return table_; }
    // The whole content at once (the fast way for long lists).
    void SetTable(ListTable table);
    void AddColumn(ListColumn column);
    void AddRow(ListRow row);
    // Runs `change` on the table, then shows the table anew.
    template <class Change> void ChangeTable(Change&& change)
    {
        beginResetModel();
        change(table_);
        endResetModel();
    }
    qint64 TagAt(int row) const { return row >= 0 && row < table_.RowCount() ? table_.rows[row].tag : 0; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    ListTable table_;
};

} // namespace keyholm
