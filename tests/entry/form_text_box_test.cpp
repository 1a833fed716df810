#include "entry/form_goal_name.h"
#include "entry/form_text_box.h"
#include "platform/shift_jis.h"
#include "support/dialog_driver.h"
#include "ui/book_commits.h"
#include "ui/shared_state.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QMenu>
#include <QToolTip>

// The text boxes of the registration dialogs, driven inside the real dialogs.
namespace {

class TextBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog.set_kind(LotteryKind::toto);
        dialog.show();
        kai = control<QLineEdit>(&dialog, QStringLiteral("txt_kai"));
        home = control<QLineEdit>(&dialog, "txt_home", 3);
    }

    void paste(QLineEdit *box, const char *clipboard)
    {
        ui.clipboard = u8(clipboard);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }

    void commit(QLineEdit *box, const char *text)
    {
        QInputMethodEvent event(QString(), {});
        event.setCommitString(u8(text));
        QApplication::sendEvent(box, &event);
    }

    static int bytes(QLineEdit *box) { return static_cast<int>(shift_jis::encode(box->text()).size()); }

    SharedState state{BookDocument::no_grading()};
    FakeUiServices ui;
    FormName dialog{state, ui, round_commit(state)};
    QLineEdit *kai = nullptr;
    QLineEdit *home = nullptr;
};

} // namespace

TEST_F(TextBoxTest, TypingStopsAtTenBytes)
{
    type_text(kai, "1234567890");
    EXPECT_EQ(kai->text(), QStringLiteral("1234567890"));
    EXPECT_EQ(ui.beeps, 0);
    type_text(kai, "1");
    EXPECT_EQ(kai->text(), QStringLiteral("1234567890"));
    EXPECT_EQ(ui.beeps, 1);
    // Backspace always passes.
    QTest::keyClick(kai, Qt::Key_Backspace);
    EXPECT_EQ(kai->text(), QStringLiteral("123456789"));
    // Nine bytes: a double-byte character is refused, a single-byte one taken.
    type_text(kai, "あ");
    EXPECT_EQ(kai->text(), QStringLiteral("123456789"));
    EXPECT_EQ(ui.beeps, 2);
    type_text(kai, "ｱ");
    EXPECT_EQ(kai->text(), u8("123456789ｱ"));
}

TEST_F(TextBoxTest, FullWidthTextAndSelections)
{
    type_text(home, "ＡＢＣＤＥＦ");
    EXPECT_EQ(home->text(), u8("ＡＢＣＤＥ"));
    EXPECT_EQ(ui.beeps, 1);
    // With the whole ten bytes selected a double-byte character replaces them.
    home->selectAll();
    type_text(home, "鹿");
    EXPECT_EQ(home->text(), u8("鹿"));
    // One single-byte character selected in ten bytes leaves no room for a double-byte one.
    home->setText(QStringLiteral("abcdefghij"));
    home->setSelection(9, 1);
    type_text(home, "島");
    EXPECT_EQ(home->text(), QStringLiteral("abcdefghij"));
    EXPECT_EQ(ui.beeps, 2);
    home->setSelection(8, 2);
    type_text(home, "島");
    EXPECT_EQ(home->text(), u8("abcdefgh島"));
    // A character Shift-JIS cannot store is refused.
    home->clear();
    type_text(home, "😀");
    EXPECT_EQ(home->text(), QString());
}

TEST_F(TextBoxTest, FocusSelectsTheWholeText)
{
    type_text(home, "FC東京");
    home->setCursorPosition(1);
    QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(home, &in);
    EXPECT_EQ(home->selectedText(), u8("FC東京"));
}

TEST_F(TextBoxTest, PasteStopsAtTheByteLimit)
{
    type_text(kai, "あいう");
    paste(kai, "えおか");
    EXPECT_EQ(kai->text(), u8("あいうえお"));

    kai->clear();
    type_text(kai, "abc");
    paste(kai, "あいうえ");
    EXPECT_EQ(kai->text(), u8("abcあいう"));

    // Over a selection, counting what stays; a single-byte character after the
    // selection takes one character off.
    kai->setText(QStringLiteral("abcdefghij"));
    kai->setSelection(1, 2);
    paste(kai, "XYZ");
    EXPECT_EQ(kai->text(), QStringLiteral("aXdefghij"));

    kai->setText(u8("あいうえお"));
    kai->setSelection(1, 2);
    paste(kai, "abcd");
    EXPECT_EQ(kai->text(), u8("あabcdえお"));
    EXPECT_LE(bytes(kai), 10);
}

