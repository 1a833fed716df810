#include "book/book_file.h"
#include "entry/form_goal_multi.h"
#include "entry/form_goal_name.h"
#include "entry/form_goal_single.h"
#include "entry/form_text_box.h"
#include "main_window_fixture.h"
#include "results/winning_check.h"
#include "support/book_builders.h"
#include "support/dialog_driver.h"
#include "support/document_helpers.h"
#include "ui/book_commits.h"
#include "ui/shared_state.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

namespace {

// Runs `act` on the modal dialog a command opens, once it is shown.
void on_modal_dialog(const std::function<void(QDialog *)> &act)
{
    QTimer::singleShot(0, [act] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

void fill_names(QDialog *dialog)
{
    for (QLineEdit *box : dialog->findChildren<QLineEdit *>()) {
        if (!box->isHidden())
            type_text(box, box->objectName().right(2));
    }
}

void press(QDialog *dialog, const char *name)
{
    click(control<QPushButton>(dialog, QString::fromLatin1(name)));
}

// Picks or marks the first `per_row` buttons of every shown row.
void tick_rows(QDialog *dialog, const char *const *columns, int per_row, int rows)
{
    for (int i = 0; i < rows; ++i) {
        for (int c = 0; c < per_row; ++c)
            click(control<QAbstractButton>(dialog, columns[(c + i) % 3], i));
    }
}

const char *const kMatchPicks[] = {"opt_win", "opt_draw", "opt_lose"};
const char *const kGoalPicks[] = {"opt_0ten", "opt_1ten", "opt_2ten"};
const char *const kMatchMarks[] = {"chk_win", "chk_draw", "chk_lose"};
const char *const kGoalMarks[] = {"chk_0ten", "chk_1ten", "chk_2ten"};

// The commands of the window, on a book the test fills itself.
class FormCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        state_ = &window->state();
    }
    // Selects `entry`, as a click on its row does; the first time, the rounds set up so far
    // are shown as if the book had been opened with them.
    void select(int entry)
    {
        if (!shown_) {
            window->state().document.adopt(window->state().book());
            shown_ = true;
        }
        window->select_row(entry);
    }

    SharedState *state_ = nullptr;
    bool shown_ = false;
};

} // namespace

TEST_F(FormCommandsTest, RegisterOpensTheDialogOfTheKind)
{
    SharedState &state = *state_;
    state.editing = 2;
    on_modal_dialog([](QDialog *d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("form_goal_name"));
        fill_names(d);
        press(d, "cmd_ok");
    });
    window->register_round(LotteryKind::totoGOAL3);
    EXPECT_FALSE(state.editing.has_value());
    ASSERT_EQ(state.book().entry_count(), 1);
    EXPECT_EQ(state.book().entries[0].kind, LotteryKind::totoGOAL3);
    EXPECT_EQ(state.current, 0);

    on_modal_dialog([](QDialog *d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("form_name"));
        press(d, "cmd_cancel");
    });
    make_unmodified(state.document);
    window->register_round(LotteryKind::BIG1000);
    EXPECT_EQ(state.book().entry_count(), 1);
    EXPECT_FALSE(state.document.modified());
}

TEST_F(FormCommandsTest, PurchaseCommandsFollowTheRoundsFamily)
{
    SharedState &state = *state_;
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::BIG)).ok);
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::totoGOAL2)).ok);
    select(0);
    // BIG-family rounds take single tickets only.
    window->menu_multi_Click();
    EXPECT_TRUE(state.book().multis.empty());

    on_modal_dialog([](QDialog *d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("form_single"));
        tick_rows(d, kMatchPicks, 1, 14);
        press(d, "cmd_ok");
    });
    window->menu_single_Click();
    EXPECT_EQ(state.book().entries[0].tickets, 1);
    EXPECT_TRUE(state.document.modified());

    select(1);
    on_modal_dialog([](QDialog *d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("form_goal_multi"));
        tick_rows(d, kGoalMarks, 2, 4);
        press(d, "cmd_ok");
    });
    window->menu_multi_Click();
    EXPECT_EQ(state.book().entries[1].tickets, 16);

    on_modal_dialog([](QDialog *d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("form_goal_multi"));
        EXPECT_TRUE(control<QCheckBox>(d, "chk_1ten", 3)->isChecked());
        click(control<QCheckBox>(d, "chk_1ten", 3));
        press(d, "cmd_ok");
    });
    EXPECT_TRUE(window->edit_multi(0));
    EXPECT_EQ(state.editing, 0);
    EXPECT_EQ(state.book().entries[1].tickets, 8);

    on_modal_dialog([](QDialog *d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("form_goal_name"));
        press(d, "cmd_cancel");
    });
    EXPECT_FALSE(window->edit_round());
    EXPECT_EQ(state.editing, state.current);

    // An edit of a ticket the pool does not hold opens nothing.
    EXPECT_FALSE(window->edit_single(0));
    EXPECT_FALSE(window->edit_multi(1));
}

