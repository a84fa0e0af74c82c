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
