#include "results/form_amount_box.h"
#include "results/form_result.h"
#include "support/book_builders.h"
#include "support/dialog_driver.h"
#include "support/document_helpers.h"
#include "support/fake_ui_services.h"
#include "ui/book_commits.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// One round of `kind` as the only entry, selected.
SharedState one_round(LotteryKind kind)
{
    SharedState state{BookDocument::no_grading()};
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(kind, "123")).ok);
    state.current = 0;
    state.dialog_result = DialogResult::ok; // opening must reset it
    return state;
}

void set_results(RoundEntry &e, int code)
{
    for (int i = 0; i < slot_count(e.kind); ++i)
        (is_match_kind(e.kind) ? e.matches[i].result : e.teams[i].score) = code;
}

// Prize controls as (back, none, go) enabled flags plus which is selected.
std::string prize_controls(ResultDialog &d)
{
    std::string s;
    s += control<QRadioButton>(&d, "opt_kin_back")->isEnabled() ? 'B' : 'b';
    s += control<QRadioButton>(&d, "opt_kin_none")->isEnabled() ? 'N' : 'n';
    s += control<QRadioButton>(&d, "opt_kin_go")->isEnabled() ? 'G' : 'g';
    s += control<QRadioButton>(&d, "opt_kin_back")->isChecked()   ? " back"
         : control<QRadioButton>(&d, "opt_kin_none")->isChecked() ? " none"
                                                                  : " go";
    return s;
}

} // namespace

