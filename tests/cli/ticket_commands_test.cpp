#include "book/book_file.h"
#include "cli/cli_commands.h"
#include "entry/purchase_entry.h"
#include "support/book_builders.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

// The purchases as `add` gives them back: a multi with one mark on every slot is a single.
std::vector<Ticket> as_read_back(std::vector<Ticket> tickets, LotteryKind kind)
{
    for (Ticket &t : tickets) {
        const auto *m = std::get_if<MultiPurchase>(&t);
        if (!m || m->combos != 1)
            continue;
        SinglePurchase s;
        for (int i = 0; i < slot_count(kind); ++i) {
            const auto &slot = m->marks[static_cast<size_t>(i)];
            const int mark = static_cast<int>(std::find(slot.begin(), slot.end(), true) - slot.begin());
            s.picks[static_cast<size_t>(i)] =
                static_cast<uint8_t>(is_match_kind(kind) ? kResultOfMark[static_cast<size_t>(mark)] : mark);
        }
        t = s;
    }
    return tickets;
}

QByteArray file_bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

// Every round of random books printed by `tickets` and fed to `add` on a copy of the round
// without purchases: the copy holds the same purchases.
TEST(CliTickets, TicketsFedToAddGiveTheSamePurchasesBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.yrm"));
    const QString lines = dir.filePath(QStringLiteral("lines.txt"));
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::mt19937 rng(seed);
        TicketBook book = random_book(rng, 8, 120);
        const int rounds = book.entry_count();
        for (int e = 0; e < rounds; ++e) {
            RoundEntry copy = book.entries[static_cast<size_t>(e)];
            copy.first_type = kNoPurchase;
            copy.first_index = 0;
            copy.tickets = 0;
            ASSERT_TRUE(add_entry(book, copy).ok);
        }
        ASSERT_TRUE(write_data(book, path).ok);
        std::vector<int> checked;
        for (int e = 0; e < rounds; ++e) {
            testing::internal::CaptureStdout();
            ASSERT_EQ(cli_tickets({path, QString::number(e + 1)}), 0);
            const std::string printed = testing::internal::GetCapturedStdout();
            QFile out(lines);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(printed.data(), static_cast<qint64>(printed.size()));
            out.close();
            testing::internal::CaptureStdout();
            testing::internal::CaptureStderr();
            const int status = cli_add({path, QString::number(rounds + e + 1), lines});
            const std::string added = testing::internal::GetCapturedStdout();
            const std::string refused = testing::internal::GetCapturedStderr();
            // Random multis may pass what the multi dialog allows; `add` refuses those lines.
            bool within = true;
            const LotteryKind kind = book.entries[static_cast<size_t>(e)].kind;
            for (const Ticket &t : tickets_of(book, e))
                if (const auto *m = std::get_if<MultiPurchase>(&t))
                    within = within && multi_within_limits(*m, kind);
            if (!within) {
                EXPECT_EQ(status, 1);
                EXPECT_NE(refused.find(": マルチは500口までです\n"), std::string::npos) << refused;
                continue;
            }
            ASSERT_EQ(status, 0) << refused;
            EXPECT_EQ(added.rfind("added\t", 0), 0u) << added;
            checked.push_back(e);
        }
        const BookReadResult read = read_data(path);
        ASSERT_TRUE(read.outcome.ok);
        EXPECT_GT(checked.size(), 0u);
        for (int e = 0; e < rounds; ++e) {
            const LotteryKind kind = book.entries[static_cast<size_t>(e)].kind;
            if (std::find(checked.begin(), checked.end(), e) == checked.end()) {
                EXPECT_TRUE(tickets_of(read.book, rounds + e).empty());
                continue;
            }
            EXPECT_EQ(tickets_of(read.book, rounds + e), as_read_back(tickets_of(book, e), kind))
                << "seed " << seed << " round " << e;
        }
    }
}

TEST(CliTickets, APickTheBookHoldsAsNoneIsRefusedAndTheBookStaysAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.yrm"));
    TicketBook book;
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto5)).ok);
    ASSERT_TRUE(add_single(book, 0, make_single({1, 0, 3, 2, 1})).ok);
    ASSERT_TRUE(write_data(book, path).ok);
    const QString lines = dir.filePath(QStringLiteral("lines.txt"));
    testing::internal::CaptureStdout();
    ASSERT_EQ(cli_tickets({path, QStringLiteral("1")}), 0);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "1 ? 0 2 1\n");
    QFile out(lines);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(printed.data(), static_cast<qint64>(printed.size()));
    out.close();
    const QByteArray before = file_bytes(path);
    testing::internal::CaptureStderr();
    EXPECT_EQ(cli_add({path, QStringLiteral("1"), lines}), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "1: 「?」は読めません\n");
    EXPECT_EQ(file_bytes(path), before);
}

// A file of bad lines names a hundred of them, counts the rest, and shows a control character
// rather than sending it; a file past the cap is refused unread.
TEST(CliTickets, AddSaysLittleOfManyBadLinesAndRefusesAnOversizedFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.yrm"));
    TicketBook book;
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto5)).ok);
    ASSERT_TRUE(write_data(book, path).ok);
    const QByteArray before = file_bytes(path);
    const QString lines = dir.filePath(QStringLiteral("lines.txt"));
    auto add = [&](const QByteArray &text) {
        QFile out(lines);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text);
        out.close();
        testing::internal::CaptureStderr();
        EXPECT_EQ(cli_add({path, QStringLiteral("1"), lines}), 1);
        return testing::internal::GetCapturedStderr();
    };
    const std::string said = add(QByteArray("1 0 2 1 \0\n", 10).repeated(250));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 101);
    EXPECT_EQ(said.substr(0, said.find('\n')), "1: 「\\0」は読めません");
    EXPECT_NE(said.find("\n…: ほか150行\n"), std::string::npos);
    EXPECT_EQ(said.find('\0'), std::string::npos);

    const std::string refused = add(QByteArray("1 0 2 1 0\n").repeated(8 * 1024 * 1024 / 10 + 1));
    EXPECT_NE(refused.find("ファイルが大きすぎます（8 MiBまでです）。"), std::string::npos) << refused;
    EXPECT_EQ(file_bytes(path), before);
}
