#include "book/book_document.h"
#include "book/book_file.h"
#include "book/book_invariants.h"
#include "book/csv_import.h"
#include "results/winning_check.h"
#include "support/book_builders.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

namespace {

int pick(std::mt19937 &rng, int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(rng);
}

bool same_book(const TicketBook &a, const TicketBook &b)
{
    return a.entries == b.entries && a.singles == b.singles && a.multis == b.multis &&
           a.goal_singles == b.goal_singles && a.goal_multis == b.goal_multis;
}

// The purchases of an entry in chain order, as (type, pool index).
std::vector<std::pair<int, int>> chain_of(const TicketBook &book, int entry)
{
    std::vector<std::pair<int, int>> out;
    book.for_each_purchase(entry, [&](int type, int index) { out.emplace_back(type, index); });
    return out;
}

SinglePurchase random_single(std::mt19937 &rng, LotteryKind kind)
{
    SinglePurchase p;
    for (int s = 0; s < slot_count(kind); ++s)
        p.picks[static_cast<size_t>(s)] =
            static_cast<uint8_t>(is_match_kind(kind) ? 1 + pick(rng, 3) : pick(rng, 4));
    return p;
}

MultiPurchase random_multi(std::mt19937 &rng, LotteryKind kind)
{
    MultiPurchase m;
    for (int s = 0; s < slot_count(kind); ++s) {
        auto &marks = m.marks[static_cast<size_t>(s)];
        marks[static_cast<size_t>(pick(rng, marks_per_slot(kind)))] = true;
        if (pick(rng, 4) == 0)
            marks[static_cast<size_t>(pick(rng, marks_per_slot(kind)))] = true;
    }
    return m;
}

RoundEntry with_random_results(std::mt19937 &rng, RoundEntry e)
{
    for (int s = 0; s < slot_count(e.kind); ++s) {
        if (is_match_kind(e.kind))
            e.matches[static_cast<size_t>(s)].result = pick(rng, 5);
        else
            e.teams[static_cast<size_t>(s)].score = pick(rng, 6);
    }
    e.state = pick(rng, 3);
    for (int64_t &prize : e.prizes)
        prize = pick(rng, 100000);
    e.has_grade3 = e.kind == LotteryKind::toto && pick(rng, 2);
    return e;
}

CsvImport random_import(std::mt19937 &rng, const TicketBook &book, int entry)
{
    CsvImport staged;
    staged.entry = entry;
    staged.kind = book.entries[static_cast<size_t>(entry)].kind;
    const int rows = 1 + pick(rng, 5);
    for (int r = 0; r < rows; ++r) {
        CsvRow row;
        row.row_type = is_big_family(staged.kind) ? pick(rng, 2) * 2 : pick(rng, 3);
        for (int s = 0; s < slot_count(staged.kind); ++s) {
            row.values[static_cast<size_t>(s)] =
                static_cast<int16_t>(pick(rng, row.row_type == kCsvResults ? 6 : 3));
            row.marks[static_cast<size_t>(s)][static_cast<size_t>(pick(rng, marks_per_slot(staged.kind)))] =
                true;
        }
        MultiPurchase counted; // as the reader counts a multi line
        counted.marks = row.marks;
        count_multi(counted, staged.kind);
        row.doubles = counted.doubles;
        row.triples = counted.triples;
        row.combos = counted.combos;
        row.state = pick(rng, 3);
        row.prize_count = row.state == kPrizeEntered ? 1 + pick(rng, 6) : 0;
        for (int g = 0; g < row.prize_count; ++g)
            row.prizes[static_cast<size_t>(g)] = pick(rng, 50000);
        staged.csv_rows.push_back(row);
    }
    return staged;
}

// One change of every kind the window makes, chosen at random; refusals are allowed.
void random_change(BookDocument &d, std::mt19937 &rng)
{
    const TicketBook &b = d.book();
    const int n = b.entry_count();
    const int e = n > 0 ? pick(rng, n) : -1;
    const int op = n > 0 ? pick(rng, 13) : 0;
    const LotteryKind kind = e >= 0 ? b.entries[static_cast<size_t>(e)].kind : LotteryKind::toto;
    const auto chain = e >= 0 ? chain_of(b, e) : std::vector<std::pair<int, int>>{};
    switch (op) {
    case 0: (void)d.add_round(make_entry(kind_from_code(pick(rng, kKindCount)), "7")); break;
    case 1: {
        RoundEntry renamed = b.entries[static_cast<size_t>(e)];
        renamed.kai = BookText(QByteArray::number(pick(rng, 9999)));
        renamed.has_grade5 = kind == LotteryKind::BIG && pick(rng, 2);
        (void)d.edit_round(e, renamed);
        break;
    }
    case 2: (void)d.store_single(e, std::nullopt, random_single(rng, kind)); break;
    case 3: (void)d.store_multi(e, std::nullopt, random_multi(rng, kind)); break;
    case 4:
        for (const auto &[type, index] : chain) {
            if (type == kSingle) {
                (void)d.store_single(e, index, random_single(rng, kind));
                break;
            }
            (void)d.store_multi(e, index, random_multi(rng, kind));
            break;
        }
        break;
    case 5: (void)d.enter_results(e, with_random_results(rng, b.entries[static_cast<size_t>(e)])); break;
    case 6:
        if (!chain.empty()) {
            const auto &[type, index] = chain[static_cast<size_t>(pick(rng, static_cast<int>(chain.size())))];
            (void)d.delete_purchase(e, type, index);
        }
        break;
    case 7: (void)d.delete_round(e); break;
    case 8: (void)d.move_round(e, pick(rng, 2) ? e - 1 : e + 1); break;
    case 9:
        (void)d.apply_updates(BookDocument::Source::csv, {csv_update(b, random_import(rng, b, e))});
        break;
    case 10:
        (void)d.apply_updates(BookDocument::Source::download,
                              {new_round_update(with_random_results(rng, make_entry(kind, "8")))});
        break;
    case 11:
        (void)d.apply_updates(
            BookDocument::Source::download,
            {results_update(e, with_random_results(rng, b.entries[static_cast<size_t>(e)]))});
        break;
    default: {
        std::vector<NewPurchase> tickets(static_cast<size_t>(pick(rng, 4)));
        for (NewPurchase &t : tickets) {
            if (is_big_family(kind) || pick(rng, 2))
                t = random_single(rng, kind);
            else
                t = random_multi(rng, kind);
        }
        (void)d.add_tickets(e, tickets);
        break;
    }
    }
}

} // namespace

