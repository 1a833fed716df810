#include "download/page_readers.h"
#include "download/tag_scanner.h"
#include "store_pages.h"

#include <gtest/gtest.h>
#include <optional>

using namespace store_pages;

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const QString kStore = q("http://127.0.0.1:1");

DownloadState state_at(int step)
{
    DownloadState st;
    st.step = step;
    st.store_url = kStore;
    st.today = QDate(2024, 1, 10);
    return st;
}

QStringList captions(const DownloadState &st)
{
    QStringList out;
    for (const ChoiceEntry &c : st.choices)
        out << c.caption;
    return out;
}

std::vector<Pair> pairs(int n, const char *prefix = "")
{
    std::vector<Pair> out;
    for (int i = 0; i < n; ++i)
        out.emplace_back(q(prefix) + q("ホーム") + QString::number(i),
                         q(prefix) + q("アウェイ") + QString::number(i));
    return out;
}

TEST(ScheduleList, RoundsSortedOnceAndInfoPagesChained)
{
    DownloadState st = state_at(kStepScheduleKai);
    st.current_url = q("script");
    ASSERT_TRUE(get_scedule_kai(st, schedule_script({q("0012"), q("0003"), q("0007"), q("0012")})));
    EXPECT_EQ(captions(st), (QStringList{q("第0003回"), q("第0007回"), q("第0012回")}));
    EXPECT_EQ(st.choices[0].round_no, 3);
    EXPECT_EQ(st.choices[0].step, kStepScheduleKind);
    EXPECT_EQ(st.choices[2].url,
              kStore + q("/dcs/subos/screen/pi01/spin000/PGSPIN00001DisptotoLotInfo.form?holdCntId=0012"));
    EXPECT_EQ(st.step, kStepScheduleKaiDetail);
    EXPECT_EQ(st.list_url, q("script"));
    EXPECT_EQ(st.fetch_request, st.choices[0].url);

    DownloadState none = state_at(kStepScheduleKai);
    EXPECT_FALSE(get_scedule_kai(none, q("var x = 1;")));
    EXPECT_FALSE(get_scedule_kai(none, q("document.write(\"<img alt='12\");"))); // no 回
}

TEST(ScheduleList, SortedOnceFirstOfEqualNumbersKeptAndBounded)
{
    QStringList descending;
    for (int n = static_cast<int>(kMaxListedRounds); n >= 1; --n)
        descending << QString::number(n);
    descending << q("０５") << q("0050"); // the same rounds again, written otherwise
    DownloadState st = state_at(kStepBigScheduleKai);
    ASSERT_TRUE(get_big_schedule_kai(st, schedule_script(descending)));
    ASSERT_EQ(st.choices.size(), kMaxListedRounds);
    for (size_t i = 0; i < st.choices.size(); ++i)
        EXPECT_EQ(st.choices[i].round_no, static_cast<int>(i) + 1);
    EXPECT_EQ(st.choices[4].caption, q("第5回"));
    EXPECT_EQ(st.choices[49].caption, q("第50回"));
    EXPECT_EQ(st.step, kStepBigScheduleKaiDetail);

    // Full-width digits: the number is read, the address gets "0"-"9".
    DownloadState wide = state_at(kStepScheduleKai);
    ASSERT_TRUE(get_scedule_kai(wide, schedule_script({q("１２")})));
    EXPECT_EQ(wide.choices[0].round_no, 12);
    EXPECT_TRUE(wide.choices[0].url.endsWith(q("holdCntId=0012")));

    // One round more than any month lists: not a script of the store.
    DownloadState over = state_at(kStepScheduleKai);
    EXPECT_FALSE(get_scedule_kai(over, schedule_script(descending << q("51"))));
}

