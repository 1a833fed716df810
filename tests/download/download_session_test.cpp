// The download session over real HTTP against the local test store.
#include "download/download_session.h"
#include "download/page_readers.h"
#include "platform/http_fetcher.h"
#include "store_pages.h"
#include "test_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <gtest/gtest.h>

using namespace store_pages;

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const QDate kToday(2024, 1, 10);

class SessionTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "download_session_test";
        static char *argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }

    void start(const QString &team_list_url, int total_ms = 60000)
    {
        session.reset(); // the session talks to its fetcher until it goes
        fetcher = std::make_unique<HttpFetcher>(2000, total_ms);
        session = std::make_unique<DownloadSession>(*fetcher, names, clock,
                                                    DownloadAddresses{store.url(), team_list_url});
        session->open();
    }

    QString path(const QString &url) const { return url.mid(store.url().size()); }

    // Runs the event loop until no page is on its way; fails after 30 seconds.
    void settle()
    {
        QElapsedTimer timer;
        timer.start();
        while (session->running() && session->fetching() && timer.elapsed() < 30000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        ASSERT_FALSE(session->running() && session->fetching()) << "the download did not settle";
    }

    void choose(const QString &caption)
    {
        for (size_t i = 0; i < session->choices().size(); ++i) {
            if (session->choices()[i].caption == caption) {
                session->cmd_ok(static_cast<int>(i));
                settle();
                return;
            }
        }
        FAIL() << "no choice " << caption.toStdString();
    }

    QStringList captions() const
    {
        QStringList out;
        for (const ChoiceEntry &c : session->choices())
            out << c.caption;
        return out;
    }

    TestStore store;
    TeamNames names;
    FixedClock clock{kToday};
    std::unique_ptr<HttpFetcher> fetcher;
    std::unique_ptr<DownloadSession> session;
};

std::vector<ResultRow> toto_results()
{
    std::vector<ResultRow> rows;
    for (int i = 0; i < 13; ++i)
        rows.push_back({q("鹿島アントラーズ"), q("浦和"), q(i == 0 ? "0" : "1")});
    return rows;
}

TEST_F(SessionTest, ResultWalkRetriesElevenTimesAndGoesBackWithoutFetching)
{
    const QString index_path = path(result_index_url(store.url(), false));
    store.set(index_path, {result_index(q("2024年"), {q("2023年")}, {q("1234")}).toUtf8(), 11});
    store.set(
        q("/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkHoldCntLotResultLsttoto.form?holdCntId=1234"),
        match_result_page(q("1234"), q("toto"), false, toto_results(), {q("100円"), q("10円"), q("1円")}));
    start(TestStore::refused_url());
    EXPECT_EQ(session->lines(), (QStringList{q("開催情報(toto)"), q("開催情報(BIG)"), q("くじ結果(toto)"),
                                             q("くじ結果(BIG)")}));
    choose(q("くじ結果(toto)"));
    EXPECT_EQ(store.hits(index_path), 12);
    EXPECT_EQ(session->retry_count(), 11);
    EXPECT_EQ(captions(), (QStringList{q("2024年"), q("2023年")}));
    EXPECT_FALSE(session->progress_visible());

    choose(q("2024年")); // the current year is on the index page itself
    EXPECT_EQ(captions(), (QStringList{q("第1234回(01/13)")}));
    session->cmd_back();
    settle();
    EXPECT_EQ(captions(), (QStringList{q("2024年"), q("2023年")}));
    EXPECT_EQ(session->lbl_cur(), q("くじ結果(toto)"));
    EXPECT_EQ(store.hits(index_path), 12); // no fetch

    choose(q("2024年"));
    choose(q("第1234回(01/13)"));
    choose(q("toto"));
    EXPECT_FALSE(session->running());
    EXPECT_TRUE(session->failure().message.isEmpty());
    EXPECT_EQ(session->outcome(), DownloadOutcome::result_as_new_entry);
    EXPECT_EQ(session->lbl_cur(), q("くじ結果(toto)-2024年-第1234回(01/13)-toto"));
    const DownloadedRound &r = session->downloaded_round();
    EXPECT_EQ(r.kai.text(), q("1234"));
    EXPECT_EQ(r.matches[0].result, kDraw);
    EXPECT_EQ(r.matches[0].home.text(), q("鹿島アントラーズ")); // result names stay as the page wrote them
    EXPECT_EQ(r.prizes[2], 1);
    EXPECT_TRUE(r.has_grade3);
}

