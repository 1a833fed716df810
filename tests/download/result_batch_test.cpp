// 結果を一括更新 over real HTTP against the local test store, applied through the document.
#include "batch_store.h"
#include "book/book_document.h"
#include "download/page_readers.h"
#include "download/result_batch.h"
#include "platform/http_fetcher.h"
#include "results/winning_check.h"
#include "store_pages.h"
#include "support/book_builders.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

using Status = BatchRound::Status;

bool same_book(const TicketBook &a, const TicketBook &b)
{
    return a.entries == b.entries && a.singles == b.singles && a.multis == b.multis &&
           a.goal_singles == b.goal_singles && a.goal_multis == b.goal_multis;
}

class ResultBatchTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "result_batch_test";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }

    // Runs a batch over the book to its end; fails after 60 seconds.
    void run(ResultBatch &batch)
    {
        batch.start();
        QElapsedTimer timer;
        timer.start();
        while (batch.running() && timer.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        ASSERT_FALSE(batch.running()) << "the batch did not end";
    }

    TestStore store;
    HttpFetcher fetcher{2000, 20000};
};

TEST_F(ResultBatchTest, ReadsEveryFamilyOnceAndAppliesAsOneStep)
{
    batch_store::serve(store);
    BookDocument document(result_chk);
    document.adopt(batch_store::book());
    const TicketBook before = document.book();
    ResultBatch batch(fetcher, document.book(), DownloadAddresses{store.url(), TestStore::refused_url()});
    QStringList progress;
    batch.on_changed = [&] {
        if (progress.isEmpty() || progress.back() != batch.progress_text())
            progress << batch.progress_text();
    };
    run(batch);
    ASSERT_FALSE(batch.unreachable());

    const std::vector<BatchRound> &rounds = batch.rounds();
    ASSERT_EQ(rounds.size(), 10u); // the closed round is not open
    const std::vector<Status> expected = {
        Status::found,  Status::found,         Status::found,         Status::found, Status::found,
        Status::failed, Status::not_published, Status::not_published, Status::found, Status::found};
    for (size_t i = 0; i < rounds.size(); ++i) {
        EXPECT_EQ(rounds[i].entry, static_cast<int>(i) + 1);
        EXPECT_EQ(rounds[i].status, expected[i]) << "round " << i;
    }
    EXPECT_EQ(rounds[5].message, QString::fromUtf8("ダウンロードに失敗しました。"));
    EXPECT_TRUE(progress.contains(QString::fromUtf8("第1612回 totoGOAL を取得中 2/10")))
        << progress.join(u'|').toStdString();

    // Every page once; the rejected one its twelve tries. No page of an unneeded year.
    QHash<QString, int> counts;
    for (const QString &path : store.requests())
        ++counts[path];
    const QString round_page = QString::fromUtf8(
        "/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkHoldCntLotResultLsttoto.form?holdCntId=");
    EXPECT_EQ(counts.size(), 10) << store.requests().join(u' ').toStdString();
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        EXPECT_EQ(it.value(), it.key() == round_page + QStringLiteral("1501") ? 12 : 1)
            << it.key().toStdString();
    EXPECT_EQ(batch.requests(), store.requests().size());

    std::vector<bool> ticked(rounds.size(), true);
    ticked[2] = false; // the refund stays as the book has it
    ASSERT_TRUE(document.apply_updates(BookDocument::Source::batch, batch.updates(ticked)).ok);
    const TicketBook after = document.book();
    const RoundEntry &toto = after.entries[1];
    EXPECT_EQ(toto.matches[0].result, kHomeWin);
    EXPECT_EQ(toto.matches[1].result, kDraw);
    EXPECT_EQ(toto.matches[2].result, kAwayWin);
    EXPECT_EQ(toto.matches[0].home, before.entries[1].matches[0].home); // names stay
    EXPECT_EQ(toto.state, kPrizeEntered);
    EXPECT_TRUE(toto.has_grade3);
    EXPECT_EQ(toto.prizes[2], 1000);
    const RoundEntry &goal = after.entries[2];
    EXPECT_EQ(goal.teams[3].score, 4); // three goals or more
    EXPECT_EQ(goal.prizes[1], 5000);
    EXPECT_EQ(after.entries[3], before.entries[3]); // unticked
    EXPECT_EQ(after.entries[4].prizes[0], 12340);
    EXPECT_EQ(after.entries[5].prizes[0], 777); // found in the older year's list
    EXPECT_EQ(after.entries[6], before.entries[6]);
    EXPECT_EQ(after.entries[8], before.entries[8]);
    EXPECT_TRUE(after.entries[9].has_grade5 && after.entries[9].has_grade6);
    EXPECT_EQ(after.entries[9].prizes[0], 600000000);
    EXPECT_EQ(after.entries[10].matches[8].result, kAwayWin);
    EXPECT_EQ(document.undo_name(), QString::fromUtf8("結果を一括更新"));
    document.undo();
    EXPECT_TRUE(same_book(document.book(), before));
    EXPECT_FALSE(document.modified());
    document.redo();
    EXPECT_TRUE(same_book(document.book(), after));

    // The refund, taken on its own.
    std::vector<bool> refund(rounds.size(), false);
    refund[2] = true;
    ASSERT_TRUE(document.apply_updates(BookDocument::Source::batch, batch.updates(refund)).ok);
    EXPECT_EQ(document.book().entries[3].state, kPrizeRefund);
    EXPECT_EQ(document.book().entries[3].matches[4].result, kCancelled);
}

