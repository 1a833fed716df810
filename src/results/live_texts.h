#pragma once

#include "book/ticket_book.h"
#include "results/live_counts.h"

#include <QString>

// The texts that say how a round stands on a match day, wherever its counts are shown: the
// 途中経過 window, the main list's tooltips, the review's standing of a ticket.

// "試合" for the match kinds, "チーム" for the goal kinds: what one slot is.
QString slot_word(LotteryKind kind);
// "13試合中 8試合決定": the slots with an entered result (cancelled ones included).
QString decided_text(const RoundEntry &entry);
// "13試合中 5試合が未開催".
QString undecided_text(const RoundEntry &entry);
// "1等圏内 3口・2等圏内 12口・3等圏内 40口", over the grades the round has.
QString in_line_text(const RoundEntry &entry, const GradeCounts &counts);
// What one outcome leaves, compactly: "1等 2 / 2等 5 / 3等 9".
QString outcome_cell_text(const RoundEntry &entry, const GradeCounts &counts);
// A slot's result as the window lists it: "1" "0" "2", "0" "1" "2" "3+", "未開催", "中止".
QString result_so_far_text(LotteryKind kind, int result);
// The tooltip of a column of the round's row in the main list: what a grade count of an
// unfinished round means, and what 未確定 waits for; "" where a cell needs none.
QString entry_column_tip(const RoundEntry &entry, int column);
// A ticket's standing in the review, from its rows with a marked result: "的中 9/11（残り2試合）".
QString standing_text(const RoundEntry &entry, int correct);
