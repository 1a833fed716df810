#pragma once

#include "book/ticket_book.h"

#include <QString>

// The book and the small run state that the main window owns and lends to every dialog.
struct SharedState {
    TicketBook book;
    int current = 0;       // the entry the commands work on
    bool changed = false;  // unsaved changes
    QString path;          // "" while the book is untitled
    int dialog_result = 0; // how the last dialog ended: 0 cancelled, 1 OK (downloads also 2, 3)
    int edit_target = 0;   // 0: a dialog creates; otherwise what it edits

    bool has_current() const { return current >= 0 && current < book.entry_count(); }
    // The entry the commands work on; only while has_current().
    RoundEntry &current_entry() { return book.entries[static_cast<size_t>(current)]; }
    const RoundEntry &current_entry() const { return book.entries[static_cast<size_t>(current)]; }
    void mark_changed() { changed = true; }
};
