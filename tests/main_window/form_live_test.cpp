// 途中経過: the window's supposing by click and key, the line and rows that follow, writing
// the supposed results as one step, and the command's enabling.
#include "main_window/form_live.h"
#include "main_window_fixture.h"
#include "results/live_texts.h"
#include "results/winning_check.h"
#include "support/dialog_driver.h"

#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <random>

// The kinds by name in the test names.
void PrintTo(LotteryKind kind, std::ostream *os)
{
    *os << kind_display_name(kind).toStdString();
}

namespace {

int random_int(std::mt19937 &rng, int lo, int hi)
{
    return std::uniform_int_distribution<int>(lo, hi)(rng);
}

// One round of `kind` on its match day: the first slots decided (one of them cancelled), the
// others open; singles and, where the kind takes them, multis that mostly pick a hidden
// outcome, so that every grade is in play. Prizes entered.
TicketBook match_day_book(LotteryKind kind, unsigned seed)
{
    std::mt19937 rng(seed);
    RoundEntry e = make_entry(kind, "1500");
    e.has_grade3 = kind == LotteryKind::toto;
    e.has_grade5 = e.has_grade6 = kind == LotteryKind::BIG;
    e.state = kPrizeEntered;
    e.prizes = {1000000, 50000, 3000, 1000, 500, 200};
    const int n = slot_count(kind);
    std::array<int, kMaxSlots> truth{};
    for (int s = 0; s < n; ++s) {
        truth[s] = random_int(rng, 0, outcome_count(kind) - 1);
        const int code =
            s == 1 ? (is_match_kind(kind) ? kCancelled : kScoreCancelled) : outcome_result(kind, truth[s]);
        (is_match_kind(kind) ? e.matches[s].result : e.teams[s].score) = s < n / 2 ? code : kResultNone;
    }
    TicketBook book;
    EXPECT_TRUE(add_entry(book, e).ok);
    const auto leaning = [&](int s) {
        return random_int(rng, 0, 3) > 0 ? truth[s] : random_int(rng, 0, outcome_count(kind) - 1);
    };
    for (int t = 0; t < 8; ++t) {
        SinglePurchase p;
        for (int s = 0; s < n; ++s)
            p.picks[s] =
                static_cast<uint8_t>(is_match_kind(kind) ? outcome_result(kind, leaning(s)) : leaning(s));
        EXPECT_TRUE(add_single(book, 0, p).ok);
    }
    for (int t = 0; t < 2 && !is_big_family(kind); ++t) {
        MultiPurchase m;
        for (int s = 0; s < n; ++s) {
            const int o = leaning(s);
            m.marks[s][static_cast<size_t>(is_match_kind(kind) ? kMatchOutcomes[o].mark : o)] = true;
            if (s % 4 == t)
                m.marks[s][static_cast<size_t>((o + 1) % marks_per_slot(kind))] = true;
        }
        EXPECT_TRUE(add_multi(book, 0, m).ok);
    }
    result_chk(book, 0);
    return book;
}

// The counts as the main list counts them, with `supposed` entered as results.
GradeCounts listed_counts(const TicketBook &book, const Suppositions &supposed, RoundEntry *graded = nullptr)
{
    TicketBook copy = book;
    copy.entries[0] = supposed_round(book.entries[0], supposed);
    result_chk(copy, 0);
    if (graded)
        *graded = copy.entries[0];
    return copy.entries[0].hits;
}

QTableWidget *slot_table(QDialog *d)
{
    return control<QTableWidget>(d, "lvw_slots");
}

void click_cell(QTableWidget *table, int row, int column)
{
    const QRect at = table->visualItemRect(table->item(row, column));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at.center());
}

