#include "app/Display.h"
#include "app/StartUp.h"
#include "components/ProcessGuard.h"
#include "components/Version.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // First of all, so that even Qt's own start makes its files under it.
    keyholm::ProcessGuard::Harden();
    if (!keyholm::DisplayAvailable()) {
        std::fprintf(stderr, "keyholm: no display available (set DISPLAY, or run it under xvfb-run)\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Keyholm"));
    QApplication::setApplicationVersion(QLatin1String(keyholm::VersionNumber));
    keyholm::ApplyApplicationLook(app);
    return keyholm::StartUp(app);
}
