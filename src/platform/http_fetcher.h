#pragma once

#include "platform/page_fetcher.h"

#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QNetworkReply;

// Pages over HTTP(S) with QNetworkAccessManager: redirects followed, the body passed on as
// it arrives, and a transfer that stalls or runs too long reported as a failed connection.
class HttpFetcher final : public QObject, public PageFetcher {
    Q_OBJECT
public:
    // `stall_ms`: no byte for this long ends the transfer; `total_ms`: nor may it take longer.
    explicit HttpFetcher(int stall_ms = 20000, int total_ms = 60000, QObject *parent = nullptr);
    ~HttpFetcher() override;

    void set_listener(Listener *listener) override { listener_ = listener; }
    void fetch(const QString &url) override;
    void cancel() override;

private:
    void read_available();
    void finished();
    qint64 content_length() const;

    QNetworkAccessManager manager_;
    QPointer<QNetworkReply> reply_;
    QTimer deadline_;
    Listener *listener_ = nullptr;
    int stall_ms_;
};
