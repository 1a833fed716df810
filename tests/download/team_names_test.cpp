#include "download/team_names.h"
#include "store_pages.h"

#include <gtest/gtest.h>

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(TeamList, StampsDecideWhetherTheTableIsRebuilt)
{
    TeamNameTable table;
    ASSERT_TRUE(get_teamname(
        table, store_pages::team_list(q("2024/1/5"), q("10:30"), {{q("鹿島アントラーズ"), q("鹿島")}})));
    EXPECT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.stamp, (TeamListStamp{2024, 1, 5, 10, 30}));
    // Equal stamp: accepted, table kept.
    ASSERT_TRUE(get_teamname(table, store_pages::team_list(q("2024/01/05"), q("10:30"), {})));
    EXPECT_EQ(table.rows.size(), 1u);
    // One minute later: rebuilt.
    ASSERT_TRUE(get_teamname(
        table, store_pages::team_list(q("2024/01/05"), q("10:31"),
                                      {{q("a"), q("b")}, {q("c"), QString()}, {QString(), q("d")}})));
    EXPECT_EQ(table.rows, (std::vector<TeamNameRow>{{q("a"), q("b")}}));
    EXPECT_FALSE(is_newer_stamp({2024, 1, 5, 10, 31}, {2024, 1, 5, 9, 59}));
    EXPECT_TRUE(is_newer_stamp({}, {1, 1, 1, 1, 1}));
}

TEST(TeamList, MalformedDocuments)
{
    const char *bad[] = {
        "<tototeam><update date=\"2024/01\" time=\"10:30\"/><item_list></item_list></tototeam>",
        "<tototeam><update date=\"2024/01/05\" time=\"10:30:00\"/><item_list></item_list></tototeam>",
        "<tototeam><update date=\"2024/0x/05\" time=\"10:30\"/><item_list></item_list></tototeam>",
        "<update date=\"2024/01/05\" time=\"10:30\"/><item_list></item_list>", // no TOTOTEAM
        "<TOTOTEAM><UPDATE DATE=\"2024/01/05\" TIME=\"10:30\"><ITEM_LIST><ITEM><LONG_NAME>a</LONG_NAME>"
        "<SHORT_NAME>b</SHORT_NAME></ITEM>", // ends before /ITEM_LIST
    };
    for (const char *doc : bad) {
        TeamNameTable table;
        EXPECT_FALSE(get_teamname(table, q(doc))) << doc;
        EXPECT_EQ(table.stamp.year, 0) << doc;
    }
    TeamNameTable partial;
    get_teamname(partial, q(bad[4]));
    EXPECT_EQ(partial.rows.size(), 1u); // rows read before the fault stay
    // An item without a long name does not inherit the previous item's.
    TeamNameTable upper;
    ASSERT_TRUE(
        get_teamname(upper, q("<TOTOTEAM><UPDATE DATE=\"2024/01/05\" TIME=\"10:30\"><ITEM_LIST>"
                              "<ITEM><LONG_NAME> 長い 名前 </LONG_NAME><SHORT_NAME>短</SHORT_NAME></ITEM>"
                              "<ITEM><SHORT_NAME>x</SHORT_NAME></ITEM></ITEM_LIST></TOTOTEAM>")));
    EXPECT_EQ(upper.rows, (std::vector<TeamNameRow>{{q(" 長い 名前 "), q("短")}}));
}

TEST(ChgTeamName, ListsThenFallback)
{
    TeamNames names;
    names.downloaded.rows = {{q("横浜F・マリノス"), q("横浜ＦＭマリノス")},
                             {q("鹿島アントラーズ"), q("KASHIMAS")}};
    names.bundled = {{q("鹿島アントラーズ"), q("鹿島")}, {q("浦和レッズ"), q("浦和")}};
    struct Case {
        const char *name, *expected;
    };
    const Case cases[] = {
        {"横浜F・マリノス", "横浜ＦＭマ"}, // eight full-width characters keep five
        {"鹿島アントラーズ", "KASHIMAS"},  // the downloaded table comes first
        {"浦和レッズ", "浦和"},            // then the shipped list
        {"名古屋グランパス", "名古屋"},    // kanji then katakana: the kanji
        {"ジュビロイワタ", "ジュビロイ"},  // katakana only: whole name cut to 10 bytes
        {"ＦＣ岐阜２", "ＦＣ岐阜"},        // full-width digits dropped
        {"V・ファーレン長崎2", "V長崎2"},  // half-width digit kept
        {"ABCDEFGHIJKL", "ABCDEFGHIJ"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(chg_team_name(names, q(c.name)), q(c.expected)) << c.name;
    EXPECT_EQ(chg_team_name_size(q("abcdefgh")), q("abcdefgh"));
    EXPECT_EQ(chg_team_name_size(q("ｱｲｳｴｵｶｷｸｹｺｻ")), q("ｱｲｳｴｵｶｷｸｹｺ")); // half-width katakana: 1 byte each
}

TEST(BundledList, ShippedFileReads)
{
    const std::vector<TeamNameRow> rows = read_bundled_team_names(QString::fromUtf8(YORIMO_BUNDLED_TEAMS));
    ASSERT_GT(rows.size(), 40u);
    for (const TeamNameRow &row : rows)
        EXPECT_EQ(chg_team_name_size(row.short_name), row.short_name) << row.short_name.toStdString();
    EXPECT_TRUE(read_bundled_team_names(q("/nonexistent/tototeam.xml")).empty());
}

} // namespace
