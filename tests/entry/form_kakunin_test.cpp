#include "book/book_invariants.h"
#include "entry/form_kakunin.h"
#include "entry/purchase_review.h"
#include "support/book_builders.h"
#include "support/dialog_driver.h"
#include "support/document_helpers.h"
#include "support/fake_ui_services.h"
#include "ui/book_commits.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <tuple>

namespace {

const QColor kDarkRed(192, 0, 0);

// A toto round "10" whose 13 results are home, draw, away, home, ..., a totoGOAL round
// "11" and a BIG round "12".
SharedState three_rounds()
{
    SharedState state{BookDocument::no_grading()};
    RoundEntry toto = make_entry(LotteryKind::toto, "10");
    const int cycle[3] = {kHomeWin, kDraw, kAwayWin};
    for (int i = 0; i < 13; ++i)
        toto.matches[i].result = cycle[i % 3];
    EXPECT_TRUE(add_entry(setup_book(state.document), toto).ok);
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::totoGOAL, "11")).ok);
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::BIG, "12")).ok);
    return state;
}

QStringList item_captions(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QList<int> item_values(const QComboBox *box)
{
    QList<int> values;
    for (int i = 1; i < box->count(); ++i)
        values << box->itemData(i).toInt();
    return values;
}

bool dark_red(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText) == kDarkRed;
}

} // namespace

