#pragma once

#include "book/book_text.h"
#include "book/lottery_kind.h"
#include "book/outcome.h"
#include "book/result_codes.h"
#include "book/tracked_list.h"

#include <QByteArray>
#include <array>
#include <cstdint>
#include <variant>
#include <vector>

// Counts and pool indexes of the book are 16-bit in the file format.
inline constexpr int kMaxRecords = 32767;
// The tickets of one round are 32-bit in the file format.
inline constexpr int64_t kMaxRoundTickets = 2147483647;

// Yen won, and sums of yen: a round read from a file can stand for 32,767 multis of
// 3^13 tickets each at a 32-bit prize, past 64 bits, so these stay exact in 128 bits.
__extension__ typedef __int128 WideInt;

// Type of a purchase in a chain link; 0 ends a chain.
enum PurchaseType : int { kNoPurchase = 0, kSingle = 1, kMulti = 2 };

// Prize state of a round.
enum PrizeState : int { kPrizeUndecided = 0, kPrizeEntered = 1, kPrizeRefund = 2 };

// Texts are kept as the Shift-JIS bytes the book file stores, so nothing is lost
// between reading and writing a book.
struct MatchSlot {
    BookText home;
    BookText away;
    int result = kResultNone;

    bool operator==(const MatchSlot &) const = default;
};

struct TeamSlot {
    BookText team;
    int score = kScoreNone;

    bool operator==(const TeamSlot &) const = default;
};

struct PurchaseLinks {
    int next_type = kNoPurchase;
    int next_index = 0;
    int prev_type = kNoPurchase; // 0: first of the chain, prev_index is then the entry
    int prev_index = 0;

    bool operator==(const PurchaseLinks &) const = default;
};

// A single ticket. Match kinds pick 1 home win, 2 away win, 3 draw; goal kinds pick
// 0..3 goals (3 meaning three or more). Unused slots hold 0.
struct SinglePurchase {
    std::array<uint8_t, kMaxSlots> picks{};
    PurchaseLinks link;

    bool operator==(const SinglePurchase &) const = default;
};

// A multi ticket: every combination of its marks. Match kinds use marks 0..2 of a slot
// (home, draw, away), goal kinds 0..3 (goal counts).
struct MultiPurchase {
    int doubles = 0;
    int triples = 0;
    int64_t combos = 0; // 2^doubles * 3^triples; can exceed 16 bits when read from a file
    int marked = 0;     // slots with at least one mark (kept by the multi dialog)
    std::array<std::array<bool, 4>, kMaxSlots> marks{};
    PurchaseLinks link;

    bool operator==(const MultiPurchase &) const = default;
};

using GoalSinglePurchase = SinglePurchase;
using GoalMultiPurchase = MultiPurchase;

// A ticket to be added to a round: a single, or a multi (counted when it is stored).
using NewPurchase = std::variant<SinglePurchase, MultiPurchase>;

struct RoundEntry {
    BookText kai;
    LotteryKind kind = LotteryKind::toto;
    std::array<MatchSlot, kMaxMatchSlots> matches{};
    std::array<TeamSlot, kMaxTeamSlots> teams{};
    int64_t tickets = 0;
    std::array<int64_t, 7> hits{}; // tickets per grade 1..6, then losing tickets
    int state = kPrizeUndecided;
    bool has_grade3 = false;
    bool has_grade5 = false;
    bool has_grade6 = false;
    std::array<int64_t, 6> prizes{}; // prize per ticket of grades 1..6
    WideInt won = 0;                 // what the round won, from the winning check
    int first_type = kNoPurchase;
    int first_index = 0;

    // Result (match kinds) or score (goal kinds) of a used slot.
    int slot_result(int slot) const;

    bool operator==(const RoundEntry &) const = default;
};

// Whether grade g (1..6) exists for the round: the kind's table and the round's options.
bool grade_exists(const RoundEntry &entry, int grade);
// The highest grade of the round.
int grade_count(const RoundEntry &entry);

class TicketBook {
public:
    TrackedList<RoundEntry> entries;
    TrackedList<SinglePurchase> singles;
    TrackedList<MultiPurchase> multis;
    TrackedList<GoalSinglePurchase> goal_singles;
    TrackedList<GoalMultiPurchase> goal_multis;

    int entry_count() const { return static_cast<int>(entries.size()); }

    // The pools a round of this kind keeps its purchases in.
    TrackedList<SinglePurchase> &single_pool(LotteryKind kind);
    const TrackedList<SinglePurchase> &single_pool(LotteryKind kind) const;
    TrackedList<MultiPurchase> &multi_pool(LotteryKind kind);
    const TrackedList<MultiPurchase> &multi_pool(LotteryKind kind) const;

