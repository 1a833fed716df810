// The entry commands of the window open their dialogs and keep the list, the totals,
// the enabled commands and the title in step with what the dialogs changed.
#include "main_window_fixture.h"
#include "support/dialog_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>

namespace {

QString nth(const char *array, int i)
{
    return QString::fromLatin1(array) + u'_' + QString::number(i);
}

void click(QWidget *dialog, const QString &name)
{
    if (auto *button = control<QAbstractButton>(dialog, name))
        click(button);
}

void type(QWidget *dialog, const QString &name, const QString &text)
{
    if (auto *box = control<QLineEdit>(dialog, name)) {
        box->setFocus();
        retype(box, text);
    }
}

// Fills form_name for a round of `rows` matches and confirms it.
void fill_round(QDialog *d, const QString &kai, int rows)
{
    type(d, QStringLiteral("txt_kai"), kai);
    for (int i = 0; i < rows; ++i) {
        type(d, nth("txt_home", i), QStringLiteral("H%1").arg(i));
        type(d, nth("txt_away", i), QStringLiteral("A%1").arg(i));
    }
    click(d, QStringLiteral("cmd_ok"));
}

class DialogCommands : public MainWindowTest {
protected:
    void register_toto(const QString &kai)
    {
        ASSERT_TRUE(with_dialog([&] { action("menu_input_toto")->trigger(); },
                                [&](QDialog *d) { fill_round(d, kai, 13); }));
    }

    // A single ticket picking `column` ("opt_win", "opt_draw", "opt_lose") everywhere.
    void buy_single(const char *column, int rows = 13)
    {
        ASSERT_TRUE(with_dialog([&] { action("menu_single")->trigger(); },
                                [&](QDialog *d) {
                                    for (int i = 0; i < rows; ++i)
                                        click(d, nth(column, i));
                                    click(d, QStringLiteral("cmd_ok"));
                                }));
    }
};

} // namespace

TEST_F(DialogCommands, RegisteringARoundAddsASelectedRowAndMarksTheBookChanged)
{
    register_toto(QStringLiteral("1201"));
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(row_texts(0), (QStringList{QStringLiteral("1201"), QStringLiteral("toto"), QStringLiteral("0"),
                                         QStringLiteral("0")} +
                             QStringList(8, QStringLiteral("-"))));
    EXPECT_EQ(entry_commands(), QStringLiteral("11111111"));
    EXPECT_EQ(move_commands(), QStringLiteral("00"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("無題 * － ｙｏｒｉｍｏ"));

    register_toto(QStringLiteral("1202"));
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(window->state().current, 1);
    EXPECT_EQ(move_commands(), QStringLiteral("10"));
}

TEST_F(DialogCommands, ABigRoundFromTheToolbarMenuLeavesMultiDisabled)
{
    ASSERT_TRUE(with_dialog([&] { window->tool_action(QStringLiteral("BIG"))->trigger(); },
                            [&](QDialog *d) { fill_round(d, QStringLiteral("77"), 14); }));
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(row_texts(0)[1], QStringLiteral("BIG"));
    EXPECT_EQ(entry_commands(), QStringLiteral("10111011"));
}

TEST_F(DialogCommands, CancelledRegistrationChangesNothing)
{
    ASSERT_TRUE(with_dialog([&] { action("menu_input_totoGOAL")->trigger(); },
                            [&](QDialog *d) {
                                type(d, QStringLiteral("txt_kai"), QStringLiteral("5"));
                                click(d, QStringLiteral("cmd_cancel"));
                            }));
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(window->state().book().entry_count(), 0);
    EXPECT_EQ(entry_commands(), QStringLiteral("00000000"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("無題 － ｙｏｒｉｍｏ"));
}

TEST_F(DialogCommands, PurchasesUpdateTheRowAndTheTotals)
{
    register_toto(QStringLiteral("9"));
    buy_single("opt_win");
    buy_single("opt_draw");
    EXPECT_EQ(row_texts(0)[2], QStringLiteral("2"));
    EXPECT_EQ(row_texts(0)[3], QStringLiteral("200"));
    EXPECT_EQ(row_texts(0)[4], QStringLiteral("2")) << "best case while no result is in";
    EXPECT_EQ(row_texts(0)[11], QStringLiteral("未確定"));
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("200"));
    EXPECT_EQ(label("lbl_kin"), QStringLiteral("-200"));

    // A multi with one triple and one double: six tickets.
    ASSERT_TRUE(with_dialog([&] { action("tool_multi")->trigger(); },
                            [&](QDialog *d) {
                                for (int i = 0; i < 13; ++i)
                                    click(d, nth("chk_win", i));
                                click(d, nth("chk_draw", 0));
                                click(d, nth("chk_lose", 0));
                                click(d, nth("chk_draw", 1));
                                click(d, QStringLiteral("cmd_ok"));
                            }));
    EXPECT_EQ(row_texts(0)[2], QStringLiteral("8"));
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("800"));
}

