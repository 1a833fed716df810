#include "download/download_session.h"

#include "download/page_readers.h"
#include "download/tag_scanner.h"

#include <QtGlobal>

namespace {

// The body size the progress estimate assumes when the response gives no usable length.
constexpr qint64 kAssumedLength = 20000;

QString address_from(const char *variable, const QString &fallback)
{
    QString value = qEnvironmentVariable(variable);
    while (value.endsWith(u'/'))
        value.chop(1);
    return value.isEmpty() ? fallback : value;
}

} // namespace

QString download_failed_message()
{
    return QStringLiteral("ダウンロードに失敗しました。");
}

QString store_unreachable_message()
{
    return QStringLiteral("ｔｏｔｏオフィシャルサイトに接続できません。");
}

DownloadAddresses DownloadAddresses::from_environment()
{
    // The team-name list server is ours to run; until one is configured the default host
    // does not resolve and the list shipped with the program is used.
    return {address_from("YORIMO_STORE_URL", QStringLiteral("https://store.toto-dream.com")),
            address_from("YORIMO_TEAMLIST_URL", QStringLiteral("http://teamlist.yorimo.invalid"))};
}

DownloadSession::DownloadSession(PageFetcher &fetcher, TeamNames &teams, const Clock &clock,
                                 DownloadAddresses addresses)
    : fetcher_(fetcher), teams_(teams), clock_(clock), addresses_(std::move(addresses))
{
    fetcher_.set_listener(this);
    st_.store_url = addresses_.store_url;
}

DownloadSession::~DownloadSession()
{
    fetcher_.cancel();
    fetcher_.set_listener(nullptr);
}

QString DownloadSession::team_list_url() const
{
    return addresses_.team_list_url + QStringLiteral("/soft/data/tototeam.xml");
}

void DownloadSession::open()
{
    fetcher_.cancel();
    fetching_ = false;
    level_ = 0;
    running_ = true;
    failure_ = {};
    st_.outcome = DownloadOutcome::cancelled;
    st_.today = clock_.today();
    lbl_cur_.clear();
    progress_ = 0;
    progress_visible_ = false;
    list_init();
}

void DownloadSession::list_init()
{
    st_.step = kStepScheduleKai;
    retry_count_ = 0;
    saved_page_.clear();
    const QString &store = addresses_.store_url;
    const QDate today = clock_.today();
    st_.choices = {
        {0,
         QStringLiteral("開催情報(toto)"),
         {},
         {},
         kStepScheduleKai,
         schedule_script_url(store, today, false)},
        {0,
         QStringLiteral("開催情報(BIG)"),
         {},
         {},
         kStepBigScheduleKai,
         schedule_script_url(store, today, true)},
        {0, QStringLiteral("くじ結果(toto)"), {}, {}, kStepResultYear, result_index_url(store, false)},
        {0, QStringLiteral("くじ結果(BIG)"), {}, {}, kStepBigResultYear, result_index_url(store, true)},
    };
    st_.show_choices();
    st_.back_enabled = false;
    changed();
}

void DownloadSession::cmd_ok(int line)
{
    if (!running_ || !st_.ok_enabled || line < 0 || line >= static_cast<int>(st_.choices.size()))
        return;
    st_.selected = line;
    const ChoiceEntry choice = st_.choices[static_cast<size_t>(line)];
    st_.ok_enabled = st_.back_enabled = false;
    if (level_ >= 0 && level_ <= 2) {
        ChoiceEntry &h = history_[static_cast<size_t>(level_)];
        h = {};
        h.caption = lbl_cur_;
        if (st_.step == kStepScheduleKaiDetail) {
            h.url = st_.list_url;
            h.step = kStepScheduleKai;
        } else if (st_.step == kStepBigScheduleKaiDetail) {
            h.url = st_.list_url;
            h.step = kStepBigScheduleKai;
        } else {
            h.url = st_.current_url;
            h.step = st_.step;
        }
    }
    if (!lbl_cur_.isEmpty())
        lbl_cur_ += u'-';
    lbl_cur_ += choice.caption;
    ++level_;
    retry_count_ = 0;
    fetcher_.cancel();
    fetching_ = false;

    if (is_schedule_data_step(choice.step)) {
        // The team names are brought up to date before the pairings are read.
        chosen_ = choice;
        st_.step = choice.step >= kStepBigScheduleData ? kStepBigTeamName : kStepTeamName;
        fetch_page(team_list_url());
    } else if (choice.url.isEmpty()) {
        st_.step = choice.step;
        read_saved_page();
    } else {
        st_.current_url = choice.url;
        st_.step = choice.step;
        fetch_page(st_.current_url);
    }
    changed();
}

void DownloadSession::cmd_back()
{
    if (!running_ || !st_.back_enabled)
        return;
    st_.ok_enabled = st_.back_enabled = false;
    --level_;
    if (level_ > 0 && level_ <= 2) {
        const ChoiceEntry h = history_[static_cast<size_t>(level_)];
        lbl_cur_ = h.caption;
        st_.step = h.step;
        retry_count_ = 0;
        fetcher_.cancel();
        fetching_ = false;
        if (st_.current_url != h.url) {
            st_.current_url = h.url;
            fetch_page(st_.current_url);
        } else {
            read_saved_page();
        }
    } else {
        level_ = 0;
        fetcher_.cancel();
        fetching_ = false;
        list_init();
        lbl_cur_.clear();
        st_.ok_enabled = true;
    }
    changed();
}

