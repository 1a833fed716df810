#include "test_store.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {

QByteArray chunk(const QByteArray &data)
{
    return QByteArray::number(data.size(), 16) + "\r\n" + data + "\r\n";
}

} // namespace

class TestStoreThread : public QThread {
public:
    TestStoreThread(TestStore &store, std::promise<quint16> &port) : store_(store), port_(port) {}

protected:
    void run() override
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, &server, [&] {
            while (QTcpSocket *socket = server.nextPendingConnection())
                serve(socket);
        });
        port_.set_value(server.serverPort());
        exec();
    }

private:
    void serve(QTcpSocket *socket)
    {
        auto request = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
            if (request->endsWith("\r\n\r\n") || request->contains("\r\n\r\n"))
                return; // answered already
            request->append(socket->readAll());
            if (!request->contains("\r\n\r\n"))
                return;
            const QList<QByteArray> line = request->left(request->indexOf("\r\n")).split(' ');
            respond(socket, line.size() >= 2 ? QString::fromUtf8(line[1]) : QString());
        });
    }

    void respond(QTcpSocket *socket, const QString &path)
    {
        const TestStore::Route route = store_.take(path);
        const QByteArray type = "Content-Type: text/html; charset=UTF-8\r\nConnection: close\r\n";
        if (route.failures < 0 || route.body.isNull()) {
            const QByteArray body = route.body.isNull() ? "<html>not found</html>" : "<html>busy</html>";
            socket->write((route.body.isNull() ? "HTTP/1.1 404 Not Found\r\n"
                                               : "HTTP/1.1 500 Internal Server Error\r\n") +
                          type + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
            socket->disconnectFromHost();
            return;
        }
        const QByteArray &body = route.body;
        switch (route.mode) {
        case TestStore::Mode::normal:
            socket->write("HTTP/1.1 200 OK\r\n" + type +
                          "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
            socket->disconnectFromHost();
            return;
        case TestStore::Mode::no_length:
            socket->write("HTTP/1.1 200 OK\r\n" + type + "\r\n" + body);
            socket->disconnectFromHost();
            return;
        case TestStore::Mode::zero_length:
            socket->write("HTTP/1.1 200 OK\r\n" + type + "Content-Length: 0\r\n\r\n" + body);
            socket->disconnectFromHost();
            return;
        case TestStore::Mode::slow_chunks: {
            socket->write("HTTP/1.1 200 OK\r\n" + type + "Transfer-Encoding: chunked\r\n\r\n");
            const qsizetype third = body.size() / 3 + 1;
            for (int i = 0; i < 3; ++i) {
                QPointer<QTcpSocket> guard(socket);
                QTimer::singleShot(100 * (i + 1), socket, [guard, body, third, i] {
                    if (!guard)
                        return;
                    guard->write(chunk(body.mid(third * i, third)));
                    if (i == 2) {
                        guard->write("0\r\n\r\n");
                        guard->disconnectFromHost();
                    }
                });
            }
            return;
        }
        case TestStore::Mode::huge:
        case TestStore::Mode::endless: {
            const bool huge = route.mode == TestStore::Mode::huge;
            const qint64 total = 50LL * 1000 * 1000;
            socket->write("HTTP/1.1 200 OK\r\n" + type +
                          (huge ? "Content-Length: " + QByteArray::number(total)
                                : QByteArray("Transfer-Encoding: chunked")) +
                          "\r\n\r\n");
            auto sent = std::make_shared<qint64>(0);
            const QByteArray piece = QByteArray("<tr><td>x</td></tr>\n").repeated(3000);
            auto pump = [socket, sent, piece, huge, total] {
                while (socket->bytesToWrite() < 256 * 1024 && (!huge || *sent < total)) {
                    socket->write(huge ? piece : chunk(piece));
                    *sent += piece.size();
                }
            };
            QObject::connect(socket, &QTcpSocket::bytesWritten, socket, pump);
            pump();
            return;
        }
        case TestStore::Mode::trickle: {
            socket->write("HTTP/1.1 200 OK\r\n" + type + "Transfer-Encoding: chunked\r\n\r\n");
            auto *timer = new QTimer(socket);
            QObject::connect(timer, &QTimer::timeout, socket, [socket] { socket->write(chunk("<")); });
            timer->start(100);
            return;
        }
        }
    }

    TestStore &store_;
    std::promise<quint16> &port_;
};

TestStore::TestStore()
{
    std::promise<quint16> port;
    thread_ = new TestStoreThread(*this, port);
    thread_->start();
    port_ = port.get_future().get();
}

TestStore::~TestStore()
{
    thread_->quit();
    thread_->wait();
    delete thread_;
}

void TestStore::set(const QString &path, Route route)
{
    QMutexLocker lock(&mutex_);
    routes_.insert(path, std::move(route));
}

int TestStore::hits(const QString &path) const
{
    QMutexLocker lock(&mutex_);
    return hits_.value(path);
}

QStringList TestStore::requests() const
{
    QMutexLocker lock(&mutex_);
    return requests_;
}

TestStore::Route TestStore::take(const QString &path)
{
    QMutexLocker lock(&mutex_);
    ++hits_[path];
    requests_ << path;
    auto it = routes_.find(path);
    if (it == routes_.end())
        return {};
    if (it->failures > 0) {
        --it->failures;
        Route failing = *it;
        failing.failures = -1;
        return failing;
    }
    return *it;
}

QString TestStore::refused_url()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}
