#include "book/book_file.h"
#include "book/book_invariants.h"
#include "book/purchase_deletion.h"
#include "support/book_builders.h"

#include <gtest/gtest.h>

namespace {

// Moves two rounds past each other as the list's move buttons do; each head follows.
void swap_rounds(TicketBook &book, int a, int b)
{
    std::swap(book.entries[a], book.entries[b]);
    for (int i : {a, b}) {
        const RoundEntry &e = book.entries[i];
        if (e.first_type != kNoPurchase)
            book.links(e.kind, e.first_type, e.first_index).prev_index = i;
    }
}

// The purchase at chain position `at` of `entry`: (type, pool index).
std::pair<int, int> purchase_at(const TicketBook &book, int entry, int at)
{
    std::pair<int, int> found{kNoPurchase, 0};
    int i = 0;
    book.for_each_purchase(entry, [&](int type, int index) {
        if (i++ == at)
            found = {type, index};
    });
    return found;
}

void delete_at(TicketBook &book, int entry, int at)
{
    const auto [type, index] = purchase_at(book, entry, at);
    if (type == kSingle)
        single_del(book, entry, index);
    else
        multi_del(book, entry, index);
}

SinglePurchase picks_from(int seed, LotteryKind kind)
{
    SinglePurchase s;
    for (int i = 0; i < slot_count(kind); ++i)
        s.picks[i] = static_cast<uint8_t>(is_match_kind(kind) ? 1 + (seed + i) % 3 : (seed * 7 + i) % 4);
    return s;
}

MultiPurchase marks_from(int seed, LotteryKind kind)
{
    MultiPurchase m;
    for (int i = 0; i < slot_count(kind); ++i) {
        m.marks[i][(seed + i) % marks_per_slot(kind)] = true;
        if ((seed + i) % 5 == 0)
            m.marks[i][(seed + i + 1) % marks_per_slot(kind)] = true;
    }
    return m;
}

// The ticket as tickets_of reports it.
template <typename Record>
Ticket as_ticket(Record r)
{
    r.link = {};
    if constexpr (std::is_same_v<Record, MultiPurchase>)
        r.marked = 0;
    return r;
}

// The rounds as the user sees them, without the pool layout.
struct ModelRound {
    BookText kai;
    LotteryKind kind;
    std::vector<Ticket> tickets;
};

::testing::AssertionResult matches_model(const TicketBook &book, const std::vector<ModelRound> &model)
{
    const Outcome ok = check_invariants(book);
    if (!ok.ok)
        return ::testing::AssertionFailure() << ok.message.toStdString();
    if (book.entry_count() != static_cast<int>(model.size()))
        return ::testing::AssertionFailure() << book.entry_count() << " rounds, model " << model.size();
    for (int i = 0; i < book.entry_count(); ++i) {
        if (!(book.entries[i].kai == model[i].kai) || book.entries[i].kind != model[i].kind)
            return ::testing::AssertionFailure() << "round " << i << " is another round";
        if (tickets_of(book, i) != model[i].tickets)
            return ::testing::AssertionFailure() << "round " << i << " has other tickets";
    }
    return ::testing::AssertionSuccess();
}

// A book with the given kinds, labelled "0", "1", ...
TicketBook rounds(std::initializer_list<LotteryKind> kinds)
{
    TicketBook book;
    int n = 0;
    for (LotteryKind k : kinds)
        EXPECT_TRUE(add_entry(book, make_entry(k, std::to_string(n++).c_str())).ok);
    return book;
}

} // namespace

