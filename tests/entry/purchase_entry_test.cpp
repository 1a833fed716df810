#include "book/book_document.h"
#include "entry/purchase_entry.h"
#include "support/book_builders.h"
#include "support/document_helpers.h"

#include <gtest/gtest.h>

namespace {

RoundNames names_of(LotteryKind kind, const char *kai)
{
    const RoundEntry e = make_entry(kind, kai);
    RoundNames names;
    names.kai = e.kai;
    for (size_t s = 0; s < kMaxMatchSlots; ++s) {
        names.home[s] = e.matches[s].home;
        names.away[s] = e.matches[s].away;
    }
    for (size_t s = 0; s < kMaxTeamSlots; ++s)
        names.teams[s] = e.teams[s].team;
    return names;
}

Outcome add_round(TicketBook &book, LotteryKind kind, const RoundNames &names, GradeOption option)
{
    return through_document(book,
                            [&](BookDocument &d) { return d.add_round(new_round(kind, names, option)); });
}

void edit_round(TicketBook &book, int entry, const RoundNames &names, GradeOption option)
{
    const RoundEntry renamed = renamed_round(book.entries[static_cast<size_t>(entry)], names, option);
    ASSERT_TRUE(through_document(book, [&](BookDocument &d) { return d.edit_round(entry, renamed); }).ok);
}

Outcome store_single(TicketBook &book, int entry, std::optional<int> edited, const SinglePicks &picks)
{
    const SinglePurchase ticket = picked_single(book, entry, edited, picks);
    return through_document(book, [&](BookDocument &d) { return d.store_single(entry, edited, ticket); });
}

Outcome store_multi(TicketBook &book, int entry, std::optional<int> edited, const MultiPurchase &marks)
{
    const MultiPurchase ticket = marked_multi(marks, book.entries[static_cast<size_t>(entry)].kind);
    return through_document(book, [&](BookDocument &d) { return d.store_multi(entry, edited, ticket); });
}

} // namespace

TEST(PurchaseEntry, NewRoundStartsEmpty)
{
    TicketBook book;
    ASSERT_TRUE(
        add_round(book, LotteryKind::toto, names_of(LotteryKind::toto, "700"), GradeOption::plus1).ok);
    ASSERT_EQ(book.entry_count(), 1);
    const RoundEntry &e = book.entries[0];
    EXPECT_EQ(e.kai, BookText("700"));
    EXPECT_EQ(e.kind, LotteryKind::toto);
    EXPECT_EQ(e.matches[12].away, BookText("A12"));
    EXPECT_EQ(e.tickets, 0);
    EXPECT_EQ(e.first_type, kNoPurchase);
    EXPECT_TRUE(e.has_grade3);
    for (const MatchSlot &m : e.matches)
        EXPECT_EQ(m.result, kResultNone);

    // The same label and kind again is a second round.
    ASSERT_TRUE(add_round(book, LotteryKind::toto, names_of(LotteryKind::toto, "700"), GradeOption::none).ok);
    EXPECT_EQ(book.entry_count(), 2);
}

TEST(PurchaseEntry, GradeOptionsSetOnlyTheFlagsOfTheirKind)
{
    struct Case {
        LotteryKind kind;
        GradeOption option;
        bool g3, g5, g6;
    };
    const Case cases[] = {
        {LotteryKind::toto, GradeOption::none, false, false, false},
        {LotteryKind::toto, GradeOption::plus1, true, false, false},
        {LotteryKind::BIG, GradeOption::none, false, false, false},
        {LotteryKind::BIG, GradeOption::plus1, false, true, false},
        {LotteryKind::BIG, GradeOption::plus2, false, true, true},
        {LotteryKind::BIG100, GradeOption::plus2, false, false, false},
        {LotteryKind::minitotoA, GradeOption::plus1, false, false, false},
    };
    for (const Case &c : cases) {
        RoundEntry e = make_entry(c.kind);
        e.has_grade3 = e.has_grade5 = e.has_grade6 = true;
        apply_grade_option(e, c.option);
        EXPECT_EQ(e.has_grade3, c.g3) << kind_display_name(c.kind).toStdString();
        EXPECT_EQ(e.has_grade5, c.g5) << kind_display_name(c.kind).toStdString();
        EXPECT_EQ(e.has_grade6, c.g6) << kind_display_name(c.kind).toStdString();
        EXPECT_EQ(grade_option_of(e),
                  c.kind == LotteryKind::toto || c.kind == LotteryKind::BIG ? c.option : GradeOption::none);
    }
}

TEST(PurchaseEntry, FullBookRefusesANewRound)
{
    TicketBook book;
    book.entries.resize(kMaxRecords);
    const Outcome o =
        add_round(book, LotteryKind::toto5, names_of(LotteryKind::toto5, "1"), GradeOption::none);
    EXPECT_FALSE(o.ok);
    EXPECT_EQ(o.message, QStringLiteral("メモリが足りません。"));
    EXPECT_EQ(book.entry_count(), kMaxRecords);
}

