#include "results/live_counts.h"
#include "results/winning_check.h"
#include "support/book_builders.h"
#include "support/brute_force_grader.h"

#include <gtest/gtest.h>

namespace {

int random_int(std::mt19937 &rng, int lo, int hi)
{
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

int cancelled_code(LotteryKind kind)
{
    return is_match_kind(kind) ? kCancelled : kScoreCancelled;
}

// A round of `kind` whose slots are decided (by a hidden outcome per slot, which the
// tickets mostly pick, so every grade is reached), cancelled or still open.
struct RandomRound {
    RoundEntry entry;
    std::array<int, kMaxSlots> truth{}; // an outcome per slot
};

RandomRound random_round(std::mt19937 &rng, LotteryKind kind)
{
    RandomRound r{make_entry(kind), {}};
    RoundEntry &e = r.entry;
    e.has_grade3 = kind == LotteryKind::toto && random_int(rng, 0, 1);
    e.has_grade5 = kind == LotteryKind::BIG && random_int(rng, 0, 1);
    e.has_grade6 = kind == LotteryKind::BIG && random_int(rng, 0, 1);
    const int open_share = random_int(rng, 0, 4);
    for (int s = 0; s < slot_count(kind); ++s) {
        r.truth[s] = random_int(rng, 0, outcome_count(kind) - 1);
        const int roll = random_int(rng, 0, 9);
        const int code = roll < 2 * open_share ? kResultNone
                         : roll == 9           ? cancelled_code(kind)
                                               : outcome_result(kind, r.truth[s]);
        (is_match_kind(kind) ? e.matches[s].result : e.teams[s].score) = code;
    }
    const int state_roll = random_int(rng, 0, 7);
    e.state = state_roll < 4 ? kPrizeUndecided : state_roll < 7 ? kPrizeEntered : kPrizeRefund;
    for (int g = 0; g < kMaxGrades; ++g)
        e.prizes[g] = random_int(rng, 0, 2000000000);
    return r;
}

// The pick (single) or mark (multi) that outcome `o` stands for.
uint8_t pick_of(LotteryKind kind, int o)
{
    return static_cast<uint8_t>(is_match_kind(kind) ? outcome_result(kind, o) : o);
}
size_t mark_of(LotteryKind kind, int o)
{
    return static_cast<size_t>(is_match_kind(kind) ? kMatchOutcomes[o].mark : o);
}

SinglePurchase random_single(std::mt19937 &rng, const RandomRound &r)
{
    const LotteryKind kind = r.entry.kind;
    SinglePurchase p;
    for (int s = 0; s < slot_count(kind); ++s) {
        const int roll = random_int(rng, 0, 19);
        // A match pick the book holds as none (read from a file) misses every result.
        p.picks[s] = roll == 0 && is_match_kind(kind) ? 0
                     : roll < 15                      ? pick_of(kind, r.truth[s])
                                 : pick_of(kind, random_int(rng, 0, outcome_count(kind) - 1));
    }
    return p;
}

// Mostly one mark on the hidden outcome, sometimes two or three marks; within 500
// combinations, the multi dialog's limit. `empty` leaves one slot without a mark, as a
// file can hold it.
MultiPurchase random_multi(std::mt19937 &rng, const RandomRound &r, bool empty)
{
    const LotteryKind kind = r.entry.kind;
    const int width = marks_per_slot(kind);
    MultiPurchase m;
    int64_t combos = 1;
    for (int s = 0; s < slot_count(kind); ++s) {
        const int wanted = random_int(rng, 0, 2) == 0 ? random_int(rng, 2, 3) : 1;
        const int marks = combos * wanted > 500 ? 1 : wanted;
        combos *= marks;
        const int start = random_int(rng, 0, 4) == 0 ? random_int(rng, 0, width - 1)
                                                     : static_cast<int>(mark_of(kind, r.truth[s]));
        for (int k = 0; k < marks; ++k)
            m.marks[s][static_cast<size_t>((start + k) % width)] = true;
    }
    if (empty)
        m.marks[static_cast<size_t>(random_int(rng, 0, slot_count(kind) - 1))] = {};
    return m;
}

// Suppositions on some open slots (on all of them now and then, so that the round is
// decided), mostly the hidden outcome.
Suppositions random_suppositions(std::mt19937 &rng, const RandomRound &r)
{
    Suppositions sup{};
    const LotteryKind kind = r.entry.kind;
    const int share = random_int(rng, 0, 3);
    for (int s = 0; s < slot_count(kind); ++s) {
        if (!slot_undecided(r.entry, s) || random_int(rng, 0, 2) >= share)
            continue;
        const int o = random_int(rng, 0, 3) == 0 ? random_int(rng, 0, outcome_count(kind) - 1) : r.truth[s];
        sup[s] = outcome_result(kind, o);
    }
    // A supposition on a slot with a result, or a code that is no outcome, is ignored.
    sup[static_cast<size_t>(random_int(rng, 0, kMaxSlots - 1))] += random_int(rng, 0, 1) * 7;
    return sup;
}

struct Reference {
    GradeCounts hits{};
    WideInt won = 0;
};

// The list's own count of the round with `sup` laid over: the winning check on a copy;
// and, where every multi has a mark on every slot, every combination graded one by one.
Reference reference(TicketBook &copy, const RoundEntry &entry, const Suppositions &sup, bool listable)
{
    copy.entries[0] = supposed_round(entry, sup);
    result_chk(copy, 0);
    const RoundEntry &graded = copy.entries[0];
    if (listable) {
        Hits brute{};
        const LotteryKind kind = entry.kind;
        copy.for_each_purchase(0, [&](int type, int index) {
            if (type == kSingle)
                brute_add_single(graded, copy.single_pool(kind)[index], brute);
            else
                brute_add_multi(graded, copy.multi_pool(kind)[index], brute);
        });
        EXPECT_EQ(brute, graded.hits) << "the winning check itself disagrees with the listing";
    }
    return {graded.hits, graded.won};
}

} // namespace

TEST(LiveCounts, AgreeWithGradingEveryCombinationOfEveryKind)
{
    std::mt19937 rng(29);
    int counted = 0;
    int decided_with_prizes = 0;
    int slot_rows = 0;
    GradeCounts seen{};
    for (int trial = 0; trial < 2200; ++trial) {
        const LotteryKind kind = kind_from_code(trial % kKindCount);
        RandomRound r = random_round(rng, kind);
        TicketBook book;
        ASSERT_TRUE(add_entry(book, r.entry).ok);
        const bool with_empty_slot = !is_big_family(kind) && random_int(rng, 0, 9) == 0;
        for (int t = random_int(rng, 0, 6); t > 0; --t)
            ASSERT_TRUE(add_single(book, 0, random_single(rng, r)).ok);
        if (!is_big_family(kind)) {
            for (int t = random_int(rng, 0, 3); t > 0; --t)
                ASSERT_TRUE(add_multi(book, 0, random_multi(rng, r, with_empty_slot && t == 1)).ok);
        }
        const RoundEntry entry = book.entries[0];
        const Suppositions sup = random_suppositions(rng, r);
        SCOPED_TRACE(testing::Message()
                     << "trial " << trial << " kind " << kind_display_name(kind).toStdString());

        const LiveCounts live = live_counts(book, 0, sup);
        ASSERT_EQ(live.counted, entry.tickets > 0 && entry.state != kPrizeRefund);
        if (!live.counted)
            continue;
        ++counted;
        TicketBook copy = book;
        const Reference now = reference(copy, entry, sup, !with_empty_slot);
        ASSERT_EQ(live.now, now.hits);
        const RoundEntry supposed = supposed_round(entry, sup);
        const std::optional<WideInt> won = live_won(supposed, live.now);
        ASSERT_EQ(won.has_value(), results_complete(supposed) && entry.state == kPrizeEntered);
        if (won) {
            ++decided_with_prizes;
            ASSERT_TRUE(*won == now.won);
        }
        for (size_t g = 0; g < seen.size(); ++g)
            seen[g] += live.now[g];

        for (int s = 0; s < slot_count(kind); ++s) {
            if (!slot_undecided(entry, s))
                continue;
            ++slot_rows;
            for (int o = 0; o < outcome_count(kind); ++o) {
                Suppositions ended = sup;
                ended[s] = outcome_result(kind, o);
                ASSERT_EQ(live.if_ended[s][o], reference(copy, entry, ended, !with_empty_slot).hits)
                    << "slot " << s + 1 << " outcome " << outcome_mark(kind, o).toStdString();
            }
        }
    }
    // The random rounds reach what the check is about.
    EXPECT_GT(counted, 1500);
    EXPECT_GT(decided_with_prizes, 150);
    EXPECT_GT(slot_rows, 4000);
    for (size_t g = 0; g < seen.size(); ++g)
        EXPECT_GT(seen[g], 0) << "grade " << g + 1;
}

TEST(LiveCounts, OutcomesAreOfferedInTheOrderTheyAreTyped)
{
    QStringList match;
    for (int o = 0; o < outcome_count(LotteryKind::BIG); ++o) {
        match << outcome_mark(LotteryKind::BIG, o);
        EXPECT_EQ(outcome_of_result(LotteryKind::BIG, outcome_result(LotteryKind::BIG, o)), o);
    }
    EXPECT_EQ(match.join(u' '), QStringLiteral("1 0 2"));
    EXPECT_EQ(outcome_result(LotteryKind::toto, 1), kDraw);
    EXPECT_EQ(outcome_result(LotteryKind::totoGOAL2, 3), 4);
    EXPECT_EQ(outcome_mark(LotteryKind::totoGOAL2, 3), QStringLiteral("3"));
    EXPECT_EQ(outcome_of_result(LotteryKind::toto, kCancelled), -1);
    EXPECT_EQ(outcome_of_result(LotteryKind::totoGOAL, kScoreCancelled), -1);
}
