#include "download/result_batch.h"

#include "book/message_text.h"
#include "download/download_confirmation.h"
#include "download/page_readers.h"
#include "download/tag_scanner.h"
#include "results/winning_check.h"

#include <QSet>
#include <algorithm>

namespace {

// A page is tried this often before the batch gives up on it, as in the download dialog.
constexpr int kTries = 12;

} // namespace

ResultBatch::ResultBatch(PageFetcher &fetcher, const TicketBook &book, DownloadAddresses addresses)
    : fetcher_(fetcher), addresses_(std::move(addresses))
{
    for (int e = 0; e < book.entry_count(); ++e) {
        const RoundEntry &entry = book.entries[static_cast<size_t>(e)];
        if (!round_is_open(entry))
            continue;
        BatchRound round;
        round.entry = e;
        round.kind = entry.kind;
        round.kai = entry.kai.text();
        round.number = label_number(round.kai);
        rounds_.push_back(round);
    }
    for (size_t i = 0; i < rounds_.size(); ++i)
        if (rounds_[i].number)
            users_[{is_big_family(rounds_[i].kind), *rounds_[i].number}].push_back(i);
    early_.assign(rounds_.size(), Early::none);
    fetcher_.set_listener(this);
}

ResultBatch::~ResultBatch()
{
    fetcher_.cancel();
    fetcher_.set_listener(nullptr);
}

void ResultBatch::start()
{
    running_ = true;
    advance();
}

void ResultBatch::cancel()
{
    if (!running_)
        return;
    fetcher_.cancel();
    fetching_ = false;
    running_ = false;
    changed();
}

QString ResultBatch::progress_text() const
{
    if (next_ >= rounds_.size())
        return QString();
    const BatchRound &r = rounds_[next_];
    // One arg() call, so that a label holding "%1" stays as it is.
    QString text = QStringLiteral("%1 %2 を取得中 %3/%4")
                       .arg(kai_caption(r.kai), kind_display_name(r.kind), QString::number(next_ + 1),
                            QString::number(rounds_.size()));
    // A page tried again says so, rather than the line standing still through the retries.
    const auto page = pages_.constFind(fetching_url_);
    if (fetching_ && page != pages_.constEnd() && page->tries > 1)
        text += QStringLiteral("（再試行 %1/%2）").arg(page->tries - 1).arg(kTries - 1);
    return text;
}

std::vector<RoundUpdate> ResultBatch::updates(const std::vector<bool> &ticked) const
{
    std::vector<RoundUpdate> out;
    for (size_t i = 0; i < rounds_.size() && i < ticked.size(); ++i)
        if (ticked[i] && rounds_[i].status == BatchRound::Status::found)
            out.push_back(results_update(rounds_[i].entry, rounds_[i].found));
    return out;
}

void ResultBatch::advance()
{
    while (running_ && !fetching_ && next_ < rounds_.size())
        if (!settle_current())
            return;
    if (running_ && !fetching_)
        finish();
}

bool ResultBatch::settle_current()
{
    const BatchRound &round = rounds_[next_];
    if (!round.number) {
        settle(BatchRound::Status::not_published);
        return true;
    }
    const bool big = is_big_family(round.kind);
    const Family &family = families_[big ? 1 : 0];
    if (!family.index_read)
        return read_index(big);
    if (const auto listed = family.rounds.constFind(*round.number); listed != family.rounds.cend())
        return read_round_page(*listed);
    return look_in_older_years(big, *round.number);
}

bool ResultBatch::failed_page(const QString &url)
{
    if (pages_[url].state != Page::State::failed)
        return false;
    fail_round();
    return true;
}

void ResultBatch::fail_round()
{
    settle(BatchRound::Status::failed, download_failed_message());
}

bool ResultBatch::read_index(bool big)
{
    const QString url = result_index_url(addresses_.store_url, big);
    if (failed_page(url))
        return true;
    request(url, [this, big](const QString &text) {
        Family read;
        if (!list_years(read, big, text) || !list_rounds(read, big, text))
            return false;
        read.index_read = true;
        families_[big ? 1 : 0] = std::move(read);
        return true;
    });
    return false;
}

bool ResultBatch::look_in_older_years(bool big, qint64 number)
{
    const Family &family = families_[big ? 1 : 0];
    // Older years are read only for a round below every round listed so far (all of them,
    // while the lists hold none).
    if ((!family.rounds.isEmpty() && number > family.lowest) ||
        family.years_read >= family.year_urls.size()) {
        settle(BatchRound::Status::not_published);
        return true;
    }
    const QString url = family.year_urls[family.years_read];
    if (failed_page(url))
        return true;
    request(url, [this, big](const QString &text) {
        Family &f = families_[big ? 1 : 0];
        if (!list_rounds(f, big, text))
            return false;
        ++f.years_read;
        return true;
    });
    return false;
}

bool ResultBatch::read_round_page(const QString &url)
{
    Page &page = pages_[url];
    if (failed_page(url))
        return true;
    const size_t at = next_;
    const Acceptor accept = [this, at](const QString &text) {
        RoundEntry found;
        return read_kind(rounds_[at], text, &found) != Early::unreadable;
    };
    if (page.state == Page::State::unread) {
        request(url, accept, true);
        return false;
    }
    // This round fetched the page, or a round before it read this round's kind ahead.
    Early early = early_[next_];
    if (early == Early::none && !page.text.isEmpty())
        early = read_kind(rounds_[next_], page.text, &rounds_[next_].found);
    switch (early) {
    case Early::found: settle(BatchRound::Status::found); return true;
    case Early::not_listed: settle(BatchRound::Status::not_published); return true;
    case Early::none:
    case Early::unreadable: break;
    }
    // The data of this kind did not read: the page is fetched again while tries remain.
    if (page.tries < kTries) {
        early_[next_] = Early::none;
        request(url, accept, true);
        return false;
    }
    fail_round();
    return true;
}

