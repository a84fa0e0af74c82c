// The program's start as main() runs it, up to its event loop.

#include "app/StartUp.h"

#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace keyholm {
namespace {

// Leaves the process as hardened as the start made it: core dumps, the
// dumpable flag and the umask cannot be given back, and need not be.
TEST(StartUp, HardensTheProcessBeforeAnythingIsRead)
{
    ::umask(022);
    const QString savedFolder = QDir::currentPath();
    bool windowShown = false;
    // Ends the event loop once it runs with the window shown; it ticks until
    // then, since a nested loop of the start would swallow a single quit.
    QTimer quit;
    quit.setInterval(20);
    QObject::connect(&quit, &QTimer::timeout, [&windowShown] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->objectName() == QLatin1String("Lib_PasswordMgr") && window->isVisible())
                windowShown = true;
        }
        if (windowShown)
            QCoreApplication::exit(0);
    });
    quit.start();

    const int exitCode = StartUp(*qApp);
    quit.stop();
    StopTraceLog();
    ClosePreferences();
    DeleteScratchFile();
    ReleaseSingleInstance();
    SetErrorDisplay({});
    QDir::setCurrent(savedFolder);

    ASSERT_TRUE(windowShown);
    EXPECT_EQ(exitCode, 0);
    rlimit core {};
    ASSERT_EQ(::getrlimit(RLIMIT_CORE, &core), 0);
    EXPECT_EQ(core.rlim_cur, 0u);
    EXPECT_EQ(core.rlim_max, 0u) << "nothing may raise the limit again";
#ifdef __linux__
    EXPECT_EQ(::prctl(PR_GET_DUMPABLE, 0, 0, 0, 0), 0);
#endif
    const mode_t mask = ::umask(077);
    EXPECT_EQ(mask, 077u);
}

} // namespace
} // namespace keyholm
