#pragma once
// Operations on a filled list: the writers of its five file formats, the
// owner-only file they write into, and the removal of repeated rows.

#include "components/ListTable.h"

#include <QChar>
#include <QIODevice>
#include <QString>

#include <functional>

namespace keyholm {

// Cells joined by a separator, one line a row, UTF-8 with CR LF line ends.
class DelimitedListWriter {
public:
    // Without a quote character a cell is put in double quotes only when it
    // holds the separator, a double quote or a line break (inner quotes
    // doubled), so that the file reads back; every other cell stands as it is.
    // With one, every cell is put in it, inner quote characters doubled.
    // A header line, when not empty, comes first, as it stands.
    DelimitedListWriter(QChar separator, QChar quote, QString headerLine, bool byteOrderMark);

    // ";" separated, quoted where needed, with a byte order mark.
    static DelimitedListWriter Csv(const QString& headerLine = {});
    // TAB separated, every cell in double quotes.
    static DelimitedListWriter Txt();
    // Blank separated, for reading only: never quoted, and a line break in
    // a cell becomes a blank so that a row stays one line.
    static DelimitedListWriter Prn();

    // The column headers as the CSV writer writes a row.
    static QString CsvHeaderLine(const ListTable& list);

    [[nodiscard]] bool Write(const ListTable& list, QIODevice& device) const;

private:
    enum class Quoting { WhereNeeded, Always, Never };
    void AppendCell(QString& line, const QString& cell) const;

    QChar separator_;
    QChar quote_;
    QString headerLine_;
    bool byteOrderMark_ = false;
    Quoting quoting_ = Quoting::WhereNeeded;
};

// The look of the HTML page. Colours are CSS colours ("#RRGGBB", "#RGB" or a
// name); anything else falls back to the default of the field.
struct HtmlListStyle {
    QString pageBackground = QStringLiteral("white");
    QString text = QStringLiteral("black");
    QString firstBackground = QStringLiteral("white"); // behind the table and its header row
    QString firstRow = QStringLiteral("white");
    QString secondRow = QStringLiteral("white");
    QString titleFont = QStringLiteral("Verdana");
    QString contentFont = QStringLiteral("Verdana");
    int border = 0;
    QString backgroundPicture; // a local file, none when empty
};

// One page showing the title and the list as a table, rows in alternating
// colours. It is also well-formed XML, so that every tag is closed.
class HtmlListWriter {
public:
    explicit HtmlListWriter(HtmlListStyle style = {});
    [[nodiscard]] bool Write(const ListTable& list, QIODevice& device) const;

private:
    HtmlListStyle style_;
};

// One XML document: <list title><columns><column width align>header…
// <rows><row><cell>text…, element names fixed whatever the headers hold.
class XmlListWriter {
public:
    [[nodiscard]] bool Write(const ListTable& list, QIODevice& device) const;
};

// Writes `path` through `write`, whole or not at all (a failure leaves an
// older file as it was); the file is its owner's alone.
[[nodiscard]] bool WriteListFile(const QString& path, const std::function<bool(QIODevice&)>& write);

// Removes the rows that repeat the row kept before them in the columns
// `first` and `second` (numbered from 1, the row's text being column 1),
// compared exactly, and having the same tag: two entries that only look
// alike both stay. When `counter` is a further column, the kept row counts
// its repeats there. Rows left empty in both columns (trimmed) go as well.
// False, and the list untouched, when a column number is out of range.
bool DeleteDuplicateLines(ListTable& list, int first, int second, int counter);

// Gives every row a cell for each column, so that readers of the list find
// them all; nothing is moved or dropped.
void FinishList(ListTable& list);

} // namespace keyholm
