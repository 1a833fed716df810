#pragma once

#include "book/ticket_book.h"

#include <array>

// Grades tickets the slow, obvious way: every combination of a multi is listed and
// graded as a single from its own table of grades by number of wrong picks. Written
// independently of the program's check, to hold it to account.
using Hits = std::array<int64_t, 7>;

int brute_grade(const RoundEntry &entry, int misses); // 1..6, 0 for a losing ticket
int brute_misses(const RoundEntry &entry, const std::array<uint8_t, kMaxSlots> &picks);
void brute_add_single(const RoundEntry &entry, const SinglePurchase &ticket, Hits &hits);
void brute_add_multi(const RoundEntry &entry, const MultiPurchase &ticket, Hits &hits);
