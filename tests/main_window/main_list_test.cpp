// The entry list: painting, selection and what it enables, moving entries, totals, layout.
#include "main_window_fixture.h"

#include "results/winning_check.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

TEST_F(MainWindowTest, RowsAndHeadersShowTheBook)
{
    ASSERT_TRUE(window->load_book(write_book(four_round_book(), QStringLiteral("book.yrm"))));
    const QStringList headers = {
        QStringLiteral("回"),       QStringLiteral("種別"),   QStringLiteral("購入口数"),
        QStringLiteral("購入金額"), QStringLiteral("１等"),   QStringLiteral("２等"),
        QStringLiteral("３等"),     QStringLiteral("４等"),   QStringLiteral("５等"),
        QStringLiteral("６等"),     QStringLiteral("はずれ"), QStringLiteral("当選金額")};
    QStringList shown;
    for (int c = 0; c < window->list()->model()->columnCount(); ++c)
        shown << window->list()->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(shown, headers);
    EXPECT_EQ(row_texts(0), toto_row());
    EXPECT_EQ(row_texts(1), big_row());
    EXPECT_EQ(row_texts(2), refund_row());
    EXPECT_EQ(row_texts(3), goal_row());
}

TEST_F(MainWindowTest, MovingUpSwapsRowsChainsAndCommands)
{
    const QString path = write_book(four_round_book(), QStringLiteral("book.yrm"));
    ASSERT_TRUE(window->load_book(path));
    window->select_row(1);
    EXPECT_EQ(move_commands(), QStringLiteral("11"));
    QSignalSpy repainted(window->list()->model(), &QAbstractItemModel::dataChanged);
    QTest::mouseClick(button("cmd_up"), Qt::LeftButton);

    // Both rows are repainted in the view.
    QSet<int> rows_repainted;
    for (const QList<QVariant> &signal : repainted)
        for (int r = signal[0].toModelIndex().row(); r <= signal[1].toModelIndex().row(); ++r)
            rows_repainted.insert(r);
    EXPECT_EQ(rows_repainted, QSet<int>({0, 1}));

    EXPECT_EQ(row_texts(0), big_row());
    EXPECT_EQ(row_texts(1), toto_row());
    const TicketBook &book = window->state().book();
    // Each head purchase names its entry's new place; the second purchases are untouched.
    EXPECT_EQ(book.singles[book.entries[0].first_index].link.prev_index, 0);
    EXPECT_EQ(book.singles[book.entries[1].first_index].link.prev_index, 1);
    EXPECT_TRUE(chains_consistent(book));
    EXPECT_EQ(window->state().current, 0);
    EXPECT_EQ(window->selected_entry(), 0);
    EXPECT_EQ(move_commands(), QStringLiteral("01"));
    EXPECT_TRUE(window->state().document.modified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("book.yrm * － ｙｏｒｉｍｏ"));
    // Moving changes no amount.
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("1,100"));
    EXPECT_EQ(label("lbl_get"), QStringLiteral("106,300"));

    // Saved and read back, the new order and chains hold.
    action("menu_over")->trigger();
    BookReadResult back = read_data(path);
    ASSERT_TRUE(back.outcome.ok);
    grade_book(back.book);
    EXPECT_EQ(back.book.entries[0].kai.bytes(), QByteArray("20"));
    EXPECT_EQ(back.book.entries[0].hits, book.entries[0].hits);
    EXPECT_EQ(tickets_of(back.book, 1), tickets_of(book, 1));
}

TEST_F(MainWindowTest, MovingDownRepaintsTheRefundAndStopsAtTheEnd)
{
    ASSERT_TRUE(window->load_book(write_book(four_round_book(), QStringLiteral("book.yrm"))));
    window->select_row(1);
    QTest::mouseClick(button("cmd_down"), Qt::LeftButton);
    EXPECT_EQ(row_texts(1), refund_row());
    EXPECT_EQ(row_texts(2), big_row());
    EXPECT_EQ(window->state().current, 2);
    EXPECT_EQ(move_commands(), QStringLiteral("11"));

    QTest::mouseClick(button("cmd_down"), Qt::LeftButton);
    EXPECT_EQ(row_texts(2), goal_row());
    EXPECT_EQ(row_texts(3), big_row());
    EXPECT_EQ(window->state().current, 3);
    EXPECT_EQ(move_commands(), QStringLiteral("10"));
    EXPECT_TRUE(chains_consistent(window->state().book()));

    // A disabled button does nothing.
    QTest::mouseClick(button("cmd_down"), Qt::LeftButton);
    EXPECT_EQ(row_texts(3), big_row());

    // All the way up, then the top stops it.
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(button("cmd_up"), Qt::LeftButton);
    EXPECT_EQ(row_texts(0), big_row());
    EXPECT_EQ(row_texts(1), toto_row());
    EXPECT_EQ(row_texts(2), refund_row());
    EXPECT_EQ(row_texts(3), goal_row());
    EXPECT_EQ(move_commands(), QStringLiteral("01"));
    EXPECT_TRUE(chains_consistent(window->state().book()));
}

