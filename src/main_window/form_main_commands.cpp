// The main window's commands that open the dialogs, and help. Each command runs its dialog;
// the dialog hands what the user confirmed to the commit the command gives it.
#include "main_window/form_main.h"

#include "book/amount_text.h"
#include "book/book_file.h"
#include "book/csv_export.h"
#include "book/csv_import.h"
#include "download/apply_download.h"
#include "download/download_confirmation.h"
#include "download/form_batch_update.h"
#include "download/form_downset.h"
#include "download/form_inet.h"
#include "download/form_inetchk.h"
#include "entry/form_goal_multi.h"
#include "entry/form_goal_name.h"
#include "entry/form_goal_single.h"
#include "entry/form_kakunin.h"
#include "entry/form_quick.h"
#include "entry/purchase_review.h"
#include "main_window/form_about.h"
#include "main_window/form_live.h"
#include "main_window/form_stats.h"
#include "main_window/notice_bar.h"
#include "results/form_result.h"
#include "results/winning_check.h"
#include "ui/save_name.h"
#include "ui/ui_services.h"

#include <QFileInfo>
#include <algorithm>
#include <memory>

namespace {

// The dialog of the kind's family: `Match` for the match kinds, `Goal` for the goal kinds,
// both sharing the class `Base`.
template <typename Base, typename Match, typename Goal, typename... Args>
std::unique_ptr<Base> family_dialog(LotteryKind kind, Args &&...args)
{
    if (is_match_kind(kind))
        return std::make_unique<Match>(std::forward<Args>(args)...);
    return std::make_unique<Goal>(std::forward<Args>(args)...);
}

// Runs a dialog modally; true when it ended with OK.
bool run(SharedState &state, form_ui::OpeningDialog &dialog)
{
    state.dialog_result = DialogResult::cancelled;
    dialog.load();
    dialog.exec();
    return state.dialog_result == DialogResult::ok;
}

} // namespace

// --- commands of the dialogs ----------------------------------------------------------------
// Each dialog hands what the user confirmed to the commit it is given; the document stores
// it as one step and the window follows its report (book_changed).

void FormMain::register_round(LotteryKind kind)
{
    state_.editing.reset();
    auto dialog =
        family_dialog<FormName, FormName, FormGoalName>(kind, state_, ui_, round_commit(state_), this);
    dialog->set_kind(kind);
    run(state_, *dialog);
}

void FormMain::menu_single_Click()
{
    if (!take_selection())
        return;
    state_.editing.reset();
    auto dialog = family_dialog<FormSingle, FormSingle, FormGoalSingle>(state_.current_entry().kind, state_,
                                                                        ui_, single_commit(state_), this);
    run(state_, *dialog);
}

void FormMain::menu_multi_Click()
{
    // BIG-family rounds take single tickets only.
    if (!take_selection() || is_big_family(state_.current_entry().kind))
        return;
    state_.editing.reset();
    auto dialog = family_dialog<FormMulti, FormMulti, FormGoalMulti>(state_.current_entry().kind, state_, ui_,
                                                                     multi_commit(state_), this);
    run(state_, *dialog);
}

void FormMain::menu_quick_Click()
{
    if (!take_selection())
        return;
    state_.editing.reset();
    FormQuick dialog(state_, ui_, tickets_commit(state_), this);
    run(state_, dialog);
}

bool FormMain::edit_round()
{
    if (!state_.has_current())
        return false;
    state_.editing = state_.current;
    const LotteryKind kind = state_.current_entry().kind;
    auto dialog =
        family_dialog<FormName, FormName, FormGoalName>(kind, state_, ui_, round_commit(state_), this);
    dialog->set_kind(kind);
    return run(state_, *dialog);
}

bool FormMain::edit_single(int pool_index)
{
    if (!state_.has_current() || pool_index < 0 ||
        pool_index >= static_cast<int>(state_.book().single_pool(state_.current_entry().kind).size()))
        return false;
    state_.editing = pool_index;
    auto dialog = family_dialog<FormSingle, FormSingle, FormGoalSingle>(state_.current_entry().kind, state_,
                                                                        ui_, single_commit(state_), this);
    return run(state_, *dialog);
}

