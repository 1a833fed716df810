#pragma once

#include "book/ticket_book.h"
#include "download/download_state.h"

#include <QByteArray>

// The whole book as JSON (UTF-8), for scripts: entries with their slots, flags, prizes,
// grading counters and purchases in chain order, then the book totals.
QByteArray book_to_json(const TicketBook &book);

// The used slots of a round as the dump writes them: [{"home", "away", "result"}, ...] or
// [{"team", "score"}, ...].
QByteArray slots_to_json(const RoundEntry &entry);
// The same for a downloaded round, its names as the page wrote them.
QByteArray slots_to_json(const DownloadedRound &round);
// A text as a JSON string.
QByteArray json_string(const QString &text);
