#include "book/book_file.h"
#include "book/book_invariants.h"
#include "book/csv_cells.h"
#include "book/csv_export.h"
#include "book/csv_import.h"
#include "results/winning_check.h"
#include "support/book_builders.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace {

// File bytes from lines, each ended by CR LF.
QByteArray csv(std::initializer_list<const char *> lines)
{
    QByteArray out;
    for (const char *line : lines)
        out += QByteArray(line) + "\r\n";
    return out;
}

TicketBook book_of(std::initializer_list<RoundEntry> entries)
{
    TicketBook book;
    for (const RoundEntry &e : entries)
        EXPECT_TRUE(add_entry(book, e).ok);
    return book;
}

bool same_book(const TicketBook &a, const TicketBook &b)
{
    return a.entries == b.entries && a.singles == b.singles && a.multis == b.multis &&
           a.goal_singles == b.goal_singles && a.goal_multis == b.goal_multis;
}

// Parses and applies; the outcome of whichever step failed.
Outcome import(TicketBook &book, const QByteArray &bytes)
{
    const CsvImport staged = parse_csv(bytes, book);
    return staged.outcome.ok ? apply_round_update(book, csv_update(book, staged)) : staged.outcome;
}

} // namespace

TEST(CsvCells, GetCellDropsSpacesAndTakesTheCellOff)
{
    struct Case {
        const char *line, *cell, *rest;
    };
    for (const Case &c : {Case{"1 2,3", "12", "3"}, Case{"", "", ""}, Case{"a,", "a", ""},
                          Case{",x", "", "x"}, Case{"abc", "abc", ""}, Case{" , ,", "", " ,"}}) {
        QByteArray line = c.line;
        EXPECT_EQ(get_csv_cell(line), QByteArray(c.cell)) << c.line;
        EXPECT_EQ(line, QByteArray(c.rest)) << c.line;
        EXPECT_EQ(has_csv_cell(line), *c.rest != '\0');
    }
}

TEST(CsvCells, LeadingNumbers)
{
    EXPECT_EQ(csv_number("0123"), 123);
    EXPECT_EQ(csv_number("12abc"), 12);
    EXPECT_EQ(csv_number("abc"), 0);
    EXPECT_EQ(csv_number(""), 0);
    EXPECT_EQ(csv_number("-5"), -5);
    EXPECT_EQ(csv_number("99999999999999999999999"), kCsvNumberLimit);
    EXPECT_TRUE(same_csv_number("0123", "123"));
    EXPECT_TRUE(same_csv_number("123回", "123"));
    EXPECT_TRUE(same_csv_number("", "abc"));
    EXPECT_FALSE(same_csv_number("123", "124"));
    // Compared exactly, not through a saturated value.
    EXPECT_FALSE(same_csv_number("123456789012345678901", "123456789012345678902"));
}

TEST(CsvCells, LinesEndWithCrLf)
{
    EXPECT_EQ(csv_lines("a\r\nb").size(), 2u);
    EXPECT_EQ(csv_lines("a\r\n").size(), 1u);
    EXPECT_EQ(csv_lines("a\r\n\r\n"), (std::vector<QByteArray>{"a", ""}));
    EXPECT_EQ(csv_lines("a\nb"), (std::vector<QByteArray>{"a\nb"}));
    EXPECT_TRUE(csv_lines("").empty());
}

TEST(CsvExport, Toto5SingleAndResults)
{
    RoundEntry e = make_entry(LotteryKind::toto5, "123");
    const int results[] = {kHomeWin, kDraw, kAwayWin, kResultNone, kCancelled};
    for (int s = 0; s < 5; ++s)
        e.matches[s].result = results[s];
    TicketBook book = book_of({e});
    EXPECT_TRUE(add_single(book, 0, make_single({1, 3, 2, 1, 1})).ok);
    const CsvExport out = export_csv(book, 0);
    ASSERT_TRUE(out.outcome.ok);
    EXPECT_EQ(out.bytes, csv({"123,T5", "S,1,0,2,1,1", "R,1,0,2,5,4,0"}));
    EXPECT_FALSE(export_csv(book, 1).outcome.ok);
    EXPECT_FALSE(export_csv(book, -1).outcome.ok);
}

TEST(CsvExport, MultiCellsNameMarksHomeAwayDraw)
{
    TicketBook book = book_of({make_entry(LotteryKind::minitotoA, "7")});
    EXPECT_TRUE(add_multi(book, 0, make_multi({"110", "111", "011", "001", "100"})).ok);
    EXPECT_EQ(export_csv(book, 0).bytes, csv({"7,MA", "M,2,1,0,3,1,2,0,2,2,0,1,2,1,1", "R,5,5,5,5,5,0"}));
}