TEST_F(MainWindowTest, BigFamilyRowsDisableTheMultiCommands)
{
    TicketBook book;
    for (int code = 0; code < kKindCount; ++code)
        ASSERT_TRUE(add_entry(book, make_entry(kind_from_code(code))).ok);
    ASSERT_TRUE(window->load_book(write_book(book, QStringLiteral("kinds.yrm"))));
    for (int row = 0; row < kKindCount; ++row) {
        // Selected by clicking the row, as the user does.
        const QModelIndex index = window->list()->model()->index(row, 1);
        window->list()->scrollTo(index);
        QTest::mouseClick(window->list()->viewport(), Qt::LeftButton, {},
                          window->list()->visualRect(index).center());
        ASSERT_EQ(window->state().current, row);
        const bool big = is_big_family(kind_from_code(row));
        EXPECT_EQ(entry_commands(), big ? QStringLiteral("10111011") : QStringLiteral("11111111"))
            << kind_display_name(kind_from_code(row)).toStdString();
    }
}

TEST_F(MainWindowTest, TheOnlyRowCannotMove)
{
    TicketBook book;
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::miniBIG, "1")).ok);
    ASSERT_TRUE(window->load_book(write_book(book, QStringLiteral("one.yrm"))));
    window->select_row(0);
    EXPECT_EQ(move_commands(), QStringLiteral("00"));
    EXPECT_EQ(entry_commands(), QStringLiteral("10111011"));
}

TEST_F(MainWindowTest, ClearingResetsTotalsAndCommands)
{
    ASSERT_TRUE(window->load_book(write_book(four_round_book(), QStringLiteral("book.yrm"))));
    window->select_row(1);
    make_modified(window->state().document);
    window->toto_clear();
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("0"));
    EXPECT_EQ(label("lbl_get"), QStringLiteral("0"));
    EXPECT_EQ(label("lbl_kin"), QStringLiteral("0"));
    EXPECT_EQ(entry_commands(), QStringLiteral("00000000"));
    EXPECT_EQ(move_commands(), QStringLiteral("00"));
    EXPECT_FALSE(window->state().document.modified());
    EXPECT_EQ(window->state().document.path(), QString());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("無題 － ｙｏｒｉｍｏ"));
}

TEST_F(MainWindowTest, HelpersForTheDialogCommands)
{
    ASSERT_TRUE(window->load_book(write_book(four_round_book(), QStringLiteral("book.yrm"))));
    SharedState &state = window->state();

    // A new round: its row appears selected, with the commands for its kind.
    ASSERT_TRUE(state.document.add_round(make_entry(LotteryKind::BIG1000, "50")).ok);
    EXPECT_EQ(rows(), 5);
    EXPECT_EQ(state.current, 4);
    EXPECT_EQ(row_texts(4), QStringList({QStringLiteral("50"), QStringLiteral("BIG1000"), QStringLiteral("0"),
                                         QStringLiteral("0"), QStringLiteral("-"), QStringLiteral("-"),
                                         QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-"),
                                         QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("-")}));
    EXPECT_EQ(entry_commands(), QStringLiteral("10111011"));
    EXPECT_EQ(move_commands(), QStringLiteral("10"));

    // A purchase stored in the document: graded, repainted, totals and title follow.
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("1,100"));
    ASSERT_TRUE(
        state.document.store_single(4, std::nullopt, make_single({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1})).ok);
    EXPECT_EQ(row_texts(4)[2], QStringLiteral("1"));
    EXPECT_EQ(row_texts(4)[3], QStringLiteral("200"));
    EXPECT_EQ(row_texts(4)[11], QStringLiteral("未確定"));
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("1,300"));
    EXPECT_EQ(label("lbl_kin"), QStringLiteral("105,000"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("book.yrm * － ｙｏｒｉｍｏ"));

    // A round removed: the list is rebuilt and the round that took its place is selected.
    ASSERT_TRUE(state.document.delete_round(3).ok); // the round without purchases
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(row_texts(3)[0], QStringLiteral("50"));
    EXPECT_EQ(window->selected_entry(), 3);
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("1,300"));

    // take_selection follows the selected row (the dialog it opens is cancelled).
    window->select_row(0);
    state.current = 2;
    QTimer::singleShot(0, [] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    window->menu_single_Click();
    EXPECT_EQ(state.current, 0);
}