TEST_F(ResultBatchTest, NoOpenRoundFetchesNothingAndAnUnreachableStoreFailsEveryRound)
{
    TicketBook closed;
    closed.entries.push_back(batch_store::book().entries[0]);
    ResultBatch none(fetcher, closed, DownloadAddresses{store.url(), store.url()});
    run(none);
    EXPECT_TRUE(none.rounds().empty());
    EXPECT_TRUE(store.requests().isEmpty());

    const TicketBook book = batch_store::book();
    ResultBatch batch(fetcher, book, DownloadAddresses{TestStore::refused_url(), store.url()});
    run(batch);
    EXPECT_TRUE(batch.unreachable());
    for (const BatchRound &round : batch.rounds()) {
        EXPECT_EQ(round.status, Status::failed);
        EXPECT_EQ(round.message, QString::fromUtf8("ｔｏｔｏオフィシャルサイトに接続できません。"));
    }
    EXPECT_TRUE(batch.updates(std::vector<bool>(batch.rounds().size(), true)).empty());
}

// The index lists no numbered round (early in a year, the row of the coming round is not
// numbered yet): every round is looked for in the older years, and a year listed twice is
// read once. A label with "%1" stays in the progress.
TEST_F(ResultBatchTest, AnEmptyCurrentYearSendsEveryRoundToTheOlderYears)
{
    batch_store::serve(store);
    store.set(result_index_url({}, false),
              store_pages::result_index(QString::fromUtf8("2025年"),
                                        {QString::fromUtf8("2023年"), QString::fromUtf8("2023年")},
                                        {QString::fromUtf8("次")})
                  .replace(QString::fromUtf8("次回(01/13)"), QString::fromUtf8("次回")));
    TicketBook book;
    book.entries.push_back(make_entry(LotteryKind::toto5, "1500"));
    book.entries.push_back(make_entry(LotteryKind::toto, "1501%1"));
    ResultBatch batch(fetcher, book, DownloadAddresses{store.url(), TestStore::refused_url()});
    QStringList progress;
    batch.on_changed = [&] { progress << batch.progress_text(); };
    run(batch);
    ASSERT_EQ(batch.rounds().size(), 2u);
    EXPECT_EQ(batch.rounds()[0].status, Status::found);
    EXPECT_EQ(batch.rounds()[0].found.prizes[0], 777);
    EXPECT_EQ(batch.rounds()[1].status, Status::failed); // its page is the rejected one
    EXPECT_TRUE(progress.contains(QString::fromUtf8("1501%1 toto を取得中 2/2")))
        << progress.join(u'|').toStdString();
    // The rejected page's tries are counted in the line, to the last.
    for (const char *retry :
         {"1501%1 toto を取得中 2/2（再試行 1/11）", "1501%1 toto を取得中 2/2（再試行 11/11）"})
        EXPECT_TRUE(progress.contains(QString::fromUtf8(retry))) << retry;
    EXPECT_FALSE(progress.join(u'|').contains(QString::fromUtf8("再試行 12")))
        << progress.join(u'|').toStdString();
    EXPECT_EQ(store.requests().count(QString::fromUtf8(
                  "/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkYearResultLsttoto.form?year=2023")),
              1);
}

// Older years are read newest first, however the index lists them, each page once: a round
// of last year is found there, before the year before shows rounds below it.
TEST_F(ResultBatchTest, OlderYearsAreReadNewestFirstEachOnce)
{
    batch_store::serve(store);
    store.set(result_index_url({}, false),
              store_pages::result_index(
                  QString::fromUtf8("2024年"),
                  {QString::fromUtf8("2022年"), QString::fromUtf8("2023年"), QString::fromUtf8("2023年")},
                  {QString::fromUtf8("1612")}));
    store.set(
        QString::fromUtf8("/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkYearResultLsttoto.form?year=2022"),
        store_pages::result_index(QString::fromUtf8("2022年"), {}, {QString::fromUtf8("1300")}));
    store.set(QString::fromUtf8(
                  "/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkHoldCntLotResultLsttoto.form?holdCntId=1300"),
              store_pages::match_result_page(
                  QString::fromUtf8("1300"), QString::fromUtf8("toto5"), false,
                  std::vector<store_pages::ResultRow>(
                      5, {QString::fromUtf8("鹿島"), QString::fromUtf8("浦和"), QString::fromUtf8("1")}),
                  {QString::fromUtf8("5円")}));
    TicketBook book;
    book.entries.push_back(make_entry(LotteryKind::toto5, "1500"));
    book.entries.push_back(make_entry(LotteryKind::toto5, "1300"));
    ResultBatch batch(fetcher, book, DownloadAddresses{store.url(), TestStore::refused_url()});
    run(batch);
    ASSERT_EQ(batch.rounds().size(), 2u);
    EXPECT_EQ(batch.rounds()[0].status, Status::found);
    EXPECT_EQ(batch.rounds()[0].found.prizes[0], 777);
    EXPECT_EQ(batch.rounds()[1].status, Status::found);
    EXPECT_EQ(batch.rounds()[1].found.prizes[0], 5);
    EXPECT_EQ(store.requests().count(QString::fromUtf8(
                  "/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkYearResultLsttoto.form?year=2023")),
              1);
}

} // namespace