// The model: after k done steps the book is states[k]. Random changes, undos, redos and
// saves; undoing and redoing all the way must give back every state exactly, and " * "
// must show exactly when the book is not the one saved.
TEST(BookDocument, UndoAndRedoGiveBackEveryStateExactly)
{
    QTemporaryDir dir;
    for (unsigned seed = 1; seed <= 25; ++seed) {
        std::mt19937 rng(seed);
        BookDocument d(result_chk);
        d.adopt(random_book(rng, 1 + pick(rng, 6), pick(rng, 30)));
        std::vector<TicketBook> states{d.book()};
        std::vector<QByteArray> bytes{serialize_book(d.book())};
        size_t done = 0;
        size_t clean = 0; // the state saved or opened; SIZE_MAX when no longer reachable
        for (int step = 0; step < 80; ++step) {
            const int what = pick(rng, 10);
            if (what == 0 && d.can_undo()) {
                d.undo();
                --done;
            } else if (what == 1 && d.can_redo()) {
                d.redo();
                ++done;
            } else if (what == 2) {
                ASSERT_TRUE(d.save(dir.filePath(QStringLiteral("b.yrm"))).ok);
                clean = done;
            } else {
                const size_t before = static_cast<size_t>(d.history().step_count());
                const bool could_redo = d.can_redo();
                random_change(d, rng);
                if (d.can_redo() == could_redo && static_cast<size_t>(d.history().step_count()) == before)
                    ASSERT_TRUE(same_book(d.book(), states[done])) << "a change that recorded no step";
                else {
                    states.resize(++done);
                    bytes.resize(done);
                    states.push_back(d.book());
                    bytes.push_back(serialize_book(d.book()));
                    if (clean >= done && clean != SIZE_MAX)
                        clean = SIZE_MAX;
                }
            }
            ASSERT_TRUE(same_book(d.book(), states[done])) << "seed " << seed << " step " << step;
            ASSERT_EQ(d.modified(), done != clean) << "seed " << seed << " step " << step;
        }
        while (d.can_undo()) {
            d.undo();
            --done;
            ASSERT_EQ(serialize_book(d.book()), bytes[done]) << "seed " << seed;
            ASSERT_TRUE(same_book(d.book(), states[done]));
            ASSERT_TRUE(check_invariants(d.book()).ok);
            ASSERT_EQ(d.modified(), done != clean);
        }
        ASSERT_EQ(done, 0u);
        while (d.can_redo()) {
            d.redo();
            ++done;
            ASSERT_EQ(serialize_book(d.book()), bytes[done]) << "seed " << seed;
            ASSERT_TRUE(same_book(d.book(), states[done]));
            ASSERT_EQ(d.modified(), done != clean);
        }
        ASSERT_EQ(done + 1, states.size());
    }
}

