#pragma once

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>
#include <future>

// A small web store on 127.0.0.1 for the download tests: serves the pages it is given on
// its own thread and injects the faults a real server or network shows.
class TestStore {
public:
    enum class Mode {
        normal,      // Content-Length and the body
        no_length,   // no Content-Length: the body ends when the connection closes
        zero_length, // "Content-Length: 0" whatever the page
        slow_chunks, // chunked, three pieces a tenth of a second apart
        huge,        // a 50 MB body, sent as fast as it is read
        endless,     // a chunked body that never ends
        trickle,     // a chunked body of one byte every 100 ms that never ends
    };
    struct Route {
        QByteArray body;
        int failures = 0; // the first `failures` requests get a 500
        Mode mode = Mode::normal;
    };

    TestStore();
    ~TestStore();
    TestStore(const TestStore &) = delete;
    TestStore &operator=(const TestStore &) = delete;

    // http://127.0.0.1:PORT
    QString url() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }
    // `path` with its query, as requested ("/a/b.form?x=1").
    void set(const QString &path, Route route);
    void set(const QString &path, const QString &page) { set(path, Route{page.toUtf8()}); }
    int hits(const QString &path) const;
    // Every request so far, in the order they came, by path with query.
    QStringList requests() const;
    // An address where nothing listens.
    static QString refused_url();

private:
    friend class TestStoreThread;
    Route take(const QString &path); // counts the hit and spends one failure

    mutable QMutex mutex_;
    QHash<QString, Route> routes_;
    QHash<QString, int> hits_;
    QStringList requests_;
    QThread *thread_ = nullptr;
    quint16 port_ = 0;
};