TEST_F(SessionTest, FailuresEndWithTheirMessages)
{
    struct Case {
        const char *name;
        TestStore::Route route;
        bool refused;
        const char *message, *title;
        int hits;
    };
    const Case cases[] = {
        {"twelve 500s",
         {result_index(q("2024年"), {}, {}).toUtf8(), 12},
         false,
         "ダウンロードに失敗しました。",
         "ｙｏｒｉｍｏ",
         12},
        {"cut inside a character",
         {result_index(q("2024年"), {}, {}).toUtf8() + "\xE5\xB9", 0},
         false,
         "ダウンロードに失敗しました。",
         "ｙｏｒｉｍｏ",
         12},
        {"zero length",
         {result_index(q("2024年"), {}, {}).toUtf8(), 0, TestStore::Mode::zero_length},
         false,
         "ダウンロードに失敗しました。",
         "ｙｏｒｉｍｏ",
         12},
        {"50 MB body",
         {QByteArray("x"), 0, TestStore::Mode::huge},
         false,
         "ダウンロードに失敗しました。",
         "ｙｏｒｉｍｏ",
         12},
        {"endless body",
         {QByteArray("x"), 0, TestStore::Mode::endless},
         false,
         "ダウンロードに失敗しました。",
         "ｙｏｒｉｍｏ",
         12},
        {"refused", {}, true, "ｔｏｔｏオフィシャルサイトに接続できません。", "ｙｏｒｉｍｏ", 0},
    };
    for (const Case &c : cases) {
        TestStore own;
        const QString store_url = c.refused ? TestStore::refused_url() : own.url();
        own.set(path(result_index_url(store.url(), false)), c.route);
        session.reset();
        // Time limits far beyond what any case needs: every case ends as the walk defines it
        // (the 4 MiB page cap ends the endless and the huge bodies), however busy the machine.
        fetcher = std::make_unique<HttpFetcher>(60000, 120000);
        session = std::make_unique<DownloadSession>(*fetcher, names, clock,
                                                    DownloadAddresses{store_url, store_url});
        session->open();
        session->cmd_ok(2);
        settle();
        EXPECT_FALSE(session->running()) << c.name;
        EXPECT_EQ(session->failure().message, q(c.message)) << c.name;
        EXPECT_EQ(session->failure().title, q(c.title)) << c.name;
        EXPECT_EQ(session->outcome(), DownloadOutcome::cancelled) << c.name;
        EXPECT_EQ(own.hits(path(result_index_url(store.url(), false))), c.hits) << c.name;
    }
}

TEST_F(SessionTest, StalledBodyEndsAsLostConnection)
{
    store.set(path(result_index_url(store.url(), false)), {QByteArray("x"), 0, TestStore::Mode::trickle});
    start(store.url(), 1500);
    session->cmd_ok(2);
    settle();
    EXPECT_EQ(session->failure().message, q("ｔｏｔｏオフィシャルサイトに接続できません。"));
}

