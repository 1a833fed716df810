#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

// One running program per user, keyed by a name. The first instance holds a lock file and
// listens on a local socket of the same name; a later one finds the lock taken and can ask
// the first, through the socket, to bring its window to the front. A lock left behind by a
// crashed instance is recognised as stale (its process is gone) and taken over.
class SingleInstance {
public:
    // `folder` holds the lock and the socket; by default the user's runtime folder.
    explicit SingleInstance(QString key, QString folder = QString());
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this process is now the one instance. Call once.
    bool acquire();
    // Asks the running instance to activate its window. True when the request was delivered.
    bool request_activation();
    // Gives up the lock and the socket (also done on destruction).
    void release();

    // Called, on the event loop, each time another instance asks for activation.
    std::function<void()> on_activation;

    QString socket_path() const { return socket_path_; }

private:
    QString socket_path_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};

// The key of this program's instance lock.
QString instance_key();
