#pragma once

#include "book/message_text.h" // kai_caption, for the chart's and the prints' names of rounds
#include "book/ticket_book.h"
#include "results/winning_check.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Exact integer for counts and yen summed over a book: a single round's winnings can
// already pass 64 bits, so sums are kept in 128 bits and never wrap.
using StatsInt = WideInt;

// What a set of rounds bought and won, from the winning check's figures.
struct KindStats {
    StatsInt rounds = 0;          // 回数
    StatsInt tickets = 0;         // 購入口数
    StatsInt bought = 0;          // 購入金額
    StatsInt settled_tickets = 0; // 確定口数: tickets of rounds with every result, not refunded
    StatsInt winning_tickets = 0; // 当選口数: their 1等..6等 tickets
    StatsInt won = 0;             // 当選金額, refunds included

    StatsInt balance() const { return won - bought; } // 収支

    bool operator==(const KindStats &) const = default;
};

struct KindStatsRow {
    LotteryKind kind;
    KindStats stats;
};

struct BookStats {
    std::vector<KindStatsRow> kinds; // the kinds present, in the order of the 新規登録 menu
    KindStats total;
};

// What the round counts into the book's 当選金額 total ("金額未定" and "未確定" count 0).
StatsInt entry_won(const RoundEntry &entry);

// Adds one round to `stats`.
void add_round(KindStats &stats, const RoundEntry &entry);
// Per kind present and in total.
BookStats book_stats(const TicketBook &book);

// One round's 収支 and the running 収支 of the rounds before it and itself.
struct RoundBalance {
    int entry = 0; // index in the book
    StatsInt bought = 0;
    StatsInt won = 0;
    StatsInt balance = 0;
    StatsInt cumulative = 0;
};
// The rounds in list order, all of them or those of one kind.
std::vector<RoundBalance> round_balances(const TicketBook &book, std::optional<LotteryKind> kind);

// numerator / denominator in percent, rounded to a tenth with halves up ("85.3"); "-" when
// the denominator is 0.
QString percent_text(StatsInt numerator, StatsInt denominator);
// 回収率 and 的中率.
QString return_rate_text(const KindStats &stats);
QString hit_rate_text(const KindStats &stats);

// The columns of the statistics table, the same in the window and in yorimo-cli stats.
inline constexpr int kStatsColumns = 10;
inline constexpr int kStatsBalanceColumn = 7; // 収支
// "種別", "回数", "購入口数", … "的中率".
QString stats_heading(int column);
QStringList stats_headings();

// How figures are written: plain digits and "85.3" for scripts, or as the window shows
// them, "#,0" and "3,412,500.0%".
enum class StatsNumbers { plain, grouped };
// The ten cells of one row: `name` in the 種別 column, then the figures.
QStringList stats_row_texts(const QString &name, const KindStats &stats, StatsNumbers numbers);
// A rate of percent_text, grouped: "1,234.5%" ("-" stays "-").
QString grouped_percent_text(StatsInt numerator, StatsInt denominator);

// "#,0" (thousands separated by commas, minus sign when negative); plain digits are
// integer_text.
QString yen_text(StatsInt value);
