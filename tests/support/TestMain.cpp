// Test main: a headless Qt application with a throw-away home and data folder,
// so that no test touches the real user's files.

#include "support/ModalHelper.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QTemporaryDir home(QDir::tempPath() + "/keyholm-test-XXXXXX");
    if (!home.isValid()) {
        std::fprintf(stderr, "cannot make a temporary home folder\n");
        return 2;
    }
    const QByteArray homePath = QFile::encodeName(home.path());
    const QByteArray runtime = homePath + "/runtime";
    ::mkdir(runtime.constData(), 0700);
    qputenv("HOME", homePath);
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("XDG_CONFIG_HOME", homePath + "/.config");
    qputenv("XDG_DATA_HOME", homePath + "/.local/share");
    qputenv("XDG_CACHE_HOME", homePath + "/.cache");
    qputenv("KEYHOLM_HOME", homePath + "/Keyholm");

    QApplication app(argc, argv);
    QApplication::setApplicationName("keyholm-tests");
    ::testing::InitGoogleTest(&argc, argv);
    keyholm::test::ModalHelper::InstallWatchdog();
    return RUN_ALL_TESTS();
}
