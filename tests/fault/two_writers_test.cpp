// Two writers on one book: yorimo-cli against yorimo-cli, against a writer that takes no
// lock, against a held lock and a lock its holder left behind when it was killed.
#include "batch_store.h"
#include "book/book_file.h"
#include "book/book_lock.h"
#include "book/swap_entries.h"
#include "fault_env.h"
#include "support/book_builders.h"
#include "test_store.h"

#include <QElapsedTimer>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

class TwoWriters : public testing::Test {
protected:
    void SetUp() override
    {
        book = books.filePath(q("book.yrm"));
        put_bytes(book, serialize_book(batch_store::book()));
        lines = temp.filePath(q("lines.txt"));
        put_bytes(lines, "1 1 1 1 1 1 1 1 1 1 1 1 1\n");
        env = QProcessEnvironment::systemEnvironment();
        env.insert(q("TEMP"), temp.path());
        env.insert(q("YORIMO_TEAMLIST_URL"), TestStore::refused_url());
    }

    std::unique_ptr<QProcess> start(const QStringList &args, const QProcessEnvironment &with)
    {
        auto cli = std::make_unique<QProcess>();
        cli->setProcessEnvironment(with);
        cli->start(q(YORIMO_CLI), args);
        EXPECT_TRUE(cli->waitForStarted());
        return cli;
    }

    // Waits until a file beside the book whose name ends in `suffix` appears.
    bool wait_for_file(const QString &suffix, int ms = 20000)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < ms) {
            for (const QString &name : QDir(books.path()).entryList(QDir::Files | QDir::Hidden))
                if (name.endsWith(suffix))
                    return true;
            QThread::msleep(2);
        }
        return false;
    }

    int64_t tickets_of_row(int row) const
    {
        return read_data(book).book.entries[static_cast<size_t>(row - 1)].tickets;
    }

    QTemporaryDir books;
    QTemporaryDir temp;
    QString book, lines;
    QProcessEnvironment env;
};

TEST_F(TwoWriters, TwoAddsAtOnceFiftyTimesKeepEveryTicket)
{
    const int64_t before = tickets_of_row(2);
    for (int round = 0; round < 50; ++round) {
        auto first = start({q("add"), book, q("2"), lines}, env);
        auto second = start({q("add"), book, q("2"), lines}, env);
        for (QProcess *cli : {first.get(), second.get()}) {
            ASSERT_TRUE(cli->waitForFinished(60000));
            ASSERT_EQ(cli->exitCode(), 0) << cli->readAllStandardError().constData();
        }
        const Outcome read = read_data(book).outcome;
        ASSERT_TRUE(read.ok) << "round " << round << read.message.toStdString();
    }
    EXPECT_EQ(tickets_of_row(2), before + 100);
    EXPECT_FALSE(QFile::exists(BookLock::lock_path(book))) << "a run that ended leaves no lock";
}

// A program that takes no lock replaces the book while the command is writing its own.
TEST_F(TwoWriters, AFileChangedBetweenReadingAndReplacingIsNotOverwritten)
{
    QProcessEnvironment slow = env;
    slow.insert(q("YORIMO_FAULT_SLOW"), QDir(books.path()).absolutePath() + q("/:200000"));
    auto cli = start({q("add"), book, q("2"), lines}, slow);
    ASSERT_TRUE(wait_for_file(q(".new"))) << "the command is writing its new file";
    TicketBook other = batch_store::book();
    ASSERT_TRUE(add_entry(other, make_entry(LotteryKind::toto5, "9")).ok);
    const QByteArray theirs = serialize_book(other);
    put_bytes(temp.filePath(q("theirs.yrm")), theirs);
    ASSERT_TRUE(QFile::remove(book) && QFile::copy(temp.filePath(q("theirs.yrm")), book));
    ASSERT_TRUE(cli->waitForFinished(60000));
    EXPECT_EQ(cli->exitCode(), 1);
    EXPECT_EQ(
        QString::fromUtf8(cli->readAllStandardError()),
        q("「book.yrm」は読み込んだ後に他のプログラムによって変更されました。何も書き込んでいません。\n"));
    EXPECT_TRUE(file_bytes(book) == theirs);
    EXPECT_EQ(QDir(books.path()).entryList(QDir::Files | QDir::Hidden), QStringList{q("book.yrm")});
}

