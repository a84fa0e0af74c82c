#include "components/ListTools.h"

#include "components/CipherEngine.h"
#include "components/FileTools.h"

#include <QUrl>
#include <QXmlStreamWriter>

#include <algorithm>

namespace keyholm {
namespace {

const QLatin1String CrLf("\r\n");
constexpr qsizetype ChunkSize = 64 * 1024;

// The cells a row is written with: one a column, or its own when the list
// has no columns.
int CellCount(const ListTable& list, const ListRow& row)
{
    return list.columns.empty() ? int(row.cells.size()) : list.ColumnCount();
}

// Collects a file's text and hands it to the device as UTF-8 a chunk at a
// time. The lists may hold decoded passwords: what it held is wiped.
class TextSink {
public:
    // With `lineFeeds`, the text's LFs are written as CR LF.
    explicit TextSink(QIODevice& device, bool lineFeeds = false)
        : device_(device)
        , lineFeeds_(lineFeeds)
    {
        text_.reserve(ChunkSize + 4096);
    }
    ~TextSink() { CipherEngine::Wipe(text_); }
    TextSink(const TextSink&) = delete;
    TextSink& operator=(const TextSink&) = delete;

    QString& Text() { return text_; }
    bool PutBytes(const QByteArray& bytes)
    {
        ok_ = ok_ && device_.write(bytes) == bytes.size();
        return ok_;
    }
    // Writes what was collected once it makes a chunk, or now when `all`.
    bool Flush(bool all = false)
    {
        if (!all && text_.size() < ChunkSize)
            return ok_;
        if (!text_.isEmpty()) {
            QByteArray bytes;
            if (lineFeeds_) {
                QString lines = text_; // replaced in a copy, so that both can be wiped
                lines.replace(u'\n', QLatin1String("\r\n"));
                bytes = lines.toUtf8();
                CipherEngine::Wipe(lines);
            } else {
                bytes = text_.toUtf8();
            }
            PutBytes(bytes);
            CipherEngine::Wipe(bytes);
            CipherEngine::Wipe(text_);
            text_.reserve(ChunkSize + 4096);
        }
        return ok_;
    }

private:
    QIODevice& device_;
    bool lineFeeds_ = false;
    QString text_;
    bool ok_ = true;
};

// How many QChars from `i` on make one character that XML 1.0 can hold;
// 0 when the one there is not such a character.
int XmlCharWidth(const QChar* text, qsizetype size, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (c < 0x20)
        return c == u'\t' || c == u'\n' || c == u'\r' ? 1 : 0;
    if (QChar::isHighSurrogate(c))
        return i + 1 < size && text[i + 1].isLowSurrogate() ? 2 : 0;
    if (QChar::isLowSurrogate(c) || c == 0xFFFE || c == 0xFFFF)
        return 0;
    return 1;
}

// The text with U+FFFD for every character XML 1.0 cannot hold (Qt's
// writer would drop it silently; a reader would stop at it).
QString XmlSafe(const QString& text)
{
    const QChar* data = text.constData();
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        const char16_t c = data[i].unicode();
        const int width = c >= 0x20 && c < 0xD800 ? 1 : XmlCharWidth(data, size, i);
        if (width == 0)
            break;
        i += width;
    }
    if (i == size)
        return text;
    QString safe;
    safe.reserve(size);
    safe.append(data, i);
    while (i < size) {
        const int width = XmlCharWidth(data, size, i);
        if (width == 0) {
            safe += QChar::ReplacementCharacter;
            ++i;
        } else {
            safe.append(data + i, width);
            i += width;
        }
    }
    return safe;
}

// Escaped for HTML text and attributes; a line break (CR LF, CR or LF)
// becomes `lineBreak`.
void AppendHtml(QString& out, const QString& raw, QLatin1String lineBreak)
{
    const QString text = XmlSafe(raw);
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        case u'\'':
            out += QLatin1String("&#39;");
            break;
        case u'\r':
            if (i + 1 < size && text[i + 1] == u'\n')
                ++i;
            out += lineBreak;
            break;
        case u'\n':
            out += lineBreak;
            break;
        default:
            out += c;
        }
    }
}