TEST(ScheduleList, SaleEndFilterDropsOnlyLeadingEndedRounds)
{
    struct Case {
        const char *ends[3];
        QStringList lines; // empty: the page is rejected
    };
    const Case cases[] = {
        {{"2024年01月06日", "2024年01月10日", "2024年01月09日"},
         {q("第0007回(01/05-01/10)"), q("第0012回(01/05-01/09)")}},
        {{"2024年01月11日", "2024年01月01日", "2024年01月02日"},
         {q("第0003回(01/05-01/11)"), q("第0007回(01/05-01/01)"), q("第0012回(01/05-01/02)")}},
        {{"2024年01月01日", "2024年01月02日", "2024年01月09日"}, {}},
        {{"2024年01月11日", "2024年13月40日", "2024年01月11日"}, {}}, // not a date
        // Tags around the date, no-break spaces and full-width digits.
        {{"<span class=\"d\">２０２４年０１月１０日</span>", "&nbsp;2024年01月11日\xC2\xA0",
          "<b>2024年01月12日</b>"},
         {q("第0003回(01/05-01/10)"), q("第0007回(01/05-01/11)"), q("第0012回(01/05-01/12)")}},
    };
    for (const Case &c : cases) {
        DownloadState st = state_at(kStepScheduleKai);
        ASSERT_TRUE(get_scedule_kai(st, schedule_script({q("0003"), q("0007"), q("0012")})));
        bool ok = true;
        for (int i = 0; i < 3 && ok; ++i)
            ok = get_scedule_kai_detail(st, toto_info_page(q("0003"), q("2024年01月05日"), q(c.ends[i]), {}));
        EXPECT_EQ(ok, !c.lines.isEmpty()) << c.ends[0];
        if (ok) {
            EXPECT_EQ(st.lines, c.lines);
            EXPECT_TRUE(st.ok_enabled && st.back_enabled);
            EXPECT_EQ(st.detail_index, 3);
        } else {
            EXPECT_LT(st.detail_index, 3); // a retry reads the same page again
        }
    }
}

TEST(ScheduleKinds, KnownKindsOfEachSide)
{
    DownloadState st = state_at(kStepScheduleKind);
    const QString page = toto_info_page(q("0012"), q("2024年01月05日"), q("2024年01月13日"),
                                        {{q("toto"), pairs(2), {}},
                                         {q("minitoto-A組"), pairs(1), {}},
                                         {q("minitoto-B組"), pairs(1), {}},
                                         {q("totoXYZ"), pairs(1), {}},
                                         {q("totoGOAL3"), {}, {q("a"), q("b")}}});
    ASSERT_TRUE(get_scedule_kind(st, page));
    EXPECT_EQ(captions(st), (QStringList{q("toto"), q("minitoto-A組"), q("minitoto-B組"), q("totoGOAL3")}));
    EXPECT_EQ(st.choices[1].step, 5);
    EXPECT_EQ(st.choices[3].step, 9);
    EXPECT_TRUE(st.choices[0].url.isEmpty());

    DownloadState big = state_at(kStepBigScheduleKind);
    ASSERT_TRUE(get_scedule_kind(big, big_info_page(q("1234"), q("2024年01月05日"), q("2024年01月13日"),
                                                    {q("BIG"), q("100円BIG"), q("BIG2000"), q("miniBIG")})));
    EXPECT_EQ(captions(big), (QStringList{q("BIG"), q("100円BIG"), q("miniBIG")}));
    EXPECT_EQ(big.choices[1].step, 26);
    EXPECT_EQ(big.choices[1].url,
              kStore + q("/dcs/subos/screen/pi02/spin005/PGSPIN00501DispBIGLotAssignGameDetail.form"
                         "?popupDispDiv=0&holdCntId=1234&commodityId=13"));
    DownloadState no_table = state_at(kStepScheduleKind);
    EXPECT_FALSE(get_scedule_kind(no_table, q("<td>第1回totoくじ情報</td>")));
}

TEST(ScheduleData, MatchesThroughRowSpansAndTeamNames)
{
    TeamNames teams;
    teams.downloaded.rows = {{q("ホーム0"), q("鹿島アントラーズ")}};
    DownloadState st = state_at(4);
    const QString page = toto_info_page(q("0012"), q("2024年01月05日"), q("2024年01月13日"),
                                        {{q("minitoto-A組"), pairs(5, "x"), {}}, {q("toto"), pairs(13), {}}});
    ASSERT_TRUE(get_scedule_data(st, teams, page));
    const DownloadedRound &r = st.downloaded_round;
    EXPECT_EQ(r.kind, LotteryKind::toto);
    EXPECT_EQ(r.kai.text(), q("0012"));
    EXPECT_EQ(r.matches[0].home.text(), q("鹿島アント")); // short name cut to 10 bytes
    EXPECT_EQ(r.matches[0].away.text(), q("0"));          // not listed: katakana dropped
    EXPECT_EQ(r.matches[12].home.text(), q("12"));
    EXPECT_TRUE(r.has_grade3);
    EXPECT_EQ(st.outcome, DownloadOutcome::schedule_as_new_entry);

    // mini toto-A with fewer rows than its count ends at the table's end; later matches keep
    // what the round held.
    DownloadState mini = state_at(5);
    mini.downloaded_round = r;
    ASSERT_TRUE(get_scedule_data(
        mini, teams, toto_info_page(q("0012"), {}, {}, {{q("minitoto-A組"), pairs(3, "x"), {}}})));
    EXPECT_EQ(mini.downloaded_round.kind, LotteryKind::minitotoA);
    EXPECT_EQ(mini.downloaded_round.matches[2].home.text(), q("x2"));
    EXPECT_EQ(mini.downloaded_round.matches[3].home.text(), q("3"));
    EXPECT_FALSE(mini.downloaded_round.has_grade3);

    DownloadState missing = state_at(7); // no toto5 section on the page
    EXPECT_FALSE(get_scedule_data(missing, teams, page));
}

