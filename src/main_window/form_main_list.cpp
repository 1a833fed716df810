// The list of rounds in the main window: painting, selection, totals and moving rounds.
#include "main_window/form_main.h"

#include "book/swap_entries.h"
#include "main_window/entry_list_model.h"
#include "results/winning_check.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeView>

// --- the list ---------------------------------------------------------------------------------

void FormMain::toto_disp(int entry)
{
    model_->repaint_entry(entry);
}

void FormMain::update_totals()
{
    const BookTotals totals = book_totals(state_.book);
    lbl_buy_->setText(format_yen(totals.bought));
    lbl_get_->setText(format_yen(totals.won));
    lbl_kin_->setText(format_yen(totals.balance));
}

void FormMain::add_entry_row()
{
    model_->entries_appended();
    update_totals();
    if (state_.book.entry_count() > 0)
        select_row(state_.book.entry_count() - 1);
}

void FormMain::rebuild_list()
{
    const int keep = state_.current;
    model_->reset();
    update_totals();
    if (keep >= 0 && keep < state_.book.entry_count())
        select_row(keep);
}

void FormMain::select_row(int entry)
{
    if (entry < 0 || entry >= model_->rowCount())
        return;
    const QModelIndex index = model_->index(entry, 0);
    lvw_main_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
    lvw_main_->scrollTo(index);
}

int FormMain::selected_entry() const
{
    const QModelIndexList rows = lvw_main_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void FormMain::lvw_main_ItemClick()
{
    set_entry_commands(false, false);
    set_move_commands(false, false);
    const int row = selected_entry();
    if (row < 0 || row >= state_.book.entry_count())
        return;
    state_.current = row;
    const RoundEntry &entry = state_.book.entries[static_cast<size_t>(row)];
    set_entry_commands(true, !is_big_family(entry.kind));
    set_move_commands(row > 0, row < state_.book.entry_count() - 1);
}

bool FormMain::take_selection()
{
    const int row = selected_entry();
    if (row < 0)
        return false;
    state_.current = row;
    return state_.has_current();
}

void FormMain::finish_entry_command()
{
    if (state_.dialog_result == 1 && state_.has_current())
        entry_changed(state_.current);
}

void FormMain::entry_changed(int entry)
{
    state_.mark_changed();
    result_chk(state_.book, entry);
    toto_disp(entry);
    update_totals();
    set_title();
}

void FormMain::cmd_up_Click()
{
    const int c = state_.current;
    if (c <= 0 || c >= state_.book.entry_count())
        return;
    swap_entries(state_.book, c - 1, c);
    toto_disp(c - 1);
    toto_disp(c);
    select_row(c - 1);
    lvw_main_->setFocus();
    state_.mark_changed();
    set_title();
}

void FormMain::cmd_down_Click()
{
    const int c = state_.current;
    if (c < 0 || c + 1 >= state_.book.entry_count())
        return;
    swap_entries(state_.book, c, c + 1);
    toto_disp(c);
    toto_disp(c + 1);
    select_row(c + 1);
    lvw_main_->setFocus();
    state_.mark_changed();
    set_title();
}