TEST_F(DialogCommands, ResultsGradeTheRound)
{
    register_toto(QStringLiteral("3"));
    buy_single("opt_win");
    buy_single("opt_lose");
    ASSERT_TRUE(with_dialog([&] { action("menu_result")->trigger(); },
                            [&](QDialog *d) {
                                for (int i = 0; i < 13; ++i)
                                    click(d, nth("opt_win", i));
                                click(d, QStringLiteral("cmd_ok"));
                            }));
    const QStringList row = row_texts(0);
    EXPECT_EQ(row.mid(4, 3), (QStringList{QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("-")}));
    EXPECT_EQ(row[10], QStringLiteral("1"));
    EXPECT_EQ(row[11], QStringLiteral("金額未定"));
}

TEST_F(DialogCommands, DeletingTheOnlyRoundEmptiesTheList)
{
    register_toto(QStringLiteral("1"));
    buy_single("opt_win");
    ui.answers.push_back(UiServices::Answer::yes);
    ASSERT_TRUE(with_dialog([&] { action("menu_kakunin")->trigger(); },
                            [&](QDialog *d) { click(d, QStringLiteral("cmd_del")); }));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_EQ(ui.messages.back().text, QStringLiteral("削除していいですか？"));
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(window->state().book().entry_count(), 0);
    EXPECT_TRUE(window->state().book().singles.empty());
    EXPECT_EQ(entry_commands(), QStringLiteral("00000000"));
    EXPECT_EQ(move_commands(), QStringLiteral("00"));
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("0"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("無題 * － ｙｏｒｉｍｏ"));
}

TEST_F(DialogCommands, DeletingARoundInTheMiddleSelectsTheRoundThatTookItsPlace)
{
    register_toto(QStringLiteral("1"));
    register_toto(QStringLiteral("2"));
    buy_single("opt_win");
    register_toto(QStringLiteral("3"));
    buy_single("opt_draw");
    window->select_row(1);
    ASSERT_TRUE(with_dialog([&] { action("tool_check")->trigger(); },
                            [&](QDialog *d) { click(d, QStringLiteral("cmd_del")); }));
    ASSERT_EQ(rows(), 2);
    EXPECT_EQ(row_texts(1)[0], QStringLiteral("3"));
    EXPECT_EQ(row_texts(1)[2], QStringLiteral("1"));
    EXPECT_EQ(window->selected_entry(), 1);
    EXPECT_EQ(move_commands(), QStringLiteral("10"));
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("100"));
}

TEST_F(DialogCommands, DeletingATicketInTheReviewRepaintsTheRowAtOnce)
{
    register_toto(QStringLiteral("1"));
    buy_single("opt_win");
    buy_single("opt_win");
    QString row_while_open;
    ASSERT_TRUE(with_dialog([&] { action("menu_kakunin")->trigger(); },
                            [&](QDialog *d) {
                                auto *items = control<QComboBox>(d, QStringLiteral("cmb_kind"));
                                ASSERT_EQ(items->count(), 3);
                                items->setCurrentIndex(1);
                                click(d, QStringLiteral("cmd_del"));
                                row_while_open = row_texts(0)[2];
                                click(d, QStringLiteral("cmd_ok"));
                            }));
    EXPECT_EQ(row_while_open, QStringLiteral("1"));
    EXPECT_EQ(row_texts(0)[2], QStringLiteral("1"));
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("100"));
    EXPECT_EQ(rows(), 1);
}

