#pragma once

#include "book/ticket_book.h"

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <array>

class QGridLayout;

// Small builders shared by the dialogs.
namespace form_ui {

// The name of a control of a control array: "txt_home" and 3 give "txt_home_3".
QString control_name(const char *array, int index);

// Gives a control its name (the name tests and the manual use) and returns it.
template <typename W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

// Names a control of a control array, e.g. "opt_win" and 3 give "opt_win_3".
template <typename W>
W *named(W *widget, const char *array, int index)
{
    widget->setObjectName(control_name(array, index));
    return widget;
}

QLabel *make_label(QWidget *parent, const QString &name, const QString &text);

// "1." (or " 1." when padded to two places) for row 0.
QString row_number_text(int row, bool padded);

// A thin divider line between groups of rows.
QFrame *make_separator(QWidget *parent);

// The OK button (the default button; disabled until the input is complete unless
// `enabled`) and the cancel button.
QPushButton *make_ok_button(QWidget *parent, bool enabled = false);
QPushButton *make_cancel_button(QWidget *parent);
// A command button with its caption and name.
QPushButton *make_button(QWidget *parent, const QString &name, const QString &text);
// The row of OK and Cancel at the foot of a dialog; Cancel closes the dialog.
QHBoxLayout *make_ok_cancel_row(QDialog *dialog, QPushButton *&ok, QPushButton *&cancel,
                                bool ok_enabled = false);

// The heading of a round's dialogs: its label, "回" (lbl_kai_mark) and its kind.
QHBoxLayout *make_round_heading(QWidget *parent, QLabel *&lbl_kai, QLabel *&lbl_kind);
void show_round_heading(const RoundEntry &entry, QLabel *lbl_kai, QLabel *lbl_kind);
// The heading's label alone; its "回" shows only after a bare number, so that a label that
// writes "第１２３回" itself is not read "第１２３回回".
void show_round_label(QLabel *lbl_kai, const QString &kai);

// The labels that name the slots of a round, one row per slot: the number, then home
// "-" away (match family, lbl_home_i …) or the team (goal family, lbl_name_i). The
// buttons or cells of each dialog stand to their right, from column first_column().
class SlotRows {
public:
    SlotRows(QWidget *parent, Family family, int rows, bool padded_numbers);

    Family family() const { return family_; }
    int rows() const { return rows_; }
    int first_column() const { return family_ == Family::match ? 4 : 2; }
    // Headings of the name columns in `grid_row`.
    void add_headings(QGridLayout *grid, int grid_row) const;
    // Places the labels of `row` in `grid_row`.
    void add_row(QGridLayout *grid, int row, int grid_row) const;
    // The labels of `row`, left to right.
    QList<QWidget *> widgets(int row) const;
    // Shows the names of the entry's first `shown` slots and hides the other rows, with
    // `extra(row)` widgets of each row.
    template <typename Extra>
    void show_round(const RoundEntry &entry, int shown, Extra extra) const
    {
        for (int i = 0; i < rows_; ++i) {
            set_names(entry, i);
            QList<QWidget *> all = widgets(i) + extra(i);
            for (QWidget *w : all)
                w->setHidden(i >= shown);
        }
    }

private:
    void set_names(const RoundEntry &entry, int row) const;

    Family family_;
    int rows_;
    std::array<QLabel *, kMaxSlots> no_{};
    std::array<QLabel *, kMaxSlots> home_{};
    std::array<QLabel *, kMaxSlots> vs_{};
    std::array<QLabel *, kMaxSlots> away_{};
    std::array<QLabel *, kMaxSlots> name_{};
};

// A dialog that fills itself from the book once, when it is first shown; tests that
// drive it without showing it call load() themselves.
class OpeningDialog : public QDialog {
public:
    using QDialog::QDialog;

    void load()
    {
        loaded_ = true;
        on_open();
        fit_to_contents();
    }

protected:
    virtual void on_open() = 0;

    void showEvent(QShowEvent *event) override
    {
        if (!loaded_)
            load();
        QDialog::showEvent(event);
        // Show where the keyboard is from the start, as after a Tab (showing the window
        // clears the flag, so it is set once the window is up).
        QTimer::singleShot(0, this, [this] {
            setAttribute(Qt::WA_KeyboardFocusChange);
            if (QWidget *focused = focusWidget())
                focused->update();
        });
    }

private:
    // The dialog's rows depend on the round: size it to the rows it shows, before it is
    // first seen (the layout must settle first, or the old minimum keeps it tall).
    void fit_to_contents()
    {
        if (QLayout *l = layout())
            l->activate();
        adjustSize();
    }

    bool loaded_ = false;
};

} // namespace form_ui
