#pragma once

#include "book/ticket_book.h"

#include <QByteArray>

// The whole book as JSON (UTF-8), for scripts: entries with their slots, flags, prizes,
// grading counters and purchases in chain order, then the book totals.
QByteArray book_to_json(const TicketBook &book);