void ResultBatch::read_ahead(const std::pair<bool, qint64> &key, Page &page)
{
    if (const auto users = users_.constFind(key); users != users_.cend()) {
        for (const size_t j : *users) {
            if (j <= next_ || early_[j] == Early::found || early_[j] == Early::not_listed)
                continue;
            early_[j] = read_kind(rounds_[j], page.text, &rounds_[j].found);
        }
    }
    page.text.clear();
}

bool ResultBatch::list_years(Family &family, bool big, const QString &text) const
{
    const std::optional<std::vector<ListedPage>> years = listed_years(addresses_.store_url, text, big);
    if (!years)
        return false;
    // The first is the current year, listed on the index page itself.
    const int current = leading_number(years->front().caption);
    std::vector<std::pair<int, QString>> older;
    for (size_t i = 1; i < years->size(); ++i) {
        const int year = leading_number((*years)[i].caption);
        if (year < current)
            older.emplace_back(year, (*years)[i].url);
    }
    std::stable_sort(older.begin(), older.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    // A page listed under two years is still read once.
    family.year_urls.clear();
    QSet<QString> listed;
    for (auto &year : older)
        if (!listed.contains(year.second)) {
            listed.insert(year.second);
            family.year_urls.push_back(std::move(year.second));
        }
    return true;
}

bool ResultBatch::list_rounds(Family &family, bool big, const QString &text) const
{
    const std::optional<std::vector<ListedPage>> rounds = listed_rounds(addresses_.store_url, text, big);
    if (!rounds)
        return false;
    for (const ListedPage &round : *rounds) {
        const std::optional<qint64> number = label_number(chg_kai(round.caption));
        if (!number || family.rounds.contains(*number))
            continue;
        family.lowest = family.rounds.isEmpty() ? *number : std::min(family.lowest, *number);
        family.rounds.insert(*number, round.url);
    }
    return true;
}

ResultBatch::Early ResultBatch::read_kind(const BatchRound &round, const QString &text,
                                          RoundEntry *found) const
{
    const std::optional<std::vector<LotteryKind>> kinds = listed_kinds(text, is_big_family(round.kind));
    if (!kinds)
        return Early::unreadable;
    if (std::find(kinds->begin(), kinds->end(), round.kind) == kinds->end())
        return Early::not_listed;
    const std::optional<DownloadedRound> results = round_results(text, round.kind);
    if (!results)
        return Early::unreadable;
    *found = book_round(*results);
    return Early::found;
}

void ResultBatch::request(const QString &url, Acceptor accept, bool keep_text)
{
    keep_text_ = keep_text;
    ++pages_[url].tries;
    ++requests_;
    fetching_url_ = url;
    accept_ = std::move(accept);
    received_.clear();
    fetching_ = true;
    fetcher_.fetch(url);
    changed();
}

void ResultBatch::fetch_data(const QByteArray &chunk, qint64)
{
    if (!fetching_)
        return;
    if (!received_.take(chunk)) {
        // Not a page of the store: read no further, and treat it as rejected.
        fetcher_.cancel();
        page_done(std::nullopt);
    }
}

void ResultBatch::fetch_finished(qint64)
{
    if (!fetching_)
        return;
    page_done(received_.finish());
}

void ResultBatch::page_done(const std::optional<QString> &text)
{
    fetching_ = false;
    if (!running_)
        return;
    Page &page = pages_[fetching_url_];
    if (text && accept_(*text)) {
        page.state = Page::State::read;
        if (keep_text_)
            page.text = *text;
    } else if (page.tries < kTries) {
        request(fetching_url_, accept_);
        return;
    } else {
        // A page read before stays readable for the other kinds of its round.
        if (page.state == Page::State::unread)
            page.state = Page::State::failed;
        fail_round();
    }
    advance();
}

void ResultBatch::fetch_failed()
{
    if (!fetching_)
        return;
    fetching_ = false;
    received_.clear();
    if (!running_)
        return;
    unreachable_ = true;
    while (next_ < rounds_.size())
        settle(BatchRound::Status::failed, store_unreachable_message());
    finish();
}

void ResultBatch::settle(BatchRound::Status status, const QString &message)
{
    BatchRound &round = rounds_[next_];
    round.status = status;
    round.message = message;
    if (round.number) {
        const std::pair<bool, qint64> key{is_big_family(round.kind), *round.number};
        const Family &family = families_[key.first ? 1 : 0];
        if (const auto url = family.rounds.constFind(key.second); url != family.rounds.cend())
            if (auto page = pages_.find(*url); page != pages_.end() && !page->text.isEmpty())
                read_ahead(key, *page);
    }
    ++next_;
    changed();
}

void ResultBatch::finish()
{
    running_ = false;
    changed();
    if (on_finished)
        on_finished();
}

void ResultBatch::changed()
{
    if (on_changed)
        on_changed();
}
