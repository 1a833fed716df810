#include "results/book_stats.h"
#include "results/winning_check.h"
#include "support/book_builders.h"
#include "support/document_helpers.h"

#include <gtest/gtest.h>
#include <limits>
#include <tuple>
#include <vector>

namespace {

struct RoundSpec {
    LotteryKind kind;
    int state = kPrizeEntered;
    bool complete = true;
    int winners = 0; // single tickets right on every slot
    int losers = 0;  // single tickets wrong on every slot
    int64_t prize1 = 0;
};

// Appends and grades a round whose decided slots are all "home win" (or "0 goals").
void add_round_to(TicketBook &book, const RoundSpec &wanted)
{
    const bool match = is_match_kind(wanted.kind);
    RoundEntry e = make_entry(wanted.kind);
    for (int s = 0; s < slot_count(wanted.kind); ++s)
        (match ? e.matches[s].result : e.teams[s].score) = (s == 0 && !wanted.complete) ? 0 : 1;
    e.state = wanted.state;
    e.prizes[0] = wanted.prize1;
    EXPECT_TRUE(add_entry(book, e).ok);
    const int index = book.entry_count() - 1;
    const std::vector<int> right(static_cast<size_t>(slot_count(wanted.kind)), match ? kHomeWin : 0);
    const std::vector<int> wrong(static_cast<size_t>(slot_count(wanted.kind)), match ? kAwayWin : 1);
    for (int i = 0; i < wanted.winners; ++i)
        EXPECT_TRUE(add_single(book, index, make_single(right)).ok);
    for (int i = 0; i < wanted.losers; ++i)
        EXPECT_TRUE(add_single(book, index, make_single(wrong)).ok);
    result_chk(book, index);
}

TicketBook book_of(const std::vector<RoundSpec> &specs)
{
    TicketBook book;
    for (const RoundSpec &wanted : specs)
        add_round_to(book, wanted);
    return book;
}

KindStats stats_of(int64_t rounds, int64_t tickets, int64_t bought, int64_t settled, int64_t winning,
                   int64_t won)
{
    return KindStats{rounds, tickets, bought, settled, winning, won};
}

} // namespace

struct StatsCase {
    const char *name;
    RoundSpec round;
    KindStats expected;
    const char *return_rate;
    const char *hit_rate;
};

class OneRoundStats : public ::testing::TestWithParam<StatsCase> {};

TEST_P(OneRoundStats, CountsAsTheListShowsIt)
{
    const StatsCase &c = GetParam();
    const BookStats stats = book_stats(book_of({c.round}));
    ASSERT_EQ(stats.kinds.size(), 1u);
    EXPECT_EQ(stats.kinds[0].kind, c.round.kind);
    EXPECT_EQ(stats.kinds[0].stats, c.expected);
    EXPECT_EQ(stats.total, c.expected);
    EXPECT_EQ(return_rate_text(stats.total), QString::fromUtf8(c.return_rate));
    EXPECT_EQ(hit_rate_text(stats.total), QString::fromUtf8(c.hit_rate));
}

