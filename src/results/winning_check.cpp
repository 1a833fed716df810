#include "results/winning_check.h"

#include <array>
#include <cstdlib>

namespace {

// Highest result code that decides a slot (match: 1..3, goal: 1..4 goals).
int decided_max(LotteryKind kind)
{
    return is_match_kind(kind) ? kDraw : 4;
}

// The mark a decided result code stands for.
int mark_of_decided(LotteryKind kind, int result)
{
    return is_match_kind(kind) ? mark_of_result(result) : result - 1;
}

bool is_open_result(LotteryKind kind, int result)
{
    return result == kResultNone || result == (is_match_kind(kind) ? kCancelled : kScoreCancelled);
}

// What each slot of a round asks of a ticket, and which grades the round has, read once per
// round rather than for every ticket: a round holds up to 65,534 of them.
constexpr int kOpenSlot = -1; // no result yet, or cancelled: every mark is right
constexpr int kOddSlot = -2;  // a code no outcome has (a file may hold one)

struct RoundSlots {
    int count = 0;       // the kind's slots
    int multi_slots = 0; // the slots a multi is graded on (none for the BIG family)
    int width = 0;       // marks per slot
    // Per slot the mark its decided result names, or kOpenSlot / kOddSlot, and the pick a
    // single needs there.
    std::array<int, kMaxSlots> mark{};
    std::array<int, kMaxSlots> pick{};
    std::array<bool, 7> grade{}; // grade g (1..6) exists at index g
};

RoundSlots round_slots(const RoundEntry &entry)
{
    const LotteryKind kind = entry.kind;
    RoundSlots t;
    t.count = slot_count(kind);
    t.multi_slots = is_big_family(kind) ? 0 : t.count;
    t.width = marks_per_slot(kind);
    for (int s = 0; s < t.count; ++s) {
        const auto at = static_cast<size_t>(s);
        const int r = entry.slot_result(s);
        if (is_open_result(kind, r)) {
            t.mark[at] = kOpenSlot;
        } else if (r >= 1 && r <= decided_max(kind)) {
            t.mark[at] = mark_of_decided(kind, r);
            t.pick[at] = is_match_kind(kind) ? r : r - 1; // the pick whose result code is r
        } else {
            t.mark[at] = kOddSlot;
        }
    }
    for (int g = 1; g <= 6; ++g)
        t.grade[static_cast<size_t>(g)] = grade_exists(entry, g);
    return t;
}

// A ticket's grade follows from its number of wrong picks: `misses` wrong picks win
// grade misses + 1 when the round has that grade, and lose otherwise.
void add_by_misses(const RoundSlots &slots, RoundEntry &entry, int misses, int64_t tickets)
{
    const int grade = misses + 1;
    if (grade <= 6 && slots.grade[static_cast<size_t>(grade)])
        entry.hits[static_cast<size_t>(grade - 1)] += tickets;
    else
        entry.hits[6] += tickets;
}

void result_single(const SinglePurchase &ticket, const RoundSlots &slots, RoundEntry &entry)
{
    int misses = 0;
    for (int s = 0; s < slots.count; ++s) {
        const auto at = static_cast<size_t>(s);
        if (slots.mark[at] >= 0 && ticket.picks[at] != slots.pick[at])
            ++misses;
    }
    add_by_misses(slots, entry, misses, 1);
}

// Counts the tickets of a multi per grade without listing them. Per unit of `base`
// (the combinations of the open and missed slots) a ticket is wrong on none, one or
// two of the covered slots in 1, `wrong` and `pairs` ways.
void result_multi(const MultiPurchase &ticket, const RoundSlots &slots, RoundEntry &entry)
{
    int missed_slots = 0;
    int64_t base = 1;
    int64_t wrong = 0;
    int64_t triple_covered = 0;
    for (int s = 0; s < slots.multi_slots; ++s) {
        const auto at = static_cast<size_t>(s);
        const auto &marks = ticket.marks[at];
        int k = 0;
        for (int m = 0; m < slots.width; ++m)
            k += marks[static_cast<size_t>(m)] ? 1 : 0;
        const int mark = slots.mark[at];
        if (mark == kOpenSlot) {
            base *= k;
        } else if (mark >= 0 && marks[static_cast<size_t>(mark)]) {
            wrong += k - 1;
            if (k == 3)
                ++triple_covered;
        } else {
            base *= k;
            ++missed_slots;
        }
    }
    const int64_t pairs = wrong * (wrong - 1) / 2 - triple_covered;
    const int64_t by_wrong_covered[3] = {base, base * wrong, base * pairs};
    int64_t graded = 0;
    for (int j = 0; j < 3; ++j) {
        const int grade = missed_slots + j + 1;
        if (grade <= 3 && slots.grade[static_cast<size_t>(grade)]) {
            entry.hits[static_cast<size_t>(grade - 1)] += by_wrong_covered[j];
            graded += by_wrong_covered[j];
        }
    }
    entry.hits[6] += ticket.combos - graded;
}

} // namespace

