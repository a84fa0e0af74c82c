#include "components/TextEncoding.h"

#include "components/CipherEngine.h"

#include <QStringDecoder>

namespace keyholm {
namespace {

// Windows-1252 from 0x80 to 0x9F; the five bytes it leaves undefined keep
// their Latin-1 control code, as Windows itself does.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, //
};

// Our own table: the system's codecs may not know Windows-1252.
QString FromWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        *out++ = c >= 0x80 && c < 0xA0 ? Cp1252High[c - 0x80] : char16_t(c);
    }
    return text;
}

bool StartsWith(QByteArrayView bytes, std::initializer_list<unsigned char> mark)
{
    if (bytes.size() < qsizetype(mark.size()))
        return false;
    qsizetype i = 0;
    for (const unsigned char c : mark)
        if (static_cast<unsigned char>(bytes[i++]) != c)
            return false;
    return true;
}

QString Decode(QStringConverter::Encoding encoding, QByteArrayView bytes)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    // UTF-16 may hold a half of a pair alone, which no UTF-8 writer can
    // write back: it becomes the replacement character, as in UTF-8.
    const qsizetype size = text.size();
    QChar* chars = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        if (chars[i].isHighSurrogate() && i + 1 < size && chars[i + 1].isLowSurrogate())
            ++i;
        else if (chars[i].isSurrogate())
            chars[i] = QChar::ReplacementCharacter;
    }
    return text;
}

} // namespace

QString DecodeTextBytes(QByteArrayView bytes)
{
    if (StartsWith(bytes, { 0xEF, 0xBB, 0xBF }))
        return Decode(QStringConverter::Utf8, bytes.sliced(3));
    if (StartsWith(bytes, { 0xFF, 0xFE }))
        return Decode(QStringConverter::Utf16LE, bytes.sliced(2));
    if (StartsWith(bytes, { 0xFE, 0xFF }))
        return Decode(QStringConverter::Utf16BE, bytes.sliced(2));
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // The bytes may be a list of passwords: the failed reading goes too.
    CipherEngine::Wipe(text);
    return FromWindows1252(bytes);
}

} // namespace keyholm
