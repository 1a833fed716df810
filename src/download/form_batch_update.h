#pragma once

#include "download/result_batch.h"
#include "ui/book_commits.h"
#include "ui/form_controls.h"
#include "ui/shared_state.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class UiServices;

// 結果を一括更新, while the pages come: which round is read, a bar over the whole batch and
// キャンセル, which stops the batch. Accepted when the batch has read every open round; an
// unreachable store shows the download dialog's connection message and rejects.
class FormBatchProgress : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    FormBatchProgress(ResultBatch &batch, UiServices &ui, QWidget *parent = nullptr);
    ~FormBatchProgress() override;

protected:
    void on_open() override;
    void reject() override;

private:
    void show_batch();
    void finished();

    ResultBatch &batch_;
    UiServices &ui_;
    QLabel *lbl_progress_ = nullptr;
    QProgressBar *pbar_batch_ = nullptr;
    QPushButton *cmd_cancel_ = nullptr;
};

// 一括更新確認: one row per open round with what the book has and what was found, ticked for
// each round found, and a line that counts them. A row found opens the round in
// ダウンロード確認 (double-click or Enter); Enter on another says why it has nothing.
// Ｏ．Ｋ． (on while a row is ticked) hands the ticked rounds to the commit as one change.
class FormBatchCheck : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    FormBatchCheck(const ResultBatch &batch, SharedState &state, UiServices &ui,
                   Commit<std::vector<RoundUpdate>> commit, QWidget *parent = nullptr);

    void cmd_ok_Click();
    // The round of row `row` in the read-only ダウンロード確認 view.
    void show_round(int row);

protected:
    void on_open() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The count line and Ｏ．Ｋ． follow the ticks.
    void show_ticks();
    int ticked() const;

    const ResultBatch &batch_;
    SharedState &state_;
    UiServices &ui_;
    Commit<std::vector<RoundUpdate>> commit_;
    QLabel *lbl_summary_ = nullptr;
    QTreeWidget *lvw_batch_ = nullptr;
    QPushButton *cmd_ok_ = nullptr;
    QPushButton *cmd_cancel_ = nullptr;
};

// What the book holds now of an open round: "結果 8/13・未定".
QString batch_held_text(const RoundEntry &entry);
// What the batch found: the results ("1 0 2 …") and the 1等 prize, "払戻", "未発表", or the
// failure message.
QString batch_found_text(const BatchRound &round);
