// Sorting the main list by a click on a heading: the orders of each kind of column, the
// three-click cycle, ▲/▼, the commands on a sorted row, and the find bar together with it.
#include "main_window_fixture.h"
#include "results/winning_check.h"
#include "support/dialog_driver.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

namespace {

// four_round_book and two rounds whose 当選金額 is not yet an amount: 第５回 with a result
// missing (未確定) and 第100回 with its prizes not yet known (金額未定).
TicketBook sortable_book()
{
    TicketBook book = four_round_book();
    RoundEntry open = make_entry(LotteryKind::toto, "第５回");
    for (int s = 0; s < 12; ++s)
        open.matches[s].result = kHomeWin;
    EXPECT_TRUE(add_entry(book, open).ok);
    EXPECT_TRUE(add_single(book, 4, make_single(std::vector<int>(13, kHomeWin))).ok);
    RoundEntry undecided = make_entry(LotteryKind::minitotoA, "第100回");
    for (int s = 0; s < 5; ++s)
        undecided.matches[s].result = kHomeWin;
    EXPECT_TRUE(add_entry(book, undecided).ok);
    EXPECT_TRUE(add_single(book, 5, make_single(std::vector<int>(5, kHomeWin))).ok);
    grade_book(book);
    return book;
}

class SortListTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(window->load_book(write_book(sortable_book(), QStringLiteral("sort.yrm"))));
        // Every heading in sight.
        window->resize(window->start_width() + 40, 500);
        QApplication::processEvents();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    QHeaderView *headings() const { return window->list()->header(); }
    void click_heading(int column, QHeaderView *on = nullptr)
    {
        QHeaderView *h = on ? on : headings();
        QTest::mouseClick(
            h->viewport(), Qt::LeftButton, {},
            QPoint(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2));
    }
    // The labels of the rows shown, top to bottom.
    QString shown() const
    {
        QStringList labels;
        for (int r = 0; r < rows(); ++r)
            labels << row_texts(r)[0];
        return labels.join(u' ');
    }
    QString book_order() const
    {
        QStringList labels;
        for (const RoundEntry &e : window->state().book().entries)
            labels << e.kai.text();
        return labels.join(u' ');
    }
};

} // namespace

// Each kind of column, rising and falling; the third click returns to the book's order,
// which never changed; the selected round stays selected; ▲/▼ are off while sorted.
TEST_F(SortListTest, EachKindOfColumnSortsRisingFallingThenBackToTheBooksOrder)
{
    const QString book = QStringLiteral("10 20 30 40 第５回 第100回");
    ASSERT_EQ(shown(), book);
    window->select_row(1); // 20
    EXPECT_EQ(move_commands(), QStringLiteral("11"));

    struct Case {
        int column;
        const char *rising;
        const char *falling;
    };
    const Case cases[] = {
        // 回 by its number, either width.
        {0, "第５回 10 20 30 40 第100回", "第100回 40 30 20 10 第５回"},
        // 種別 in the 新規登録 order; equal kinds keep the book's order both ways.
        {1, "10 第５回 第100回 40 20 30", "30 20 40 第100回 10 第５回"},
        // Counts by value, equal counts in the book's order.
        {2, "40 第５回 第100回 10 20 30", "30 10 20 第５回 第100回 40"},
        // ２等: "?" after the counts, "-" after that, in either direction.
        {5, "20 10 第５回 30 40 第100回", "10 20 第５回 30 40 第100回"},
        // 当選金額: amounts, then 未確定, 金額未定 and "-".
        {11, "30 20 10 第５回 第100回 40", "10 20 30 第５回 第100回 40"},
    };
    for (const Case &c : cases) {
        click_heading(c.column);
        EXPECT_EQ(shown(), QString::fromUtf8(c.rising)) << c.column;
        EXPECT_EQ(headings()->sortIndicatorSection(), c.column);
        EXPECT_EQ(headings()->sortIndicatorOrder(), Qt::AscendingOrder);
        EXPECT_EQ(window->selected_entry(), 1) << c.column;
        EXPECT_EQ(row_texts(window->list()->currentIndex().row())[0], QStringLiteral("20"));
        EXPECT_EQ(move_commands(), QStringLiteral("00"));
        window->cmd_up_Click(); // a stray call moves nothing either
        click_heading(c.column);
        EXPECT_EQ(shown(), QString::fromUtf8(c.falling)) << c.column;
        EXPECT_EQ(headings()->sortIndicatorOrder(), Qt::DescendingOrder);
        EXPECT_EQ(move_commands(), QStringLiteral("00"));
        click_heading(c.column);
        EXPECT_EQ(shown(), book) << c.column;
        EXPECT_EQ(headings()->sortIndicatorSection(), -1);
        EXPECT_EQ(move_commands(), QStringLiteral("11"));
        EXPECT_EQ(book_order(), book);
        EXPECT_FALSE(window->state().document.modified());
    }
    // Another heading while sorted starts that one rising.
    click_heading(0);
    click_heading(2);
    EXPECT_EQ(shown(), QStringLiteral("40 第５回 第100回 10 20 30"));
}

