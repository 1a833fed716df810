#include "entry/form_goal_multi.h"
#include "support/book_builders.h"
#include "support/dialog_driver.h"
#include "support/document_helpers.h"
#include "ui/book_commits.h"
#include "ui/shared_state.h"

#include <QCheckBox>
#include <QPushButton>
#include <QToolTip>

namespace {

class FormMultiTest : public ::testing::Test {
protected:
    SharedState state{BookDocument::no_grading()};
    FakeUiServices ui;

    std::unique_ptr<FormMulti> open_new(LotteryKind kind)
    {
        EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(kind)).ok);
        state.current = state.book().entry_count() - 1;
        return open();
    }

    std::unique_ptr<FormMulti> open()
    {
        std::unique_ptr<FormMulti> d;
        if (is_match_kind(state.book().entries[static_cast<size_t>(state.current)].kind))
            d = std::make_unique<FormMulti>(state, ui, multi_commit(state));
        else
            d = std::make_unique<FormGoalMulti>(state, ui, multi_commit(state));
        d->show();
        return d;
    }

    // The box of row i for mark m (勝, 分, 負; or 0..3 goals).
    static QCheckBox *box(FormMulti &d, int i, int m)
    {
        static const char *const match[] = {"chk_win", "chk_draw", "chk_lose"};
        static const char *const goal[] = {"chk_0ten", "chk_1ten", "chk_2ten", "chk_3ten"};
        return control<QCheckBox>(&d, d.family() == Family::match ? match[m] : goal[m], i);
    }

    // Marks row i with `marks` boxes from the left.
    static void mark(FormMulti &d, int i, int marks)
    {
        for (int m = 0; m < marks; ++m)
            click(box(d, i, m));
    }

    // "doubles/triples/total" as the three counters show them.
    static QString counters(FormMulti &d)
    {
        return QStringList{control<QLabel>(&d, QStringLiteral("lbl_double"))->text(),
                           control<QLabel>(&d, QStringLiteral("lbl_triple"))->text(),
                           control<QLabel>(&d, QStringLiteral("lbl_total"))->text()}
            .join(u'/');
    }

    static QPushButton *button(FormMulti &d, const char *name)
    {
        return control<QPushButton>(&d, QString::fromLatin1(name));
    }
};

} // namespace

TEST_F(FormMultiTest, CountsCombinationsAsBoxesAreTicked)
{
    auto d = open_new(LotteryKind::toto);
    EXPECT_EQ(d->objectName(), QStringLiteral("form_multi"));
    EXPECT_EQ(d->windowTitle(), u8("マルチ購入"));
    EXPECT_EQ(counters(*d), QStringLiteral("0/0/1"));
    EXPECT_EQ(control<QLabel>(d.get(), "lbl_no", 0)->text(), QStringLiteral(" 1."));
    EXPECT_EQ(d->findChild<QCheckBox *>(QStringLiteral("chk_win_13")), nullptr);
    for (int i = 0; i < 13; ++i) {
        EXPECT_FALSE(button(*d, "cmd_ok")->isEnabled()) << i;
        mark(*d, i, 1);
    }
    EXPECT_TRUE(button(*d, "cmd_ok")->isEnabled());
    EXPECT_EQ(counters(*d), QStringLiteral("0/0/1"));
    click(box(*d, 4, 1));
    EXPECT_EQ(counters(*d), QStringLiteral("1/0/2"));
    click(box(*d, 4, 2));
    EXPECT_EQ(counters(*d), QStringLiteral("0/1/3"));
    // Taking the only mark of a row away disables OK.
    click(box(*d, 7, 0));
    EXPECT_FALSE(button(*d, "cmd_ok")->isEnabled());
}

