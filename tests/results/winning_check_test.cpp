#include "results/entry_row.h"
#include "results/winning_check.h"
#include "support/book_builders.h"

#include <gtest/gtest.h>

namespace {

// A book holding one round of `kind` with every result set to `result`.
TicketBook one_round(LotteryKind kind, int result)
{
    TicketBook book;
    RoundEntry e = make_entry(kind);
    for (int s = 0; s < slot_count(kind); ++s)
        (is_match_kind(kind) ? e.matches[s].result : e.teams[s].score) = result;
    EXPECT_TRUE(add_entry(book, e).ok);
    return book;
}

QStringList count_columns(const RoundEntry &e)
{
    QStringList texts;
    for (int g = 1; g <= 6; ++g)
        texts << grade_cell_text(e, g);
    texts << grade_cell_text(e, kLosingColumn) << won_cell_text(e);
    return texts;
}

} // namespace

TEST(WinningCheck, WorkedExampleOfATotoMulti)
{
    TicketBook book = one_round(LotteryKind::toto, kHomeWin);
    book.entries[0].has_grade3 = true;
    std::vector<const char *> marks(13, "100");
    marks[0] = "110"; // covering doubles
    marks[5] = "101";
    marks[9] = "111"; // covering triple
    EXPECT_TRUE(add_multi(book, 0, make_multi(marks)).ok);
    result_chk(book, 0);
    const RoundEntry &e = book.entries[0];
    EXPECT_EQ(e.tickets, 12);
    EXPECT_EQ(e.hits, (std::array<int64_t, 7>{1, 4, 5, 0, 0, 0, 2}));
    EXPECT_EQ(won_cell_text(e), QStringLiteral("金額未定"));
}

TEST(WinningCheck, EntryWithoutTicketsShowsDashesAndAddsNothing)
{
    TicketBook book = one_round(LotteryKind::BIG, kHomeWin);
    book.entries[0].state = kPrizeEntered;
    book.entries[0].prizes[0] = 1000;
    result_chk(book, 0);
    EXPECT_EQ(count_columns(book.entries[0]), QStringList(8, QStringLiteral("-")));
    const BookTotals totals = book_totals(book);
    EXPECT_EQ(totals.bought, 0);
    EXPECT_EQ(totals.won, 0);
}

TEST(WinningCheck, RefundPaysTheStakeBackAndKeepsTheCounters)
{
    TicketBook book = one_round(LotteryKind::BIG, kHomeWin);
    for (int i = 0; i < 7; ++i)
        EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(14, 1))).ok);
    result_chk(book, 0);
    ASSERT_EQ(book.entries[0].hits[0], 7);
    book.entries[0].state = kPrizeRefund;
    result_chk(book, 0);
    const RoundEntry &e = book.entries[0];
    EXPECT_EQ(e.hits[0], 7) << "a refunded round keeps its previous counters";
    EXPECT_EQ(e.won, 2100);
    EXPECT_EQ(count_columns(e), (QStringList(7, QStringLiteral("-")) << QStringLiteral("2,100")));
    EXPECT_EQ(book_totals(book).balance, 0);
}

TEST(WinningCheck, EveryMatchCancelledIsATopGradeHit)
{
    TicketBook book = one_round(LotteryKind::toto, kCancelled);
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(13, 2))).ok);
    result_chk(book, 0);
    EXPECT_EQ(book.entries[0].hits[0], 1);
    EXPECT_TRUE(results_complete(book.entries[0]));
}

TEST(WinningCheck, PendingResultsShowQuestionMarksBelowABestCaseHit)
{
    TicketBook book = one_round(LotteryKind::BIG, kResultNone);
    book.entries[0].has_grade6 = true;
    book.entries[0].matches[0].result = kHomeWin;
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(14, 1))).ok);
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(14, 2))).ok);
    result_chk(book, 0);
    EXPECT_EQ(count_columns(book.entries[0]),
              (QStringList{QStringLiteral("1"), QStringLiteral("?"), QStringLiteral("?"), QStringLiteral("?"),
                           QStringLiteral("-"), QStringLiteral("?"), QStringLiteral("0"),
                           QStringLiteral("未確定")}));
}

TEST(WinningCheck, CountsShowWhileNoBetterGradeIsPending)
{
    TicketBook book = one_round(LotteryKind::toto, kResultNone);
    book.entries[0].has_grade3 = true;
    book.entries[0].matches[0].result = kHomeWin;
    EXPECT_TRUE(
        add_single(book, 0, make_single(std::vector<int>(13, 2))).ok); // one miss so far: best case 2等
    result_chk(book, 0);
    EXPECT_EQ(count_columns(book.entries[0]).mid(0, 3),
              (QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("?")}));
}

