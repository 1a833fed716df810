#include "book/ticket_lines.h"
#include "support/book_builders.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

QString u8(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// One line read for a round of `kind`: the purchase written back as a line, prefixed "S "
// or "M ", or the error's reason.
QString read_one(LotteryKind kind, const char *utf8)
{
    const ParsedTickets parsed = parse_ticket_lines(u8(utf8), kind);
    if (!parsed.errors.empty())
        return parsed.errors.front().reason;
    if (parsed.purchases.size() != 1)
        return QStringLiteral("%1 purchases").arg(parsed.purchases.size());
    if (const auto *m = std::get_if<MultiPurchase>(&parsed.purchases.front()))
        return QStringLiteral("M ") + ticket_line(*m, kind);
    return QStringLiteral("S ") + ticket_line(std::get<SinglePurchase>(parsed.purchases.front()), kind);
}

int pick(std::mt19937 &rng, int n)
{
    return std::uniform_int_distribution<int>(0, n - 1)(rng);
}

} // namespace

TEST(TicketLines, ReadsEverySeparatorStyleBracketsAndFullWidthForms)
{
    const LotteryKind toto = LotteryKind::toto;
    const char *const single = "S 1 0 2 1 0 1 2 0 0 2 1 0 1";
    struct Case {
        LotteryKind kind;
        const char *line;
        const char *read;
    };
    const Case cases[] = {
        {toto, "1021012002101", single},
        {toto, "1 0 2 1 0 1 2 0 0 2 1 0 1", single},
        {toto, "1,0,2,1,0,1,2,0,0,2,1,0,1", single},
        {toto, "1-0-2-1-0-1-2-0-0-2-1-0-1", single},
        {toto, "1/0/2/1/0/1/2/0/0/2/1/0/1", single},
        {toto, "\t 1 , 0 -2/ 1    0,1 2 0 0 2 1 0 1 \r", single},
        {toto, "１０２１０１２００２１０１", single},
        {toto, "1　0　2 1 0 1 2 0 0 2 1 0 1", single},
        {toto, "[1]021012002101", single},
        {toto, "10 0 2 1 0 1 2 0 0 2 1 0 1", "M 10 0 2 1 0 1 2 0 0 2 1 0 1"},
        {toto, "201,0,2,1,0,1,2,0,0,2,1,0,01", "M 102 0 2 1 0 1 2 0 0 2 1 0 10"},
        {toto, "[01]0(2)10120021(201)1", "M 10 0 2 1 0 1 2 0 0 2 1 102 1"},
        {toto, "1 [02] 2 1 0 1 2 0 0 2 1 0 1", "M 1 02 2 1 0 1 2 0 0 2 1 0 1"},
        {LotteryKind::BIG, "10210120021012", "S 1 0 2 1 0 1 2 0 0 2 1 0 1 2"},
        {LotteryKind::totoGOAL3, "0 1 2 3 0 3", "S 0 1 2 3 0 3"},
        {LotteryKind::totoGOAL3, "３２１０(30)3", "M 3 2 1 0 03 3"},
        {LotteryKind::totoGOAL2, "012,3,3,1", "M 012 3 3 1"},
        // The refusals, each with its reason.
        {toto, "102101200210", "枠が12個です（13個必要です）"},
        {toto, "1 0 2 1 0 1 2 0 0 2 1 0 1 1", "枠が14個です（13個必要です）"},
        {toto, "102101200210111", "枠が15個です（13個必要です）"},
        {toto, "3021012002101", "「3」はこの種別にない印です"},
        {LotteryKind::totoGOAL3, "0 1 2 4 0 1", "「4」はこの種別にない印です"},
        {toto, "11 0 2 1 0 1 2 0 0 2 1 0 1", "1つの枠に「1」が2つあります"},
        {toto, "[11]021012002101", "1つの枠に「1」が2つあります"},
        {toto, "1,,0,2,1,0,1,2,0,0,2,1,0", "印のない枠があります"},
        {toto, "1 0 2 1 0 1 2 0 0 2 1 0 1 ,", "印のない枠があります"},
        {toto, "[]1021012002101", "印のない枠があります"},
        {toto, "021012002101[12", "括弧が閉じていません"},
        {toto, "[10)021012002101", "括弧が閉じていません"},
        {toto, "10]021012002101", "括弧が開いていません"},
        {toto, "[1 0] 0 2 1 0 1 2 0 0 2 1 0", "括弧の中に「 」があります"},
        {toto, "[10]0 2 1 0 1 2 0 0 2 1 0 1", "枠の間に区切りがありません"},
        {toto, "a021012002101", "「a」は読めません"},
        {toto, "1 0 2 1 0 1 2 0 0 2 1 0 ?", "「?」は読めません"},
        {toto, "10 10 10 10 10 10 102 102 1 1 1 1 1", "マルチは500口までです"},
        {toto, "10 102 102 102 102 102 1 1 1 1 1 1 1", "M 10 102 102 102 102 102 1 1 1 1 1 1 1"},
        {LotteryKind::totoGOAL3, "0123 1 2 3 0 1", "印は1チーム3つまでです"},
        {LotteryKind::BIG, "10 0 2 1 0 1 2 0 0 2 1 0 1 2", "BIGはシングルのみです"},
        {LotteryKind::miniBIG, "(10)00000000", "mini BIGはシングルのみです"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(read_one(c.kind, c.line), u8(c.read)) << c.line;
}

TEST(TicketLines, SkipsEmptyAndCommentLinesAndNumbersEveryLine)
{
    const ParsedTickets parsed = parse_ticket_lines(u8("# 第1234回\n"
                                                       "10212\r\n"
                                                       "\n"
                                                       "   \n"
                                                       "1021\n"
                                                       "  # 予備\n"
                                                       "(10)(102)212\n"
                                                       "1021x\n"
                                                       "00000"),
                                                    LotteryKind::minitotoA);
    ASSERT_EQ(parsed.errors.size(), 2u);
    EXPECT_EQ(parsed.errors[0].line, 5);
    EXPECT_EQ(parsed.errors[1].line, 8);
    EXPECT_EQ(line_error_text(parsed.errors[1]), u8("8行目: 「x」は読めません"));
    EXPECT_EQ(parsed.error_lines, 2);
    EXPECT_EQ(parsed.lines, (std::vector<int>{2, 7, 9}));
    EXPECT_EQ(parsed.singles, 2);
    EXPECT_EQ(parsed.multis, 1);
    EXPECT_EQ(parsed.tickets, 8);
    EXPECT_EQ(tickets_summary_text(parsed), u8("シングル 2口・マルチ 1件（6口）"));
    EXPECT_FALSE(parsed.valid());
    EXPECT_TRUE(parse_ticket_lines(QString(), LotteryKind::toto).valid());
}

// Random purchases of every kind, written as lines, then rewritten in a random style
// (separators, brackets, full-width digits, marks in any order) and read back: the same
// purchases, a multi with one mark on every slot coming back as a single.
TEST(TicketLines, WritingThenReadingGivesThePurchasesBack)
{
    std::mt19937 rng(19);
    const QStringList separators = {QStringLiteral(" "),  QStringLiteral(","),  QStringLiteral(" - "),
                                    QStringLiteral("/"),  QStringLiteral("　"), QStringLiteral("  , "),
                                    QStringLiteral("\t/")};
    for (int k = 0; k < kKindCount; ++k) {
        const LotteryKind kind = kind_from_code(k);
        const bool match = is_match_kind(kind);
        const int marks = marks_per_slot(kind);
        std::vector<NewPurchase> wanted;
        QString text;
        for (int t = 0; t < 300; ++t) {
            NewPurchase p;
            if (is_big_family(kind) || pick(rng, 2)) {
                SinglePurchase s;
                for (int i = 0; i < slot_count(kind); ++i)
                    s.picks[static_cast<size_t>(i)] =
                        static_cast<uint8_t>(match ? 1 + pick(rng, 3) : pick(rng, 4));
                p = s;
            } else {
                MultiPurchase m;
                do {
                    m = MultiPurchase{};
                    for (int i = 0; i < slot_count(kind); ++i) {
                        auto &slot = m.marks[static_cast<size_t>(i)];
                        const int n = 1 + pick(rng, pick(rng, 3) == 0 ? 3 : 1);
                        while (std::count(slot.begin(), slot.end(), true) < n)
                            slot[static_cast<size_t>(pick(rng, marks))] = true;
                    }
                    count_multi(m, kind);
                } while (!multi_within_limits(m, kind));
                p = m;
            }
            const QString line =
                std::visit([&](const auto &purchase) { return ticket_line(purchase, kind); }, p);
            // Restyle: each slot's marks shuffled, then joined.
            QStringList slots = line.split(u' ');
            bool plain = true;
            for (QString &slot : slots) {
                std::shuffle(slot.begin(), slot.end(), rng);
                plain = plain && slot.size() == 1;
            }
            const int style = pick(rng, 3);
            QString styled;
            if (style == 0 && plain) {
                styled = slots.join(QString());
            } else if (style == 1) {
                for (const QString &slot : slots)
                    styled +=
                        slot.size() == 1 ? slot : (pick(rng, 2) ? u'[' + slot + u']' : u'(' + slot + u')');
            } else {
                styled = slots.join(separators[pick(rng, static_cast<int>(separators.size()))]);
            }
            if (pick(rng, 4) == 0)
                for (QChar &c : styled)
                    if (c.isDigit())
                        c = QChar(c.unicode() - u'0' + u'０');
            text += styled + (pick(rng, 2) ? QStringLiteral("\n") : QStringLiteral("\r\n"));
            if (const auto *m = std::get_if<MultiPurchase>(&p); m && m->combos == 1) {
                SinglePurchase s; // the same ticket as a single
                for (int i = 0; i < slot_count(kind); ++i) {
                    const auto &slot = m->marks[static_cast<size_t>(i)];
                    const int mark =
                        static_cast<int>(std::find(slot.begin(), slot.end(), true) - slot.begin());
                    s.picks[static_cast<size_t>(i)] =
                        static_cast<uint8_t>(match ? kResultOfMark[static_cast<size_t>(mark)] : mark);
                }
                p = s;
            }
            wanted.push_back(p);
        }
        const ParsedTickets parsed = parse_ticket_lines(text, kind);
        ASSERT_TRUE(parsed.errors.empty()) << kind_display_name(kind).toStdString() << ": "
                                           << line_error_text(parsed.errors[0]).toStdString();
        ASSERT_EQ(parsed.purchases.size(), wanted.size());
        for (size_t i = 0; i < wanted.size(); ++i)
            EXPECT_EQ(parsed.purchases[i], wanted[i]) << kind_display_name(kind).toStdString() << " " << i;
    }
}

TEST(TicketLines, PicksTheBookHoldsWithoutAMarkAreWrittenAsQuestionMarks)
{
    SinglePurchase none = make_single({1, 0, 3, 2, 1});
    EXPECT_EQ(ticket_line(none, LotteryKind::toto5), QStringLiteral("1 ? 0 2 1"));
    EXPECT_EQ(ticket_line(make_single({0, 3, 2, 1}), LotteryKind::totoGOAL2), QStringLiteral("0 3 2 1"));
    EXPECT_EQ(ticket_line(make_multi({"101", "000", "011", "100", "111"}), LotteryKind::toto5),
              QStringLiteral("12 ? 02 1 102"));
    EXPECT_FALSE(parse_ticket_lines(ticket_line(none, LotteryKind::toto5), LotteryKind::toto5).valid());
}

TEST(TicketLines, KeepsNoMoreThanAPoolTakes)
{
    QString text;
    for (int i = 0; i <= kMaxRecords; ++i)
        text += QStringLiteral("11111\n");
    const ParsedTickets parsed = parse_ticket_lines(text, LotteryKind::toto5);
    EXPECT_TRUE(parsed.errors.empty());
    EXPECT_TRUE(parsed.too_many);
    EXPECT_EQ(parsed.singles, kMaxRecords + 1);
    EXPECT_EQ(parsed.purchases.size(), static_cast<size_t>(kMaxRecords));
}
