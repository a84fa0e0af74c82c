// libFuzzer target: the RTF converter of note files. Any bytes are converted
// or refused without crashing, hanging or growing far beyond the input.

#include "services/RtfToTxt.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace keyholm;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const RtfText converted = ConvertRtf(input);
    // "\u" characters and "\'xx" bytes give at most one character each of
    // the bytes that name them; tabs and breaks one each.
    if (converted.answer == RtfConverted && converted.text.size() > input.size())
        __builtin_trap();
    return 0;
}