TEST_F(FormMultiTest, MoreThanFiveHundredCombinationsAreRefused)
{
    auto d = open_new(LotteryKind::toto);
    for (int i = 0; i < 5; ++i)
        mark(*d, i, 2);
    mark(*d, 5, 3);
    mark(*d, 6, 3);
    for (int i = 7; i < 13; ++i)
        mark(*d, i, 1);
    EXPECT_EQ(counters(*d), QStringLiteral("5/2/288"));
    click(box(*d, 7, 1)); // a sixth double: 576
    EXPECT_FALSE(box(*d, 7, 1)->isChecked());
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("マルチは500口までです"));
    EXPECT_EQ(counters(*d), QStringLiteral("5/2/288"));
    EXPECT_EQ(d->working_copy().combos, 288);
    EXPECT_TRUE(button(*d, "cmd_ok")->isEnabled());

    click(button(*d, "cmd_ok"));
    ASSERT_EQ(state.book().multis.size(), 1u);
    EXPECT_EQ(state.book().multis[0].combos, 288);
    EXPECT_FALSE(state.book().multis[0].marks[7][1]);
    EXPECT_EQ(state.book().entries[0].tickets, 288);
}

TEST_F(FormMultiTest, FourHundredEightySixIsTheMostWithOneDouble)
{
    auto d = open_new(LotteryKind::toto);
    mark(*d, 0, 2);
    for (int i = 1; i < 6; ++i)
        mark(*d, i, 3);
    for (int i = 6; i < 13; ++i)
        mark(*d, i, 1);
    EXPECT_EQ(counters(*d), QStringLiteral("1/5/486"));
    click(box(*d, 12, 2)); // 972
    EXPECT_FALSE(box(*d, 12, 2)->isChecked());
    EXPECT_EQ(counters(*d), QStringLiteral("1/5/486"));
}

TEST_F(FormMultiTest, AFourthGoalMarkIsRefused)
{
    auto d = open_new(LotteryKind::totoGOAL2);
    EXPECT_EQ(d->objectName(), QStringLiteral("form_goal_multi"));
    for (int i = 4; i < 10; ++i)
        EXPECT_TRUE(box(*d, i, 0)->isHidden());
    mark(*d, 0, 4);
    EXPECT_TRUE(box(*d, 0, 2)->isChecked());
    EXPECT_FALSE(box(*d, 0, 3)->isChecked());
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("印は1チーム3つまでです"));
    EXPECT_EQ(counters(*d), QStringLiteral("0/1/3"));
    for (int i = 1; i < 4; ++i)
        mark(*d, i, 1);
    click(button(*d, "cmd_ok"));
    ASSERT_EQ(state.book().goal_multis.size(), 1u);
    EXPECT_TRUE(state.book().multis.empty());
    const auto &marks = state.book().goal_multis[0].marks[0];
    EXPECT_TRUE(marks[0] && marks[1] && marks[2]);
    EXPECT_FALSE(marks[3]);
    EXPECT_EQ(state.book().entries[0].tickets, 3);
}

TEST_F(FormMultiTest, ClearTakesEveryMarkAway)
{
    auto d = open_new(LotteryKind::minitotoB);
    for (int i = 5; i < 13; ++i)
        EXPECT_TRUE(box(*d, i, 0)->isHidden());
    for (int i = 0; i < 5; ++i)
        mark(*d, i, i % 3 + 1);
    EXPECT_TRUE(button(*d, "cmd_ok")->isEnabled());
    click(button(*d, "cmd_clear"));
    EXPECT_EQ(button(*d, "cmd_clear")->text(), u8("クリア"));
    EXPECT_EQ(counters(*d), QStringLiteral("0/0/1"));
    EXPECT_FALSE(button(*d, "cmd_ok")->isEnabled());
    for (QCheckBox *b : d->findChildren<QCheckBox *>())
        EXPECT_FALSE(b->isChecked());
}

