#pragma once

#include "ui/book_commits.h"
#include "ui/form_controls.h"
#include "ui/shared_state.h"

#include <QList>
#include <array>
#include <vector>

class QAbstractButton;
class QBoxLayout;
class QFrame;
class QGridLayout;
class QLabel;
class QPushButton;
class UiServices;

// What the single and multi dialogs share: the round's label and kind, one row per match
// (home, "-", away) or per team, buttons of the outcomes on each row, OK and Cancel, and
// the opening step that hides the rows the kind does not use.
class FormPurchaseBase : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    // The opening step: shows the round and selects the stored ticket in edit mode.
    // Showing the dialog runs it once; tests call it directly.
    using OpeningDialog::load;

    Family family() const { return family_; }
    // Rows of the round's kind.
    int row_count() const;

protected:
    // `match_name` and `goal_name` are the dialog's object names for the two families,
    // `match_rows` its rows for match kinds (goal kinds have 10); goal rows are always
    // numbered " 1.", match rows so only when `padded_numbers`.
    FormPurchaseBase(SharedState &state, UiServices &ui, QWidget *parent, Family family,
                     const char *match_name, const char *goal_name, int match_rows, bool padded_numbers);

    // Adds the headings of the row buttons and each row's buttons, left to right; called
    // once by the subclass constructor. `make_row` makes the buttons of one row.
    template <typename MakeRow>
    void add_row_buttons(const QStringList &headings, MakeRow make_row)
    {
        place_headings(headings);
        for (int i = 0; i < rows_; ++i)
            place_buttons(i, make_row(i));
    }

    // The layout between the rows and OK / Cancel, for extra controls.
    QBoxLayout *extras() const { return extras_; }

    // Called by load() after the rows are laid out, to fill the row buttons.
    virtual void load_rows() = 0;

    void on_open() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Whether left and right also pick the button they move to (one pick per row).
    virtual bool arrows_pick() const { return false; }

    const RoundEntry &round() const;
    LotteryKind kind() const { return round().kind; }
    // Pool index of the edited ticket, or -1 for a new one.
    std::optional<int> edited() const { return state_.editing; }
    // Shows a refusal of the book (pool full) and keeps the dialog open.
    void show_refusal(const Outcome &outcome);
    // Records OK and closes.
    void finish_ok();

    SharedState &state_;
    UiServices &ui_;
    const Family family_;
    const int rows_; // rows built: the most any kind of the family uses
    std::vector<QList<QAbstractButton *>> row_buttons_;
    QPushButton *cmd_ok_ = nullptr;

private:
    void place_headings(const QStringList &headings);
    void place_buttons(int row, const QList<QAbstractButton *> &buttons);
    void focus_first_row();

    QLabel *lbl_kai_ = nullptr;
    QLabel *lbl_kind_ = nullptr;
    form_ui::SlotRows slot_rows_;
    QPushButton *cmd_cancel_ = nullptr;
    QGridLayout *grid_ = nullptr;
    QBoxLayout *extras_ = nullptr;
    std::vector<int> grid_rows_;
    std::vector<QFrame *> pair_lines_; // goal kinds: after each pair of teams
};