bool FormMain::edit_multi(int pool_index)
{
    if (!state_.has_current() || pool_index < 0 ||
        pool_index >= static_cast<int>(state_.book().multi_pool(state_.current_entry().kind).size()))
        return false;
    state_.editing = pool_index;
    auto dialog = family_dialog<FormMulti, FormMulti, FormGoalMulti>(state_.current_entry().kind, state_, ui_,
                                                                     multi_commit(state_), this);
    return run(state_, *dialog);
}

void FormMain::menu_kakunin_Click()
{
    if (!take_selection())
        return;
    ReviewEditors editors = review_commits(state_);
    editors.edit_round = [this] { return edit_round(); };
    editors.edit_single = [this](int pool_index) { return edit_single(pool_index); };
    editors.edit_multi = [this](int pool_index) { return edit_multi(pool_index); };
    auto dialog = family_dialog<KakuninDialog, FormKakunin, FormGoalKakunin>(state_.current_entry().kind,
                                                                             state_, ui_, editors, this);
    dialog->csv_flag = 0;
    run(state_, *dialog);
}

void FormMain::menu_delete_Click()
{
    if (!take_selection() || !confirm_deletion(ui_, this, round_deletion_text(state_.book(), state_.current)))
        return;
    if (const Outcome deleted = state_.document.delete_round(state_.current); !deleted.ok)
        show_error(deleted);
}

void FormMain::menu_result_Click()
{
    if (!take_selection())
        return;
    auto dialog = family_dialog<ResultDialog, FormResult, FormGoalResult>(state_.current_entry().kind, state_,
                                                                          ui_, results_commit(state_), this);
    run(state_, *dialog);
}

void FormMain::menu_live_Click()
{
    // The shortcut may outrun the menu's state.
    if (!take_selection())
        return;
    const RoundEntry &entry = state_.current_entry();
    if (entry.tickets == 0 || entry.state == kPrizeRefund)
        return;
    FormLive dialog(state_, ui_, results_commit(state_), this);
    run(state_, dialog);
}

QString FormMain::csv_filter()
{
    return QStringLiteral("CSVファイル(*.csv);;すべてのファイル(*)");
}

void FormMain::menu_csv_write_Click()
{
    // The command is off without a selected round; a shortcut must not outrun that.
    if (selected_entry() < 0)
        return;
    // "1612_toto.csv" in the book's folder.
    const RoundEntry &round = state_.book().entries[static_cast<size_t>(selected_entry())];
    const QString name = ask_export_name(ui_, this, csv_file_name(round), csv_filter(),
                                         QStringLiteral(".csv"), state_.document.path());
    if (name.isEmpty())
        return;
    if (!take_selection())
        return;
    if (const Outcome saved = save_csv(state_.book(), state_.current, name, state_.document.path());
        !saved.ok)
        show_error(saved);
}

void FormMain::menu_csv_read_Click()
{
    const QString name = ui_.open_file_name(this, csv_filter(), book_folder(state_.document.path()));
    if (name.isEmpty())
        return;
    const CsvImport staged = read_csv(name, state_.book());
    if (!staged.outcome.ok) {
        ui_.message(this, staged.outcome.message, program_title(), UiServices::Icon::critical,
                    UiServices::Buttons::ok, staged.detail);
        return;
    }
    // A header alone stages nothing: there is nothing to confirm.
    if (staged.csv_rows.empty())
        return;
    state_.current = staged.entry;
    auto dialog = family_dialog<KakuninDialog, FormKakunin, FormGoalKakunin>(staged.kind, state_, ui_,
                                                                             review_commits(state_), this);
    dialog->set_csv_import(staged);
    run(state_, *dialog);
}

