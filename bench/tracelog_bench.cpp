// The cost of one TraceLog call, with the log off and on.

#include "BenchSupport.h"

#include "services/TraceLog.h"

#include <QCoreApplication>
#include <QTemporaryDir>

using namespace keyholm;

namespace {

// Nanoseconds per call, best of a few runs; the labels alternate so that the
// repeat rule does not skip the lines.
double NsPerCall(int calls, bool sameLabel)
{
    const QString labels[2] = {QStringLiteral("Open the password file"), QStringLiteral("Read the node tag")};
    const QString detail = QStringLiteral("/home/user/Documents/Keyholm/Banques.khm]|[1234");
    const double ms = bench::BestMs(3, [&] {
        for (int i = 0; i < calls; ++i)
            TraceLog(labels[sameLabel ? 0 : i & 1], detail);
    });
    return ms * 1e6 / calls;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;

    StopTraceLog();
    bench::Report("tracelog.call.off", NsPerCall(10'000'000, false), "ns");

    StartTraceLog(true, folder.path(), {}, {}, false);
    bench::Report("tracelog.call.on", NsPerCall(1'000'000, false), "ns");
    bench::Report("tracelog.call.on.repeated", NsPerCall(1'000'000, true), "ns");
    KeepOutOfTraceLog(QStringLiteral("hunter2-Secret"));
    KeepOutOfTraceLog(QStringLiteral("alice@example.org"));
    bench::Report("tracelog.call.on.masking2", NsPerCall(1'000'000, false), "ns");
    StopTraceLog();
    return 0;
}
