#include "support/QtPrinters.h"
#include "support/TestFiles.h"

#include "components/DelimitedText.h"
#include "components/ListTools.h"
#include "components/TextEncoding.h"

#include <QBuffer>
#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace keyholm;

namespace {

using Rows = std::vector<QStringList>;

TEST(TextEncoding, TheBytesOfEveryUsualEncodingGiveTheSameText)
{
    const QString text = QStringLiteral("Catégorie;Société €\r\nŒuvre;“ok”");
    auto encoded = [&](QStringConverter::Encoding encoding) { return test::Encoded(encoding, text); };
    const QByteArray cp1252 = "Cat\xE9gorie;Soci\xE9t\xE9 \x80\r\n\x8C"
                              "uvre;\x93ok\x94";
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        { "UTF-8", encoded(QStringConverter::Utf8) },
        { "UTF-8 with BOM", "\xEF\xBB\xBF" + encoded(QStringConverter::Utf8) },
        { "UTF-16LE with BOM", "\xFF\xFE" + encoded(QStringConverter::Utf16LE) },
        { "UTF-16BE with BOM", "\xFE\xFF" + encoded(QStringConverter::Utf16BE) },
        { "Windows-1252", cp1252 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeTextBytes(c.bytes), text) << c.name;

    EXPECT_EQ(DecodeTextBytes("\xEF\xBB\xBF"), QString()) << "a BOM alone is no text";
    // Bytes Windows-1252 leaves undefined keep their code.
    EXPECT_EQ(DecodeTextBytes("a\x81\x9D"), QString("a") + QChar(0x81) + QChar(0x9D));
}

TEST(DelimitedText, ReadsCellsAndLinesAsSpreadsheetsWriteThem)
{
    const struct {
        const char* name;
        QString text;
        Rows rows;
        int unclosedQuoteLine = 0;
    } cases[] = {
        { "CR LF", "a;b\r\nc;d\r\n", { { "a", "b" }, { "c", "d" } } },
        { "LF and CR", "a;b\nc;d\re;f", { { "a", "b" }, { "c", "d" }, { "e", "f" } } },
        { "blank lines and empty cells give no row", "\r\na;b\r\n\r\n;;;;\r\n  ; \t\r\n\r\n", { { "a", "b" } } },
        { "cells are not trimmed", " a ; b;", { { " a ", " b", "" } } },
        { "quoted cells", "\"a;b\";\"a\"\"b\";\"l1\r\nl2\rl3\"\r\nx;y",
            { { "a;b", "a\"b", "l1\nl2\nl3" }, { "x", "y" } } },
        { "empty quoted cell", "\"\";x", { { "", "x" } } },
        { "text after the closing quote", "\"ab\"cd;e", { { "abcd", "e" } } },
        { "a quote inside a cell", "a\"b;c\"", { { "a\"b", "c\"" } } },
        { "an unclosed quote is an ordinary character", "x;y\r\nx;\"abc;d\r\ne;f\r\n",
            { { "x", "y" }, { "x", "\"abc", "d" }, { "e", "f" } }, 2 },
        { "the line of an unclosed quote counts quoted line breaks", "\"a\r\nb\";c\r\n\"d",
            { { "a\nb", "c" }, { "\"d" } }, 3 },
    };
    for (const auto& c : cases) {
        const DelimitedText read = ParseDelimited(c.text, u';');
        EXPECT_EQ(read.rows, c.rows) << c.name;
        EXPECT_EQ(read.unclosedQuoteLine, c.unclosedQuoteLine) << c.name;
    }
    EXPECT_EQ(ParseDelimited(u"a,\"b,c\";d", u',').rows, (Rows { { "a", "b,c;d" } }));
}

TEST(DelimitedText, WhatTheCsvWriterWritesReadsBackCellForCell)
{
    ListTable list;
    list.columns.resize(4);
    const QString leading = QStringLiteral(" ab;cd");
    list.rows = {
        { { "Gmail", leading, "\"quoted\" title", "l1\r\nl2\nl3" }, 1 },
        { { "é€🔑", "=1+1", "", "a\"\"b;" }, 2 },
        { { "", "", "", "x" }, 3 },
    };
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(DelimitedListWriter::Csv("A;B;C;D").Write(list, buffer));

    const Rows expected = { { "A", "B", "C", "D" }, { "Gmail", leading, "\"quoted\" title", "l1\nl2\nl3" },
        { "é€🔑", "=1+1", "", "a\"\"b;" }, { "", "", "", "x" } };
    EXPECT_EQ(ParseDelimited(DecodeTextBytes(bytes), u';').rows, expected);
}

} // namespace
