#include "results/book_stats.h"

#include "results/winning_check.h"

#include <array>

namespace {

// Division rounding towards minus infinity, so that halves round up for either sign.
StatsInt floor_div(StatsInt a, StatsInt b)
{
    StatsInt q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

} // namespace

StatsInt entry_won(const RoundEntry &entry)
{
    return entry.won;
}

void add_round(KindStats &stats, const RoundEntry &entry)
{
    stats.rounds += 1;
    stats.tickets += entry.tickets;
    stats.bought += StatsInt{entry.tickets} * unit_price(entry.kind);
    stats.won += entry_won(entry);
    // A round without tickets keeps stale counters; a refund voids the grading.
    if (entry.tickets != 0 && entry.state != kPrizeRefund && results_complete(entry)) {
        stats.settled_tickets += entry.tickets;
        for (size_t g = 0; g < 6; ++g)
            stats.winning_tickets += entry.hits[g];
    }
}

BookStats book_stats(const TicketBook &book)
{
    std::array<KindStats, kKindCount> per_kind{};
    BookStats result;
    for (const RoundEntry &entry : book.entries) {
        add_round(per_kind[static_cast<size_t>(kind_code(entry.kind))], entry);
        add_round(result.total, entry);
    }
    for (int code = 0; code < kKindCount; ++code) {
        const KindStats &stats = per_kind[static_cast<size_t>(code)];
        if (stats.rounds != 0)
            result.kinds.push_back({kind_from_code(code), stats});
    }
    return result;
}

std::vector<RoundBalance> round_balances(const TicketBook &book, std::optional<LotteryKind> kind)
{
    std::vector<RoundBalance> rounds;
    StatsInt running = 0;
    for (int i = 0; i < book.entry_count(); ++i) {
        const RoundEntry &entry = book.entries[static_cast<size_t>(i)];
        if (kind && entry.kind != *kind)
            continue;
        RoundBalance r;
        r.entry = i;
        r.bought = StatsInt{entry.tickets} * unit_price(entry.kind);
        r.won = entry_won(entry);
        r.balance = r.won - r.bought;
        running += r.balance;
        r.cumulative = running;
        rounds.push_back(r);
    }
    return rounds;
}

QString percent_text(StatsInt numerator, StatsInt denominator)
{
    if (denominator == 0)
        return QStringLiteral("-");
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    // Tenths of a percent: numerator * 1000 / denominator, plus one half, rounded down.
    const StatsInt tenths = floor_div(numerator * 2000 + denominator, denominator * 2);
    const bool negative = tenths < 0;
    const StatsInt magnitude = negative ? -tenths : tenths;
    return (negative ? QStringLiteral("-") : QString()) + integer_text(magnitude / 10) + QLatin1Char('.') +
           integer_text(magnitude % 10);
}

QString return_rate_text(const KindStats &stats)
{
    return percent_text(stats.won, stats.bought);
}

QString hit_rate_text(const KindStats &stats)
{
    return percent_text(stats.winning_tickets, stats.settled_tickets);
}

QString yen_text(StatsInt value)
{
    return format_yen(value);
}
