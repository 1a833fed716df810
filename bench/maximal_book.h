#pragma once

#include "book/ticket_book.h"

// A book of `entries` rounds of mixed kinds whose four purchase pools are filled to
// `records_per_pool` records each, spread over the rounds of their family; most rounds
// have results and prizes, so grading does real work.
TicketBook maximal_book(int entries = kMaxRecords, int records_per_pool = kMaxRecords);

// A book of one toto round labelled `kai`, every result a home win and 1等 to 3等 paid,
// holding `purchases` (added at once, in linear time). Not graded.
TicketBook decided_toto_book(const char *kai, const std::vector<NewPurchase> &purchases);
