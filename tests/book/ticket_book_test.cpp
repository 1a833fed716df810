#include "book/ticket_book.h"
#include "results/winning_check.h"
#include "support/book_builders.h"

#include <gtest/gtest.h>

TEST(KindTable, CodesNamesAndPrices)
{
    EXPECT_EQ(kind_display_name(LotteryKind::BIG100), QStringLiteral("100円BIG"));
    EXPECT_EQ(kind_display_name(LotteryKind::miniBIG), QStringLiteral("mini BIG"));
    EXPECT_EQ(kind_csv_code(LotteryKind::BIG100), QStringLiteral("1B"));
    EXPECT_EQ(kind_csv_code(LotteryKind::totoGOAL3), QStringLiteral("G3"));
    EXPECT_EQ(unit_price(LotteryKind::BIG), 300);
    EXPECT_EQ(unit_price(LotteryKind::miniBIG), 200);
    EXPECT_EQ(unit_price(LotteryKind::BIG100), 100);
    EXPECT_EQ(slot_count(LotteryKind::totoGOAL2), 4);
    EXPECT_EQ(slot_count(LotteryKind::BIG1000), 11);
    int match_kinds = 0;
    int big_family = 0;
    for (int code = 0; code < kKindCount; ++code) {
        match_kinds += is_match_kind(kind_from_code(code));
        big_family += is_big_family(kind_from_code(code));
    }
    EXPECT_EQ(match_kinds, 8);
    EXPECT_EQ(big_family, 4);
    EXPECT_FALSE(is_match_kind(static_cast<LotteryKind>(11)));
}

TEST(KindTable, GradeCountFollowsOptionalGrades)
{
    RoundEntry big = make_entry(LotteryKind::BIG);
    EXPECT_EQ(grade_count(big), 4);
    big.has_grade6 = true;
    EXPECT_EQ(grade_count(big), 6);
    EXPECT_FALSE(grade_exists(big, 5));
    RoundEntry toto = make_entry(LotteryKind::toto);
    EXPECT_EQ(grade_count(toto), 2);
    toto.has_grade3 = true;
    EXPECT_EQ(grade_count(toto), 3);
    EXPECT_EQ(grade_count(make_entry(LotteryKind::totoGOAL2)), 1);
    EXPECT_EQ(grade_count(make_entry(LotteryKind::totoGOAL3)), 2);
    EXPECT_EQ(grade_count(make_entry(LotteryKind::BIG100)), 5);
    EXPECT_EQ(grade_count(make_entry(LotteryKind::miniBIG)), 3);
}

TEST(LinkPurchase, FirstPurchaseHeadsTheChainAndPointsBackToTheEntry)
{
    TicketBook book;
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto)).ok);
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto)).ok);
    ASSERT_TRUE(add_single(book, 1, make_single(std::vector<int>(13, 1))).ok);
    EXPECT_EQ(book.entries[1].first_type, kSingle);
    EXPECT_EQ(book.entries[1].first_index, 0);
    EXPECT_EQ(book.singles[0].link.prev_type, kNoPurchase);
    EXPECT_EQ(book.singles[0].link.prev_index, 1);

    ASSERT_TRUE(add_multi(book, 1, make_multi(std::vector<const char *>(13, "110"))).ok);
    EXPECT_EQ(book.singles[0].link.next_type, kMulti);
    EXPECT_EQ(book.singles[0].link.next_index, 0);
    EXPECT_EQ(book.multis[0].link.prev_type, kSingle);
    EXPECT_EQ(book.multis[0].link.prev_index, 0);
    EXPECT_EQ(book.multis[0].link.next_type, kNoPurchase);
    EXPECT_EQ(book.entries[1].tickets, 1 + 8192);
    EXPECT_TRUE(chains_consistent(book));
}

