#pragma once
// A throw-away home for a benchmark that runs the program's code: its data
// folder and runtime folder, so that no benchmark touches the user's files.
// Made before the application object.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace keyholm::bench {

class BenchHome {
public:
    BenchHome()
        : home_(QDir::tempPath() + QStringLiteral("/keyholm-bench-XXXXXX"))
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!home_.isValid()) {
            std::fprintf(stderr, "cannot make a temporary folder\n");
            return;
        }
        const QString runtime = home_.path() + QStringLiteral("/runtime");
        qputenv("KEYHOLM_HOME", QFile::encodeName(home_.path() + QStringLiteral("/Keyholm")));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
    bool IsValid() const { return home_.isValid(); }

private:
    QTemporaryDir home_;
};

} // namespace keyholm::bench
