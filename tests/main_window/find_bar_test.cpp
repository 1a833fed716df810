// The find bar over the list: narrowing as the user types, the commands through it, and
// what a change, new and open do to it.
#include "book/csv_export.h"
#include "main_window_fixture.h"
#include "support/dialog_driver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace {

// Rounds to find: the same number written in both widths, kinds and open ones among them.
TicketBook findable_book()
{
    TicketBook book;
    const auto add = [&](LotteryKind kind, const char *kai, bool complete, int state) {
        RoundEntry e = make_entry(kind);
        e.kai = sjis(kai);
        for (int s = complete ? 0 : 1; s < slot_count(kind); ++s)
            (is_match_kind(kind) ? e.matches[s].result : e.teams[s].score) = 1;
        e.state = state;
        EXPECT_TRUE(add_entry(book, e).ok);
    };
    add(LotteryKind::toto, "第1580回", true, kPrizeEntered);
    add(LotteryKind::BIG, "１５８１回", true, kPrizeEntered);
    add(LotteryKind::toto, "第1581回", false, kPrizeUndecided);
    add(LotteryKind::totoGOAL, "第1590回", true, kPrizeEntered);
    add(LotteryKind::minitotoA, "1581", true, kPrizeUndecided);
    add(LotteryKind::toto, "第1600回", true, kPrizeRefund);
    // A ticket right on every match of "1581": its row shows what the prizes make of it.
    EXPECT_TRUE(add_single(book, 4, make_single(std::vector<int>(5, kHomeWin))).ok);
    // A team to find by name: an away side of 第1580回 and a team of 第1590回; the name left
    // in a slot mini toto does not use is no team of "1581".
    book.entries[0].matches[12].away = sjis("鹿島");
    book.entries[3].teams[1].team = sjis("ｶｼﾏ鹿島");
    book.entries[4].matches[9].home = sjis("鹿島");
    return book;
}

class FindBarTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(window->load_book(write_book(findable_book(), QStringLiteral("find.yrm"))));
        activate();
    }

    // Shortcuts reach the active window only; a dialog that closed may leave none active.
    void activate()
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T>
    T *bar(const char *name) const
    {
        auto *w = window->findChild<T *>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QLineEdit *text() const { return bar<QLineEdit>("txt_find"); }
    QComboBox *kinds() const { return bar<QComboBox>("cmb_find_kind"); }
    QCheckBox *open_only() const { return bar<QCheckBox>("chk_find_open"); }
    QCheckBox *won_only() const { return bar<QCheckBox>("chk_find_won"); }

    // The entries of the rows shown, as their labels.
    QStringList shown() const
    {
        QStringList labels;
        for (int r = 0; r < rows(); ++r)
            labels << row_texts(r)[0];
        return labels;
    }
    void find(const char *typed)
    {
        activate();
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        ASSERT_TRUE(text()->hasFocus());
        type_text(text(), typed);
    }
    // Clicks row `row` of the list as shown.
    void click_row(int row)
    {
        QTreeView *list = window->list();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }
};

} // namespace

