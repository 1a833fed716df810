// What CSV読み込み確認 shows of each staged row.
#include "entry/csv_confirmation.h"
#include "support/book_builders.h"

#include <gtest/gtest.h>

TEST(CsvConfirmation, ShowsEachStagedRow)
{
    TicketBook book;
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto5, "123")).ok);
    const CsvImport staged = parse_csv(
        "0123,T5\r\nS,1,0,2,9,1\r\nM,2,1,0,1,2,3,1,2,0,1,1,1,1\r\nR,1,0,2,5,4,2,1 500 000,7\r\n", book);
    ASSERT_TRUE(staged.outcome.ok);
    const std::vector<CsvRowView> views = csv_row_views(staged);
    ASSERT_EQ(views.size(), 3u);
    EXPECT_EQ(views[0].item, QStringLiteral("シングル"));
    EXPECT_EQ(std::make_tuple(views[0].doubles, views[0].triples, views[0].combos),
              std::make_tuple(0, 0, int64_t{1}));
    EXPECT_EQ(views[0].cells[1], (std::array<bool, 4>{false, true, false, false})); // "0": draw
    EXPECT_EQ(views[0].cells[3], (std::array<bool, 4>{}));                          // "9": none
    // The line the book will hold: an unknown pick is written as one reading refuses.
    EXPECT_EQ(views[0].line, QStringLiteral("1 0 2 ? 1"));
    EXPECT_EQ(views[1].item, QStringLiteral("マルチ"));
    EXPECT_EQ(std::make_tuple(views[1].doubles, views[1].triples, views[1].combos),
              std::make_tuple(1, 1, int64_t{6}));
    EXPECT_EQ(views[1].line, QStringLiteral("10 2 102 1 1"));
    EXPECT_EQ(views[2].item, QStringLiteral("結果"));
    EXPECT_FALSE(views[2].counters_shown);
    EXPECT_EQ(views[2].line, QString());
    EXPECT_EQ(views[2].cells[4], (std::array<bool, 4>{true, true, true, false})); // cancelled
    EXPECT_TRUE(views[2].grade_labels_shown);
    EXPECT_EQ(views[2].prize_texts,
              (std::vector<QString>{QStringLiteral("1,500,000円"), QStringLiteral("7円")}));

    const CsvImport undecided = parse_csv("123,T5\r\nR,1,1,1,1,1,0\r\nR,1,1,1,1,1,B\r\n", book);
    const std::vector<CsvRowView> prizes = csv_row_views(undecided);
    ASSERT_EQ(prizes.size(), 2u);
    EXPECT_EQ(prizes[0].prize_texts, std::vector<QString>{QStringLiteral("未定")});
    EXPECT_EQ(prizes[1].prize_texts, std::vector<QString>{QStringLiteral("払戻")});
    EXPECT_FALSE(prizes[1].grade_labels_shown);
    EXPECT_EQ(csv_cell_text(true), QStringLiteral("○"));
    EXPECT_EQ(csv_cell_text(false), QStringLiteral("－"));
    EXPECT_EQ(csv_confirm_caption(), QStringLiteral("CSV読み込み確認"));
}

// What OK does, said before it: purchases added (and how many the round holds already, one
// for one), and whether results and prizes are replaced.
TEST(CsvConfirmation, SaysWhatTheFileDoes)
{
    TicketBook book;
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto5, "123")).ok);
    ASSERT_TRUE(add_single(book, 0, make_single({1, 3, 2, 1, 1})).ok);
    ASSERT_TRUE(add_multi(book, 0, make_multi({"110", "100", "100", "100", "100"})).ok);
    book.entries[0].matches[0].result = kHomeWin;
    book.entries[0].state = kPrizeRefund;
    const struct {
        const char *file;
        const char *adds;
        const char *repeats;
        const char *replaces;
    } cases[] = {
        // The round's single twice, another single, and its multi: the single is held once.
        {"123,T5\r\nS,1,0,2,1,1\r\nS,1,0,2,1,1\r\nS,2,2,2,2,2\r\nM,2,1,0,1,1,1,1,1,1,1,1\r\n",
         "シングル 3件・マルチ 1件（5口）を追加します（追加後 購入 6件（8口））。",
         "うち 2件は、この回に既にある券と同じです（読み込み直すと券が重複します）。",
         "結果と当選金額はそのままです。"},
        // A multi of one mark per slot reads as the single does, but is no single.
        {"123,T5\r\nM,1,1,1,0,1,2,1,1,1,1\r\n", "マルチ 1件（1口）を追加します（追加後 購入 3件（4口））。",
         "", "結果と当選金額はそのままです。"},
        {"123,T5\r\nR,1,0,2,5,4,0\r\nR,1,0,2,1,1,0\r\n", "券は追加しません。", "",
         "結果と当選金額を、ファイルの最後の結果の行（2行中）で置き換えます（今は 5試合中 "
         "1試合決定・払戻）。"},
    };
    for (const auto &c : cases) {
        const CsvImport staged = parse_csv(c.file, book);
        ASSERT_TRUE(staged.outcome.ok) << c.file;
        const CsvEffect effect = csv_effect(book, staged, csv_row_views(staged));
        EXPECT_EQ(effect.adds, QString::fromUtf8(c.adds)) << c.file;
        EXPECT_EQ(effect.repeats, QString::fromUtf8(c.repeats)) << c.file;
        EXPECT_EQ(effect.replaces, QString::fromUtf8(c.replaces)) << c.file;
    }
}
