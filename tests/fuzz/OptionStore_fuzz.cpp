// libFuzzer target: the preferences file. Any bytes parse or are refused
// without crashing; what parses, formatted again, parses to the same content.

#include "components/OptionStore.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace keyholm;

namespace {

bool Same(const std::vector<OptionStore::Section>& a, const std::vector<OptionStore::Section>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t s = 0; s < a.size(); ++s) {
        if (a[s].name != b[s].name || a[s].entries.size() != b[s].entries.size())
            return false;
        for (std::size_t e = 0; e < a[s].entries.size(); ++e)
            if (a[s].entries[e].key != b[s].entries[e].key || a[s].entries[e].value != b[s].entries[e].value)
                return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto sections = OptionStore::Parse(input);
    if (!sections)
        return 0;
    const auto again = OptionStore::Parse(OptionStore::Format(*sections, QString()));
    if (!again || !Same(*sections, *again))
        __builtin_trap();
    return 0;
}
