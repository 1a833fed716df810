#include "entry/form_goal_name.h"
#include "support/book_builders.h"
#include "support/dialog_driver.h"
#include "support/document_helpers.h"
#include "ui/book_commits.h"
#include "ui/shared_state.h"

#include <QPushButton>
#include <QRadioButton>

namespace {

struct KindRows {
    LotteryKind kind;
    int rows;
};

class FormNameTest : public ::testing::Test {
protected:
    SharedState state{BookDocument::no_grading()};
    FakeUiServices ui;

    // A dialog of the kind's family, opened as the registration command opens it.
    std::unique_ptr<FormName> open(LotteryKind kind)
    {
        std::unique_ptr<FormName> dialog;
        if (is_match_kind(kind))
            dialog = std::make_unique<FormName>(state, ui, round_commit(state));
        else
            dialog = std::make_unique<FormGoalName>(state, ui, round_commit(state));
        dialog->set_kind(kind);
        dialog->show();
        return dialog;
    }

    // The text boxes of row i (home and away, or the team).
    static QList<QLineEdit *> row_boxes(FormName &d, int i)
    {
        if (is_match_kind(d.kind()))
            return {control<QLineEdit>(&d, "txt_home", i), control<QLineEdit>(&d, "txt_away", i)};
        return {control<QLineEdit>(&d, "txt_name", i)};
    }

    static void fill(FormName &d, const char *kai)
    {
        type_text(control<QLineEdit>(&d, QStringLiteral("txt_kai")), kai);
        for (int i = 0; i < d.row_count(); ++i) {
            for (QLineEdit *box : row_boxes(d, i))
                type_text(box, box->objectName().toUpper());
        }
    }

    static QPushButton *ok(FormName &d) { return control<QPushButton>(&d, QStringLiteral("cmd_ok")); }
};

} // namespace

TEST_F(FormNameTest, OkWaitsForLabelAndEveryShownRow)
{
    const KindRows kinds[] = {
        {LotteryKind::toto, 13},     {LotteryKind::minitotoA, 5}, {LotteryKind::minitotoB, 5},
        {LotteryKind::toto5, 5},     {LotteryKind::BIG, 14},      {LotteryKind::BIG1000, 11},
        {LotteryKind::miniBIG, 9},   {LotteryKind::BIG100, 14},   {LotteryKind::totoGOAL, 10},
        {LotteryKind::totoGOAL3, 6}, {LotteryKind::totoGOAL2, 4}};
    for (const KindRows &k : kinds) {
        SCOPED_TRACE(kind_display_name(k.kind).toStdString());
        auto d = open(k.kind);
        EXPECT_EQ(d->row_count(), k.rows);
        EXPECT_EQ(control<QLabel>(d.get(), QStringLiteral("lbl_kind"))->text(), kind_display_name(k.kind));
        const int built = is_match_kind(k.kind) ? kMaxMatchSlots : kMaxTeamSlots;
        for (int i = 0; i < built; ++i) {
            EXPECT_EQ(control<QLabel>(d.get(), "lbl_no", i)->isHidden(), i >= k.rows) << i;
            for (QLineEdit *box : row_boxes(*d, i))
                EXPECT_EQ(box->isHidden(), i >= k.rows) << box->objectName().toStdString();
        }
        EXPECT_FALSE(ok(*d)->isEnabled());
        fill(*d, "10");
        EXPECT_TRUE(ok(*d)->isEnabled());
        // Emptying the last shown box, or the label, disables OK again.
        QLineEdit *last = row_boxes(*d, k.rows - 1).back();
        retype(last, QString());
        EXPECT_FALSE(ok(*d)->isEnabled());
        type_text(last, "X");
        EXPECT_TRUE(ok(*d)->isEnabled());
        retype(control<QLineEdit>(d.get(), QStringLiteral("txt_kai")), QString());
        EXPECT_FALSE(ok(*d)->isEnabled());
    }
}

