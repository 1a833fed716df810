#include "entry/form_goal_single.h"
#include "support/book_builders.h"
#include "support/dialog_driver.h"
#include "support/document_helpers.h"
#include "ui/book_commits.h"
#include "ui/shared_state.h"

#include <QPushButton>
#include <QRadioButton>

namespace {

class FormSingleTest : public ::testing::Test {
protected:
    SharedState state{BookDocument::no_grading()};
    FakeUiServices ui;

    // A round of `kind` as the selected entry, and its single dialog opened.
    std::unique_ptr<FormSingle> open(int entry)
    {
        state.current = entry;
        std::unique_ptr<FormSingle> d;
        if (is_match_kind(state.book().entries[static_cast<size_t>(entry)].kind))
            d = std::make_unique<FormSingle>(state, ui, single_commit(state));
        else
            d = std::make_unique<FormGoalSingle>(state, ui, single_commit(state));
        d->show();
        return d;
    }

    int add_round(LotteryKind kind)
    {
        EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(kind)).ok);
        return state.book().entry_count() - 1;
    }

    // The button of row i for the pick column c (0 = 勝 or 0 goals, ...).
    static QRadioButton *pick_button(FormSingle &d, int i, int c)
    {
        static const char *const match[] = {"opt_win", "opt_draw", "opt_lose"};
        static const char *const goal[] = {"opt_0ten", "opt_1ten", "opt_2ten", "opt_3ten"};
        return control<QRadioButton>(&d, d.family() == Family::match ? match[c] : goal[c], i);
    }

    static QPushButton *ok(FormSingle &d) { return control<QPushButton>(&d, QStringLiteral("cmd_ok")); }
};

} // namespace

TEST_F(FormSingleTest, OkWaitsForAPickOnEveryShownRow)
{
    const std::pair<LotteryKind, int> kinds[] = {{LotteryKind::toto, 13},     {LotteryKind::BIG, 14},
                                                 {LotteryKind::BIG100, 14},   {LotteryKind::BIG1000, 11},
                                                 {LotteryKind::miniBIG, 9},   {LotteryKind::toto5, 5},
                                                 {LotteryKind::totoGOAL2, 4}, {LotteryKind::totoGOAL3, 6}};
    for (const auto &[kind, rows] : kinds) {
        SCOPED_TRACE(kind_display_name(kind).toStdString());
        auto d = open(add_round(kind));
        EXPECT_EQ(d->row_count(), rows);
        const int built = is_match_kind(kind) ? kMaxMatchSlots : kMaxTeamSlots;
        for (int i = 0; i < built; ++i)
            EXPECT_EQ(pick_button(*d, i, 0)->isHidden(), i >= rows) << i;
        for (int i = 0; i < rows; ++i) {
            EXPECT_FALSE(ok(*d)->isEnabled()) << i;
            click(pick_button(*d, i, i % 3));
        }
        EXPECT_TRUE(ok(*d)->isEnabled());
        // Moving a pick within its row keeps OK enabled.
        click(pick_button(*d, 0, 2));
        EXPECT_TRUE(ok(*d)->isEnabled());
    }
}

TEST_F(FormSingleTest, ShowsTheRound)
{
    RoundEntry e = make_entry(LotteryKind::toto, "321");
    e.matches[2].home = BookText(sjis("鹿島"));
    EXPECT_TRUE(add_entry(setup_book(state.document), e).ok);
    auto d = open(0);
    EXPECT_EQ(d->objectName(), QStringLiteral("form_single"));
    EXPECT_EQ(d->windowTitle(), u8("シングル購入"));
    EXPECT_EQ(control<QLabel>(d.get(), QStringLiteral("lbl_kai"))->text(), QStringLiteral("321"));
    EXPECT_EQ(control<QLabel>(d.get(), QStringLiteral("lbl_kind"))->text(), QStringLiteral("toto"));
    EXPECT_EQ(control<QLabel>(d.get(), "lbl_home", 2)->text(), u8("鹿島"));
    EXPECT_EQ(control<QLabel>(d.get(), "lbl_away", 12)->text(), QStringLiteral("A12"));
    EXPECT_EQ(control<QLabel>(d.get(), "lbl_no", 13)->text(), QStringLiteral("14."));

    add_round(LotteryKind::totoGOAL);
    auto g = open(1);
    EXPECT_EQ(g->objectName(), QStringLiteral("form_goal_single"));
    EXPECT_EQ(control<QLabel>(g.get(), "lbl_name", 9)->text(), QStringLiteral("T9"));
    EXPECT_EQ(control<QLabel>(g.get(), "lbl_no", 0)->text(), QStringLiteral(" 1."));
}

