#include "batch_store.h"

#include "download/page_readers.h"
#include "store_pages.h"
#include "support/book_builders.h"

using namespace store_pages;

namespace batch_store {

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const QString kRoundPage =
    q("/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkHoldCntLotResultLsttoto.form?holdCntId=");

// Results cycling through home win, draw and away win; the first `cancelled` are 中止.
std::vector<ResultRow> rows(int count, int cancelled = 0)
{
    static const char *const kResults[] = {"1", "0", "2"};
    std::vector<ResultRow> out;
    for (int i = 0; i < count; ++i)
        out.push_back(
            {q("北海道フロスティア札幌"), q("浦和"), i < cancelled ? q("中止") : q(kResults[i % 3])});
    return out;
}

} // namespace

QString rejected_page()
{
    return q("<html><body>ただいまメンテナンス中です</body></html>");
}

void serve(TestStore &store, TestStore::Mode index)
{
    store.set(
        result_index_url({}, false),
        TestStore::Route{result_index(q("2024年"), {q("2023年")}, {q("1612"), q("1611"), q("1610")}).toUtf8(),
                         0, index});
    store.set(q("/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkYearResultLsttoto.form?year=2023"),
              result_index(q("2023年"), {}, {q("1501"), q("1500")}));
    std::vector<Pair> teams;
    for (int t = 0; t < 10; ++t)
        teams.push_back({q("鹿島"), QString::number(t % 4)});
    // One page serves the two kinds of round 1612.
    store.set(kRoundPage + q("1612"),
              match_result_page(q("1612"), q("toto"), false, rows(13),
                                {q("1,000,000円"), q("10,000円"), q("1,000円")}) +
                  goal_result_page(q("1612"), q("totoGOAL"), teams, {q("500,000円"), q("5,000円")}));
    store.set(kRoundPage + q("1611"),
              match_result_page(q("1611"), q("toto"), false, rows(13, 5), {q("1円"), q("1円"), q("1円")}));
    store.set(kRoundPage + q("1610"),
              match_result_page(q("1610"), q("minitoto-A組"), false, rows(5), {q("12,340円")}));
    store.set(kRoundPage + q("1500"), match_result_page(q("1500"), q("toto5"), false, rows(5), {q("777円")}));
    store.set(kRoundPage + q("1501"), rejected_page());
    store.set(result_index_url({}, true), result_index(q("2024年"), {}, {q("1401"), q("1400")}));
    store.set(kRoundPage + q("1400"),
              match_result_page(q("1400"), q("BIG"), true, rows(14),
                                {q("600,000,000円"), q("1円"), q("2円"), q("3円"), q("4円"), q("5円")}));
    store.set(kRoundPage + q("1401"),
              match_result_page(q("1401"), q("miniBIG"), true, rows(9), {q("30,000円"), q("2円"), q("1円")}));
}

TicketBook book()
{
    TicketBook book;
    const auto add = [&](LotteryKind kind, const char *kai) -> RoundEntry & {
        book.entries.push_back(make_entry(kind, kai));
        return book.entries[book.entries.size() - 1];
    };
    RoundEntry &closed = add(LotteryKind::toto, "1612");
    for (int m = 0; m < 13; ++m)
        closed.matches[static_cast<size_t>(m)].result = kDraw;
    closed.state = kPrizeEntered;
    RoundEntry &partial = add(LotteryKind::toto, "1612");
    for (int m = 0; m < 8; ++m)
        partial.matches[static_cast<size_t>(m)].result = kHomeWin;
    add(LotteryKind::totoGOAL, "1612");
    add(LotteryKind::toto, "1611");
    add(LotteryKind::minitotoA, "1610");
    add(LotteryKind::toto5, "1500");
    add(LotteryKind::toto, "1501");
    add(LotteryKind::toto, "1613");
    add(LotteryKind::toto5, "1612");
    add(LotteryKind::BIG, "1400");
    add(LotteryKind::miniBIG, "1401");
    return book;
}

QString expected_lines()
{
    return q("2\t1612\ttoto\tupdated\n"
             "3\t1612\ttotoGOAL\tupdated\n"
             "4\t1611\ttoto\tupdated\n"
             "5\t1610\tmini toto-A\tupdated\n"
             "6\t1500\ttoto5\tupdated\n"
             "7\t1501\ttoto\tfailed\tダウンロードに失敗しました。\n"
             "8\t1613\ttoto\tnot-published\n"
             "9\t1612\ttoto5\tnot-published\n"
             "10\t1400\tBIG\tupdated\n"
             "11\t1401\tmini BIG\tupdated\n");
}

} // namespace batch_store