TEST_F(FormNameTest, ControlsCarryTheirCaptions)
{
    auto d = open(LotteryKind::toto);
    EXPECT_EQ(d->objectName(), QStringLiteral("form_name"));
    EXPECT_EQ(d->windowTitle(), u8("チーム名設定"));
    EXPECT_EQ(ok(*d)->text(), u8("Ｏ．Ｋ．"));
    EXPECT_TRUE(ok(*d)->isDefault());
    EXPECT_EQ(control<QPushButton>(d.get(), QStringLiteral("cmd_cancel"))->text(), u8("キャンセル"));
    EXPECT_EQ(control<QLabel>(d.get(), "lbl_no", 0)->text(), QStringLiteral("1."));
    EXPECT_EQ(control<QLabel>(d.get(), "lbl_vs", 13)->text(), QStringLiteral("-"));

    auto g = open(LotteryKind::totoGOAL);
    EXPECT_EQ(g->objectName(), QStringLiteral("form_goal_name"));
    EXPECT_EQ(g->windowTitle(), u8("チーム名設定"));
    EXPECT_EQ(control<QLabel>(g.get(), "lbl_no", 0)->text(), QStringLiteral(" 1."));
    EXPECT_EQ(control<QLabel>(g.get(), "lbl_no", 9)->text(), QStringLiteral("10."));
    EXPECT_EQ(g->findChild<QRadioButton *>(), nullptr);
}

TEST_F(FormNameTest, GradeOptionsPerKind)
{
    auto toto = open(LotteryKind::toto);
    EXPECT_EQ(control<QRadioButton>(toto.get(), "opt_no_plus")->text(), u8("３等なし"));
    EXPECT_EQ(control<QRadioButton>(toto.get(), "opt_plus1")->text(), u8("３等あり"));
    EXPECT_TRUE(control<QRadioButton>(toto.get(), "opt_plus2")->isHidden());
    EXPECT_TRUE(control<QRadioButton>(toto.get(), "opt_no_plus")->isChecked());

    auto big = open(LotteryKind::BIG);
    EXPECT_EQ(control<QRadioButton>(big.get(), "opt_no_plus")->text(), u8("５等なし"));
    EXPECT_EQ(control<QRadioButton>(big.get(), "opt_plus1")->text(), u8("５等あり"));
    EXPECT_EQ(control<QRadioButton>(big.get(), "opt_plus2")->text(), u8("６等あり"));
    EXPECT_FALSE(control<QRadioButton>(big.get(), "opt_plus2")->isHidden());

    for (LotteryKind kind :
         {LotteryKind::minitotoA, LotteryKind::toto5, LotteryKind::BIG100, LotteryKind::miniBIG}) {
        auto d = open(kind);
        EXPECT_TRUE(control<QRadioButton>(d.get(), "opt_no_plus")->isHidden());
        EXPECT_TRUE(control<QRadioButton>(d.get(), "opt_plus1")->isHidden());
        EXPECT_TRUE(control<QRadioButton>(d.get(), "opt_plus2")->isHidden());
    }
}

TEST_F(FormNameTest, OkAppendsTheRound)
{
    state.dialog_result = DialogResult::ok;
    auto toto = open(LotteryKind::toto);
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
    fill(*toto, "1234");
    click(control<QRadioButton>(toto.get(), "opt_plus1"));
    click(ok(*toto));
    EXPECT_EQ(state.dialog_result, DialogResult::ok);
    EXPECT_EQ(state.dialog_result, DialogResult::ok);
    EXPECT_FALSE(toto->isVisible());
    ASSERT_EQ(state.book().entry_count(), 1);
    const RoundEntry &e = state.book().entries[0];
    EXPECT_EQ(e.kind, LotteryKind::toto);
    EXPECT_EQ(e.kai, BookText("1234"));
    EXPECT_EQ(e.matches[0].home, BookText("TXT_HOME_0"));
    EXPECT_EQ(e.matches[12].away, BookText("TXT_AWAY_12"));
    EXPECT_TRUE(e.matches[13].home.empty()); // the hidden row is stored empty
    EXPECT_TRUE(e.has_grade3);
    EXPECT_FALSE(e.has_grade5 || e.has_grade6);

    auto big = open(LotteryKind::BIG);
    fill(*big, "1234"); // the same label again is a second round
    click(control<QRadioButton>(big.get(), "opt_plus2"));
    click(ok(*big));
    ASSERT_EQ(state.book().entry_count(), 2);
    EXPECT_TRUE(state.book().entries[1].has_grade5);
    EXPECT_TRUE(state.book().entries[1].has_grade6);
    EXPECT_FALSE(state.book().entries[1].has_grade3);
}