TEST(ScheduleData, RowWithoutBothTeamsIsRejected)
{
    TeamNames teams;
    QString page;
    page = toto_info_page(q("1"), {}, {}, {{q("toto"), pairs(3), {}}});
    page.replace(q("<td>VS</td>\r\n  <td class=\"away\"><span>アウェイ1</span></td>"), QString());
    DownloadState cut = state_at(4);
    EXPECT_FALSE(get_scedule_data(cut, teams, page));
}

TEST(ScheduleData, HugeSpansStayBounded)
{
    TeamNames teams;
    QString page = toto_info_page(q("1"), {}, {}, {{q("toto"), pairs(13), {}}});
    // One date cell spans every row below it, however many rows it claims.
    const QString date = q("<td ROWSPAN=\"3\">01/13<br>(土)</td>");
    const qsizetype first = page.indexOf(date);
    page.replace(date, QString());
    page.insert(first, q("<td ROWSPAN=\"99999\" COLSPAN=\"99999999999999999999\">01/13</td>"));
    DownloadState st = state_at(4);
    ASSERT_TRUE(get_scedule_data(st, teams, page));
    EXPECT_EQ(st.downloaded_round.matches[12].away.text(), q("12"));
}

TEST(ScheduleData, GoalTeamsAndBigMatches)
{
    TeamNames teams;
    DownloadState goal = state_at(9);
    const QStringList six = {q("鹿島アントラーズ"), q("浦和レッズ"), q("ＦＣ東京"),
                             q("川崎フロンターレ"), q("湘南"),       q("柏")};
    ASSERT_TRUE(
        get_goalscedule_data(goal, teams, toto_info_page(q("0012"), {}, {}, {{q("totoGOAL3"), {}, six}})));
    EXPECT_EQ(goal.downloaded_round.kind, LotteryKind::totoGOAL3);
    EXPECT_EQ(goal.downloaded_round.teams[0].team.text(), q("鹿島"));
    EXPECT_EQ(goal.downloaded_round.teams[2].team.text(), q("ＦＣ東京")); // full-width letters stay
    EXPECT_EQ(goal.downloaded_round.teams[5].team.text(), q("柏"));

    DownloadState big = state_at(25);
    big.downloaded_round.has_grade3 = true;
    ASSERT_TRUE(get_scedule_data(big, teams, big_match_page(q("1234"), q("BIG"), pairs(14))));
    EXPECT_EQ(big.downloaded_round.kind, LotteryKind::BIG);
    EXPECT_EQ(big.downloaded_round.kai.text(), q("1234"));
    EXPECT_EQ(big.downloaded_round.matches[13].away.text(), q("13"));
    EXPECT_TRUE(big.downloaded_round.has_grade5 && big.downloaded_round.has_grade6);
    EXPECT_FALSE(big.downloaded_round.has_grade3);
    DownloadState mini = state_at(28);
    EXPECT_FALSE(get_scedule_data(mini, teams, big_match_page(q("1234"), q("BIG"), pairs(14))));
}

