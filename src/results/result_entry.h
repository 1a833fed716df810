#pragma once

#include "book/ticket_book.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// The rules of the result entry dialogs that need no window: layouts per kind, the
// prize limits, when a round can only be refunded, the amount boxes' text rules and what
// OK writes into the entry.

// Rows of the result dialog per family: all of them exist, the kind shows the first ones.
inline constexpr int kMatchResultRows = kMaxMatchSlots;
inline constexpr int kGoalResultRows = kMaxTeamSlots;

// Rows shown for the kind.
int result_rows(LotteryKind kind);
// Rows (numbered from 1) after which a separator line stands.
std::vector<int> separators_after(LotteryKind kind);
// Prize rows shown (grades 1..6) for the entry.
bool prize_row_shown(const RoundEntry &entry, int grade);
// Largest amount one amount box accepts: the kind's prize cap, and for the kinds without
// a cap the largest cap of the other kinds' standard (500,000,000), so what is typed is
// always what the book file accepts.
int64_t prize_max(LotteryKind kind);
// Match kinds: the largest number of cancelled matches that still allows amounts.
int refund_threshold(LotteryKind kind);

// The three states of the prize controls.
enum class PrizePhase { incomplete, complete, refund_forced };

// How the rows of the dialog are filled: cancelled rows, rows with a result (or a score).
struct RowCounts {
    int stopped = 0;
    int decided = 0;
};

// The phase the prize controls take for `rows` shown rows of the kind.
PrizePhase prize_phase(LotteryKind kind, int rows, RowCounts counts);

// Amount boxes. An amount text is decimal digits with thousands commas.
// Reads an amount, commas ignored; anything that is not digits reads 0. Very long
// digit strings saturate far above every prize_max instead of wrapping.
int64_t read_amount(const QString &text);
// Whether a text from the clipboard may be pasted: digits, optionally with commas and
// surrounding blanks.
bool is_numeric_text(const QString &text);
// Whether typing `digit` at the right end of `amount` keeps it within `max`.
bool digit_accepted(int64_t amount, int digit, int64_t max);
// The text a box shows after a change: empty is 0, too large is cut to max, "#,0".
QString normalized_amount_text(const QString &text, int64_t max);

// What OK writes: the code of each row (all 14 or 10 rows, 0 for rows without a choice),
// the selected prize state and the amounts of the boxes.
struct ResultInput {
    std::array<int, kMaxSlots> codes{};
    int state = kPrizeUndecided;
    std::array<int64_t, kMaxGrades> amounts{};
};
void store_results(RoundEntry &entry, const ResultInput &input);
