// The document lifecycle of the main window: start-up, new, open, save, save as, exit
// with the unsaved-changes prompt, and the title.
#include "main_window/form_main.h"

#include "results/winning_check.h"

#include "book/book_file.h"
#include "book/book_invariants.h"
#include "book/book_recovery.h"
#include "book/message_text.h"
#include "main_window/entry_list_model.h"
#include "platform/command_line.h"
#include "ui/save_name.h"
#include "ui/ui_services.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

// --- document lifecycle -----------------------------------------------------------------------

void FormMain::start(const QStringList &arguments)
{
    const QString path = command_line_path(arguments);
    if (!path.isEmpty())
        load_book(path);
}

void FormMain::set_title()
{
    const QString &path = state_.document.path();
    const QString name = path.isEmpty() ? QStringLiteral("無題") : file_name_of(path);
    setWindowTitle(name + (state_.document.modified() ? QStringLiteral(" * － ") : QStringLiteral(" － ")) +
                   program_title());
#ifndef QT_NO_DEBUG
    // Every command that changed the book ends here: debug builds check that its chains,
    // pools and counts still hold together.
    const Outcome sound = check_invariants(state_.book());
    Q_ASSERT_X(sound.ok, "FormMain::set_title", qPrintable(sound.message));
#endif
}

void FormMain::toto_clear()
{
    state_.current = 0;
    forget_find();           // a new book starts with every row shown
    state_.document.clear(); // the window follows the document's report
    watch_file();
}

void FormMain::show_error(const Outcome &failed)
{
    ui_.message(this, failed.message, program_title(), UiServices::Icon::critical, UiServices::Buttons::ok,
                failed.detail);
}

bool FormMain::load_book(const QString &path)
{
    state_.current = 0;
    forget_find();
    // A save in place that was cut off leaves the old bytes in a recovery copy.
    if (book_is_torn(path) &&
        ui_.message(
            this,
            QStringLiteral("「%1」は保存の途中で中断されたため壊れています。保存前の内容に戻しますか？")
                .arg(escape_controls(file_name_of(path))),
            program_title(), UiServices::Icon::warning, UiServices::Buttons::yes_no,
            QStringLiteral("保存前の内容の控え: %1").arg(escape_controls(recovery_path(path)))) ==
            UiServices::Answer::yes) {
        if (const Outcome restored = restore_from_recovery(path); !restored.ok)
            show_error(restored);
    }
    // Opening grades every round and selects the last one; a book that cannot be read
    // leaves an empty, untitled one.
    const Outcome opened = state_.document.open(path);
    watch_file();
    if (!opened.ok) {
        show_error(opened);
        return false;
    }
    return true;
}

bool FormMain::save_book(const QString &path)
{
    Outcome saved = state_.document.save(path);
    if (saved.refusal == Outcome::Refusal::changed) {
        // Another program changed the file since it was read: never overwritten unasked.
        const FileStamp seen = current_stamp(path);
        switch (ui_.choose(this,
                           QStringLiteral("「%1」は読み込んだ後に他のプログラムによって変更されています。")
                               .arg(escape_controls(file_name_of(path))),
                           program_title(), UiServices::Icon::warning,
                           {QStringLiteral("上書き保存"), QStringLiteral("名前を付けて保存..."),
                            QStringLiteral("キャンセル")},
                           2)) {
        case 0: saved = state_.document.save(path, seen); break;
        case 1: {
            const QString other = ask_save_path(path);
            return !other.isEmpty() && save_book(other);
        }
        default: return false;
        }
    }
    if (saved.refusal == Outcome::Refusal::busy) {
        ui_.message(this, saved.message, program_title(), UiServices::Icon::warning);
        return false;
    }
    if (!saved.ok) {
        if (saved.refusal != Outcome::Refusal::changed)
            show_error(saved);
        else
            ui_.message(this, saved.message, program_title(), UiServices::Icon::warning);
        return false;
    }
    file_gone_ = false;
    watch_file();
    set_title();
    return true;
}

QString FormMain::ask_save_path(const QString &proposed)
{
    return ask_save_name(ui_, this, proposed, file_filter(), QStringLiteral(".yrm"));
}

bool FormMain::chk_end()
{
    if (!state_.document.modified())
        return true;
    switch (ui_.message(this, QStringLiteral("更新されています。保存しますか？"), program_title(),
                        UiServices::Icon::warning, UiServices::Buttons::yes_no_cancel)) {
    case UiServices::Answer::yes: {
        const QString path =
            state_.document.path().isEmpty() ? ask_save_path(QString()) : state_.document.path();
        // A failed save stops the pending command: exit, new or open would otherwise
        // throw away the changes the user just asked to keep.
        return !path.isEmpty() && save_book(path);
    }
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
    const QString name = ui_.open_file_name(this, file_filter(), book_folder(state_.document.path()));
    if (name.isEmpty())
        return;
    load_book(name);
}

void FormMain::menu_over_Click()
{
    const QString path = state_.document.path().isEmpty() ? ask_save_path(QString()) : state_.document.path();
    if (!path.isEmpty())
        save_book(path);
}

void FormMain::menu_save_Click()
{
    const QString path = ask_save_path(state_.document.path());
    if (!path.isEmpty())
        save_book(path);
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
