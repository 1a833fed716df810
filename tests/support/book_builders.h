#pragma once

#include "book/ticket_book.h"

#include "support/qt_printers.h"
#include <QString>

#include <gtest/gtest.h>
#include <random>
#include <variant>
#include <vector>

// Shift-JIS bytes of UTF-8 text.
QByteArray sjis(const char *utf8);

// A round of `kind` with team names filled in and nothing else.
RoundEntry make_entry(LotteryKind kind, const char *kai = "100");

// A single from picks given per used slot.
SinglePurchase make_single(const std::vector<int> &picks);
// A multi from marks given per used slot as strings of '1'/'0' flags ("110" = home and draw).
MultiPurchase make_multi(const std::vector<const char *> &marks);

// `rounds` toto rounds with every match cancelled and prize 1等 `prize`, each holding
// `multis` multis of all triples: every one of their 3^13 tickets wins 1等. Graded.
TicketBook all_cancelled_toto_book(int rounds, int multis, int64_t prize);

// Purchases of an entry in chain order, links left out: what the user bought.
using Ticket = std::variant<SinglePurchase, MultiPurchase>;
std::vector<Ticket> tickets_of(const TicketBook &book, int entry);

// A random book of every kind: random texts within 10 bytes, results, states, grade
// flags and prizes within their caps, and purchases added to random entries in turn,
// so pools interleave the entries. Every entry is graded.
TicketBook random_book(std::mt19937 &rng, int entries, int purchases);

// True when pools are dense, every record sits in exactly one chain of its family,
// heads point back to their entries and tickets add up.
::testing::AssertionResult chains_consistent(const TicketBook &book);

// The folder of the test fixtures.
QString test_data(const QString &name);