TEST_F(MainWindowTest, TheWindowKeepsItsMinimumSizeAndTheTotalsAtTheBottom)
{
    EXPECT_EQ(window->minimumSize(), QSize(600, 287));
    window->resize(300, 100);
    EXPECT_EQ(window->size(), QSize(600, 287));
    QApplication::processEvents();

    auto *total = window->findChild<QLabel *>(QStringLiteral("lbl_buy"));
    auto *sum = window->findChild<QLabel *>(QStringLiteral("lbl_sum"));
    auto gap = [&](QWidget *w) { return window->height() - w->mapTo(window.get(), QPoint(0, 0)).y(); };
    const int total_gap = gap(total);
    const int sum_gap = gap(sum);
    const int up_gap = gap(button("cmd_up"));
    const QSize small_list = window->list()->size();
    EXPECT_GT(small_list.height(), 0);

    window->resize(900, 600);
    QApplication::processEvents();
    EXPECT_EQ(gap(total), total_gap);
    EXPECT_EQ(gap(sum), sum_gap);
    EXPECT_EQ(gap(button("cmd_up")), up_gap);
    EXPECT_EQ(window->list()->width() - small_list.width(), 300);
    EXPECT_EQ(window->list()->height() - small_list.height(), 313);
}

TEST_F(MainWindowTest, EveryColumnFitsBesideTheScrollbarAtTheStartingSize)
{
    TicketBook book;
    for (int i = 0; i < 60; ++i)
        EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::BIG100, "第１２３回")).ok);
    ASSERT_TRUE(window->load_book(write_book(book, QStringLiteral("long.yrm"))));
    QTreeView *list = window->list();
    // The starting width, unless the screen is narrower (the offscreen screen may be).
    EXPECT_EQ(window->width(),
              std::min(window->start_width(), QGuiApplication::primaryScreen()->availableGeometry().width()));
    window->resize(window->start_width(), window->height());
    QApplication::processEvents();
    EXPECT_TRUE(list->verticalScrollBar()->isVisible());
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    const QFontMetrics metrics = list->fontMetrics();
    // The widest label, the widest amount the book can hold, and 未確定 show whole.
    EXPECT_GT(list->columnWidth(0), metrics.horizontalAdvance(QStringLiteral("ＷＷＷＷＷ")));
    EXPECT_GT(list->columnWidth(11), metrics.horizontalAdvance(QStringLiteral("26,094,567,000,000,000,000")));
    EXPECT_GT(list->columnWidth(4), metrics.horizontalAdvance(QStringLiteral("未確定")));
    // Rows leave room around Japanese text.
    EXPECT_GT(list->visualRect(list->model()->index(0, 0)).height(),
              metrics.boundingRect(QStringLiteral("未確定")).height());
    // Wider still: no horizontal scrollbar either.
    window->resize(window->width() + 200, window->height());
    QApplication::processEvents();
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
}

