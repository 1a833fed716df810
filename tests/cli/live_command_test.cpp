#include "book/book_file.h"
#include "cli/cli_commands.h"
#include "results/live_counts.h"
#include "results/winning_check.h"
#include "support/book_builders.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

namespace {

struct LiveRun {
    int status;
    std::string out;
    std::string err;
};

LiveRun live(const QStringList &args)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = cli_live(args);
    const std::string out = testing::internal::GetCapturedStdout();
    return {status, out, testing::internal::GetCapturedStderr()};
}

// One line's counts as the list's own check gives them with `supposed` entered as results.
std::string counts(const TicketBook &book, int entry, const Suppositions &supposed,
                   RoundEntry *graded = nullptr)
{
    TicketBook copy = book;
    const RoundEntry &e = book.entries[entry];
    copy.entries[entry] = supposed_round(e, supposed);
    result_chk(copy, entry);
    std::string fields;
    for (int g = 1; g <= kMaxGrades; ++g)
        fields +=
            '\t' + (grade_exists(e, g) ? std::to_string(copy.entries[entry].hits[g - 1]) : std::string("-"));
    if (graded)
        *graded = copy.entries[entry];
    return fields + '\t' + std::to_string(copy.entries[entry].hits[6]);
}

// What `live` is to print for the round with `supposed`.
std::string expected_output(const TicketBook &book, int entry, const Suppositions &supposed)
{
    const RoundEntry &e = book.entries[entry];
    if (e.tickets == 0 || e.state == kPrizeRefund)
        return "now\t-\t-\t-\t-\t-\t-\t-\n";
    RoundEntry graded;
    std::string out = "now" + counts(book, entry, supposed, &graded) + '\n';
    for (int s = 0; s < slot_count(e.kind); ++s) {
        if (!slot_undecided(graded, s))
            continue;
        for (int o = 0; o < outcome_count(e.kind); ++o) {
            Suppositions ended = supposed;
            ended[s] = outcome_result(e.kind, o);
            out += std::to_string(s + 1) + '\t' + outcome_mark(e.kind, o).toStdString() +
                   counts(book, entry, ended) + '\n';
        }
    }
    if (results_complete(graded) && e.state == kPrizeEntered)
        out += "won\t" + integer_text(graded.won).toStdString() + '\n';
    return out;
}

} // namespace

// Random books of every kind, random suppositions (full-width now and then): the lines as
// the list's check counts the round with the suppositions entered.
TEST(CliLive, PrintsTheCountsOfTheRoundAndOfEachOutcomeLeft)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.yrm"));
    int slot_lines = 0;
    int won_lines = 0;
    for (unsigned seed = 1; seed <= 8; ++seed) {
        std::mt19937 rng(seed);
        const TicketBook written = random_book(rng, 12, 150);
        ASSERT_TRUE(write_data(written, path).ok);
        const BookReadResult read = read_data(path);
        ASSERT_TRUE(read.outcome.ok);
        TicketBook book = read.book;
        grade_book(book);
        for (int entry = 0; entry < book.entry_count(); ++entry) {
            const RoundEntry &e = book.entries[entry];
            // Now and then every open slot, so that the round is decided.
            const bool all = rng() % 3 == 0;
            Suppositions supposed{};
            QStringList args = {path, QString::number(entry + 1)};
            for (int s = slot_count(e.kind) - 1; s >= 0; --s) {
                if (!slot_undecided(e, s) || (!all && rng() % 2 == 0))
                    continue;
                const int o = static_cast<int>(rng() % static_cast<unsigned>(outcome_count(e.kind)));
                supposed[s] = outcome_result(e.kind, o);
                QString arg = QStringLiteral("%1=%2").arg(s + 1).arg(outcome_mark(e.kind, o));
                if (rng() % 4 == 0)
                    for (QChar &c : arg)
                        if (c.isDigit())
                            c = QChar(c.unicode() - u'0' + 0xFF10);
                args << arg;
            }
            const LiveRun run = live(args);
            const std::string expected = expected_output(book, entry, supposed);
            ASSERT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(run.out, expected) << "seed " << seed << " row " << entry + 1;
            slot_lines += static_cast<int>(std::count(expected.begin(), expected.end(), '\n')) - 1;
            won_lines += expected.find("won\t") != std::string::npos ? 1 : 0;
        }
    }
    EXPECT_GT(slot_lines, 120);
    EXPECT_GT(won_lines, 4);
}