void FormMain::menu_down_Click()
{
    DownloadRun &download = download_run();
    const DownloadSession &session = download.session;
    DownloadOutcome outcome = DownloadOutcome::cancelled;
    {
        FormInet inet(download.session, state_, ui_, this);
        inet.load();
        if (inet.exec() == QDialog::Accepted)
            outcome = session.outcome();
    }
    // The placement and the repeat check see the round as the book would hold it.
    const RoundEntry received = book_round(session.downloaded_round());
    // A schedule of a round the book holds already would make a second entry of it.
    if (outcome == DownloadOutcome::schedule_as_new_entry && holds_round(state_.book(), received) &&
        ui_.message(this, QStringLiteral("同じ開催回が既にあります。追加しますか？"), program_title(),
                    UiServices::Icon::question,
                    UiServices::Buttons::yes_no_default_no) != UiServices::Answer::yes)
        return;
    int target = -1;
    if (outcome == DownloadOutcome::result_as_new_entry) {
        FormDownset downset(received, state_, this);
        downset.load();
        downset.exec();
        outcome = downset.outcome();
        target = downset.target();
    }
    if (outcome == DownloadOutcome::cancelled)
        return;
    const DownloadedData data{session.downloaded_round(), download.names};
    {
        // The confirmation shows the round as it will be written, names already fitted.
        const RoundEntry incoming = entry_from_download(data, outcome);
        auto check = family_dialog<InetCheckDialog, FormInetChk, FormGoalInetChk>(
            incoming.kind, incoming, outcome, target, state_, this);
        check->load();
        if (check->exec() != QDialog::Accepted)
            return;
    }
    int entry = -1;
    if (const Outcome applied = apply_download(state_.document, data, outcome, target, &entry); !applied.ok)
        show_error(applied);
}

void FormMain::menu_batch_Click()
{
    const TicketBook &book = state_.book();
    if (std::none_of(book.entries.begin(), book.entries.end(), round_is_open))
        return; // the shortcut may outrun the menu's state
    HttpFetcher fetcher;
    ResultBatch batch(fetcher, book, download_run().session.addresses());
    {
        FormBatchProgress progress(batch, ui_, this);
        progress.load();
        if (progress.exec() != QDialog::Accepted)
            return;
    }
    const Commit<std::vector<RoundUpdate>> commit = [this](const std::vector<RoundUpdate> &updates) {
        const WideInt won_before = book_totals(state_.book()).won;
        const Outcome done = state_.document.apply_updates(BookDocument::Source::batch, updates);
        if (!done.ok && !done.message.isEmpty())
            show_error(done);
        if (done.ok) {
            // What the batch did stays in view after its window has gone.
            const WideInt gained = book_totals(state_.book()).won - won_before;
            notice_->show_notice(
                QStringLiteral("%1回を更新しました。当選金額 %2円")
                    .arg(QString::number(updates.size()),
                         (gained < 0 ? QString() : QStringLiteral("+")) + format_yen(gained)));
        }
        return done;
    };
    FormBatchCheck check(batch, state_, ui_, commit, this);
    check.load();
    check.exec();
}

void FormMain::menu_stats_Click()
{
    if (state_.book().entry_count() == 0) // the shortcut may outrun the menu's state
        return;
    FormStats stats(state_.book(), state_.document.path(), ui_, this);
    stats.exec();
}

// --- undo and redo ----------------------------------------------------------------------------

void FormMain::menu_undo_Click()
{
    state_.document.undo();
}

void FormMain::menu_redo_Click()
{
    state_.document.redo();
}

void FormMain::set_history_commands()
{
    const BookDocument &document = state_.document;
    // "元に戻す(U) マルチ購入": the caption names the step it takes back.
    menu_undo_->setText(document.can_undo() ? QStringLiteral("元に戻す(&U) ") + document.undo_name()
                                            : QStringLiteral("元に戻す(&U)"));
    menu_undo_->setEnabled(document.can_undo());
    menu_redo_->setText(document.can_redo() ? QStringLiteral("やり直し(&R) ") + document.redo_name()
                                            : QStringLiteral("やり直し(&R)"));
    menu_redo_->setEnabled(document.can_redo());
    // 結果を一括更新 needs a round whose results or prizes are still open.
    const auto &entries = document.book().entries;
    if (auto *batch = findChild<QAction *>(QStringLiteral("menu_batch")))
        batch->setEnabled(std::any_of(entries.begin(), entries.end(), round_is_open));
}

// --- help -------------------------------------------------------------------------------------

void FormMain::menu_index_Click()
{
    if (!help_.show_contents(help_file_))
        ui_.message(this, QStringLiteral("HtmlHelpを開けません。"), program_title(),
                    UiServices::Icon::critical, UiServices::Buttons::ok);
}

void FormMain::menu_ver_Click()
{
    FormAbout about(this);
    about.exec();
}