TEST(ResultLists, YearsRoundsKinds)
{
    const QString index = result_index(q("2024年"), {q("2023年"), q("2022年")}, {q("1234"), q("1233")});
    DownloadState years = state_at(kStepResultYear);
    ASSERT_TRUE(get_result_year(years, index));
    EXPECT_EQ(captions(years), (QStringList{q("2024年"), q("2023年"), q("2022年")}));
    EXPECT_TRUE(years.choices[0].url.isEmpty());
    EXPECT_EQ(years.choices[1].url,
              kStore + q("/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkYearResultLsttoto.form?year=2023"));
    EXPECT_EQ(years.choices[1].step, kStepResultKai);
    DownloadState bad = state_at(kStepResultYear);
    EXPECT_FALSE(get_result_year(bad, q("<p>過去のくじ結果</p>")));

    DownloadState rounds = state_at(kStepBigResultKai);
    ASSERT_TRUE(get_result_kai(rounds, index));
    EXPECT_EQ(captions(rounds), (QStringList{q("第1234回(01/13)"), q("第1233回(01/13)")}));
    EXPECT_EQ(rounds.choices[0].step, kStepBigResultKind);
    EXPECT_TRUE(
        rounds.choices[0].url.startsWith(kStore + q("/dcs/subos/screen/pi04/spin011/PGSPIN01101Lnk")));
    DownloadState empty = state_at(kStepResultKai);
    EXPECT_FALSE(get_result_kai(empty, q("<p>開催回</p><a href=\"x\">その他</a>")));

    // Captions end with their link: one without ")" in its link text is cut at the link's
    // end; a "第" outside a link names nothing. Single-quoted links are taken.
    DownloadState own = state_at(kStepResultKai);
    ASSERT_TRUE(
        get_result_kai(own, q("<p>開催回</p><a href=\"a\">第1回(01/13)</a><a href='b?x=1&amp;y=2'>第2回</a>"
                              "(01/20)<a href=\"c\">結果</a>第3回)<a href=\"d\">第4回<br>(01/27)</a>")));
    EXPECT_EQ(captions(own), (QStringList{q("第1回(01/13)"), q("第2回"), q("第4回")}));
    EXPECT_EQ(own.choices[1].url, kStore + q("/dcs/subos/screen/pi04/spin011/b?x=1&y=2"));

    DownloadState kinds = state_at(kStepResultKind);
    ASSERT_TRUE(get_result_kind(kinds, match_result_page(q("1234"), q("toto"), false, {}, {}) +
                                           goal_result_page(q("1234"), q("totoGOAL2"), {}, {}) +
                                           match_result_page(q("1234"), q("mini"), false, {}, {})));
    EXPECT_EQ(captions(kinds), (QStringList{q("toto"), q("totoGOAL2")}));
    EXPECT_EQ(kinds.choices[1].step, 20);
}

std::vector<ResultRow> results(int n, int cancelled, const char *cancel_text = "中止")
{
    std::vector<ResultRow> out;
    const char *texts[] = {"1", "0", "2"};
    for (int i = 0; i < n; ++i)
        out.push_back({q("H") + QString::number(i), q("A") + QString::number(i),
                       q(i < cancelled ? cancel_text : texts[i % 3])});
    return out;
}

TEST(ResultData, MatchKinds)
{
    struct Case {
        const char *name;
        int step, matches, cancelled;
        QStringList prizes;
        bool ok;
        int state;
        bool grade3;
    };
    const QStringList three = {q("1,234,567円"), q("45,600円"), q("3,210円")};
    const Case cases[] = {
        {"four cancelled: prizes read", 14, 13, 4, three, true, 1, true},
        {"five cancelled: refund", 14, 13, 5, three, true, 2, false},
        {"two prize cells clear grade 3", 14, 13, 0, {q("1,000円"), q("10円")}, true, 1, false},
        {"one prize cell on toto", 14, 13, 0, {q("1,000円")}, false, 0, false},
        {"mini toto with two prize cells", 15, 5, 0, {q("1円"), q("2円")}, false, 0, false},
        {"mini toto with one", 15, 5, 2, {q("99,000円")}, true, 1, false},
        {"mini toto three cancelled", 15, 5, 3, {}, true, 2, false},
    };
    for (const Case &c : cases) {
        const KindPage *page = kind_page_of_step(c.step);
        DownloadState st = state_at(c.step);
        st.downloaded_round.has_grade3 = true;
        const bool ok = get_result_data(
            st,
            match_result_page(q("0999"), QString::fromUtf16(page->page_name), false,
                              results(c.matches, c.cancelled, c.cancelled == 5 ? "102" : "中止"), c.prizes));
        EXPECT_EQ(ok, c.ok) << c.name;
        if (!ok)
            continue;
        const DownloadedRound &r = st.downloaded_round;
        EXPECT_EQ(r.state, c.state) << c.name;
        EXPECT_EQ(r.kai.text(), q("0999"));
        EXPECT_EQ(st.outcome, DownloadOutcome::result_as_new_entry);
        if (c.state == 1) {
            EXPECT_EQ(r.has_grade3, c.grade3) << c.name;
            EXPECT_EQ(r.prizes[0], leading_number(QString(c.prizes[0]).remove(u',')));
        }
        const int codes[] = {kHomeWin, kDraw, kAwayWin}; // page texts "1", "0", "2"
        for (int m = c.cancelled; m < c.matches; ++m)
            EXPECT_EQ(r.matches[static_cast<size_t>(m)].result, codes[m % 3]) << c.name << " " << m;
        if (c.cancelled > 0) {
            EXPECT_EQ(r.matches[0].result, kCancelled);
        }
        EXPECT_EQ(r.matches[1].home.text(), q("H1"));
    }
}