// At the smallest width the amounts scroll under 回 and 種別, which stay in sight, and the
// frozen columns select, open a review and offer the row's menu as the list does.
TEST_F(MainWindowTest, LabelAndKindStayInSightWhileTheAmountsScroll)
{
    TicketBook book;
    for (int i = 0; i < 60; ++i)
        EXPECT_TRUE(add_entry(book, make_entry(i % 2 ? LotteryKind::BIG : LotteryKind::toto,
                                               QByteArray::number(1000 + i).constData()))
                        .ok);
    ASSERT_TRUE(window->load_book(write_book(book, QStringLiteral("wide.yrm"))));
    window->resize(600, 400);
    QApplication::processEvents();
    QTreeView *list = window->list();
    auto *frozen = list->findChild<QTreeView *>(QStringLiteral("frozen_columns"));
    ASSERT_NE(frozen, nullptr);
    EXPECT_FALSE(frozen->isVisible()); // unscrolled, the list shows them itself
    QScrollBar *sideways = list->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0);
    sideways->setValue(sideways->maximum());
    list->verticalScrollBar()->setValue(20);
    QApplication::processEvents();
    ASSERT_TRUE(frozen->isVisible());
    EXPECT_EQ(frozen->geometry().left(), list->viewport()->geometry().left());
    EXPECT_EQ(frozen->width(), list->columnWidth(0) + list->columnWidth(1));
    EXPECT_EQ(frozen->viewport()->geometry().height(), list->viewport()->height());
    EXPECT_EQ(frozen->header()->height(), list->header()->height());
    const QPoint middle(10, list->viewport()->height() / 2);
    const QModelIndex under = frozen->indexAt(middle);
    ASSERT_TRUE(under.isValid());
    EXPECT_EQ(under.row(), list->indexAt(middle).row()) << "the rows line up";
    EXPECT_EQ(under.column(), 0);
    EXPECT_EQ(frozen->model()->index(under.row(), 1).data().toString(), row_texts(under.row())[1]);

    // A click selects the row in the list; the keyboard moves on without scrolling back.
    QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, middle);
    EXPECT_EQ(window->state().current, under.row());
    EXPECT_EQ(move_commands(), QStringLiteral("11"));
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(window->state().current, under.row() + 1);
    EXPECT_EQ(sideways->value(), sideways->maximum());
    list->verticalScrollBar()->setValue(0);
    EXPECT_EQ(frozen->verticalScrollBar()->value(), 0);

    const QPoint top(10, frozen->visualRect(frozen->model()->index(0, 0)).center().y());
    EXPECT_TRUE(with_dialog(
        [&] {
            QTest::mouseClick(frozen->viewport(), Qt::LeftButton, {}, top);
            QTest::mouseDClick(frozen->viewport(), Qt::LeftButton, {}, top);
        },
        [](QDialog *d) { EXPECT_EQ(d->objectName(), QStringLiteral("form_kakunin")); }));
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, top, frozen->viewport()->mapToGlobal(top));
    QApplication::sendEvent(frozen->viewport(), &right_click);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QStringLiteral("menu_row"));
    menu->close();
    EXPECT_EQ(window->state().current, 0);

    // An empty book scrolled right keeps its hint uncovered.
    window->toto_clear();
    sideways->setValue(sideways->maximum());
    QApplication::processEvents();
    ASSERT_GT(sideways->value(), 0);
    EXPECT_FALSE(frozen->isVisible());
}

// Delete on a row deletes its round behind 購入確認・修正's question (default いいえ); as one
// step that undo takes back. Delete typed in the find bar stays the text's.
TEST_F(MainWindowTest, DeleteOnARowDeletesItsRoundAfterTheQuestion)
{
    TicketBook book = four_round_book();
    book.entries[1].kai = BookText(sjis("第２０回"));
    ASSERT_TRUE(window->load_book(write_book(book, QStringLiteral("book.yrm"))));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->select_row(1);
    window->list()->setFocus();
    ui.answers = {UiServices::Answer::no};
    QTest::keyClick(window->list(), Qt::Key_Delete);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("削除していいですか？"));
    EXPECT_EQ(ui.messages[0].detail, QStringLiteral("第２０回 BIG と購入 2件（2口）を削除します。"));
    EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::yes_no_default_no);
    EXPECT_EQ(rows(), 4);

    QTest::keyClick(window->list(), Qt::Key_Delete); // はい
    ASSERT_EQ(rows(), 3);
    EXPECT_EQ(row_texts(1), refund_row());
    EXPECT_TRUE(window->state().document.modified());
    action("menu_undo")->trigger();
    ASSERT_EQ(rows(), 4);
    EXPECT_EQ(window->state().book().entries[1].kai.text(), QStringLiteral("第２０回"));

    action("menu_find")->trigger();
    QWidget *typed = QApplication::focusWidget();
    ASSERT_NE(typed, nullptr);
    QTest::keyClicks(typed, QStringLiteral("20"));
    QTest::keyClick(typed, Qt::Key_Home);
    QTest::keyClick(typed, Qt::Key_Delete);
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(window->state().book().entry_count(), 4);
}