QByteArray file_bytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class LiveWindow : public MainWindowTest {
protected:
    // The book as the window holds it, read back from its file.
    const TicketBook &open_book(const TicketBook &book)
    {
        EXPECT_TRUE(window->load_book(write_book(book, QStringLiteral("live.yrm"))));
        window->select_row(0);
        return window->state().book();
    }

    // The shortcuts reach the window as the user's keys do, once it is the active window.
    void activate()
    {
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Opens 途中経過 with Ctrl+L and drives it; false when no window came up.
    bool with_live(const std::function<void(FormLive *)> &drive)
    {
        activate(); // before the driver's timer starts: the wait runs the event loop
        return with_dialog([&] { QTest::keyClick(window->list(), Qt::Key_L, Qt::ControlModifier); },
                           [&](QDialog *d) {
                               auto *live = qobject_cast<FormLive *>(d);
                               ASSERT_NE(live, nullptr);
                               drive(live);
                           });
    }

    // The line, the won amount and every row as the list's counting gives them for `supposed`.
    void expect_shows(FormLive *d, const TicketBook &book, const Suppositions &supposed)
    {
        const RoundEntry &e = book.entries[0];
        RoundEntry graded;
        EXPECT_EQ(d->suppositions(), supposed);
        EXPECT_EQ(control<QLabel>(d, "lbl_now")->text(),
                  in_line_text(e, listed_counts(book, supposed, &graded)));
        auto *won = control<QLabel>(d, "lbl_won");
        EXPECT_EQ(won->isVisible(), results_complete(graded));
        if (results_complete(graded)) {
            EXPECT_EQ(won->text(),
                      QStringLiteral("当選金額 ") + format_yen(graded.won) + QStringLiteral("円"));
        }
        QTableWidget *table = slot_table(d);
        for (int s = 0; s < slot_count(e.kind); ++s) {
            const bool open = slot_undecided(e, s);
            const int own = supposed[s];
            EXPECT_EQ(table->item(s, 2)->text(),
                      result_so_far_text(e.kind, open && own ? own : e.slot_result(s)) +
                          (open && own ? QStringLiteral("（仮定）") : QString()));
            for (int o = 0; o < outcome_count(e.kind); ++o) {
                QTableWidgetItem *cell = table->item(s, FormLive::kFirstOutcomeColumn + o);
                Suppositions ended = supposed;
                ended[s] = outcome_result(e.kind, o);
                // Shown in lines of three grades, with no break inside a grade's "1等 2".
                const QString shown = cell->text().remove(QChar(0x2060)).replace(QChar(0x00A0), u' ');
                EXPECT_EQ(shown.split(u'\n').join(QStringLiteral(" / ")),
                          open ? outcome_cell_text(e, listed_counts(book, ended)) : QString())
                    << "slot " << s + 1 << " outcome " << o;
                EXPECT_EQ(cell->data(Qt::BackgroundRole).isValid(), open && own == outcome_result(e.kind, o))
                    << "a supposed outcome is shaded, and only that";
            }
        }
    }
};

class LiveWindowKinds : public LiveWindow, public ::testing::WithParamInterface<LotteryKind> {};

} // namespace

// Random clicks and keys on random rows, decided ones included, against a model of what
// each does: the window shows after each the counts of the list's own check.
TEST_P(LiveWindowKinds, SupposingByClickAndKeyRecountsTheLineAndEveryRow)
{
    const LotteryKind kind = GetParam();
    const TicketBook &book = open_book(match_day_book(kind, 1 + static_cast<unsigned>(kind)));
    const RoundEntry &e = book.entries[0];
    ASSERT_TRUE(with_live([&](FormLive *d) {
        EXPECT_EQ(d->objectName(), QStringLiteral("form_live"));
        EXPECT_EQ(d->windowTitle(), QStringLiteral("途中経過"));
        EXPECT_EQ(control<QLabel>(d, "lbl_decided")->text(), decided_text(e));
        EXPECT_EQ(control<QLabel>(d, "lbl_bought")->text(), QStringLiteral("購入 %1口").arg(e.tickets));
        QTableWidget *table = slot_table(d);
        EXPECT_EQ(table->rowCount(), slot_count(kind));
        EXPECT_EQ(d->focusWidget(), table);
        EXPECT_EQ(table->currentRow(), slot_count(kind) / 2) << "the keyboard starts on the first open slot";
        Suppositions model{};
        int beeps = 0;
        expect_shows(d, book, model);
        std::mt19937 rng(static_cast<unsigned>(kind));
        for (int step = 0; step < 30; ++step) {
            const int s = random_int(rng, 0, slot_count(kind) - 1);
            const int o = random_int(rng, 0, outcome_count(kind) - 1);
            const int how = random_int(rng, 0, 4);
            const int column = FormLive::kFirstOutcomeColumn + o;
            const QString mark = outcome_mark(kind, o);
            if (how == 0) {
                click_cell(table, s, column);
            } else {
                table->setCurrentCell(s, column);
                if (how == 1)
                    QTest::keyClick(table, mark[0].toLatin1());
                else if (how == 2)
                    type_text(table, QString(QChar(mark[0].unicode() - u'0' + 0xFF10))); // full-width
                else if (how == 3)
                    QTest::keyClick(table, Qt::Key_Space);
                else
                    QTest::keyClick(table, Qt::Key_Delete);
            }
            const int code = outcome_result(kind, o);
            if (!slot_undecided(e, s))
                ++beeps;
            else
                model[s] = how == 4 || model[s] == code ? 0 : code;
            SCOPED_TRACE(testing::Message() << "step " << step << " slot " << s + 1 << " way " << how);
            expect_shows(d, book, model);
            EXPECT_EQ(ui.beeps, beeps) << "a decided slot takes no supposition";
        }
    }));
}

INSTANTIATE_TEST_SUITE_P(Kinds, LiveWindowKinds,
                         ::testing::Values(LotteryKind::toto, LotteryKind::minitotoA, LotteryKind::totoGOAL3,
                                           LotteryKind::BIG, LotteryKind::totoGOAL2),
                         [](const auto &info) { return std::to_string(static_cast<int>(info.param)); });

