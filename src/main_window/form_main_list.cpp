// The list of rounds in the main window: painting, selection, totals and moving rounds.
#include "main_window/form_main.h"

#include "main_window/entry_list_model.h"
#include "results/winning_check.h"

#include <QAction>
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
    const BookTotals totals = book_totals(state_.book());
    lbl_buy_->setText(format_yen(totals.bought));
    lbl_get_->setText(format_yen(totals.won));
    lbl_kin_->setText(format_yen(totals.balance));
    show_shown_count();
}

void FormMain::select_row(int entry)
{
    const int row = model_->row_of(entry);
    if (row < 0)
        return;
    const QModelIndex index = model_->index(row, 0);
    lvw_main_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
    lvw_main_->scrollTo(index);
}

int FormMain::selected_entry() const
{
    const QModelIndexList rows = lvw_main_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : model_->entry_of(rows.first().row());
}

void FormMain::lvw_main_ItemClick()
{
    set_entry_commands(false, false);
    set_move_commands(false, false);
    QAction *menu_live = findChild<QAction *>(QStringLiteral("menu_live"));
    menu_live->setEnabled(false);
    const int row = selected_entry();
    if (row < 0 || row >= state_.book().entry_count())
        return;
    state_.current = row;
    const RoundEntry &entry = state_.book().entries[static_cast<size_t>(row)];
    set_entry_commands(true, !is_big_family(entry.kind));
    // 途中経過 counts tickets; a refunded round has none in play.
    menu_live->setEnabled(entry.tickets > 0 && entry.state != kPrizeRefund);
    // The moves go by the book's order, which a filtered or sorted list does not show.
    if (model_->in_book_order())
        set_move_commands(row > 0, row < state_.book().entry_count() - 1);
}

bool FormMain::take_selection()
{
    const int row = selected_entry();
    if (row < 0)
        return false;
    state_.current = row;
    return state_.has_current();
}

void FormMain::book_changed(const BookChange &change)
{
    find_hidden_selection_ = -1;
    // The round the step was about is shown even where a filter leaves it out, so what
    // was just added, changed or taken back is in sight; when rounds went, it is only the
    // neighbour the selection moves to, and the filter decides. Rounds that changed places
    // take the filter and the order anew where they are on, since a row now holds another
    // round. A sorted list is put in order again after any change.
    if (change.rows_reshaped || (change.rows_reordered && !model_->in_book_order())) {
        const bool rounds_came = state_.book().entry_count() >= model_->entries_listed();
        model_->reset(rounds_came ? change.focus : -1);
    } else {
        for (const int entry : change.entries)
            toto_disp(entry);
        model_->show_entry(change.focus);
        model_->resort();
    }
    update_totals();
    if (change.focus >= 0)
        select_row(change.focus);
    // A reset leaves no selection behind: the commands follow what is selected now.
    lvw_main_ItemClick();
    set_title();
    set_history_commands();
}

void FormMain::move_current(int to)
{
    if (!model_->in_book_order())
        return;
    // The document refuses a move past either end.
    if (state_.document.move_round(state_.current, to).ok)
        lvw_main_->setFocus();
}

void FormMain::cmd_up_Click()
{
    move_current(state_.current - 1);
}

void FormMain::cmd_down_Click()
{
    move_current(state_.current + 1);
}