TEST_F(FormCommandsTest, ABookEnteredThroughTheDialogsSavesAndReadsBackEqual)
{
    SharedState state{BookDocument::no_grading()};
    const auto register_round = [&](LotteryKind kind, int grade_click) {
        std::unique_ptr<FormName> d = is_match_kind(kind)
                                          ? std::make_unique<FormName>(state, ui, round_commit(state))
                                          : std::make_unique<FormGoalName>(state, ui, round_commit(state));
        state.editing.reset();
        d->set_kind(kind);
        d->show();
        fill_names(d.get());
        retype(control<QLineEdit>(d.get(), "txt_kai"), u8("第12回"));
        if (grade_click == 1)
            click(control<QRadioButton>(d.get(), "opt_plus1"));
        if (grade_click == 2)
            click(control<QRadioButton>(d.get(), "opt_plus2"));
        click(control<QPushButton>(d.get(), "cmd_ok"));
        state.current = state.book().entry_count() - 1;
    };
    const auto buy = [&](bool multi, int per_row) {
        const bool match = is_match_kind(state.book().entries[static_cast<size_t>(state.current)].kind);
        std::unique_ptr<FormPurchaseBase> d;
        if (multi)
            d = match ? std::make_unique<FormMulti>(state, ui, multi_commit(state))
                      : std::make_unique<FormGoalMulti>(state, ui, multi_commit(state));
        else
            d = match ? std::make_unique<FormSingle>(state, ui, single_commit(state))
                      : std::make_unique<FormGoalSingle>(state, ui, single_commit(state));
        state.editing.reset();
        d->show();
        const char *const *columns =
            multi ? (match ? kMatchMarks : kGoalMarks) : (match ? kMatchPicks : kGoalPicks);
        tick_rows(d.get(), columns, per_row, d->row_count());
        click(control<QPushButton>(d.get(), "cmd_ok"));
    };

    register_round(LotteryKind::toto, 1);
    buy(false, 1);
    buy(true, 1);
    register_round(LotteryKind::BIG, 2);
    buy(false, 1);
    register_round(LotteryKind::totoGOAL, 0);
    buy(true, 1);
    buy(false, 1);
    register_round(LotteryKind::minitotoA, 0);
    buy(true, 2);
    state.current = 0; // a later ticket of the first round
    buy(false, 1);
    ASSERT_EQ(state.book().entry_count(), 4);
    EXPECT_EQ(state.book().entries[0].tickets, 3);
    EXPECT_EQ(state.book().entries[1].tickets, 1);
    EXPECT_EQ(state.book().entries[2].tickets, 2);
    EXPECT_EQ(state.book().entries[3].tickets, 32);
    EXPECT_TRUE(chains_consistent(state.book()));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray old_temp = qgetenv("TEMP");
    qputenv("TEMP", dir.path().toUtf8());
    const QString path = dir.filePath(QStringLiteral("entered.yrm"));
    const Outcome saved = write_data(state.book(), path);
    if (old_temp.isNull())
        qunsetenv("TEMP");
    else
        qputenv("TEMP", old_temp);
    ASSERT_TRUE(saved.ok) << saved.message.toStdString();
    BookReadResult read = read_data(path);
    ASSERT_TRUE(read.outcome.ok) << read.outcome.message.toStdString();
    grade_book(read.book);

    TicketBook expected = state.book();
    for (int e = 0; e < expected.entry_count(); ++e)
        result_chk(expected, e);
    ASSERT_EQ(read.book.entry_count(), expected.entry_count());
    for (int e = 0; e < expected.entry_count(); ++e) {
        SCOPED_TRACE(e);
        RoundEntry a = read.book.entries[static_cast<size_t>(e)];
        RoundEntry b = expected.entries[static_cast<size_t>(e)];
        a.first_index = b.first_index = 0; // pools may be renumbered in entry order
        EXPECT_EQ(a, b);
        EXPECT_EQ(tickets_of(read.book, e), tickets_of(expected, e));
    }
    EXPECT_EQ(read.book.entries[0].kai, BookText(sjis("第12回")));
    EXPECT_TRUE(read.book.entries[0].has_grade3);
    EXPECT_TRUE(read.book.entries[1].has_grade5 && read.book.entries[1].has_grade6);
}
