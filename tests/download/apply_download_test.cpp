#include "download/apply_download.h"
#include "download/download_confirmation.h"
#include "download/page_readers.h"
#include "store_pages.h"
#include "support/book_builders.h"
#include "support/document_helpers.h"

#include <gtest/gtest.h>

using namespace store_pages;

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

Outcome apply_download(TicketBook &book, const DownloadedData &data, DownloadOutcome outcome, int target,
                       int *entry)
{
    return through_document(book,
                            [&](BookDocument &d) { return apply_download(d, data, outcome, target, entry); });
}

// A toto result page read as the dialog reads it: long names, one cancelled match.
DownloadState toto_results(const QString &round)
{
    DownloadState st;
    st.step = kStepResultData;
    st.store_url = q("http://127.0.0.1:1");
    std::vector<ResultRow> rows;
    rows.push_back({q("ガンバ大阪ジュニアユース"), q("サンフレッチェ広島"), q("中止")});
    for (int i = 1; i < 13; ++i)
        rows.push_back({q("鹿島"), q("浦和"), q(i % 2 ? "0" : "1")});
    EXPECT_TRUE(get_result_data(
        st, match_result_page(round, q("toto"), false, rows, {q("1,000円"), q("20円"), q("3円")})));
    return st;
}

TEST(ApplyDownload, ResultAsNewEntryFitsPageNamesThroughTheTable)
{
    const DownloadState st = toto_results(q("0123"));
    TeamNames names;
    names.bundled = {{q("ガンバ大阪ジュニアユース"), q("Ｇ大阪ユース")}};
    TicketBook book;
    book.entries.push_back(make_entry(LotteryKind::toto));
    int entry = -1;
    ASSERT_TRUE(
        apply_download(book, {st.downloaded_round, names}, DownloadOutcome::result_as_new_entry, 0, &entry)
            .ok);
    ASSERT_EQ(entry, 1);
    const RoundEntry &e = book.entries[1];
    EXPECT_EQ(e.kai.text(), q("0123"));
    EXPECT_EQ(e.kind, LotteryKind::toto);
    EXPECT_EQ(e.matches[0].home.text(), q("Ｇ大阪ユー")); // the table's name, cut to 10 bytes
    EXPECT_EQ(e.matches[0].away.text(), q("サンフレッ")); // not listed: cut at a character
    EXPECT_EQ(e.matches[1].home.text(), q("鹿島"));
    EXPECT_EQ(e.matches[0].result, kCancelled);
    EXPECT_EQ(e.matches[1].result, kDraw);
    EXPECT_EQ(e.matches[2].result, kHomeWin);
    EXPECT_EQ(e.state, kPrizeEntered);
    EXPECT_TRUE(e.has_grade3);
    EXPECT_EQ(e.prizes[0], 1000);
    EXPECT_EQ(e.prizes[2], 3);
    EXPECT_EQ(e.first_type, kNoPurchase);
    EXPECT_EQ(e.tickets, 0);
}

TEST(ApplyDownload, ScheduleAsNewEntryTakesTheRoundAsRead)
{
    DownloadedRound round;
    round.kind = LotteryKind::totoGOAL3;
    round.kai = q("55");
    for (int t = 0; t < 6; ++t)
        round.teams[static_cast<size_t>(t)].team = QStringLiteral("T%1").arg(t);
    round.teams[0].team = q("Ｆ東京");
    TicketBook book;
    int entry = -1;
    ASSERT_TRUE(
        apply_download(book, {round, TeamNames{}}, DownloadOutcome::schedule_as_new_entry, 0, &entry).ok);
    ASSERT_EQ(book.entry_count(), 1);
    EXPECT_EQ(book.entries[0].kind, LotteryKind::totoGOAL3);
    EXPECT_EQ(book.entries[0].kai.text(), q("55"));
    EXPECT_EQ(book.entries[0].teams, book_round(round).teams);
    EXPECT_EQ(book.entries[0].matches, RoundEntry{}.matches); // the other family's slots stay empty
}