TEST(FormResult, FillsTheLayoutOfTheKind)
{
    SharedState state = one_round(LotteryKind::BIG);
    setup_book(state.document).entries[0].has_grade5 = true;
    setup_book(state.document).entries[0].matches[13].home = sjis("鹿島");
    FakeUiServices ui;
    FormResult d(state, ui, results_commit(state));
    d.load();
    EXPECT_EQ(d.objectName(), QStringLiteral("form_result"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("結果入力"));
    EXPECT_EQ(control<QRadioButton>(&d, "opt_kin_go")->toolTip(), QStringLiteral("当選金額を入力"));
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
    EXPECT_EQ(control<QLabel>(&d, "lbl_kai")->text(), QStringLiteral("123"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_kind")->text(), QStringLiteral("BIG"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_home", 13)->text(), QStringLiteral("鹿島"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_no", 0)->text(), QStringLiteral(" 1."));
    EXPECT_EQ(control<QLabel>(&d, "lbl_no", 13)->text(), QStringLiteral("14."));
    for (int g = 0; g < 6; ++g)
        EXPECT_EQ(!control<AmountBox>(&d, "txt_kin", g)->isHidden(), g < 5) << g;
    EXPECT_EQ(control<QLabel>(&d, "lbl_kin", 4)->text(), QStringLiteral("５等"));
    for (int k = 1; k < 14; ++k)
        EXPECT_EQ(!control<QFrame>(&d, "separator", k)->isHidden(), k == 5 || k == 10) << k;
    EXPECT_EQ(control<AmountBox>(&d, "txt_kin", 0)->max(), 1'500'000'000);
    // Nothing entered yet: only 未定.
    EXPECT_EQ(prize_controls(d), "bNg none");

    SharedState mini = one_round(LotteryKind::minitotoA);
    FormResult m(mini, ui, results_commit(mini));
    m.load();
    EXPECT_FALSE(control<QRadioButton>(&m, "opt_win", 4)->isHidden());
    EXPECT_TRUE(control<QRadioButton>(&m, "opt_win", 5)->isHidden());
    EXPECT_TRUE(control<QLabel>(&m, "lbl_home", 5)->isHidden());
    EXPECT_TRUE(control<AmountBox>(&m, "txt_kin", 1)->isHidden());
    EXPECT_FALSE(control<QFrame>(&m, "separator", 2)->isHidden());
}

TEST(FormResult, FiveCancelledTotoMatchesForceARefundAndBack)
{
    SharedState state = one_round(LotteryKind::toto);
    set_results(setup_book(state.document).entries[0], kHomeWin);
    FakeUiServices ui;
    FormResult d(state, ui, results_commit(state));
    d.load();
    d.show();
    EXPECT_EQ(prize_controls(d), "bNG none");
    EXPECT_TRUE(control<QLabel>(&d, "lbl_kin", 0)->isEnabled());
    EXPECT_FALSE(control<AmountBox>(&d, "txt_kin", 0)->isEnabled());

    click(control<QRadioButton>(&d, "opt_kin_go"));
    EXPECT_TRUE(control<AmountBox>(&d, "txt_kin", 1)->isEnabled());
    for (int i = 0; i < 4; ++i)
        click(control<QRadioButton>(&d, "opt_stop", i));
    EXPECT_EQ(prize_controls(d), "bNG go");
    click(control<QRadioButton>(&d, "opt_stop", 4));
    EXPECT_EQ(prize_controls(d), "Bng back");
    EXPECT_FALSE(control<AmountBox>(&d, "txt_kin", 0)->isEnabled());
    EXPECT_FALSE(control<QLabel>(&d, "lbl_kin", 0)->isEnabled());

    click(control<QRadioButton>(&d, "opt_draw", 4)); // back to four cancelled, every row decided
    EXPECT_EQ(prize_controls(d), "bNG none");
    EXPECT_TRUE(control<QLabel>(&d, "lbl_kin", 0)->isEnabled());
    EXPECT_FALSE(control<AmountBox>(&d, "txt_kin", 0)->isEnabled());

    click(control<QRadioButton>(&d, "opt_none", 7)); // a row without result
    EXPECT_EQ(prize_controls(d), "bNg none");
    EXPECT_FALSE(control<QLabel>(&d, "lbl_kin", 0)->isEnabled());
    click(control<QRadioButton>(&d, "opt_lose", 7));
    click(control<QRadioButton>(&d, "opt_kin_go"));
    EXPECT_TRUE(control<AmountBox>(&d, "txt_kin", 0)->isEnabled());

    click(control<QPushButton>(&d, "cmd_ok"));
    EXPECT_EQ(state.dialog_result, DialogResult::ok);
    EXPECT_EQ(state.dialog_result, DialogResult::ok);
    const RoundEntry &e = state.book().entries[0];
    EXPECT_EQ(e.matches[0].result, kCancelled);
    EXPECT_EQ(e.matches[4].result, kDraw);
    EXPECT_EQ(e.matches[7].result, kAwayWin);
    EXPECT_EQ(e.matches[12].result, kHomeWin);
    EXPECT_EQ(e.matches[13].result, kResultNone);
    EXPECT_EQ(e.state, kPrizeEntered);
}

TEST(FormResult, BigHundredNeedsAllFourteenRows)
{
    SharedState state = one_round(LotteryKind::BIG100);
    set_results(setup_book(state.document).entries[0], kDraw);
    setup_book(state.document).entries[0].matches[13].result = kResultNone;
    FakeUiServices ui;
    FormResult d(state, ui, results_commit(state));
    d.load();
    d.show();
    EXPECT_EQ(prize_controls(d), "bNg none");
    click(control<QRadioButton>(&d, "opt_win", 13));
    EXPECT_EQ(prize_controls(d), "bNG none");
    for (int i = 0; i < 5; ++i)
        click(control<QRadioButton>(&d, "opt_stop", i));
    EXPECT_EQ(prize_controls(d), "Bng back");
}

TEST(FormGoalResult, OneCancelledTeamOfTotoGoal2ForcesARefund)
{
    SharedState state = one_round(LotteryKind::totoGOAL2);
    set_results(setup_book(state.document).entries[0], 2);
    setup_book(state.document).entries[0].state = kPrizeEntered;
    setup_book(state.document).entries[0].prizes = {3000, 77, 0, 0, 0, 0};
    setup_book(state.document).entries[0].teams[8].score = 4; // a hidden row
    FakeUiServices ui;
    FormGoalResult d(state, ui, results_commit(state));
    d.load();
    d.show();
    EXPECT_EQ(d.objectName(), QStringLiteral("form_goal_result"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_no", 9)->text(), QStringLiteral("10."));
    EXPECT_TRUE(control<QRadioButton>(&d, "opt_1ten", 4)->isHidden());
    EXPECT_FALSE(control<AmountBox>(&d, "txt_kin", 0)->isHidden());
    EXPECT_TRUE(control<AmountBox>(&d, "txt_kin", 1)->isHidden()); // totoGOAL2 has no 2等
    EXPECT_FALSE(control<QFrame>(&d, "separator", 2)->isHidden());
    EXPECT_TRUE(control<QFrame>(&d, "separator", 4)->isHidden());
    EXPECT_TRUE(control<QRadioButton>(&d, "opt_1ten", 0)->isChecked());
    EXPECT_EQ(prize_controls(d), "bNG go");
    EXPECT_EQ(control<AmountBox>(&d, "txt_kin", 0)->text(), QStringLiteral("3,000"));
    EXPECT_TRUE(control<AmountBox>(&d, "txt_kin", 0)->isEnabled());

    click(control<QRadioButton>(&d, "opt_stop", 2));
    EXPECT_EQ(prize_controls(d), "Bng back");
    click(control<QRadioButton>(&d, "opt_none", 2)); // not cancelled again, but without a score
    EXPECT_EQ(prize_controls(d), "bNg none");
    click(control<QRadioButton>(&d, "opt_3ten", 2));
    click(control<QRadioButton>(&d, "opt_stop", 3));
    click(control<QPushButton>(&d, "cmd_ok"));
    const RoundEntry &e = state.book().entries[0];
    EXPECT_EQ(e.teams[2].score, 4);
    EXPECT_EQ(e.teams[3].score, kScoreCancelled);
    EXPECT_EQ(e.teams[8].score, 0); // hidden rows write 0
    EXPECT_EQ(e.state, kPrizeRefund);
    EXPECT_EQ(e.prizes[0], 3000); // kept
}

TEST(FormResult, OkWithUndecidedKeepsThePrizesAndCancelWritesNothing)
{
    SharedState state = one_round(LotteryKind::toto);
    RoundEntry &e = setup_book(state.document).entries[0];
    set_results(e, kAwayWin);
    e.has_grade3 = true;
    e.state = kPrizeEntered;
    e.prizes = {123'456'789, 5000, 300, 0, 0, 0};
    FakeUiServices ui;
    {
        FormResult d(state, ui, results_commit(state));
        d.load();
        d.show();
        EXPECT_EQ(control<AmountBox>(&d, "txt_kin", 0)->text(), QStringLiteral("123,456,789"));
        click(control<QRadioButton>(&d, "opt_draw", 0));
        click(control<QPushButton>(&d, "cmd_cancel"));
    }
    EXPECT_EQ(state.book().entries[0].matches[0].result, kAwayWin);
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
    EXPECT_FALSE(state.document.modified());

    FormResult d(state, ui, results_commit(state));
    d.load();
    d.show();
    QTest::keyClick(control<AmountBox>(&d, "txt_kin", 1), Qt::Key_Delete);
    click(control<QRadioButton>(&d, "opt_kin_none"));
    EXPECT_FALSE(control<AmountBox>(&d, "txt_kin", 0)->isEnabled());
    click(control<QPushButton>(&d, "cmd_ok"));
    EXPECT_EQ(state.book().entries[0].state, kPrizeUndecided);
    EXPECT_EQ(state.book().entries[0].prizes[0], 123'456'789);
    EXPECT_EQ(state.book().entries[0].prizes[1], 5000);

    FormResult again(state, ui, results_commit(state));
    again.load();
    again.show();
    click(control<QRadioButton>(&again, "opt_kin_go"));
    QTest::keyClick(control<AmountBox>(&again, "txt_kin", 2), Qt::Key_Backspace);
    click(control<QPushButton>(&again, "cmd_ok"));
    EXPECT_EQ(state.book().entries[0].state, kPrizeEntered);
    EXPECT_EQ(state.book().entries[0].prizes[0], 0); // boxes start at "0" under 未定
    EXPECT_EQ(state.book().entries[0].prizes[2], 0);
}

TEST(FormResult, AmountBoxesBehaveLikeACalculator)
{
    SharedState state = one_round(LotteryKind::BIG);
    set_results(setup_book(state.document).entries[0], kHomeWin);
    FakeUiServices ui;
    FormResult d(state, ui, results_commit(state));
    d.load();
    d.show();
    click(control<QRadioButton>(&d, "opt_kin_go"));
    AmountBox *box = control<AmountBox>(&d, "txt_kin", 0);
    QTest::keyClicks(box, QStringLiteral("15000000"));
    EXPECT_EQ(box->text(), QStringLiteral("15,000,000"));
    EXPECT_EQ(box->cursorPosition(), box->text().size());
    EXPECT_EQ(ui.beeps, 0);
    QTest::keyClick(box, Qt::Key_Home); // digits still go in at the right end
    QTest::keyClicks(box, QStringLiteral("00"));
    EXPECT_EQ(box->text(), QStringLiteral("1,500,000,000"));
    QTest::keyClick(box, '1'); // above 1,500,000,000
    EXPECT_EQ(box->text(), QStringLiteral("1,500,000,000"));
    EXPECT_EQ(ui.beeps, 1);
    QTest::keyClick(box, 'a');
    QTest::keyClick(box, '-');
    EXPECT_EQ(ui.beeps, 3);
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(box->text(), QStringLiteral("150,000,000"));

    QTest::keyClick(box, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(box->selectedText(), box->text());
    QTest::keyClick(box, Qt::Key_Left); // acts as Right: the caret goes to the end
    EXPECT_FALSE(box->hasSelectedText());
    EXPECT_EQ(box->cursorPosition(), box->text().size());

    QTest::keyClick(box, Qt::Key_Delete);
    EXPECT_EQ(box->text(), QStringLiteral("0"));
    QTest::keyClick(box, Qt::Key_Backspace); // cleared: shows 0
    EXPECT_EQ(box->text(), QStringLiteral("0"));

    ui.clipboard = QStringLiteral("abc");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QStringLiteral("0"));
    EXPECT_EQ(ui.beeps, 4);
    ui.clipboard = QStringLiteral("2,000");
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box->text(), QStringLiteral("2,000"));

    click(control<QPushButton>(&d, "cmd_ok"));
    EXPECT_EQ(state.book().entries[0].prizes[0], 2000);
}

TEST(FormResult, PastingAboveTheMaximumLeavesTheMaximum)
{
    SharedState state = one_round(LotteryKind::toto);
    set_results(setup_book(state.document).entries[0], kDraw);
    FakeUiServices ui;
    FormResult d(state, ui, results_commit(state));
    d.load();
    d.show();
    click(control<QRadioButton>(&d, "opt_kin_go"));
    ui.clipboard = QStringLiteral("9876543210");
    QTest::keyClick(control<AmountBox>(&d, "txt_kin", 1), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(control<AmountBox>(&d, "txt_kin", 1)->text(), QStringLiteral("500,000,000"));
    ui.clipboard = QStringLiteral("99999999999999999999999");
    QTest::keyClick(control<AmountBox>(&d, "txt_kin", 0), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(control<AmountBox>(&d, "txt_kin", 0)->text(), QStringLiteral("500,000,000"));
    click(control<QPushButton>(&d, "cmd_ok"));
    EXPECT_EQ(state.book().entries[0].prizes[1], 500'000'000);
}