TEST(LinkPurchase, GoalRoundsUseTheGoalPools)
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto)).ok);
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::totoGOAL3)).ok);
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(13, 1))).ok);
    EXPECT_TRUE(add_single(book, 1, make_single({0, 1, 2, 3, 0, 1})).ok);
    EXPECT_TRUE(add_single(book, 1, make_single({3, 3, 3, 3, 3, 3})).ok);
    EXPECT_EQ(book.singles.size(), 1u);
    EXPECT_EQ(book.goal_singles.size(), 2u);
    EXPECT_EQ(book.entries[1].first_index, 0);
    EXPECT_EQ(book.goal_singles[0].link.next_index, 1);
    EXPECT_TRUE(chains_consistent(book));
}

TEST(MultiCount, DoublesTriplesAndCombos)
{
    MultiPurchase m = make_multi({"110", "111", "100", "010", "001"});
    count_multi(m, LotteryKind::minitotoA);
    EXPECT_EQ(m.doubles, 1);
    EXPECT_EQ(m.triples, 1);
    EXPECT_EQ(m.combos, 6);
    EXPECT_EQ(m.marked, 5);

    // Thirteen triples stand for more tickets than 16 bits hold.
    MultiPurchase all = make_multi(std::vector<const char *>(13, "111"));
    count_multi(all, LotteryKind::toto);
    EXPECT_EQ(all.combos, 1594323);

    // Slots beyond the kind's count are not counted.
    MultiPurchase goal = make_multi({"1100", "1110", "1000", "0100", "1100", "1100"});
    count_multi(goal, LotteryKind::totoGOAL2);
    EXPECT_EQ(goal.doubles, 1);
    EXPECT_EQ(goal.triples, 1);
    EXPECT_EQ(goal.combos, 6);
}

TEST(BookLimits, EntriesAndPoolsStopAtTheSixteenBitLimit)
{
    TicketBook book;
    book.entries.resize(kMaxRecords - 1);
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto5)).ok);
    const Outcome refused = add_entry(book, make_entry(LotteryKind::toto5));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, QStringLiteral("メモリが足りません。"));
    EXPECT_EQ(book.entry_count(), kMaxRecords);

    book.goal_multis.resize(kMaxRecords);
    book.entries[0] = make_entry(LotteryKind::totoGOAL);
    const Outcome full = add_multi(book, 0, make_multi(std::vector<const char *>(10, "1000")));
    EXPECT_FALSE(full.ok);
    EXPECT_EQ(full.message, QStringLiteral("メモリが足りません。"));
    EXPECT_EQ(book.goal_multis.size(), static_cast<size_t>(kMaxRecords));
    EXPECT_EQ(book.entries[0].first_type, kNoPurchase);
    EXPECT_EQ(book.entries[0].tickets, 0);
}

TEST(BookLimits, BigFamilyRoundsTakeNoMulti)
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::BIG1000)).ok);
    EXPECT_FALSE(add_multi(book, 0, make_multi(std::vector<const char *>(11, "100"))).ok);
    EXPECT_TRUE(book.multis.empty());
    EXPECT_EQ(book.entries[0].first_type, kNoPurchase);
}

TEST(BookText, HoldsAtMostTenBytesAndNeverHalfACharacter)
{
    EXPECT_EQ(BookText("1234567890").size(), 10);
    EXPECT_EQ(BookText("12345678901").bytes(), QByteArray("1234567890"));
    // Nine bytes and a double-byte character: the character does not fit and is dropped whole.
    const QByteArray straddling = QByteArray("123456789") + sjis("川");
    EXPECT_EQ(BookText(straddling).bytes(), QByteArray("123456789"));
    EXPECT_EQ(BookText(sjis("川崎フロンタ")).text(), QStringLiteral("川崎フロン"));
    EXPECT_TRUE(BookText().empty());
    EXPECT_EQ(BookText("ab"), BookText(QByteArray("ab")));
    EXPECT_FALSE(BookText("ab") == BookText("abc"));
}
