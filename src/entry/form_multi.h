#pragma once

#include "entry/form_purchase_base.h"

class QCheckBox;

// A multi ticket: one to three marks per match (form_multi) or per team (form_goal_multi,
// FormGoalMulti), standing for every combination of its marks. Adds a ticket when
// `editing` is nothing, else changes the ticket of that pool index.
class FormMulti : public FormPurchaseBase {
    Q_OBJECT

public:
    FormMulti(SharedState &state, UiServices &ui, Commit<MultiPurchase> commit, QWidget *parent = nullptr);

    // Recounts doubles, triples, marked rows and combinations from the working copy and
    // enables OK when every shown row has a mark.
    void get_multi_num();

    // The marks as the boxes show them, with their counts.
    const MultiPurchase &working_copy() const { return work_; }

protected:
    FormMulti(SharedState &state, UiServices &ui, Commit<MultiPurchase> commit, QWidget *parent,
              Family family);

    void load_rows() override;

private:
    QList<QAbstractButton *> make_row(int row);
    void mark_changed(int row, int mark, bool checked);
    void show_counters();
    void cmd_clear_Click();
    void cmd_ok_Click();

    Commit<MultiPurchase> commit_;

    std::array<QCheckBox *, kMaxSlots> chk_win_{}; // match kinds: 勝, 分, 負
    std::array<QCheckBox *, kMaxSlots> chk_draw_{};
    std::array<QCheckBox *, kMaxSlots> chk_lose_{};
    std::array<QCheckBox *, kMaxSlots> chk_0ten_{}; // goal kinds: 0, 1, 2, 3 goals
    std::array<QCheckBox *, kMaxSlots> chk_1ten_{};
    std::array<QCheckBox *, kMaxSlots> chk_2ten_{};
    std::array<QCheckBox *, kMaxSlots> chk_3ten_{};
    QLabel *lbl_double_ = nullptr;
    QLabel *lbl_triple_ = nullptr;
    QLabel *lbl_total_ = nullptr;
    QPushButton *cmd_clear_ = nullptr;
    MultiPurchase work_;
};
