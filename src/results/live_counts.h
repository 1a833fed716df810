#pragma once

#include "book/ticket_book.h"

#include <QString>
#include <array>
#include <optional>

// Match-day counting: how a round's tickets stand with the results entered so far and any
// results the user supposes for the slots still without one, and what each outcome of
// those slots would do to them. Counted as the winning check counts (a ticket stands in the
// grade its misses among the decided slots give), multis without listing combinations.

// Tickets per grade 1..6, then the losing tickets, as RoundEntry::hits.
using GradeCounts = std::array<int64_t, 7>;

// A supposed result per slot, in the book's codes (a match result 1..3, a goal score 1..4);
// 0 supposes nothing. Suppositions on slots that have a result are ignored.
using Suppositions = std::array<int, kMaxSlots>;

// The outcomes of a slot, in the order they are offered: 1 0 2 (home win, draw, away win)
// for the match kinds, 0 1 2 3 goals for the goal kinds.
inline constexpr int kMaxOutcomes = 4;
int outcome_count(LotteryKind kind);
// The result code of outcome `o`.
int outcome_result(LotteryKind kind, int o);
// The outcome a result code stands for; -1 for none, cancelled or any other code.
int outcome_of_result(LotteryKind kind, int result);
// The outcome as it is typed: "1" "0" "2", or "0" "1" "2" "3".
QString outcome_mark(LotteryKind kind, int o);

struct LiveCounts {
    // A refunded round, or one without tickets, has nothing to count: every count stays 0.
    bool counted = false;
    // With the suppositions laid over.
    GradeCounts now{};
    // For each slot without an entered result and each outcome: the counts if the slot ended
    // so, with the other slots' suppositions laid over (its own, if any, lifted).
    std::array<std::array<GradeCounts, kMaxOutcomes>, kMaxSlots> if_ended{};
};

// Whether slot `slot` of the round has no entered result (only such slots take suppositions).
bool slot_undecided(const RoundEntry &entry, int slot);
// The round with the suppositions written into its slots that have no result.
RoundEntry supposed_round(const RoundEntry &entry, const Suppositions &supposed);
// One walk of the round's chain: time linear in its purchases times its slots.
LiveCounts live_counts(const TicketBook &book, int entry, const Suppositions &supposed);
// What the round would win with `now` (its counts with the suppositions laid over), once
// `supposed` has a result in every slot and its prizes are entered; nothing otherwise.
std::optional<WideInt> live_won(const RoundEntry &supposed, const GradeCounts &now);
