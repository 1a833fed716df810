// The writing commands of yorimo-cli under a failing write, a full file system, a kill in the
// middle of a save, and fifty saves at once of books of one name.
#include "batch_store.h"
#include "book/book_file.h"
#include "book/book_recovery.h"
#include "book/csv_export.h"
#include "fault_env.h"
#include "support/book_builders.h"
#include "test_store.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <unistd.h>

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

struct ToolRun {
    int status;
    QByteArray out, err;
};

QProcessEnvironment tool_environment(const QString &store, const QString &temp)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(q("YORIMO_STORE_URL"), store);
    env.insert(q("YORIMO_TEAMLIST_URL"), TestStore::refused_url());
    env.insert(q("TEMP"), temp);
    return env;
}

ToolRun run_tool(const QProcessEnvironment &env, const QStringList &args, const QByteArray &input = {})
{
    QProcess cli;
    cli.setProcessEnvironment(env);
    cli.start(q(YORIMO_CLI), args);
    cli.write(input);
    cli.closeWriteChannel();
    EXPECT_TRUE(cli.waitForFinished(60000));
    return {cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
}

// The batch's book of open rounds (row 2 is toto 1612) with 1,000 tickets on row 2, so that
// every file written is cut into several pieces.
TicketBook writers_book()
{
    TicketBook book = batch_store::book();
    for (int i = 0; i < 1000; ++i)
        EXPECT_TRUE(add_single(book, 1, make_single({1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1})).ok);
    return book;
}

class CliFault : public testing::Test {
protected:
    void SetUp() override
    {
        batch_store::serve(store);
        book = books.filePath(q("book.yrm"));
        csv = books.filePath(q("round.csv"));
        lines = temp.filePath(q("lines.txt"));
        put_bytes(lines, "1 1 1 1 1 1 1 1 1 1 1 1 1\n");
    }

    // Every writing command, as it is run.
    std::vector<std::pair<const char *, QStringList>> writers() const
    {
        return {
            {"add", {q("add"), book, q("2"), lines}},
            {"import-csv", {q("import-csv"), book, temp.filePath(q("in.csv"))}},
            {"update", {q("update"), book}},
            {"download --into",
             {q("download"), q("--into"), book, q("くじ結果(toto)"), q("2024年"), q("第1612回(01/13)"),
              q("toto")}},
            {"export-csv", {q("export-csv"), book, q("2"), csv}},
        };
    }

    TestStore store;
    QTemporaryDir books;
    QTemporaryDir temp;
    QString book, csv, lines;
};

TEST_F(CliFault, EveryWritingCommandFailsWithTheReasonAndLeavesTheFileAsItWas)
{
    put_bytes(temp.filePath(q("in.csv")), export_csv(writers_book(), 1).bytes);
    const QProcessEnvironment env = tool_environment(store.url(), temp.path());
    for (const auto &[name, args] : writers()) {
        for (const FaultCase &fault : kWriteFaults) {
            SCOPED_TRACE(std::string(name) + " under " + fault.fault);
            put_bytes(book, serialize_book(writers_book()));
            put_bytes(csv, "old csv");
            const QByteArray before = file_bytes(book);
            ToolRun run;
            {
                const ScopedFault injected(QString::fromLatin1(fault.fault), books.path(), true);
                QProcessEnvironment faulty = env;
                faulty.insert(q("YORIMO_FAULT"), qEnvironmentVariable("YORIMO_FAULT"));
                faulty.insert(q("YORIMO_FAULT_SLOW"), qEnvironmentVariable("YORIMO_FAULT_SLOW"));
                run = run_tool(faulty, args);
            }
            EXPECT_EQ(run.status, 1);
            const QString said =
                q("ファイル作成に失敗しました。（") + q(fault.reason) + q("元のファイルはそのままです。）");
            EXPECT_TRUE(QString::fromUtf8(run.err).contains(said)) << run.err.constData();
            EXPECT_TRUE(file_bytes(book) == before) << "the book is kept";
            EXPECT_EQ(file_bytes(csv), QByteArray("old csv"));
            EXPECT_EQ(QDir(books.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
            if (QStringLiteral("update") == QLatin1String(name)) {
                // The lines say what was written: nothing.
                EXPECT_FALSE(run.out.contains("\tupdated")) << run.out.constData();
                EXPECT_TRUE(QString::fromUtf8(run.out).contains(q("\tfailed\t") + said))
                    << run.out.constData();
            }
        }
    }
}

// A real full file system: a small tmpfs in a mount namespace of the tool's own.
TEST_F(CliFault, AFullFileSystemKeepsTheBook)
{
    const QString unshare = QStandardPaths::findExecutable(q("unshare"));
    if (unshare.isEmpty() ||
        QProcess::execute(unshare, {q("--user"), q("--map-root-user"), q("--mount"), q("true")}) != 0)
        GTEST_SKIP() << "no mount namespace here";
    TicketBook big = writers_book();
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(add_single(big, 1, make_single({1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1})).ok);
    put_bytes(book, serialize_book(big));
    const QString script = q("mount -t tmpfs -o size=%1 none \"$1\" && cp \"$2\" \"$1/b.yrm\" && "
                             "head -c %2 /dev/zero > \"$1/filler\"; "
                             "\"$3\" add \"$1/b.yrm\" 2 \"$4\"; rc=$?; cp \"$1/b.yrm\" \"$5\"; exit $rc")
                               .arg(QFileInfo(book).size() * 3 / 2)
                               .arg(QFileInfo(book).size() / 4);
    QProcess shell;
    shell.setProcessEnvironment(tool_environment(store.url(), temp.path()));
    const QString mount = temp.filePath(q("mnt"));
    QDir().mkpath(mount);
    const QString after = temp.filePath(q("after.yrm"));
    shell.start(unshare, {q("--user"), q("--map-root-user"), q("--mount"), q("sh"), q("-c"), script, q("sh"),
                          mount, book, q(YORIMO_CLI), lines, after});
    ASSERT_TRUE(shell.waitForFinished(60000));
    EXPECT_EQ(shell.exitCode(), 1) << shell.readAllStandardError().constData();
    EXPECT_TRUE(
        QString::fromUtf8(shell.readAllStandardError()).contains(q("ディスクの空き容量が足りません。")));
    EXPECT_TRUE(file_bytes(after) == file_bytes(book)) << "the book on the full disk is the book it was";
}

// Killed at any moment of a save, a book reads as the old or the new version, or a torn one
// is restored from its recovery copy.
TEST_F(CliFault, AKillDuringASaveNeverLeavesAnUnreadableBook)
{
    // The ticket goes to row 1, at the start of the file: a save cut off anywhere after it is torn.
    TicketBook big = writers_book();
    for (int i = 0; i < 3000; ++i)
        ASSERT_TRUE(add_single(big, 1, make_single({1, 0, 2, 1, 0, 2, 1, 0, 2, 1, 0, 2, 1})).ok);
    QProcessEnvironment env = tool_environment(store.url(), temp.path());
    env.insert(q("YORIMO_FAULT_SLOW"), QDir(books.path()).absolutePath() + q("/:3000"));
    const QString link = books.filePath(q("other name.yrm"));
    std::mt19937 rng(7);
    int torn = 0;
    for (bool linked : {true, false}) {
        // How long a whole save lasts, to kill within it.
        put_bytes(book, serialize_book(big));
        QElapsedTimer clock;
        clock.start();
        const ToolRun timed = run_tool(env, {q("add"), book, q("1"), lines});
        ASSERT_EQ(timed.status, 0) << timed.err.constData();
        const qint64 whole = clock.elapsed();
        for (int round = 0; round < 25; ++round) {
            SCOPED_TRACE((linked ? "hard-linked, kill " : "kill ") + std::to_string(round));
            put_bytes(book, serialize_book(big));
            QFile::remove(link);
            if (linked) {
                ASSERT_EQ(::link(QFile::encodeName(book).constData(), QFile::encodeName(link).constData()),
                          0);
            }
            QProcess cli;
            cli.setProcessEnvironment(env);
            cli.start(q(YORIMO_CLI), {q("add"), book, q("1"), lines});
            ASSERT_TRUE(cli.waitForStarted());
            QThread::msleep(std::uniform_int_distribution<qint64>(0, whole)(rng));
            cli.kill();
            cli.waitForFinished();
            if (book_is_torn(book)) {
                ++torn;
                ASSERT_TRUE(restore_from_recovery(book).ok);
            }
            const BookReadResult read = read_data(book);
            ASSERT_TRUE(read.outcome.ok) << read.outcome.message.toStdString();
            const int64_t tickets = read.book.entries[0].tickets;
            EXPECT_TRUE(tickets == big.entries[0].tickets || tickets == big.entries[0].tickets + 1)
                << tickets;
            EXPECT_EQ(read.book.entries[1].tickets, big.entries[1].tickets);
        }
    }
    std::cout << "torn and restored: " << torn << " of 50\n";
}

// Books of one file name in fifty folders, saved at once: they share the backup name in TEMP.
TEST_F(CliFault, FiftySavesOfBooksOfOneNameAllSucceed)
{
    std::vector<std::unique_ptr<QTemporaryDir>> folders;
    std::vector<std::unique_ptr<QProcess>> runs;
    const QProcessEnvironment env = tool_environment(store.url(), temp.path());
    for (int i = 0; i < 50; ++i) {
        folders.push_back(std::make_unique<QTemporaryDir>());
        const QString path = folders.back()->filePath(q("家計簿.yrm"));
        put_bytes(path, serialize_book(writers_book()));
        runs.push_back(std::make_unique<QProcess>());
        runs.back()->setProcessEnvironment(env);
        runs.back()->start(q(YORIMO_CLI), {q("add"), path, q("2"), lines});
    }
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(runs[static_cast<size_t>(i)]->waitForFinished(60000));
        EXPECT_EQ(runs[static_cast<size_t>(i)]->exitCode(), 0)
            << runs[static_cast<size_t>(i)]->readAllStandardError().constData();
        const BookReadResult read = read_data(folders[static_cast<size_t>(i)]->filePath(q("家計簿.yrm")));
        ASSERT_TRUE(read.outcome.ok);
        EXPECT_EQ(read.book.entries[1].tickets, writers_book().entries[1].tickets + 1);
    }
}

} // namespace
