#pragma once
// A database named on the command line of a second start goes to the
// instance already running for the same data folder, which opens it: the
// single instance stays single, and a double-click on a file still opens it.

#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;

namespace keyholm {

class MainWindow;

// The local socket's name: one per data folder (and per user, as the
// socket lives in the user's runtime folder).
QString HandOffServerName();

// Hands the absolute path of `file` to the running instance. False when
// none listens or it did not take the file.
bool HandOffToRunningInstance(const QString& file);

// Listens for the files of later starts and gives each to `open`.
class FileHandOffServer : public QObject {
public:
    explicit FileHandOffServer(std::function<void(const QString&)> open, QObject* parent = nullptr);
    bool Listening() const;

private:
    QLocalServer* server_;
    std::function<void(const QString&)> open_;
};

// Opens `file` in the window as the open command does: unsaved changes are
// offered for saving first, and a failed opening leaves no database open.
void OpenFileInWindow(MainWindow& window, const QString& file);

} // namespace keyholm