TEST_F(TwoWriters, AHeldLockMakesTheWriterWaitThenSayBusyAndALostOneIsTakenOver)
{
    QProcessEnvironment quick = env;
    quick.insert(q("YORIMO_LOCK_WAIT_MS"), q("300"));
    const QByteArray before = file_bytes(book);
    {
        QLockFile held(BookLock::lock_path(book));
        ASSERT_TRUE(held.tryLock());
        auto cli = start({q("add"), book, q("2"), lines}, quick);
        ASSERT_TRUE(cli->waitForFinished(60000));
        EXPECT_EQ(cli->exitCode(), 1);
        EXPECT_EQ(QString::fromUtf8(cli->readAllStandardError()),
                  q("「book.yrm」は他のプログラムが使用中です。しばらくしてからもう一度お試しください。\n"));
        EXPECT_TRUE(file_bytes(book) == before);
    }
    // A writer killed while it holds the lock leaves it behind; the next one takes it over.
    QProcessEnvironment slow = env;
    slow.insert(q("YORIMO_FAULT_SLOW"), QDir(books.path()).absolutePath() + q("/:200000"));
    auto killed = start({q("add"), book, q("2"), lines}, slow);
    ASSERT_TRUE(wait_for_file(q(".new")));
    killed->kill();
    killed->waitForFinished();
    ASSERT_TRUE(QFile::exists(BookLock::lock_path(book)));
    auto next = start({q("add"), book, q("2"), lines}, quick);
    ASSERT_TRUE(next->waitForFinished(60000));
    EXPECT_EQ(next->exitCode(), 0) << next->readAllStandardError().constData();
    EXPECT_EQ(tickets_of_row(2), batch_store::book().entries[1].tickets + 1);
}

// The book is replaced while update waits for the store: the results go to the rounds of
// their kind and number in the book as it is then, and nothing of the new book is lost.
TEST_F(TwoWriters, UpdateAppliesWhatItFoundToTheBookAsItIsWhenItWrites)
{
    TestStore store;
    batch_store::serve(store, TestStore::Mode::slow_chunks);
    QProcessEnvironment with_store = env;
    with_store.insert(q("YORIMO_STORE_URL"), store.url());
    auto cli = start({q("update"), book}, with_store);
    QElapsedTimer clock;
    clock.start();
    while (store.requests().isEmpty() && clock.elapsed() < 20000)
        QThread::msleep(2);
    ASSERT_FALSE(store.requests().isEmpty());

    // A round more at the top and a ticket more on toto 1612, written without the lock.
    TicketBook theirs = batch_store::book();
    ASSERT_TRUE(add_entry(theirs, make_entry(LotteryKind::toto5, "9")).ok);
    for (int e = theirs.entry_count() - 1; e > 0; --e)
        swap_entries(theirs, e - 1, e);
    ASSERT_TRUE(add_single(theirs, 2, make_single({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1})).ok);
    put_bytes(book, serialize_book(theirs));

    ASSERT_TRUE(cli->waitForFinished(60000));
    const QString out = QString::fromUtf8(cli->readAllStandardOutput());
    EXPECT_TRUE(out.startsWith(q("3\t1612\ttoto\tupdated\n4\t1612\ttotoGOAL\tupdated\n")))
        << out.toStdString();
    const BookReadResult read = read_data(book);
    ASSERT_TRUE(read.outcome.ok);
    ASSERT_EQ(read.book.entry_count(), theirs.entry_count());
    EXPECT_EQ(read.book.entries[0].kai.text(), q("9"));
    EXPECT_EQ(read.book.entries[2].tickets, theirs.entries[2].tickets);
    EXPECT_EQ(read.book.entries[2].matches[2].result, kAwayWin);
    EXPECT_EQ(read.book.entries[4].state, kPrizeRefund);
}

} // namespace
