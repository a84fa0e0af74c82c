// libFuzzer target: the list writers. Any table (cells from the input, with
// every character it holds) is written as XML and HTML that parse as XML
// with the table's rows, and as CSV that reads back to the same cells.

#include "components/DelimitedText.h"
#include "components/ListTools.h"
#include "components/TextEncoding.h"

#include <QBuffer>
#include <QXmlStreamReader>

#include <cstddef>
#include <cstdint>

using namespace keyholm;

namespace {

template <class Writer> QByteArray Written(const Writer& writer, const ListTable& list)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!writer.Write(list, buffer))
        __builtin_trap();
    return bytes;
}

// The elements named `name` in a well-formed document; traps otherwise.
int Elements(const QByteArray& document, const QString& name)
{
    QXmlStreamReader xml(document);
    int count = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == name)
            ++count;
    }
    if (xml.hasError())
        __builtin_trap();
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Rows at 0x1E, cells at 0x1F: any other character goes into a cell.
    const QString text = DecodeTextBytes(QByteArrayView(data, qsizetype(size)));
    ListTable list;
    list.title = text.left(20);
    int columns = 0;
    for (const QString& line : text.split(QChar(0x1E))) {
        const QStringList cells = line.split(QChar(0x1F));
        columns = std::max(columns, int(cells.size()));
        list.rows.push_back({ cells, 0 });
    }
    for (int c = 0; c < columns; ++c)
        list.columns.push_back({ QStringLiteral("C%1").arg(c), 1000, Qt::AlignLeft });
    FinishList(list);

    if (Elements(Written(XmlListWriter(), list), QStringLiteral("row")) != list.RowCount())
        __builtin_trap();
    (void)Elements(Written(HtmlListWriter(), list), QStringLiteral("tr"));

    // The CSV reader keeps rows that hold a cell that is not blank, and
    // reads every line break as one LF.
    std::vector<QStringList> expected;
    for (const ListRow& row : list.rows) {
        QStringList cells = row.cells;
        bool blank = true;
        for (QString& cell : cells) {
            cell.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            cell.replace(u'\r', u'\n');
            blank = blank && cell.trimmed().isEmpty();
        }
        if (!blank)
            expected.push_back(cells);
    }
    const DelimitedText read = ParseDelimited(DecodeTextBytes(Written(DelimitedListWriter::Csv(), list)), u';');
    if (read.rows != expected)
        __builtin_trap();
    return 0;
}
