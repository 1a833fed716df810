#include "download/form_batch_update.h"

#include "book/message_text.h"
#include "download/download_confirmation.h"
#include "download/form_inetchk.h"
#include "ui/ui_services.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace form_ui;

namespace {

QString state_text(int state)
{
    switch (state) {
    case kPrizeUndecided: return QStringLiteral("未定");
    case kPrizeRefund: return QStringLiteral("払戻");
    default: return QStringLiteral("確定");
    }
}

} // namespace

QString batch_held_text(const RoundEntry &entry)
{
    int entered = 0;
    for (int s = 0; s < slot_count(entry.kind); ++s)
        entered += entry.slot_result(s) != 0 ? 1 : 0;
    return QStringLiteral("結果 %1/%2・%3")
        .arg(entered)
        .arg(slot_count(entry.kind))
        .arg(state_text(entry.state));
}

QString batch_found_text(const BatchRound &round)
{
    switch (round.status) {
    case BatchRound::Status::not_published: return QStringLiteral("未発表");
    case BatchRound::Status::failed:
    case BatchRound::Status::pending: return round.message;
    case BatchRound::Status::found: break;
    }
    const RoundEntry &found = round.found;
    if (found.state == kPrizeRefund)
        return QStringLiteral("払戻");
    QStringList results;
    for (int s = 0; s < slot_count(found.kind); ++s)
        results << chg_kekka(family_of(found.kind), found.slot_result(s));
    return results.join(u' ') + QStringLiteral("  1等 ") + prize_text(found, 1);
}

// --- progress -----------------------------------------------------------------------------------