    PurchaseLinks &links(LotteryKind kind, int type, int index);
    const PurchaseLinks &links(LotteryKind kind, int type, int index) const;

    // Empties entries and pools.
    void clear();

    // Calls fn(type, index) for each purchase of an entry, in chain order.
    template <typename Fn>
    void for_each_purchase(int entry, Fn fn) const
    {
        const RoundEntry &e = entries[static_cast<size_t>(entry)];
        int type = e.first_type;
        int index = e.first_index;
        while (type != kNoPurchase) {
            fn(type, index);
            const PurchaseLinks &l = links(e.kind, type, index);
            type = l.next_type;
            index = l.next_index;
        }
    }
};

// Appends an entry; refuses (out of memory message) beyond kMaxRecords entries.
Outcome add_entry(TicketBook &book, const RoundEntry &entry);

// Appends purchase `index` of pool `type` (already stored with next_type 0) to the
// end of the chain of `entry`.
void link_purchase(TicketBook &book, int entry, int type, int index);

// Appends stored purchases to the end of one entry's chain. The tail is found once, so
// linking many purchases (reading a book, importing a file) costs one walk, not one each.
class ChainAppender {
public:
    ChainAppender(TicketBook &book, int entry);
    // Links purchase `index` of pool `type` after the current tail; its links are set anew.
    void append(int type, int index);

private:
    TicketBook &book_;
    int entry_;
    int tail_type_ = kNoPurchase;
    int tail_index_ = 0;
};

// What new tickets add to a round, counted as they come (a file is checked line by line).
struct PurchaseTally {
    int64_t singles = 0;
    int64_t multis = 0;
    int64_t tickets = 0; // combinations
    bool big_multi = false;

    // `multi_combos` of a multi already counted (count_multi).
    void add_single() { ++singles, ++tickets; }
    void add_multi(LotteryKind kind, int64_t combos);
    void add(const NewPurchase &purchase, LotteryKind kind);
};

// The one rule of what a round of `kind` holding `round_tickets` can take besides: no multi on
// a BIG-family round ("この種別はマルチ購入できません。"; the grading has no rule for one), no pool
// past kMaxRecords records and no round past kMaxRoundTickets tickets (out_of_memory_message).
Outcome purchases_fit(const TicketBook &book, LotteryKind kind, int64_t round_tickets,
                      const PurchaseTally &added);
// The same rule naming the limit passed, for a dialog that can say which one and how much
// room is left ("シングルはこの種別で32,767件までです（あと12件）"); "" when they fit.
QString purchases_limit_text(const TicketBook &book, LotteryKind kind, int64_t round_tickets,
                             const PurchaseTally &added);

// Stores a purchase for an entry, links it and adds its tickets, when it fits.
Outcome add_single(TicketBook &book, int entry, const SinglePurchase &purchase);
Outcome add_multi(TicketBook &book, int entry, const MultiPurchase &purchase);

// Appends `purchases` in order to the end of the entry's chain, in linear time, each multi
// counted. All or nothing: nothing is added unless they all fit (purchases_fit).
Outcome add_purchases(TicketBook &book, int entry, const std::vector<NewPurchase> &purchases);

// Replaces the picks of single `index` of the entry's pool; its place in the chain stays.
void replace_single(TicketBook &book, int entry, int index, const SinglePurchase &purchase);
// Replaces the marks of multi `index` of the entry's pool; its place stays and the round's
// tickets change by the difference of combinations.
void replace_multi(TicketBook &book, int entry, int index, const MultiPurchase &marks);

// Label, team names and grade flags of `from` into `to`; nothing else changes.
void copy_names(RoundEntry &to, const RoundEntry &from);
// Results (or scores), prize state and prizes of `from` into `to`, and with `with_flags` its
// grade flags; names, kind and tickets stay.
void copy_results(RoundEntry &to, const RoundEntry &from, bool with_flags);

// Recounts doubles, triples, marked and combos of a multi over the kind's used slots.
void count_multi(MultiPurchase &multi, LotteryKind kind);

// The most combinations one multi may stand for, and the most marks per slot.
inline constexpr int kMaxMultiCombos = 500;
inline constexpr int kMaxMarksPerSlot = 3;

// Whether the marks of a multi, counted with count_multi, stay within the limits above.
bool multi_within_limits(const MultiPurchase &counted, LotteryKind kind);
// Why a counted multi is beyond the limits, in a few words for the user; "" within them.
QString multi_limit_reason(const MultiPurchase &counted, LotteryKind kind);