bool IsHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

bool IsAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// A colour goes into a style attribute: only "#RGB", "#RRGGBB" or a name.
QString SafeColour(const QString& colour, const QString& fallback)
{
    const QString text = colour.trimmed();
    if (text.isEmpty())
        return fallback;
    if (text.startsWith(u'#')) {
        const bool hex = std::all_of(text.begin() + 1, text.end(), IsHexDigit);
        return hex && (text.size() == 4 || text.size() == 7) ? text : fallback;
    }
    return std::all_of(text.begin(), text.end(), IsAsciiLetter) ? text : fallback;
}

// A font name goes into a quoted style value: letters, digits, blanks and "-_." only.
QString SafeFont(const QString& font, const QString& fallback)
{
    QString name;
    for (const QChar c : font) {
        if (c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_' || c == u'.')
            name += c;
    }
    name = name.simplified();
    return name.isEmpty() ? fallback : name;
}

QLatin1String AlignmentName(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignRight)
        return QLatin1String("right");
    if (alignment & Qt::AlignHCenter)
        return QLatin1String("center");
    return QLatin1String("left");
}

// Element text, with its CRs as references so that a reader gets them back
// (a raw CR would read as a line feed).
void WriteXmlText(QXmlStreamWriter& xml, const QString& raw)
{
    const QString text = XmlSafe(raw);
    qsizetype from = 0;
    for (;;) {
        const qsizetype cr = text.indexOf(u'\r', from);
        const qsizetype end = cr < 0 ? text.size() : cr;
        if (end > from)
            xml.writeCharacters(from == 0 && cr < 0 ? text : text.mid(from, end - from));
        if (cr < 0)
            return;
        xml.writeEntityReference(QStringLiteral("#13"));
        from = cr + 1;
    }
}

void SetCell(ListRow& row, int column, const QString& text)
{
    while (row.cells.size() <= column)
        row.cells.append(QString());
    row.cells[column] = text;
}

bool IsBlank(const QString& text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

} // namespace

DelimitedListWriter::DelimitedListWriter(QChar separator, QChar quote, QString headerLine, bool byteOrderMark)
    : separator_(separator)
    , quote_(quote)
    , headerLine_(std::move(headerLine))
    , byteOrderMark_(byteOrderMark)
    , quoting_(quote.isNull() ? Quoting::WhereNeeded : Quoting::Always)
{
}

DelimitedListWriter DelimitedListWriter::Csv(const QString& headerLine)
{
    return DelimitedListWriter(u';', QChar(), headerLine, true);
}

DelimitedListWriter DelimitedListWriter::Txt()
{
    return DelimitedListWriter(u'\t', u'"', QString(), false);
}

DelimitedListWriter DelimitedListWriter::Prn()
{
    DelimitedListWriter writer(u' ', QChar(), QString(), false);
    writer.quoting_ = Quoting::Never;
    return writer;
}

QString DelimitedListWriter::CsvHeaderLine(const ListTable& list)
{
    const DelimitedListWriter csv = Csv();
    QString line;
    for (int c = 0; c < list.ColumnCount(); ++c) {
        if (c > 0)
            line += csv.separator_;
        csv.AppendCell(line, list.columns[c].header);
    }
    return line;
}

void DelimitedListWriter::AppendCell(QString& line, const QString& cell) const
{
    switch (quoting_) {
    case Quoting::Never:
        for (qsizetype i = 0; i < cell.size(); ++i) {
            const QChar c = cell[i];
            if (c == u'\r' || c == u'\n') {
                if (c == u'\r' && i + 1 < cell.size() && cell[i + 1] == u'\n')
                    ++i;
                line += u' ';
            } else {
                line += c;
            }
        }
        return;
    case Quoting::WhereNeeded: {
        const bool needed = std::any_of(cell.begin(), cell.end(),
            [this](QChar c) { return c == separator_ || c == u'"' || c == u'\r' || c == u'\n'; });
        if (!needed) {
            line += cell;
            return;
        }
        break;
    }
    case Quoting::Always:
        break;
    }
    const QChar quote = quote_.isNull() ? QChar(u'"') : quote_;
    line += quote;
    for (const QChar c : cell) {
        if (c == quote)
            line += quote;
        line += c;
    }
    line += quote;
}

