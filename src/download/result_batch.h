#pragma once

#include "book/round_update.h"
#include "book/ticket_book.h"
#include "download/download_session.h"
#include "download/page_receiver.h"
#include "platform/page_fetcher.h"

#include <QHash>
#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// One open round of the book and what the batch found for it.
struct BatchRound {
    enum class Status { pending, found, not_published, failed };
    int entry = 0;
    LotteryKind kind = LotteryKind::toto;
    QString kai;                  // the entry's label
    std::optional<qint64> number; // its round number; none when the label has no digits
    Status status = Status::pending;
    QString message;  // failed: the download dialog's message
    RoundEntry found; // found: the round as its result page gives it
};

// 結果を一括更新: reads the results of every open round of a book from the store's result
// pages, with the download dialog's readers, retries and messages. For each open round in
// list order the result lists of its family are searched (the current year's on the index
// page, older years' only while the round is below every round listed so far), then its
// round page is read for its kind. Each page is fetched at most once (plus retries). Nothing
// is written: updates() stages what the user confirms.
class ResultBatch final : private PageFetcher::Listener {
public:
    ResultBatch(PageFetcher &fetcher, const TicketBook &book, DownloadAddresses addresses);
    ~ResultBatch() override;
    ResultBatch(const ResultBatch &) = delete;
    ResultBatch &operator=(const ResultBatch &) = delete;

    // Starts the batch; a book without open rounds finishes at once, fetching nothing.
    void start();
    // Stops fetching; rounds not yet read stay pending.
    void cancel();

    bool running() const { return running_; }
    // The store could not be reached: every round not read failed with the connection message.
    bool unreachable() const { return unreachable_; }
    const std::vector<BatchRound> &rounds() const { return rounds_; }
    // Rounds settled so far, and the round being read ("第1612回 toto を取得中 3/10").
    int settled() const { return static_cast<int>(next_); }
    QString progress_text() const;
    // The pages requested, retries included.
    int requests() const { return requests_; }

    // The found rounds whose flag in `ticked` (one per round) is set, as results updates.
    std::vector<RoundUpdate> updates(const std::vector<bool> &ticked) const;

    std::function<void()> on_changed;
    std::function<void()> on_finished;

private:
    struct Page {
        enum class State { unread, read, failed };
        State state = State::unread;
        QString text;
        int tries = 0;
    };
    // The result lists of one family (toto side or BIG side).
    struct Family {
        bool index_read = false;
        std::vector<QString> year_urls; // older years, newest first
        size_t years_read = 0;          // of year_urls
        QHash<qint64, QString> rounds;  // round number → its result page
        qint64 lowest = 0;              // of rounds, when it holds any
    };
    // What a round page said of a later open round of the same number, read before the page's
    // text was dropped.
    enum class Early { none, found, not_listed, unreadable };
    // What the page being fetched must satisfy to be taken.
    using Acceptor = std::function<bool(const QString &text)>;

    void fetch_data(const QByteArray &chunk, qint64 content_length) override;
    void fetch_finished(qint64 content_length) override;
    void fetch_failed() override;

    void advance();
    // Settles rounds_[next_] when it needs no fetch; false when it started one. Its cases:
    // the family's index page not read yet, its round listed (the round page), or not (the
    // older years' pages).
    bool settle_current();
    bool read_index(bool big);
    bool look_in_older_years(bool big, qint64 number);
    bool read_round_page(const QString &url);
    // A page that could not be read settles the round as failed; true when it did.
    bool failed_page(const QString &url);
    void fail_round();
    bool list_years(Family &family, bool big, const QString &text) const;
    bool list_rounds(Family &family, bool big, const QString &text) const;
    // What a round page says of the round's kind; `found` filled when it has its results.
    Early read_kind(const BatchRound &round, const QString &text, RoundEntry *found) const;
    // `keep_text`: a round page, whose text the rounds of its number read once it is taken.
    void request(const QString &url, Acceptor accept, bool keep_text = false);
    // Reads every later round of `key` from `page`, then drops the page's text: a batch
    // holds at most one round page at a time.
    void read_ahead(const std::pair<bool, qint64> &key, Page &page);
    // The page in flight arrived (nothing: it could not be decoded or was too large).
    void page_done(const std::optional<QString> &text);
    void settle(BatchRound::Status status, const QString &message = QString());
    void finish();
    void changed();

    PageFetcher &fetcher_;
    DownloadAddresses addresses_;
    std::vector<BatchRound> rounds_;
    size_t next_ = 0;
    std::array<Family, 2> families_{};
    QHash<QString, Page> pages_;
    // (BIG side, round number) → the open rounds that read that round's page, in list order.
    QHash<std::pair<bool, qint64>, std::vector<size_t>> users_;
    std::vector<Early> early_; // per round
    bool keep_text_ = false;   // of the page in flight
    QString fetching_url_;
    Acceptor accept_;
    PageReceiver received_;
    bool running_ = false;
    bool fetching_ = false;
    bool unreachable_ = false;
    int requests_ = 0;
};
