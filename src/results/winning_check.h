#pragma once

#include "book/amount_text.h"
#include "book/ticket_book.h"

#include <QString>

// True when no used slot is still without a result (cancelled counts as entered).
bool results_complete(const RoundEntry &entry);
// An open round: its results are not all in, or its prizes are not fixed (未定). The find
// bar's 未確定・金額未定のみ and 結果を一括更新 take the same rounds.
bool round_is_open(const RoundEntry &entry);
// A round that won: its results are all in and its 当選金額 is an amount above 0 or 金額未定
// (prizes not yet known for tickets that hit). A refunded round won nothing.
bool round_won(const RoundEntry &entry);

// Grades every ticket of entry `entry`: recomputes hits and won. A refunded
// round, or one without tickets, keeps its hits and only gets won.
void result_chk(TicketBook &book, int entry);

// Grades every entry, as after loading a book (the file keeps no winning counters).
void grade_book(TicketBook &book);

// What one purchase of the entry adds to its hits: tickets per grade 1..6, then losing
// tickets. Slots without a result (and cancelled ones) count as right, so while results
// are missing this is the best the purchase can still do.
std::array<int64_t, 7> purchase_hits(const RoundEntry &entry, const SinglePurchase &single);
std::array<int64_t, 7> purchase_hits(const RoundEntry &entry, const MultiPurchase &multi);

// Texts of the list's count columns: grade 1..6, or kLosingColumn for はずれ.
inline constexpr int kLosingColumn = 7;
QString grade_cell_text(const RoundEntry &entry, int grade);
// Text of the 当選金額 column.
QString won_cell_text(const RoundEntry &entry);

// Amount bought for the round.
int64_t bought_amount(const RoundEntry &entry);

struct BookTotals {
    WideInt bought = 0;
    WideInt won = 0;
    WideInt balance = 0;
};
BookTotals book_totals(const TicketBook &book);
