#pragma once

#include "entry/form_purchase_base.h"

class QRadioButton;

// A single ticket: one pick per match (form_single) or one goal count per team
// (form_goal_single, FormGoalSingle). Adds a ticket when `editing` is nothing, else
// changes the ticket of that pool index.
class FormSingle : public FormPurchaseBase {
    Q_OBJECT

public:
    FormSingle(SharedState &state, UiServices &ui, Commit<SinglePurchase> commit, QWidget *parent = nullptr);

    // Enables OK once every shown row has a pick.
    void check();

protected:
    FormSingle(SharedState &state, UiServices &ui, Commit<SinglePurchase> commit, QWidget *parent,
               Family family);

    void load_rows() override;
    bool arrows_pick() const override { return true; }

private:
    QList<QAbstractButton *> make_row(int row);
    void cmd_ok_Click();

    Commit<SinglePurchase> commit_;

    std::array<QRadioButton *, kMaxSlots> opt_win_{}; // match kinds: 勝, 分, 負
    std::array<QRadioButton *, kMaxSlots> opt_draw_{};
    std::array<QRadioButton *, kMaxSlots> opt_lose_{};
    std::array<QRadioButton *, kMaxSlots> opt_0ten_{}; // goal kinds: 0, 1, 2, 3 goals
    std::array<QRadioButton *, kMaxSlots> opt_1ten_{};
    std::array<QRadioButton *, kMaxSlots> opt_2ten_{};
    std::array<QRadioButton *, kMaxSlots> opt_3ten_{};
    // The pick each button of a row stands for, left to right.
    std::vector<int> pick_codes_;
};
