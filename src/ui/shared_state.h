#pragma once

#include "book/book_document.h"

#include <QString>

// The open book and the small run state that the main window owns and lends to every dialog.
// Dialogs read the book here; they change it only through the commit the command hands them.
struct SharedState {
    BookDocument document;
    int current = 0;       // the entry the commands work on
    int dialog_result = 0; // how the last dialog ended: 0 cancelled, 1 OK (downloads also 2, 3)
    int edit_target = 0;   // 0: a dialog creates; otherwise what it edits

    explicit SharedState(BookDocument::Grader grader = {}) : document(std::move(grader)) {}

    const TicketBook &book() const { return document.book(); }
    bool has_current() const { return current >= 0 && current < book().entry_count(); }
    // The entry the commands work on; only while has_current().
    const RoundEntry &current_entry() const { return book().entries[static_cast<size_t>(current)]; }
};
