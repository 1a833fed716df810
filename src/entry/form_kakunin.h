#pragma once

#include "entry/csv_confirmation.h"
#include "ui/form_controls.h"
#include "ui/review_editors.h"
#include "ui/shared_state.h"

#include <array>
#include <vector>

struct CsvImport;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class ReviewItemModel;
class UiServices;

// 購入確認・修正: one round and, item by item, its tickets set against the results. From
// here tickets and the round are changed or deleted through the editors the command lends
// it; each change is stored at once.
// One class serves both families; FormKakunin (match kinds) and FormGoalKakunin (goal
// kinds) only choose the family.
//
// The same dialog confirms a CSV import (csv_flag -1, set by set_csv_import): it steps
// through the staged lines and OK applies them all to entry `current`, Cancel nothing.
class KakuninDialog : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    int csv_flag = 0; // 0: review mode; -1: CSV import confirmation

    // Selects the CSV confirmation of `staged`, whose entry the caller has made `current`.
    // `staged` must outlive the dialog.
    void set_csv_import(const CsvImport &staged);

    // Fills the dialog from entry `current` and shows item 0.
    using OpeningDialog::load;
    // Shows item `item` of cmb_kind.
    void show_item(int item);
    int shown_type() const { return shown_type_; }

protected:
    void on_open() override;
    KakuninDialog(Family family, SharedState &state, UiServices &ui, ReviewEditors editors, QWidget *parent);

private:
    static constexpr int kMaxCells = 4; // marks per row: 3 outcomes or 4 goal counts
    // The combo's width in characters: its kind and the start of its line ("シングル 1 0 2 1 0 …").
    static constexpr int kItemContentsLength = 13;

    void build_grid(QWidget *area);
    QGridLayout *build_counters();
    void show_round_texts();
    // Shows item `item` of cmb_kind, item 0 when there is no such item.
    void select_item(int item);
    void set_ticket_visible(bool cells, bool counters);
    int cell_columns() const;
    void cmd_cng_Click();
    void cmd_del_Click();
    void cmd_ok_Click();
    // Shows a refused commit's message; true when the commit went through.
    bool commit(const Outcome &outcome);
    bool csv_mode() const { return csv_flag == -1 && csv_ != nullptr; }
    void open_csv();
    void show_csv_row(int row);

    SharedState &state_;
    UiServices &ui_;
    ReviewEditors editors_;
    const Family family_;
    form_ui::SlotRows slot_rows_;
    // Mark cells per row, the last row being the headings above the rows.
    std::array<std::array<QLabel *, kMaxCells>, kMaxSlots + 1> cells_{};
    ReviewItemModel *items_ = nullptr; // behind cmb_kind
    int shown_type_ = 0;
    const CsvImport *csv_ = nullptr;
    std::vector<CsvRowView> csv_views_; // what the confirmation shows of each staged row

    QComboBox *cmb_kind_ = nullptr;
    QLabel *lbl_kai_ = nullptr;
    QLabel *lbl_kind_ = nullptr;
    QLabel *lbl_target_ = nullptr;           // CSV confirmation only, as the two below
    QLabel *lbl_effect_ = nullptr;           // what the file adds and replaces
    QLabel *lbl_repeat_ = nullptr;           // how many of its tickets the round holds already
    QLabel *lbl_line_ = nullptr;             // the shown ticket's line
    QLabel *lbl_standing_ = nullptr;         // how it stands with the results so far
    std::vector<QWidget *> counter_widgets_; // the counters and 正当数, shown with a ticket
    QLabel *lbl_double_ = nullptr;
    QLabel *lbl_triple_ = nullptr;
    QLabel *lbl_total_ = nullptr;
    QLabel *lbl_right_ = nullptr;
    QLabel *lbl_right_num_ = nullptr;
    std::vector<QLabel *> prize_labels_; // lbl_top … lbl_sixth and their _kin amounts
    QPushButton *cmd_cng_ = nullptr;
    QPushButton *cmd_del_ = nullptr;
    QPushButton *cmd_ok_ = nullptr;
    QPushButton *cmd_cancel_ = nullptr;
};

class FormKakunin : public KakuninDialog {
    Q_OBJECT

public:
    FormKakunin(SharedState &state, UiServices &ui, ReviewEditors editors, QWidget *parent = nullptr);
};

class FormGoalKakunin : public KakuninDialog {
    Q_OBJECT

public:
    FormGoalKakunin(SharedState &state, UiServices &ui, ReviewEditors editors, QWidget *parent = nullptr);
};