FormBatchProgress::FormBatchProgress(ResultBatch &batch, UiServices &ui, QWidget *parent)
    : OpeningDialog(parent), batch_(batch), ui_(ui)
{
    setObjectName(QStringLiteral("form_batch_progress"));
    setWindowTitle(QStringLiteral("結果を一括更新"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    lbl_progress_ = make_label(this, QStringLiteral("lbl_progress"), QString());
    lbl_progress_->setMinimumWidth(320);
    layout->addWidget(lbl_progress_);
    pbar_batch_ = named(new QProgressBar(this), QStringLiteral("pbar_batch"));
    layout->addWidget(pbar_batch_);
    auto *buttons = new QHBoxLayout;
    cmd_cancel_ = make_cancel_button(this);
    buttons->addStretch();
    buttons->addWidget(cmd_cancel_);
    layout->addLayout(buttons);
    connect(cmd_cancel_, &QPushButton::clicked, this, &FormBatchProgress::reject);
}

FormBatchProgress::~FormBatchProgress()
{
    batch_.on_changed = nullptr;
    batch_.on_finished = nullptr;
    batch_.cancel();
}

void FormBatchProgress::on_open()
{
    pbar_batch_->setRange(0, std::max(1, static_cast<int>(batch_.rounds().size())));
    batch_.on_changed = [this] { show_batch(); };
    batch_.on_finished = [this] { finished(); };
    show_batch();
    // Started from the dialog's own loop: a batch that settles without a page ends there too.
    QTimer::singleShot(0, this, [this] { batch_.start(); });
}

void FormBatchProgress::show_batch()
{
    lbl_progress_->setText(batch_.progress_text());
    pbar_batch_->setValue(batch_.settled());
}

void FormBatchProgress::finished()
{
    batch_.on_changed = nullptr;
    batch_.on_finished = nullptr;
    if (batch_.unreachable()) {
        ui_.message(this, store_unreachable_message(), program_title(), UiServices::Icon::critical);
        QDialog::reject();
        return;
    }
    accept();
}

void FormBatchProgress::reject()
{
    batch_.cancel();
    QDialog::reject();
}

// --- confirmation -------------------------------------------------------------------------------

FormBatchCheck::FormBatchCheck(const ResultBatch &batch, SharedState &state, UiServices &ui,
                               Commit<std::vector<RoundUpdate>> commit, QWidget *parent)
    : OpeningDialog(parent), batch_(batch), state_(state), ui_(ui), commit_(std::move(commit))
{
    setObjectName(QStringLiteral("form_batch_check"));
    setWindowTitle(QStringLiteral("一括更新確認"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    lvw_batch_ = named(new QTreeWidget(this), QStringLiteral("lvw_batch"));
    lvw_batch_->setHeaderLabels(
        {QStringLiteral("回"), QStringLiteral("種別"), QStringLiteral("現在"), QStringLiteral("取得結果")});
    lvw_batch_->setRootIsDecorated(false);
    lvw_batch_->setMinimumSize(640, 260);
    lvw_batch_->installEventFilter(this);
    layout->addWidget(lvw_batch_);
    lbl_summary_ = make_label(this, QStringLiteral("lbl_summary"), QString());
    layout->addWidget(lbl_summary_);
    layout->addLayout(make_ok_cancel_row(this, cmd_ok_, cmd_cancel_, true));
    connect(lvw_batch_, &QTreeWidget::itemChanged, this, [this] { show_ticks(); });
    connect(cmd_ok_, &QPushButton::clicked, this, &FormBatchCheck::cmd_ok_Click);
    connect(lvw_batch_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { show_round(lvw_batch_->indexOfTopLevelItem(item)); });
}

void FormBatchCheck::on_open()
{
    state_.dialog_result = DialogResult::cancelled;
    const TicketBook &book = state_.book();
    for (const BatchRound &round : batch_.rounds()) {
        const RoundEntry &entry = book.entries[static_cast<size_t>(round.entry)];
        auto *item = new QTreeWidgetItem({entry.kai.text(), kind_display_name(entry.kind),
                                          batch_held_text(entry), batch_found_text(round)});
        // Only a round that was found can be taken; the others have no box at all.
        if (round.status == BatchRound::Status::found)
            item->setCheckState(0, Qt::Checked);
        lvw_batch_->addTopLevelItem(item);
    }
    for (int c = 0; c < 3; ++c)
        lvw_batch_->resizeColumnToContents(c);
    if (lvw_batch_->topLevelItemCount() > 0)
        lvw_batch_->setCurrentItem(lvw_batch_->topLevelItem(0));
    lvw_batch_->setFocus();
    show_ticks();
}

int FormBatchCheck::ticked() const
{
    int n = 0;
    for (int i = 0; i < lvw_batch_->topLevelItemCount(); ++i)
        n += lvw_batch_->topLevelItem(i)->checkState(0) == Qt::Checked ? 1 : 0;
    return n;
}

void FormBatchCheck::show_ticks()
{
    int unpublished = 0;
    int failed = 0;
    for (const BatchRound &round : batch_.rounds()) {
        unpublished += round.status == BatchRound::Status::not_published ? 1 : 0;
        failed += round.status == BatchRound::Status::failed ? 1 : 0;
    }
    const int n = ticked();
    lbl_summary_->setText(
        QStringLiteral("更新 %1回・未発表 %2回・失敗 %3回").arg(n).arg(unpublished).arg(failed));
    cmd_ok_->setEnabled(n > 0);
}

bool FormBatchCheck::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lvw_batch_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            show_round(lvw_batch_->indexOfTopLevelItem(lvw_batch_->currentItem()));
            return true;
        }
    }
    return OpeningDialog::eventFilter(watched, event);
}

void FormBatchCheck::show_round(int row)
{
    if (row < 0 || row >= static_cast<int>(batch_.rounds().size()))
        return;
    const BatchRound &round = batch_.rounds()[static_cast<size_t>(row)];
    if (round.status != BatchRound::Status::found) {
        const QString which = kai_caption(round.kai) + u' ' + kind_display_name(round.kind);
        if (round.status == BatchRound::Status::not_published)
            ui_.message(this, which + QStringLiteral(" の結果はまだ発表されていません。"), program_title(),
                        UiServices::Icon::information);
        else
            ui_.message(this, which + QStringLiteral(" の結果を取得できませんでした。"), program_title(),
                        UiServices::Icon::warning, UiServices::Buttons::ok, round.message);
        return;
    }
    // The view of a download into an existing round, both sides shown; nothing is taken there.
    constexpr DownloadOutcome kInto = DownloadOutcome::result_into_entry;
    std::unique_ptr<InetCheckDialog> view;
    if (is_match_kind(round.kind))
        view = std::make_unique<FormInetChk>(round.found, kInto, round.entry, state_, this);
    else
        view = std::make_unique<FormGoalInetChk>(round.found, kInto, round.entry, state_, this);
    view->load();
    if (auto *ok = view->findChild<QPushButton *>(QStringLiteral("cmd_ok")))
        ok->hide();
    // Nothing is taken there, so its one button closes it.
    if (auto *cancel = view->findChild<QPushButton *>(QStringLiteral("cmd_cancel")))
        cancel->setText(QStringLiteral("閉じる"));
    view->exec();
}

void FormBatchCheck::cmd_ok_Click()
{
    if (ticked() == 0)
        return;
    std::vector<bool> ticked;
    for (int i = 0; i < lvw_batch_->topLevelItemCount(); ++i)
        ticked.push_back(lvw_batch_->topLevelItem(i)->checkState(0) == Qt::Checked);
    if (const Outcome done = commit_(batch_.updates(ticked)); !done.ok)
        return;
    state_.dialog_result = DialogResult::ok;
    accept();
}