// Every fault: its message on stderr, exit 1 (missing arguments: the usage), nothing on stdout.
TEST(CliLive, RefusesWhatDoesNotFitTheRound)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.yrm"));
    TicketBook book;
    RoundEntry toto = make_entry(LotteryKind::toto);
    toto.matches[0].result = kHomeWin;
    toto.matches[1].result = kCancelled;
    ASSERT_TRUE(add_entry(book, toto).ok);
    ASSERT_TRUE(add_single(book, 0, make_single(std::vector<int>(13, kHomeWin))).ok);
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::totoGOAL2)).ok);
    ASSERT_TRUE(add_single(book, 1, make_single({0, 1, 2, 3})).ok);
    ASSERT_TRUE(write_data(book, path).ok);
    const QString missing = dir.filePath(QStringLiteral("missing.yrm"));

    struct Case {
        QStringList args;
        const char *err; // "" for the reader's own message
    };
    const Case cases[] = {
        {{path, QStringLiteral("1"), QStringLiteral("1=1")}, "枠1は結果が入力済みです。\n"},
        {{path, QStringLiteral("1"), QStringLiteral("2=0")}, "枠2は結果が入力済みです。\n"},
        {{path, QStringLiteral("1"), QStringLiteral("14=1")}, "枠14はありません（1～13）。\n"},
        {{path, QStringLiteral("2"), QStringLiteral("0=1")}, "枠0はありません（1～4）。\n"},
        {{path, QStringLiteral("1"), QStringLiteral("99999999999=1")},
         "枠99999999999はありません（1～13）。\n"},
        {{path, QStringLiteral("1"), QStringLiteral("3=1"), QStringLiteral("３=2")},
         "枠3が2回指定されています。\n"},
        {{path, QStringLiteral("1"), QStringLiteral("3=3")}, "「3」はこの種別にない印です。\n"},
        {{path, QStringLiteral("2"), QStringLiteral("1=4")}, "「4」はこの種別にない印です。\n"},
        {{path, QStringLiteral("1"), QStringLiteral("3=")}, "「」はこの種別にない印です。\n"},
        {{path, QStringLiteral("1"), QStringLiteral("3=10")}, "「10」はこの種別にない印です。\n"},
        {{path, QStringLiteral("1"), QStringLiteral("3")}, "「3」は 枠=印 の形ではありません。\n"},
        {{path, QStringLiteral("1"), QStringLiteral("=1")}, "「=1」は 枠=印 の形ではありません。\n"},
        {{path, QStringLiteral("1"), QStringLiteral("a=1")}, "「a=1」は 枠=印 の形ではありません。\n"},
        {{path, QStringLiteral("0")}, "一覧の0行目に開催回がありません。\n"},
        {{path, QStringLiteral("3"), QStringLiteral("1=1")}, "一覧の3行目に開催回がありません。\n"},
        {{path, QStringLiteral("x")}, "一覧のx行目に開催回がありません。\n"},
        {{missing, QStringLiteral("1")}, ""},
    };
    for (const Case &c : cases) {
        const LiveRun run = live(c.args);
        EXPECT_EQ(run.status, 1) << c.args.join(u' ').toStdString();
        EXPECT_EQ(run.out, "");
        if (*c.err)
            EXPECT_EQ(run.err, c.err);
        else
            EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(live({path}).status, kUsageFault);
    EXPECT_EQ(live({}).status, kUsageFault);
}
