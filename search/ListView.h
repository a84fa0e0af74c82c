#pragma once
// Lib_ListView, the one list window: searches, the expiry list, the
// category export and import and the trace log show their rows in it. The
// caller fills it, shows it modally and reads which row the user chose.
// Around the list: sorting on a column, a filter box, the export and print
// commands, and the count of rows.

#include "components/ListTable.h"

#include <QDialog>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QStatusBar;
class QTableWidget;
class QTreeView;

namespace keyholm {

class KeyToolBar;
class ListModel;

class ListView : public QDialog {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);
    ~ListView() override;

    // The title band's caption ("Titre:" until set).
    void SetTitle(const QString& title);
    QString Title() const;
    // Whether the export and print band shows.
    void ShowCommandBand(bool shown);

    void AddColumn(const QString& header, int widthTwips, Qt::Alignment alignment = Qt::AlignLeft);
    void AddRow(const QStringList& cells, qint64 tag);
    // The whole content at once (columns and rows); the fast way.
    void SetTable(ListTable table);
    const ListTable& Table() const;
    // Runs `change` on the rows and columns, then shows them anew.
    void ChangeTable(const std::function<void(ListTable&)>& change);

    // Makes the row (0-based, in the list's present order) current.
    void ListViewInfo_ItemClick(int row);
    // The column header's click: sorts on it, ascending first, then
    // reversed at each further click (only in sorted mode).
    void SortOnColumn(int column);
    void SetSortable(bool sortable) { sortable_ = sortable; }

    // The outcome, once the window has closed: whether a row was chosen,
    // its 1-based position and its tag.
    bool Chosen() const;
    int ChosenIndex() const;
    qint64 ChosenTag() const;

    // The export settings: the HTML export takes its colours and fonts
    // from the application options (else the defaults), and the CSV
    // export offers a header line.
    bool useOptionStyle = false;
    bool exportHeader = false;
    // Whether the list holds secrets in clear: then Ctrl+C copies nothing.
    bool holdsSecrets = false;

    // The controls.
    QWidget* CoolBarCmd = nullptr;
    std::array<QWidget*, 4> Bands {}; // CoolBarCmd_1 .. _4
    QLabel* TitleBand = nullptr; // in band 1
    QLabel* CountBand = nullptr; // in band 4
    KeyToolBar* ListViewCommande = nullptr;
    QLineEdit* LineFilter = nullptr;
    QTreeView* ListViewInfo = nullptr;
    QWidget* ZoneCommande = nullptr;
    QPushButton* cmdSelection = nullptr;
    QPushButton* cmdFermer = nullptr;
    QTableWidget* UneGrille = nullptr; // hidden, for printing
    QStatusBar* theStatusBar = nullptr;

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdSelection_Click();
    void cmdFermer_Click();
    void ListViewInfo_DblClick();
    void Form_Activate();
    void CopyRows() const;
    // The source row of a row of the view; -1 for none.
    int SourceRow(int viewRow) const;
    void RestoreColumnWidths();
    void SaveColumnWidths() const;

    ListModel* model_;
    QSortFilterProxyModel* filter_;
    int currentRow_ = -1; // source row
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
    bool sortable_ = true;
};

} // namespace keyholm
