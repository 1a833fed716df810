#include "results/winning_check.h"

#include <cstdlib>

namespace {

// Highest result code that decides a slot (match: 1..3, goal: 1..4 goals).
int decided_max(LotteryKind kind)
{
    return is_match_kind(kind) ? kDraw : 4;
}

// The result code a pick stands for.
int result_code_of_pick(LotteryKind kind, int pick)
{
    return is_match_kind(kind) ? pick : pick + 1;
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

// A ticket's grade follows from its number of wrong picks: `misses` wrong picks win
// grade misses + 1 when the round has that grade, and lose otherwise.
void add_by_misses(RoundEntry &entry, int misses, int64_t tickets)
{
    const int grade = misses + 1;
    if (grade <= 6 && grade_exists(entry, grade))
        entry.hits[static_cast<size_t>(grade - 1)] += tickets;
    else
        entry.hits[6] += tickets;
}

void result_single(const SinglePurchase &ticket, RoundEntry &entry)
{
    int misses = 0;
    for (int s = 0; s < slot_count(entry.kind); ++s) {
        const int r = entry.slot_result(s);
        if (r >= 1 && r <= decided_max(entry.kind) &&
            r != result_code_of_pick(entry.kind, ticket.picks[static_cast<size_t>(s)]))
            ++misses;
    }
    add_by_misses(entry, misses, 1);
}

// Counts the tickets of a multi per grade without listing them. Per unit of `base`
// (the combinations of the open and missed slots) a ticket is wrong on none, one or
// two of the covered slots in 1, `wrong` and `pairs` ways.
void result_multi(const MultiPurchase &ticket, RoundEntry &entry)
{
    const LotteryKind kind = entry.kind;
    const int width = marks_per_slot(kind);
    const int slots = is_big_family(kind) ? 0 : slot_count(kind);
    int missed_slots = 0;
    int64_t base = 1;
    int64_t wrong = 0;
    int64_t triple_covered = 0;
    for (int s = 0; s < slots; ++s) {
        const auto &marks = ticket.marks[static_cast<size_t>(s)];
        int k = 0;
        for (int m = 0; m < width; ++m)
            k += marks[static_cast<size_t>(m)] ? 1 : 0;
        const int r = entry.slot_result(s);
        if (is_open_result(kind, r)) {
            base *= k;
        } else if (r >= 1 && r <= decided_max(kind) && marks[static_cast<size_t>(mark_of_decided(kind, r))]) {
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
        if (grade <= 3 && grade_exists(entry, grade)) {
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
    result_single(single, alone);
    return alone.hits;
}

std::array<int64_t, 7> purchase_hits(const RoundEntry &entry, const MultiPurchase &multi)
{
    RoundEntry alone = entry;
    alone.hits.fill(0);
    result_multi(multi, alone);
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
    book.for_each_purchase(index, [&](int type, int i) {
        if (type == kSingle)
            result_single(singles[static_cast<size_t>(i)], entry);
        else
            result_multi(multis[static_cast<size_t>(i)], entry);
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