bool results_complete(const RoundEntry &entry)
{
    for (int s = 0; s < slot_count(entry.kind); ++s)
        if (entry.slot_result(s) == kResultNone)
            return false;
    return true;
}

bool round_is_open(const RoundEntry &entry)
{
    return entry.state == kPrizeUndecided || !results_complete(entry);
}

bool round_won(const RoundEntry &entry)
{
    if (entry.tickets == 0 || entry.state == kPrizeRefund || entry.hits[6] == entry.tickets ||
        !results_complete(entry))
        return false;
    return entry.state == kPrizeUndecided || entry.won > 0;
}

void grade_book(TicketBook &book)
{
    for (int i = 0; i < book.entry_count(); ++i)
        result_chk(book, i);
}

std::array<int64_t, 7> purchase_hits(const RoundEntry &entry, const SinglePurchase &single)
{
    RoundEntry alone = entry;
    alone.hits.fill(0);
    result_single(single, round_slots(alone), alone);
    return alone.hits;
}

std::array<int64_t, 7> purchase_hits(const RoundEntry &entry, const MultiPurchase &multi)
{
    RoundEntry alone = entry;
    alone.hits.fill(0);
    result_multi(multi, round_slots(alone), alone);
    return alone.hits;
}

void result_chk(TicketBook &book, int index)
{
    RoundEntry &entry = book.entries[static_cast<size_t>(index)];
    entry.won = 0;
    if (entry.state == kPrizeRefund || entry.tickets == 0) {
        if (entry.tickets != 0)
            entry.won = bought_amount(entry);
        return;
    }
    entry.hits.fill(0);
    const auto &singles = book.single_pool(entry.kind);
    const auto &multis = book.multi_pool(entry.kind);
    const RoundSlots slots = round_slots(entry);
    book.for_each_purchase(index, [&](int type, int i) {
        if (type == kSingle)
            result_single(singles[static_cast<size_t>(i)], slots, entry);
        else
            result_multi(multis[static_cast<size_t>(i)], slots, entry);
    });
    if (entry.hits[6] != entry.tickets && results_complete(entry) && entry.state == kPrizeEntered) {
        WideInt won = 0;
        for (size_t g = 0; g < 6; ++g)
            won += WideInt{entry.hits[g]} * entry.prizes[g];
        entry.won = won;
    }
}

QString grade_cell_text(const RoundEntry &entry, int grade)
{
    if (entry.state == kPrizeRefund || entry.tickets == 0)
        return QStringLiteral("-");
    if (grade == kLosingColumn)
        return QString::number(entry.hits[6]);
    if (!grade_exists(entry, grade))
        return QStringLiteral("-");
    if (grade > 1 && !results_complete(entry)) {
        for (int better = 0; better < grade - 1; ++better)
            if (entry.hits[static_cast<size_t>(better)] != 0)
                return QStringLiteral("?");
    }
    return QString::number(entry.hits[static_cast<size_t>(grade - 1)]);
}

QString won_cell_text(const RoundEntry &entry)
{
    if (entry.tickets == 0)
        return QStringLiteral("-");
    if (entry.state == kPrizeRefund)
        return format_yen(entry.won);
    if (entry.hits[6] == entry.tickets)
        return QStringLiteral("0");
    if (!results_complete(entry))
        return QStringLiteral("未確定");
    if (entry.state == kPrizeEntered)
        return format_yen(entry.won);
    return QStringLiteral("金額未定");
}

int64_t bought_amount(const RoundEntry &entry)
{
    return entry.tickets * unit_price(entry.kind);
}

BookTotals book_totals(const TicketBook &book)
{
    BookTotals totals;
    for (const RoundEntry &entry : book.entries) {
        totals.bought += bought_amount(entry);
        totals.won += entry.won;
    }
    totals.balance = totals.won - totals.bought;
    return totals;
}