TEST_F(FormMultiTest, EditFromFourToTwelveAddsEightTickets)
{
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::toto5)).ok);
    EXPECT_TRUE(add_single(setup_book(state.document), 0, make_single({1, 1, 1, 1, 1})).ok);
    EXPECT_TRUE(add_multi(setup_book(state.document), 0, make_multi({"110", "011", "100", "100", "010"})).ok);
    ASSERT_EQ(state.book().entries[0].tickets, 5);
    const PurchaseLinks links = state.book().multis[0].link;
    state.current = 0;
    state.editing = 0;
    auto d = open();
    EXPECT_TRUE(box(*d, 1, 1)->isChecked()); // draw
    EXPECT_TRUE(box(*d, 1, 2)->isChecked()); // away
    EXPECT_FALSE(box(*d, 1, 0)->isChecked());
    EXPECT_EQ(counters(*d), QStringLiteral("2/0/4"));
    EXPECT_TRUE(button(*d, "cmd_ok")->isEnabled());
    click(box(*d, 2, 1));
    click(box(*d, 2, 2));
    EXPECT_EQ(counters(*d), QStringLiteral("2/1/12"));
    click(button(*d, "cmd_ok"));
    EXPECT_EQ(state.dialog_result, DialogResult::ok);
    EXPECT_EQ(state.dialog_result, DialogResult::ok);
    EXPECT_EQ(state.book().entries[0].tickets, 13);
    EXPECT_EQ(state.book().multis.size(), 1u);
    EXPECT_EQ(state.book().multis[0].combos, 12);
    EXPECT_EQ(state.book().multis[0].link, links);
    EXPECT_TRUE(chains_consistent(state.book()));
}

TEST_F(FormMultiTest, EditOfAGoalMultiStartsFromItsMarks)
{
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::totoGOAL3)).ok);
    EXPECT_TRUE(
        add_multi(setup_book(state.document), 0, make_multi({"1100", "0001", "1000", "1000", "0110", "1000"}))
            .ok);
    state.editing = 0;
    auto d = open();
    EXPECT_TRUE(box(*d, 1, 3)->isChecked());
    EXPECT_EQ(counters(*d), QStringLiteral("2/0/4"));
    click(box(*d, 0, 0));
    click(button(*d, "cmd_ok"));
    EXPECT_EQ(state.book().goal_multis[0].combos, 2);
    EXPECT_EQ(state.book().entries[0].tickets, 2);
}

TEST_F(FormMultiTest, CancelAndFullPoolChangeNothing)
{
    auto d = open_new(LotteryKind::minitotoA);
    const TicketBook before = state.book();
    for (int i = 0; i < 5; ++i)
        mark(*d, i, 2);
    click(button(*d, "cmd_cancel"));
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
    EXPECT_FALSE(state.document.modified());
    EXPECT_EQ(state.book().entries, before.entries);
    EXPECT_TRUE(state.book().multis.empty());

    setup_book(state.document).multis.resize(kMaxRecords);
    auto full = open();
    for (int i = 0; i < 5; ++i)
        mark(*full, i, 1);
    click(button(*full, "cmd_ok"));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, u8("メモリが足りません。"));
    EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::critical);
    EXPECT_TRUE(full->isVisible());
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
    EXPECT_EQ(state.book().entries, before.entries);
}

TEST_F(FormMultiTest, EnterPressesTheFocusedButtonElseOk)
{
    for (const char *focused : {"cmd_cancel", "cmd_clear", "chk_draw_4"}) {
        SCOPED_TRACE(focused);
        state = SharedState{BookDocument::no_grading()};
        auto d = open_new(LotteryKind::minitotoA);
        d->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
        for (int i = 0; i < 5; ++i)
            mark(*d, i, 1);
        auto *target = d->findChild<QWidget *>(QLatin1String(focused));
        ASSERT_NE(target, nullptr);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        const bool ok_pressed = QLatin1String(focused) == QLatin1String("chk_draw_4");
        EXPECT_EQ(state.book().multis.size(), ok_pressed ? 1u : 0u);
        EXPECT_EQ(state.dialog_result, ok_pressed ? DialogResult::ok : DialogResult::cancelled);
        EXPECT_EQ(d->isVisible(), QLatin1String(focused) == QLatin1String("cmd_clear"));
        if (d->isVisible()) {
            EXPECT_EQ(counters(*d), QStringLiteral("0/0/1")); // cleared
        }
    }
}
