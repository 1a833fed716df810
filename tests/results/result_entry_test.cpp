#include "book/book_file.h"
#include "results/result_entry.h"
#include "support/book_builders.h"

#include <gtest/gtest.h>

namespace {

const LotteryKind kAllKinds[] = {LotteryKind::toto,      LotteryKind::totoGOAL,  LotteryKind::minitotoA,
                                 LotteryKind::minitotoB, LotteryKind::totoGOAL3, LotteryKind::totoGOAL2,
                                 LotteryKind::toto5,     LotteryKind::BIG,       LotteryKind::BIG1000,
                                 LotteryKind::miniBIG,   LotteryKind::BIG100};

std::vector<int> shown_prize_rows(const RoundEntry &e)
{
    std::vector<int> rows;
    for (int g = 1; g <= 6; ++g)
        if (prize_row_shown(e, g))
            rows.push_back(g);
    return rows;
}

} // namespace

TEST(ResultEntry, LayoutPerKind)
{
    EXPECT_EQ(result_rows(LotteryKind::toto), 13);
    EXPECT_EQ(result_rows(LotteryKind::BIG1000), 11);
    EXPECT_EQ(result_rows(LotteryKind::totoGOAL3), 6);
    EXPECT_EQ(separators_after(LotteryKind::toto), (std::vector<int>{3, 6, 9}));
    EXPECT_EQ(separators_after(LotteryKind::toto5), (std::vector<int>{2}));
    EXPECT_EQ(separators_after(LotteryKind::BIG100), (std::vector<int>{5, 10}));
    EXPECT_EQ(separators_after(LotteryKind::BIG1000), (std::vector<int>{4, 8}));
    EXPECT_EQ(separators_after(LotteryKind::miniBIG), (std::vector<int>{3, 6}));
    EXPECT_EQ(separators_after(LotteryKind::totoGOAL), (std::vector<int>{2, 4, 6, 8}));
    EXPECT_EQ(separators_after(LotteryKind::totoGOAL3), (std::vector<int>{2, 4}));
    EXPECT_EQ(separators_after(LotteryKind::totoGOAL2), (std::vector<int>{2}));
    for (LotteryKind k : kAllKinds)
        for (int s : separators_after(k))
            EXPECT_LT(s, result_rows(k));

    RoundEntry big = make_entry(LotteryKind::BIG);
    big.has_grade5 = true;
    EXPECT_EQ(shown_prize_rows(big), (std::vector<int>{1, 2, 3, 4, 5}));
    big.has_grade5 = false;
    big.has_grade6 = true;
    EXPECT_EQ(shown_prize_rows(big), (std::vector<int>{1, 2, 3, 4, 6}));
    RoundEntry toto = make_entry(LotteryKind::toto);
    EXPECT_EQ(shown_prize_rows(toto), (std::vector<int>{1, 2}));
    toto.has_grade3 = true;
    EXPECT_EQ(shown_prize_rows(toto), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(shown_prize_rows(make_entry(LotteryKind::miniBIG)), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(shown_prize_rows(make_entry(LotteryKind::BIG100)), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(shown_prize_rows(make_entry(LotteryKind::totoGOAL)), (std::vector<int>{1, 2}));
    EXPECT_EQ(shown_prize_rows(make_entry(LotteryKind::totoGOAL2)), (std::vector<int>{1}));
}

TEST(ResultEntry, PrizeLimitsStayWithinWhatTheBookStores)
{
    EXPECT_EQ(prize_max(LotteryKind::toto), 500'000'000);
    EXPECT_EQ(prize_max(LotteryKind::minitotoB), 500'000'000);
    EXPECT_EQ(prize_max(LotteryKind::BIG), 1'500'000'000);
    EXPECT_EQ(prize_max(LotteryKind::BIG1000), 1'000'000'000);
    EXPECT_EQ(prize_max(LotteryKind::miniBIG), 1'000'000'000);
    EXPECT_EQ(prize_max(LotteryKind::BIG100), 500'000'000);
    EXPECT_EQ(prize_max(LotteryKind::totoGOAL2), 500'000'000);
    for (LotteryKind k : kAllKinds) {
        if (prize_cap(k) != 0) {
            EXPECT_LE(prize_max(k), prize_cap(k)) << kind_code(k);
        }
        EXPECT_LE(prize_max(k), 0x7FFFFFFF);

        // The largest amounts the dialog can store are written and read back.
        TicketBook book;
        RoundEntry e = make_entry(k);
        e.has_grade3 = k == LotteryKind::toto;
        e.has_grade5 = e.has_grade6 = k == LotteryKind::BIG;
        ResultInput input;
        input.state = kPrizeEntered;
        input.amounts.fill(prize_max(k));
        store_results(e, input);
        EXPECT_TRUE(add_entry(book, e).ok);
        const BookReadResult back = parse_book(serialize_book(book), QStringLiteral("x.yrm"));
        ASSERT_TRUE(back.outcome.ok) << kind_code(k) << back.outcome.message.toStdString();
        EXPECT_EQ(back.book.entries[0].prizes[0], prize_max(k));
    }
}

TEST(ResultEntry, RefundAndCompletePhases)
{
    EXPECT_EQ(refund_threshold(LotteryKind::toto), 4);
    EXPECT_EQ(refund_threshold(LotteryKind::toto5), 2);
    EXPECT_EQ(refund_threshold(LotteryKind::BIG), 4);
    EXPECT_EQ(refund_threshold(LotteryKind::BIG1000), 3);
    EXPECT_EQ(refund_threshold(LotteryKind::miniBIG), 3);
    EXPECT_EQ(refund_threshold(LotteryKind::BIG100), 4);

    using P = PrizePhase;
    EXPECT_EQ(prize_phase(LotteryKind::toto, 13, {5, 0}), P::refund_forced);
    EXPECT_EQ(prize_phase(LotteryKind::toto, 13, {4, 8}), P::incomplete);
    EXPECT_EQ(prize_phase(LotteryKind::toto, 13, {4, 9}), P::complete);
    EXPECT_EQ(prize_phase(LotteryKind::minitotoA, 5, {3, 2}), P::refund_forced);
    EXPECT_EQ(prize_phase(LotteryKind::minitotoA, 5, {2, 3}), P::complete);
    EXPECT_EQ(prize_phase(LotteryKind::BIG100, 14, {0, 13}), P::incomplete);
    EXPECT_EQ(prize_phase(LotteryKind::BIG100, 14, {0, 14}), P::complete);
    EXPECT_EQ(prize_phase(LotteryKind::BIG100, 14, {5, 9}), P::refund_forced);
    EXPECT_EQ(prize_phase(LotteryKind::miniBIG, 9, {4, 0}), P::refund_forced);
    // Goal kinds: a round needs four teams that are not cancelled.
    EXPECT_EQ(prize_phase(LotteryKind::totoGOAL2, 4, {1, 3}), P::refund_forced);
    EXPECT_EQ(prize_phase(LotteryKind::totoGOAL2, 4, {0, 4}), P::complete);
    EXPECT_EQ(prize_phase(LotteryKind::totoGOAL2, 4, {0, 0}), P::incomplete);
    EXPECT_EQ(prize_phase(LotteryKind::totoGOAL3, 6, {2, 4}), P::complete);
    EXPECT_EQ(prize_phase(LotteryKind::totoGOAL3, 6, {3, 0}), P::refund_forced);
    EXPECT_EQ(prize_phase(LotteryKind::totoGOAL, 10, {6, 4}), P::complete);
    EXPECT_EQ(prize_phase(LotteryKind::totoGOAL, 10, {7, 3}), P::refund_forced);
}

TEST(ResultEntry, AmountTexts)
{
    EXPECT_EQ(read_amount(QStringLiteral("1,234,567")), 1234567);
    EXPECT_EQ(read_amount(QString()), 0);
    EXPECT_EQ(read_amount(QStringLiteral("12a")), 0);
    EXPECT_EQ(read_amount(QStringLiteral("-5")), 0);
    EXPECT_GT(read_amount(QStringLiteral("99999999999999999999999999999")), 1'500'000'000); // saturates

    EXPECT_TRUE(is_numeric_text(QStringLiteral("9876543210")));
    EXPECT_TRUE(is_numeric_text(QStringLiteral(" 1,000 \n")));
    EXPECT_FALSE(is_numeric_text(QStringLiteral(",")));
    EXPECT_FALSE(is_numeric_text(QString()));
    EXPECT_FALSE(is_numeric_text(QStringLiteral("1.5")));
    EXPECT_FALSE(is_numeric_text(QStringLiteral("-1")));
    EXPECT_FALSE(is_numeric_text(QStringLiteral("1e9")));

    EXPECT_TRUE(digit_accepted(150'000'000, 0, 1'500'000'000));
    EXPECT_FALSE(digit_accepted(150'000'000, 1, 1'500'000'000));
    EXPECT_TRUE(digit_accepted(50'000'000, 0, 500'000'000));
    EXPECT_FALSE(digit_accepted(500'000'000, 0, 500'000'000));
    EXPECT_TRUE(digit_accepted(0, 9, 500'000'000));
    EXPECT_FALSE(digit_accepted(0, 5, 3));
    EXPECT_TRUE(digit_accepted(0, 3, 3));

    EXPECT_EQ(normalized_amount_text(QString(), 500'000'000), QStringLiteral("0"));
    EXPECT_EQ(normalized_amount_text(QStringLiteral("01234"), 500'000'000), QStringLiteral("1,234"));
    EXPECT_EQ(normalized_amount_text(QStringLiteral("9876543210"), 500'000'000),
              QStringLiteral("500,000,000"));
    EXPECT_EQ(normalized_amount_text(QStringLiteral("1,5,0,0"), 500'000'000), QStringLiteral("1,500"));
}

TEST(ResultEntry, OkStoresSlotsStateAndAmounts)
{
    RoundEntry e = make_entry(LotteryKind::BIG1000);
    e.matches[12].result = kDraw; // a slot the kind does not use
    e.prizes = {1, 2, 3, 4, 5, 6};
    ResultInput input;
    for (int i = 0; i < 11; ++i)
        input.codes[i] = 1 + i % 4;
    input.state = kPrizeUndecided;
    input.amounts = {10, 20, 30, 40, 50, 60};
    store_results(e, input);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(e.matches[i].result, 1 + i % 4);
    EXPECT_EQ(e.matches[12].result, 0);
    EXPECT_EQ(e.state, kPrizeUndecided);
    EXPECT_EQ(e.prizes, (std::array<int64_t, 6>{1, 2, 3, 4, 5, 6})); // 未定 keeps them

    input.state = kPrizeRefund;
    store_results(e, input);
    EXPECT_EQ(e.state, kPrizeRefund);
    EXPECT_EQ(e.prizes[0], 1);

    input.state = kPrizeEntered;
    input.amounts[1] = 5'000'000'000; // never beyond the limit
    store_results(e, input);
    EXPECT_EQ(e.prizes, (std::array<int64_t, 6>{10, 1'000'000'000, 30, 40, 50, 60}));

    RoundEntry goal = make_entry(LotteryKind::totoGOAL);
    goal.prizes = {1, 2, 3, 4, 5, 6};
    ResultInput g;
    for (int i = 0; i < 10; ++i)
        g.codes[i] = i % 6;
    g.codes[12] = 3; // beyond the team rows: ignored
    g.state = kPrizeEntered;
    g.amounts = {100, 200, 300, 400, 500, 600};
    store_results(goal, g);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(goal.teams[i].score, i % 6);
    EXPECT_EQ(goal.prizes, (std::array<int64_t, 6>{100, 200, 3, 4, 5, 6}));
    for (const MatchSlot &m : goal.matches)
        EXPECT_EQ(m.result, 0);
}
