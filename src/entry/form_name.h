#pragma once

#include "book/lottery_kind.h"
#include "entry/purchase_entry.h"
#include "ui/book_commits.h"
#include "ui/form_controls.h"

#include <array>

class LimitedTextBox;
class QLabel;
class QFrame;
class QPushButton;
class QRadioButton;
struct SharedState;
class UiServices;

// Registration of a round: its label, team names and grade options. Creates a new round
// when `editing` is nothing, else edits the round `current`; OK hands the round to `commit`. form_name serves
// the match kinds; form_goal_name (FormGoalName) is the same dialog with one team per row.
class FormName : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    FormName(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent = nullptr);

    // The kind of the round; read when the dialog opens.
    void set_kind(LotteryKind kind);
    // The opening step: fills the boxes in edit mode and lays out the kind's rows. Showing
    // the dialog runs it once; tests call it directly.
    using OpeningDialog::load;
    // Enables OK when the label and every shown team name are filled in.
    void check_name();

    LotteryKind kind() const { return kind_; }
    int row_count() const;

protected:
    FormName(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent, Family family);

    void on_open() override;

private:
    void build();
    LimitedTextBox *make_text_box(const QString &name);
    bool editing() const;
    GradeOption chosen_option() const;
    RoundNames collect_names() const;
    void cmd_ok_Click();

    SharedState &state_;
    UiServices &ui_;
    Commit<RoundEntry> commit_;
    Family family_;
    LotteryKind kind_;
    std::array<QFrame *, kMaxTeamSlots / 2 - 1> pair_lines_{};
    QLabel *lbl_kind_ = nullptr;
    LimitedTextBox *txt_kai_ = nullptr;
    std::array<QLabel *, kMaxMatchSlots> lbl_no_{};
    std::array<LimitedTextBox *, kMaxMatchSlots> txt_home_{}; // match kinds
    std::array<QLabel *, kMaxMatchSlots> lbl_vs_{};
    std::array<LimitedTextBox *, kMaxMatchSlots> txt_away_{};
    std::array<LimitedTextBox *, kMaxTeamSlots> txt_name_{}; // goal kinds
    QRadioButton *opt_no_plus_ = nullptr;                    // match kinds
    QRadioButton *opt_plus1_ = nullptr;
    QRadioButton *opt_plus2_ = nullptr;
    QPushButton *cmd_ok_ = nullptr;
    QPushButton *cmd_cancel_ = nullptr;
};