TEST(CsvExport, GoalCodesAndPrizeCells)
{
    RoundEntry goal = make_entry(LotteryKind::totoGOAL2, "9");
    goal.teams[0].score = kScoreCancelled;
    goal.teams[1].score = 1; // no goal
    goal.teams[2].score = 4; // three or more
    goal.state = kPrizeEntered;
    goal.prizes[0] = 1500000;
    goal.prizes[1] = 99; // the file keeps it, the CSV does not: totoGOAL2 has one grade
    TicketBook book = book_of({goal});
    EXPECT_TRUE(add_single(book, 0, make_single({3, 0, 2, 1})).ok);
    EXPECT_TRUE(add_multi(book, 0, make_multi({"1010", "0001", "1110", "0100"})).ok);
    EXPECT_EQ(export_csv(book, 0).bytes,
              csv({"9,G2", "S,3,0,2,1", "M,2,0,2,1,3,3,0,1,2,1,1", "R,4,0,3,5,1,1500000"}));

    RoundEntry toto = make_entry(LotteryKind::toto, "1");
    toto.has_grade3 = true;
    toto.prizes = {30, 20, 10, 0, 0, 0};
    const std::pair<int, const char *> states[] = {
        {kPrizeEntered, ",3,30,20,10\r\n"}, {kPrizeRefund, ",B\r\n"}, {kPrizeUndecided, ",0\r\n"}};
    for (const auto &[state, tail] : states) {
        toto.state = state;
        EXPECT_TRUE(export_csv(book_of({toto}), 0).bytes.endsWith(tail)) << state;
    }
}

TEST(CsvImport, StagesRowsAsWritten)
{
    const TicketBook book = book_of({make_entry(LotteryKind::toto5, "123")});
    const CsvImport staged = parse_csv(
        csv({"0123,T5", "S,1,0,2,9,1", "M,2,1,0,1,2,3,1,2,0,1,1,1,1", "R,1,0,2,5,4,2,1 500 000,7"}), book);
    ASSERT_TRUE(staged.outcome.ok);
    EXPECT_EQ(staged.entry, 0);
    EXPECT_EQ(staged.label, QStringLiteral("0123"));
    ASSERT_EQ(staged.csv_rows.size(), 3u);
    const CsvRow &s = staged.csv_rows[0];
    EXPECT_EQ(s.row_type, kCsvSingle);
    EXPECT_EQ(std::vector<int>(s.values.begin(), s.values.begin() + 5), (std::vector<int>{1, 0, 2, 9, 1}));
    const CsvRow &m = staged.csv_rows[1];
    EXPECT_EQ(m.row_type, kCsvMulti);
    EXPECT_EQ(m.marks[0], (std::array<bool, 4>{true, true, false, false}));  // home, draw
    EXPECT_EQ(m.marks[1], (std::array<bool, 4>{false, false, true, false})); // away
    EXPECT_EQ(m.marks[2], (std::array<bool, 4>{true, true, true, false}));
    const CsvRow &r = staged.csv_rows[2];
    EXPECT_EQ(r.row_type, kCsvResults);
    EXPECT_EQ(r.state, kPrizeEntered);
    EXPECT_EQ(r.prize_count, 2);
    EXPECT_EQ(r.prizes[0], 1500000);
    EXPECT_EQ(r.prizes[1], 7);

    // Each multi is counted once, as it is read.
    EXPECT_EQ(std::make_tuple(m.doubles, m.triples, m.combos), std::make_tuple(1, 1, int64_t{6}));
}

TEST(CsvImport, AppliesPicksMarksAndResults)
{
    RoundEntry e = make_entry(LotteryKind::toto5, "123");
    e.matches[0].result = kAwayWin;
    e.matches[3].result = kDraw;
    e.matches[4].result = kHomeWin;
    TicketBook book = book_of({e});
    EXPECT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 1})).ok); // imported purchases come after it
    ASSERT_TRUE(import(book, csv({"123,T5", "S,1,0,2,1,1", "M,2,1,0,2,1,2,1,1,1,1,1,1", "S,7,0,-1,1,1",
                                  "R,5,4,0,9,-3,0"}))
                    .ok);
    const auto tickets = tickets_of(book, 0);
    ASSERT_EQ(tickets.size(), 4u);
    EXPECT_EQ(std::get<SinglePurchase>(tickets[1]), make_single({1, 3, 2, 1, 1}));
    EXPECT_EQ(std::get<MultiPurchase>(tickets[2]).combos, 4);
    EXPECT_EQ(std::get<SinglePurchase>(tickets[3]), make_single({0, 3, 0, 1, 1})); // outside the codes: 0
    EXPECT_EQ(book.entries[0].tickets, 1 + 1 + 4 + 1);
    const auto &m = book.entries[0].matches;
    EXPECT_EQ(m[0].result, kResultNone); // "5"
    EXPECT_EQ(m[1].result, kCancelled);  // "4"
    EXPECT_EQ(m[2].result, kDraw);
    EXPECT_EQ(m[3].result, kDraw);    // "9" leaves the slot
    EXPECT_EQ(m[4].result, kHomeWin); // "-3" leaves the slot
    EXPECT_TRUE(chains_consistent(book));
    EXPECT_TRUE(check_invariants(book).ok);
}

