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
    for (const LotteryKind kind : kMenuKindOrder) {
        const KindStats &stats = per_kind[static_cast<size_t>(kind_code(kind))];
        if (stats.rounds != 0)
            result.kinds.push_back({kind, stats});
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

namespace {

const std::array<const char16_t *, kStatsColumns> kStatsHeadings = {
    u"種別",     u"回数",     u"購入口数", u"購入金額", u"確定口数",
    u"当選口数", u"当選金額", u"収支",     u"回収率",   u"的中率",
};

} // namespace

QString stats_heading(int column)
{
    return QString::fromUtf16(kStatsHeadings[static_cast<size_t>(column)]);
}

QStringList stats_headings()
{
    QStringList headings;
    for (int c = 0; c < kStatsColumns; ++c)
        headings << stats_heading(c);
    return headings;
}

QString grouped_percent_text(StatsInt numerator, StatsInt denominator)
{
    const QString plain = percent_text(numerator, denominator);
    if (denominator == 0)
        return plain;
    // "-1234.5": group the digits before the point.
    const qsizetype point = plain.indexOf(QLatin1Char('.'));
    QString digits = plain.left(point);
    const qsizetype first = digits.startsWith(QLatin1Char('-')) ? 1 : 0;
    for (qsizetype at = digits.size() - 3; at > first; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits + plain.mid(point) + QLatin1Char('%');
}

QStringList stats_row_texts(const QString &name, const KindStats &s, StatsNumbers numbers)
{
    const bool grouped = numbers == StatsNumbers::grouped;
    const auto figure = [grouped](StatsInt value) {
        return grouped ? format_yen(value) : integer_text(value);
    };
    const auto rate = [grouped](StatsInt numerator, StatsInt denominator) {
        return grouped ? grouped_percent_text(numerator, denominator) : percent_text(numerator, denominator);
    };
    return {name,
            figure(s.rounds),
            figure(s.tickets),
            figure(s.bought),
            figure(s.settled_tickets),
            figure(s.winning_tickets),
            figure(s.won),
            figure(s.balance()),
            rate(s.won, s.bought),
            rate(s.winning_tickets, s.settled_tickets)};
}

QString yen_text(StatsInt value)
{
    return format_yen(value);
}
