#pragma once

#include "book/shared_state.h"
#include "platform/form_controls.h"

#include <QDialog>
#include <vector>

class AmountBox;
class QButtonGroup;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class UiServices;

// 結果入力: the results of a round and its prize state and amounts. One class serves both
// families; FormResult (match kinds) and FormGoalResult (goal kinds) only choose the family.
// Every control carries its name as objectName; control arrays are vectors whose widgets
// are named name_i.
class ResultDialog : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    // Fills the dialog from entry `current` of the shared state.
    using OpeningDialog::load;
    // Re-derives the prize controls from the row options.
    void chk_result();

    void cmd_ok_Click();
    void cmd_cancel_Click();

    QLabel *lbl_kai = nullptr;
    QLabel *lbl_kind = nullptr;
    std::vector<QLabel *> lbl_no;
    std::vector<QLabel *> lbl_home; // match kinds
    std::vector<QLabel *> lbl_vs;
    std::vector<QLabel *> lbl_away;
    std::vector<QLabel *> lbl_name;                                     // goal kinds
    std::vector<QRadioButton *> opt_win, opt_draw, opt_lose;            // match kinds
    std::vector<QRadioButton *> opt_0ten, opt_1ten, opt_2ten, opt_3ten; // goal kinds
    std::vector<QRadioButton *> opt_stop, opt_none;
    std::vector<QFrame *> separator; // separator[k] stands after row k (numbered from 1); [0] unused
    std::vector<QLabel *> lbl_kin;
    std::vector<AmountBox *> txt_kin;
    QRadioButton *opt_kin_go = nullptr;
    QRadioButton *opt_kin_back = nullptr;
    QRadioButton *opt_kin_none = nullptr;
    QPushButton *cmd_ok = nullptr;
    QPushButton *cmd_cancel = nullptr;

protected:
    void on_open() override;
    ResultDialog(bool goal, SharedState &state, UiServices &ui, QWidget *parent);

private:
    struct Choice {
        QRadioButton *button;
        int code;
    };
    struct Row {
        std::vector<QWidget *> widgets; // everything hidden with the row
        std::vector<Choice> choices;
    };

    void build_rows();
    void build_prizes(QWidget *area);
    RoundEntry &entry();
    int selected_code(int row) const;
    void set_amounts_enabled(bool labels, bool boxes);
    void opt_kin_go_Click();
    void opt_kin_none_Click();

    SharedState &state_;
    UiServices &ui_;
    const bool goal_;
    LotteryKind kind_ = LotteryKind::toto;
    std::vector<Row> rows_;
};

class FormResult : public ResultDialog {
    Q_OBJECT

public:
    FormResult(SharedState &state, UiServices &ui, QWidget *parent = nullptr);
};

class FormGoalResult : public ResultDialog {
    Q_OBJECT

public:
    FormGoalResult(SharedState &state, UiServices &ui, QWidget *parent = nullptr);
};

// 結果入力 for entry `current`: opens the dialog of its family and, after OK, grades the
// entry. Returns true when the dialog ended with OK (the caller repaints the row and the
// title).
bool run_result_entry(SharedState &state, UiServices &ui, QWidget *parent);