void DownloadSession::cancel()
{
    if (!running_)
        return;
    st_.outcome = DownloadOutcome::cancelled;
    close_walk();
}

void DownloadSession::fetch_page(const QString &url)
{
    progress_ = 0;
    progress_visible_ = true;
    received_.clear();
    fetching_ = true;
    fetcher_.fetch(url);
}

void DownloadSession::fetch_data(const QByteArray &chunk, qint64 content_length)
{
    if (!fetching_)
        return;
    if (!received_.take(chunk)) {
        // Not a page of the store: stop reading and treat it as rejected.
        fetcher_.cancel();
        fetching_ = false;
        if (running_)
            page_rejected(st_.step);
        changed();
        return;
    }
    update_progress(received_.size(), content_length);
    changed();
}

void DownloadSession::update_progress(qint64 r, qint64 content_length)
{
    const qint64 n = (content_length >= 1 && content_length <= 32767) ? content_length : kAssumedLength;
    const int step = st_.step;
    if (step == kStepScheduleKai || step == kStepBigScheduleKai) {
        progress_ = r >= n ? 45 : static_cast<int>(5 + 40 * r / n);
    } else if (step == kStepScheduleKaiDetail || step == kStepBigScheduleKaiDetail) {
        const qint64 count = std::max<qint64>(1, static_cast<qint64>(st_.choices.size()));
        const qint64 done = st_.detail_index;
        progress_ = static_cast<int>(r >= n ? 50 + (50 * done + 45) / count
                                            : 50 + (40 * r / n + 50 * done + 5) / count);
    } else {
        progress_ = r >= n ? 90 : static_cast<int>(10 + 80 * r / n);
    }
}

void DownloadSession::fetch_finished(qint64 content_length)
{
    if (!fetching_)
        return;
    fetching_ = false;
    (void)content_length;
    if (progress_ == 0)
        progress_ = 10;
    if (!running_)
        return;
    const int step = st_.step;
    const std::optional<QString> text = received_.finish();
    st_.fetch_request.clear();
    const bool ok = text && get_data(st_, teams_, *text);
    after_reading(ok, step, text.value_or(QString()), true);
    changed();
}

void DownloadSession::after_reading(bool ok, int step, const QString &text, bool fetched)
{
    if (!ok) {
        if (fetched)
            page_rejected(step);
        else
            fetch_page(st_.current_url); // the saved page did not serve: fetch it again
        return;
    }
    if (!is_team_list_step(step) && step != kStepScheduleKaiDetail && step != kStepBigScheduleKaiDetail)
        saved_page_ = text;
    const bool more_info_pages =
        (st_.step == kStepScheduleKaiDetail || st_.step == kStepBigScheduleKaiDetail) &&
        st_.detail_index < static_cast<int>(st_.choices.size());
    if (more_info_pages) {
        progress_ = 50 + 50 * st_.detail_index / static_cast<int>(st_.choices.size());
    } else {
        progress_ = 100;
        progress_visible_ = false;
    }
    if (chk_end(step) && !is_team_list_step(step)) {
        close_walk();
        return;
    }
    if (is_team_list_step(step)) {
        next_teamname();
        return;
    }
    if (!st_.fetch_request.isEmpty()) {
        const QString url = st_.fetch_request;
        st_.fetch_request.clear();
        const int shown = progress_;
        fetch_page(url);
        progress_ = shown; // the chained info pages keep their share of the bar
    }
}

void DownloadSession::page_rejected(int step)
{
    if (retry_count_ <= 10) {
        ++retry_count_;
        fetch_page(is_team_list_step(step) ? team_list_url() : st_.current_url);
        return;
    }
    if (is_team_list_step(step)) {
        next_teamname();
        return;
    }
    finish_with(download_failed_message(), QStringLiteral("ｙｏｒｉｍｏ"));
}

void DownloadSession::fetch_failed()
{
    if (!fetching_)
        return;
    fetching_ = false;
    received_.clear();
    if (!running_)
        return;
    if (is_team_list_step(st_.step))
        next_teamname();
    else
        finish_with(store_unreachable_message(), QStringLiteral("ｙｏｒｉｍｏ"));
    changed();
}

void DownloadSession::next_teamname()
{
    retry_count_ = 0;
    fetcher_.cancel();
    fetching_ = false;
    st_.step = chosen_.step;
    if (chosen_.url.isEmpty()) {
        read_saved_page();
    } else {
        st_.current_url = chosen_.url;
        fetch_page(st_.current_url);
    }
}

void DownloadSession::read_saved_page()
{
    const int step = st_.step;
    st_.fetch_request.clear();
    const bool ok = get_data(st_, teams_, saved_page_);
    after_reading(ok, step, saved_page_, false);
}

void DownloadSession::finish_with(const QString &message, const QString &title)
{
    failure_ = {message, title};
    st_.outcome = DownloadOutcome::cancelled;
    close_walk();
}

void DownloadSession::close_walk()
{
    running_ = false;
    fetcher_.cancel();
    fetching_ = false;
    progress_visible_ = false;
    changed();
    if (on_closed)
        on_closed();
}

void DownloadSession::changed()
{
    if (on_changed)
        on_changed();
}
