#include "results/round_order.h"

#include "results/entry_row.h"
#include "results/folded_text.h"
#include "results/winning_check.h"

#include <algorithm>

namespace {

// Groups of the cells that hold no value, after the values.
constexpr int kUnknown = 1;   // "?" and 未確定: results still missing
constexpr int kUndecided = 2; // 金額未定
constexpr int kNone = 3;      // "-": no such grade, no tickets, refunded

constexpr int kFirstGradeColumn = 4;
constexpr int kLosingListColumn = 10;
constexpr int kWonColumn = 11;

// The key of a count cell: as grade_cell_text shows it.
RoundOrder::Key count_key(const RoundEntry &entry, int grade)
{
    RoundOrder::Key key;
    if (entry.state == kPrizeRefund || entry.tickets == 0) {
        key.group = kNone;
    } else if (grade == kLosingColumn) {
        key.value = entry.hits[6];
    } else if (!grade_exists(entry, grade)) {
        key.group = kNone;
    } else {
        key.value = entry.hits[static_cast<size_t>(grade - 1)];
        if (grade > 1 && !results_complete(entry))
            for (int better = 0; better < grade - 1; ++better)
                if (entry.hits[static_cast<size_t>(better)] != 0)
                    key = {kUnknown, 0, {}, 0};
    }
    return key;
}

// The key of 当選金額: as won_cell_text shows it.
RoundOrder::Key won_key(const RoundEntry &entry)
{
    RoundOrder::Key key;
    if (entry.tickets == 0)
        key.group = kNone;
    else if (entry.state == kPrizeRefund)
        key.value = entry.won;
    else if (entry.hits[6] == entry.tickets)
        key.value = 0;
    else if (!results_complete(entry))
        key.group = kUnknown;
    else if (entry.state == kPrizeEntered)
        key.value = entry.won;
    else
        key.group = kUndecided;
    return key;
}

// 回 by the first number written in it (either width), then by its folded text.
RoundOrder::Key label_key(const RoundEntry &entry)
{
    RoundOrder::Key key;
    bool digits = false;
    bool number_done = false;
    fold_text(entry.kai.view(), [&](uint16_t unit) {
        if (key.length < kMaxTextBytes)
            key.text[key.length++] = unit;
        const bool digit = unit >= '0' && unit <= '9';
        if (digit && !number_done) {
            digits = true;
            key.value = key.value * 10 + (unit - '0');
        } else if (digits) {
            number_done = true;
        }
    });
    key.group = digits ? 0 : 1;
    return key;
}

int menu_place(LotteryKind kind)
{
    const auto at = std::find(kMenuKindOrder.begin(), kMenuKindOrder.end(), kind);
    return static_cast<int>(at - kMenuKindOrder.begin());
}

} // namespace

RoundOrder::RoundOrder(int column, bool descending)
    : column_(column >= 0 && column < kListColumns ? column : -1), descending_(descending)
{
}

RoundOrder::Key RoundOrder::key(const RoundEntry &entry, int column)
{
    Key key;
    switch (column) {
    case 0: return label_key(entry);
    case 1: key.value = menu_place(entry.kind); return key;
    case 2: key.value = entry.tickets; return key;
    case 3: key.value = bought_amount(entry); return key;
    case kLosingListColumn: return count_key(entry, kLosingColumn);
    case kWonColumn: return won_key(entry);
    default: return count_key(entry, column - kFirstGradeColumn + 1);
    }
}

bool RoundOrder::less(const Key &a, int entry_a, const Key &b, int entry_b) const
{
    if (a.group != b.group)
        return a.group < b.group;
    if (a.value != b.value)
        return descending_ ? b.value < a.value : a.value < b.value;
    const auto *a_end = a.text + a.length;
    const auto *b_end = b.text + b.length;
    if (!std::equal(a.text, a_end, b.text, b_end))
        return descending_ ? std::lexicographical_compare(b.text, b_end, a.text, a_end)
                           : std::lexicographical_compare(a.text, a_end, b.text, b_end);
    return entry_a < entry_b;
}

void RoundOrder::sort(const TicketBook &book, std::vector<int> &entries) const
{
    if (!active()) {
        std::sort(entries.begin(), entries.end());
        return;
    }
    struct Keyed {
        Key key;
        int entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (const int e : entries)
        keyed.push_back({key(book.entries[static_cast<size_t>(e)], column_), e});
    std::sort(keyed.begin(), keyed.end(),
              [this](const Keyed &a, const Keyed &b) { return less(a.key, a.entry, b.key, b.entry); });
    for (size_t i = 0; i < keyed.size(); ++i)
        entries[i] = keyed[i].entry;
}

bool RoundOrder::before(const TicketBook &book, int a, int b) const
{
    if (!active())
        return a < b;
    return less(key(book.entries[static_cast<size_t>(a)], column_), a,
                key(book.entries[static_cast<size_t>(b)], column_), b);
}
