// The main window's commands that open the dialogs, and help.
#include "main_window/form_main.h"

#include "entry/form_commands.h"
#include "entry/form_review_commands.h"
#include "main_window/form_about.h"
#include "main_window/form_stats.h"
#include "platform/ui_services.h"
#include "results/form_result.h"

// --- commands of the dialogs ----------------------------------------------------------------

void FormMain::register_round(LotteryKind kind)
{
    if (!run_register_round(state_, ui_, this, kind))
        return;
    add_entry_row();
    set_title();
}

void FormMain::menu_single_Click()
{
    if (!take_selection())
        return;
    run_single_purchase(state_, ui_, this);
    finish_entry_dialog();
}

void FormMain::menu_multi_Click()
{
    if (!take_selection())
        return;
    run_multi_purchase(state_, ui_, this);
    finish_entry_dialog();
}

void FormMain::menu_kakunin_Click()
{
    if (!take_selection())
        return;
    ReviewEditors editors;
    editors.edit_round = [this] { return run_edit_round(state_, ui_, this); };
    editors.edit_single = [this](int pool_index) { return run_edit_single(state_, ui_, this, pool_index); };
    editors.edit_multi = [this](int pool_index) { return run_edit_multi(state_, ui_, this, pool_index); };
    // The dialog writes each change at once; the row and the title follow it.
    editors.entry_changed = [this] {
        toto_disp(state_.current);
        update_totals();
        set_title();
    };
    if (run_purchase_review(state_, ui_, this, editors) != 1)
        return;
    // A round was deleted: the rows after it moved up.
    rebuild_list();
    lvw_main_ItemClick();
    set_title();
}

void FormMain::menu_result_Click()
{
    if (!take_selection())
        return;
    run_result_entry(state_, ui_, this);
    finish_entry_dialog();
}

void FormMain::menu_csv_write_Click() {}

void FormMain::menu_csv_read_Click() {}

void FormMain::menu_down_Click() {}

void FormMain::menu_stats_Click()
{
    if (state_.book.entry_count() == 0) // the shortcut may outrun the menu's state
        return;
    FormStats stats(state_.book, ui_, this);
    stats.exec();
}

// --- help -------------------------------------------------------------------------------------

void FormMain::menu_index_Click()
{
    if (!help_.show_contents(help_file_))
        ui_.message(this, QStringLiteral("HtmlHelpを開けません。"), QStringLiteral("エラー"),
                    UiServices::Icon::none, UiServices::Buttons::ok);
}

void FormMain::menu_ver_Click()
{
    FormAbout about(this);
    about.exec();
}