TEST(FormKakunin, ShowsTheRoundAndEachTicket)
{
    SharedState state = three_rounds();
    std::vector<int> picks(13);
    for (int i = 0; i < 13; ++i)
        picks[i] = (i % 3 == 0) ? kHomeWin : (i % 3 == 1) ? kDraw : kAwayWin;
    picks[0] = kDraw;
    picks[4] = kHomeWin;
    picks[12] = kAwayWin;
    EXPECT_TRUE(add_single(setup_book(state.document), 0, make_single(picks)).ok);
    EXPECT_TRUE(
        add_multi(setup_book(state.document), 0, make_multi(std::vector<const char *>(13, "110"))).ok);
    FakeUiServices ui;
    FormKakunin d(state, ui, review_commits(state));
    d.load();
    d.show();
    EXPECT_EQ(d.objectName(), QStringLiteral("form_kakunin"));
    EXPECT_EQ(d.windowTitle(), QStringLiteral("購入確認・修正"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_kai")->text(), QStringLiteral("10"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_kind")->text(), QStringLiteral("toto"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_home", 12)->text(), QStringLiteral("H12"));
    EXPECT_TRUE(control<QLabel>(&d, "lbl_home", 13)->isHidden());
    // Each item reads its kind and its line; the line is also its tooltip and stands beside the box.
    const QString single_line = QStringLiteral("0 0 2 1 1 2 1 0 2 1 0 2 2");
    const QString multi_line = QStringList(13, QStringLiteral("10")).join(u' ');
    EXPECT_EQ(item_captions(control<QComboBox>(&d, "cmb_kind")),
              (QStringList{QStringLiteral("対象試合"), QStringLiteral("シングル ") + single_line,
                           QStringLiteral("マルチ ") + multi_line}));
    EXPECT_EQ(item_values(control<QComboBox>(&d, "cmb_kind")), (QList<int>{0, 1}));
    EXPECT_EQ(state.editing, state.current);
    EXPECT_EQ(control<QComboBox>(&d, "cmb_kind")->itemData(1, Qt::ToolTipRole).toString(), single_line);
    EXPECT_EQ(control<QComboBox>(&d, "cmb_kind")->itemData(2, Qt::ToolTipRole).toString(), multi_line);
    EXPECT_EQ(control<QLabel>(&d, "lbl_line")->text(), QString());
    EXPECT_TRUE(control<QLabel>(&d, "lbl_win", 0)->isHidden());
    EXPECT_TRUE(control<QLabel>(&d, "lbl_win", 14)->isHidden());
    EXPECT_TRUE(control<QLabel>(&d, "lbl_right_num")->isHidden());
    EXPECT_TRUE(control<QFrame>(&d, "line_kuti")->isHidden());
    for (const char *prize : {"lbl_top", "lbl_second", "lbl_third", "lbl_fourth", "lbl_fifth", "lbl_sixth"}) {
        EXPECT_TRUE(control<QLabel>(&d, prize)->isHidden());
        EXPECT_TRUE(
            control<QLabel>(&d, (QLatin1String(prize) + QStringLiteral("_kin")).toLatin1().constData())
                ->isHidden());
    }

    control<QComboBox>(&d, "cmb_kind")->setCurrentIndex(1);
    EXPECT_EQ(state.editing, 0);
    EXPECT_EQ(d.shown_type(), kSingle);
    EXPECT_EQ(control<QLabel>(&d, "lbl_line")->text(), single_line);
    EXPECT_EQ(control<QLabel>(&d, "lbl_win", 14)->text(), QStringLiteral("勝"));
    EXPECT_FALSE(control<QLabel>(&d, "lbl_win", 14)->isHidden());
    EXPECT_TRUE(control<QLabel>(&d, "lbl_win", 13)->isHidden());
    EXPECT_EQ(control<QLabel>(&d, "lbl_right_num")->text(), QStringLiteral("10/13"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_total")->text(), QStringLiteral("1"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_double")->text(), QStringLiteral("0"));
    // Row 0: a home win, picked as a draw.
    EXPECT_EQ(control<QLabel>(&d, "lbl_win", 0)->text(), QStringLiteral("－"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_draw", 0)->text(), QStringLiteral("○"));
    EXPECT_TRUE(dark_red(control<QLabel>(&d, "lbl_win", 0)));
    EXPECT_FALSE(dark_red(control<QLabel>(&d, "lbl_draw", 0)));
    EXPECT_FALSE(dark_red(control<QLabel>(&d, "lbl_lose", 0)));

    control<QComboBox>(&d, "cmb_kind")->setCurrentIndex(2);
    EXPECT_EQ(d.shown_type(), kMulti);
    EXPECT_EQ(control<QLabel>(&d, "lbl_line")->text(), multi_line);
    EXPECT_EQ(state.editing, 0);
    EXPECT_EQ(control<QLabel>(&d, "lbl_double")->text(), QStringLiteral("13"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_total")->text(), QStringLiteral("8192"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_right_num")->text(),
              QStringLiteral("9/13")); // away results are not marked
    EXPECT_EQ(control<QLabel>(&d, "lbl_lose", 2)->text(), QStringLiteral("－"));
    EXPECT_TRUE(dark_red(control<QLabel>(&d, "lbl_lose", 2)));
    EXPECT_FALSE(dark_red(control<QLabel>(&d, "lbl_win", 2)));

    control<QComboBox>(&d, "cmb_kind")->setCurrentIndex(0);
    EXPECT_TRUE(control<QLabel>(&d, "lbl_win", 0)->isHidden());
    EXPECT_TRUE(control<QLabel>(&d, "lbl_nm_double")->isHidden());
}

// Beside the ticket's line, how it stands on a match day: its right picks among the slots
// with a result (a cancelled one is right for every mark), and the slots still open.
TEST(FormKakunin, TheStandingBesideTheLineCountsTheDecidedSlots)
{
    SharedState state = three_rounds();
    TicketBook &book = setup_book(state.document);
    for (int i = 10; i < 13; ++i)
        book.entries[0].matches[i].result = kResultNone;
    book.entries[0].matches[9].result = kCancelled;
    std::vector<int> picks = {kDraw, kDraw,    kAwayWin, kHomeWin, kHomeWin, kAwayWin, kHomeWin,
                              kDraw, kAwayWin, kHomeWin, kDraw,    kAwayWin, kAwayWin};
    EXPECT_TRUE(add_single(book, 0, make_single(picks)).ok);
    EXPECT_TRUE(add_multi(book, 0, make_multi(std::vector<const char *>(13, "110"))).ok);
    EXPECT_TRUE(add_single(book, 1, make_single(std::vector<int>(10, 1))).ok);
    FakeUiServices ui;
    for (const auto &[entry, item, standing] : {std::tuple{0, 0, ""},
                                                {0, 1, "的中 8/10（残り3試合）"},
                                                {0, 2, "的中 7/10（残り3試合）"},
                                                {1, 1, "的中 0/0（残り10チーム）"}}) {
        state.current = entry;
        auto d = entry == 0
                     ? std::unique_ptr<KakuninDialog>(new FormKakunin(state, ui, review_commits(state)))
                     : std::unique_ptr<KakuninDialog>(new FormGoalKakunin(state, ui, review_commits(state)));
        d->load();
        control<QComboBox>(d.get(), "cmb_kind")->setCurrentIndex(item);
        EXPECT_EQ(control<QLabel>(d.get(), "lbl_standing")->text(), QString::fromUtf8(standing))
            << "round " << entry << " item " << item;
    }
    book.entries[0].matches[11].result = kHomeWin;
    book.entries[0].matches[10].result = kDraw;
    book.entries[0].matches[12].result = kHomeWin;
    state.current = 0;
    FormKakunin d(state, ui, review_commits(state));
    d.load();
    control<QComboBox>(&d, "cmb_kind")->setCurrentIndex(1);
    EXPECT_EQ(control<QLabel>(&d, "lbl_standing")->text(), QStringLiteral("的中 9/13")) << "nothing left";
}

TEST(FormKakunin, DeletingATicketAsksAndRebuildsTheItems)
{
    SharedState state = three_rounds();
    EXPECT_TRUE(add_single(setup_book(state.document), 0, make_single(std::vector<int>(13, 1))).ok);
    EXPECT_TRUE(add_single(setup_book(state.document), 2, make_single(std::vector<int>(14, 2))).ok);
    EXPECT_TRUE(
        add_multi(setup_book(state.document), 0, make_multi(std::vector<const char *>(13, "011"))).ok);
    EXPECT_TRUE(add_single(setup_book(state.document), 0, make_single(std::vector<int>(13, 3))).ok);
    FakeUiServices ui;
    int repaints = 0;
    state.document.set_listener([&](const BookChange &) { ++repaints; });
    ReviewEditors editors = review_commits(state);
    FormKakunin d(state, ui, editors);
    d.load();
    d.show();
    ASSERT_EQ(state.book().entries[0].tickets, 8194);

    control<QComboBox>(&d, "cmb_kind")->setCurrentIndex(2);
    ui.answers.push_back(UiServices::Answer::no);
    QTest::mouseClick(control<QPushButton>(&d, "cmd_del"), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("削除していいですか？"));
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("ｙｏｒｉｍｏ"));
    EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::yes_no_default_no); // Enter answers no
    EXPECT_EQ(ui.messages[0].detail, QString());
    EXPECT_EQ(state.book().entries[0].tickets, 8194);
    EXPECT_EQ(repaints, 0);
    EXPECT_EQ(control<QComboBox>(&d, "cmb_kind")->count(), 4);

    QTest::mouseClick(control<QPushButton>(&d, "cmd_del"), Qt::LeftButton); // the multi
    EXPECT_EQ(state.book().entries[0].tickets, 2);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(control<QComboBox>(&d, "cmb_kind")->count(), 3);
    EXPECT_EQ(control<QComboBox>(&d, "cmb_kind")->currentIndex(), 0);
    EXPECT_EQ(control<QComboBox>(&d, "cmb_kind")->itemText(0), QStringLiteral("対象試合"));
    // The focus leaves 削除, so a second Enter cannot ask to delete the round.
    EXPECT_EQ(d.focusWidget(), control<QComboBox>(&d, "cmb_kind"));

    control<QComboBox>(&d, "cmb_kind")
        ->setCurrentIndex(1); // the first single; the pool's last single moves into its index
    QTest::mouseClick(control<QPushButton>(&d, "cmd_del"), Qt::LeftButton);
    EXPECT_EQ(state.book().entries[0].tickets, 1);
    EXPECT_EQ(item_values(control<QComboBox>(&d, "cmb_kind")), (QList<int>{0})); // it was at pool index 2
    control<QComboBox>(&d, "cmb_kind")->setCurrentIndex(1);
    EXPECT_EQ(control<QLabel>(&d, "lbl_draw", 0)->text(), QStringLiteral("○"));
    EXPECT_TRUE(check_invariants(state.book()).ok);
    EXPECT_EQ(tickets_of(state.book(), 2).size(), 1u);
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
}

// A round may hold 65,534 tickets: the list drops down without measuring each item, and a
// deletion takes its one row rather than making every item again, whatever other rounds
// share the pools. After every deletion the items are those of the round as the book holds it.
TEST(FormKakunin, ADeletionTakesOneRowAndTheItemsFollowTheBook)
{
    std::mt19937 rng(30);
    SharedState state{BookDocument::no_grading()};
    setup_book(state.document) = random_book(rng, 8, 400);
    const TicketBook &book = state.book();
    state.current = 0;
    for (int e = 1; e < book.entry_count(); ++e)
        if (book.entries[e].tickets > book.entries[state.current].tickets)
            state.current = e;
    FakeUiServices ui;
    const bool match = is_match_kind(state.current_entry().kind);
    auto d = match ? std::unique_ptr<KakuninDialog>(new FormKakunin(state, ui, review_commits(state)))
                   : std::unique_ptr<KakuninDialog>(new FormGoalKakunin(state, ui, review_commits(state)));
    d->load();
    d->show();
    auto *box = control<QComboBox>(d.get(), "cmb_kind");
    QStyleOptionComboBox option;
    option.initFrom(box);
    EXPECT_EQ(box->style()->styleHint(QStyle::SH_ComboBox_Popup, &option, box), 0);
    ASSERT_NE(qobject_cast<QListView *>(box->view()), nullptr);
    EXPECT_TRUE(qobject_cast<QListView *>(box->view())->uniformItemSizes());

    QStringList events;
    QAbstractItemModel *model = box->model();
    QObject::connect(model, &QAbstractItemModel::modelReset, [&] { events << QStringLiteral("reset"); });
    QObject::connect(model, &QAbstractItemModel::rowsInserted, [&] { events << QStringLiteral("inserted"); });
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, [&](const QModelIndex &, int first, int last) {
        events << QStringLiteral("removed %1-%2").arg(first).arg(last);
    });
    auto items_as_held = [&] {
        QStringList texts;
        for (const ReviewItem &item : review_items(book, state.current))
            texts << item.text() + QStringLiteral(" = ") + QString::number(item.value);
        return texts;
    };
    auto items_shown = [&] {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->itemText(i) + QStringLiteral(" = ") + QString::number(box->itemData(i).toInt());
        return texts;
    };
    ASSERT_GT(box->count(), 20);
    EXPECT_EQ(items_shown(), items_as_held());
    while (box->count() > 1) {
        const int item = 1 + std::uniform_int_distribution<int>(0, box->count() - 2)(rng);
        box->setCurrentIndex(item);
        const QString line = box->itemData(item, Qt::ToolTipRole).toString();
        EXPECT_EQ(control<QLabel>(d.get(), "lbl_line")->text(), line);
        events.clear();
        click(control<QPushButton>(d.get(), "cmd_del"));
        ASSERT_EQ(events, QStringList{QStringLiteral("removed %1-%1").arg(item)});
        ASSERT_EQ(items_shown(), items_as_held()) << "after deleting item " << item;
        EXPECT_EQ(box->currentIndex(), 0);
    }
    EXPECT_EQ(state.current_entry().tickets, 0);
    EXPECT_TRUE(check_invariants(book).ok);
}

TEST(FormGoalKakunin, ItemZeroStillNamesTheTeamsAfterADeletion)
{
    SharedState state = three_rounds();
    state.current = 1;
    EXPECT_TRUE(add_single(setup_book(state.document), 1, make_single(std::vector<int>(10, 0))).ok);
    EXPECT_TRUE(add_single(setup_book(state.document), 1, make_single(std::vector<int>(10, 3))).ok);
    setup_book(state.document).entries[1].teams[0].score = 1;
    FakeUiServices ui;
    FormGoalKakunin d(state, ui, review_commits(state));
    d.load();
    d.show();
    EXPECT_EQ(d.objectName(), QStringLiteral("form_goal_kakunin"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_name", 9)->text(), QStringLiteral("T9"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_3ten", 10)->text(), QStringLiteral("3"));
    EXPECT_NE(d.findChild<QLabel *>(QStringLiteral("lbl_second_kin")), nullptr);
    EXPECT_EQ(d.findChild<QLabel *>(QStringLiteral("lbl_third")), nullptr); // two prizes only
    control<QComboBox>(&d, "cmb_kind")->setCurrentIndex(1);
    EXPECT_EQ(control<QLabel>(&d, "lbl_0ten", 0)->text(), QStringLiteral("○"));
    EXPECT_TRUE(dark_red(control<QLabel>(&d, "lbl_0ten", 0)));
    EXPECT_EQ(control<QLabel>(&d, "lbl_right_num")->text(), QStringLiteral("1/10"));
    QTest::mouseClick(control<QPushButton>(&d, "cmd_del"), Qt::LeftButton);
    EXPECT_EQ(item_captions(control<QComboBox>(&d, "cmb_kind")),
              (QStringList{QStringLiteral("対象チーム"), QStringLiteral("シングル 3 3 3 3 3 3 3 3 3 3")}));
    EXPECT_EQ(state.book().entries[1].tickets, 1);
}

TEST(FormKakunin, ChangeGoesThroughTheEditors)
{
    SharedState state = three_rounds();
    EXPECT_TRUE(add_single(setup_book(state.document), 2, make_single(std::vector<int>(14, 1))).ok);
    EXPECT_TRUE(add_single(setup_book(state.document), 2, make_single(std::vector<int>(14, 2))).ok);
    state.current = 2;
    FakeUiServices ui;
    std::vector<std::string> calls;
    ReviewEditors editors;
    editors.edit_round = [&] {
        calls.push_back("round " + std::to_string(state.editing.value_or(-1)));
        setup_book(state.document).entries[2].kai = BookText("99");
        setup_book(state.document).entries[2].matches[13].away = BookText("X");
        state.dialog_result = DialogResult::ok;
        return true;
    };
    editors.edit_single = [&](int index) {
        calls.push_back("single " + std::to_string(index) + " " + std::to_string(state.editing.value_or(-1)));
        setup_book(state.document).singles[index].picks[13] = 3;
        state.dialog_result = DialogResult::ok;
        return true;
    };
    editors.edit_multi = [&](int) {
        calls.push_back("multi");
        return false;
    };
    FormKakunin d(state, ui, editors);
    d.load();
    d.show();
    QTest::mouseClick(control<QPushButton>(&d, "cmd_cng"), Qt::LeftButton);
    EXPECT_EQ(control<QLabel>(&d, "lbl_kai")->text(), QStringLiteral("99"));
    EXPECT_EQ(control<QLabel>(&d, "lbl_away", 13)->text(), QStringLiteral("X"));
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);

    control<QComboBox>(&d, "cmb_kind")->setCurrentIndex(2);
    QTest::mouseClick(control<QPushButton>(&d, "cmd_cng"), Qt::LeftButton);
    EXPECT_EQ(calls, (std::vector<std::string>{"round 2", "single 1 1"}));
    EXPECT_EQ(control<QComboBox>(&d, "cmb_kind")->currentIndex(), 2);
    EXPECT_EQ(control<QLabel>(&d, "lbl_draw", 13)->text(), QStringLiteral("○")); // the edited pick is shown
    EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
}

