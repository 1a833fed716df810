// The document lifecycle of the main window: start-up, new, open, save, save as, exit
// with the unsaved-changes prompt, and the title.
#include "main_window/form_main.h"

#include "results/winning_check.h"

#include "book/book_file.h"
#include "book/book_invariants.h"
#include "main_window/entry_list_model.h"
#include "platform/command_line.h"
#include "platform/ui_services.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

// --- document lifecycle -----------------------------------------------------------------------

void FormMain::start(const QStringList &arguments)
{
    state_.changed = false;
    const QString path = command_line_path(arguments);
    if (!path.isEmpty())
        load_book(path);
}

void FormMain::set_title()
{
    const QString name = state_.path.isEmpty() ? QStringLiteral("無題") : file_name_of(state_.path);
    setWindowTitle(name + (state_.changed ? QStringLiteral(" * － ") : QStringLiteral(" － ")) +
                   program_title());
#ifndef QT_NO_DEBUG
    // Every command that changed the book ends here: debug builds check that its chains,
    // pools and counts still hold together.
    const Outcome sound = check_invariants(state_.book);
    Q_ASSERT_X(sound.ok, "FormMain::set_title", qPrintable(sound.message));
#endif
}

void FormMain::toto_clear()
{
    state_.book.clear();
    state_.changed = false;
    state_.current = 0;
    model_->reset();
    update_totals();
    set_entry_commands(false, false);
    set_move_commands(false, false);
    state_.path.clear();
    set_title();
}

void FormMain::show_error(const QString &message)
{
    ui_.message(this, message, program_title(), UiServices::Icon::critical, UiServices::Buttons::ok);
}

bool FormMain::load_book(const QString &path)
{
    toto_clear();
    state_.path = path;
    BookReadResult read = read_data(path);
    if (!read.outcome.ok) {
        show_error(read.outcome.message);
        toto_clear();
        return false;
    }
    state_.book = std::move(read.book);
    grade_book(state_.book);
    model_->reset();
    update_totals();
    if (state_.book.entry_count() > 0)
        select_row(state_.book.entry_count() - 1);
    state_.changed = false;
    set_title();
    return true;
}

bool FormMain::save_book()
{
    const Outcome saved = write_data(state_.book, state_.path);
    if (!saved.ok) {
        show_error(saved.message);
        return false;
    }
    state_.changed = false;
    set_title();
    return true;
}

bool FormMain::ask_save_path(const QString &proposed)
{
    const QString name = ui_.save_file_name(this, proposed, file_filter());
    if (name.isEmpty())
        return false;
    state_.path = name;
    return true;
}

bool FormMain::chk_end()
{
    if (!state_.changed)
        return true;
    switch (ui_.message(this, QStringLiteral("更新されています。保存しますか？"), program_title(),
                        UiServices::Icon::warning, UiServices::Buttons::yes_no_cancel)) {
    case UiServices::Answer::yes:
        if (state_.path.isEmpty() && !ask_save_path(QString()))
            return false;
        // A failed save stops the pending command: exit, new or open would otherwise
        // throw away the changes the user just asked to keep.
        return save_book();
    case UiServices::Answer::no: return true;
    default: return false;
    }
}

void FormMain::menu_new_Click()
{
    if (chk_end())
        toto_clear();
}

void FormMain::menu_open_Click()
{
    if (!chk_end())
        return;
    const QString name = ui_.open_file_name(this, file_filter());
    if (name.isEmpty())
        return;
    load_book(name);
}

void FormMain::menu_over_Click()
{
    if (state_.path.isEmpty() && !ask_save_path(QString()))
        return;
    save_book();
}

void FormMain::menu_save_Click()
{
    if (!ask_save_path(state_.path))
        return;
    save_book();
}

void FormMain::menu_end_Click()
{
    close();
}

void FormMain::closeEvent(QCloseEvent *event)
{
    if (!chk_end()) {
        event->ignore();
        return;
    }
    help_.close_all();
    event->accept();
}