INSTANTIATE_TEST_SUITE_P(BookStats, OneRoundStats,
                         ::testing::Values(
                             // 2 winners at 1,000 yen, 1 loser: 300 bought, 2,000 won.
                             StatsCase{"entered",
                                       {LotteryKind::toto, kPrizeEntered, true, 2, 1, 1000},
                                       stats_of(1, 3, 300, 3, 2, 2000),
                                       "666.7",
                                       "66.7"},
                             // The stake comes back; a refunded round is not settled.
                             StatsCase{"refund",
                                       {LotteryKind::BIG, kPrizeRefund, true, 2, 1, 1000},
                                       stats_of(1, 3, 900, 0, 0, 900),
                                       "100.0",
                                       "-"},
                             // Prize amounts not known yet: settled, winning, but nothing won so far.
                             StatsCase{"undecided",
                                       {LotteryKind::totoGOAL, kPrizeUndecided, true, 1, 3, 0},
                                       stats_of(1, 4, 400, 4, 1, 0),
                                       "0.0",
                                       "25.0"},
                             // A result missing: best-case winners are not counted, nothing won.
                             StatsCase{"incomplete",
                                       {LotteryKind::miniBIG, kPrizeEntered, false, 2, 0, 1000},
                                       stats_of(1, 2, 400, 0, 0, 0),
                                       "0.0",
                                       "-"},
                             // Every ticket lost while results are missing: still not settled.
                             StatsCase{"lost early",
                                       {LotteryKind::toto5, kPrizeEntered, false, 0, 2, 1000},
                                       stats_of(1, 2, 200, 0, 0, 0),
                                       "0.0",
                                       "-"},
                             // Won beyond 2^31: 10 × 500,000,000.
                             StatsCase{"large",
                                       {LotteryKind::toto, kPrizeEntered, true, 10, 0, 500'000'000},
                                       stats_of(1, 10, 1000, 10, 10, 5'000'000'000),
                                       "500000000.0",
                                       "100.0"},
                             StatsCase{"no tickets",
                                       {LotteryKind::BIG100, kPrizeEntered, true, 0, 0, 1000},
                                       stats_of(1, 0, 0, 0, 0, 0),
                                       "-",
                                       "-"}),
                         [](const auto &info) {
                             std::string name = info.param.name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST(BookStats, EveryKindInMenuOrderAndTheTotalAddsUp)
{
    std::vector<RoundSpec> specs;
    for (int code = kKindCount - 1; code >= 0; --code) // registered in reverse
        specs.push_back({kind_from_code(code), kPrizeEntered, true, 1, code, 100 * (code + 1)});
    specs.push_back({LotteryKind::toto, kPrizeUndecided, true, 1, 0, 0}); // a second toto round
    const TicketBook book = book_of(specs);
    const BookStats stats = book_stats(book);
    ASSERT_EQ(stats.kinds.size(), static_cast<size_t>(kKindCount));
    EXPECT_EQ(stats.kinds[1].kind, LotteryKind::minitotoA);
    EXPECT_EQ(stats.kinds[4].kind, LotteryKind::totoGOAL);
    EXPECT_EQ(stats.kinds[8].kind, LotteryKind::BIG100);
    KindStats sum;
    for (int at = 0; at < kKindCount; ++at) {
        const KindStatsRow &row = stats.kinds[static_cast<size_t>(at)];
        EXPECT_EQ(row.kind, kMenuKindOrder[static_cast<size_t>(at)]);
        const int code = kind_code(row.kind);
        const int rounds = code == 0 ? 2 : 1;
        EXPECT_EQ(row.stats.rounds, rounds);
        EXPECT_EQ(row.stats.tickets, rounds + code);
        EXPECT_EQ(row.stats.bought, StatsInt{rounds + code} * unit_price(row.kind));
        EXPECT_EQ(row.stats.winning_tickets, rounds);
        EXPECT_EQ(row.stats.won, 100 * (code + 1));
        sum.rounds += row.stats.rounds;
        sum.tickets += row.stats.tickets;
        sum.bought += row.stats.bought;
        sum.settled_tickets += row.stats.settled_tickets;
        sum.winning_tickets += row.stats.winning_tickets;
        sum.won += row.stats.won;
    }
    EXPECT_EQ(stats.total, sum);
    const BookTotals totals = book_totals(book);
    EXPECT_EQ(stats.total.bought, totals.bought);
    EXPECT_EQ(stats.total.won, totals.won);
    EXPECT_EQ(stats.total.balance(), totals.balance);
}

TEST(BookStats, SumsPastSixtyFourBitsStayExact)
{
    TicketBook book = book_of(
        {{LotteryKind::BIG, kPrizeEntered, true, 1, 0, 1}, {LotteryKind::BIG, kPrizeEntered, true, 1, 0, 1}});
    for (size_t e = 0; e < book.entries.size(); ++e)
        book.entries[e].won = std::numeric_limits<int64_t>::max();
    const KindStats total = book_stats(book).total;
    EXPECT_EQ(yen_text(total.won), QStringLiteral("18,446,744,073,709,551,614"));
    EXPECT_EQ(integer_text(total.balance()), QStringLiteral("18446744073709551014"));
    EXPECT_EQ(yen_text(-total.won), QStringLiteral("-18,446,744,073,709,551,614"));
    EXPECT_EQ(yen_text(-1234567), QStringLiteral("-1,234,567"));
}

struct RateCase {
    int64_t numerator;
    int64_t denominator;
    const char *text;
};

class PercentText : public ::testing::TestWithParam<RateCase> {};

TEST_P(PercentText, RoundsToTheNearestTenthHalvesUp)
{
    const RateCase &c = GetParam();
    EXPECT_EQ(percent_text(c.numerator, c.denominator), QString::fromUtf8(c.text))
        << c.numerator << " / " << c.denominator;
}

INSTANTIATE_TEST_SUITE_P(
    BookStats, PercentText,
    ::testing::Values(RateCase{853, 1000, "85.3"}, RateCase{8525, 10000, "85.3"},
                      RateCase{8524, 10000, "85.2"}, RateCase{1, 2000, "0.1"}, RateCase{1, 2001, "0.0"},
                      RateCase{2, 3, "66.7"}, RateCase{1, 3, "33.3"}, RateCase{0, 7, "0.0"},
                      RateCase{3, 1, "300.0"}, RateCase{5, 0, "-"}, RateCase{0, 0, "-"},
                      RateCase{-1, 2000, "0.0"}, RateCase{-3, 2000, "-0.1"},
                      RateCase{std::numeric_limits<int64_t>::max(), 1, "922337203685477580700.0"}));

TEST(BookStats, RoundBalancesRunInListOrderPerKind)
{
    const TicketBook book = book_of({{LotteryKind::toto, kPrizeEntered, true, 1, 1, 1000},  // +800
                                     {LotteryKind::BIG, kPrizeEntered, true, 0, 2, 1000},   // -600
                                     {LotteryKind::toto, kPrizeUndecided, true, 0, 3, 0}}); // -300
    const auto all = round_balances(book, std::nullopt);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].balance, 800);
    EXPECT_EQ(all[1].balance, -600);
    EXPECT_EQ(all[1].bought, 600);
    EXPECT_EQ(all[2].cumulative, -100);
    const auto toto = round_balances(book, LotteryKind::toto);
    ASSERT_EQ(toto.size(), 2u);
    EXPECT_EQ(toto[1].entry, 2);
    EXPECT_EQ(toto[1].cumulative, 500);
    EXPECT_TRUE(round_balances(book, LotteryKind::toto5).empty());
}

// The table's texts as the window (grouped) and yorimo-cli (plain) write them.
TEST(BookStats, RowTextsPlainAndGrouped)
{
    EXPECT_EQ(stats_headings().join(u' '),
              QStringLiteral("種別 回数 購入口数 購入金額 確定口数 当選口数 当選金額 収支 回収率 的中率"));
    EXPECT_EQ(stats_heading(kStatsBalanceColumn), QStringLiteral("収支"));
    const KindStats big = stats_of(1234, 56789, 5'678'900, 4000, 3, 987'654'321'000);
    EXPECT_EQ(stats_row_texts(QStringLiteral("BIG"), big, StatsNumbers::grouped).join(u'|'),
              QStringLiteral(
                  "BIG|1,234|56,789|5,678,900|4,000|3|987,654,321,000|987,648,642,100|17,391,648.4%|0.1%"));
    EXPECT_EQ(stats_row_texts(QStringLiteral("BIG"), big, StatsNumbers::plain).join(u'|'),
              QStringLiteral("BIG|1234|56789|5678900|4000|3|987654321000|987648642100|17391648.4|0.1"));
    const KindStats lost = stats_of(1, 12345, 1'234'500, 0, 0, 0);
    EXPECT_EQ(stats_row_texts(QStringLiteral("toto"), lost, StatsNumbers::grouped).join(u'|'),
              QStringLiteral("toto|1|12,345|1,234,500|0|0|0|-1,234,500|0.0%|-"));
    EXPECT_EQ(grouped_percent_text(-1234567, 1000), QStringLiteral("-123,456.7%"));
    EXPECT_EQ(grouped_percent_text(-1, 100), QStringLiteral("-1.0%"));
    EXPECT_EQ(grouped_percent_text(9999, 1000), QStringLiteral("999.9%"));

    EXPECT_EQ(kai_caption(QStringLiteral("1612")), QStringLiteral("第1612回"));
    EXPECT_EQ(kai_caption(QStringLiteral("1612回")), QStringLiteral("第1612回"));
    EXPECT_EQ(kai_caption(QStringLiteral("第1612回")), QStringLiteral("第1612回"));
    // Only a number is wrapped: one already written with 第 or 回 is completed, never doubled,
    // and a label that is no number is left as it is.
    const std::vector<std::tuple<const char *, const char *, bool>> labels = {
        {"１２３", "第１２３回", true},
        {"第１２３回", "第１２３回", false},
        {"１２３回", "第１２３回", false},
        {"第1612", "第1612回", true},
        {"0123", "第0123回", true},
        {"GW特別", "GW特別", false},
        {"1501%1", "1501%1", false},
        {"第回", "第回", false},
        {"", "", false},
    };
    for (const auto &[kai, caption, mark] : labels) {
        EXPECT_EQ(kai_caption(QString::fromUtf8(kai)), QString::fromUtf8(caption)) << kai;
        EXPECT_EQ(kai_takes_round_mark(QString::fromUtf8(kai)), mark) << kai;
    }
}