TEST(FormKakunin, DeletingRounds)
{
    FakeUiServices ui;
    // The only round.
    SharedState only{BookDocument::no_grading()};
    EXPECT_TRUE(add_entry(setup_book(only.document), make_entry(LotteryKind::toto5, "1")).ok);
    EXPECT_TRUE(add_single(setup_book(only.document), 0, make_single({1, 2, 3, 1, 2})).ok);
    {
        FormKakunin d(only, ui, review_commits(only));
        d.load();
        d.show();
        EXPECT_EQ(control<QComboBox>(&d, "cmb_kind")->count(), 2);
        QTest::mouseClick(control<QPushButton>(&d, "cmd_del"), Qt::LeftButton);
        ASSERT_FALSE(ui.messages.empty());
        EXPECT_EQ(ui.messages.back().buttons, UiServices::Buttons::yes_no_default_no);
        EXPECT_EQ(ui.messages.back().detail, QStringLiteral("第1回 toto5 と購入 1件（1口）を削除します。"));
        EXPECT_EQ(only.dialog_result, DialogResult::ok);
        EXPECT_FALSE(d.isVisible());
    }
    EXPECT_EQ(only.book().entry_count(), 0);
    EXPECT_TRUE(only.book().singles.empty());

    // A round in the middle: the next one takes its place and its chain follows.
    SharedState state = three_rounds();
    EXPECT_TRUE(add_single(setup_book(state.document), 2, make_single(std::vector<int>(14, 2))).ok);
    EXPECT_TRUE(add_single(setup_book(state.document), 1, make_single(std::vector<int>(10, 1))).ok);
    state.current = 1;
    {
        FormGoalKakunin d(state, ui, review_commits(state));
        d.load();
        QTest::mouseClick(control<QPushButton>(&d, "cmd_del"), Qt::LeftButton);
    }
    ASSERT_EQ(state.book().entry_count(), 2);
    EXPECT_EQ(state.book().entries[1].kai, BookText("12"));
    EXPECT_EQ(state.book().singles[0].link.prev_index, 1);
    EXPECT_TRUE(check_invariants(state.book()).ok);

    // OK changes nothing and reports 0; deleting the last round reports 1.
    state.current = 1;
    {
        FormKakunin d(state, ui, review_commits(state));
        d.load();
        control<QPushButton>(&d, "cmd_ok")->click();
        EXPECT_EQ(state.dialog_result, DialogResult::cancelled);
        EXPECT_EQ(state.book().entry_count(), 2);
        control<QPushButton>(&d, "cmd_del")->click();
    }
    EXPECT_EQ(state.dialog_result, DialogResult::ok);
    EXPECT_EQ(state.book().entry_count(), 1);
}