TEST(BookDocument, TheOldestStepsGoPastTheBound)
{
    std::mt19937 rng(7);
    BookDocument d(result_chk);
    d.adopt(random_book(rng, 4, 10));
    d.history().set_bounds(5, BookHistory::kDefaultMaxBytes);
    std::vector<QByteArray> bytes{serialize_book(d.book())};
    while (bytes.size() < 12) {
        const int before = d.history().step_count();
        const QByteArray was = serialize_book(d.book());
        random_change(d, rng);
        if (d.history().step_count() != before || serialize_book(d.book()) != was)
            bytes.push_back(serialize_book(d.book()));
    }
    EXPECT_EQ(d.history().step_count(), 5);
    for (size_t k = bytes.size() - 1; d.can_undo(); --k) {
        d.undo();
        EXPECT_EQ(serialize_book(d.book()), bytes[k - 1]);
    }
    EXPECT_EQ(serialize_book(d.book()), bytes[bytes.size() - 6]);
    EXPECT_TRUE(d.modified()); // the opened state can no longer be reached

    // A bound in bytes keeps at least the last step.
    d.history().set_bounds(200, 1);
    EXPECT_EQ(d.history().step_count(), 1);
}

TEST(BookDocument, ARefusedChangeRecordsNothing)
{
    BookDocument d{BookDocument::no_grading()};
    TicketBook book;
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto5)).ok);
    for (int i = 0; i < kMaxRecords; ++i)
        book.singles.push_back(SinglePurchase{});
    d.adopt(book);
    const QByteArray before = serialize_book(d.book());
    const Outcome refused = d.store_single(0, std::nullopt, make_single({1, 1, 1, 1, 1}));
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.message, out_of_memory_message());
    EXPECT_FALSE(d.can_undo());
    EXPECT_FALSE(d.modified());
    EXPECT_EQ(serialize_book(d.book()), before);
}

TEST(BookDocument, TheReportNamesTheChangedEntriesAndTheStepsEntry)
{
    BookDocument d{BookDocument::no_grading()};
    std::vector<BookChange> heard;
    d.set_listener([&](const BookChange &c) { heard.push_back(c); });
    ASSERT_TRUE(d.add_round(make_entry(LotteryKind::toto, "1")).ok);
    ASSERT_TRUE(d.add_round(make_entry(LotteryKind::BIG, "2")).ok);
    ASSERT_TRUE(d.store_single(0, std::nullopt, make_single(std::vector<int>(13, 1))).ok);
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_TRUE(heard[1].rows_reshaped);
    EXPECT_EQ(heard[1].focus, 1);
    EXPECT_FALSE(heard[2].rows_reshaped);
    EXPECT_EQ(heard[2].entries, std::vector<int>{0});
    EXPECT_EQ(heard[2].focus, 0);
    EXPECT_EQ(d.undo_name(), QStringLiteral("シングル購入"));

    ASSERT_TRUE(d.move_round(0, 1).ok);
    EXPECT_EQ(heard.back().entries, (std::vector<int>{0, 1}));
    EXPECT_EQ(heard.back().focus, 1);
    EXPECT_TRUE(heard.back().rows_reordered);
    d.undo();
    EXPECT_EQ(heard.back().focus, 0);
    EXPECT_TRUE(heard.back().rows_reordered);
    EXPECT_EQ(d.redo_name(), QStringLiteral("下へ移動"));
    ASSERT_TRUE(d.delete_round(0).ok);
    d.undo();
    EXPECT_TRUE(heard.back().rows_reshaped);
    EXPECT_EQ(heard.back().focus, 0);
    EXPECT_EQ(d.book().entries[0].tickets, 1);
    EXPECT_FALSE(d.can_redo() &&
                 d.redo_name() == QStringLiteral("下へ移動")); // a new step drops the undone ones
}

