#pragma once

#include "book/book_document.h"
#include "book/outcome.h"

#include <QString>
#include <optional>

// What every command of yorimo-cli does the same way.

// Prints the message on stderr (an outcome's reason follows on the same line, bracketed)
// and gives the exit status of a failed command, 1.
int fail(const QString &message);
int fail(const Outcome &outcome);

// The entry of list row `row` (1 = the first round), when there is one.
std::optional<int> entry_of_row(const TicketBook &book, const QString &row);
// "一覧の7行目に開催回がありません。"
QString no_row_message(const QString &row);

// Opens the book at `path` into `document`, graded as the window grades it; on failure
// prints the reader's message and returns false. A reading command takes no lock.
bool open_into(BookDocument &document, const QString &path);
// For a writing command: takes the book's lock (held until the document goes), then opens
// the book; prints the busy message or the reader's on failure.
bool open_for_writing(BookDocument &document, const QString &path);
