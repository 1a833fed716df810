#include "platform/http_fetcher.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

HttpFetcher::HttpFetcher(int stall_ms, int total_ms, QObject *parent) : QObject(parent), stall_ms_(stall_ms)
{
    deadline_.setSingleShot(true);
    deadline_.setInterval(total_ms);
    connect(&deadline_, &QTimer::timeout, this, [this] {
        if (!reply_)
            return;
        cancel();
        if (listener_)
            listener_->fetch_failed();
    });
}

HttpFetcher::~HttpFetcher()
{
    cancel();
}

void HttpFetcher::fetch(const QString &url)
{
    cancel();
    QNetworkRequest request{QUrl(url)};
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(5);
    request.setTransferTimeout(stall_ms_);
    reply_ = manager_.get(request);
    connect(reply_, &QNetworkReply::readyRead, this, &HttpFetcher::read_available);
    connect(reply_, &QNetworkReply::finished, this, &HttpFetcher::finished);
    deadline_.start();
}

void HttpFetcher::cancel()
{
    deadline_.stop();
    if (!reply_)
        return;
    QNetworkReply *reply = reply_;
    reply_ = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}

qint64 HttpFetcher::content_length() const
{
    const QVariant length = reply_ ? reply_->header(QNetworkRequest::ContentLengthHeader) : QVariant();
    bool ok = false;
    const qint64 value = length.toLongLong(&ok);
    return ok ? value : -1;
}

void HttpFetcher::read_available()
{
    QNetworkReply *reply = reply_;
    while (reply && reply == reply_ && reply->bytesAvailable() > 0) {
        const QByteArray chunk = reply->read(1024);
        if (chunk.isEmpty())
            break;
        if (listener_)
            listener_->fetch_data(chunk, content_length()); // may cancel or start another fetch
    }
}

void HttpFetcher::finished()
{
    QNetworkReply *reply = reply_;
    if (!reply)
        return;
    read_available();
    if (reply != reply_)
        return;
    // An HTTP status is an answer: its body goes to the page reader, which rejects what is
    // not a page. Only a missing answer counts as a failed connection.
    const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() &&
                          reply->error() != QNetworkReply::RemoteHostClosedError &&
                          reply->error() != QNetworkReply::OperationCanceledError &&
                          reply->error() != QNetworkReply::TimeoutError;
    const qint64 length = content_length();
    deadline_.stop();
    reply_ = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->deleteLater();
    if (!listener_)
        return;
    if (answered)
        listener_->fetch_finished(length);
    else
        listener_->fetch_failed();
}