TEST_F(FormNameTest, GoalTwoStoresTenTeamSlots)
{
    auto d = open(LotteryKind::totoGOAL2);
    for (int i = 4; i < kMaxTeamSlots; ++i)
        EXPECT_TRUE(control<QLineEdit>(d.get(), "txt_name", i)->isHidden());
    fill(*d, "55");
    click(ok(*d));
    ASSERT_EQ(state.book().entry_count(), 1);
    const RoundEntry &e = state.book().entries[0];
    EXPECT_EQ(e.kind, LotteryKind::totoGOAL2);
    EXPECT_EQ(e.teams[3].team, BookText("TXT_NAME_3"));
    for (size_t s = 4; s < kMaxTeamSlots; ++s)
        EXPECT_TRUE(e.teams[s].team.empty());
    EXPECT_EQ(e.teams.size(), static_cast<size_t>(kMaxTeamSlots));
}

TEST_F(FormNameTest, CancelChangesNothing)
{
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::toto5)).ok);
    const TicketBook before = state.book();
    auto d = open(LotteryKind::toto);
    fill(*d, "9");
    click(control<QPushButton>(d.get(), QStringLiteral("cmd_cancel")));
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
    EXPECT_FALSE(state.document.modified());
    EXPECT_EQ(state.book().entries, before.entries);
    EXPECT_FALSE(d->isVisible());
}

TEST_F(FormNameTest, FullBookRefusesAndStaysOpen)
{
    setup_book(state.document).entries.resize(kMaxRecords);
    auto d = open(LotteryKind::toto5);
    fill(*d, "1");
    click(ok(*d));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, u8("メモリが足りません。"));
    EXPECT_EQ(ui.messages[0].title, u8("ｙｏｒｉｍｏ"));
    EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::critical);
    EXPECT_EQ(state.book().entry_count(), kMaxRecords);
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
    EXPECT_FALSE(state.document.modified());
    EXPECT_TRUE(d->isVisible());
}

TEST_F(FormNameTest, EditChangesLabelTeamsAndFlagsOnly)
{
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::toto5, "1")).ok);
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::BIG, "2")).ok);
    EXPECT_TRUE(add_single(setup_book(state.document), 1, make_single(std::vector<int>(14, 3))).ok);
    setup_book(state.document).entries[1].has_grade5 = true;
    setup_book(state.document).entries[1].matches[0].result = kHomeWin;
    const RoundEntry before = state.book().entries[1];
    state.current = 1;
    state.editing = state.current;

    auto d = open(LotteryKind::BIG);
    EXPECT_EQ(control<QLineEdit>(d.get(), QStringLiteral("txt_kai"))->text(), QStringLiteral("2"));
    EXPECT_EQ(control<QLineEdit>(d.get(), "txt_away", 13)->text(), QStringLiteral("A13"));
    EXPECT_TRUE(control<QRadioButton>(d.get(), "opt_plus1")->isChecked());
    EXPECT_TRUE(ok(*d)->isEnabled());
    retype(control<QLineEdit>(d.get(), QStringLiteral("txt_kai")), u8("２回"));
    retype(control<QLineEdit>(d.get(), "txt_home", 13), u8("浦和"));
    click(control<QRadioButton>(d.get(), "opt_no_plus"));
    click(ok(*d));

    EXPECT_EQ(state.book().entry_count(), 2);
    RoundEntry expected = before;
    expected.kai = BookText(sjis("２回"));
    expected.matches[13].home = BookText(sjis("浦和"));
    expected.has_grade5 = false;
    EXPECT_EQ(state.book().entries[1], expected);
    EXPECT_EQ(state.dialog_result, DialogResult::ok);
    EXPECT_EQ(state.dialog_result, DialogResult::ok);
}

TEST_F(FormNameTest, EditOfAGoalRoundKeepsItsHiddenTeams)
{
    RoundEntry e = make_entry(LotteryKind::totoGOAL3, "8");
    e.teams[8].team = BookText("old");
    EXPECT_TRUE(add_entry(setup_book(state.document), e).ok);
    state.editing = state.current;
    auto d = open(LotteryKind::totoGOAL3);
    EXPECT_EQ(control<QLineEdit>(d.get(), "txt_name", 5)->text(), QStringLiteral("T5"));
    retype(control<QLineEdit>(d.get(), "txt_name", 0), QStringLiteral("new"));
    click(ok(*d));
    EXPECT_EQ(state.book().entries[0].teams[0].team, BookText("new"));
    EXPECT_EQ(state.book().entries[0].teams[8].team, BookText("old"));
    EXPECT_EQ(state.book().entries[0].kind, LotteryKind::totoGOAL3);
}
