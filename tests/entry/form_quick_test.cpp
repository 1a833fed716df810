#include "entry/form_quick.h"
#include "support/book_builders.h"
#include "support/dialog_driver.h"
#include "support/document_helpers.h"
#include "ui/book_commits.h"
#include "ui/shared_state.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>

namespace {

class FormQuickTest : public ::testing::Test {
protected:
    SharedState state{BookDocument::no_grading()};
    FakeUiServices ui;

    std::unique_ptr<FormQuick> open(LotteryKind kind)
    {
        EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(kind)).ok);
        state.current = state.book().entry_count() - 1;
        auto d = std::make_unique<FormQuick>(state, ui, tickets_commit(state));
        d->show();
        return d;
    }

    static QPlainTextEdit *box(FormQuick &d) { return control<QPlainTextEdit>(&d, "txt_lines"); }
    static QPushButton *ok(FormQuick &d) { return control<QPushButton>(&d, "cmd_ok"); }
    static QString text_of(FormQuick &d, const char *name) { return control<QLabel>(&d, name)->text(); }
};

} // namespace

TEST_F(FormQuickTest, ShowsTheRoundAndFollowsTheTextAfterAPause)
{
    auto d = open(LotteryKind::minitotoA);
    EXPECT_EQ(d->windowTitle(), u8("まとめて入力"));
    EXPECT_EQ(text_of(*d, "lbl_no_0"), QStringLiteral("1."));
    EXPECT_EQ(text_of(*d, "lbl_home_0"), state.book().entries[0].matches[0].home.text());
    EXPECT_TRUE(control<QLabel>(d.get(), "lbl_no_5")->isHidden());
    EXPECT_EQ(text_of(*d, "lbl_summary"), u8("シングル 0口・マルチ 0件（0口）・金額 0円"));
    EXPECT_FALSE(ok(*d)->isEnabled());

    for (const char *line : {"11111", "10 0 2 1 0"}) {
        type_text(box(*d), line);
        QTest::keyClick(box(*d), Qt::Key_Return);
    }
    // Typing waits for the pause: nothing read yet, OK off.
    EXPECT_TRUE(d->parse_pending());
    EXPECT_EQ(text_of(*d, "lbl_summary"), u8("シングル 0口・マルチ 0件（0口）・金額 0円"));
    QTRY_VERIFY_WITH_TIMEOUT(!d->parse_pending(), 5000);
    EXPECT_EQ(text_of(*d, "lbl_summary"), u8("シングル 1口・マルチ 1件（2口）・金額 300円"));
    EXPECT_EQ(text_of(*d, "lbl_errors"), QString());
    EXPECT_TRUE(ok(*d)->isEnabled());
    type_text(box(*d), "x");
    EXPECT_FALSE(ok(*d)->isEnabled());
}

TEST_F(FormQuickTest, MarksTheLinesWithErrorsAndListsTheirReasons)
{
    auto d = open(LotteryKind::BIG);
    const QSize size = d->size();
    box(*d)->setPlainText(
        u8("10210120021012\n1021\n# memo\n10 0 2 1 0 1 2 0 0 2 1 0 1 2\n10210120021012 ＃ 山田さんの分"));
    d->parse_now();
    EXPECT_EQ(d->size(), size); // the errors' list has its room from the start
    EXPECT_EQ(text_of(*d, "lbl_summary"), u8("シングル 2口・マルチ 0件（0口）・金額 600円"));
    EXPECT_EQ(text_of(*d, "lbl_errors"), u8("エラー 2行"));
    EXPECT_FALSE(ok(*d)->isEnabled());
    auto *list = control<QListWidget>(d.get(), "lst_errors");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), u8("2行目: 枠が4個です（14個必要です）"));
    EXPECT_EQ(list->item(1)->text(), u8("4行目: BIGはシングルのみです"));
    const QList<QTextEdit::ExtraSelection> marks = box(*d)->extraSelections();
    ASSERT_EQ(marks.size(), 2);
    EXPECT_EQ(marks[0].cursor.blockNumber(), 1);
    EXPECT_EQ(marks[1].cursor.blockNumber(), 3);

    // A click on a reason puts the cursor on its line.
    QApplication::processEvents();
    const QRect second = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    EXPECT_EQ(box(*d)->textCursor().blockNumber(), 3);

    // Hovering a marked line tells why; the reason goes as soon as the text changes.
    QTextCursor on_second(box(*d)->document()->findBlockByNumber(1));
    const QPoint at = box(*d)->cursorRect(on_second).center();
    QHelpEvent hover(QEvent::ToolTip, at, box(*d)->viewport()->mapToGlobal(at));
    QApplication::sendEvent(box(*d)->viewport(), &hover);
    EXPECT_EQ(QToolTip::text(), u8("枠が4個です（14個必要です）"));
    type_text(box(*d), "1");
    QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 2000);

    // Mending the lines takes the marks away.
    box(*d)->setPlainText(u8("10210120021012\n10210120021012"));
    d->parse_now();
    EXPECT_TRUE(box(*d)->extraSelections().isEmpty());
    EXPECT_TRUE(list->isHidden());
    EXPECT_TRUE(ok(*d)->isEnabled());
}

