#include "book/swap_entries.h"
#include "support/book_builders.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// toto entry 0 with a multi first and a single after it, an empty BIG entry 1, a
// totoGOAL entry 2 with one single.
TicketBook three_entries()
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto, "1")).ok);
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::BIG, "2")).ok);
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::totoGOAL, "3")).ok);
    MultiPurchase m = make_multi(
        {"110", "100", "100", "100", "100", "100", "100", "100", "100", "100", "100", "100", "100"});
    count_multi(m, LotteryKind::toto);
    EXPECT_TRUE(add_multi(book, 0, m).ok);
    EXPECT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1})).ok);
    EXPECT_TRUE(add_single(book, 2, make_single({0, 1, 2, 3, 0, 1, 2, 3, 0, 1})).ok);
    return book;
}

} // namespace

TEST(SwapEntries, HeadsFollowTheirEntries)
{
    TicketBook book = three_entries();
    const auto first = tickets_of(book, 0);
    swap_entries(book, 0, 1);
    EXPECT_EQ(book.entries[0].kai.bytes(), QByteArray("2"));
    EXPECT_EQ(book.entries[1].kai.bytes(), QByteArray("1"));
    // The multi at the head of the toto chain now names entry 1; the rest of the chain is untouched.
    EXPECT_EQ(book.multis[0].link.prev_type, kNoPurchase);
    EXPECT_EQ(book.multis[0].link.prev_index, 1);
    EXPECT_EQ(book.singles[0].link.prev_type, kMulti);
    EXPECT_EQ(book.singles[0].link.prev_index, 0);
    EXPECT_EQ(tickets_of(book, 1), first);
    EXPECT_TRUE(chains_consistent(book));

    swap_entries(book, 1, 2);
    EXPECT_EQ(book.multis[0].link.prev_index, 2);
    EXPECT_EQ(book.goal_singles[0].link.prev_index, 1);
    EXPECT_TRUE(chains_consistent(book));
}

TEST(SwapEntries, SwappingTwiceRestoresTheBook)
{
    const TicketBook original = three_entries();
    TicketBook book = original;
    swap_entries(book, 0, 2);
    swap_entries(book, 0, 2);
    EXPECT_EQ(book.entries, original.entries);
    EXPECT_EQ(book.singles, original.singles);
    EXPECT_EQ(book.multis, original.multis);
    EXPECT_EQ(book.goal_singles, original.goal_singles);
}

TEST(SwapEntries, RandomNeighboursKeepEveryChainIntact)
{
    std::mt19937 rng(7);
    TicketBook book = random_book(rng, 40, 300);
    std::vector<std::vector<Ticket>> before;
    for (int i = 0; i < book.entry_count(); ++i)
        before.push_back(tickets_of(book, i));
    std::vector<int> order(static_cast<size_t>(book.entry_count()));
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::uniform_int_distribution<int> pick(0, book.entry_count() - 2);
    for (int step = 0; step < 500; ++step) {
        const int c = pick(rng);
        swap_entries(book, c, c + 1);
        std::swap(order[static_cast<size_t>(c)], order[static_cast<size_t>(c) + 1]);
    }
    ASSERT_TRUE(chains_consistent(book));
    for (int i = 0; i < book.entry_count(); ++i)
        EXPECT_EQ(tickets_of(book, i), before[static_cast<size_t>(order[static_cast<size_t>(i)])]) << i;
}
