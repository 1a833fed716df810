#pragma once

#include "book/ticket_book.h"

// Deleting purchases and rounds. Pools stay dense: the last record of a pool moves into
// the freed index and its neighbours (or its entry, when it heads a chain) follow it.

// Removes single `index` of the single pool of `entry`'s family from its chain and pool,
// and takes its ticket off the round.
void single_del(TicketBook &book, int entry, int index);
// The same for a multi; the round loses all its combinations.
void multi_del(TicketBook &book, int entry, int index);

// Removes a round with all its purchases; later rounds move down one place. Linear in
// the size of the book.
void delete_entry(TicketBook &book, int entry);