TEST(CsvImport, GoalPicksAndScores)
{
    TicketBook book = book_of({make_entry(LotteryKind::totoGOAL3, "5")});
    ASSERT_TRUE(import(book, csv({"5,G3", "S,3,0,1,2,4,0", "M,1,3,3,0,1,2,2,1,2,1,0,1,1,1,1",
                                  "R,0,4,5,3,6,1,2,100,50"}))
                    .ok);
    const auto tickets = tickets_of(book, 0);
    ASSERT_EQ(tickets.size(), 2u);
    EXPECT_EQ(std::get<SinglePurchase>(tickets[0]), make_single({3, 0, 1, 2, 0, 0}));
    EXPECT_EQ(std::get<MultiPurchase>(tickets[1]).combos, 3 * 2);
    const std::vector<int> scores = {1, 5, 0, 4, 0, 2};
    for (int s = 0; s < 6; ++s)
        EXPECT_EQ(book.entries[0].teams[s].score, scores[s]) << s;
    EXPECT_EQ(book.entries[0].state, kPrizeEntered);
    EXPECT_EQ(book.entries[0].prizes[1], 50);
    EXPECT_TRUE(chains_consistent(book));
}

TEST(CsvImport, GradeFlagsFollowThePrizeCells)
{
    RoundEntry toto = make_entry(LotteryKind::toto, "1");
    toto.has_grade3 = true;
    RoundEntry big = make_entry(LotteryKind::BIG, "1");
    big.has_grade5 = big.has_grade6 = true;
    TicketBook book = book_of({toto, big, make_entry(LotteryKind::BIG1000, "1")});
    const QByteArray thirteen = "5,5,5,5,5,5,5,5,5,5,5,5,5";
    ASSERT_TRUE(import(book, "1,T\r\nR," + thirteen + ",B\r\n").ok);
    EXPECT_EQ(book.entries[0].state, kPrizeRefund);
    EXPECT_FALSE(book.entries[0].has_grade3);
    ASSERT_TRUE(import(book, "1,B\r\nR," + thirteen + ",5,B\r\n").ok);
    EXPECT_FALSE(book.entries[1].has_grade5 || book.entries[1].has_grade6);
    ASSERT_TRUE(import(book, "1,B\r\nR," + thirteen + ",5,5,1,2,3,4,5\r\n").ok);
    EXPECT_TRUE(book.entries[1].has_grade5);
    EXPECT_FALSE(book.entries[1].has_grade6);
    EXPECT_EQ(book.entries[1].prizes[4], 5);
    // Six prize cells on a toto round: no 3等, and no prizes its file could not keep.
    ASSERT_TRUE(import(book, "1,T\r\nR," + thirteen + ",6,1,2,3,4,5,6\r\n").ok);
    EXPECT_FALSE(book.entries[0].has_grade3 || book.entries[0].has_grade5 || book.entries[0].has_grade6);
    EXPECT_EQ(book.entries[0].prizes, (std::array<int64_t, 6>{1, 2, 0, 0, 0, 0}));
    ASSERT_TRUE(import(book, "1,B1\r\nR,5,5,5,5,5,5,5,5,5,5,5,6,1,2,3,4,5,6\r\n").ok);
    EXPECT_FALSE(book.entries[2].has_grade5 || book.entries[2].has_grade6);
    EXPECT_EQ(book.entries[2].prizes, (std::array<int64_t, 6>{1, 2, 3, 4, 0, 0}));
    const TicketBook reread = parse_book(serialize_book(book), QStringLiteral("x")).book;
    EXPECT_EQ(reread.entries, book.entries);
}

TEST(CsvImport, FindsTheFirstEntryOfTheKindWithTheSameNumber)
{
    TicketBook book = book_of({make_entry(LotteryKind::toto, "123"), make_entry(LotteryKind::toto5, "0124"),
                               make_entry(LotteryKind::toto5, "123"), make_entry(LotteryKind::toto5, "123")});
    EXPECT_EQ(parse_csv(csv({"0123,T5"}), book).entry, 2);
    EXPECT_EQ(parse_csv(csv({"124,T5"}), book).entry, 1);
    EXPECT_EQ(parse_csv(csv({"123,T"}), book).entry, 0);
    // A header alone stages nothing, and applying it changes nothing.
    const CsvImport empty = parse_csv("123,T5", book);
    ASSERT_TRUE(empty.outcome.ok);
    EXPECT_TRUE(empty.csv_rows.empty());
    const TicketBook before = book;
    EXPECT_TRUE(apply_round_update(book, csv_update(book, empty)).ok);
    EXPECT_TRUE(same_book(book, before));
}