TEST(ResultData, CellsWithoutANumber)
{
    // A postponed match ("-", or nothing yet) is stored as not entered; the page still reads.
    std::vector<ResultRow> rows = results(13, 0);
    rows[3].result = q("-");
    rows[7].result = QString();
    DownloadState st = state_at(14);
    ASSERT_TRUE(get_result_data(st, match_result_page(q("1"), q("toto"), false, rows, {q("1円"), q("2円")})));
    EXPECT_EQ(st.downloaded_round.matches[3].result, kResultNone);
    EXPECT_EQ(st.downloaded_round.matches[7].result, kResultNone);
    EXPECT_EQ(st.downloaded_round.matches[6].result, kHomeWin);
    EXPECT_EQ(st.downloaded_round.state, kPrizeEntered);
    // A number that is no result is refused.
    rows[3].result = q("5");
    DownloadState five = state_at(14);
    EXPECT_FALSE(
        get_result_data(five, match_result_page(q("1"), q("toto"), false, rows, {q("1円"), q("2円")})));

    // Goal scores: four goals are "3 or more"; "-" or nothing cannot be told from 0 goals
    // and is refused.
    struct Goal {
        const char *cell;
        std::optional<int> score;
    };
    const Goal goals[] = {
        {"4", 4} /* 3 or more */, {"3", 4}, {"0", 1}, {"-", std::nullopt}, {"", std::nullopt}};
    for (const Goal &g : goals) {
        std::vector<Pair> teams = {
            {q("T0"), q("1")}, {q("T1"), q(g.cell)}, {q("T2"), q("2")}, {q("T3"), q("0")}};
        DownloadState goal = state_at(20);
        const bool ok =
            get_goalresult_data(goal, goal_result_page(q("7"), q("totoGOAL2"), teams, {q("5円")}));
        EXPECT_EQ(ok, g.score.has_value()) << g.cell;
        if (ok) {
            EXPECT_EQ(goal.downloaded_round.teams[1].score, *g.score) << g.cell;
            EXPECT_EQ(goal.downloaded_round.teams[0].score, 2);
        }
    }
}

TEST(ResultData, PlausiblePageVariantsReadAlike)
{
    const QStringList prizes = {q("1,234,567円"), q("45,600円"), q("3,210円")};
    const QString base = match_result_page(q("0999"), q("toto"), false, results(13, 1), prizes);
    DownloadState expected = state_at(14);
    ASSERT_TRUE(get_result_data(expected, base));

    auto full_width = [](QString text) {
        for (QChar &c : text) {
            if (c >= u'0' && c <= u'9')
                c = QChar(static_cast<char16_t>(c.unicode() - u'0' + u'０'));
        }
        return text;
    };
    std::vector<ResultRow> wide_rows = results(13, 1);
    for (ResultRow &row : wide_rows)
        row.result = full_width(row.result);
    wide_rows[0].result = q("１０２"); // cancelled
    QStringList wide_prizes;
    for (const QString &prize : prizes)
        wide_prizes << full_width(prize);

    QString blanks = base; // tag names ended by TAB, CR and LF
    blanks.replace(q("<td>"), q("<td\r\n>")).replace(q("<th "), q("<th\t")).replace(q("<tr>"), q("<tr\n>"));
    blanks.replace(q("</td>"), q("</td\t>"));
    QString entities = base; // no-break spaces, character references
    entities.replace(q(">H1<"), q(">&nbsp;H&#49;\u00A0<"))
        .replace(q("1,234,567円"), q("1,234,567&nbsp;&#x5186;"));
    const struct {
        const char *name;
        QString page;
    } variants[] = {
        {"blanks after tag names", blanks},
        {"entities", entities},
        {"full-width digits", match_result_page(q("０９９９"), q("toto"), false, wide_rows, wide_prizes)},
    };
    for (const auto &v : variants) {
        DownloadState st = state_at(14);
        ASSERT_TRUE(get_result_data(st, v.page)) << v.name;
        EXPECT_EQ(st.downloaded_round, expected.downloaded_round) << v.name;
        EXPECT_EQ(st.downloaded_round.prizes[0], 1234567) << v.name;
        EXPECT_EQ(st.downloaded_round.matches[0].result, kCancelled) << v.name;
    }
}

