#include "book/book_invariants.h"
#include "support/book_builders.h"

#include <gtest/gtest.h>

namespace {

// Two toto rounds and a totoGOAL round with a few purchases each.
TicketBook small_book()
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto, "1")).ok);
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::totoGOAL, "2")).ok);
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto, "3")).ok);
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(13, 1))).ok);
    EXPECT_TRUE(add_multi(book, 2, make_multi(std::vector<const char *>(13, "110"))).ok);
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(13, 3))).ok);
    EXPECT_TRUE(add_single(book, 1, make_single(std::vector<int>(10, 2))).ok);
    EXPECT_TRUE(add_multi(book, 1, make_multi(std::vector<const char *>(10, "1001"))).ok);
    return book;
}

void expect_broken(const TicketBook &book, const char *words)
{
    const Outcome o = check_invariants(book);
    EXPECT_FALSE(o.ok);
    EXPECT_TRUE(o.message.contains(QLatin1String(words))) << o.message.toStdString();
}

} // namespace

TEST(BookInvariants, HoldForBuiltAndRandomBooks)
{
    EXPECT_TRUE(check_invariants(TicketBook{}).ok);
    EXPECT_TRUE(check_invariants(small_book()).ok);
    std::mt19937 rng(7);
    for (int round = 0; round < 20; ++round) {
        const TicketBook book = random_book(rng, 1 + round, 10 * round);
        const Outcome o = check_invariants(book);
        EXPECT_TRUE(o.ok) << o.message.toStdString();
    }
}

TEST(BookInvariants, NameTheBrokenLinkRule)
{
    TicketBook book = small_book();
    book.singles[0].link.prev_index = 2; // the head of round 0 claims round 2
    expect_broken(book, "does not point back");

    book = small_book();
    book.singles[1].link.prev_index = 5;
    expect_broken(book, "wrong previous link");

    book = small_book();
    book.singles[0].link.next_index = 9; // beyond the pool
    expect_broken(book, "outside its pool");

    book = small_book();
    book.singles[1].link.next_type = kSingle; // back to the head: a cycle
    book.singles[1].link.next_index = 0;
    expect_broken(book, "reached twice");

    book = small_book();
    book.entries[2].first_type = kSingle; // two rounds share one chain
    book.entries[2].first_index = 0;
    expect_broken(book, "reached twice");

    book = small_book();
    book.singles[0].link.next_type = 7;
    expect_broken(book, "type 7");
}

TEST(BookInvariants, NameTheBrokenCountRule)
{
    TicketBook book = small_book();
    book.entries[0].tickets = 3;
    expect_broken(book, "tickets 3");

    book = small_book();
    book.goal_multis[0].combos = 3; // its marks make 1024
    expect_broken(book, "counts differ");

    book = small_book();
    book.singles.push_back(make_single({1})); // in no chain: the pool has a stray record
    expect_broken(book, "singles[2] belongs to no chain");

    book = small_book();
    book.goal_singles.clear(); // the chain points at a record that is gone
    expect_broken(book, "outside its pool");
}

TEST(BookInvariants, RefuseAMultiOnASingleOnlyRound)
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::BIG)).ok);
    MultiPurchase m = make_multi(std::vector<const char *>(14, "100"));
    count_multi(m, LotteryKind::BIG);
    book.multis.push_back(m); // add_multi refuses it, so place it by hand
    link_purchase(book, 0, kMulti, 0);
    book.entries[0].tickets = 1;
    expect_broken(book, "multi on a single-only round");
}