TEST(CsvImport, ImportingTwiceDoublesTheTickets)
{
    TicketBook book = book_of({make_entry(LotteryKind::minitotoB, "3")});
    const QByteArray file = csv({"3,MB", "S,1,1,1,1,1", "M,2,1,2,2,1,0,1,1,1,1,1,1", "R,1,1,1,1,1,0"});
    ASSERT_TRUE(import(book, file).ok);
    ASSERT_TRUE(import(book, file).ok);
    EXPECT_EQ(book.entries[0].tickets, 2 * (1 + 4));
    EXPECT_EQ(tickets_of(book, 0).size(), 4u);
    EXPECT_TRUE(chains_consistent(book));
}

TEST(CsvImport, EveryFaultRefusesTheWholeFile)
{
    const char *const faults[] = {
        "",                                                     // no header
        "123,X\r\n",                                            // unknown kind code
        "123\r\n",                                              // header without a kind
        "123,MA\r\n",                                           // no mini toto-A round 123
        "124,T5\r\n",                                           // no round 124
        "123,T5\r\nS,1,0,2,1,1\r\n\r\n",                        // trailing empty line
        "123,T5\r\n\r\nS,1,0,2,1,1\r\n",                        // empty line
        "123,T5\r\nX,1,0,2,1,1\r\n",                            // unknown line type
        "123,T5\r\nS,1,0,2,1,1,1\r\n",                          // one cell too many
        "123,T5\r\nS,1,0,2,1,1,,\r\n",                          // an empty cell too many
        "123,T5\r\nS,1,0,2,1\r\n",                              // one cell short
        "123,T5\r\nS,1,0,2,1,\r\n",                             // empty last cell after a trailing ","
        "123,T5\r\nS\r\n",                                      // no cells at all
        "123,T5\r\nS,1,0,32768,1,1\r\n",                        // value beyond 16 bits
        "123,T5\r\nS,1,0,-32769,1,1\r\n",                       // likewise below
        "123,T5\r\nM,1,1,1,1,1,1,1,1,0\r\n",                    // a slot without marks
        "123,T5\r\nM,1,1,1,1,1,1,1,1,1,9\r\n",                  // only an unknown mark name
        "123,T5\r\nM,1,1,1,1,1,1,1,1,2,1\r\n",                  // marks run out
        "123,T5\r\nM,32768,1\r\n",                              // mark count beyond 16 bits
        "123,T5\r\nM,1,1,1,1,1,1,1,1,1,1,1\r\n",                // one cell too many after a multi
        "123,T5\r\nR,1,1,1,1,1\r\n",                            // no prize cell
        "123,T5\r\nR,1,1,1,1,1,7,1,1,1,1,1,1,1\r\n",            // more than six prizes
        "123,T5\r\nR,1,1,1,1,1,-1\r\n",                         // negative prize count
        "123,T5\r\nR,1,1,1,1,1,2,1\r\n",                        // prizes run out
        "123,T5\r\nR,1,1,1,1,1,1,2147483648\r\n",               // prize beyond 32 bits
        "123,T5\r\nR,1,1,1,1,1,1,-1\r\n",                       // negative prize
        "123,T5\r\nR,1,1,1,1,1,B,1\r\n",                        // a cell after the refund mark
        "123,T\r\nR,1,1,1,1,1,1,1,1,1,1,1,1,1,1,500000001\r\n", // above the kind's cap
        "123,B\r\nM,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1\r\n", // multi on BIG
        "1,G2\r\nM,4,0,1,2,3,1,0,1,0,1,0\r\n",                                    // all four goals
        "1,G2\r\nR,1,1,1,1,6,1,1,1,1,1,1\r\n",                                    // six goal prizes
    };
    TicketBook book = book_of({make_entry(LotteryKind::toto5, "123"), make_entry(LotteryKind::toto, "123"),
                               make_entry(LotteryKind::totoGOAL2, "1"), make_entry(LotteryKind::BIG, "123")});
    // One good line ahead of the fault: nothing of the file may be applied.
    EXPECT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 1})).ok);
    const TicketBook before = book;
    for (const char *fault : faults) {
        QByteArray file = fault;
        const qsizetype header_end = file.indexOf("\r\n");
        if (header_end >= 0 && file.startsWith("123,T5"))
            file.insert(header_end + 2, "S,2,2,2,2,2\r\n");
        const CsvImport staged = parse_csv(file, book);
        EXPECT_FALSE(staged.outcome.ok) << fault;
        EXPECT_EQ(staged.outcome.message, csv_failed_message()) << fault;
        EXPECT_TRUE(staged.csv_rows.empty()) << fault;
        EXPECT_FALSE(apply_round_update(book, csv_update(book, staged)).ok) << fault;
        EXPECT_TRUE(same_book(book, before)) << fault;
    }
    EXPECT_EQ(parse_csv(csv({"123,T5"}), TicketBook{}).outcome.message, csv_failed_message());
    EXPECT_EQ(read_csv(QStringLiteral("/nonexistent/x.csv"), book).outcome.message, csv_failed_message());
}

