#pragma once

#include "ui/book_commits.h"
#include "ui/form_controls.h"
#include "ui/shared_state.h"

#include <array>

class AmountBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class UiServices;

// 結果入力: the results of the round `current` and its prize state and amounts. One class
// serves both families; FormResult (match kinds) and FormGoalResult (goal kinds) only
// choose the family. OK stores what the dialog shows into the entry.
class ResultDialog : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    // Fills the dialog from entry `current` of the shared state.
    using OpeningDialog::load;
    // Re-derives the prize controls from the row options.
    void chk_result();

protected:
    void on_open() override;
    ResultDialog(Family family, SharedState &state, UiServices &ui, Commit<RoundEntry> commit,
                 QWidget *parent);

private:
    // One option of a row with the code it writes.
    struct Choice {
        QRadioButton *button = nullptr;
        int code = 0;
    };
    static constexpr int kMaxChoices = 6; // 0..3 goals, cancelled, not entered

    void build_rows(QWidget *area);
    void build_prizes(QWidget *area);
    int row_choices() const;
    int selected_code(int row) const;
    bool row_decided(int row) const;
    void set_amounts_enabled(bool labels, bool boxes);
    void opt_kin_go_Click();
    void opt_kin_none_Click();
    void cmd_ok_Click();

    SharedState &state_;
    UiServices &ui_;
    Commit<RoundEntry> commit_;
    const Family family_;
    LotteryKind kind_ = LotteryKind::toto;
    form_ui::SlotRows slot_rows_;
    std::array<std::array<Choice, kMaxChoices>, kMaxSlots> choices_{};
    std::array<QFrame *, kMaxSlots> separator_{}; // separator_[k] stands after row k (from 1)
    std::array<QLabel *, kMaxGrades> lbl_kin_{};
    std::array<AmountBox *, kMaxGrades> txt_kin_{};
    QLabel *lbl_kai_ = nullptr;
    QLabel *lbl_kind_ = nullptr;
    QRadioButton *opt_kin_go_ = nullptr;
    QRadioButton *opt_kin_back_ = nullptr;
    QRadioButton *opt_kin_none_ = nullptr;
    QPushButton *cmd_ok_ = nullptr;
    QPushButton *cmd_cancel_ = nullptr;
};

class FormResult : public ResultDialog {
    Q_OBJECT

public:
    FormResult(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent = nullptr);
};

class FormGoalResult : public ResultDialog {
    Q_OBJECT

public:
    FormGoalResult(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent = nullptr);
};