TEST_F(LiveWindow, EnteringTheSupposedResultsIsOneStepThatCtrlZTakesBackByteForByte)
{
    const TicketBook book = open_book(match_day_book(LotteryKind::toto, 7));
    const QString before = write_book(window->state().book(), QStringLiteral("before.yrm"));
    const RoundEntry round = window->state().book().entries[0];
    Suppositions supposed{};
    ASSERT_TRUE(with_live([&](FormLive *d) {
        QTableWidget *table = slot_table(d);
        // Every open slot by key, so the window also says what the round wins.
        for (int s = 0; s < 13; ++s) {
            if (!slot_undecided(round, s))
                continue;
            table->setCurrentCell(s, FormLive::kFirstOutcomeColumn);
            const int o = s % 3;
            QTest::keyClick(table, outcome_mark(LotteryKind::toto, o)[0].toLatin1());
            supposed[s] = outcome_result(LotteryKind::toto, o);
        }
        expect_shows(d, book, supposed);
        click(control<QPushButton>(d, "cmd_enter"));
        EXPECT_FALSE(d->isVisible());
    }));
    const RoundEntry &entered = window->state().book().entries[0];
    RoundEntry expected;
    listed_counts(book, supposed, &expected);
    EXPECT_EQ(entered, expected) << "the supposed results, graded; prize state and prizes as they were";
    EXPECT_EQ(entered.state, round.state);
    EXPECT_EQ(entered.prizes, round.prizes);
    EXPECT_EQ(window->state().document.undo_name(), QStringLiteral("結果入力"));
    EXPECT_EQ(row_texts(0)[11], won_cell_text(expected));
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral(" * ")));

    activate();
    QTest::keyClick(window->list(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->state().book().entries[0], round);
    EXPECT_FALSE(window->state().document.can_undo()) << "one step took it all back";
    EXPECT_EQ(file_bytes(write_book(window->state().book(), QStringLiteral("after.yrm"))),
              file_bytes(before));
    EXPECT_FALSE(window->windowTitle().contains(QStringLiteral(" * ")));
}

TEST_F(LiveWindow, EscClosesAndWritesNothing)
{
    open_book(match_day_book(LotteryKind::totoGOAL, 3));
    const RoundEntry round = window->state().book().entries[0];
    ASSERT_TRUE(with_live([&](FormLive *d) {
        QTableWidget *table = slot_table(d);
        table->setCurrentCell(9, FormLive::kFirstOutcomeColumn);
        QTest::keyClick(table, Qt::Key_3);
        EXPECT_TRUE(control<QPushButton>(d, "cmd_enter")->isEnabled());
        QTest::keyClick(table, Qt::Key_Escape);
        EXPECT_FALSE(d->isVisible());
    }));
    EXPECT_EQ(window->state().book().entries[0], round);
    EXPECT_FALSE(window->state().document.can_undo());
    EXPECT_FALSE(window->windowTitle().contains(QStringLiteral(" * ")));
}

// Enabled for a selected round with tickets that is not refunded, in the menu and on the
// row's right-click menu alike (the same action); Ctrl+L on any other row opens nothing.
TEST_F(LiveWindow, TheCommandWaitsForARoundWithTicketsInPlay)
{
    ASSERT_TRUE(window->load_book(write_book(four_round_book(), QStringLiteral("four.yrm"))));
    EXPECT_FALSE(action("menu_live")->isEnabled()) << "nothing selected";
    QString enabled;
    for (int row = 0; row < 4; ++row) {
        window->select_row(row);
        enabled += action("menu_live")->isEnabled() ? u'1' : u'0';
        const bool opened = with_live([](FormLive *) {});
        EXPECT_EQ(opened, action("menu_live")->isEnabled()) << "row " << row;
    }
    EXPECT_EQ(enabled, QStringLiteral("1100")) << "toto, BIG; not the refund nor the round without tickets";
}

// What the counts of an unfinished round mean, said where the list shows them.
TEST_F(LiveWindow, TheListExplainsTheCountsOfAnUnfinishedRound)
{
    TicketBook book = match_day_book(LotteryKind::toto, 5);
    RoundEntry done = book.entries[0];
    done.kai = sjis("1501");
    for (int s = 0; s < 13; ++s)
        done.matches[s].result = kHomeWin;
    ASSERT_TRUE(add_entry(book, done).ok);
    ASSERT_TRUE(add_single(book, 1, make_single(std::vector<int>(13, kHomeWin))).ok);
    result_chk(book, 1);
    open_book(book);
    const QAbstractItemModel *model = window->list()->model();
    const auto tip = [&](int row, int column) {
        return model->index(row, column).data(Qt::ToolTipRole).toString();
    };
    EXPECT_EQ(tip(0, 4), QStringLiteral("残りの試合の結果しだいで1等になりうる口数"));
    EXPECT_EQ(tip(0, 6), QStringLiteral("残りの試合の結果しだいで3等になりうる口数"));
    EXPECT_EQ(tip(0, 7), QString()) << "toto has no 4等";
    EXPECT_EQ(row_texts(0)[11], QStringLiteral("未確定"));
    EXPECT_EQ(tip(0, 11), QStringLiteral("13試合中 7試合が未開催"));
    for (int column = 0; column < model->columnCount(); ++column)
        EXPECT_EQ(tip(1, column), QString()) << "a decided round needs none; column " << column;
}