TEST(CsvImport, HarmlessVariants)
{
    TicketBook book =
        book_of({make_entry(LotteryKind::toto5, "123"), make_entry(LotteryKind::totoGOAL2, "1")});
    for (const char *ok :
         {"123,T5\r\nS,1,0,2,1,1,\r\n", // trailing "," after the last cell
          "123,T5\r\nS, 1 ,0,2,1,1\r\nR,1,1,1,1,1,1, 1 000\r\n", "123,T5,extra\r\n", "123,T5",
          "123,T5\r\nS,1,0,2,1,1", // last line without its end
          "1,G2\r\nR,1,1,1,1,5,1,2,3,4,5\r\n", "1,G2\r\nM,3,0,1,2,1,0,1,3,1,3\r\n",
          "123,T5\r\nM,4,1,1,0,7,1,1,1,1,1,1,1,1\r\n"})
        EXPECT_TRUE(import(book, ok).ok) << ok;
    EXPECT_EQ(book.entries[0].prizes[0], 1000);
    EXPECT_TRUE(chains_consistent(book));
    EXPECT_TRUE(check_invariants(book).ok);
}

// A line of the documented maximum is read, one byte more refuses the file: read whole, and
// split from chunks that cut the line anywhere.
TEST(CsvImport, ALineOfTheMaximumLengthIsReadAndOneByteMoreIsNot)
{
    const TicketBook book = book_of({make_entry(LotteryKind::toto5, "123")});
    std::mt19937 rng(11);
    for (const qsizetype extra : {0, 1}) {
        QByteArray line = "S,1,0,2,1,1";
        line += QByteArray(kMaxCsvLineBytes + extra - line.size(), ' ');
        for (const char *end : {"\r\n", ""}) {
            const QByteArray file = "123,T5\r\n" + line + end;
            TicketBook copy = book;
            EXPECT_EQ(import(copy, file).ok, extra == 0) << extra << end;
            for (int run = 0; run < 20; ++run) {
                CsvLineSplitter splitter(kMaxCsvLineBytes);
                bool ok = true;
                const auto take = [](QByteArrayView) { return true; };
                for (qsizetype at = 0; ok && at < file.size();) {
                    const qsizetype n = std::uniform_int_distribution<qsizetype>(1, 600)(rng);
                    ok = splitter.feed(QByteArrayView(file).sliced(at, std::min(n, file.size() - at)), take);
                    at += n;
                }
                EXPECT_EQ(ok && splitter.finish(take), extra == 0) << extra << end;
            }
        }
    }
}

TEST(CsvImport, LimitsAreCheckedBeforeAnythingIsApplied)
{
    // Pools: the entry's pool may fill up to its last record, never beyond.
    TicketBook book = book_of({make_entry(LotteryKind::toto5, "1"), make_entry(LotteryKind::toto5, "2")});
    EXPECT_TRUE(add_single(book, 1, make_single({1, 1, 1, 1, 1})).ok);
    QByteArray file = "1,T5\r\nR,1,1,1,1,1,B\r\n";
    for (int i = 0; i < kMaxRecords - 1; ++i)
        file += "S,1,0,2,1,1\r\n";
    CsvImport staged = parse_csv(file, book);
    ASSERT_TRUE(staged.outcome.ok);
    TicketBook full = book;
    ASSERT_TRUE(apply_round_update(full, csv_update(full, staged)).ok);
    EXPECT_EQ(full.singles.size(), size_t{kMaxRecords});
    EXPECT_EQ(full.entries[0].tickets, kMaxRecords - 1);
    EXPECT_TRUE(chains_consistent(full));

    // One single more does not fit: the reading stops there.
    EXPECT_EQ(parse_csv(file + "S,1,1,1,1,1\r\n", book).outcome.message, out_of_memory_message());
    // The book can change between staging and applying: the limits are checked again.
    TicketBook grown = book;
    EXPECT_TRUE(add_single(grown, 1, make_single({1, 1, 1, 1, 1})).ok);
    const TicketBook before = grown;
    EXPECT_EQ(apply_round_update(grown, csv_update(grown, staged)).message, out_of_memory_message());
    EXPECT_TRUE(same_book(grown, before)); // not even the results line

    // A multi on a BIG-family round is refused with one message, whichever way it comes.
    TicketBook big = book_of({make_entry(LotteryKind::miniBIG, "1")});
    RoundUpdate staged_multi = results_update(0, big.entries[0]);
    staged_multi.purchases = {make_multi(std::vector<const char *>(9, "110"))};
    for (const Outcome &refused :
         {add_purchases(big, 0, staged_multi.purchases), apply_round_update(big, staged_multi)})
        EXPECT_EQ(refused.message, QStringLiteral("この種別はマルチ購入できません。"));

    // Tickets: a toto multi of 13 triples stands for 3^13 tickets.
    TicketBook toto = book_of({make_entry(LotteryKind::toto, "1")});
    const int64_t per_multi = 1594323;
    const int64_t most = 0x7FFFFFFF / per_multi;
    QByteArray all_triples = "M";
    for (int s = 0; s < 13; ++s)
        all_triples += ",3,1,2,0";
    QByteArray multis;
    for (int64_t i = 0; i < most; ++i)
        multis += all_triples + "\r\n";
    TicketBook fits = toto;
    ASSERT_TRUE(import(fits, "1,T\r\n" + multis).ok);
    EXPECT_EQ(fits.entries[0].tickets, most * per_multi);
    EXPECT_EQ(import(toto, "1,T\r\n" + multis + all_triples + "\r\n").message, out_of_memory_message());
    EXPECT_EQ(toto.entries[0].tickets, 0);
    EXPECT_TRUE(toto.multis.empty());
}