TEST_F(FormSingleTest, NewTicketsFollowEachOtherInTheChain)
{
    add_round(LotteryKind::toto5);
    add_round(LotteryKind::miniBIG);
    for (int n = 0; n < 2; ++n) {
        state.dialog_result = DialogResult::ok;
        auto d = open(1);
        EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
        for (int i = 0; i < 9; ++i)
            click(pick_button(*d, i, (i + n) % 3));
        click(ok(*d));
        EXPECT_EQ(state.dialog_result, DialogResult::ok);
        EXPECT_EQ(state.dialog_result, DialogResult::ok);
        EXPECT_FALSE(d->isVisible());
    }
    ASSERT_EQ(state.book().singles.size(), 2u);
    EXPECT_EQ(state.book().entries[1].tickets, 2);
    EXPECT_EQ(state.book().entries[0].tickets, 0);
    EXPECT_EQ(state.book().singles[0].link.next_type, kSingle);
    EXPECT_EQ(state.book().singles[0].link.next_index, 1);
    // Columns 勝, 分, 負 store 1, 3, 2; unused rows 0.
    EXPECT_EQ(state.book().singles[0].picks[0], kHomeWin);
    EXPECT_EQ(state.book().singles[0].picks[1], kDraw);
    EXPECT_EQ(state.book().singles[0].picks[2], kAwayWin);
    EXPECT_EQ(state.book().singles[1].picks[0], kDraw);
    EXPECT_EQ(state.book().singles[0].picks[9], 0);
    EXPECT_TRUE(chains_consistent(state.book()));
}

TEST_F(FormSingleTest, GoalPicksStoreTheGoalCount)
{
    add_round(LotteryKind::totoGOAL2);
    auto d = open(0);
    for (int i = 0; i < 4; ++i)
        click(pick_button(*d, i, 3 - i));
    click(ok(*d));
    ASSERT_EQ(state.book().goal_singles.size(), 1u);
    EXPECT_TRUE(state.book().singles.empty());
    const auto &picks = state.book().goal_singles[0].picks;
    EXPECT_EQ((std::vector<int>{picks[0], picks[1], picks[2], picks[3], picks[4]}),
              (std::vector<int>{3, 2, 1, 0, 0}));
}

TEST_F(FormSingleTest, EditSelectsTheStoredPicksAndKeepsTickets)
{
    add_round(LotteryKind::toto5);
    EXPECT_TRUE(add_single(setup_book(state.document), 0, make_single({1, 2, 3, 1, 2})).ok);
    EXPECT_TRUE(add_single(setup_book(state.document), 0, make_single({3, 3, 3, 3, 3})).ok);
    const TicketBook before = state.book();
    state.editing = 0; // the first ticket
    auto d = open(0);
    EXPECT_TRUE(control<QRadioButton>(d.get(), "opt_win", 0)->isChecked());
    EXPECT_TRUE(control<QRadioButton>(d.get(), "opt_lose", 1)->isChecked());
    EXPECT_TRUE(control<QRadioButton>(d.get(), "opt_draw", 2)->isChecked());
    EXPECT_TRUE(ok(*d)->isEnabled());
    click(control<QRadioButton>(d.get(), "opt_draw", 4));
    click(ok(*d));
    EXPECT_EQ(state.book().singles.size(), 2u);
    EXPECT_EQ(state.book().entries[0], before.entries[0]);
    EXPECT_EQ(state.book().singles[0].picks[4], kDraw);
    EXPECT_EQ(state.book().singles[0].link, before.singles[0].link);
    EXPECT_EQ(state.book().singles[1], before.singles[1]);
}

TEST_F(FormSingleTest, CancelAndFullPoolChangeNothing)
{
    add_round(LotteryKind::totoGOAL2);
    const TicketBook before = state.book();
    auto d = open(0);
    for (int i = 0; i < 4; ++i)
        click(pick_button(*d, i, 1));
    click(control<QPushButton>(d.get(), QStringLiteral("cmd_cancel")));
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
    EXPECT_FALSE(state.document.modified());
    EXPECT_EQ(state.book().entries, before.entries);
    EXPECT_TRUE(state.book().goal_singles.empty());

    setup_book(state.document).goal_singles.resize(kMaxRecords);
    auto full = open(0);
    for (int i = 0; i < 4; ++i)
        click(pick_button(*full, i, 1));
    click(ok(*full));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, u8("メモリが足りません。"));
    EXPECT_EQ(ui.messages[0].title, u8("ｙｏｒｉｍｏ"));
    EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::critical);
    EXPECT_TRUE(full->isVisible());
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
    EXPECT_EQ(state.book().goal_singles.size(), static_cast<size_t>(kMaxRecords));
    EXPECT_EQ(state.book().entries, before.entries);
}

TEST_F(FormSingleTest, TheKeyboardWalksRowByRow)
{
    auto d = open(add_round(LotteryKind::toto5));
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d.get()));
    // Focus starts on the first option of row 1; the arrows pick within the row.
    EXPECT_EQ(QApplication::focusWidget(), pick_button(*d, 0, 0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(QApplication::focusWidget(), pick_button(*d, 0, 1));
    EXPECT_TRUE(pick_button(*d, 0, 1)->isChecked());
    // Tab moves on to the next row.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget *next = QApplication::focusWidget();
    EXPECT_TRUE(next == pick_button(*d, 1, 0) || next == pick_button(*d, 1, 1) ||
                next == pick_button(*d, 1, 2))
        << next->objectName().toStdString();
}
