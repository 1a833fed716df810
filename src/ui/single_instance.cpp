#include "ui/single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

constexpr int kConnectTimeoutMs = 2000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");

QString default_folder()
{
    // The runtime folder is private to the user, so two users never share one socket.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

} // namespace

QString instance_key()
{
    return QStringLiteral("yorimo by Brindlecap");
}

SingleInstance::SingleInstance(QString key, QString folder)
{
    if (folder.isEmpty())
        folder = default_folder();
    socket_path_ = QDir(folder).filePath(key);
}

SingleInstance::~SingleInstance()
{
    release();
}

bool SingleInstance::acquire()
{
    auto lock = std::make_unique<QLockFile>(socket_path_ + QStringLiteral(".lock"));
    // Never stale by age: the instance may run for days. A lock whose process has died is
    // still taken over.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    lock_ = std::move(lock);

    // Holding the lock, any socket file left behind is from a crashed instance.
    QLocalServer::removeServer(socket_path_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer *server = server_.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [this, server] {
        while (QLocalSocket *socket = server->nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            auto read = [this, socket] {
                if (socket->canReadLine() && socket->readLine() == kActivate && on_activation)
                    on_activation();
            };
            QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
            read();
        }
    });
    // Without the socket this instance still runs alone; a second one just cannot raise it.
    server_->listen(socket_path_);
    return true;
}

bool SingleInstance::request_activation()
{
    QLocalSocket socket;
    socket.connectToServer(socket_path_);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kActivate);
    const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}

void SingleInstance::release()
{
    if (server_) {
        server_->close();
        server_.reset();
    }
    if (lock_) {
        lock_->unlock();
        lock_.reset();
    }
}