TEST(PurchaseDeletion, RandomEditsKeepTheBookAndItsFile)
{
    const LotteryKind kinds[] = {LotteryKind::toto,      LotteryKind::totoGOAL,  LotteryKind::BIG,
                                 LotteryKind::minitotoA, LotteryKind::totoGOAL2, LotteryKind::BIG100};
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 rng(seed);
        auto pick = [&](int bound) { return static_cast<int>(rng() % static_cast<unsigned>(bound)); };
        TicketBook book;
        std::vector<ModelRound> model;
        int labels = 0;
        for (int step = 0; step < 1500; ++step) {
            const int op = pick(20);
            if (model.empty() || op == 0) { // a new round
                const LotteryKind kind = kinds[pick(std::size(kinds))];
                const std::string kai = std::to_string(labels++);
                ASSERT_TRUE(add_entry(book, make_entry(kind, kai.c_str())).ok);
                model.push_back({book.entries.back().kai, kind, {}});
            } else if (op < 10) { // a purchase
                const int e = pick(static_cast<int>(model.size()));
                const LotteryKind kind = model[e].kind;
                if (is_big_family(kind) || pick(2)) {
                    ASSERT_TRUE(add_single(book, e, picks_from(step, kind)).ok);
                    model[e].tickets.push_back(as_ticket(book.single_pool(kind).back()));
                } else {
                    ASSERT_TRUE(add_multi(book, e, marks_from(step, kind)).ok);
                    model[e].tickets.push_back(as_ticket(book.multi_pool(kind).back()));
                }
            } else if (op < 17) { // a ticket: head, middle or tail
                const int e = pick(static_cast<int>(model.size()));
                if (model[e].tickets.empty())
                    continue;
                const int n = static_cast<int>(model[e].tickets.size());
                const int at = op == 10 ? 0 : op == 11 ? n - 1 : pick(n);
                delete_at(book, e, at);
                model[e].tickets.erase(model[e].tickets.begin() + at);
            } else if (op < 18) { // a whole round
                const int e = pick(static_cast<int>(model.size()));
                delete_entry(book, e);
                model.erase(model.begin() + e);
            } else { // two rounds change places
                const int a = pick(static_cast<int>(model.size()));
                const int b = pick(static_cast<int>(model.size()));
                swap_rounds(book, a, b);
                std::swap(model[a], model[b]);
            }
            ASSERT_TRUE(matches_model(book, model)) << "seed " << seed << " step " << step << " op " << op;
        }
        const BookReadResult back = parse_book(serialize_book(book), QStringLiteral("x.yrm"));
        ASSERT_TRUE(back.outcome.ok) << back.outcome.message.toStdString();
        EXPECT_TRUE(matches_model(back.book, model));
        for (int i = 0; i < book.entry_count(); ++i)
            EXPECT_EQ(back.book.entries[i].tickets, book.entries[i].tickets);
    }
}

TEST(PurchaseDeletion, TicketsLeaveTheirRoundInOrder)
{
    TicketBook book = rounds({LotteryKind::toto, LotteryKind::toto});
    EXPECT_TRUE(add_single(book, 0, picks_from(1, LotteryKind::toto)).ok);
    EXPECT_TRUE(add_single(book, 1, picks_from(2, LotteryKind::toto)).ok); // round 1 interleaves the pool
    EXPECT_TRUE(add_multi(book, 0, marks_from(0, LotteryKind::toto)).ok);
    EXPECT_TRUE(add_single(book, 0, picks_from(3, LotteryKind::toto)).ok);
    EXPECT_TRUE(add_single(book, 1, picks_from(4, LotteryKind::toto)).ok);
    const std::vector<Ticket> before = tickets_of(book, 0);
    const std::vector<Ticket> other = tickets_of(book, 1);
    const int64_t combos = book.multis[0].combos;
    ASSERT_EQ(combos, 8);
    ASSERT_EQ(book.entries[0].tickets, 10);

    single_del(book, 0, 0); // the first of three; round 1's last single moves into index 0
    ASSERT_TRUE(check_invariants(book).ok);
    EXPECT_EQ(book.entries[0].tickets, 9);
    EXPECT_EQ(book.entries[0].first_type, kMulti); // the second now heads the chain
    EXPECT_EQ(tickets_of(book, 0), std::vector<Ticket>(before.begin() + 1, before.end()));
    EXPECT_EQ(tickets_of(book, 1), other);

    multi_del(book, 0, 0);
    EXPECT_EQ(book.entries[0].tickets, 1);
    EXPECT_TRUE(book.multis.empty());
    EXPECT_EQ(tickets_of(book, 0), std::vector<Ticket>(before.begin() + 2, before.end()));
    EXPECT_EQ(tickets_of(book, 1), other);
    EXPECT_TRUE(check_invariants(book).ok);
}