TEST_F(DialogCommands, ABookBuiltThroughTheWindowSavesAndReopensTheSame)
{
    register_toto(QStringLiteral("1201"));
    buy_single("opt_win");
    buy_single("opt_draw");
    ASSERT_TRUE(with_dialog([&] { action("menu_input_totoGOAL2")->trigger(); },
                            [&](QDialog *d) {
                                type(d, QStringLiteral("txt_kai"), QStringLiteral("55"));
                                for (int i = 0; i < 4; ++i)
                                    type(d, nth("txt_name", i), QStringLiteral("チーム%1").arg(i));
                                click(d, QStringLiteral("cmd_ok"));
                            }));
    buy_single("opt_1ten", 4);
    QStringList before;
    for (int r = 0; r < rows(); ++r)
        before << row_texts(r).join(u'|');

    const QString path = file(QStringLiteral("built.yrm"));
    ui.save_names.push_back(path);
    action("menu_over")->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("built.yrm － ｙｏｒｉｍｏ"));

    window->toto_clear();
    ASSERT_TRUE(window->load_book(path));
    QStringList after;
    for (int r = 0; r < rows(); ++r)
        after << row_texts(r).join(u'|');
    EXPECT_EQ(after, before);
    EXPECT_EQ(window->state().book().entries[1].teams[3].team.text(), QStringLiteral("チーム3"));
}