TEST_F(SessionTest, ScheduleWalkWithAndWithoutTheTeamList)
{
    const QString script = path(schedule_script_url(store.url(), kToday, false));
    store.set(script, {schedule_script({q("0012"), q("0011")}).toUtf8(), 0, TestStore::Mode::slow_chunks});
    std::vector<Pair> matches;
    for (int i = 0; i < 13; ++i)
        matches.emplace_back(q("鹿島アントラーズ"), q("ジュビロイワタ"));
    const std::vector<KindSection> kinds = {{q("toto"), matches, {}}, {q("minitoto-A組"), {}, {}}};
    store.set(path(round_info_url(store.url(), q("0011"), false)),
              {toto_info_page(q("0011"), q("2024年01月01日"), q("2024年01月09日"), kinds).toUtf8(), 0,
               TestStore::Mode::no_length});
    store.set(path(round_info_url(store.url(), q("0012"), false)),
              toto_info_page(q("0012"), q("2024年01月05日"), q("2024年01月13日"), kinds));
    names.bundled = {{q("鹿島アントラーズ"), q("鹿島")}};

    // The list server cannot be reached: no message, shipped list and own rule.
    start(TestStore::refused_url());
    choose(q("開催情報(toto)"));
    EXPECT_EQ(session->lines(), (QStringList{q("第0012回(01/05-01/13)")}));
    choose(q("第0012回"));
    EXPECT_EQ(captions(), (QStringList{q("toto"), q("minitoto-A組")}));
    // Back to the round list fetches the script and the info pages again.
    session->cmd_back();
    settle();
    EXPECT_EQ(store.hits(script), 2);
    EXPECT_EQ(session->lines(), (QStringList{q("第0012回(01/05-01/13)")}));
    choose(q("第0012回"));
    choose(q("toto"));
    EXPECT_FALSE(session->running());
    EXPECT_TRUE(session->failure().message.isEmpty());
    EXPECT_EQ(session->outcome(), DownloadOutcome::schedule_as_new_entry);
    EXPECT_EQ(session->downloaded_round().matches[0].home.text(), q("鹿島"));
    EXPECT_EQ(session->downloaded_round().matches[0].away.text(), q("ジュビロイ"));
    EXPECT_EQ(session->downloaded_round().kai.text(), q("0012"));

    // With the list server: its table comes first, and it is kept for later walks.
    const QString list_path = q("/soft/data/tototeam.xml");
    store.set(list_path,
              team_list(q("2024/01/01"), q("09:00"), {{q("鹿島アントラーズ"), q("アントラーズ")}}));
    start(store.url());
    choose(q("開催情報(toto)"));
    choose(q("第0012回"));
    choose(q("toto"));
    EXPECT_EQ(store.hits(list_path), 1);
    EXPECT_EQ(session->downloaded_round().matches[0].home.text(), q("アントラー"));
    EXPECT_EQ(names.downloaded.stamp.year, 2024);
}

} // namespace

TEST_F(SessionTest, ProgressStaysUnderItsStepsCeilingAndEndsHidden)
{
    const QString index_path = path(result_index_url(store.url(), false));
    const QByteArray page = result_index(q("2024年"), {q("2023年")}, {q("1234")}).toUtf8();
    // With its length, in slow pieces without one (then 20,000 bytes are assumed).
    for (TestStore::Mode mode : {TestStore::Mode::normal, TestStore::Mode::slow_chunks}) {
        store.set(index_path, {page, 0, mode});
        start(TestStore::refused_url());
        std::vector<int> shown;
        session->on_changed = [&] {
            if (session->progress_visible())
                shown.push_back(session->progress());
        };
        choose(q("くじ結果(toto)"));
        ASSERT_FALSE(shown.empty());
        EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));
        EXPECT_GE(shown.front(), 0);
        EXPECT_LE(shown.back(), 90); // the result pages' ceiling until the page is read
        if (mode == TestStore::Mode::normal)
            EXPECT_EQ(shown.back(), 90); // every byte the length promised
        else
            EXPECT_LT(shown.back(), 90); // fewer bytes than assumed
        EXPECT_FALSE(session->progress_visible());
        EXPECT_EQ(captions(), (QStringList{q("2024年"), q("2023年")}));
    }
}
