// Renders the main window to PNG files without a display, for the README and
// for looking at the layout: keyholm-screenshots <output folder>.

#include "app/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never touch the real user's files while posing for pictures.
    QTemporaryDir home;
    qputenv("KEYHOLM_HOME", QFile::encodeName(home.path() + "/Keyholm"));
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        QDir(home.path()).mkdir("runtime");
        QFile::setPermissions(home.path() + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path() + "/runtime"));
    }
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(folder);

    keyholm::MainWindow window;
    window.show();
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(QStringLiteral("main-empty.png"));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}
