// yorimo-cli download end to end, against the local test store.
#include "batch_store.h"
#include "book/book_file.h"
#include "download/page_readers.h"
#include "store_pages.h"
#include "support/book_builders.h"
#include "test_store.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace store_pages;

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

struct CliRun {
    int status;
    QByteArray out, err;
};

// Any command of the tool, with the store at `store`. Each run has a TEMP of its own, so
// tests running side by side never share a backup copy's folder.
CliRun run_tool(const QString &store, const QStringList &args, const QByteArray &input = {})
{
    QProcess cli;
    QTemporaryDir temp;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TEMP"), temp.path());
    env.insert(QStringLiteral("YORIMO_STORE_URL"), store);
    env.insert(QStringLiteral("YORIMO_TEAMLIST_URL"), TestStore::refused_url());
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(YORIMO_CLI), args);
    cli.write(input);
    cli.closeWriteChannel();
    EXPECT_TRUE(cli.waitForFinished(60000));
    return {cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
}

CliRun run_cli(const QString &store, const QStringList &args, const QByteArray &input = {})
{
    return run_tool(
        store,
        QStringList{QStringLiteral("download"), QStringLiteral("--today"), QStringLiteral("2024/01/10")} +
            args,
        input);
}

class CliDownload : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "cli_download_test";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }

    void SetUp() override
    {
        std::vector<ResultRow> rows;
        for (int i = 0; i < 13; ++i)
            rows.push_back(
                {q(i == 0 ? "北海道フロスティア札幌" : "鹿島"), q("浦和"), q(i < 2 ? "中止" : "2")});
        store.set(result_index_url({}, false), result_index(q("2024年"), {q("2023年")}, {q("1234")}));
        store.set(
            q("/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkHoldCntLotResultLsttoto.form?holdCntId=1234"),
            match_result_page(q("1234"), q("toto"), false, rows, {q("1,000円"), q("10円")}));
    }
    TestStore store;
};

TEST_F(CliDownload, WalkPrintsTheListsAndTheRound)
{
    const CliRun run =
        run_cli(store.url(), {q("くじ結果(toto)"), q("2024年"), q("第1234回(01/13)"), q("toto")});
    ASSERT_EQ(run.status, 0) << run.err.constData();
    EXPECT_TRUE(run.err.isEmpty());
    const QJsonObject json = QJsonDocument::fromJson(run.out).object();
    const QJsonArray lists = json[q("choice_lists")].toArray();
    ASSERT_EQ(lists.size(), 4);
    EXPECT_EQ(lists[0].toArray()[2].toString(), q("くじ結果(toto)"));
    EXPECT_EQ(lists[3].toArray()[0].toString(), q("toto"));
    EXPECT_EQ(json[q("lbl_cur")].toString(), q("くじ結果(toto)-2024年-第1234回(01/13)-toto"));
    EXPECT_EQ(json[q("dialog_result")].toInt(), 2);
    const QJsonObject round = json[q("downloaded_round")].toObject();
    EXPECT_EQ(round[q("kai")].toString(), q("1234"));
    EXPECT_EQ(round[q("kind_name")].toString(), q("toto"));
    const QJsonArray slots = round[q("slots")].toArray();
    ASSERT_EQ(slots.size(), 13);
    EXPECT_EQ(slots[0].toObject()[q("result")].toInt(), 4);
    EXPECT_EQ(slots[12].toObject()[q("away")].toString(), q("浦和"));
    EXPECT_EQ(slots[0].toObject()[q("home")].toString(), q("北海道フロスティア札幌")); // as the page wrote it
    EXPECT_FALSE(round[q("has_grade3")].toBool());
    EXPECT_EQ(round[q("prizes")].toArray()[0].toInt(), 1000);
}