bool DelimitedListWriter::Write(const ListTable& list, QIODevice& device) const
{
    TextSink sink(device);
    if (byteOrderMark_ && !sink.PutBytes(QByteArrayLiteral("\xEF\xBB\xBF")))
        return false;
    QString& out = sink.Text();
    if (!headerLine_.isEmpty())
        out += headerLine_ + CrLf;
    for (const ListRow& row : list.rows) {
        const int cells = CellCount(list, row);
        for (int c = 0; c < cells; ++c) {
            if (c > 0)
                out += separator_;
            AppendCell(out, row.Cell(c));
        }
        out += CrLf;
        if (!sink.Flush())
            return false;
    }
    return sink.Flush(true);
}

HtmlListWriter::HtmlListWriter(HtmlListStyle style)
    : style_(std::move(style))
{
}

bool HtmlListWriter::Write(const ListTable& list, QIODevice& device) const
{
    const HtmlListStyle defaults;
    const QString rowColours[2] = {
        SafeColour(style_.firstRow, defaults.firstRow),
        SafeColour(style_.secondRow, defaults.secondRow),
    };
    const QString contentFont = SafeFont(style_.contentFont, defaults.contentFont);

    TextSink sink(device);
    QString& out = sink.Text();
    out += QLatin1String("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\"/>\r\n<title>");
    AppendHtml(out, list.title, QLatin1String(" "));
    out += QLatin1String("</title>\r\n</head>\r\n<body style=\"background-color:")
        + SafeColour(style_.pageBackground, defaults.pageBackground) + QLatin1String(";color:")
        + SafeColour(style_.text, defaults.text) + QLatin1String(";font-family:&quot;") + contentFont
        + QLatin1String("&quot;,sans-serif");
    if (!style_.backgroundPicture.isEmpty()) {
        // Encoded, the address holds no quote or backslash that could end the CSS string.
        out += QLatin1String(";background-image:url(&quot;");
        AppendHtml(out, QUrl::fromLocalFile(style_.backgroundPicture).toString(QUrl::FullyEncoded), QLatin1String(" "));
        out += QLatin1String("&quot;)");
    }
    out += QLatin1String("\">\r\n");
    if (!list.title.isEmpty()) {
        out += QLatin1String("<h1 style=\"font-family:&quot;") + SafeFont(style_.titleFont, defaults.titleFont)
            + QLatin1String("&quot;,sans-serif\">");
        AppendHtml(out, list.title, QLatin1String("<br/>"));
        out += QLatin1String("</h1>\r\n");
    }
    // pre-wrap keeps the blanks and tabs of a cell as they are.
    out += QLatin1String("<table border=\"") + QString::number(std::max(style_.border, 0))
        + QLatin1String("\" cellspacing=\"0\" cellpadding=\"4\" style=\"background-color:")
        + SafeColour(style_.firstBackground, defaults.firstBackground) + QLatin1String(";font-family:&quot;")
        + contentFont + QLatin1String("&quot;,sans-serif;white-space:pre-wrap\">\r\n<tr>");

    std::vector<QString> cellTags; // "<td>" or "<td style=…>", a column each
    for (const ListColumn& column : list.columns) {
        const QLatin1String align = AlignmentName(column.alignment);
        const QString style = QLatin1String(" style=\"text-align:") + align + QLatin1String("\"");
        cellTags.push_back(align == QLatin1String("left") ? QStringLiteral("<td>")
                                                          : QString(QLatin1String("<td") + style + QLatin1String(">")));
        out += QLatin1String("<th") + style + QLatin1String(">");
        AppendHtml(out, column.header, QLatin1String("<br/>"));
        out += QLatin1String("</th>");
    }
    out += QLatin1String("</tr>\r\n");

    const QString plainCell = QStringLiteral("<td>");
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
        const ListRow& row = list.rows[r];
        out += QLatin1String("<tr style=\"background-color:") + rowColours[r % 2] + QLatin1String("\">");
        const int cells = CellCount(list, row);
        for (int c = 0; c < cells; ++c) {
            out += c < int(cellTags.size()) ? cellTags[c] : plainCell;
            AppendHtml(out, row.Cell(c), QLatin1String("<br/>"));
            out += QLatin1String("</td>");
        }
        out += QLatin1String("</tr>\r\n");
        if (!sink.Flush())
            return false;
    }
    out += QLatin1String("</table>\r\n</body>\r\n</html>\r\n");
    return sink.Flush(true);
}

