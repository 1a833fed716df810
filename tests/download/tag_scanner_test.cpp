#include "download/tag_scanner.h"

#include <gtest/gtest.h>

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

struct Tag {
    QString name, first, second;
    qsizetype pos;
};

Tag read_tag(const QString &text)
{
    Tag t{{}, {}, {}, 1};
    EXPECT_TRUE(move_tag_start(text, t.pos));
    get_tag(text, t.pos, t.name, t.first, t.second);
    return t;
}

TEST(DecodeUtf8, MarksStrayBytesAndCutSequences)
{
    struct Case {
        QByteArray bytes;
        std::optional<QString> text;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF<a>", q("<a>")}, // leading byte-order mark
        {"x\xEF\xBB\xBFy", q("xy")},   // a mark anywhere is dropped
        {"a\x80\xBF"
         "b",
         q("ab")},                                                   // stray continuation bytes
        {"\xFE\xFFz", q("z")},                                       // bytes no character starts with
        {"\xE7\xAC\xAC\xC3\xA9", q("第é")},                          // 3- and 2-byte characters
        {"\xF0\x9F\x98\x80", QString::fromUtf8("\xF0\x9F\x98\x80")}, // 4 bytes: two units
        {"ok\xE7\xAC", std::nullopt},                                // cut inside a character
        {"\xC3", std::nullopt},
        {"\xF8\x88\x80\x80\x80!", QString(2, QChar::ReplacementCharacter) + u'!'},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(decode_utf8(c.bytes), c.text) << c.bytes.toHex().constData();
    }
}

TEST(GetTag, NamesAndValues)
{
    struct Case {
        const char *text;
        const char *name, *first, *second;
    };
    const Case cases[] = {
        {"<td rowspan=2 colspan=\"3\">", "TD", "2", "3"},
        {"<TH class=\"x\" ROWSPAN='4'>", "TH", "4", ""},
        {"<td rowspan=x>cell</td><td>12</td>", "TD", "12", ""}, // the digit search runs on
        {"<a class=\"c\" href=\"/x.html\">", "A", "c", ""},     // first quoted value
        {"<img src=\"a.png\">", "IMG", "", ""},
        {"</td>", "/TD", "", ""},
        {"<?xml version=\"1.0\"?>", "?XML", "", ""},
        {"<area shape=\"rect\" href=\"/r.html\" alt=\"第1回\">", "AREA", "/r.html", "第1回"},
        {"<update date=\"2024/01/05\" time=\"10:30\">", "UPDATE", "2024/01/05", "10:30"},
        {"<td rowspan=", "TD", "", ""}, // the text ends inside the tag
        // Names and attributes end at TAB, CR and LF too; values in single quotes, with
        // their character references decoded.
        {"<td\trowspan=2\r\ncolspan=3>", "TD", "2", "3"},
        {"<tr\r\nclass=\"odd\">", "TR", "", ""},
        {"<a\nhref='/x?a=1&amp;b=2'>", "A", "/x?a=1&b=2", ""},
        {"<a title='it\"s' href=\"/y\">", "A", "it\"s", ""},
    };
    for (const Case &c : cases) {
        const Tag t = read_tag(q(c.text));
        EXPECT_EQ(t.name, q(c.name)) << c.text;
        EXPECT_EQ(t.first, q(c.first)) << c.text;
        EXPECT_EQ(t.second, q(c.second)) << c.text;
    }
    const QString text = q("ab<br>cd");
    qsizetype pos = 1;
    ASSERT_TRUE(move_tag_start(text, pos));
    EXPECT_EQ(pos, 3);
    QString n, f, s;
    get_tag(text, pos, n, f, s);
    EXPECT_EQ(pos, 7); // one past the ">"
    EXPECT_FALSE(move_tag_start(text, pos));
}

TEST(GetTblData, CellTexts)
{
    struct Case {
        const char *text;
        bool closed;
        const char *cell;
        const char *last_tag;
    };
    const Case cases[] = {
        {"<td> 1,234<b>円</b>\r\n</td>", true, "1234円", "/TD"},
        {"<td>a<table><tr><td>b</td>", true, "a", "TABLE"},
        {"<th>見出し<td>x</th>", true, "見出しx", "/TH"}, // a TD inside a TH does not end it
        {"<td>\t no end", false, "noend", "TD"},
        {"<td><span class=\"t\">鹿島</span>\n<br>アントラーズ</td>", true, "鹿島アントラーズ", "/TD"},
        // No-break spaces are blanks; character references are decoded; an "&" that starts
        // none stands for itself.
        {"<td>H&amp;1&nbsp;&lt;b&gt;&quot;</td>", true, "H&1<b>\"", "/TD"},
        {"<td>1\xC2\xA0"
         "234&#x5186;</td>",
         true, "1234円", "/TD"},
        {"<td>&#24029;&#x5D0E;&#x20;&unknown;&#;&#xD800;&</td>", true, "川崎&unknown;&#;\xEF\xBF\xBD&",
         "/TD"},
        {"<td\r\nclass=\"c\">x</td\n>", true, "x", "/TD"},
    };
    for (const Case &c : cases) {
        const QString text = q(c.text);
        qsizetype pos = 1;
        QString name, first, second, cell;
        ASSERT_TRUE(move_tag_start(text, pos));
        get_tag(text, pos, name, first, second);
        EXPECT_EQ(get_tbl_data(text, pos, name, cell), c.closed) << c.text;
        EXPECT_EQ(cell, q(c.cell)) << c.text;
        EXPECT_EQ(name, q(c.last_tag)) << c.text;
    }
}

TEST(ChgKai, FirstDigitRun)
{
    EXPECT_EQ(chg_kai(q("第045回")), q("045"));
    EXPECT_EQ(chg_kai(q("回")), QString());
    EXPECT_EQ(chg_kai(q("第12回toto5")), q("12"));
    EXPECT_EQ(leading_number(q("99999999999999円")), std::numeric_limits<int>::max());
    // Full-width digits read as digits; the round number comes out in "0"-"9".
    EXPECT_EQ(chg_kai(q("第０４５回")), q("045"));
    EXPECT_EQ(leading_number(q(" １２3円")), 123);
    EXPECT_EQ(ascii_digits(q("２０２４年01月")), q("2024年01月"));
}

TEST(TagScanner, DeepNestingIsOnePass)
{
    // A million nested tags: no recursion, one forward pass.
    QString page;
    for (int i = 0; i < 1000000; ++i)
        page += u"<b>";
    TagScanner s(page);
    int tags = 0;
    while (s.next_tag())
        ++tags;
    EXPECT_EQ(tags, 1000000);
}

} // namespace
