#include "platform/shift_jis.h"
#include "results/round_filter.h"
#include "results/winning_check.h"
#include "support/book_builders.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

// A toto round labelled `kai` and without team names, every result in, prizes entered: a
// round no filter of the open ones keeps, and whose only text is its label.
RoundEntry settled(const char *kai, LotteryKind kind = LotteryKind::toto)
{
    RoundEntry e;
    e.kind = kind;
    e.kai = sjis(kai);
    for (int s = 0; s < slot_count(kind); ++s)
        (is_match_kind(kind) ? e.matches[s].result : e.teams[s].score) = 1;
    e.state = kPrizeEntered;
    return e;
}

RoundFilter text_filter(const char *text)
{
    return RoundFilter(QString::fromUtf8(text), std::nullopt, false, false);
}

} // namespace

TEST(RoundFilterTest, TextMatchesLabelsWhicheverWidthTheDigitsAndLettersHave)
{
    struct Case {
        const char *text;
        const char *kai;
        bool kept;
    };
    const Case cases[] = {
        {"1581", "第1581回", true},
        {"1581", "第１５８１回", true},
        {"1589", "第１５８９回", true},
        {"１５８１", "1581", true},
        {"158", "第1581回", true},
        {"1581", "1582", false},
        {"1581", "15", false},
        {"big", "BIG12", true},
        {"ＢＩＧ", "big12", true},
        {"ｂｉｇ", "Ｂｉｇ", true},
        {"第", "第1回", true},
        {"回", "第1回", true},
        {"第1回", "第11回", false},
        {"a b", "A　B", true},
        {"", "", true},
        {"", "第1回", true},
        {"1", "", false},
        // Trail bytes of double-byte characters are no characters of their own:
        // "ア" is 83 41 ("A" after a lead byte), "表" 95 5C ("\").
        {"A", "ア", false},
        {"\\", "表", false},
        {"ア", "アイ", true},
        // A text no label can hold: longer than ten characters, or outside Shift-JIS.
        {"12345678901", "1234567890", false},
        {"😀", "1", false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(text_filter(c.text).matches(settled(c.kai)), c.kept) << c.text << " in " << c.kai;
    EXPECT_FALSE(text_filter("").active());
    EXPECT_TRUE(text_filter("1").active());
    EXPECT_TRUE(text_filter("😀").active());
}

TEST(RoundFilterTest, KindAndOpenRoundsNarrowWhatTheTextKeeps)
{
    RoundEntry incomplete = settled("10");
    incomplete.matches[12].result = kResultNone;
    RoundEntry undecided = settled("11");
    undecided.state = kPrizeUndecided;
    RoundEntry refund = settled("12");
    refund.state = kPrizeRefund;
    RoundEntry goal_open = settled("13", LotteryKind::totoGOAL3);
    goal_open.teams[5].score = kScoreNone;
    const RoundEntry big = settled("14", LotteryKind::BIG);
    const RoundEntry entered = settled("15");

    const RoundFilter open_only(QString(), std::nullopt, true, false);
    EXPECT_TRUE(open_only.active());
    EXPECT_TRUE(open_only.matches(incomplete));
    EXPECT_TRUE(open_only.matches(undecided));
    EXPECT_TRUE(open_only.matches(goal_open));
    EXPECT_FALSE(open_only.matches(refund));
    EXPECT_FALSE(open_only.matches(entered));
    EXPECT_FALSE(open_only.matches(big));

    const RoundFilter toto(QString(), LotteryKind::toto, false, false);
    EXPECT_TRUE(toto.active());
    EXPECT_TRUE(toto.matches(entered));
    EXPECT_FALSE(toto.matches(big));
    EXPECT_FALSE(toto.matches(goal_open));

    // All three together: an open toto round whose label holds a 1.
    const RoundFilter all(QStringLiteral("１"), LotteryKind::toto, true, false);
    EXPECT_TRUE(all.matches(incomplete));
    EXPECT_FALSE(all.matches(entered));
    EXPECT_FALSE(all.matches(goal_open));
    RoundEntry open_toto_without_1 = settled("20");
    open_toto_without_1.state = kPrizeUndecided;
    EXPECT_FALSE(all.matches(open_toto_without_1));
    EXPECT_FALSE(RoundFilter().active());
}

// Against the plain reading: decode, fold full-width digits, letters and space to
// half-width, small letters to capitals, and look for the text in the label and in the
// names of the slots the round's kind uses (names left in the other slots do not count).
TEST(RoundFilterTest, AgreesWithDecodedLabelsAndTeamNamesOnRandomTexts)
{
    // The ends of the folded ranges are in it: ０ and ９, Ａ and Ｚ, ａ and ｚ.
    const QString alphabet = QStringLiteral("09０９aＡＺｚzAb第回アイ表\\ 　ｱ");
    const auto folded = [](QString s) {
        for (QChar &c : s) {
            if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF5A && c.isLetterOrNumber())
                c = QChar(c.unicode() - 0xFEE0);
            if (c.unicode() == 0x3000)
                c = QLatin1Char(' ');
            if (c.unicode() < 0x80)
                c = c.toUpper();
        }
        return s;
    };
    std::mt19937 rng(21);
    const auto random_text = [&](int most) {
        QString s;
        const int length = std::uniform_int_distribution<int>(0, most)(rng);
        for (int i = 0; i < length; ++i)
            s += alphabet[std::uniform_int_distribution<int>(0, static_cast<int>(alphabet.size()) - 1)(rng)];
        return s;
    };
    int found_by_name = 0;
    for (int round = 0; round < 3000; ++round) {
        RoundEntry e =
            settled("", kind_from_code(std::uniform_int_distribution<int>(0, kKindCount - 1)(rng)));
        e.kai = shift_jis::encode(random_text(6)); // cut at ten bytes like any label
        for (MatchSlot &m : e.matches) {
            m.home = shift_jis::encode(random_text(2));
            m.away = shift_jis::encode(random_text(2));
        }
        for (TeamSlot &t : e.teams)
            t.team = shift_jis::encode(random_text(2));
        QStringList names;
        for (int s = 0; s < slot_count(e.kind); ++s) {
            if (is_match_kind(e.kind))
                names << e.matches[s].home.text() << e.matches[s].away.text();
            else
                names << e.teams[s].team.text();
        }
        const QString label = e.kai.text();
        const QString text = random_text(3);
        const bool in_label = folded(label).contains(folded(text));
        const bool in_name = std::any_of(names.begin(), names.end(), [&](const QString &name) {
            return folded(name).contains(folded(text));
        });
        found_by_name += !in_label && in_name;
        EXPECT_EQ(RoundFilter(text, std::nullopt, false, false).matches(e), in_label || in_name)
            << qPrintable(text) << " in " << qPrintable(label) << " / " << qPrintable(names.join(u'|'));
    }
    EXPECT_GT(found_by_name, 100); // the names were put to the test
}

// 当選した回のみ keeps the rounds whose 当選金額 reads an amount above 0 or 金額未定, refunds
// left out; with a kind, both must hold.
TEST(RoundFilterTest, WonOnlyKeepsTheRoundsWhoseWinningsSayTheyWon)
{
    std::mt19937 rng(9);
    const TicketBook book = random_book(rng, 800, 3000);
    const RoundFilter won(QString(), std::nullopt, false, true);
    const RoundFilter won_toto(QString(), LotteryKind::toto, false, true);
    EXPECT_TRUE(won.active());
    int kept = 0;
    int undecided = 0;
    for (const RoundEntry &e : book.entries) {
        const QString cell = won_cell_text(e);
        const bool amount = cell != QStringLiteral("-") && QString(cell).remove(u',').toLongLong() > 0;
        const bool expected = e.state != kPrizeRefund && (cell == QStringLiteral("金額未定") || amount);
        EXPECT_EQ(won.matches(e), expected) << cell.toStdString() << " state " << e.state;
        EXPECT_EQ(round_won(e), expected);
        EXPECT_EQ(won_toto.matches(e), expected && e.kind == LotteryKind::toto);
        kept += expected;
        undecided += expected && cell == QStringLiteral("金額未定");
    }
    EXPECT_GT(kept, 10);
    EXPECT_GT(undecided, 0);
    EXPECT_LT(kept, 800);
}