TEST(BookDocument, ManyTicketsGoInOrderAsOneStepOrNotAtAll)
{
    BookDocument d(result_chk);
    TicketBook book;
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto5, "1")).ok);
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::BIG, "2")).ok);
    ASSERT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 1})).ok);
    d.adopt(book);
    const QByteArray before = serialize_book(d.book());
    const std::vector<NewPurchase> tickets = {make_multi({"110", "100", "111", "100", "100"}),
                                              make_single({2, 3, 2, 3, 2}), make_single({3, 3, 3, 3, 3})};
    ASSERT_TRUE(d.add_tickets(0, tickets).ok);
    EXPECT_EQ(d.undo_name(), QStringLiteral("まとめて入力"));
    EXPECT_EQ(d.history().step_count(), 1);
    EXPECT_EQ(d.book().entries[0].tickets, 1 + 6 + 2);
    const std::vector<Ticket> held = tickets_of(d.book(), 0);
    ASSERT_EQ(held.size(), 4u);
    EXPECT_EQ(std::get<MultiPurchase>(held[1]).combos, 6);
    EXPECT_EQ(held[2], tickets[1]);
    EXPECT_EQ(held[3], tickets[2]);
    EXPECT_TRUE(check_invariants(d.book()).ok);
    d.undo();
    EXPECT_EQ(serialize_book(d.book()), before);

    // Refusals: a multi on a BIG round, a pool that would pass its limit, a round whose
    // tickets would pass 32 bits. Nothing is added, no step recorded.
    const auto refused = [&](int entry, const std::vector<NewPurchase> &list) {
        const QByteArray was = serialize_book(d.book());
        const int steps = d.history().step_count();
        const Outcome o = d.add_tickets(entry, list);
        EXPECT_EQ(serialize_book(d.book()), was);
        EXPECT_EQ(d.history().step_count(), steps);
        return o.ok ? QString() : o.message;
    };
    std::vector<NewPurchase> big = {make_single(std::vector<int>(14, 1)),
                                    make_multi(std::vector<const char *>(14, "110"))};
    EXPECT_FALSE(refused(1, big).isEmpty());
    std::vector<NewPurchase> full(static_cast<size_t>(kMaxRecords), make_single({1, 1, 1, 1, 1}));
    EXPECT_EQ(refused(0, full), out_of_memory_message()); // one single is there already
    full.pop_back();
    ASSERT_TRUE(d.add_tickets(0, full).ok);
    EXPECT_EQ(d.book().entries[0].tickets, kMaxRecords);

    TicketBook rich;
    ASSERT_TRUE(add_entry(rich, make_entry(LotteryKind::toto5, "3")).ok);
    rich.entries[0].tickets = kMaxRoundTickets - 5;
    d.adopt(rich);
    MultiPurchase six = make_multi({"110", "111", "100", "100", "100"});
    EXPECT_EQ(refused(0, {six}), out_of_memory_message());
    ASSERT_TRUE(d.add_tickets(0, {make_single({1, 1, 1, 1, 1}), make_single({1, 1, 1, 1, 1})}).ok);
}