// The frozen columns' headings sort too, and both show the same order.
TEST_F(SortListTest, TheFrozenHeadingsSortLikeTheListsOwn)
{
    window->resize(600, 400);
    QApplication::processEvents();
    QScrollBar *sideways = window->list()->horizontalScrollBar();
    sideways->setValue(sideways->maximum());
    QApplication::processEvents();
    auto *frozen = window->list()->findChild<QTreeView *>(QStringLiteral("frozen_columns"));
    ASSERT_TRUE(frozen && frozen->isVisible());
    click_heading(0, frozen->header());
    click_heading(0, frozen->header());
    EXPECT_EQ(shown(), QStringLiteral("第100回 40 30 20 10 第５回"));
    EXPECT_EQ(headings()->sortIndicatorSection(), 0);
    EXPECT_EQ(headings()->sortIndicatorOrder(), Qt::DescendingOrder);
    click_heading(0, frozen->header());
    EXPECT_EQ(headings()->sortIndicatorSection(), -1);
    headings()->setSortIndicator(1, Qt::AscendingOrder);
    EXPECT_EQ(frozen->header()->sortIndicatorSection(), 1);
}

// A command on a sorted row works on that row's round; what it changes puts the row where
// its new figures belong, still selected; the book keeps its order. A move undone while
// sorted leaves the rows sorted.
TEST_F(SortListTest, CommandsOnASortedRowReachItsRoundAndTheListStaysSorted)
{
    click_heading(11);
    click_heading(11); // 当選金額 falling: 10 20 30 第５回 第100回 40
    const QRect second = window->list()->visualRect(window->list()->model()->index(1, 0));
    QTest::mouseClick(window->list()->viewport(), Qt::LeftButton, {}, second.center());
    ASSERT_EQ(window->selected_entry(), 1); // the BIG round "20"
    EXPECT_EQ(entry_commands(), QStringLiteral("10111011"));
    // シングル購入 of a ticket right on every match: 1等, so the round goes to the top.
    EXPECT_TRUE(with_dialog([&] { action("menu_single")->trigger(); },
                            [](QDialog *d) {
                                for (int i = 0; i < 14; ++i)
                                    click(control<QAbstractButton>(d, "opt_win", i));
                                click(control<QPushButton>(d, "cmd_ok"));
                            }));
    EXPECT_EQ(window->state().book().entries[1].tickets, 3);
    EXPECT_EQ(shown(), QStringLiteral("20 10 30 第５回 第100回 40"));
    EXPECT_EQ(window->selected_entry(), 1);
    EXPECT_EQ(window->list()->currentIndex().row(), 0);
    EXPECT_EQ(book_order(), QStringLiteral("10 20 30 40 第５回 第100回"));
    // Undone, it goes back down.
    action("menu_undo")->trigger();
    EXPECT_EQ(shown(), QStringLiteral("10 20 30 第５回 第100回 40"));

    // 結果入力 and the review on the fourth row open on 第５回, entry 4; the row's menu too.
    const QRect fourth = window->list()->visualRect(window->list()->model()->index(3, 0));
    QTest::mouseClick(window->list()->viewport(), Qt::LeftButton, {}, fourth.center());
    for (const char *command : {"menu_result", "menu_kakunin", "menu_quick"})
        EXPECT_TRUE(with_dialog([&] { action(command)->trigger(); },
                                [&](QDialog *) { EXPECT_EQ(window->state().current, 4) << command; }));
    window->select_row(0);
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, fourth.center(),
                                  window->list()->viewport()->mapToGlobal(fourth.center()));
    QApplication::sendEvent(window->list()->viewport(), &right_click);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    menu->close();
    EXPECT_EQ(window->selected_entry(), 4);

    // A move made in the book's order, undone and redone while sorted.
    click_heading(11); // back to the book's order
    window->select_row(1);
    window->cmd_up_Click();
    EXPECT_EQ(book_order(), QStringLiteral("20 10 30 40 第５回 第100回"));
    click_heading(0); // 回 rising
    action("menu_undo")->trigger();
    EXPECT_EQ(book_order(), QStringLiteral("10 20 30 40 第５回 第100回"));
    EXPECT_EQ(shown(), QStringLiteral("第５回 10 20 30 40 第100回"));
    EXPECT_EQ(row_texts(window->list()->currentIndex().row())[0], QStringLiteral("20"));
    action("menu_redo")->trigger();
    EXPECT_EQ(shown(), QStringLiteral("第５回 10 20 30 40 第100回"));
    EXPECT_EQ(move_commands(), QStringLiteral("00"));

    // New and open start in the book's order.
    ui.open_names.push_back(write_book(sortable_book(), QStringLiteral("again.yrm")));
    ui.answers.push_back(UiServices::Answer::no);
    action("menu_open")->trigger();
    EXPECT_EQ(headings()->sortIndicatorSection(), -1);
    EXPECT_EQ(shown(), QStringLiteral("10 20 30 40 第５回 第100回"));
}