TEST(WinningCheck, AllTicketsLostShowsZeroWhileResultsAreMissing)
{
    TicketBook book = one_round(LotteryKind::minitotoA, kResultNone);
    book.entries[0].matches[0].result = kDraw;
    EXPECT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 1})).ok);
    EXPECT_TRUE(
        add_multi(book, 0, make_multi({"101", "111", "100", "100", "100"})).ok); // 6 tickets, all miss slot 0
    result_chk(book, 0);
    EXPECT_EQ(book.entries[0].hits[6], 7);
    EXPECT_EQ(won_cell_text(book.entries[0]), QStringLiteral("0"));
}

TEST(WinningCheck, AmountsFollowTheStateOnceResultsAreComplete)
{
    TicketBook book = one_round(LotteryKind::toto, kHomeWin);
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(13, 1))).ok);
    std::vector<int> one_wrong(13, 1);
    one_wrong[4] = 3;
    EXPECT_TRUE(add_single(book, 0, make_single(one_wrong)).ok);
    result_chk(book, 0);
    EXPECT_EQ(won_cell_text(book.entries[0]), QStringLiteral("金額未定"));
    book.entries[0].state = kPrizeEntered;
    book.entries[0].prizes[0] = 123'456'789;
    book.entries[0].prizes[1] = 1'000'000;
    result_chk(book, 0);
    EXPECT_EQ(book.entries[0].won, 124'456'789);
    EXPECT_EQ(won_cell_text(book.entries[0]), QStringLiteral("124,456,789"));
    EXPECT_EQ(grade_cell_text(book.entries[0], 3), QStringLiteral("-")) << "no 3等 without the flag";
}

TEST(WinningCheck, RoundWithMissingResultsAddsNothingToTheWonTotals)
{
    // Prizes entered, a ticket on course for 1等, but one result still missing.
    TicketBook book = one_round(LotteryKind::toto, kHomeWin);
    book.entries[0].matches[12].result = kResultNone;
    book.entries[0].state = kPrizeEntered;
    book.entries[0].has_grade3 = true;
    book.entries[0].prizes = {1000, 100, 10, 0, 0, 0};
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(13, 1))).ok);
    std::vector<int> one_wrong(13, 1);
    one_wrong[0] = 2;
    EXPECT_TRUE(add_single(book, 0, make_single(one_wrong)).ok);
    RoundEntry complete = make_entry(LotteryKind::toto);
    for (MatchSlot &m : complete.matches)
        m.result = kHomeWin;
    complete.state = kPrizeEntered;
    complete.prizes[0] = 500;
    EXPECT_TRUE(add_entry(book, complete).ok);
    EXPECT_TRUE(add_single(book, 1, make_single(std::vector<int>(13, 1))).ok);
    for (int i = 0; i < book.entry_count(); ++i)
        result_chk(book, i);
    EXPECT_EQ(book.entries[0].won, 0);
    EXPECT_EQ(won_cell_text(book.entries[0]), QStringLiteral("未確定"));
    const BookTotals totals = book_totals(book);
    EXPECT_EQ(totals.won, 500);
    EXPECT_EQ(totals.bought, 300);
}

TEST(WinningCheck, GoalKindsGradeByWrongScores)
{
    for (LotteryKind kind : {LotteryKind::totoGOAL, LotteryKind::totoGOAL2}) {
        TicketBook book = one_round(kind, 2); // every team scored once
        std::vector<int> picks(slot_count(kind), 1);
        picks[1] = 3;
        EXPECT_TRUE(add_single(book, 0, make_single(picks)).ok);
        result_chk(book, 0);
        const int expected_slot = kind == LotteryKind::totoGOAL ? 1 : 6;
        EXPECT_EQ(book.entries[0].hits[expected_slot], 1) << kind_display_name(kind).toStdString();
    }
}

TEST(WinningCheck, BigGradeFollowsTheExactNumberOfMisses)
{
    TicketBook book = one_round(LotteryKind::BIG, kDraw);
    book.entries[0].has_grade6 = true; // no 5等
    std::vector<int> four_wrong(14, 3);
    for (int s = 0; s < 4; ++s)
        four_wrong[s] = 1;
    std::vector<int> five_wrong = four_wrong;
    five_wrong[4] = 2;
    EXPECT_TRUE(add_single(book, 0, make_single(four_wrong)).ok);
    EXPECT_TRUE(add_single(book, 0, make_single(five_wrong)).ok);
    result_chk(book, 0);
    EXPECT_EQ(book.entries[0].hits, (std::array<int64_t, 7>{0, 0, 0, 0, 0, 1, 1}));
}

