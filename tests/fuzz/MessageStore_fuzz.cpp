// libFuzzer target: the message files (.mge). Any bytes give messages and
// the list of bad lines without crashing.

#include "components/MessageStore.h"

#include <QByteArray>
#include <QStringList>

#include <cstddef>
#include <cstdint>

using namespace keyholm;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QStringList problems;
    (void)MessageStore::Parse(input, &problems);
    return 0;
}
