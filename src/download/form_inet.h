#pragma once

#include "download/download_session.h"
#include "platform/http_fetcher.h"
#include "ui/form_controls.h"
#include "ui/shared_state.h"

#include <memory>
#include <vector>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class UiServices;

// What the downloads keep for the whole run: the team-name table and the last downloaded
// round live as long as the program, as they do between walks of the command line.
struct DownloadRun {
    DownloadRun(DownloadAddresses addresses, std::unique_ptr<Clock> clock_in);

    HttpFetcher fetcher;
    TeamNames names;
    std::unique_ptr<Clock> clock;
    DownloadSession session;
};

// ダウンロード: the user walks the session's choices down to one round. The walk's logic
// is the session's; the dialog shows it and passes the buttons on. It ends accepted with the
// session's outcome (a schedule or results), or rejected with none.
class FormInet : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    FormInet(DownloadSession &session, SharedState &state, UiServices &ui, QWidget *parent = nullptr);
    ~FormInet() override;

    void cmd_ok_Click();
    void cmd_back_Click();
    void cmd_cancel_Click();

protected:
    void on_open() override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void reject() override;

private:
    // Shows the session's list, path, buttons and progress.
    void show_session();
    // The session's notifications count as the transfer handler: a close asked for meanwhile
    // waits until it has returned.
    void handler(const std::function<void()> &body);
    void walk_closed();
    void finish();
    // Cancels the walk; false while the handler runs (the dialog then closes after it).
    bool may_close();

    DownloadSession &session_;
    SharedState &state_;
    UiServices &ui_;
    int event_depth_ = 0;
    bool finishing_ = false;
    // The line chosen on each level, selected again when 戻る returns to it.
    std::vector<QString> came_from_;
    bool going_back_ = false;
    QLabel *lbl_cur_ = nullptr;
    QListWidget *list_inet_ = nullptr;
    QProgressBar *pbar_down_ = nullptr;
    QPushButton *cmd_ok_ = nullptr;
    QPushButton *cmd_back_ = nullptr;
    QPushButton *cmd_cancel_ = nullptr;
};
