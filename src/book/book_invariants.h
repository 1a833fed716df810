#pragma once

#include "book/outcome.h"
#include "book/ticket_book.h"

// Checks the structure every operation on the book must keep: pools dense (each record
// in exactly one chain of an entry of its family), heads pointing back to their entries,
// previous and next links agreeing, tickets adding up, no multi on a BIG-family round
// and the counts of every multi matching its marks. On failure the message names the
// first broken rule. Linear in the size of the book.
Outcome check_invariants(const TicketBook &book);
