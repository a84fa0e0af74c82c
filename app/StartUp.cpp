#include "app/StartUp.h"

#include "app/FileHandOff.h"
#include "app/MainWindow.h"
#include "app/WalkAwayWatch.h"
#include "components/ProcessGuard.h"
#include "services/ApplicationOptions.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"
#include "services/ui/ApplicationEnvironment.h"
#include "services/ui/Messages.h"

#include <QApplication>
#include <QFileInfo>
#include <QPalette>
#include <QStyleFactory>

#include <exception>
#include <memory>

namespace keyholm {

void ApplyApplicationLook(QApplication& application)
{
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        application.setStyle(fusion);
    QPalette palette = application.palette();
    palette.setColor(QPalette::Window, QColor(0xee, 0xf1, 0xf5));
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::AlternateBase, QColor(0xf5, 0xf7, 0xfa));
    palette.setColor(QPalette::Highlight, QColor(0x2f, 0x6f, 0xde));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Button, QColor(0xf8, 0xf9, 0xfb));
    palette.setColor(QPalette::ToolTipBase, QColor(0x1f, 0x2a, 0x37));
    palette.setColor(QPalette::ToolTipText, Qt::white);
    application.setPalette(palette);
}

int StartUp(QApplication& application, const QString& file)
{
    // Before any file is made or secret read; main() has done it already,
    // this keeps every other way into the start as safe.
    ProcessGuard::Harden();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::unique_ptr<MainWindow> window;
    try {
        InstallMessageBoxes();
        InstallQtTranslations();
        PrepareFolders(QString(), QString());
        if (!file.isEmpty() && HandOffToRunningInstance(file)) {
            QApplication::restoreOverrideCursor();
            return 0;
        }
        if (!StartApplication(true, QString(), true, QStringLiteral("Preference"))) {
            QApplication::restoreOverrideCursor();
            return 1;
        }
        // The options window is filled from the preferences when it is shown;
        // everything else reads the stored options, the log's among them.
        StartTraceLog(LogOption(), DataFolder(), QString(), QString(), false);
        window = std::make_unique<MainWindow>();
        window->Lifecycle().Form_Load();
        window->show();
        // The files of later starts come to this window.
        MainWindow* shown = window.get();
        new FileHandOffServer([shown](const QString& path) { OpenFileInWindow(*shown, path); }, shown);
        new WalkAwayWatch(
            QDBusConnection::systemBus(), QDBusConnection::sessionBus(), [shown] { shown->File().CloseOnWalkAway(); },
            shown);
        if (!file.isEmpty())
            OpenFileInWindow(*window, QFileInfo(file).absoluteFilePath());
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on program loading?"), error);
    }
    QApplication::restoreOverrideCursor();
    if (!window)
        return 1;
    return application.exec();
}

} // namespace keyholm
