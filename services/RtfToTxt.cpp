#include "services/RtfToTxt.h"

#include "components/FileTools.h"

#include <QFile>
#include <QHash>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <vector>

namespace keyholm {
namespace {
constexpr int MaxDepth = 1000;
constexpr qsizetype MaxSize = 64 * 1024 * 1024;

// Windows-1252 from 0x80 to 0x9F; the holes keep their own value, as Windows does.
constexpr char16_t Cp1252High[32] = { 0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030,
    0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178 };

// Groups whose content is not text of the document.
const QSet<QByteArray>& SkippedDestinations()
{
    static const QSet<QByteArray> words = { "fonttbl", "colortbl", "stylesheet", "info", "pict", "object", "objdata",
        "header", "headerl", "headerr", "headerf", "footer", "footerl", "footerr", "footerf", "footnote", "listtable",
        "listoverridetable", "revtbl", "rsidtbl", "generator", "themedata", "colorschememapping", "latentstyles",
        "datastore", "xmlnstbl", "filetbl", "fldinst", "bkmkstart", "bkmkend", "xe", "tc", "txe", "rxe", "private",
        "pgdsctbl", "picprop", "shpinst", "nonshppict", "blipuid", "comment", "title", "subject", "author", "operator",
        "keywords", "doccomm", "company", "creatim", "revtim", "printim", "buptim", "userprops", "docvar", "ftnsep",
        "ftnsepc", "ftncn", "aftnsep", "aftnsepc", "aftncn", "template", "listpicture", "background", "mmathPr",
        "wgrffmtfilter", "pn", "pnseclvl", "protusertbl", "annotation", "atnid", "atnauthor", "atndate", "atnref",
        "atrfstart", "atrfend", "fchars", "lchars", "passwordhash" };
    return words;
}

// Bytes of the document's code page to text.
class CodePage {
public:
    void Set(int number)
    {
        number_ = number;
        decoder_.reset();
        if (number == 1252 || number <= 0)
            return;
        const QByteArray name = number == 65001 ? QByteArray("UTF-8")
            : number == 10000                   ? QByteArray("macintosh")
            : number < 1000                     ? QByteArray("IBM" + QByteArray::number(number))
                                                : QByteArray("windows-" + QByteArray::number(number));
        QStringDecoder decoder(name.constData());
        if (decoder.isValid())
            decoder_.emplace(std::move(decoder));
    }

    QString Decode(const QByteArray& bytes)
    {
        if (decoder_)
            return decoder_->decode(bytes);
        QString text;
        text.reserve(bytes.size());
        for (const char byte : bytes) {
            const auto b = static_cast<unsigned char>(byte);
            text += (b >= 0x80 && b < 0xA0) ? QChar(Cp1252High[b - 0x80]) : QChar(char16_t(b));
        }
        return text;
    }

private:
    int number_ = 1252;
    std::optional<QStringDecoder> decoder_;
};

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The text a control word stands for, if any.
std::optional<QString> WordText(const QByteArray& word)
{
    static const QHash<QByteArray, QString> texts
        = { { "par", QStringLiteral("\n") }, { "line", QStringLiteral("\n") }, { "sect", QStringLiteral("\n") },
              { "page", QStringLiteral("\n") }, { "row", QStringLiteral("\n") }, { "nestrow", QStringLiteral("\n") },
              { "tab", QStringLiteral("\t") }, { "cell", QStringLiteral("\t") }, { "nestcell", QStringLiteral("\t") },
              { "emdash", QString(QChar(0x2014)) }, { "endash", QString(QChar(0x2013)) },
              { "emspace", QString(QChar(0x2003)) }, { "enspace", QString(QChar(0x2002)) },
              { "qmspace", QString(QChar(0x2005)) }, { "bullet", QString(QChar(0x2022)) },
              { "lquote", QString(QChar(0x2018)) }, { "rquote", QString(QChar(0x2019)) },
              { "ldblquote", QString(QChar(0x201C)) }, { "rdblquote", QString(QChar(0x201D)) } };
    const auto it = texts.constFind(word);
    return it == texts.constEnd() ? std::nullopt : std::optional<QString>(*it);
}

struct Group {
    bool skip = false; // inside a destination that is not text
    int unicodeFallback = 1; // \uc: characters that follow a \u for older readers
};

class Converter {
public:
    explicit Converter(const QByteArray& rtf)
        : rtf_(rtf)
    {
    }

