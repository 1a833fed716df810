#pragma once

#include "book/book_document.h"

#include <QString>
#include <optional>

// The open book and the small run state that the main window owns and lends to every dialog.
// Dialogs read the book here; they change it only through the commit the command hands them.
// How the last dialog ended.
enum class DialogResult { cancelled, ok };

struct SharedState {
    BookDocument document;
    int current = 0; // the entry the commands work on
    DialogResult dialog_result = DialogResult::cancelled;
    // Nothing: a dialog creates; else what it edits (the round `current`, or the ticket of
    // that pool index).
    std::optional<int> editing;

    explicit SharedState(BookDocument::Grader grader) : document(std::move(grader)) {}

    const TicketBook &book() const { return document.book(); }
    bool has_current() const { return current >= 0 && current < book().entry_count(); }
    // The entry the commands work on; only while has_current().
    const RoundEntry &current_entry() const { return book().entries[static_cast<size_t>(current)]; }
};