bool XmlListWriter::Write(const ListTable& list, QIODevice& device) const
{
    // The writer appends to the sink's text, which is cheaper than its own
    // encoding of every piece; its line ends are LFs (raw CRs never reach it:
    // they are written as references) and become CR LF on their way out.
    TextSink sink(device, true);
    sink.Text() += QLatin1String("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    QXmlStreamWriter xml(&sink.Text());
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartElement(QStringLiteral("list"));
    xml.writeAttribute(QStringLiteral("title"), XmlSafe(list.title));

    xml.writeStartElement(QStringLiteral("columns"));
    for (const ListColumn& column : list.columns) {
        xml.writeStartElement(QStringLiteral("column"));
        xml.writeAttribute(QStringLiteral("width"), QString::number(column.widthTwips));
        xml.writeAttribute(QStringLiteral("align"), AlignmentName(column.alignment));
        WriteXmlText(xml, column.header);
        xml.writeEndElement();
    }
    xml.writeEndElement();

    const QString rowName = QStringLiteral("row");
    const QString cellName = QStringLiteral("cell");
    xml.writeStartElement(QStringLiteral("rows"));
    for (const ListRow& row : list.rows) {
        xml.writeStartElement(rowName);
        const int cells = CellCount(list, row);
        for (int c = 0; c < cells; ++c) {
            xml.writeStartElement(cellName);
            WriteXmlText(xml, row.Cell(c));
            xml.writeEndElement();
        }
        xml.writeEndElement();
        if (xml.hasError() || !sink.Flush())
            return false;
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError() && sink.Flush(true);
}

bool WriteListFile(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    return FileTools::WriteAtomically(path, write, FileTools::OwnerOnly, FileTools::ExistingMode::Reset);
}

bool DeleteDuplicateLines(ListTable& list, int first, int second, int counter)
{
    const int columns = list.ColumnCount();
    if (first < 1 || second < 1 || first > columns || second > columns)
        return false;
    const int a = first - 1;
    const int b = second - 1;
    const bool counting = counter > 1 && counter <= columns && counter != first && counter != second;

    ListRow* kept = nullptr;
    for (ListRow& row : list.rows) {
        const bool repeat
            = kept && row.tag == kept->tag && row.Cell(a) == kept->Cell(a) && row.Cell(b) == kept->Cell(b);
        if (!repeat) {
            kept = &row;
            continue;
        }
        if (counting) {
            bool number = false;
            const qint64 count = kept->Cell(counter - 1).trimmed().toLongLong(&number);
            SetCell(*kept, counter - 1, QString::number(number ? count + 1 : 1));
        }
        if (a < row.cells.size())
            row.cells[a].clear();
        if (b < row.cells.size())
            row.cells[b].clear();
    }
    std::erase_if(list.rows, [a, b](const ListRow& row) { return IsBlank(row.Cell(a)) && IsBlank(row.Cell(b)); });
    FinishList(list);
    return true;
}

void FinishList(ListTable& list)
{
    const int columns = list.ColumnCount();
    for (ListRow& row : list.rows) {
        if (row.cells.size() < columns) {
            row.cells.reserve(columns);
            while (row.cells.size() < columns)
                row.cells.append(QString());
        }
    }
}

} // namespace keyholm