    RtfText Run()
    {
        if (rtf_.size() > MaxSize)
            return { RtfTooLarge, {} };
        qsizetype i = 0;
        while (i < rtf_.size() && QByteArrayView(" \t\r\n").contains(rtf_.at(i)))
            ++i;
        if (!rtf_.mid(i, 5).startsWith("{\\rtf"))
            return { RtfNotRtf, {} };

        const qsizetype n = rtf_.size();
        while (i < n) {
            const char c = rtf_.at(i);
            if (c == '{') {
                stack_.push_back(group_);
                if (stack_.size() > MaxDepth)
                    return { RtfTooDeep, {} };
                fallbackLeft_ = 0;
                ++i;
            } else if (c == '}') {
                if (stack_.empty())
                    break;
                Flush();
                group_ = stack_.back();
                stack_.pop_back();
                fallbackLeft_ = 0;
                ++i;
                if (stack_.empty())
                    break; // the end of the document; anything after it is not part of it
            } else if (c == '\r' || c == '\n') {
                ++i;
            } else if (c == '\\') {
                i = ControlAt(i);
            } else {
                TextByte(c);
                ++i;
            }
        }
        Flush();
        return { RtfConverted, text_ };
    }

private:
    // Handles the control word or symbol at `i`; the index after it.
    qsizetype ControlAt(qsizetype i)
    {
        const qsizetype n = rtf_.size();
        if (i + 1 >= n)
            return n;
        const char next = rtf_.at(i + 1);
        if (IsLetter(next)) {
            qsizetype j = i + 1;
            while (j < n && IsLetter(rtf_.at(j)) && j - i <= 32)
                ++j;
            const QByteArray word = rtf_.mid(i + 1, j - i - 1);
            const qsizetype numberStart = j;
            if (j < n && rtf_.at(j) == '-')
                ++j;
            while (j < n && IsDigit(rtf_.at(j)) && j - numberStart < 11)
                ++j;
            bool hasNumber = false;
            const qlonglong number = rtf_.mid(numberStart, j - numberStart).toLongLong(&hasNumber);
            if (j < n && rtf_.at(j) == ' ')
                ++j;
            return Word(word, hasNumber, number, j);
        }
        if (next == '\'') {
            const int high = i + 2 < n ? HexValue(rtf_.at(i + 2)) : -1;
            const int low = i + 3 < n ? HexValue(rtf_.at(i + 3)) : -1;
            if (high < 0 || low < 0)
                return i + 2;
            TextByte(static_cast<char>(high * 16 + low));
            return i + 4;
        }
        switch (next) {
        case '\\':
        case '{':
        case '}':
            TextByte(next);
            break;
        case '~':
            Text(QString(QChar(0x00A0)));
            break;
        case '_':
            Text(QString(QChar(0x2011)));
            break;
        case '*':
            group_.skip = true;
            break; // an optional destination: none of them is text
        case '\r':
        case '\n':
            Text(QStringLiteral("\n"));
            break;
        default:
            break; // "\-" optional hyphen, "\:" and the like
        }
        return i + 2;
    }

    qsizetype Word(const QByteArray& word, bool hasNumber, qlonglong number, qsizetype after)
    {
        if (word == "bin") {
            // Binary data: jump over it, skipped group or not.
            const qsizetype length = hasNumber && number > 0 ? static_cast<qsizetype>(number) : 0;
            return std::min(after + length, rtf_.size());
        }
        if (group_.skip)
            return after;
        if (SkippedDestinations().contains(word)) {
            group_.skip = true;
            return after;
        }
        if (word == "u" && hasNumber) {
            const auto unit = static_cast<ushort>(number < 0 ? number + 65536 : number);
            fallbackLeft_ = 0;
            Flush();
            text_ += QChar(unit);
            fallbackLeft_ = group_.unicodeFallback;
        } else if (word == "uc") {
            group_.unicodeFallback = hasNumber && number > 0 ? static_cast<int>(std::min<qlonglong>(number, 16)) : 0;
        } else if (word == "ansicpg" && hasNumber) {
            SetCodePage(static_cast<int>(number));
        } else if (word == "ansi") {
            SetCodePage(1252);
        } else if (word == "mac") {
            SetCodePage(10000);
        } else if (word == "pc") {
            SetCodePage(437);
        } else if (word == "pca") {
            SetCodePage(850);
        } else if (const auto text = WordText(word)) {
            Text(*text);
        }
        return after;
    }

    void SetCodePage(int number)
    {
        Flush();
        codePage_.Set(number);
    }

    void TextByte(char byte)
    {
        if (fallbackLeft_ > 0) {
            --fallbackLeft_;
            return;
        }
        if (!group_.skip)
            pending_.append(byte);
    }

    void Text(const QString& text)
    {
        if (fallbackLeft_ > 0) {
            --fallbackLeft_;
            return;
        }
        if (group_.skip)
            return;
        Flush();
        text_ += text;
    }

    void Flush()
    {
        if (pending_.isEmpty())
            return;
        text_ += codePage_.Decode(pending_);
        pending_.clear();
    }

    const QByteArray& rtf_;
    std::vector<Group> stack_;
    Group group_;
    int fallbackLeft_ = 0;
    QByteArray pending_; // bytes of the code page not decoded yet (a multi-byte character may continue)
    CodePage codePage_;
    QString text_;
};
} // namespace

RtfText ConvertRtf(const QByteArray& rtf)
{
    return Converter(rtf).Run();
}

int RtfToTxt(const QString& sourcePath, const QString& targetPath)
{
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return RtfCannotRead;
    if (source.size() > MaxSize)
        return RtfTooLarge;
    const QByteArray rtf = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return RtfCannotRead;
    const RtfText converted = ConvertRtf(rtf);
    if (converted.answer != RtfConverted)
        return converted.answer;
    if (!FileTools::WriteAtomically(targetPath, converted.text.toUtf8()))
        return RtfCannotWrite;
    return RtfConverted;
}

} // namespace keyholm