// The find bar narrows the sorted rows and keeps their order; a round just registered
// while both are on shows in its sorted place.
TEST_F(SortListTest, SortAndFindWorkTogether)
{
    click_heading(0);
    click_heading(0); // 回 falling
    window->menu_find_Click();
    auto *text = window->findChild<QLineEdit *>(QStringLiteral("txt_find"));
    type_text(text, "第");
    EXPECT_EQ(shown(), QStringLiteral("第100回 第５回"));
    EXPECT_EQ(label("lbl_shown"), QStringLiteral("表示中 2 / 6 回"));
    click_heading(0); // the book's order, still narrowed
    EXPECT_EQ(shown(), QStringLiteral("第５回 第100回"));
    click_heading(11);
    EXPECT_EQ(shown(), QStringLiteral("第５回 第100回"));
    click_heading(11);
    click_heading(11);
    click_heading(0); // 回 rising
    EXPECT_EQ(shown(), QStringLiteral("第５回 第100回"));

    RoundEntry added = make_entry(LotteryKind::toto, "第50回");
    ASSERT_TRUE(window->state().document.add_round(added).ok);
    EXPECT_EQ(shown(), QStringLiteral("第５回 第50回 第100回"));
    EXPECT_EQ(window->selected_entry(), 6);
    added = make_entry(LotteryKind::toto, "7");
    ASSERT_TRUE(window->state().document.add_round(added).ok); // shown although the filter leaves it out
    EXPECT_EQ(shown(), QStringLiteral("第５回 7 第50回 第100回"));

    // Closing the bar shows every row, still sorted, ▲/▼ still off.
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_EQ(shown(), QStringLiteral("第５回 7 10 20 30 40 第50回 第100回"));
    EXPECT_EQ(window->selected_entry(), 7);
    EXPECT_EQ(move_commands(), QStringLiteral("00"));
    EXPECT_EQ(book_order(), QStringLiteral("10 20 30 40 第５回 第100回 第50回 7"));
}
