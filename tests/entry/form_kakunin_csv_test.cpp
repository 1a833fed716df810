// The review dialog confirming a CSV import: what it shows of each staged line, and that
// only OK writes them into the book.
#include "book/csv_import.h"
#include "entry/form_kakunin.h"
#include "support/book_builders.h"
#include "support/dialog_driver.h"
#include "support/document_helpers.h"
#include "support/fake_ui_services.h"
#include "ui/book_commits.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <limits>

namespace {

// A toto5 round "123" behind a totoGOAL2 round "7" with one single, so the import's entry is
// not the first.
SharedState two_rounds()
{
    SharedState state{BookDocument::no_grading()};
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::totoGOAL2, "7")).ok);
    EXPECT_TRUE(add_single(setup_book(state.document), 0, make_single({0, 1, 2, 3})).ok);
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::toto5, "123")).ok);
    return state;
}

// A single (home, draw, away, home, home), a multi (home+draw, home, all three, away, draw)
// and results (home, draw, away, not entered, cancelled) with three prizes.
const char kToto5File[] = "0123,T5\r\n"
                          "S,1,0,2,1,1\r\n"
                          "M,2,1,0,1,1,3,1,2,0,1,2,1,0\r\n"
                          "R,1,0,2,5,4,3,1500000,2000,300\r\n";

CsvImport staged(const SharedState &state, const char *file)
{
    CsvImport import = parse_csv(QByteArray(file), state.book());
    EXPECT_TRUE(import.outcome.ok) << import.outcome.message.toStdString();
    return import;
}

bool same_book(const TicketBook &a, const TicketBook &b)
{
    return a.entries == b.entries && a.singles == b.singles && a.multis == b.multis &&
           a.goal_singles == b.goal_singles && a.goal_multis == b.goal_multis;
}

QString text(QWidget *d, const char *array, int i)
{
    const QLabel *l = control<QLabel>(d, array, i);
    return l ? l->text() : QString();
}

// The three cells of match row i, "○" or "－" each.
QString match_cells(QWidget *d, int i)
{
    return text(d, "lbl_win", i) + text(d, "lbl_draw", i) + text(d, "lbl_lose", i);
}

bool hidden(QWidget *d, const char *name)
{
    const QWidget *w = control<QWidget>(d, name);
    return w && w->isHidden();
}

} // namespace