TEST(PurchaseDeletion, AMovedBigSingleKeepsAllFourteenPicks)
{
    TicketBook book = rounds({LotteryKind::BIG, LotteryKind::BIG});
    EXPECT_TRUE(add_single(book, 0, picks_from(0, LotteryKind::BIG)).ok);
    EXPECT_TRUE(add_single(book, 0, picks_from(1, LotteryKind::BIG)).ok);
    SinglePurchase last;
    for (int i = 0; i < 14; ++i)
        last.picks[i] = static_cast<uint8_t>(1 + (i * 5) % 3);
    EXPECT_TRUE(add_single(book, 1, last).ok);

    single_del(book, 0, 0);
    ASSERT_EQ(book.singles.size(), 2u);
    EXPECT_EQ(book.singles[0].picks, last.picks); // all 14, the 14th included
    EXPECT_EQ(book.entries[1].first_index, 0);
    EXPECT_EQ(book.singles[0].link.prev_index, 1);
    EXPECT_TRUE(check_invariants(book).ok);
}

TEST(PurchaseDeletion, RoundsOnlyLastAndMiddle)
{
    TicketBook book = rounds({LotteryKind::totoGOAL3});
    EXPECT_TRUE(add_single(book, 0, picks_from(0, LotteryKind::totoGOAL3)).ok);
    EXPECT_TRUE(add_multi(book, 0, marks_from(0, LotteryKind::totoGOAL3)).ok);
    delete_entry(book, 0);
    EXPECT_EQ(book.entry_count(), 0);
    EXPECT_TRUE(book.goal_singles.empty());
    EXPECT_TRUE(book.goal_multis.empty());
    EXPECT_TRUE(check_invariants(book).ok);

    book = rounds({LotteryKind::toto, LotteryKind::totoGOAL, LotteryKind::toto, LotteryKind::miniBIG});
    for (int e = 0; e < 4; ++e)
        for (int n = 0; n <= e; ++n)
            EXPECT_TRUE(add_single(book, e, picks_from(n, book.entries[e].kind)).ok);
    EXPECT_TRUE(add_multi(book, 2, marks_from(3, LotteryKind::toto)).ok);
    const std::vector<Ticket> third = tickets_of(book, 2);
    const std::vector<Ticket> fourth = tickets_of(book, 3);

    delete_entry(book, 1); // the middle: later rounds move down, their heads follow
    ASSERT_TRUE(check_invariants(book).ok) << check_invariants(book).message.toStdString();
    ASSERT_EQ(book.entry_count(), 3);
    EXPECT_EQ(book.entries[1].kai, BookText("2"));
    EXPECT_EQ(tickets_of(book, 1), third);
    EXPECT_EQ(tickets_of(book, 2), fourth);
    EXPECT_TRUE(book.goal_singles.empty());

    delete_entry(book, 2); // the last
    ASSERT_TRUE(check_invariants(book).ok);
    EXPECT_EQ(book.entry_count(), 2);
    EXPECT_EQ(tickets_of(book, 1), third);
    EXPECT_EQ(book.singles.size(), 4u); // 1 + 3 of the toto rounds
}

TEST(PurchaseDeletion, ALargeRoundAtTheFrontOfALargeBook)
{
    // A round of 6,000 tickets, interleaved in its pool with the tickets of 3,000 other
    // rounds, at the front of a book of 20,000 rounds.
    TicketBook book;
    for (int e = 0; e < 20000; ++e)
        EXPECT_TRUE(add_entry(book, make_entry(e % 2 ? LotteryKind::toto : LotteryKind::totoGOAL2, "1")).ok);
    for (int n = 0; n < 9000; ++n)
        EXPECT_TRUE(
            add_single(book, n % 3 ? 0 : 1 + 2 * (n % 3000), picks_from(n, book.entries[n % 3 ? 0 : 1].kind))
                .ok);
    ASSERT_TRUE(check_invariants(book).ok);
    delete_entry(book, 0);
    EXPECT_EQ(book.entry_count(), 19999);
    EXPECT_TRUE(book.goal_singles.empty());
    EXPECT_TRUE(check_invariants(book).ok);
}
