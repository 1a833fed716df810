#include "book/purchase_deletion.h"
#include "entry/purchase_review.h"
#include "support/book_builders.h"

#include <gtest/gtest.h>

namespace {

// A toto round with the 13 results home, draw, away, home, ...
TicketBook toto_with_results()
{
    TicketBook book;
    RoundEntry e = make_entry(LotteryKind::toto);
    const int cycle[3] = {kHomeWin, kDraw, kAwayWin};
    for (int i = 0; i < 13; ++i)
        e.matches[i].result = cycle[i % 3];
    EXPECT_TRUE(add_entry(book, e).ok);
    return book;
}

QString cells_of(const ReviewTicket &t, int row)
{
    QString s;
    for (int c = 0; c < 3; ++c) {
        s += QLatin1Char(t.rows[row][c].marked ? 'o' : '-');
        s += QLatin1Char(t.rows[row][c].result ? 'R' : ' ');
    }
    return s;
}

} // namespace

TEST(PurchaseReview, ItemsFollowTheChain)
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto)).ok);
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::totoGOAL)).ok);
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(13, 1))).ok);
    EXPECT_TRUE(add_single(book, 1, make_single(std::vector<int>(10, 0))).ok);
    EXPECT_TRUE(add_multi(book, 0, make_multi(std::vector<const char *>(13, "100"))).ok);
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(13, 2))).ok);

    const auto items = review_items(book, 0);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].caption, QStringLiteral("対象試合"));
    EXPECT_EQ(items[0].value, kRoundItem);
    EXPECT_EQ(items[1].caption, QStringLiteral("シングル"));
    EXPECT_EQ(items[1].value, 0);
    EXPECT_EQ(items[2].caption, QStringLiteral("マルチ"));
    EXPECT_EQ(items[2].value, 1); // 2 × 0 + 1
    EXPECT_EQ(items[3].value, 2); // 2 × 1

    const auto goal = review_items(book, 1);
    ASSERT_EQ(goal.size(), 2u);
    EXPECT_EQ(goal[0].caption, QStringLiteral("対象チーム"));

    // Pool indexes change when another purchase goes; the values follow.
    single_del(book, 0, 0);
    const auto after = review_items(book, 0);
    ASSERT_EQ(after.size(), 3u);
    EXPECT_EQ(after[1].value, 1);
    EXPECT_EQ(after[2].value, 0); // the last single moved into index 0
    EXPECT_EQ(review_items(book, 1)[0].caption, QStringLiteral("対象チーム"));
}

TEST(PurchaseReview, SingleCountsItsCorrectRows)
{
    TicketBook book = toto_with_results();
    std::vector<int> picks(13);
    const int cycle[3] = {kHomeWin, kDraw, kAwayWin};
    for (int i = 0; i < 13; ++i)
        picks[i] = cycle[i % 3];
    picks[0] = kDraw; // three wrong picks
    picks[4] = kAwayWin;
    picks[12] = kAwayWin;
    EXPECT_TRUE(add_single(book, 0, make_single(picks)).ok);

    const ReviewTicket t = review_ticket(book, 0, 0);
    EXPECT_EQ(t.type, kSingle);
    EXPECT_EQ(t.doubles, 0);
    EXPECT_EQ(t.triples, 0);
    EXPECT_EQ(t.total, 1);
    ASSERT_EQ(t.rows.size(), 13u);
    EXPECT_EQ(t.right_text(), QStringLiteral("10/13"));
    // Cells in the order 勝, 分, 負: row 0 was a home win, picked as a draw.
    EXPECT_EQ(cells_of(t, 0), QStringLiteral("-Ro - "));
    EXPECT_EQ(cells_of(t, 1), QStringLiteral("- oR- "));
    EXPECT_EQ(cells_of(t, 2), QStringLiteral("- - oR"));
}

TEST(PurchaseReview, MultiRowsAndCancelledMatches)
{
    TicketBook book = toto_with_results();
    book.entries[0].matches[3].result = kCancelled;
    book.entries[0].matches[6].result = kResultNone;
    std::vector<const char *> marks(13, "001"); // away only: right on rows 2, 5, 8, 11
    marks[0] = "111";                           // a triple covers a home win
    marks[1] = "110";                           // a double covers the draw of row 1
    marks[3] = "001";                           // cancelled: every marked row is right
    EXPECT_TRUE(add_multi(book, 0, make_multi(marks)).ok);

    const ReviewTicket t = review_ticket(book, 0, 1);
    EXPECT_EQ(t.type, kMulti);
    EXPECT_EQ(t.doubles, 1);
    EXPECT_EQ(t.triples, 1);
    EXPECT_EQ(t.total, 6);
    EXPECT_EQ(cells_of(t, 3), QStringLiteral("-R-RoR")); // cancelled: all result cells
    EXPECT_EQ(cells_of(t, 6), QStringLiteral("- - o ")); // not entered: no result cell
    // Right: 0, 1, 2, 3 (cancelled), 5, 8, 11.
    EXPECT_EQ(t.correct, 7);
    EXPECT_EQ(t.right_text(), QStringLiteral("7/13"));
}

TEST(PurchaseReview, GoalCellsNameGoalCounts)
{
    TicketBook book;
    RoundEntry e = make_entry(LotteryKind::totoGOAL2);
    e.teams[0].score = 1;               // no goal
    e.teams[1].score = 4;               // three or more
    e.teams[2].score = kScoreCancelled; // cancelled
    EXPECT_TRUE(add_entry(book, e).ok);
    EXPECT_TRUE(add_single(book, 0, make_single({0, 2, 1, 3})).ok);
    const ReviewTicket t = review_ticket(book, 0, 0);
    ASSERT_EQ(t.rows.size(), 4u);
    EXPECT_TRUE(t.rows[0][0].result && t.rows[0][0].marked);
    EXPECT_TRUE(t.rows[1][3].result && !t.rows[1][3].marked);
    EXPECT_TRUE(t.rows[1][2].marked && !t.rows[1][2].result);
    for (int c = 0; c < 4; ++c)
        EXPECT_TRUE(t.rows[2][c].result);
    EXPECT_FALSE(t.rows[3][3].result);
    EXPECT_EQ(t.right_text(), QStringLiteral("2/4"));
}