TEST(FormKakuninCsv, ShowsEachStagedLine)
{
    SharedState state = two_rounds();
    const CsvImport import = staged(state, kToto5File);
    state.current = import.entry;
    FakeUiServices ui;
    FormKakunin d(state, ui, review_commits(state));
    d.set_csv_import(import);
    d.load();
    d.show();
    const QSize first = d.size();

    EXPECT_EQ(d.csv_flag, -1);
    EXPECT_EQ(control<QLabel>(&d, "lbl_target")->text(),
              QStringLiteral("帳簿の 第123回 toto5（購入 0件（0口））に、ファイルの券を加えます。"));
    EXPECT_TRUE(control<QLabel>(&d, "lbl_target")->isVisibleTo(&d));
    // Then what OK does: what the file adds, and what it replaces.
    EXPECT_EQ(
        control<QLabel>(&d, "lbl_effect")->text(),
        QStringLiteral(
            "シングル 1件・マルチ 1件（7口）を追加します（追加後 購入 2件（7口））。\n"
            "結果と当選金額を、ファイルの結果の行で置き換えます（今は 5試合中 0試合決定・当選金額 未定）。"));
    EXPECT_TRUE(control<QLabel>(&d, "lbl_effect")->isVisibleTo(&d));
    EXPECT_TRUE(hidden(&d, "lbl_repeat"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("CSV読み込み確認"));
    for (const char *name : {"cmd_cng", "cmd_del", "lbl_right", "lbl_right_num"})
        EXPECT_TRUE(hidden(&d, name)) << name;
    EXPECT_EQ(control<QLabel>(&d, "lbl_kai")->text(), QStringLiteral("0123"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_kind")->text(), QStringLiteral("toto5"));
    EXPECT_EQ(text(&d, "lbl_home", 4), QStringLiteral("H4"));
    EXPECT_TRUE(control<QLabel>(&d, "lbl_home", 5)->isHidden());
    EXPECT_TRUE(control<QLabel>(&d, "lbl_win", 5)->isHidden());
    auto *items = control<QComboBox>(&d, "cmb_kind");
    ASSERT_EQ(items->count(), 3);
    // Each item reads its kind and its line.
    EXPECT_EQ(items->itemText(0), QStringLiteral("シングル 1 0 2 1 1"));
    EXPECT_EQ(items->itemText(1), QStringLiteral("マルチ 10 1 102 2 0"));
    EXPECT_EQ(items->itemText(2), QStringLiteral("結果"));
    EXPECT_EQ(items->currentIndex(), 0);
    // Each ticket's line beside the combo and as its item's tooltip; none for the results.
    EXPECT_EQ(items->itemData(0, Qt::ToolTipRole).toString(), QStringLiteral("1 0 2 1 1"));
    EXPECT_EQ(items->itemData(1, Qt::ToolTipRole).toString(), QStringLiteral("10 1 102 2 0"));
    EXPECT_FALSE(items->itemData(2, Qt::ToolTipRole).isValid());
    EXPECT_EQ(control<QLabel>(&d, "lbl_line")->text(), QStringLiteral("1 0 2 1 1"));

    // The single.
    EXPECT_EQ(match_cells(&d, 0), QStringLiteral("○－－"));
    EXPECT_EQ(match_cells(&d, 1), QStringLiteral("－○－"));
    EXPECT_EQ(match_cells(&d, 2), QStringLiteral("－－○"));
    EXPECT_FALSE(hidden(&d, "lbl_double"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_double")->text(), QStringLiteral("0"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_triple")->text(), QStringLiteral("0"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_total")->text(), QStringLiteral("1"));
    EXPECT_TRUE(hidden(&d, "lbl_top_kin"));
    EXPECT_TRUE(hidden(&d, "lbl_right_num"));

    // The multi.
    items->setCurrentIndex(1);
    EXPECT_EQ(match_cells(&d, 0), QStringLiteral("○○－"));
    EXPECT_EQ(match_cells(&d, 2), QStringLiteral("○○○"));
    EXPECT_EQ(match_cells(&d, 3), QStringLiteral("－－○"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_double")->text(), QStringLiteral("1"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_triple")->text(), QStringLiteral("1"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_total")->text(), QStringLiteral("6"));
    EXPECT_TRUE(hidden(&d, "lbl_right_num"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_line")->text(), QStringLiteral("10 1 102 2 0"));

    // The results: not entered shows no mark, cancelled marks every cell; prizes, no counters.
    items->setCurrentIndex(2);
    EXPECT_EQ(control<QLabel>(&d, "lbl_line")->text(), QString());
    EXPECT_EQ(match_cells(&d, 0), QStringLiteral("○－－"));
    EXPECT_EQ(match_cells(&d, 3), QStringLiteral("－－－"));
    EXPECT_EQ(match_cells(&d, 4), QStringLiteral("○○○"));
    for (const char *name : {"lbl_double", "lbl_nm_double", "lbl_total", "line_kuti", "lbl_right_num"})
        EXPECT_TRUE(hidden(&d, name)) << name;
    EXPECT_FALSE(hidden(&d, "lbl_top"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_top")->text(), QStringLiteral("１等"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_top_kin")->text(), QStringLiteral("1,500,000円"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_second_kin")->text(), QStringLiteral("2,000円"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_third_kin")->text(), QStringLiteral("300円"));
    EXPECT_FALSE(hidden(&d, "lbl_third"));
    EXPECT_TRUE(hidden(&d, "lbl_fourth"));
    EXPECT_TRUE(hidden(&d, "lbl_fourth_kin"));

    // Back to the single: the prizes go again. Stepping through the items kept the
    // window's size (a widget shown for a moment would grow it for good).
    items->setCurrentIndex(0);
    EXPECT_EQ(d.size(), first);
    EXPECT_TRUE(hidden(&d, "lbl_top"));
    EXPECT_TRUE(hidden(&d, "lbl_top_kin"));
    EXPECT_FALSE(hidden(&d, "lbl_total"));
}

// The same file read a second time: before OK the dialog says the tickets will be there twice.
TEST(FormKakuninCsv, ASecondReadingOfAFileSaysItRepeatsTheTickets)
{
    SharedState state = two_rounds();
    const CsvImport first = staged(state, kToto5File);
    state.current = first.entry;
    FakeUiServices ui;
    {
        FormKakunin d(state, ui, review_commits(state));
        d.set_csv_import(first);
        d.load();
        click(control<QPushButton>(&d, "cmd_ok"));
    }
    ASSERT_EQ(state.book().entries[1].tickets, 7);
    const CsvImport again = staged(state, kToto5File);
    FormKakunin d(state, ui, review_commits(state));
    d.set_csv_import(again);
    d.load();
    d.show();
    EXPECT_EQ(control<QLabel>(&d, "lbl_target")->text(),
              QStringLiteral("帳簿の 第123回 toto5（購入 2件（7口））に、ファイルの券を加えます。"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_effect")->text(),
              QStringLiteral("シングル 1件・マルチ 1件（7口）を追加します（追加後 購入 4件（14口））。\n"
                             "結果と当選金額を、ファイルの結果の行で置き換えます（今は 5試合中 "
                             "4試合決定・当選金額 入力済み）。"));
    EXPECT_FALSE(hidden(&d, "lbl_repeat"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_repeat")->text(),
              QStringLiteral("うち 2件は、この回に既にある券と同じです（読み込み直すと券が重複します）。"));
    d.reject();
}

TEST(FormKakuninCsv, GoalRefundShowsItsTextAloneAndGoalCells)
{
    SharedState state = two_rounds();
    const CsvImport import = staged(state, "7,G2\r\nR,0,3,4,5,B\r\n");
    state.current = import.entry;
    FakeUiServices ui;
    FormGoalKakunin d(state, ui, review_commits(state));
    d.set_csv_import(import);
    d.load();
    d.show();
    EXPECT_EQ(d.objectName(), QStringLiteral("form_goal_kakunin"));
    EXPECT_EQ(control<QComboBox>(&d, "cmb_kind")->itemText(0), QStringLiteral("結果"));
    auto cells = [&](int i) {
        return text(&d, "lbl_0ten", i) + text(&d, "lbl_1ten", i) + text(&d, "lbl_2ten", i) +
               text(&d, "lbl_3ten", i);
    };
    EXPECT_EQ(cells(0), QStringLiteral("○－－－"));
    EXPECT_EQ(cells(1), QStringLiteral("－－－○"));
    EXPECT_EQ(cells(2), QStringLiteral("○○○○"));
    EXPECT_EQ(cells(3), QStringLiteral("－－－－"));
    EXPECT_FALSE(hidden(&d, "lbl_top_kin"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_top_kin")->text(), QStringLiteral("払戻"));
    EXPECT_TRUE(hidden(&d, "lbl_top"));
    EXPECT_TRUE(hidden(&d, "lbl_second_kin"));
}

TEST(FormKakuninCsv, OkAppliesEveryLine)
{
    SharedState state = two_rounds();
    const CsvImport import = staged(state, kToto5File);
    state.current = import.entry;
    TicketBook expected = state.book();
    ASSERT_TRUE(apply_round_update(expected, csv_update(expected, import)).ok);
    FakeUiServices ui;
    FormKakunin d(state, ui, review_commits(state));
    d.set_csv_import(import);
    d.load();
    d.show();
    click(control<QPushButton>(&d, "cmd_ok"));
    EXPECT_EQ(state.dialog_result, DialogResult::ok);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(same_book(state.book(), expected));
    EXPECT_EQ(state.book().entries[1].tickets, 7);
    EXPECT_TRUE(ui.messages.empty());
}

TEST(FormKakuninCsv, CancelAppliesNothing)
{
    SharedState state = two_rounds();
    const CsvImport import = staged(state, kToto5File);
    state.current = import.entry;
    const TicketBook before = state.book();
    FakeUiServices ui;
    FormKakunin d(state, ui, review_commits(state));
    d.set_csv_import(import);
    d.load();
    d.show();
    click(control<QPushButton>(&d, "cmd_cancel"));
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(same_book(state.book(), before));
}

TEST(FormKakuninCsv, AnImportThatDoesNotFitIsRefusedAndTheDialogStays)
{
    SharedState state = two_rounds();
    const CsvImport import = staged(state, kToto5File);
    state.current = import.entry;
    setup_book(state.document).entries[1].tickets = std::numeric_limits<int32_t>::max();
    const TicketBook before = state.book();
    FakeUiServices ui;
    FormKakunin d(state, ui, review_commits(state));
    d.set_csv_import(import);
    d.load();
    d.show();
    click(control<QPushButton>(&d, "cmd_ok"));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("メモリが足りません。"));
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("ｙｏｒｉｍｏ"));
    EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::critical);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
    EXPECT_TRUE(same_book(state.book(), before));
    d.reject();
}