TEST(ApplyDownload, ResultIntoEntryKeepsNamesAndPurchases)
{
    const DownloadState st = toto_results(q("123"));
    TicketBook book;
    book.entries.push_back(make_entry(LotteryKind::minitotoA));
    book.entries.push_back(make_entry(LotteryKind::toto, "123"));
    ASSERT_TRUE(add_single(book, 1, make_single(std::vector<int>(13, 1))).ok);
    const RoundEntry before = book.entries[1];
    EXPECT_FALSE(can_take_results(book, 0, st.downloaded_round));
    EXPECT_FALSE(can_take_results(book, 2, st.downloaded_round));
    ASSERT_TRUE(can_take_results(book, 1, st.downloaded_round));
    int entry = -1;
    ASSERT_TRUE(apply_download(book, {st.downloaded_round, TeamNames{}}, DownloadOutcome::result_into_entry,
                               1, &entry)
                    .ok);
    EXPECT_EQ(entry, 1);
    const RoundEntry &e = book.entries[1];
    EXPECT_EQ(book.entry_count(), 2);
    for (size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(e.matches[i].home, before.matches[i].home);
        EXPECT_EQ(e.matches[i].away, before.matches[i].away);
        EXPECT_EQ(e.matches[i].result, st.downloaded_round.matches[i].result);
    }
    EXPECT_EQ(e.kai, before.kai);
    EXPECT_EQ(e.first_type, kSingle);
    EXPECT_EQ(e.tickets, 1);
    EXPECT_EQ(e.state, kPrizeEntered);
    EXPECT_EQ(e.prizes[1], 20);
}

TEST(ApplyDownload, FullBookRefusesANewEntry)
{
    TicketBook book;
    book.entries.resize(kMaxRecords);
    const DownloadedRound round;
    int entry = -1;
    const Outcome added =
        apply_download(book, {round, TeamNames{}}, DownloadOutcome::schedule_as_new_entry, 0, &entry);
    EXPECT_FALSE(added.ok);
    EXPECT_EQ(added.message, out_of_memory_message());
    EXPECT_EQ(book.entry_count(), kMaxRecords);
    EXPECT_EQ(entry, -1);
}

TEST(DownloadTargets, EntriesOfTheKindAndTheFirstNumericMatch)
{
    TicketBook book;
    book.entries.push_back(make_entry(LotteryKind::toto, "12"));
    book.entries.push_back(make_entry(LotteryKind::BIG, "123"));
    book.entries.push_back(make_entry(LotteryKind::toto, "0123"));
    book.entries.push_back(make_entry(LotteryKind::toto, "123"));
    book.entries.push_back(make_entry(LotteryKind::toto, "abc"));
    RoundEntry round = make_entry(LotteryKind::toto, "123");
    DownloadTargets targets = download_targets(book, round);
    EXPECT_EQ(targets.entries, (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(targets.preselected, 2); // 0123, the first of the two that read 123
    round.kai = BookText("999");
    EXPECT_EQ(download_targets(book, round).preselected, 0);
    round.kind = LotteryKind::totoGOAL;
    EXPECT_TRUE(download_targets(book, round).entries.empty());
}

TEST(ConfirmationTexts, ResultsAndPrizes)
{
    EXPECT_EQ(chg_kekka(Family::match, kResultNone), q("未開催"));
    EXPECT_EQ(chg_kekka(Family::match, kHomeWin), q("1"));
    EXPECT_EQ(chg_kekka(Family::match, kAwayWin), q("2"));
    EXPECT_EQ(chg_kekka(Family::match, kDraw), q("0"));
    EXPECT_EQ(chg_kekka(Family::match, kCancelled), q("中止"));
    EXPECT_EQ(chg_kekka(Family::match, 5), QString());
    EXPECT_EQ(chg_kekka(Family::goal, 1), q("0"));
    EXPECT_EQ(chg_kekka(Family::goal, 4), q("3"));
    EXPECT_EQ(chg_kekka(Family::goal, kScoreCancelled), q("中止"));
    EXPECT_EQ(chg_kekka(Family::goal, 6), QString());

    RoundEntry round = make_entry(LotteryKind::toto);
    round.prizes[1] = 1234567;
    EXPECT_EQ(prize_text(round, 2), q("未定"));
    round.state = kPrizeEntered;
    EXPECT_EQ(prize_text(round, 2), q("1,234,567円"));
    round.state = kPrizeRefund;
    EXPECT_EQ(prize_text(round, 2), q("払戻"));
}

} // namespace
