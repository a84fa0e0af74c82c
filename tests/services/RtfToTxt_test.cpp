#include "support/TestFiles.h"
#include "services/RtfToTxt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace keyholm;
using keyholm::test::Read;

namespace {
QString Fixture(const char* name)
{
    return QStringLiteral(KEYHOLM_TESTS_FOLDER "/services/data/") + QString::fromUtf8(name);
}

// What WordPad shows of tests/services/data/letter.rtf.
const char* LetterText = "Banque : changer le mot de passe à la fin du mois.\n"
                         "Important : café € 12 – l’accès {web}\n"
                         "deuxième ligne\tfin\n"
                         "site de la banque\n"
                         "Emoji 😀 et \\ barre\n"
                         "Dernier “mot”  final.\n";
} // namespace

TEST(RtfToTxt, ConvertsARealDocumentToUtf8Text)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("letter.txt");
    ASSERT_EQ(RtfToTxt(Fixture("letter.rtf"), target), RtfConverted);
    EXPECT_EQ(QString::fromUtf8(Read(target)), QString::fromUtf8(LetterText));
}

TEST(RtfToTxt, AnswerCodes)
{
    QTemporaryDir dir;
    const QString plain = dir.filePath("plain.rtf");
    const QString deep = dir.filePath("deep.rtf");
    {
        QFile f(plain);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Just some text, no RTF at all.");
    }
    {
        QFile f(deep);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{\\rtf1 " + QByteArray(100000, '{') + "x" + QByteArray(100000, '}') + "}");
    }
    EXPECT_EQ(RtfToTxt(dir.filePath("missing.rtf"), dir.filePath("out.txt")), RtfCannotRead);
    EXPECT_EQ(RtfToTxt(Fixture("letter.rtf"), dir.filePath("no/such/folder/out.txt")), RtfCannotWrite);
    EXPECT_EQ(RtfToTxt(plain, dir.filePath("out.txt")), RtfNotRtf);
    EXPECT_EQ(RtfToTxt(deep, dir.filePath("out.txt")), RtfTooDeep);
    EXPECT_FALSE(QFile::exists(dir.filePath("out.txt"))) << "a failed conversion writes nothing";
}

TEST(RtfToTxt, SmallDocuments)
{
    struct Case {
        const char* rtf;
        const char* text;
    };
    const Case cases[] = {
        { "{\\rtf1 plain}", "plain" }, { "  \r\n{\\rtf1 after blanks}", "after blanks" },
        { "{\\rtf1 a{\\*\\unknowndestination hidden}b}", "ab" }, { "{\\rtf1 \\uc0\\u233 t\\u233 }", "été" },
        { "{\\rtf1 {\\uc2 \\u233 xy}z\\u233 ?}", "ézé" }, // \uc ends with its group
        { "{\\rtf1 \\u-4064 ?}", "\xEF\x80\xA0" }, // negative: a unit above 32767
        { "{\\rtf1 line\\\r\nnext}", "line\nnext" }, // a backslash before a line end is \par
        { "{\\rtf1 no-break\\~space opt\\-ional}", "no-break\xC2\xA0space optional" },
        { "{\\rtf1 \\'80 \\'9f \\'81}", "€ Ÿ \xC2\x81" }, // Windows-1252 by default
        { "{\\rtf1 unclosed group {\\b bold", "unclosed group bold" }, { "{\\rtf1 end}after the end", "end" },
        { "{\\rtf1 \\'zz bad hex}", "zz bad hex" }, { "{\\rtf1 \\bin99999 }", "" }, // binary data longer than the file
    };
    for (const auto& c : cases) {
        const RtfText converted = ConvertRtf(c.rtf);
        EXPECT_EQ(converted.answer, RtfConverted) << c.rtf;
        EXPECT_EQ(converted.text, QString::fromUtf8(c.text)) << c.rtf;
    }
}

TEST(RtfToTxt, CodePageOfTheDocument)
{
    if (!QStringDecoder("windows-1251").isValid())
        GTEST_SKIP() << "this Qt has no Windows-1251 decoder";
    EXPECT_EQ(
        ConvertRtf("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}").text, QString::fromUtf8("Привет"));
}
