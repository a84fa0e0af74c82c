#include "app/FileHandOff.h"

#include "app/MainWindow.h"
#include "database/DatabaseFile.h"
#include "services/Environment.h"
#include "services/TraceLog.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace keyholm {

namespace {

constexpr int WaitMilliseconds = 3000;
// A path is never longer; anything more is not ours.
constexpr qint64 LongestMessage = 64 * 1024;

} // namespace

QString HandOffServerName()
{
    const QByteArray folder = QFileInfo(DataFolder()).absoluteFilePath().toUtf8();
    return QStringLiteral("keyholm-")
        + QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16));
}

bool HandOffToRunningInstance(const QString& file)
{
    QLocalSocket socket;
    socket.connectToServer(HandOffServerName());
    if (!socket.waitForConnected(WaitMilliseconds))
        return false;
    socket.write(QFileInfo(file).absoluteFilePath().toUtf8() + '\n');
    if (!socket.waitForBytesWritten(WaitMilliseconds))
        return false;
    // The running instance says it took the file before it opens it.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(WaitMilliseconds))
            return false;
    }
    return socket.readLine().trimmed() == "ok";
}

FileHandOffServer::FileHandOffServer(std::function<void(const QString&)> open, QObject* parent)
    : QObject(parent)
    , server_(new QLocalServer(this))
    , open_(std::move(open))
{
    // Only this user may hand files over.
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a run that crashed would block the name.
    QLocalServer::removeServer(HandOffServerName());
    if (!server_->listen(HandOffServerName()))
        TraceLog(QStringLiteral("File hand-off not available"), server_->errorString());
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->bytesAvailable() > LongestMessage) {
                    socket->abort();
                    return;
                }
                if (!socket->canReadLine())
                    return;
                const QString path = QString::fromUtf8(socket->readLine()).trimmed();
                socket->write("ok\n");
                socket->flush();
                socket->disconnectFromServer();
                TraceLog(QStringLiteral("File handed over by a second start"), path);
                // After this event: the opening may show modal windows.
                QTimer::singleShot(0, this, [this, path] { open_(path); });
            });
        }
    });
}

bool FileHandOffServer::Listening() const
{
    return server_->isListening();
}

void OpenFileInWindow(MainWindow& window, const QString& file)
{
    if (file.isEmpty())
        return;
    window.showNormal();
    window.raise();
    window.activateWindow();
    DatabaseFile& database = window.File();
    if (!database.PasswordIsChanged())
        return;
    if (!database.OpenPasswordFile(file).open)
        database.ClosePasswordFile();
}

} // namespace keyholm
