#include "support/FullDisk.h"
#include "support/QtPrinters.h"
#include "support/TestFiles.h"

#include "components/ListTools.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace keyholm;
using keyholm::test::Read;

namespace {

const QString Control = QString(QChar(1)) + "ctl";

// Cells that break a naive writer, one golden list for every format.
ListTable Golden()
{
    ListTable list;
    list.title = "Résultats <b>&\"'";
    list.columns = { { "Nom", 3000, Qt::AlignLeft }, { "Mot de passe #1", 2000, Qt::AlignRight },
        { "Note", 4000, Qt::AlignHCenter } };
    list.rows = {
        { { "a;b", "x\"y", "line1\r\nline2" }, 1 },
        { { " lead/trail ", "=1+1", "é€🔑" }, 2 },
        { { "<script>&'", "tab\there", Control }, 3 },
        { { "", "plain", "" }, 4 },
    };
    return list;
}

std::vector<QStringList> GoldenCells(bool htmlBreaks, bool xmlSafe)
{
    std::vector<QStringList> cells;
    for (const ListRow& row : Golden().rows) {
        QStringList texts = row.cells;
        for (QString& text : texts) {
            if (htmlBreaks)
                text.replace("\r\n", "\n");
            if (xmlSafe)
                text.replace(QChar(1), QChar::ReplacementCharacter);
        }
        cells.push_back(texts);
    }
    return cells;
}

template <class Writer> QByteArray WriteToBytes(const Writer& writer, const ListTable& list = Golden())
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writer.Write(list, buffer));
    return bytes;
}

// RFC 4180 with ";" between cells and CR LF between records.
std::vector<QStringList> ReadCsv(const QByteArray& bytes)
{
    const QString text = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
    std::vector<QStringList> records;
    QStringList record;
    QString cell;
    bool quoted = false;
    bool cellStart = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (quoted) {
            if (c == '"' && next == '"') {
                cell += c;
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"' && cellStart) {
            quoted = true;
        } else if (c == ';' || (c == '\r' && next == '\n')) {
            record << cell;
            cell.clear();
            if (c == '\r') {
                records.push_back(record);
                record.clear();
                ++i;
            }
            cellStart = true;
            continue;
        } else {
            cell += c;
        }
        cellStart = false;
    }
    EXPECT_TRUE(record.isEmpty() && cell.isEmpty()) << "the last record ends with CR LF";
    return records;
}

bool EveryLineEndsWithCrLf(const QByteArray& bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            return false;
    }
    return bytes.endsWith("\r\n");
}

struct HtmlPage {
    QString title;
    QString heading;
    QString bodyStyle;
    QString headingStyle;
    QString tableStyle;
    QStringList headers;
    std::vector<QStringList> rows;
    QStringList rowStyles;
    QStringList elements;
};

// Reads the page as XML: it must be well-formed. <br/> reads as a line feed.
HtmlPage ReadHtml(const QByteArray& bytes)
{
    HtmlPage page;
    QXmlStreamReader xml(bytes);
    QString* text = nullptr;
    while (!xml.atEnd()) {
        xml.readNext();
        const QString name = xml.name().toString();
        const QString style = xml.attributes().value("style").toString();
        if (xml.isStartElement()) {
            page.elements << name;
            if (name == "title") {
                text = &page.title;
            } else if (name == "h1") {
                text = &page.heading;
                page.headingStyle = style;
            } else if (name == "body") {
                page.bodyStyle = style;
            } else if (name == "table") {
                page.tableStyle = style;
            } else if (name == "th") {
                page.headers << QString();
                text = &page.headers.last();
            } else if (name == "tr" && !style.isEmpty()) {
                page.rows.emplace_back();
                page.rowStyles << style;
            } else if (name == "td") {
                page.rows.back() << QString();
                text = &page.rows.back().last();
            } else if (name == "br" && text) {
                *text += '\n';
            }
        } else if (xml.isCharacters() && text) {
            *text += xml.text();
        } else if (xml.isEndElement() && name != "br") {
            text = nullptr;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return page;
}

TEST(ListTools, CsvReadsBackCellForCellAndQuotesOnlyWhereNeeded)
{
    const ListTable list = Golden();
    const QString header = DelimitedListWriter::CsvHeaderLine(list);
    EXPECT_EQ(header, "Nom;Mot de passe #1;Note");

    const QByteArray csv = WriteToBytes(DelimitedListWriter::Csv(header));
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBF"
                               "Nom;Mot de passe #1;Note\r\n"));
    EXPECT_TRUE(csv.contains("\r\n lead/trail ;=1+1;é€🔑\r\n")) << "plain cells stand as they are";
    std::vector<QStringList> expected = GoldenCells(false, false);
    expected.insert(expected.begin(), QStringList { "Nom", "Mot de passe #1", "Note" });
    EXPECT_EQ(ReadCsv(csv), expected);

    EXPECT_FALSE(WriteToBytes(DelimitedListWriter::Csv()).contains("Nom")) << "no header line unless asked";
}