TEST_F(FindBarTest, TypingNarrowsTheRowsCountsThemAndEscShowsEveryRowAgain)
{
    EXPECT_EQ(action("menu_find")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F));
    EXPECT_FALSE(bar<QWidget>("find_bar")->isVisible());
    const QString bought = label("lbl_buy");
    window->select_row(3);
    EXPECT_EQ(move_commands(), QStringLiteral("11"));
    QStringList all_kinds;
    for (int i = 0; i < kinds()->count(); ++i)
        all_kinds << kinds()->itemText(i);
    EXPECT_EQ(
        all_kinds,
        QStringList({QStringLiteral("すべて"), QStringLiteral("toto"), QStringLiteral("mini toto-A"),
                     QStringLiteral("mini toto-B"), QStringLiteral("toto5"), QStringLiteral("totoGOAL"),
                     QStringLiteral("totoGOAL3"), QStringLiteral("totoGOAL2"), QStringLiteral("BIG"),
                     QStringLiteral("100円BIG"), QStringLiteral("BIG1000"), QStringLiteral("mini BIG")}));

    find("１５８");
    EXPECT_TRUE(bar<QWidget>("find_bar")->isVisible());
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1580回"), QStringLiteral("１５８１回"),
                                    QStringLiteral("第1581回"), QStringLiteral("1581")}));
    // The round selected is filtered out: nothing is selected, nothing to command.
    EXPECT_EQ(window->selected_entry(), -1);
    EXPECT_EQ(entry_commands(), QStringLiteral("00000000"));
    EXPECT_EQ(label("lbl_shown"), QStringLiteral("表示中 4 / 6 回"));
    EXPECT_EQ(label("lbl_buy"), bought);
    type_text(text(), "1");
    EXPECT_EQ(rows(), 3);

    // A kind, then the open rounds alone; the selected round stays selected while shown.
    window->select_row(2);
    kinds()->setCurrentIndex(1); // toto
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1581回")}));
    EXPECT_EQ(window->selected_entry(), 2);
    // ▲/▼ move in the book's order, which the filtered list does not show.
    EXPECT_EQ(move_commands(), QStringLiteral("00"));
    kinds()->setCurrentIndex(0);
    open_only()->click();
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1581回"), QStringLiteral("1581")}));
    EXPECT_EQ(label("lbl_shown"), QStringLiteral("表示中 2 / 6 回"));
    EXPECT_EQ(move_commands(), QStringLiteral("00"));
    window->cmd_down_Click(); // a stray call moves nothing either
    EXPECT_EQ(window->state().book().entries[2].kai.text(), QStringLiteral("第1581回"));

    // Enter goes to the first row shown, and Enter there opens its review.
    QTest::keyClick(text(), Qt::Key_Return);
    EXPECT_TRUE(window->list()->hasFocus());
    EXPECT_EQ(window->selected_entry(), 2);
    EXPECT_TRUE(with_dialog([&] { QTest::keyClick(window->list(), Qt::Key_Return); },
                            [&](QDialog *) { EXPECT_EQ(window->state().current, 2); }));

    // Nothing found says so.
    type_text(text(), "9");
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(label("lbl_empty"), QStringLiteral("条件に合う開催回はありません"));
    EXPECT_EQ(entry_commands(), QStringLiteral("00000000"));

    // Esc from the list closes the bar, forgets it and keeps the selected round.
    open_only()->click();
    text()->setText(QStringLiteral("1600"));
    window->select_row(5);
    activate();
    window->list()->setFocus();
    QTest::keyClick(window->list(), Qt::Key_Escape);
    EXPECT_FALSE(bar<QWidget>("find_bar")->isVisible());
    EXPECT_EQ(rows(), 6);
    EXPECT_EQ(window->selected_entry(), 5);
    EXPECT_EQ(move_commands(), QStringLiteral("10"));
    EXPECT_FALSE(bar<QLabel>("lbl_shown")->isVisible());
    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(text()->text(), QString());
    EXPECT_FALSE(open_only()->isChecked());
    // Esc in the bar and its × close it alike.
    type_text(text(), "158");
    QTest::keyClick(text(), Qt::Key_Escape);
    EXPECT_EQ(rows(), 6);
    find("158");
    // An open list of kinds takes its own Esc and only closes.
    kinds()->showPopup();
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(kinds()->view(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(bar<QWidget>("find_bar")->isVisible());
    EXPECT_EQ(rows(), 4);
    bar<QAbstractButton>("cmd_find_close")->click();
    EXPECT_FALSE(bar<QWidget>("find_bar")->isVisible());
    EXPECT_EQ(rows(), 6);

    // A round the filter hid is selected again when the bar closes with nothing selected;
    // a change of the book meanwhile forgets it.
    window->select_row(3);
    find("1581");
    EXPECT_EQ(window->selected_entry(), -1);
    QTest::keyClick(text(), Qt::Key_Escape);
    EXPECT_EQ(window->selected_entry(), 3);
    EXPECT_EQ(move_commands(), QStringLiteral("11"));
    find("1581");
    ASSERT_TRUE(window->state().document.delete_round(0).ok);
    window->list()->clearSelection();
    QTest::keyClick(text(), Qt::Key_Escape);
    EXPECT_EQ(window->selected_entry(), -1);
}

// A team's name finds its rounds in any slot the kind uses; 当選した回のみ keeps the rounds
// that won, alone or with the other choices; new forgets it.
TEST_F(FindBarTest, TeamNamesAndTheRoundsThatWon)
{
    find("");
    const QList<QLabel *> captions = bar<QWidget>("find_bar")->findChildren<QLabel *>();
    ASSERT_FALSE(captions.isEmpty());
    EXPECT_EQ(captions[0]->text(), QStringLiteral("回・チーム(&K)"));
    EXPECT_EQ(captions[0]->buddy(), text());
    EXPECT_EQ(won_only()->text(), QStringLiteral("当選した回のみ"));
    type_text(text(), "鹿島");
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1580回"), QStringLiteral("第1590回")}));
    text()->clear();
    EXPECT_EQ(rows(), 6);

    // Only 1581 won (a ticket right everywhere, prizes not yet known).
    won_only()->click();
    EXPECT_EQ(shown(), QStringList({QStringLiteral("1581")}));
    EXPECT_EQ(label("lbl_shown"), QStringLiteral("表示中 1 / 6 回"));
    EXPECT_EQ(move_commands(), QStringLiteral("00"));
    type_text(text(), "第");
    EXPECT_EQ(rows(), 0);
    text()->clear();
    open_only()->click(); // open and won: prizes still 未定
    EXPECT_EQ(shown(), QStringList({QStringLiteral("1581")}));
    kinds()->setCurrentIndex(1); // toto
    EXPECT_EQ(rows(), 0);

    ui.answers.push_back(UiServices::Answer::no);
    action("menu_new")->trigger();
    EXPECT_FALSE(won_only()->isChecked());
}

TEST_F(FindBarTest, CommandsOnTheSelectedRowReachTheEntryItShows)
{
    find("1581"); // rows: entries 1, 2, 4
    ASSERT_EQ(rows(), 3);

    // シングル購入 on the first row shown: the BIG round, entry 1.
    click_row(0);
    EXPECT_EQ(window->state().current, 1);
    EXPECT_EQ(entry_commands(), QStringLiteral("10111011")); // BIG: no multi
    EXPECT_TRUE(with_dialog([&] { action("menu_single")->trigger(); },
                            [](QDialog *d) {
                                for (int i = 0; i < 14; ++i)
                                    click(control<QAbstractButton>(d, "opt_win", i));
                                click(control<QPushButton>(d, "cmd_ok"));
                            }));
    EXPECT_EQ(window->state().book().entries[1].tickets, 1);
    EXPECT_EQ(row_texts(0)[2], QStringLiteral("1"));
    EXPECT_EQ(window->selected_entry(), 1);

    // マルチ購入 and 結果入力 open on the second row's round, entry 2.
    click_row(1);
    for (const char *command : {"menu_multi", "menu_result", "menu_kakunin"})
        EXPECT_TRUE(with_dialog([&] { action(command)->trigger(); },
                                [&](QDialog *) { EXPECT_EQ(window->state().current, 2) << command; }));

    // A double-click and a right-click on the third row: entry 4.
    const QRect third = window->list()->visualRect(window->list()->model()->index(2, 0));
    EXPECT_TRUE(with_dialog(
        [&] {
            QTest::mouseClick(window->list()->viewport(), Qt::LeftButton, {}, third.center());
            QTest::mouseDClick(window->list()->viewport(), Qt::LeftButton, {}, third.center());
        },
        [&](QDialog *d) {
            EXPECT_EQ(d->objectName(), QStringLiteral("form_kakunin"));
            EXPECT_EQ(window->state().current, 4);
        }));
    click_row(0);
    QContextMenuEvent right_click(QContextMenuEvent::Mouse, third.center(),
                                  window->list()->viewport()->mapToGlobal(third.center()));
    QApplication::sendEvent(window->list()->viewport(), &right_click);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    menu->close();
    EXPECT_EQ(window->selected_entry(), 4);

    // The CSV export writes the round of the row, not the book's row of that number.
    ui.save_names.push_back(file(QStringLiteral("round.csv")));
    action("menu_csv_write")->trigger();
    QFile written(file(QStringLiteral("round.csv")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), export_csv(window->state().book(), 4).bytes);
}

TEST_F(FindBarTest, ARowAChangeMovesOutStaysUntilTheFilterChangesAndNewForgetsTheBar)
{
    find("");
    open_only()->click();
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1581回"), QStringLiteral("1581")}));
    window->select_row(4);

    // Prizes entered: the round is settled, yet its row stays, repainted.
    RoundEntry settled = window->state().book().entries[4];
    settled.state = kPrizeEntered;
    settled.prizes[0] = 1000;
    ASSERT_TRUE(window->state().document.enter_results(4, settled).ok);
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1581回"), QStringLiteral("1581")}));
    EXPECT_EQ(row_texts(1)[11], QStringLiteral("1,000"));
    EXPECT_EQ(window->selected_entry(), 4);
    // Until the filter changes.
    type_text(text(), "1");
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1581回")}));
    // Undone, the round the step was about comes back into sight, selected.
    action("menu_undo")->trigger();
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1581回"), QStringLiteral("1581")}));
    EXPECT_EQ(window->selected_entry(), 4);

    // A round just registered shows although the filter would leave it out; one deleted
    // takes its row along and leaves the neighbour to the filter.
    RoundEntry added = make_entry(LotteryKind::toto);
    added.kai = sjis("第2000回");
    for (int s = 0; s < 13; ++s)
        added.matches[s].result = kHomeWin;
    added.state = kPrizeEntered;
    ASSERT_TRUE(window->state().document.add_round(added).ok);
    EXPECT_EQ(shown(),
              QStringList({QStringLiteral("第1581回"), QStringLiteral("1581"), QStringLiteral("第2000回")}));
    EXPECT_EQ(window->selected_entry(), 6);
    EXPECT_EQ(label("lbl_shown"), QStringLiteral("表示中 3 / 7 回"));
    ASSERT_TRUE(window->state().document.delete_round(6).ok);
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1581回"), QStringLiteral("1581")}));

    // New forgets the bar and its choices.
    ui.answers.push_back(UiServices::Answer::no);
    action("menu_new")->trigger();
    EXPECT_FALSE(bar<QWidget>("find_bar")->isVisible());
    EXPECT_FALSE(open_only()->isChecked());
    EXPECT_EQ(text()->text(), QString());
    EXPECT_FALSE(bar<QLabel>("lbl_shown")->isVisible());
    // So does open.
    find("1600");
    ui.open_names.push_back(write_book(findable_book(), QStringLiteral("again.yrm")));
    action("menu_open")->trigger();
    EXPECT_FALSE(bar<QWidget>("find_bar")->isVisible());
    EXPECT_EQ(rows(), 6);
    EXPECT_EQ(text()->text(), QString());
}

// A move undone or redone while the list is filtered: each row shows a round the filter
// takes, not the other round of the pair that changed places.
TEST_F(FindBarTest, AMoveUndoneWhileFilteredShowsTheRoundsTheFilterTakes)
{
    window->select_row(2);
    window->cmd_up_Click(); // 第1581回 before １５８１回
    find("第158");
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1580回"), QStringLiteral("第1581回")}));
    action("menu_undo")->trigger();
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1580回"), QStringLiteral("第1581回")}));
    EXPECT_EQ(window->selected_entry(), 2);
    action("menu_redo")->trigger();
    EXPECT_EQ(shown(), QStringList({QStringLiteral("第1580回"), QStringLiteral("第1581回")}));
    EXPECT_EQ(window->selected_entry(), 1);
}

// In the narrowest window the check boxes go under the text, which keeps room to type; a
// wide window has the bar on one line.
TEST_F(FindBarTest, TheCheckBoxesGoUnderTheTextInANarrowWindow)
{
    find("");
    const auto row_of = [&](QWidget *w) { return w->mapTo(window.get(), QPoint(0, 0)).y(); };
    window->resize(600, 400);
    QApplication::processEvents();
    EXPECT_GT(row_of(open_only()), row_of(text()) + text()->height() / 2);
    EXPECT_EQ(row_of(won_only()), row_of(open_only()));
    EXPECT_GE(text()->width(), text()->fontMetrics().horizontalAdvance(QStringLiteral("例: 1581、鹿島")));
    window->resize(window->start_width() + 100, 400);
    QApplication::processEvents();
    EXPECT_LT(std::abs(row_of(open_only()) - row_of(text())), text()->height());
    EXPECT_GT(won_only()->mapTo(window.get(), QPoint(0, 0)).x(),
              open_only()->mapTo(window.get(), QPoint(0, 0)).x());
}
