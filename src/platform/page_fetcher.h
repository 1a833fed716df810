#pragma once

#include <QByteArray>
#include <QString>

// An HTTP GET of one page at a time. The real one works asynchronously on the event loop;
// tests drive the session through it over a local test store.
class PageFetcher {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        // Part of the body. `content_length` is the response's Content-Length, -1 without one.
        virtual void fetch_data(const QByteArray &chunk, qint64 content_length) = 0;
        // The response is complete (whatever its status: the page reader judges the body).
        virtual void fetch_finished(qint64 content_length) = 0;
        // No response: refused, unreachable, timed out, or the connection broke.
        virtual void fetch_failed() = 0;
    };

    virtual ~PageFetcher() = default;
    virtual void set_listener(Listener *listener) = 0;
    // Starts a GET of an absolute address, dropping the one in flight. Notifications come
    // later from the event loop, never from inside this call.
    virtual void fetch(const QString &url) = 0;
    // Drops the transfer in flight; it reports nothing more.
    virtual void cancel() = 0;
};
