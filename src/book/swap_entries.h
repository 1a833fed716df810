#pragma once

#include "book/ticket_book.h"

// Exchanges entries `a` and `b` whole, so each chain moves with its entry, and points the
// first purchase of each chain back at its entry's new position.
void swap_entries(TicketBook &book, int a, int b);
