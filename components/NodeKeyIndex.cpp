#include "components/NodeKeyIndex.h"

#include <sodium.h>

#include <cstdlib>
#include <cstring>

namespace keyholm::keyindex {
namespace {
// Drawn once per process: a file written elsewhere cannot know it.
const unsigned char* ProcessHashKey()
{
    static const auto key = [] {
        struct {
            unsigned char bytes[crypto_shorthash_KEYBYTES];
        } k;
        if (sodium_init() < 0)
            std::abort();
        randombytes_buf(k.bytes, sizeof k.bytes);
        return k;
    }();
    return key.bytes;
}

std::uint64_t HashBytes(const void* data, std::size_t size)
{
    unsigned char out[crypto_shorthash_BYTES];
    crypto_shorthash(out, static_cast<const unsigned char*>(data), size, ProcessHashKey());
    std::uint64_t h;
    static_assert(sizeof h == sizeof out);
    std::memcpy(&h, out, sizeof h);
    return h;
}

template <class View> std::uint64_t NumberOf(View v)
{
    if (v.size() < 2 || v.size() > 13 || CodeUnit(v, 0) != u'k' || CodeUnit(v, 1) == u'0')
        return 0;
    std::uint64_t n = 0;
    for (qsizetype i = 1; i < v.size(); ++i) {
        const char16_t c = CodeUnit(v, i);
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'z')
            digit = c - u'a' + 10;
        else
            return 0;
        n = n * 36 + std::uint64_t(digit);
    }
    return n;
}
} // namespace

std::uint64_t Hash(QStringView key)
{
    // UTF-16LE units: the machine is little-endian (see PackedText.h).
    return HashBytes(key.utf16(), std::size_t(key.size()) * 2);
}

std::uint64_t Hash(QLatin1StringView key)
{
    // Widened first, so that a text hashes alike in both forms. Keys are
    // short; a long one takes a copy.
    constexpr qsizetype Short = 32;
    if (key.size() > Short)
        return Hash(QStringView(QString(key)));
    char16_t units[Short];
    for (qsizetype i = 0; i < key.size(); ++i)
        units[i] = CodeUnit(key, i);
    return HashBytes(units, std::size_t(key.size()) * 2);
}

std::uint64_t GeneratedNumber(QStringView key)
{
    return NumberOf(key);
}

std::uint64_t GeneratedNumber(QLatin1StringView key)
{
    return NumberOf(key);
}

QString GeneratedKey(std::uint64_t number)
{
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    char buffer[16];
    int pos = sizeof buffer;
    do {
        buffer[--pos] = digits[number % 36];
        number /= 36;
    } while (number);
    buffer[--pos] = 'k';
    return QString::fromLatin1(buffer + pos, qsizetype(sizeof buffer) - pos);
}

} // namespace keyholm::keyindex