TEST(ListTools, TxtQuotesEveryCellAndPrnKeepsOneLineARow)
{
    const struct {
        const char* name;
        DelimitedListWriter writer;
        QByteArray expected;
    } cases[] = {
        { "txt", DelimitedListWriter::Txt(),
            "\"a;b\"\t\"x\"\"y\"\t\"line1\r\nline2\"\r\n"
            "\" lead/trail \"\t\"=1+1\"\t\"é€🔑\"\r\n"
            "\"<script>&'\"\t\"tab\there\"\t\"\x01"
            "ctl\"\r\n"
            "\"\"\t\"plain\"\t\"\"\r\n" },
        { "prn", DelimitedListWriter::Prn(),
            "a;b x\"y line1 line2\r\n"
            " lead/trail  =1+1 é€🔑\r\n"
            "<script>&' tab\there \x01"
            "ctl\r\n"
            " plain \r\n" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(WriteToBytes(c.writer), c.expected) << c.name;
}

TEST(ListTools, HtmlShowsEveryCellAsTextInTheGivenStyle)
{
    HtmlListStyle style;
    style.pageBackground = "red\"><script>";
    style.text = "#123";
    style.secondRow = "#E0E0E0";
    style.titleFont = " ";
    style.contentFont = "Arial\"; x:expression(1)";
    style.border = 1;
    style.backgroundPicture = "/tmp/a b\"c.png";
    const QByteArray bytes = WriteToBytes(HtmlListWriter(style));
    EXPECT_TRUE(bytes.startsWith("<!DOCTYPE html>\r\n"));
    EXPECT_TRUE(bytes.contains("<meta charset=\"utf-8\"/>"));
    EXPECT_TRUE(EveryLineEndsWithCrLf(bytes));

    const HtmlPage page = ReadHtml(bytes);
    const ListTable list = Golden();
    EXPECT_EQ(page.title, list.title);
    EXPECT_EQ(page.heading, list.title);
    EXPECT_EQ(page.headers, QStringList({ "Nom", "Mot de passe #1", "Note" }));
    EXPECT_EQ(page.rows, GoldenCells(true, true));
    EXPECT_FALSE(page.elements.contains("script"));
    EXPECT_FALSE(page.elements.contains("b"));

    EXPECT_EQ(page.bodyStyle,
        "background-color:white;color:#123;font-family:\"Arial xexpression1\",sans-serif;"
        "background-image:url(\"file:///tmp/a%20b%22c.png\")");
    EXPECT_EQ(page.headingStyle, "font-family:\"Verdana\",sans-serif");
    EXPECT_TRUE(page.tableStyle.contains("font-family:\"Arial xexpression1\""));
    EXPECT_EQ(page.rowStyles,
        QStringList({ "background-color:white", "background-color:#E0E0E0", "background-color:white",
            "background-color:#E0E0E0" }));
}

TEST(ListTools, XmlHoldsTheColumnsAndRowsUnderFixedNames)
{
    const QByteArray bytes = WriteToBytes(XmlListWriter());
    EXPECT_TRUE(bytes.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
    EXPECT_TRUE(EveryLineEndsWithCrLf(bytes));

    QXmlStreamReader xml(bytes);
    ASSERT_TRUE(xml.readNextStartElement());
    ASSERT_EQ(xml.name(), QLatin1String("list"));
    EXPECT_EQ(xml.attributes().value("title"), Golden().title);
    QStringList columns;
    std::vector<QStringList> rows;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("column")) {
            const auto attributes = xml.attributes();
            columns << attributes.value("width").toString() + "/" + attributes.value("align").toString() + "/"
                    + xml.readElementText();
        } else if (xml.name() == QLatin1String("row")) {
            rows.emplace_back();
        } else if (xml.name() == QLatin1String("cell")) {
            rows.back() << xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(columns, QStringList({ "3000/left/Nom", "2000/right/Mot de passe #1", "4000/center/Note" }));
    EXPECT_EQ(rows, GoldenCells(false, true));
}

TEST(ListTools, AFailingDeviceFailsEveryWriter)
{
    const std::function<bool(QIODevice&)> writers[] = {
        [](QIODevice& d) { return DelimitedListWriter::Csv().Write(Golden(), d); },
        [](QIODevice& d) { return DelimitedListWriter::Txt().Write(Golden(), d); },
        [](QIODevice& d) { return DelimitedListWriter::Prn().Write(Golden(), d); },
        [](QIODevice& d) { return HtmlListWriter().Write(Golden(), d); },
        [](QIODevice& d) { return XmlListWriter().Write(Golden(), d); },
    };
    for (std::size_t i = 0; i < std::size(writers); ++i) {
        QByteArray bytes;
        QBuffer readOnly(&bytes);
        readOnly.open(QIODevice::ReadOnly);
        EXPECT_FALSE(writers[i](readOnly)) << i;
    }
}

mode_t Mode(const QString& path)
{
    struct stat info { };
    ::stat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

TEST(ListTools, AFailedFileWriteLeavesTheOldFileWhole)
{
    const QByteArray old = "the old export\r\n";
    const auto csv = [](QIODevice& d) { return DelimitedListWriter::Csv().Write(Golden(), d); };
    const struct {
        const char* name;
        std::function<bool(QIODevice&)> write;
        bool readOnlyFolder;
        long long diskBytes;
    } cases[] = {
        { "the writer fails half way",
            [](QIODevice& d) {
                d.write("half");
                return false;
            },
            false, 0 },
        { "the disk is full", csv, false, 4 },
        { "the folder is read-only", csv, true, 0 },
    };
    for (const auto& c : cases) {
        if (c.readOnlyFolder && ::geteuid() == 0)
            continue; // nothing is read-only to root
        QTemporaryDir dir;
        const QString path = dir.filePath("Fichier.csv");
        test::Write(path, old);
        if (c.readOnlyFolder) {
            ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        }
        bool written = true;
        {
            std::optional<test::FullDisk> disk;
            if (c.diskBytes > 0)
                disk.emplace(c.diskBytes);
            written = WriteListFile(path, c.write);
        }
        QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        EXPECT_FALSE(written) << c.name;
        EXPECT_EQ(Read(path), old) << c.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList { "Fichier.csv" }) << c.name;
    }
}

TEST(ListTools, TheWrittenFileIsTheOwnersAlone)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath("Fichier.xml");
    const QString shared = dir.filePath("Fichier.htm");
    test::Write(shared, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0644), 0);
    for (const QString& path : { fresh, shared }) {
        ASSERT_TRUE(WriteListFile(path, [](QIODevice& d) { return XmlListWriter().Write(Golden(), d); }));
        EXPECT_EQ(Read(path), WriteToBytes(XmlListWriter()));
        EXPECT_EQ(Mode(path), mode_t(0600)) << path.toStdString();
    }
}

// Rows are given as "cell|cell|cell" with their tag.
ListTable Rows(const std::vector<std::pair<QString, qint64>>& rows)
{
    ListTable list;
    list.columns = { { "Label" }, { "Niveau" }, { "Nombre" } };
    for (const auto& [cells, tag] : rows)
        list.rows.push_back({ cells.split('|'), tag });
    return list;
}

TEST(ListTools, DeleteDuplicateLinesRemovesAdjacentRepeatsOfTheSameEntry)
{
    const struct {
        const char* name;
        std::vector<std::pair<QString, qint64>> rows;
        int first, second, counter;
        bool ok;
        QStringList expected;
    } cases[] = {
        { "three equal rows", { { "A|x|", 1 }, { "A|x|", 1 }, { "A|x|", 1 } }, 1, 2, -1, true, { "A|x|" } },
        { "only adjacent repeats", { { "A|x|", 1 }, { "B|x|", 2 }, { "A|x|", 1 } }, 1, 2, -1, true,
            { "A|x|", "B|x|", "A|x|" } },
        { "the kept row counts", { { "A|x|1", 1 }, { "A|x|", 1 }, { "A|x|", 1 } }, 1, 2, 3, true, { "A|x|3" } },
        { "no count in a compared column", { { "A|x|1", 1 }, { "A|x|", 1 } }, 1, 2, 2, true, { "A|x|1" } },
        { "case counts", { { "a|x|", 1 }, { "A|x|", 1 } }, 1, 2, -1, true, { "a|x|", "A|x|" } },
        { "blanks count", { { "a |x|", 1 }, { "a|x|", 1 } }, 1, 2, -1, true, { "a |x|", "a|x|" } },
        { "rows blank in both columns go", { { "A|x|", 1 }, { " | |n", 2 }, { "B|y|", 3 }, { "|z|", 4 } }, 1, 2, -1,
            true, { "A|x|", "B|y|", "|z|" } },
        { "another pair of columns", { { "A|x|n", 1 }, { "B|x|n", 1 } }, 2, 3, -1, true, { "A|x|n" } },
        { "different entries that look alike", { { "A|x|", 1 }, { "A|x|", 2 } }, 1, 2, -1, true, { "A|x|", "A|x|" } },
        { "a column below 1", { { "A|x|", 1 }, { "A|x|", 1 } }, 0, 2, -1, false, { "A|x|", "A|x|" } },
        { "a column beyond the list", { { "A|x|", 1 }, { "A|x|", 1 } }, 1, 4, -1, false, { "A|x|", "A|x|" } },
    };
    for (const auto& c : cases) {
        ListTable list = Rows(c.rows);
        EXPECT_EQ(DeleteDuplicateLines(list, c.first, c.second, c.counter), c.ok) << c.name;
        QStringList rows;
        for (const ListRow& row : list.rows)
            rows << row.cells.join('|');
        EXPECT_EQ(rows, c.expected) << c.name;
    }
}

} // namespace
