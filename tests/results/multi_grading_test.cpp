#include "results/winning_check.h"
#include "support/book_builders.h"
#include "support/brute_force_grader.h"

#include <gtest/gtest.h>

namespace {

int random_int(std::mt19937 &rng, int lo, int hi)
{
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// A round with random results: decided, open and cancelled slots mixed, sometimes all open.
RoundEntry random_round(std::mt19937 &rng, LotteryKind kind)
{
    RoundEntry e = make_entry(kind);
    e.has_grade3 = random_int(rng, 0, 1);
    e.has_grade5 = kind == LotteryKind::BIG && random_int(rng, 0, 1);
    e.has_grade6 = kind == LotteryKind::BIG && random_int(rng, 0, 1);
    const int open_share = random_int(rng, 0, 3);
    for (int s = 0; s < slot_count(kind); ++s) {
        const bool open = random_int(rng, 0, 3) < open_share;
        const int decided = is_match_kind(kind) ? random_int(rng, 1, 4) : random_int(rng, 1, 5);
        (is_match_kind(kind) ? e.matches[s].result : e.teams[s].score) = open ? 0 : decided;
    }
    return e;
}

// Picks that hit the slot's result most of the time, so every grade gets exercised.
MultiPurchase random_multi(std::mt19937 &rng, const RoundEntry &e)
{
    MultiPurchase m;
    const int width = marks_per_slot(e.kind);
    for (int s = 0; s < slot_count(e.kind); ++s) {
        const int marks = random_int(rng, 0, 1) ? 1 : random_int(rng, 2, 3);
        const int start = random_int(rng, 0, width - 1);
        for (int k = 0; k < marks; ++k)
            m.marks[s][(start + k) % width] = true;
    }
    return m;
}

SinglePurchase random_single(std::mt19937 &rng, const RoundEntry &e)
{
    SinglePurchase p;
    for (int s = 0; s < slot_count(e.kind); ++s) {
        const int r = e.slot_result(s);
        const bool copy_result = random_int(rng, 0, 4) != 0;
        if (is_match_kind(e.kind))
            p.picks[s] = static_cast<uint8_t>(copy_result && r >= 1 && r <= 3 ? r : random_int(rng, 1, 3));
        else
            p.picks[s] =
                static_cast<uint8_t>(copy_result && r >= 1 && r <= 4 ? r - 1 : random_int(rng, 0, 3));
    }
    return p;
}

// Lowers the number of misses of a multi by marking the result on most decided slots.
void lean_towards_results(std::mt19937 &rng, const RoundEntry &e, MultiPurchase &m)
{
    for (int s = 0; s < slot_count(e.kind); ++s) {
        const int r = e.slot_result(s);
        if (random_int(rng, 0, 5) == 0)
            continue;
        if (is_match_kind(e.kind) && r >= 1 && r <= 3)
            m.marks[s][r == kHomeWin ? 0 : r == kDraw ? 1 : 2] = true;
        else if (!is_match_kind(e.kind) && r >= 1 && r <= 4)
            m.marks[s][r - 1] = true;
    }
    // Keep within three marks per goal slot, as the dialogs do.
    for (int s = 0; s < slot_count(e.kind); ++s)
        if (m.marks[s][0] && m.marks[s][1] && m.marks[s][2] && m.marks[s][3])
            m.marks[s][random_int(rng, 0, 3)] = false;
}

} // namespace

TEST(MultiGrading, ClosedFormulasAgreeWithListingEveryCombination)
{
    std::mt19937 rng(20261207);
    const LotteryKind kinds[] = {LotteryKind::toto,     LotteryKind::minitotoA, LotteryKind::minitotoB,
                                 LotteryKind::toto5,    LotteryKind::totoGOAL,  LotteryKind::totoGOAL3,
                                 LotteryKind::totoGOAL2};
    int rounds = 0;
    for (int trial = 0; trial < 600; ++trial) {
        const LotteryKind kind = kinds[trial % std::size(kinds)];
        TicketBook book;
        EXPECT_TRUE(add_entry(book, random_round(rng, kind)).ok);
        const RoundEntry &e = book.entries[0];
        Hits expected{};
        for (int t = random_int(rng, 1, 4); t > 0; --t) {
            MultiPurchase m = random_multi(rng, e);
            lean_towards_results(rng, e, m);
            count_multi(m, kind);
            if (m.combos > 20000) // keep the listing quick; toto triples are covered below
                continue;
            ASSERT_TRUE(add_multi(book, 0, m).ok);
            brute_add_multi(e, m, expected);
        }
        for (int t = random_int(rng, 0, 3); t > 0; --t) {
            const SinglePurchase p = random_single(rng, e);
            EXPECT_TRUE(add_single(book, 0, p).ok);
            brute_add_single(e, p, expected);
        }
        if (book.entries[0].tickets == 0)
            continue;
        result_chk(book, 0);
        ++rounds;
        ASSERT_EQ(book.entries[0].hits, expected)
            << "trial " << trial << " kind " << kind_display_name(kind).toStdString();
    }
    EXPECT_GT(rounds, 500);
}

TEST(MultiGrading, SinglesOfEveryKindAgreeWithTheGradeTable)
{
    std::mt19937 rng(7);
    for (int trial = 0; trial < 2000; ++trial) {
        const LotteryKind kind = kind_from_code(trial % kKindCount);
        TicketBook book;
        EXPECT_TRUE(add_entry(book, random_round(rng, kind)).ok);
        Hits expected{};
        for (int t = 0; t < 5; ++t) {
            const SinglePurchase p = random_single(rng, book.entries[0]);
            EXPECT_TRUE(add_single(book, 0, p).ok);
            brute_add_single(book.entries[0], p, expected);
        }
        result_chk(book, 0);
        ASSERT_EQ(book.entries[0].hits, expected) << "trial " << trial;
    }
}

TEST(MultiGrading, EveryGradeIsReachedByTheRandomRounds)
{
    // Guards the two tests above against generating only losing tickets.
    std::mt19937 rng(20261207);
    Hits seen{};
    for (int trial = 0; trial < 300; ++trial) {
        TicketBook book;
        RoundEntry e = random_round(rng, LotteryKind::toto);
        e.has_grade3 = true;
        EXPECT_TRUE(add_entry(book, e).ok);
        MultiPurchase m = random_multi(rng, e);
        lean_towards_results(rng, e, m);
        EXPECT_TRUE(add_multi(book, 0, m).ok);
        result_chk(book, 0);
        for (int g = 0; g < 7; ++g)
            seen[g] += book.entries[0].hits[g];
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
    EXPECT_GT(seen[2], 0);
    EXPECT_GT(seen[6], 0);
}