TEST(WinningCheck, MiniTotoMultiWithAMissedSlotLosesEveryCombination)
{
    TicketBook book = one_round(LotteryKind::minitotoA, kAwayWin);
    EXPECT_TRUE(add_multi(book, 0, make_multi({"110", "111", "001", "001", "011"})).ok);
    result_chk(book, 0);
    EXPECT_EQ(book.entries[0].hits, (std::array<int64_t, 7>{0, 0, 0, 0, 0, 0, 12}));
}

TEST(WinningCheck, WonAmountsAndTotalsPastSixtyFourBitsStayExact)
{
    // 12,000 multis of 3^13 tickets at 1等 500,000,000 win more than 2^63 yen per round.
    const TicketBook book = all_cancelled_toto_book(2, 12000, 500'000'000);
    const RoundEntry &e = book.entries[0];
    EXPECT_EQ(e.hits[0], int64_t{12000} * 1594323);
    EXPECT_EQ(bought_amount(e), int64_t{12000} * 1594323 * 100);
    EXPECT_EQ(entry_column_text(e, 11), QStringLiteral("9,565,938,000,000,000,000"));
    const BookTotals t = book_totals(book);
    EXPECT_EQ(format_yen(t.won), QStringLiteral("19,131,876,000,000,000,000"));
    EXPECT_EQ(format_yen(t.balance), QStringLiteral("19,131,872,173,624,800,000"));
}

// A round's hits are the sum of what each of its purchases adds, graded alone: the grade
// each ticket prints with is the one the round counts.
TEST(WinningCheck, PurchaseHitsAddUpToTheRoundsHits)
{
    std::mt19937 rng(31);
    const TicketBook book = random_book(rng, 60, 600);
    int graded = 0;
    for (int e = 0; e < book.entry_count(); ++e) {
        const RoundEntry &entry = book.entries[static_cast<size_t>(e)];
        if (entry.state == kPrizeRefund || entry.tickets == 0)
            continue; // their hits are not counted anew
        std::array<int64_t, 7> sum{};
        book.for_each_purchase(e, [&](int type, int index) {
            const auto hits =
                type == kSingle
                    ? purchase_hits(entry, book.single_pool(entry.kind)[static_cast<size_t>(index)])
                    : purchase_hits(entry, book.multi_pool(entry.kind)[static_cast<size_t>(index)]);
            for (size_t g = 0; g < sum.size(); ++g)
                sum[g] += hits[g];
        });
        EXPECT_EQ(sum, entry.hits) << "entry " << e;
        ++graded;
    }
    EXPECT_GT(graded, 10);
}

TEST(BookTotals, BalanceIsWonLessBought)
{
    TicketBook book = one_round(LotteryKind::BIG, kHomeWin);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(14, 2))).ok);
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::BIG1000)).ok);
    EXPECT_TRUE(add_single(book, 1, make_single(std::vector<int>(11, 1))).ok);
    for (int i = 0; i < book.entry_count(); ++i)
        result_chk(book, i);
    const BookTotals t = book_totals(book);
    EXPECT_EQ(t.bought, 1700);
    EXPECT_EQ(t.won, 0);
    EXPECT_EQ(t.balance, -1700);
    EXPECT_EQ(format_yen(t.balance), QStringLiteral("-1,700"));
}

TEST(FormatYen, ThousandsSeparators)
{
    EXPECT_EQ(format_yen(0), QStringLiteral("0"));
    EXPECT_EQ(format_yen(999), QStringLiteral("999"));
    EXPECT_EQ(format_yen(1000), QStringLiteral("1,000"));
    EXPECT_EQ(format_yen(-999999), QStringLiteral("-999,999"));
    EXPECT_EQ(format_yen(1500000000), QStringLiteral("1,500,000,000"));
    EXPECT_EQ(format_yen(INT64_MIN), QStringLiteral("-9,223,372,036,854,775,808"));
    EXPECT_EQ(format_yen(-(WideInt{1} << 100)), QStringLiteral("-1,267,650,600,228,229,401,496,703,205,376"));
}

TEST(EntryRow, TwelveColumnsFromTheStoredFields)
{
    TicketBook book = one_round(LotteryKind::BIG100, kHomeWin);
    book.entries[0].kai = sjis("第１回");
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(14, 1))).ok);
    book.entries[0].state = kPrizeEntered;
    book.entries[0].prizes[0] = 2'000'000;
    result_chk(book, 0);
    const auto row = entry_row_texts(book.entries[0]);
    EXPECT_EQ(QStringList(row.begin(), row.end()),
              (QStringList{QStringLiteral("第１回"), QStringLiteral("100円BIG"), QStringLiteral("3"),
                           QStringLiteral("300"), QStringLiteral("3"), QStringLiteral("0"),
                           QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("-"),
                           QStringLiteral("0"), QStringLiteral("6,000,000")}));
}
