// Parsing a preferences file edited by someone else: the time grows with the
// number of keys, not with its square.

#include "BenchSupport.h"

#include "components/OptionStore.h"

#include <QByteArray>

#include <string>

using namespace keyholm;

namespace {

QByteArray FileOf(int keys)
{
    QByteArray text = "[Section]\n";
    for (int i = 0; i < keys; ++i)
        text += "Key" + QByteArray::number(i) + "=value\n";
    // Repeated sections and keys are merged, so they take the same road.
    text += "[section]\nKEY0=last\n";
    return text;
}

} // namespace

int main()
{
    for (const int keys : {5'000, 50'000, 500'000}) {
        const QByteArray file = FileOf(keys);
        bool parsed = true;
        const double ms = bench::BestMs(5, [&] { parsed = parsed && OptionStore::Parse(file).has_value(); });
        if (!parsed)
            return 1;
        bench::Report("options.parse." + std::to_string(keys), ms, "ms");
    }
    return 0;
}
