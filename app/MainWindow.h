#pragma once
// The main window of Keyholm.

#include <QMainWindow>

namespace keyholm {

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace keyholm