TEST(PurchaseEntry, EditingARoundKeepsItsTicketsAndResults)
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::BIG, "900")).ok);
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(14, 1))).ok);
    book.entries[0].matches[3].result = kDraw;
    book.entries[0].state = kPrizeEntered;
    book.entries[0].prizes[0] = 12345;
    const RoundEntry before = book.entries[0];

    RoundNames names = names_of(LotteryKind::BIG, "901");
    names.home[0] = BookText("鹿島");
    edit_round(book, 0, names, GradeOption::plus2);

    RoundEntry expected = before;
    expected.kai = BookText("901");
    expected.matches[0].home = BookText("鹿島");
    expected.has_grade5 = expected.has_grade6 = true;
    EXPECT_EQ(book.entries[0], expected);
}

TEST(PurchaseEntry, SinglesAreAppendedOrChangedInPlace)
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::totoGOAL3)).ok);
    SinglePicks picks;
    picks.fill(kKeepPick);
    for (size_t s = 0; s < 6; ++s)
        picks[s] = static_cast<int>(s % 4);
    ASSERT_TRUE(store_single(book, 0, std::nullopt, picks).ok);
    ASSERT_TRUE(store_single(book, 0, std::nullopt, picks).ok);
    ASSERT_EQ(book.goal_singles.size(), 2u);
    EXPECT_TRUE(book.singles.empty());
    EXPECT_EQ(book.entries[0].tickets, 2);
    EXPECT_EQ(book.goal_singles[0].link.next_type, kSingle);
    EXPECT_EQ(book.goal_singles[1].link.prev_index, 0);
    EXPECT_EQ(book.goal_singles[1].picks[9], 0);

    // A change keeps the chain, the tickets and the picks of rows without a pick.
    book.goal_singles[1].picks[8] = 2;
    SinglePicks change;
    change.fill(kKeepPick);
    change[0] = 3;
    const PurchaseLinks links = book.goal_singles[1].link;
    ASSERT_TRUE(store_single(book, 0, 1, change).ok);
    EXPECT_EQ(book.goal_singles[1].picks[0], 3);
    EXPECT_EQ(book.goal_singles[1].picks[1], 1);
    EXPECT_EQ(book.goal_singles[1].picks[8], 2);
    EXPECT_EQ(book.goal_singles[1].link, links);
    EXPECT_EQ(book.entries[0].tickets, 2);
    EXPECT_TRUE(chains_consistent(book));
}

TEST(PurchaseEntry, ChangingAMultiAdjustsTicketsByTheDifference)
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::minitotoA)).ok);
    EXPECT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 1})).ok);
    ASSERT_TRUE(store_multi(book, 0, std::nullopt, make_multi({"110", "110", "100", "100", "100"})).ok);
    EXPECT_EQ(book.entries[0].tickets, 1 + 4);
    EXPECT_EQ(book.multis[0].marked, 5);

    ASSERT_TRUE(store_multi(book, 0, 0, make_multi({"110", "111", "001", "010", "110"})).ok);
    EXPECT_EQ(book.multis[0].combos, 12);
    EXPECT_EQ(book.multis[0].doubles, 2);
    EXPECT_EQ(book.multis[0].triples, 1);
    EXPECT_EQ(book.entries[0].tickets, 1 + 12);
    EXPECT_TRUE(chains_consistent(book));
}

TEST(PurchaseEntry, MultiLimits)
{
    const auto counted = [](LotteryKind kind, const std::vector<const char *> &rows) {
        MultiPurchase m = make_multi(rows);
        count_multi(m, kind);
        return m;
    };
    const char *d = "110";
    const char *t = "111";
    const char *s = "100";
    EXPECT_TRUE(multi_within_limits(counted(LotteryKind::toto, {d, t, t, t, t, t, s, s, s, s, s, s, s}),
                                    LotteryKind::toto)); // 486
    EXPECT_FALSE(multi_within_limits(counted(LotteryKind::toto, {d, t, t, t, t, t, d, s, s, s, s, s, s}),
                                     LotteryKind::toto)); // 972
    EXPECT_FALSE(multi_within_limits(counted(LotteryKind::toto, {d, d, d, d, d, t, t, d, s, s, s, s, s}),
                                     LotteryKind::toto)); // 576
    // Four goal counts on one team, although the combinations would stay small.
    EXPECT_FALSE(multi_within_limits(counted(LotteryKind::totoGOAL2, {"1111", "1000", "1000", "1000"}),
                                     LotteryKind::totoGOAL2));
    EXPECT_TRUE(multi_within_limits(counted(LotteryKind::totoGOAL2, {"1110", "1000", "1000", "1000"}),
                                    LotteryKind::totoGOAL2));
}