TEST_F(DialogCommands, ChangingATicketFromTheReviewGoesThroughTheSingleDialog)
{
    register_toto(QStringLiteral("4"));
    buy_single("opt_win");
    ASSERT_TRUE(with_dialog([&] { action("menu_result")->trigger(); },
                            [&](QDialog *d) {
                                for (int i = 0; i < 13; ++i)
                                    click(d, nth("opt_draw", i));
                                click(d, QStringLiteral("cmd_ok"));
                            }));
    ASSERT_EQ(row_texts(0)[10], QStringLiteral("1")) << "the home-win ticket lost";

    QString right_after_change;
    ASSERT_TRUE(with_dialog([&] { action("menu_kakunin")->trigger(); },
                            [&](QDialog *review) {
                                control<QComboBox>(review, QStringLiteral("cmb_kind"))->setCurrentIndex(1);
                                // The change opens form_single in edit mode on top of the review.
                                bool edited = false;
                                QTimer::singleShot(0, [&] {
                                    auto *single = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                                    if (!single || single->objectName() != QStringLiteral("form_single"))
                                        return;
                                    edited = true;
                                    for (int i = 0; i < 13; ++i)
                                        click(single, nth("opt_draw", i));
                                    click(single, QStringLiteral("cmd_ok"));
                                });
                                click(review, QStringLiteral("cmd_cng"));
                                EXPECT_TRUE(edited);
                                right_after_change =
                                    control<QLabel>(review, QStringLiteral("lbl_right_num"))->text();
                                click(review, QStringLiteral("cmd_ok"));
                            }));
    EXPECT_EQ(right_after_change, QStringLiteral("13/13"));
    const QStringList row = row_texts(0);
    EXPECT_EQ(row[2], QStringLiteral("1")) << "an edit keeps the ticket count";
    EXPECT_EQ(row[4], QStringLiteral("1"));
    EXPECT_EQ(row[10], QStringLiteral("0"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("無題 * － ｙｏｒｉｍｏ"));
}

TEST_F(DialogCommands, RowsOpenTheirReviewAndOfferTheirCommands)
{
    auto *hint = window->findChild<QLabel *>(QStringLiteral("lbl_empty"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    register_toto(QStringLiteral("1201"));
    EXPECT_FALSE(hint->isVisible());

    QTreeView *list = window->list();
    const QRect first = list->visualRect(list->model()->index(0, 0));
    const auto review_opened = [](QDialog *d) { EXPECT_EQ(d->objectName(), QStringLiteral("form_kakunin")); };
    list->setFocus();
    EXPECT_TRUE(with_dialog([&] { QTest::keyClick(list, Qt::Key_Return); }, review_opened));
    // A double-click as a mouse sends it: a click, then the second press as a double-click.
    EXPECT_TRUE(with_dialog(
        [&] {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
        },
        review_opened));

    QContextMenuEvent right_click(QContextMenuEvent::Mouse, first.center(),
                                  list->viewport()->mapToGlobal(first.center()));
    QApplication::sendEvent(list->viewport(), &right_click);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList offered;
    for (QAction *a : menu->actions())
        offered << a->objectName() + (a->isEnabled() ? QStringLiteral("+") : QStringLiteral("-"));
    menu->close();
    EXPECT_EQ(offered, QStringList({QStringLiteral("menu_single+"), QStringLiteral("menu_multi+"),
                                    QStringLiteral("menu_quick+"), QStringLiteral("menu_kakunin+"),
                                    QStringLiteral("menu_result+"), QStringLiteral("menu_live-"),
                                    QStringLiteral("+"), QStringLiteral("menu_delete+")}))
        << "途中経過 waits for tickets";
}

TEST_F(DialogCommands, CtrlZBringsBackATicketDeletedInTheReviewAndTheTitleFollowsTheSavedBook)
{
    register_toto(QStringLiteral("1"));
    buy_single("opt_win");
    buy_single("opt_draw");
    const std::vector<Ticket> bought = tickets_of(window->state().book(), 0);
    ui.save_names.push_back(file(QStringLiteral("undo.yrm")));
    action("menu_over")->trigger();
    ASSERT_EQ(window->windowTitle(), QStringLiteral("undo.yrm － ｙｏｒｉｍｏ"));

    ASSERT_TRUE(with_dialog([&] { action("menu_kakunin")->trigger(); },
                            [&](QDialog *d) {
                                control<QComboBox>(d, QStringLiteral("cmb_kind"))->setCurrentIndex(1);
                                click(d, QStringLiteral("cmd_del"));
                                click(d, QStringLiteral("cmd_ok"));
                            }));
    EXPECT_EQ(row_texts(0)[2], QStringLiteral("1"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("undo.yrm * － ｙｏｒｉｍｏ"));
    EXPECT_EQ(action("menu_undo")->text(), QStringLiteral("元に戻す(&U) 購入削除"));

    // The shortcuts reach the window as the user's keys do, once it is the active window.
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    const auto key = [&](Qt::Key k, Qt::KeyboardModifiers mods) { QTest::keyClick(window->list(), k, mods); };
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(row_texts(0)[2], QStringLiteral("2"));
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("200"));
    EXPECT_EQ(tickets_of(window->state().book(), 0), bought); // the same tickets in the same order
    EXPECT_EQ(window->windowTitle(), QStringLiteral("undo.yrm － ｙｏｒｉｍｏ"));
    EXPECT_EQ(window->selected_entry(), 0);
    EXPECT_EQ(action("menu_redo")->text(), QStringLiteral("やり直し(&R) 購入削除"));

    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(row_texts(0)[2], QStringLiteral("1"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("undo.yrm * － ｙｏｒｉｍｏ"));
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Z, Qt::ControlModifier); // past the saved book: the last purchase goes
    EXPECT_EQ(row_texts(0)[2], QStringLiteral("1"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("undo.yrm * － ｙｏｒｉｍｏ"));
    key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("undo.yrm － ｙｏｒｉｍｏ"));

    // Undoing the registration itself empties the list; the commands follow.
    for (int i = 0; i < 3; ++i)
        action("menu_undo")->trigger();
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(action("menu_undo")->isEnabled());
    EXPECT_FALSE(action("menu_single")->isEnabled());
}

TEST_F(DialogCommands, CtrlBTakesManyTicketsAtOnceAsOneStep)
{
    EXPECT_FALSE(action("menu_quick")->isEnabled()); // no round selected
    register_toto(QStringLiteral("1202"));
    EXPECT_TRUE(action("menu_quick")->isEnabled());
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ASSERT_TRUE(with_dialog([&] { QTest::keyClick(window.get(), Qt::Key_B, Qt::ControlModifier); },
                            [&](QDialog *d) {
                                EXPECT_EQ(d->objectName(), QStringLiteral("form_quick"));
                                EXPECT_EQ(control<QLabel>(d, "lbl_home_0")->text(), QStringLiteral("H0"));
                                auto *box = control<QPlainTextEdit>(d, "txt_lines");
                                box->setFocus();
                                for (const char *line : {"1111111111111", "10 1 1 1 1 1 1 1 1 1 1 1 102"}) {
                                    type_text(box, line);
                                    QTest::keyClick(box, Qt::Key_Return);
                                }
                                auto *ok = control<QPushButton>(d, "cmd_ok");
                                QTRY_VERIFY_WITH_TIMEOUT(ok->isEnabled(), 5000);
                                click(ok);
                            }));
    EXPECT_EQ(row_texts(0).mid(2, 2), QStringList({QStringLiteral("7"), QStringLiteral("700")}));
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("700"));
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral(" * ")));
    EXPECT_EQ(action("menu_undo")->text(), u8("元に戻す(&U) まとめて入力"));
    action("menu_undo")->trigger();
    EXPECT_EQ(row_texts(0)[2], QStringLiteral("0"));
}
