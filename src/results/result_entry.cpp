#include "results/result_entry.h"

#include "results/winning_check.h"

#include <algorithm>

namespace {

constexpr int64_t kSaturated = int64_t{1} << 60;

} // namespace

int result_rows(LotteryKind kind)
{
    return slot_count(kind);
}

std::vector<int> separators_after(LotteryKind kind)
{
    switch (kind) {
    case LotteryKind::toto: return {3, 6, 9};
    case LotteryKind::minitotoA:
    case LotteryKind::minitotoB:
    case LotteryKind::toto5: return {2};
    case LotteryKind::BIG:
    case LotteryKind::BIG100: return {5, 10};
    case LotteryKind::BIG1000: return {4, 8};
    case LotteryKind::miniBIG: return {3, 6};
    case LotteryKind::totoGOAL: return {2, 4, 6, 8};
    case LotteryKind::totoGOAL3: return {2, 4};
    case LotteryKind::totoGOAL2: return {2};
    }
    return {};
}

bool prize_row_shown(const RoundEntry &entry, int grade)
{
    return grade <= prize_count(family_of(entry.kind)) && grade_exists(entry, grade);
}

int64_t prize_max(LotteryKind kind)
{
    constexpr int64_t kUncapped = 500'000'000;
    const int64_t cap = prize_cap(kind);
    return cap > 0 ? cap : kUncapped;
}

int refund_threshold(LotteryKind kind)
{
    switch (kind) {
    case LotteryKind::minitotoA:
    case LotteryKind::minitotoB:
    case LotteryKind::toto5: return 2;
    case LotteryKind::BIG1000:
    case LotteryKind::miniBIG: return 3;
    default: return 4;
    }
}

PrizePhase prize_phase(LotteryKind kind, int rows, RowCounts counts)
{
    // Goal rounds are void once fewer than four teams are left to score.
    const bool refund =
        is_match_kind(kind) ? counts.stopped > refund_threshold(kind) : rows - counts.stopped < 4;
    if (refund)
        return PrizePhase::refund_forced;
    if (counts.stopped + counts.decided == rows)
        return PrizePhase::complete;
    return PrizePhase::incomplete;
}

int64_t read_amount(const QString &text)
{
    int64_t amount = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char(','))
            continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return 0;
        const int digit = c.unicode() - '0';
        amount = amount > (kSaturated - digit) / 10 ? kSaturated : amount * 10 + digit;
    }
    return amount;
}

bool is_numeric_text(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool digits = false;
    for (const QChar c : trimmed) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits = true;
        else if (c != QLatin1Char(','))
            return false;
    }
    return digits;
}

bool digit_accepted(int64_t amount, int digit, int64_t max)
{
    // digit <= max first: for max < digit the quotient below is negative and rounds
    // towards zero, which would let an amount of 0 take the digit.
    return digit >= 0 && digit <= 9 && digit <= max && amount <= (max - digit) / 10;
}

QString normalized_amount_text(const QString &text, int64_t max)
{
    return format_yen(std::min(read_amount(text), max));
}

void store_results(RoundEntry &entry, const ResultInput &input)
{
    if (is_match_kind(entry.kind)) {
        for (int i = 0; i < kMaxMatchSlots; ++i)
            entry.matches[static_cast<size_t>(i)].result = input.codes[static_cast<size_t>(i)];
    } else {
        for (int i = 0; i < kMaxTeamSlots; ++i)
            entry.teams[static_cast<size_t>(i)].score = input.codes[static_cast<size_t>(i)];
    }
    entry.state = input.state;
    if (input.state != kPrizeEntered)
        return; // 未定 and 払戻 keep the amounts entered before
    const int64_t max = prize_max(entry.kind);
    for (int g = 0; g < prize_count(family_of(entry.kind)); ++g)
        entry.prizes[static_cast<size_t>(g)] =
            std::clamp<int64_t>(input.amounts[static_cast<size_t>(g)], 0, max);
}