namespace {

TEST(BookDocumentBatch, ResultsOfSeveralRoundsAreOneStepAndAllOrNothing)
{
    BookDocument d(result_chk);
    TicketBook book;
    for (const LotteryKind kind : {LotteryKind::toto, LotteryKind::totoGOAL2, LotteryKind::BIG})
        book.entries.push_back(make_entry(kind));
    ASSERT_TRUE(add_single(book, 0, make_single(std::vector<int>(13, kHomeWin))).ok);
    d.adopt(book);
    const TicketBook before = d.book();

    RoundEntry toto = make_entry(LotteryKind::toto, "other");
    for (MatchSlot &m : toto.matches)
        m.result = kHomeWin;
    toto.state = kPrizeEntered;
    toto.prizes[0] = 5000;
    RoundEntry big = make_entry(LotteryKind::BIG);
    big.state = kPrizeRefund;
    big.has_grade5 = true;
    // A target of another kind refuses the whole batch: nothing written, no step.
    EXPECT_FALSE(
        d.apply_updates(BookDocument::Source::batch, {results_update(0, toto), results_update(1, big)}).ok);
    EXPECT_TRUE(same_book(d.book(), before));
    EXPECT_FALSE(d.can_undo());

    ASSERT_TRUE(
        d.apply_updates(BookDocument::Source::batch, {results_update(0, toto), results_update(2, big)}).ok);
    EXPECT_EQ(d.book().entries[0].kai, before.entries[0].kai); // names stay
    EXPECT_EQ(d.book().entries[0].hits[0], 1);                 // graded: the ticket wins 1等
    EXPECT_EQ(d.book().entries[2].state, kPrizeRefund);
    EXPECT_TRUE(d.book().entries[2].has_grade5);
    EXPECT_EQ(d.undo_name(), QString::fromUtf8("結果を一括更新"));
    d.undo();
    EXPECT_TRUE(same_book(d.book(), before));
    EXPECT_FALSE(d.modified());
}

} // namespace

TEST(BookHistory, ANewStepAfterSavingAtAFullHistoryIsAwayFromTheSavedPoint)
{
    BookHistory history;
    history.set_bounds(3, BookHistory::kDefaultMaxBytes);
    for (int k = 0; k < 3; ++k)
        history.push(BookStep{});
    history.mark_clean();
    history.push(BookStep{}); // the oldest step goes; the saved point moves with it
    EXPECT_EQ(history.step_count(), 3);
    EXPECT_FALSE(history.at_clean());
    history.take_undo();
    EXPECT_TRUE(history.at_clean());
}

TEST(BookHistory, AStepCountsWhatItKeepsOfEveryPool)
{
    std::mt19937 rng(3);
    const TicketBook book = random_book(rng, 40, 300);
    // Writes every record of one pool, or of the rounds, in one step.
    const auto step_over = [&](auto member) {
        TicketBook changed = book;
        BookStep step;
        start_recording(changed, step);
        auto &list = changed.*member;
        for (size_t i = 0; i < list.size(); ++i)
            (void)list[i];
        stop_recording(changed);
        return step;
    };
    const auto expect_counted = [&](auto member, auto log) {
        const BookStep step = step_over(member);
        const auto &list = book.*member;
        ASSERT_GT(list.size(), 0u);
        EXPECT_EQ(step.bytes() - sizeof(BookStep), (step.*log).bytes());
        EXPECT_GE((step.*log).bytes(), list.size() * sizeof(list[0]));
    };
    expect_counted(&TicketBook::entries, &BookStep::entries);
    expect_counted(&TicketBook::singles, &BookStep::singles);
    expect_counted(&TicketBook::multis, &BookStep::multis);
    expect_counted(&TicketBook::goal_singles, &BookStep::goal_singles);
    expect_counted(&TicketBook::goal_multis, &BookStep::goal_multis);
}

TEST(BookDocument, AChangeThatLeavesTheBookAsItWasIsNoStep)
{
    BookDocument d(result_chk);
    TicketBook book;
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto)).ok);
    d.adopt(book);
    EXPECT_TRUE(d.edit_round(0, d.book().entries[0]).ok);
    EXPECT_FALSE(d.can_undo());
    EXPECT_FALSE(d.modified());
    RoundEntry renamed = d.book().entries[0];
    renamed.kai = "101";
    EXPECT_TRUE(d.edit_round(0, renamed).ok);
    EXPECT_TRUE(d.can_undo());
    EXPECT_TRUE(d.modified());
}
