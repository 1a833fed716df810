// The orders of the main list's columns, against the texts the list shows.
#include "results/entry_row.h"
#include "results/round_order.h"
#include "support/book_builders.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <set>

namespace {

// Where a cell stands by its text alone: values first, by value; then "?" and 未確定, then
// 金額未定, then "-".
std::pair<int, double> cell_rank(const QString &text)
{
    if (text == QStringLiteral("?") || text == QStringLiteral("未確定"))
        return {1, 0};
    if (text == QStringLiteral("金額未定"))
        return {2, 0};
    if (text == QStringLiteral("-"))
        return {3, 0};
    bool number = false;
    const double value = QString(text).remove(u',').toDouble(&number);
    EXPECT_TRUE(number) << text.toStdString();
    return {0, value};
}

std::vector<int> sorted(const TicketBook &book, int column, bool descending)
{
    std::vector<int> entries(static_cast<size_t>(book.entry_count()));
    std::iota(entries.begin(), entries.end(), 0);
    RoundOrder(column, descending).sort(book, entries);
    return entries;
}

QStringList labels(const TicketBook &book, const std::vector<int> &entries)
{
    QStringList texts;
    for (const int e : entries)
        texts << book.entries[static_cast<size_t>(e)].kai.text();
    return texts;
}

} // namespace

// Every count and amount column and 種別, both ways, on a random book: the values rise
// (or fall), the cells without one follow in either direction, equal cells keep the book's
// order, and `before` agrees with the sort.
TEST(RoundOrderTest, CountsAmountsAndKindsGoByWhatTheListShows)
{
    std::mt19937 rng(30);
    const TicketBook book = random_book(rng, 600, 900);
    for (int column = 1; column < kListColumns; ++column) {
        for (const bool descending : {false, true}) {
            const std::vector<int> order = sorted(book, column, descending);
            ASSERT_EQ(order.size(), 600u);
            std::vector<int> place(order.size());
            for (size_t i = 0; i < order.size(); ++i)
                place[static_cast<size_t>(order[i])] = static_cast<int>(i);
            std::set<int> groups;
            for (size_t i = 1; i < order.size(); ++i) {
                const RoundEntry &a = book.entries[static_cast<size_t>(order[i - 1])];
                const RoundEntry &b = book.entries[static_cast<size_t>(order[i])];
                // 種別 by the 新規登録 menu's order, the others by their texts.
                const auto rank = [&](const RoundEntry &e) {
                    if (column == 1)
                        return std::pair<int, double>(
                            0, std::find(kMenuKindOrder.begin(), kMenuKindOrder.end(), e.kind) -
                                   kMenuKindOrder.begin());
                    return cell_rank(entry_column_text(e, column));
                };
                const auto ra = rank(a);
                const auto rb = rank(b);
                groups.insert(rb.first);
                const std::string where = "column " + std::to_string(column) +
                                          (descending ? " falling" : " rising") + " at " + std::to_string(i);
                ASSERT_LE(ra.first, rb.first) << where;
                if (ra.first == rb.first && ra.second != rb.second) {
                    ASSERT_EQ(ra.second < rb.second, !descending) << where;
                }
                if (ra == rb) {
                    ASSERT_LT(order[i - 1], order[i]) << where << ": equal cells keep the book's order";
                }
            }
            if (column >= 4) {
                EXPECT_GE(groups.size(), 2u) << column; // values and cells without one both met
            }
            for (int k = 0; k < 200; ++k) {
                const int a = std::uniform_int_distribution<int>(0, 599)(rng);
                const int b = std::uniform_int_distribution<int>(0, 599)(rng);
                EXPECT_EQ(RoundOrder(column, descending).before(book, a, b),
                          place[static_cast<size_t>(a)] < place[static_cast<size_t>(b)]);
            }
        }
    }
}

TEST(RoundOrderTest, LabelsGoByTheirNumberThenTheirText)
{
    TicketBook book;
    for (const char *kai :
         {"第10回", "abc", "第９回", "1581", "第2回B", "", "ABC", "第2回A", "１５８１", "9", "第2回A"})
        ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto, kai)).ok);
    // Either width is one number; equal labels keep the book's order (entries 7 and 10).
    EXPECT_EQ(labels(book, sorted(book, 0, false)).join(u' '),
              QStringLiteral("第2回A 第2回A 第2回B 9 第９回 第10回 1581 １５８１  abc ABC"));
    const std::vector<int> rising = sorted(book, 0, false);
    EXPECT_LT(std::find(rising.begin(), rising.end(), 7), std::find(rising.begin(), rising.end(), 10));
    // Falling: the numbers from the top, labels without one after them, texts falling too.
    EXPECT_EQ(labels(book, sorted(book, 0, true)).join(u' '),
              QStringLiteral("1581 １５８１ 第10回 第９回 9 第2回B 第2回A 第2回A abc ABC "));
    // The book's order, and a column that is none.
    std::vector<int> entries = {3, 1, 2};
    RoundOrder().sort(book, entries);
    EXPECT_EQ(entries, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(RoundOrder().active());
    EXPECT_FALSE(RoundOrder(kListColumns, false).active());
    EXPECT_TRUE(RoundOrder(0, true).active());
}
