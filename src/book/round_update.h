#pragma once

#include "book/outcome.h"
#include "book/ticket_book.h"

#include <optional>
#include <variant>
#include <vector>

// A change of one round staged before it is written: what the CSV import, a download's
// Ｏ．Ｋ． and the batch result update hand to the book (BookDocument::apply_updates).
// Everything that writes a round from outside the dialogs goes through apply_round_update, so
// the rules live once.
struct RoundUpdate {
    // The round written: none appends `round` whole (label, kind, slots, results, prize
    // state, grade flags and prizes; no purchases of its own).
    std::optional<int> entry;
    RoundEntry round;
    // For an existing entry: the results or scores, prize state, prizes and grade flags of
    // `round` are taken; its kind must be the entry's.
    bool results = false;
    // Appended after the entry's own purchases, in this order.
    std::vector<NewPurchase> purchases;
};

// The staged results of a downloaded round for existing entry `entry`; names and purchases stay.
RoundUpdate results_update(int entry, const RoundEntry &downloaded);
// A downloaded round as a new entry.
RoundUpdate new_round_update(const RoundEntry &round);

// Writes the update; `*written` is the entry written. Refused as purchases_fit refuses when
// the book, a pool or the round's tickets would pass their limits, and without a message when
// the target is no entry of the round's kind; a refusal writes nothing.
Outcome apply_round_update(TicketBook &book, const RoundUpdate &update, int *written = nullptr);

// The grade flags of a round whose prize table lists `prize_count` grades: toto has 3等
// with exactly three, BIG 5等 with five or six and 6等 with six; other kinds have no 3等 (and
// keep the 5等 and 6等 flags they hold, which only BIG reads). For the book's rounds and
// for the rounds read from pages alike.
template <typename Round>
void set_grade_flags(Round &round, int prize_count)
{
    round.has_grade3 = round.kind == LotteryKind::toto && prize_count == 3;
    if (round.kind == LotteryKind::BIG) {
        round.has_grade5 = prize_count >= 5;
        round.has_grade6 = prize_count == 6;
    } else if (round.kind == LotteryKind::toto) {
        round.has_grade5 = round.has_grade6 = false;
    }
}
