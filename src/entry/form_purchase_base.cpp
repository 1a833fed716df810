#include "entry/form_purchase_base.h"

#include "ui/form_controls.h"
#include "ui/shared_state.h"
#include "ui/ui_services.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>

using namespace form_ui;

FormPurchaseBase::FormPurchaseBase(SharedState &state, UiServices &ui, QWidget *parent, Family family,
                                   const char *match_name, const char *goal_name, int match_rows,
                                   bool padded_numbers)
    : OpeningDialog(parent), state_(state), ui_(ui), family_(family),
      rows_(family == Family::match ? match_rows : kMaxTeamSlots),
      slot_rows_(this, family, rows_, padded_numbers)
{
    const bool match = family_ == Family::match;
    setObjectName(QString::fromLatin1(match ? match_name : goal_name));
    setModal(true);

    auto *top = new QVBoxLayout(this);
    top->addLayout(make_round_heading(this, lbl_kai_, lbl_kind_));

    grid_ = new QGridLayout;
    top->addLayout(grid_);
    int grid_row = 0;
    slot_rows_.add_headings(grid_, grid_row++);
    for (int i = 0; i < rows_; ++i) {
        slot_rows_.add_row(grid_, i, grid_row);
        grid_rows_.push_back(grid_row);
        ++grid_row;
        if (!match && i % 2 == 1 && i + 1 < rows_) {
            pair_lines_.push_back(make_separator(this));
            grid_->addWidget(pair_lines_.back(), grid_row, 0, 1, 6);
            ++grid_row;
        }
    }
    row_buttons_.resize(static_cast<size_t>(rows_));

    extras_ = new QHBoxLayout;
    top->addLayout(extras_);
    top->addLayout(make_ok_cancel_row(this, cmd_ok_, cmd_cancel_));
}

void FormPurchaseBase::place_headings(const QStringList &headings)
{
    for (int c = 0; c < headings.size(); ++c)
        grid_->addWidget(make_label(this, QString(), headings[c]), 0, slot_rows_.first_column() + c,
                         Qt::AlignHCenter);
}

void FormPurchaseBase::place_buttons(int row, const QList<QAbstractButton *> &buttons)
{
    for (int c = 0; c < buttons.size(); ++c) {
        grid_->addWidget(buttons[c], grid_rows_[static_cast<size_t>(row)], slot_rows_.first_column() + c,
                         Qt::AlignHCenter);
        buttons[c]->installEventFilter(this);
    }
    row_buttons_[static_cast<size_t>(row)] = buttons;
}

bool FormPurchaseBase::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return OpeningDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down)
        return OpeningDialog::eventFilter(watched, event);
    // The row buttons form a grid: left and right move within the row (and pick, where a
    // row takes one pick), up and down to the same column of the shown rows around.
    for (int row = 0; row < row_count(); ++row) {
        const QList<QAbstractButton *> &buttons = row_buttons_[static_cast<size_t>(row)];
        const auto column = buttons.indexOf(static_cast<QAbstractButton *>(watched));
        if (column < 0)
            continue;
        int to_row = row;
        qsizetype to_column = column;
        if (key == Qt::Key_Left || key == Qt::Key_Right)
            to_column = std::clamp<qsizetype>(column + (key == Qt::Key_Left ? -1 : 1), 0, buttons.size() - 1);
        else
            to_row = std::clamp(row + (key == Qt::Key_Up ? -1 : 1), 0, row_count() - 1);
        QAbstractButton *target = row_buttons_[static_cast<size_t>(to_row)][to_column];
        target->setFocus(Qt::OtherFocusReason);
        if (to_row == row && to_column != column && arrows_pick() && !target->isChecked())
            target->click();
        return true;
    }
    return OpeningDialog::eventFilter(watched, event);
}

const RoundEntry &FormPurchaseBase::round() const
{
    return state_.current_entry();
}

int FormPurchaseBase::row_count() const
{
    return std::min(slot_count(kind()), rows_);
}

void FormPurchaseBase::on_open()
{
    state_.dialog_result = DialogResult::cancelled;
    const RoundEntry &entry = round();
    show_round_heading(entry, lbl_kai_, lbl_kind_);
    const int rows = row_count();
    slot_rows_.show_round(entry, rows, [this](int row) {
        const QList<QAbstractButton *> &buttons = row_buttons_[static_cast<size_t>(row)];
        return QList<QWidget *>(buttons.begin(), buttons.end());
    });
    for (size_t p = 0; p < pair_lines_.size(); ++p)
        pair_lines_[p]->setHidden(static_cast<int>(2 * p + 2) >= rows);
    load_rows();
    focus_first_row();
}

void FormPurchaseBase::focus_first_row()
{
    // The user starts on the first row's picks (the stored one when editing), not on a
    // button that would close the dialog.
    if (row_buttons_.empty() || row_buttons_[0].isEmpty())
        return;
    QAbstractButton *target = row_buttons_[0].first();
    for (QAbstractButton *button : row_buttons_[0])
        if (button->isChecked()) {
            target = button;
            break;
        }
    target->setFocus(Qt::TabFocusReason);
}

void FormPurchaseBase::show_refusal(const Outcome &outcome)
{
    ui_.message(this, outcome.message, program_title(), UiServices::Icon::critical);
}

void FormPurchaseBase::finish_ok()
{
    state_.dialog_result = DialogResult::ok;
    accept();
}