TEST(CsvRoundTrip, RandomRoundsOfEveryKindComeBackIntoAnEmptyCopy)
{
    std::mt19937 rng(20240612);
    int checked = 0;
    for (int round = 0; round < 40; ++round) {
        const TicketBook book = random_book(rng, 12, 150);
        for (int i = 0; i < book.entry_count(); ++i) {
            const RoundEntry &orig = book.entries[i];
            // The copy: the same round without tickets, results or prizes.
            RoundEntry blank = make_entry(orig.kind);
            blank.kai = orig.kai;
            blank.matches = orig.matches;
            blank.teams = orig.teams;
            for (auto &m : blank.matches)
                m.result = kResultNone;
            for (auto &t : blank.teams)
                t.score = kScoreNone;
            TicketBook copy = book_of({blank});
            const CsvExport out = export_csv(book, i);
            ASSERT_TRUE(out.outcome.ok);
            const CsvImport staged = parse_csv(out.bytes, copy);
            ASSERT_TRUE(staged.outcome.ok) << out.bytes.toStdString();
            ASSERT_TRUE(apply_round_update(copy, csv_update(copy, staged)).ok);

            // The model: purchases and results come back as they were; prizes and grade
            // flags as far as the prize cells carry them.
            RoundEntry want = orig;
            const int grades = grade_count(orig);
            want.has_grade3 = orig.state == kPrizeEntered && orig.has_grade3;
            want.has_grade6 = orig.state == kPrizeEntered && orig.has_grade6;
            // Six prize cells always mean a 5等 too.
            want.has_grade5 = orig.state == kPrizeEntered && orig.kind == LotteryKind::BIG && grades >= 5;
            for (int g = 0; g < 6; ++g)
                if (orig.state != kPrizeEntered || g >= grades)
                    want.prizes[g] = 0;
            const RoundEntry &got = copy.entries[0];
            EXPECT_EQ(got.matches, want.matches);
            EXPECT_EQ(got.teams, want.teams);
            EXPECT_EQ(got.state, want.state);
            EXPECT_EQ(std::make_tuple(got.has_grade3, got.has_grade5, got.has_grade6),
                      std::make_tuple(want.has_grade3, want.has_grade5, want.has_grade6));
            EXPECT_EQ(std::vector<int64_t>(got.prizes.begin(), got.prizes.begin() + 6),
                      std::vector<int64_t>(want.prizes.begin(), want.prizes.begin() + 6));
            EXPECT_EQ(got.tickets, orig.tickets);
            EXPECT_EQ(tickets_of(copy, 0), tickets_of(book, i));
            EXPECT_TRUE(check_invariants(copy).ok);
            // Graded alike wherever the grades are alike.
            if (std::tie(want.has_grade3, want.has_grade5, want.has_grade6) ==
                std::tie(orig.has_grade3, orig.has_grade5, orig.has_grade6)) {
                result_chk(copy, 0);
                EXPECT_EQ(copy.entries[0].hits, orig.hits);
            }
            // Exporting the copy gives the same file.
            EXPECT_EQ(export_csv(copy, 0).bytes, out.bytes);
            ++checked;
        }
    }
    EXPECT_GT(checked, 300);
}

