#pragma once

#include "book/book_document.h"
#include "book/outcome.h"
#include "book/ticket_book.h"
#include "download/download_state.h"
#include "download/team_names.h"

// What the download brought, and the team-name table that fits a result page's names.
struct DownloadedData {
    const DownloadedRound &round;
    const TeamNames &names;
};

// The entry a new download becomes: label, kind, all slots, prize state, grade flags and
// prizes; no purchases. Team names of a result page are brought within the book's 10 bytes
// through the team-name table, else cut at a character boundary.
RoundEntry entry_from_download(const DownloadedData &data, DownloadOutcome outcome);

// Whether entry `target` can take the downloaded round's results (same kind).
bool can_take_results(const TicketBook &book, int target, const DownloadedRound &round);

// Writes the download into the book as one step: a new-entry outcome appends a new entry (refused
// with the out-of-memory message when the book is full); result_into_entry copies results, prize state,
// grade flags and prizes into entry `target`, keeping its names and purchases. Returns the
// entry written in `*entry`.
Outcome apply_download(BookDocument &document, const DownloadedData &data, DownloadOutcome outcome,
                       int target, int *entry);