TEST(FormKakunin, EnterClosesTheDialogRatherThanChanging)
{
    SharedState state = three_rounds();
    FakeUiServices ui;
    int edits = 0;
    ReviewEditors editors;
    editors.edit_round = [&] {
        ++edits;
        return false;
    };
    state.current = 0;
    FormKakunin d(state, ui, editors);
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    control<QComboBox>(&d, "cmb_kind")->setFocus();
    QTest::keyClick(control<QComboBox>(&d, "cmb_kind"), Qt::Key_Return);
    EXPECT_EQ(edits, 0);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

// The heading and the deletion's question name a round once: "回" follows a bare number only,
// so a label that writes "第１２３回" itself is not read "第１２３回回".
TEST(FormKakunin, ARoundWrittenWithItsMarksIsNotWrappedAgain)
{
    const std::vector<std::tuple<const char *, const char *, const char *>> labels = {
        {"10", "10回", "第10回"},
        {"１２３", "１２３回", "第１２３回"},
        {"第１２３回", "第１２３回", "第１２３回"},
        {"１２３回", "１２３回", "第１２３回"},
    };
    for (const auto &[kai, heading, named] : labels) {
        SharedState state{BookDocument::no_grading()};
        EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(LotteryKind::toto5, kai)).ok);
        EXPECT_TRUE(add_single(setup_book(state.document), 0, make_single({1, 2, 3, 1, 2})).ok);
        FakeUiServices ui;
        ui.answers = {UiServices::Answer::no};
        FormKakunin d(state, ui, review_commits(state));
        d.load();
        d.show();
        const auto *mark = control<QLabel>(&d, "lbl_kai_mark");
        EXPECT_EQ(control<QLabel>(&d, "lbl_kai")->text() + (mark->isVisible() ? mark->text() : QString()),
                  QString::fromUtf8(heading))
            << kai;
        QTest::mouseClick(control<QPushButton>(&d, "cmd_del"), Qt::LeftButton);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].detail,
                  QString::fromUtf8(named) + QStringLiteral(" toto5 と購入 1件（1口）を削除します。"))
            << kai;
        EXPECT_EQ(state.book().entry_count(), 1);
    }
}