TEST(ResultData, BigPrizeRows)
{
    QStringList six;
    for (int g = 0; g < 6; ++g)
        six << QString::number(600000000 / (g * 10 + 1)) + q("円");
    struct Case {
        int step;
        int rows;
        bool ok, grade5, grade6;
    };
    const Case cases[] = {
        {32, 5, true, true, false}, {32, 6, true, true, true}, {32, 4, true, false, false},
        {33, 5, true, true, true},  {34, 4, true, true, true}, // other BIG kinds keep the flags
    };
    for (const Case &c : cases) {
        const KindPage *page = kind_page_of_step(c.step);
        DownloadState st = state_at(c.step);
        st.downloaded_round.has_grade5 = st.downloaded_round.has_grade6 = true;
        st.downloaded_round.has_grade3 = true;
        const int n = slot_count(page->kind);
        ASSERT_EQ(get_result_data(st, match_result_page(q("1500"), QString::fromUtf16(page->page_name), true,
                                                        results(n, 0), six.mid(0, c.rows))),
                  c.ok)
            << c.step << " " << c.rows;
        const DownloadedRound &r = st.downloaded_round;
        EXPECT_EQ(r.has_grade5, c.grade5) << c.step << " " << c.rows;
        EXPECT_EQ(r.has_grade6, c.grade6) << c.step << " " << c.rows;
        EXPECT_FALSE(r.has_grade3);
        EXPECT_EQ(r.prizes[static_cast<size_t>(c.rows - 1)], leading_number(six[c.rows - 1]));
        EXPECT_EQ(r.matches[static_cast<size_t>(n - 1)].home.text(), q("H") + QString::number(n - 1));
    }
    // Grade rows out of order reject the page.
    QString swapped = match_result_page(q("1"), q("BIG"), true, results(14, 0), six);
    swapped.replace(q("<td>2等</td>"), q("<td>3等</td>"));
    DownloadState st = state_at(32);
    EXPECT_FALSE(get_result_data(st, swapped));
}

TEST(ResultData, GoalKinds)
{
    auto teams = [](int n, int cancelled) {
        std::vector<Pair> out;
        for (int i = 0; i < n; ++i)
            out.emplace_back(q("T") + QString::number(i),
                             i < cancelled ? q(i % 2 ? "0123" : "中止") : QString::number(i % 4));
        return out;
    };
    struct Case {
        int step, teams, cancelled, prizes;
        bool ok;
        int state;
    };
    const Case cases[] = {
        {20, 4, 1, 1, true, 2}, // totoGOAL2: one cancelled team is a refund
        {20, 4, 0, 1, true, 1},  {20, 4, 0, 2, false, 0}, {18, 10, 4, 2, true, 1},
        {18, 10, 5, 2, true, 2}, {19, 6, 0, 1, false, 0},
    };
    for (const Case &c : cases) {
        DownloadState st = state_at(c.step);
        const KindPage *page = kind_page_of_step(c.step);
        const bool ok = get_goalresult_data(
            st, goal_result_page(q("0777"), QString::fromUtf16(page->page_name), teams(c.teams, c.cancelled),
                                 QStringList{q("12,345円"), q("678円")}.mid(0, c.prizes)));
        EXPECT_EQ(ok, c.ok) << c.step << " " << c.cancelled;
        if (!ok)
            continue;
        const DownloadedRound &r = st.downloaded_round;
        EXPECT_EQ(r.state, c.state);
        EXPECT_EQ(r.teams[static_cast<size_t>(c.teams - 1)].team.text(),
                  q("T") + QString::number(c.teams - 1));
        if (c.cancelled > 0) {
            EXPECT_EQ(r.teams[0].score, kScoreCancelled);
        }
        EXPECT_EQ(r.teams[static_cast<size_t>(c.cancelled)].score, c.cancelled % 4 + 1);
        if (c.state == 1) {
            EXPECT_EQ(r.prizes[0], 12345);
        }
    }
}

TEST(GetData, StepsWithoutReaderRejectEveryPage)
{
    TeamNames teams;
    for (int step : {36, 99, -1}) {
        DownloadState st = state_at(step);
        EXPECT_FALSE(get_data(st, teams, q("<table><td>x</td></table>")));
    }
}

} // namespace