TEST(CsvImport, QuotedCellsAreReadAsTheirContents)
{
    TicketBook book = book_of({make_entry(LotteryKind::toto5, "123")});
    // A spreadsheet quotes every cell: one pair of quotes comes off before reading.
    ASSERT_TRUE(import(book, csv({"\"123\",\"T5\"", "\"S\",\"1\",\"0\",\"2\",\"1\",\" 1\"",
                                  "\"M\",\"2\",\"1\",\"0\",\"1\",\"2\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\"",
                                  "R,\"1\",\"0\",\"2\",\"5\",\"4\",\"1\",\"500\""}))
                    .ok);
    const auto tickets = tickets_of(book, 0);
    ASSERT_EQ(tickets.size(), 2u);
    EXPECT_EQ(std::get<SinglePurchase>(tickets[0]), make_single({1, 3, 2, 1, 1}));
    EXPECT_EQ(std::get<MultiPurchase>(tickets[1]).combos, 2);
    EXPECT_EQ(book.entries[0].matches[1].result, kDraw);
    EXPECT_EQ(book.entries[0].prizes[0], 500);
    // "12abc" still reads 12 (outside the codes: no pick); labels and prize cells keep
    // reading 0 where they start with no number.
    TicketBook other = book_of({make_entry(LotteryKind::toto5, "x")});
    ASSERT_TRUE(import(other, csv({"abc,T5", "S,12abc,1,1,1,1", "R,1,1,1,1,1,1,abc"})).ok);
    EXPECT_EQ(std::get<SinglePurchase>(tickets_of(other, 0)[0]), make_single({0, 1, 1, 1, 1}));
    EXPECT_EQ(other.entries[0].prizes[0], 0);
}

TEST(CsvImport, ACodeCellWithoutANumberOrAFileThatIsNoShiftJisFails)
{
    // Each of these used to import, the cell read as 0: a draw, a goal count or a mark count.
    const char *const faults[] = {
        "123,T5\r\nS,1,x,2,1,1\r\n",             // a pick without a number
        "123,T5\r\nS,1,,2,1,1\r\n",              // an empty pick
        "123,T5\r\nS,1,\"\",2,1,1\r\n",          // an empty quoted pick
        "123,T5\r\nS,1,\"\"0\"\",2,1,1\r\n",     // only one pair of quotes comes off
        "123,T5\r\nS,1,'1',2,1,1\r\n",           // other quotes stay
        "123,T5\r\nM,1,1,1,1,x,1,1,1,1,1\r\n",   // a mark count without a number
        "123,T5\r\nM,1,1,1,1,1,1,1,1,2,,1\r\n",  // an empty mark name
        "123,T5\r\nM,1,1,1,1,2,0,-,1,1,1,1\r\n", // a mark name without a number
        "123,T5\r\nR,1,1,x,1,1,0\r\n",           // a result without a number
        "123,T5\r\nR,1,1,,1,1,0\r\n",            // an empty result
        "1,G2\r\nS,0,1,a,3\r\n",                 // a goal pick
        "\xEF\xBB\xBF"
        "123,T5\r\n",                            // a UTF-8 byte-order mark
        "123,T5\r\nS,1,0,2,1,1\xEF\xBB\xBF\r\n", // UTF-8 inside the file
        "123\x80,T5\r\n",                        // a byte no Shift-JIS text holds
        "123\x82,T5\r\n",                        // a lead byte without its second byte
        "123,T5\r\nS,1,0,2,1,1\x81\r\n",         // likewise at a line end
        "123,T5\r\nS,1,0,2,1,1\xFD\r\n",         // 0xFD
    };
    TicketBook book = book_of({make_entry(LotteryKind::toto5, "123"), make_entry(LotteryKind::totoGOAL2, "1"),
                               make_entry(LotteryKind::toto5, "x")});
    const TicketBook before = book;
    for (const char *fault : faults) {
        const CsvImport staged = parse_csv(fault, book);
        EXPECT_FALSE(staged.outcome.ok) << fault;
        EXPECT_EQ(staged.outcome.message, csv_failed_message()) << fault;
        EXPECT_TRUE(staged.csv_rows.empty()) << fault;
        EXPECT_TRUE(same_book(book, before)) << fault;
    }
    // Double-byte text and half-width kana are Shift-JIS; the quoted label of round x
    // (which has no number) still matches the header "0".
    EXPECT_TRUE(parse_csv("123\x89\xF1\xB1,T5\r\n", book).outcome.ok);
    EXPECT_EQ(parse_csv("\"0\",T5\r\n", book).entry, 2);
}

TEST(CsvImport, ALargeFileStopsAtTheBooksLimitsOrAtTheSizeBound)
{
    TicketBook book = book_of({make_entry(LotteryKind::toto5, "1")});
    // Reading stops once the singles can no longer fit: what follows is never read, so a
    // broken line behind them does not change the answer.
    QByteArray file = "1,T5\r\n";
    for (int i = 0; i < kMaxRecords + 1; ++i)
        file += "S,1,0,2,1,1\r\n";
    EXPECT_EQ(parse_csv(file + "X\r\n", book).outcome.message, out_of_memory_message());
    // Results lines add no record: a file with more of them than a pool holds records is
    // far beyond any file worth reading.
    QByteArray results = "1,T5\r\n";
    for (int i = 0; i < kMaxRecords + 1; ++i)
        results += "R,1,0,2,1,1,0\r\n";
    EXPECT_EQ(parse_csv(results, book).outcome.message, csv_failed_message());
    // A line far longer than any the export (or a spreadsheet quoting it) writes.
    const QByteArray spaces(600, ' ');
    EXPECT_EQ(parse_csv("1,T5\r\nS,1,0,2,1," + spaces + "1\r\n", book).outcome.message, csv_failed_message());
    EXPECT_TRUE(parse_csv("1,T5\r\nS,1,0,2,1," + spaces.left(200) + "1\r\n", book).outcome.ok);
}