TEST_F(FormQuickTest, OkAddsEveryTicketInOrderAsOneStep)
{
    auto d = open(LotteryKind::totoGOAL3);
    ASSERT_TRUE(add_single(setup_book(state.document), 0, make_single({1, 1, 1, 1, 1, 1})).ok);
    make_unmodified(state.document);
    box(*d)->setPlainText(u8("012 0 0 0 0 0\n３ ２ １ ０ ０ ０\n"));
    QTRY_VERIFY_WITH_TIMEOUT(ok(*d)->isEnabled(), 5000);
    click(ok(*d));
    EXPECT_EQ(state.dialog_result, DialogResult::ok);
    EXPECT_FALSE(d->isVisible());
    const std::vector<Ticket> held = tickets_of(state.book(), 0);
    ASSERT_EQ(held.size(), 3u);
    EXPECT_EQ(std::get<MultiPurchase>(held[1]).combos, 3);
    EXPECT_EQ(held[2], Ticket(make_single({3, 2, 1, 0, 0, 0})));
    EXPECT_EQ(state.book().entries[0].tickets, 5);
    EXPECT_EQ(state.document.history().step_count(), 1);
    state.document.undo();
    EXPECT_EQ(tickets_of(state.book(), 0).size(), 1u);
    EXPECT_FALSE(state.document.modified());
}

TEST_F(FormQuickTest, TicketsBeyondTheBooksLimitsAreRefusedWithNothingAdded)
{
    auto d = open(LotteryKind::toto5);
    TicketBook &book = setup_book(state.document);
    for (int i = 0; i < kMaxRecords - 1; ++i)
        book.singles.push_back(SinglePurchase{});
    // The limit is said as the lines are read, and OK stays off.
    box(*d)->setPlainText(QStringLiteral("11111\n22222\n"));
    d->parse_now();
    EXPECT_EQ(text_of(*d, "lbl_errors"), u8("シングルはこの種別で32,767件までです（あと1件）"));
    EXPECT_FALSE(ok(*d)->isEnabled());
    click(ok(*d));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(state.book().singles.size(), static_cast<size_t>(kMaxRecords - 1));
    EXPECT_FALSE(state.document.can_undo());
}

// The example fits the round: its number of slots, a multi only where the kind takes one.
TEST_F(FormQuickTest, TheExampleIsOfTheRoundsKind)
{
    for (const LotteryKind kind : {LotteryKind::minitotoA, LotteryKind::toto, LotteryKind::BIG,
                                   LotteryKind::miniBIG, LotteryKind::totoGOAL2, LotteryKind::totoGOAL}) {
        auto d = open(kind);
        const QString hint = text_of(*d, "lbl_hint");
        const qsizetype at = hint.indexOf(u8("例: ")) + 3;
        qsizetype end = at;
        while (end < hint.size() && hint[end].isDigit())
            ++end;
        EXPECT_EQ(end - at, slot_count(kind)) << hint.toStdString();
        EXPECT_EQ(hint.contains(u8("シングルのみ")), is_big_family(kind)) << hint.toStdString();
        // The example itself is a ticket of the round.
        box(*d)->setPlainText(hint.mid(at, end - at));
        d->parse_now();
        EXPECT_TRUE(ok(*d)->isEnabled()) << hint.toStdString();
        box(*d)->clear();
    }
}

// Esc or キャンセル with lines typed asks first (Enter keeps them); with none it just closes.
TEST_F(FormQuickTest, ClosingWithTypedLinesAsksFirst)
{
    auto d = open(LotteryKind::toto5);
    EXPECT_GT(control<QWidget>(d.get(), "line_numbers")->width(), 0);
    type_text(box(*d), "11111");
    ui.answers.push_back(UiServices::Answer::no);
    QTest::keyClick(box(*d), Qt::Key_Escape);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, u8("入力した内容を破棄して閉じますか？"));
    EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::yes_no_default_no);
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(box(*d)->toPlainText(), QStringLiteral("11111"));
    ui.answers.push_back(UiServices::Answer::yes);
    click(control<QPushButton>(d.get(), "cmd_cancel"));
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(state.book().singles.empty());

    auto empty = open(LotteryKind::toto5);
    QTest::keyClick(box(*empty), Qt::Key_Escape);
    EXPECT_FALSE(empty->isVisible());
    EXPECT_EQ(ui.messages.size(), 2u);
}