TEST_F(TextBoxTest, MousePasteKeepsTheLimits)
{
    kai->setText(u8("東京"));
    ui.clipboard = u8("ヴェルディ川崎");
    QTest::mousePress(kai, Qt::RightButton);
    QTest::mouseRelease(kai, Qt::RightButton);
    kai->selectAll();
    control<LimitedTextBox>(&dialog, QStringLiteral("txt_kai"))->paste_clipboard();
    EXPECT_EQ(kai->text(), u8("ヴェルディ"));
}

TEST_F(TextBoxTest, InputMethodCommitsAreCut)
{
    commit(home, "東京ヴェルディ");
    EXPECT_EQ(home->text(), u8("東京ヴェル"));
    EXPECT_EQ(bytes(home), 10);
    EXPECT_GE(ui.beeps, 1);
    // With nine bytes in the box nothing of a double-byte commit fits.
    home->setText(QStringLiteral("123456789"));
    commit(home, "あい");
    EXPECT_EQ(home->text(), QStringLiteral("123456789"));
    // A commit that fits is kept whole, in the middle as well.
    home->setText(QStringLiteral("ab"));
    home->setCursorPosition(1);
    commit(home, "鹿島");
    EXPECT_EQ(home->text(), u8("a鹿島b"));
    EXPECT_EQ(home->cursorPosition(), 3);
}

TEST_F(TextBoxTest, EveryBoxOfBothDialogsIsLimited)
{
    for (QLineEdit *box : dialog.findChildren<QLineEdit *>()) {
        type_text(box, "ＷＷＷＷＷＷ");
        EXPECT_EQ(bytes(box), 10) << box->objectName().toStdString();
        EXPECT_EQ(box->toolTip(), u8("全角5文字・半角10文字まで"));
    }
    FormGoalName goal(state, ui, round_commit(state));
    goal.set_kind(LotteryKind::totoGOAL);
    goal.show();
    const QList<QLineEdit *> boxes = goal.findChildren<QLineEdit *>();
    EXPECT_EQ(boxes.size(), 11);
    for (QLineEdit *box : boxes) {
        commit(box, "1234567890123");
        EXPECT_EQ(box->text(), QStringLiteral("1234567890")) << box->objectName().toStdString();
        EXPECT_EQ(box->toolTip(), u8("全角5文字・半角10文字まで"));
    }
}

// A keystroke or a paste that is cut beeps and shows the limit at the box; what fits does not.
TEST_F(TextBoxTest, ACutSaysWhy)
{
    const auto limit_shown = [] {
        return QToolTip::isVisible() && QToolTip::text() == u8("全角5文字・半角10文字まで");
    };
    QToolTip::hideText();
    type_text(kai, "123456789");
    paste(home, "ab");
    EXPECT_EQ(ui.beeps, 0);
    EXPECT_FALSE(limit_shown());
    type_text(kai, "あ");
    EXPECT_EQ(ui.beeps, 1);
    EXPECT_TRUE(limit_shown());
    QToolTip::hideText();
    paste(home, "cdefghijkl");
    EXPECT_EQ(home->text(), u8("abcdefghij"));
    EXPECT_EQ(ui.beeps, 2);
    EXPECT_TRUE(limit_shown());
    QToolTip::hideText();
}

TEST_F(TextBoxTest, TheContextMenusPasteKeepsTheLimitsOfCtrlV)
{
    const auto select_cd = [this] {
        home->setText(u8("abcdefghij"));
        home->setSelection(2, 2);
    };
    select_cd();
    paste(home, "ＸＹ");
    EXPECT_EQ(home->text(), u8("abefghij"));

    select_cd();
    QContextMenuEvent opened(QContextMenuEvent::Mouse, QPoint(4, 4), home->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(home, &opened);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction *paste_item = nullptr;
    for (QAction *action : menu->actions())
        if (action->text().endsWith(QStringLiteral("\tCtrl+V")))
            paste_item = action;
    ASSERT_NE(paste_item, nullptr);
    ASSERT_TRUE(paste_item->isEnabled());
    paste_item->trigger();
    menu->close();
    EXPECT_EQ(home->text(), u8("abefghij"));
}
