// Times 途中経過: the whole table (the counts now and for every outcome of every open slot)
// computed afresh, as after each supposition, for a round of 32,767 multis of up to 500
// combinations, a BIG round of 32,767 singles and a round of 100 tickets; then a supposition
// in the window on the largest round, recounted, refilled and painted (offscreen).
#include "best_ms.h"
#include "main_window/form_live.h"
#include "results/live_counts.h"
#include "results/winning_check.h"
#include "ui/ui_services.h"
#include "yes_ui.h"

#include <QApplication>
#include <cstdio>
#include <random>

namespace {

// A round on its match day: the first half of its slots decided (one cancelled), the rest
// open; `multis` multis of up to 500 combinations and `singles` singles, picked at random.
TicketBook match_day_round(LotteryKind kind, int singles, int multis, unsigned seed)
{
    std::mt19937 rng(seed);
    const auto roll = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    RoundEntry e;
    e.kind = kind;
    e.has_grade3 = e.has_grade5 = e.has_grade6 = true;
    const int n = slot_count(kind);
    for (int s = 0; s < n / 2; ++s) {
        const int code = s == 0 ? (is_match_kind(kind) ? kCancelled : kScoreCancelled)
                                : outcome_result(kind, roll(outcome_count(kind)));
        (is_match_kind(kind) ? e.matches[static_cast<size_t>(s)].result
                             : e.teams[static_cast<size_t>(s)].score) = code;
    }
    TicketBook book;
    if (!add_entry(book, e).ok)
        std::fprintf(stderr, "no round\n");
    std::vector<NewPurchase> tickets;
    for (int t = 0; t < singles; ++t) {
        SinglePurchase p;
        for (int s = 0; s < n; ++s) {
            const int o = roll(outcome_count(kind));
            p.picks[static_cast<size_t>(s)] =
                static_cast<uint8_t>(is_match_kind(kind) ? outcome_result(kind, o) : o);
        }
        tickets.emplace_back(p);
    }
    const int width = marks_per_slot(kind);
    for (int t = 0; t < multis; ++t) {
        MultiPurchase m;
        int64_t combos = 1;
        for (int s = 0; s < n; ++s) {
            const int marks = combos * 3 <= 500 && roll(2) ? 2 + roll(2) : 1;
            combos *= marks;
            const int start = roll(width);
            for (int k = 0; k < marks; ++k)
                m.marks[static_cast<size_t>(s)][static_cast<size_t>((start + k) % width)] = true;
        }
        tickets.emplace_back(m);
    }
    if (!add_purchases(book, 0, tickets).ok)
        std::fprintf(stderr, "the tickets did not fit\n");
    result_chk(book, 0);
    return book;
}

// The table afresh after a supposition on a slot that changes from run to run.
double table_ms(const TicketBook &book)
{
    const RoundEntry &e = book.entries[0];
    const int n = slot_count(e.kind);
    int run = 0;
    int64_t sink = 0;
    const double ms = best_ms(
        [&] {
            Suppositions supposed{};
            const int slot = n / 2 + run % (n - n / 2);
            supposed[static_cast<size_t>(slot)] = outcome_result(e.kind, run % outcome_count(e.kind));
            ++run;
            const LiveCounts live = live_counts(book, 0, supposed);
            sink += live.now[0] + live.if_ended[static_cast<size_t>(n - 1)][0][6];
        },
        9);
    if (sink < 0)
        std::fprintf(stderr, "impossible\n");
    return ms;
}

// Not a cancelled answer for any question: the window asks none here.

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    struct Row {
        const char *name;
        TicketBook book;
        double target_ms;
    };
    Row rows[] = {
        {"toto, 32,767 multis of <= 500 combinations", match_day_round(LotteryKind::toto, 0, kMaxRecords, 1),
         50},
        {"totoGOAL, 32,767 multis of <= 500 comb.", match_day_round(LotteryKind::totoGOAL, 0, kMaxRecords, 2),
         50},
        {"BIG, 32,767 singles", match_day_round(LotteryKind::BIG, kMaxRecords, 0, 3), 50},
        {"toto, 100 tickets (50 singles, 50 multis)", match_day_round(LotteryKind::toto, 50, 50, 4), 1},
        {"BIG, 100 singles", match_day_round(LotteryKind::BIG, 100, 0, 5), 1},
    };
    std::printf("途中経過: the whole table afresh, as after a supposition (best of 9)\n");
    std::printf("%-44s %12s %10s %10s\n", "round", "tickets", "ms", "target ms");
    for (const Row &row : rows)
        std::printf("%-44s %12lld %10.3f %10.0f\n", row.name,
                    static_cast<long long>(row.book.entries[0].tickets), table_ms(row.book), row.target_ms);

    // The window on the largest round: a key press recounts, refills the rows and paints.
    SharedState state(result_chk);
    state.document.adopt(match_day_round(LotteryKind::toto, 0, kMaxRecords, 1));
    state.current = 0;
    YesUi ui;
    FormLive window(state, ui, [](const RoundEntry &) { return Outcome::success(); });
    window.load();
    window.show();
    QApplication::processEvents();
    int run = 0;
    const double suppose_ms = best_ms(
        [&] {
            window.suppose(7 + run % 6, run % 3);
            ++run;
            window.repaint();
        },
        9);
    std::printf("window: one supposition on the 32,767-multi round, recounted and painted: %.3f ms\n",
                suppose_ms);
    return 0;
}
