#pragma once

#include "book/ticket_book.h"

// A book of `entries` rounds of mixed kinds whose four purchase pools are filled to
// `records_per_pool` records each, spread over the rounds of their family; most rounds
// have results and prizes, so grading does real work.
TicketBook maximal_book(int entries = kMaxRecords, int records_per_pool = kMaxRecords);
