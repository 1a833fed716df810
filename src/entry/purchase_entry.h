#pragma once

#include "book/ticket_book.h"
#include <optional>

#include <array>

// What the registration and purchase dialogs hand to the book when they end with OK: the
// round or ticket as it is to be stored, built from what the user chose.

// Which of the three grade options of a match round is chosen: none, the first
// (３等あり for toto, ５等あり for BIG) or the second (６等あり for BIG).
enum class GradeOption { none, plus1, plus2 };

// Label and team names of a round; hidden rows are stored too.
struct RoundNames {
    BookText kai;
    std::array<BookText, kMaxMatchSlots> home{};
    std::array<BookText, kMaxMatchSlots> away{};
    std::array<BookText, kMaxTeamSlots> teams{};
};

// The option that shows the grade flags of a round (toto and BIG; none for the others).
GradeOption grade_option_of(const RoundEntry &entry);

// The captions of the grade options a kind offers, for none, the first and the second
// option; "" where the kind has no such option (only toto and BIG have any).
std::array<QString, 3> grade_option_captions(LotteryKind kind);

// Sets the grade flags of a match round from the chosen option: toto keeps only
// has_grade3, BIG only has_grade5 and has_grade6, other match kinds none. Goal rounds
// keep their flags.
void apply_grade_option(RoundEntry &entry, GradeOption option);

// A new round of `kind` with no results, prizes or purchases.
RoundEntry new_round(LotteryKind kind, const RoundNames &names, GradeOption option);

// `round` with another label, team names and grade flags; its kind, results, prizes and
// purchases stay.
RoundEntry renamed_round(const RoundEntry &round, const RoundNames &names, GradeOption option);

// Picks of a single per slot; kKeepPick where no pick was made (a slot the kind does not
// use), which leaves the stored value (0 for a new ticket).
inline constexpr int kKeepPick = -1;
using SinglePicks = std::array<int, kMaxSlots>;

// The single to store for `entry`: a new ticket (`edited` nothing) or the stored ticket of
// pool index *edited, with the picks made.
SinglePurchase picked_single(const TicketBook &book, int entry, std::optional<int> edited,
                             const SinglePicks &picks);

// The multi to store for a round of `kind`: the marks of the kind's slots, counted.
MultiPurchase marked_multi(const MultiPurchase &marks, LotteryKind kind);
