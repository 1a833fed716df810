#pragma once

#include "book/shared_state.h"
#include "entry/review_editors.h"
#include "platform/form_controls.h"

#include <QDialog>
#include <array>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class UiServices;

// 購入確認・修正: one round and, item by item, its tickets set against the results. From
// here tickets and the round are changed (through the entry dialogs) or deleted. One class
// serves both families; FormKakunin (match kinds) and FormGoalKakunin (goal kinds) only
// choose the family. Control arrays are vectors whose widgets are named name_i.
class KakuninDialog : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    int csv_flag = 0; // 0: review mode

    // Fills the dialog from entry `current` and shows item 0.
    using OpeningDialog::load;
    // Shows item `item` of cmb_kind.
    void show_item(int item);
    int shown_type() const { return shown_type_; }

    void cmd_cng_Click();
    void cmd_del_Click();

    QComboBox *cmb_kind = nullptr;
    QLabel *lbl_kai = nullptr;
    QLabel *lbl_kind = nullptr;
    std::vector<QLabel *> lbl_no;
    std::vector<QLabel *> lbl_home, lbl_vs, lbl_away; // match kinds
    std::vector<QLabel *> lbl_name;                   // goal kinds
    // Mark cells: one more than the rows, the last being the heading row.
    std::vector<QLabel *> lbl_win, lbl_draw, lbl_lose;            // match kinds
    std::vector<QLabel *> lbl_0ten, lbl_1ten, lbl_2ten, lbl_3ten; // goal kinds
    QLabel *lbl_nm_double = nullptr, *lbl_double = nullptr, *lbl_kt_double = nullptr;
    QLabel *lbl_nm_triple = nullptr, *lbl_triple = nullptr, *lbl_kt_triple = nullptr;
    QLabel *lbl_nm_total = nullptr, *lbl_total = nullptr, *lbl_kt_total = nullptr;
    QFrame *line_kuti = nullptr;
    QLabel *lbl_right = nullptr;
    QLabel *lbl_right_num = nullptr;
    std::vector<QLabel *> prize_labels; // lbl_top … lbl_sixth and their _kin amounts
    QPushButton *cmd_cng = nullptr;
    QPushButton *cmd_del = nullptr;
    QPushButton *cmd_ok = nullptr;
    QPushButton *cmd_cancel = nullptr;

protected:
    void on_open() override;
    KakuninDialog(bool goal, SharedState &state, UiServices &ui, ReviewEditors editors, QWidget *parent);

private:
    void build_grid(QWidget *area);
    void show_round_texts();
    void fill_items(int select);
    void set_ticket_visible(bool visible);
    void entry_changed();
    QLabel *cell(int row, int c) const;

    SharedState &state_;
    UiServices &ui_;
    ReviewEditors editors_;
    const bool goal_;
    int rows_ = 0;                                      // rows of the family
    std::vector<std::vector<QLabel *> *> cell_columns_; // mark cell arrays in display order
    std::vector<std::vector<QWidget *>> row_widgets_;
    std::vector<int> item_values_;
    int shown_type_ = 0;
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
