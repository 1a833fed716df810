#pragma once

#include "results/live_counts.h"
#include "ui/book_commits.h"
#include "ui/form_controls.h"
#include "ui/shared_state.h"

class QLabel;
class QPushButton;
class QTableWidget;
class UiServices;

// 途中経過: how the tickets of round `current` stand with the results entered so far, and
// what each outcome of a slot still without a result would leave per grade. The user
// supposes results (a click on an outcome, or its key on a row) and everything follows at
// once; 結果として入力 writes the supposed results into the round as one step. Nothing else
// is written.
class FormLive : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    FormLive(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent = nullptr);

    // Fills the window from entry `current`, nothing supposed.
    using OpeningDialog::load;
    // Supposes outcome `outcome` for slot `slot`; the outcome supposed already clears it, as
    // does -1. A slot with a result takes no supposition (a beep).
    void suppose(int slot, int outcome);
    const Suppositions &suppositions() const { return supposed_; }

    // Columns of the slot table: number, teams, result so far, then one per outcome.
    static constexpr int kFirstOutcomeColumn = 3;

    void setVisible(bool visible) override;

protected:
    void on_open() override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fit_to_rows();
    // Counts anew with the suppositions and refills the line and every row.
    void refresh();
    void fill_row(int slot, const LiveCounts &live);
    void cmd_enter_Click();

    SharedState &state_;
    UiServices &ui_;
    Commit<RoundEntry> commit_;
    Suppositions supposed_{};
    LotteryKind kind_ = LotteryKind::toto;

    QLabel *lbl_kai_ = nullptr;
    QLabel *lbl_kind_ = nullptr;
    QLabel *lbl_decided_ = nullptr;
    QLabel *lbl_bought_ = nullptr;
    QLabel *lbl_now_ = nullptr;
    QLabel *lbl_won_ = nullptr;
    QLabel *lbl_hint_ = nullptr; // how to suppose
    QTableWidget *lvw_slots_ = nullptr;
    QPushButton *cmd_enter_ = nullptr;
    QPushButton *cmd_close_ = nullptr;
};