TEST_F(CliDownload, FailuresAndUnknownCaptions)
{
    CliRun run = run_cli(TestStore::refused_url(), {q("くじ結果(toto)"), q("2024年")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(run.err), q("ｔｏｔｏオフィシャルサイトに接続できません。\n"));
    run = run_cli(store.url(), {q("くじ結果(toto)"), q("1999年")});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData(); // the reason, no usage text after it
    run = run_cli(store.url(), {q("戻る")});                  // the back button is off at the top
    EXPECT_EQ(run.status, 2);
    // Arguments that do not fit: the command's usage in one line.
    run = run_cli(store.url(), {q("--today")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
    EXPECT_TRUE(run.err.startsWith("usage: yorimo-cli download ")) << run.err.constData();
}

TEST_F(CliDownload, WalksFromStandardInput)
{
    const QByteArray walks = q("くじ結果(toto)\t2024年\t戻る\t2024年\t第1234回(01/13)\ttoto\n"
                               "くじ結果(toto)\tnothing\n"
                               "\n"
                               "くじ結果(toto)\t2024年\t第1234回(01/13)\ttoto\n")
                                 .toUtf8();
    const CliRun run = run_cli(store.url(), {q("--walks"), q("-")}, walks);
    ASSERT_EQ(run.status, 0);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 3);
    const QJsonObject first = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(first[q("choice_lists")].toArray().size(), 6);
    EXPECT_EQ(first[q("choice_lists")].toArray()[3].toArray()[0].toString(), q("2024年"));
    EXPECT_TRUE(QJsonDocument::fromJson(lines[1]).object().contains(q("error")));
    EXPECT_EQ(QJsonDocument::fromJson(lines[2]).object()[q("dialog_result")].toInt(), 2);
    EXPECT_EQ(store.hits(result_index_url({}, false)), 3); // once per walk: going back re-reads the page
}

QByteArray file_bytes(const QString &path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

TEST_F(CliDownload, IntoABookAddsOrCompletesARound)
{
    QTemporaryDir dir;
    const QString book_path = dir.filePath(q("book.yrm"));
    TicketBook book;
    book.entries.push_back(make_entry(LotteryKind::minitotoA, "1"));
    book.entries.push_back(make_entry(LotteryKind::toto, "1234"));
    ASSERT_TRUE(write_data(book, book_path).ok);
    const QStringList walk{q("くじ結果(toto)"), q("2024年"), q("第1234回(01/13)"), q("toto")};

    const CliRun plain = run_cli(store.url(), walk);
    CliRun run = run_cli(store.url(), QStringList{q("--into"), book_path} + walk);
    ASSERT_EQ(run.status, 0) << run.err.constData();
    EXPECT_EQ(run.out, plain.out);
    BookReadResult read = read_data(book_path);
    ASSERT_TRUE(read.outcome.ok);
    ASSERT_EQ(read.book.entry_count(), 3);
    EXPECT_EQ(read.book.entries[2].kai.text(), q("1234"));
    EXPECT_EQ(read.book.entries[2].matches[12].away.text(), q("浦和"));
    EXPECT_EQ(read.book.entries[2].matches[0].home.text(), q("北海道フロ")); // cut where it enters the book
    EXPECT_EQ(read.book.entries[2].matches[0].result, kCancelled);
    EXPECT_EQ(read.book.entries[2].prizes[0], 1000);

    run = run_cli(store.url(), QStringList{q("--into"), book_path, q("--entry"), q("2")} + walk);
    ASSERT_EQ(run.status, 0) << run.err.constData();
    read = read_data(book_path);
    ASSERT_EQ(read.book.entry_count(), 3);
    const RoundEntry &completed = read.book.entries[1];
    EXPECT_EQ(completed.matches[0].home, book.entries[1].matches[0].home); // its own names stay
    EXPECT_EQ(completed.matches[0].result, kCancelled);
    EXPECT_EQ(completed.matches[5].result, kAwayWin);
    EXPECT_EQ(completed.state, kPrizeEntered);

    // Refusals leave the file as it was.
    const QByteArray before = file_bytes(book_path);
    run = run_cli(store.url(), QStringList{q("--into"), book_path, q("--entry"), q("1")} + walk);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.isEmpty());
    run = run_cli(store.url(), QStringList{q("--into"), book_path, q("--entry"), q("4")} + walk);
    EXPECT_EQ(run.status, 1);
    run = run_cli(TestStore::refused_url(), QStringList{q("--into"), book_path} + walk);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(file_bytes(book_path), before);
}

TEST_F(CliDownload, UpdateBringsEveryOpenRoundIn)
{
    batch_store::serve(store);
    QTemporaryDir dir;
    const QString book_path = dir.filePath(q("book.yrm"));
    ASSERT_TRUE(write_data(batch_store::book(), book_path).ok);
    const QByteArray before = file_bytes(book_path);

    // A dry run prints what would be done and writes nothing; a failed round makes it exit 1.
    CliRun run =
        run_tool(store.url(), {q("update"), q("--today"), q("2024/01/10"), q("--dry-run"), book_path});
    EXPECT_EQ(run.status, 1) << run.err.constData();
    EXPECT_EQ(QString::fromUtf8(run.out), batch_store::expected_lines());
    EXPECT_EQ(file_bytes(book_path), before);

    run = run_tool(store.url(), {q("update"), book_path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(QString::fromUtf8(run.out), batch_store::expected_lines());
    BookReadResult read = read_data(book_path);
    ASSERT_TRUE(read.outcome.ok);
    EXPECT_EQ(read.book.entries[1].matches[2].result, kAwayWin);
    EXPECT_EQ(read.book.entries[1].matches[0].home, batch_store::book().entries[1].matches[0].home);
    EXPECT_EQ(read.book.entries[3].state, kPrizeRefund);
    EXPECT_EQ(read.book.entries[10].prizes[0], 30000);

    // What is left open: the rejected round and the two not published.
    run = run_tool(store.url(), {q("update"), book_path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(QString::fromUtf8(run.out),
              batch_store::expected_lines().split(u'\n').mid(5, 3).join(u'\n') + u'\n');

    // An unreachable store fails every open round and changes nothing.
    const QByteArray updated = file_bytes(book_path);
    run = run_tool(TestStore::refused_url(), {q("update"), book_path});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.count('\n'), 3);
    EXPECT_TRUE(run.out.startsWith(
        q("7\t1501\ttoto\tfailed\tｔｏｔｏオフィシャルサイトに接続できません。\n").toUtf8()));
    EXPECT_EQ(file_bytes(book_path), updated);

    // No open round: nothing printed, nothing fetched.
    TicketBook closed;
    closed.entries.push_back(batch_store::book().entries[0]);
    ASSERT_TRUE(write_data(closed, book_path).ok);
    const int requests = static_cast<int>(store.requests().size());
    run = run_tool(store.url(), {q("update"), book_path});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(store.requests().size(), requests);

    run = run_tool(store.url(), {q("update"), dir.filePath(q("missing.yrm"))});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.isEmpty());
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run_tool(store.url(), {q("update"), book_path, book_path}).status, 2);
}

} // namespace
