#include "app/MainWindow.h"

namespace keyholm {

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Lib_PasswordMgr"));
    setWindowTitle(QStringLiteral("Keyholm"));
    resize(900, 640);
}

} // namespace keyholm