TEST(CsvImport, ReadingAFileIsBoundedWhateverItsSize)
{
    QTemporaryDir dir;
    TicketBook book = book_of({make_entry(LotteryKind::toto5, "1")});
    const QString path = dir.filePath(QStringLiteral("big.csv"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QByteArray lines = "1,T5\r\n";
    for (int i = 0; i < kMaxRecords; ++i)
        lines += "S,1,0,2,1,1\r\n";
    f.write(lines);
    f.close();
    // Read in chunks: the lines come out as from the bytes.
    const CsvImport staged = read_csv(path, book);
    ASSERT_TRUE(staged.outcome.ok);
    EXPECT_EQ(staged.csv_rows.size(), size_t{kMaxRecords});
    EXPECT_EQ(staged.csv_rows.back(), parse_csv(lines, book).csv_rows.back());
    // Past the bound: refused before anything is read (the file is sparse, so the test
    // writes nothing).
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(int64_t{4} << 30));
    f.close();
    EXPECT_EQ(read_csv(path, book).outcome.message, csv_failed_message());
}

TEST(CsvExport, ALabelWithACommaIsRefusedWithItsReason)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.csv"));
    for (const char *label : {"1,2", ",", "12\r\n3"}) {
        const TicketBook book = book_of({make_entry(LotteryKind::toto, label)});
        const CsvExport out = export_csv(book, 0);
        EXPECT_FALSE(out.outcome.ok) << label;
        EXPECT_TRUE(out.outcome.message.endsWith(QStringLiteral("CSVファイルに書き出せません。"))) << label;
        EXPECT_EQ(save_csv(book, 0, path, QString()).message, out.outcome.message);
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_EQ(export_csv(book_of({make_entry(LotteryKind::toto, "1,2")}), 0).outcome.message,
              QStringLiteral("開催回に「,」が含まれているため、CSVファイルに書き出せません。"));
}

TEST(CsvImportFailures, SayWhichLineAndWhy)
{
    const TicketBook book = book_of({make_entry(LotteryKind::toto5, "123")});
    struct Case {
        QByteArray bytes;
        const char *detail;
    };
    const Case cases[] = {
        {csv({"123,T5", "S,1,0,2,1,1", "S,1,0"}), "3行目: S 行の値が足りないか、数でない値があります。"},
        {csv({"123,T5", "X,1,0,2,1,1"}), "2行目: 行の種類（S、M、R）が読めません。"},
        {csv({"124,T5"}), "1行目: 帳簿に同じ回・種別の開催回がありません。"},
        {csv({"123,ZZ"}), "1行目: 見出しの種別が読めません。"},
        {"\xEF\xBB\xBF" + csv({"123,T5"}), "1行目: UTF-8 のファイルです。Shift-JIS で保存してください。"},
        {csv({"123,T5", QByteArray(600, '1').constData()}), "2行目: 行が長すぎます。"},
        {QByteArray(), "ファイルが空です。"},
    };
    for (const Case &c : cases) {
        const CsvImport staged = parse_csv(c.bytes, book);
        EXPECT_FALSE(staged.outcome.ok);
        EXPECT_EQ(staged.outcome.message, csv_failed_message());
        EXPECT_EQ(staged.detail, QString::fromUtf8(c.detail)) << c.bytes.left(40).toStdString();
    }
}

TEST(CsvFileName, TheRoundsLabelAndKindWithoutWhatAFileNameCannotHold)
{
    const std::vector<std::tuple<LotteryKind, const char *, const char *>> cases = {
        {LotteryKind::toto, "1612", "1612_toto.csv"},
        {LotteryKind::minitotoA, "第１２３回", "第１２３回_minitoto-A.csv"},
        {LotteryKind::BIG100, "a/b:c d", "abcd_100円BIG.csv"},
        {LotteryKind::miniBIG, "", "miniBIG.csv"},
        {LotteryKind::totoGOAL3, "\t*?", "totoGOAL3.csv"},
    };
    for (const auto &[kind, kai, name] : cases) {
        RoundEntry round = make_entry(kind, "1");
        round.kai = BookText(sjis(kai));
        EXPECT_EQ(csv_file_name(round), QString::fromUtf8(name)) << kai;
    }
}
