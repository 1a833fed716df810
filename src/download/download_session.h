#pragma once

#include "download/download_state.h"
#include "download/page_receiver.h"
#include "download/team_names.h"
#include "platform/clock.h"
#include "platform/page_fetcher.h"

#include <array>
#include <functional>

// Where pages come from: scheme://host[:port] without a trailing slash.
struct DownloadAddresses {
    QString store_url;
    QString team_list_url; // the list server's address; the document's path is added
    // YORIMO_STORE_URL and YORIMO_TEAMLIST_URL, else the operator's store and our list server.
    static DownloadAddresses from_environment();
};

// The messages of a download that ends without its page: "ダウンロードに失敗しました。" when the
// store's pages could not be read, "ｔｏｔｏオフィシャルサイトに接続できません。" when the store
// could not be reached. The dialog's walk and the batch give the same.
QString download_failed_message();
QString store_unreachable_message();

// One walk of the download dialog: from the top-level choices through year, round and kind
// to one downloaded round, fetching and reading pages on the way. The dialog (or the
// command line) shows `lines()`, `lbl_cur()`, the progress and the button states, calls
// cmd_ok / cmd_back / cancel, and on `on_closed` reads outcome(), failure() and
// downloaded_round().
class DownloadSession final : private PageFetcher::Listener {
public:
    struct Failure {
        QString message; // "" when the walk did not end on a failure
        QString title;
    };

    DownloadSession(PageFetcher &fetcher, TeamNames &teams, const Clock &clock, DownloadAddresses addresses);
    ~DownloadSession() override;
    DownloadSession(const DownloadSession &) = delete;
    DownloadSession &operator=(const DownloadSession &) = delete;

    // The dialog opens: no outcome, level 0, the top-level choices.
    void open();
    void list_init();
    // OK on line `line` of the list; ignored while OK is disabled or the line does not exist.
    void cmd_ok(int line);
    // The back button; ignored while it is disabled.
    void cmd_back();
    // Cancel or closing the dialog: nothing is downloaded.
    void cancel();

    // Shown by the dialog.
    const std::vector<ChoiceEntry> &choices() const { return st_.choices; }
    const QStringList &lines() const { return st_.lines; }
    int selected() const { return st_.selected; }
    const QString &lbl_cur() const { return lbl_cur_; }
    bool ok_enabled() const { return st_.ok_enabled; }
    bool back_enabled() const { return st_.back_enabled; }
    int progress() const { return progress_; }
    bool progress_visible() const { return progress_visible_; }

    // download_running: true from open() until the walk ends (data read, failure or cancel).
    bool running() const { return running_; }
    // A page is being fetched.
    bool fetching() const { return fetching_; }
    // What the walk read: a schedule or results (for a new entry), or nothing.
    DownloadOutcome outcome() const { return st_.outcome; }
    const Failure &failure() const { return failure_; }
    const DownloadedRound &downloaded_round() const { return st_.downloaded_round; }

    // The walk's state, for tests and the dialog's diagnostics.
    int step() const { return st_.step; }
    int level() const { return level_; }
    int retry_count() const { return retry_count_; }
    const QString &saved_page() const { return saved_page_; }
    const QString &current_url() const { return st_.current_url; }
    const std::array<ChoiceEntry, 3> &history() const { return history_; }
    const DownloadAddresses &addresses() const { return addresses_; }
    QString team_list_url() const;

    // Something shown changed (list, labels, buttons, progress).
    std::function<void()> on_changed;
    // The walk ended; the dialog closes.
    std::function<void()> on_closed;

private:
    void fetch_data(const QByteArray &chunk, qint64 content_length) override;
    void fetch_finished(qint64 content_length) override;
    void fetch_failed() override;

    void fetch_page(const QString &url);
    void page_rejected(int step);
    void next_teamname();
    // Runs the reader of the current step on the saved page; fetches the page again when
    // the reader rejects it.
    void read_saved_page();
    void after_reading(bool ok, int step, const QString &text, bool fetched);
    void finish_with(const QString &message, const QString &title);
    void close_walk();
    void update_progress(qint64 received, qint64 content_length);
    void changed();

    PageFetcher &fetcher_;
    TeamNames &teams_;
    const Clock &clock_;
    DownloadAddresses addresses_;

    DownloadState st_;
    std::array<ChoiceEntry, 3> history_{};
    ChoiceEntry chosen_; // the kind chosen while the team-name list is fetched
    QString lbl_cur_;
    QString saved_page_;
    PageReceiver received_;
    int level_ = 0;
    int retry_count_ = 0;
    int progress_ = 0;
    bool progress_visible_ = false;
    bool running_ = false;
    bool fetching_ = false;
    Failure failure_;
};
