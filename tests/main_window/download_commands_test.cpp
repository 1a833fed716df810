// The download command end to end: its dialogs, offscreen, against the local test store
// over real HTTP.
#include "batch_store.h"
#include "download/form_downset.h"
#include "download/form_inet.h"
#include "download/page_readers.h"
#include "main_window/notice_bar.h"
#include "main_window_fixture.h"
#include "results/winning_check.h"
#include "store_pages.h"
#include "support/dialog_driver.h"
#include "support/document_helpers.h"
#include "test_store.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <map>

using namespace store_pages;

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const QDate kToday(2024, 1, 10);

// Answers each modal dialog as it comes up, by its name; a dialog without an answer, or
// one still open after its answer, is cancelled so that a failing test cannot hang.
class DialogScript {
public:
    using Step = std::function<void(QDialog *)>;

    explicit DialogScript(std::map<QString, Step> steps) : steps_(std::move(steps))
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    QStringList seen; // names of the dialogs in the order they came up

private:
    void poll()
    {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (busy_ || !dialog || dialog == last_)
            return;
        busy_ = true;
        last_ = dialog;
        seen << dialog->objectName();
        const auto step = steps_.find(dialog->objectName());
        if (step != steps_.end())
            step->second(dialog);
        if (last_ && last_->isVisible())
            last_->reject();
        busy_ = false;
    }

    std::map<QString, Step> steps_;
    QTimer timer_;
    QPointer<QDialog> last_;
    bool busy_ = false;
};

// Chooses the captions one after another in form_inet, waiting for each list: by Ｏ．Ｋ.,
// or by a double click on the line.
void walk(QDialog *inet, const QStringList &captions, bool double_click = false)
{
    auto *list = control<QListWidget>(inet, "list_inet");
    auto *ok = control<QPushButton>(inet, "cmd_ok");
    for (const QString &caption : captions) {
        int row = -1;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                for (int i = 0; ok->isEnabled() && i < list->count(); ++i)
                    if (list->item(i)->text() == caption || list->item(i)->text().startsWith(caption + u'('))
                        row = i;
                return row >= 0;
            },
            20000))
            << "no choice " << caption.toStdString();
        list->setCurrentRow(row);
        if (double_click)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                               list->visualItemRect(list->item(row)).center());
        else
            click(ok);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !inet->isVisible(); }, 20000));
}

class DownloadCommands : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->set_download_run(std::make_unique<DownloadRun>(
            DownloadAddresses{store.url(), TestStore::refused_url()}, std::make_unique<FixedClock>(kToday)));
        std::vector<ResultRow> rows;
        for (int i = 0; i < 13; ++i)
            rows.push_back({q("鹿島アントラーズ"), q("浦和レッズ"), q(i < 2 ? "中止" : "2")});
        store.set(path(result_index_url({}, false)), result_index(q("2024年"), {q("2023年")}, {q("1234")}));
        store.set(
            q("/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkHoldCntLotResultLsttoto.form?holdCntId=1234"),
            match_result_page(q("1234"), q("toto"), false, rows, {q("1,000円"), q("10円")}));
    }

    QString path(const QString &url) const
    {
        return url.startsWith(u"http") ? url.mid(store.url().size()) : url;
    }

    // A book with a toto round 1234 of its own names and one ticket on away wins.
    void open_book_with_round_1234()
    {
        TicketBook book;
        book.entries.push_back(make_entry(LotteryKind::BIG, "7"));
        book.entries.push_back(make_entry(LotteryKind::toto, "1234"));
        ASSERT_TRUE(add_single(book, 1, make_single(std::vector<int>(13, kAwayWin))).ok);
        ASSERT_TRUE(window->load_book(write_book(book, q("b.yrm"))));
        window->select_row(0);
    }

    const QStringList result_walk{q("くじ結果(toto)"), q("2024年"), q("第1234回(01/13)"), q("toto")};
    TestStore store;
};

void press(QDialog *dialog, const char *name)
{
    if (auto *button = control<QPushButton>(dialog, name))
        click(button);
}

TEST_F(DownloadCommands, ScheduleWalkAddsATotoRound)
{
    std::vector<Pair> matches;
    for (int i = 0; i < 13; ++i)
        matches.emplace_back(q("鹿島アントラーズ"), q("ジュビロ磐田"));
    store.set(path(schedule_script_url(store.url(), kToday, false)), schedule_script({q("0012")}));
    store.set(
        path(round_info_url(store.url(), q("0012"), false)),
        toto_info_page(q("0012"), q("2024年01月05日"), q("2024年01月13日"), {{q("toto"), matches, {}}}));
    ASSERT_TRUE(action("menu_down")->isEnabled());
    ASSERT_TRUE(action("tool_download")->isEnabled());
    QString home, result_shown;
    DialogScript script({{q("form_inet"),
                          [](QDialog *d) {
                              walk(d, {q("開催情報(toto)"), q("第0012回"), q("toto")});
                          }},
                         {q("form_inetchk"), [&](QDialog *d) {
                              home = control<QLabel>(d, "lbl_home_0")->text();
                              result_shown =
                                  control<QLabel>(d, "lbl_kekka1_0")->isVisibleTo(d) ? q("shown") : q("");
                              EXPECT_FALSE(control<QLabel>(d, "lbl_kin1_0")->isVisibleTo(d));
                              EXPECT_TRUE(control<QLabel>(d, "lbl_home_12")->isVisibleTo(d));
                              EXPECT_FALSE(control<QLabel>(d, "lbl_home_13")->isVisibleTo(d));
                              press(d, "cmd_ok");
                          }}});
    action("tool_download")->trigger();
    EXPECT_EQ(script.seen, (QStringList{q("form_inet"), q("form_inetchk")}));
    EXPECT_EQ(home, q("鹿島"));
    EXPECT_TRUE(result_shown.isEmpty());
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(row_texts(0).mid(0, 4), (QStringList{q("0012"), q("toto"), q("0"), q("0")}));
    EXPECT_EQ(window->state().book().entries[0].matches[12].away.text(),
              q("磐田")); // the list server is down: own short form
    EXPECT_TRUE(window->state().document.modified());
    EXPECT_EQ(window->state().current, 0);
    EXPECT_EQ(entry_commands(), q("11111111"));
    EXPECT_TRUE(window->windowTitle().contains(q(" * ")));
}

TEST_F(DownloadCommands, AScheduleOfARoundTheBookHoldsAsksFirst)
{
    std::vector<Pair> matches(13, {q("鹿島"), q("磐田")});
    store.set(path(schedule_script_url(store.url(), kToday, false)), schedule_script({q("0012")}));
    store.set(
        path(round_info_url(store.url(), q("0012"), false)),
        toto_info_page(q("0012"), q("2024年01月05日"), q("2024年01月13日"), {{q("toto"), matches, {}}}));
    ASSERT_TRUE(window->state().document.add_round(make_entry(LotteryKind::toto, "12")).ok);
    make_unmodified(window->state().document);
    ui.answers.push_back(UiServices::Answer::no);
    DialogScript script({{q("form_inet"), [](QDialog *d) {
                              walk(d, {q("開催情報(toto)"), q("第0012回"), q("toto")});
                          }}});
    action("menu_down")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, q("同じ開催回が既にあります。追加しますか？"));
    EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::yes_no_default_no); // Enter adds none
    EXPECT_EQ(script.seen, QStringList{q("form_inet")});
    EXPECT_EQ(rows(), 1);
    EXPECT_FALSE(window->state().document.modified());
}

TEST_F(DownloadCommands, ResultWalkCompletesAnExistingRound)
{
    open_book_with_round_1234();
    const RoundEntry before = window->state().book().entries[1];
    QStringList targets;
    QString received;
    int preselected = -1;
    QString own_name, old_result, new_result, old_prize, new_prize;
    DialogScript script({{q("form_inet"), [&](QDialog *d) { walk(d, result_walk); }},
                         {q("form_downset"),
                          [&](QDialog *d) {
                              received = control<QLabel>(d, "lbl_received")->text();
                              auto *combo = control<QComboBox>(d, "cmb_kai");
                              for (int i = 0; i < combo->count(); ++i)
                                  targets << combo->itemText(i);
                              preselected = combo->currentIndex();
                              press(d, "cmd_ok");
                          }},
                         {q("form_inetchk"), [&](QDialog *d) {
                              own_name = control<QLabel>(d, "lbl_home_0")->text();
                              old_result = control<QLabel>(d, "lbl_kekka1_0")->text();
                              new_result = control<QLabel>(d, "lbl_kekka2_0")->text();
                              old_prize = control<QLabel>(d, "lbl_kin1_0")->text();
                              new_prize = control<QLabel>(d, "lbl_kin2_0")->text();
                              EXPECT_FALSE(control<QLabel>(d, "lbl_grade_2")->isVisibleTo(d));
                              press(d, "cmd_ok");
                          }}});
    action("menu_down")->trigger();
    EXPECT_EQ(received, q("第1234回 toto"));
    EXPECT_EQ(targets, (QStringList{q("新規追加"), q("1234  toto  H0 - A0  購入 1口")}));
    EXPECT_EQ(preselected, 1);
    EXPECT_EQ(own_name, before.matches[0].home.text());
    EXPECT_EQ(old_result, q("未開催"));
    EXPECT_EQ(new_result, q("中止"));
    EXPECT_EQ(old_prize, q("未定"));
    EXPECT_EQ(new_prize, q("1,000円"));

    const RoundEntry &after = window->state().book().entries[1];
    EXPECT_EQ(rows(), 2);
    EXPECT_EQ(after.matches, [&] {
        auto m = before.matches;
        for (int i = 0; i < 13; ++i)
            m[static_cast<size_t>(i)].result = i < 2 ? kCancelled : kAwayWin;
        return m;
    }());
    EXPECT_EQ(after.hits[0], 1); // graded at once: the ticket wins 1等
    EXPECT_TRUE(after.won == 1000);
    EXPECT_EQ(row_texts(1)[11], q("1,000"));
    EXPECT_EQ(window->state().current, 1);
    EXPECT_TRUE(window->state().document.modified());
}

TEST_F(DownloadCommands, CancellingAnyDialogChangesNothing)
{
    open_book_with_round_1234();
    const TicketBook before = window->state().book();
    const QString title = window->windowTitle();
    const auto cancel = [](QDialog *d) { press(d, "cmd_cancel"); };
    const std::vector<std::map<QString, DialogScript::Step>> runs = {
        {{q("form_inet"), cancel}},
        {{q("form_inet"), [&](QDialog *d) { walk(d, result_walk); }}, {q("form_downset"), cancel}},
        {{q("form_inet"), [&](QDialog *d) { walk(d, result_walk); }},
         {q("form_downset"), [](QDialog *d) { press(d, "cmd_ok"); }},
         {q("form_inetchk"), cancel}},
    };
    for (const auto &steps : runs) {
        DialogScript script(steps);
        action("menu_down")->trigger();
        EXPECT_EQ(script.seen.size(), static_cast<qsizetype>(steps.size()));
        EXPECT_TRUE(window->state().book().entries == before.entries);
        EXPECT_FALSE(window->state().document.modified());
        EXPECT_EQ(window->windowTitle(), title);
        EXPECT_EQ(rows(), 2);
    }
}

TEST_F(DownloadCommands, BigScheduleLeavesTheMultiCommandOff)
{
    store.set(path(schedule_script_url(store.url(), kToday, true)), schedule_script({q("1500")}));
    store.set(path(round_info_url(store.url(), q("1500"), true)),
              big_info_page(q("1500"), q("2024年01月05日"), q("2024年01月13日"), {q("BIG")}));
    std::vector<Pair> matches;
    for (int i = 0; i < 14; ++i)
        matches.emplace_back(q("柏"), q("湘南"));
    store.set(path(big_match_page_url(store.url(), q("1500"), q("&commodityId=09"))),
              big_match_page(q("1500"), q("BIG"), matches));
    DialogScript script({{q("form_inet"),
                          [](QDialog *d) {
                              walk(d, {q("開催情報(BIG)"), q("第1500回"), q("BIG")});
                          }},
                         {q("form_inetchk"), [](QDialog *d) { press(d, "cmd_ok"); }}});
    action("menu_down")->trigger();
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(window->state().book().entries[0].kind, LotteryKind::BIG);
    EXPECT_EQ(entry_commands(), q("10111011"));
}

TEST_F(DownloadCommands, GoalResultAsNewEntry)
{
    store.set(path(result_index_url({}, false)), result_index(q("2024年"), {}, {q("1235")}));
    store.set(q("/dcs/subos/screen/pi04/spin011/PGSPIN01101LnkHoldCntLotResultLsttoto.form?holdCntId=1235"),
              goal_result_page(q("1235"), q("totoGOAL3"),
                               {{q("北海道コンサドーレ札幌"), q("2")},
                                {q("柏"), q("中止")},
                                {q("湘南"), q("0")},
                                {q("鳥栖"), q("1")},
                                {q("神戸"), q("3")},
                                {q("広島"), q("0")}},
                               {q("5,000円"), q("100円")}));
    open_book_with_round_1234();
    QStringList targets;
    QStringList shown;
    DialogScript script(
        {{q("form_inet"),
          [&](QDialog *d) {
              walk(d, {q("くじ結果(toto)"), q("2024年"), q("第1235回(01/13)"), q("totoGOAL3")});
          }},
         {q("form_downset"),
          [&](QDialog *d) {
              auto *combo = control<QComboBox>(d, "cmb_kai");
              for (int i = 0; i < combo->count(); ++i)
                  targets << combo->itemText(i);
              press(d, "cmd_ok");
          }},
         {q("form_goal_inetchk"), [&](QDialog *d) {
              for (const char *name :
                   {"lbl_name_0", "lbl_kekka1_0", "lbl_kekka1_1", "lbl_kin1_0", "lbl_kin1_1"})
                  shown << control<QLabel>(d, name)->text();
              EXPECT_FALSE(control<QLabel>(d, "lbl_kekka2_0")->isVisibleTo(d));
              EXPECT_TRUE(control<QLabel>(d, "lbl_name_5")->isVisibleTo(d));
              EXPECT_FALSE(control<QLabel>(d, "lbl_name_6")->isVisibleTo(d));
              press(d, "cmd_ok");
          }}});
    action("menu_down")->trigger();
    EXPECT_EQ(targets, QStringList{q("新規追加")}); // no round of the kind in the book
    EXPECT_EQ(shown, (QStringList{q("北海道コン"), q("2"), q("中止"), q("5,000円"), q("100円")}));
    ASSERT_EQ(rows(), 3);
    const RoundEntry &added = window->state().book().entries[2];
    EXPECT_EQ(added.kind, LotteryKind::totoGOAL3);
    EXPECT_EQ(added.teams[0].team.text(), q("北海道コン")); // cut within 10 bytes
    EXPECT_EQ(added.teams[0].score, 3);
    EXPECT_EQ(added.teams[1].score, kScoreCancelled);
    EXPECT_EQ(window->state().current, 2);
    EXPECT_EQ(entry_commands(), q("11111111"));
}

TEST_F(DownloadCommands, UnreachableStoreShowsWhyAndChangesNothing)
{
    window->set_download_run(
        std::make_unique<DownloadRun>(DownloadAddresses{TestStore::refused_url(), TestStore::refused_url()},
                                      std::make_unique<FixedClock>(kToday)));
    DialogScript script({{q("form_inet"), [](QDialog *d) {
                              control<QListWidget>(d, "list_inet")->setCurrentRow(2);
                              press(d, "cmd_ok");
                              EXPECT_TRUE(QTest::qWaitFor([&] { return !d->isVisible(); }, 20000));
                          }}});
    action("menu_down")->trigger();
    EXPECT_EQ(script.seen, QStringList{q("form_inet")});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, q("ｔｏｔｏオフィシャルサイトに接続できません。"));
    EXPECT_EQ(ui.messages[0].title, q("ｙｏｒｉｍｏ"));
    EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::critical);
    EXPECT_EQ(rows(), 0);
    EXPECT_FALSE(window->state().document.modified());
}

// After a click on Ｏ．Ｋ． or 戻る the focus waits in the list, so that Enter goes on
// choosing: on the first line of a new list, or, back, on the line chosen from it.
TEST_F(DownloadCommands, TheFocusStaysInTheListAfterAClick)
{
    DialogScript script({{q("form_inet"), [](QDialog *d) {
                              auto *list = control<QListWidget>(d, "list_inet");
                              auto *ok = control<QPushButton>(d, "cmd_ok");
                              list->setCurrentRow(2);
                              click(ok);
                              ASSERT_TRUE(QTest::qWaitFor([&] { return ok->isEnabled(); }, 20000));
                              EXPECT_EQ(list->item(0)->text(), q("2024年"));
                              EXPECT_EQ(list->currentRow(), 0);
                              EXPECT_TRUE(list->hasFocus());
                              click(control<QPushButton>(d, "cmd_back"));
                              ASSERT_TRUE(QTest::qWaitFor([&] { return ok->isEnabled(); }, 20000));
                              EXPECT_EQ(list->item(2)->text(), q("くじ結果(toto)"));
                              EXPECT_EQ(list->currentRow(), 2);
                              EXPECT_TRUE(list->hasFocus());
                              press(d, "cmd_cancel");
                          }}});
    action("menu_down")->trigger();
    EXPECT_EQ(script.seen, QStringList{q("form_inet")});
}

TEST(FormDownset, NumericLabelsMatchTheRound)
{
    SharedState state{BookDocument::no_grading()};
    setup_book(state.document).entries.push_back(make_entry(LotteryKind::toto, "0123"));
    setup_book(state.document).entries.push_back(make_entry(LotteryKind::minitotoA, "123"));
    setup_book(state.document).entries.push_back(make_entry(LotteryKind::toto, "123"));
    const RoundEntry round = make_entry(LotteryKind::toto, "123");
    FormDownset dialog(round, state);
    dialog.load();
    auto *combo = control<QComboBox>(&dialog, "cmb_kai");
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(1), q("0123  toto  H0 - A0  購入 0口"));
    EXPECT_EQ(combo->itemText(2), q("123  toto  H0 - A0  購入 0口"));
    EXPECT_EQ(combo->currentIndex(), 1);
    combo->setCurrentIndex(2);
    dialog.cmd_ok_Click();
    EXPECT_EQ(dialog.outcome(), DownloadOutcome::result_into_entry);
    EXPECT_EQ(dialog.target(), 2);
}

// A transfer that never ends: cancelling, or closing the window, ends the dialog at once and
// nothing of the session reaches the closed dialog afterwards.
TEST_F(DownloadCommands, CancelAndCloseDuringASlowTransfer)
{
    store.set(path(result_index_url({}, false)), {QByteArray("x"), 0, TestStore::Mode::trickle});
    for (const bool close_window : {false, true}) {
        QPointer<QDialog> inet;
        DialogScript script({{q("form_inet"), [&](QDialog *d) {
                                  inet = d;
                                  auto *list = control<QListWidget>(d, "list_inet");
                                  list->setCurrentRow(2);
                                  click(control<QPushButton>(d, "cmd_ok"));
                                  auto *bar = control<QProgressBar>(d, "pbar_down");
                                  ASSERT_TRUE(QTest::qWaitFor([&] { return bar->isVisible(); }, 5000));
                                  QTest::qWait(200); // bytes are arriving
                                  // The list being left takes no clicks meanwhile.
                                  const QPoint first = list->visualItemRect(list->item(0)).center();
                                  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
                                  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
                                  EXPECT_EQ(list->currentRow(), 2);
                                  if (close_window)
                                      d->close();
                                  else
                                      press(d, "cmd_cancel");
                                  EXPECT_TRUE(QTest::qWaitFor([&] { return !d->isVisible(); }, 5000));
                              }}});
        action("menu_down")->trigger();
        EXPECT_EQ(script.seen, QStringList{q("form_inet")});
        EXPECT_TRUE(inet.isNull()); // the dialog is gone
        EXPECT_FALSE(window->download_run().session.running());
        QTest::qWait(300); // a late notification would reach the dead dialog here
        EXPECT_EQ(rows(), 0);
        EXPECT_FALSE(window->state().document.modified());
        EXPECT_EQ(window->download_run().session.outcome(), DownloadOutcome::cancelled);
        EXPECT_TRUE(ui.messages.empty());
    }
}

bool same_book(const TicketBook &a, const TicketBook &b)
{
    return a.entries == b.entries && a.singles == b.singles && a.multis == b.multis &&
           a.goal_singles == b.goal_singles && a.goal_multis == b.goal_multis;
}

TEST_F(DownloadCommands, BatchUpdateShowsProgressConfirmsAndTakesOneUndoStep)
{
    // The script looks for dialogs every 10 ms: a slow index keeps the progress up for it.
    batch_store::serve(store, TestStore::Mode::slow_chunks);
    ASSERT_TRUE(window->load_book(write_book(batch_store::book(), q("batch.yrm"))));
    const TicketBook before = window->state().book();
    ASSERT_TRUE(action("menu_batch")->isEnabled());
    EXPECT_EQ(action("menu_batch")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_U));
    // Offered from the ダウンロード button's drop-down too, as the same command.
    auto *drop_down = window->findChild<QMenu *>(QStringLiteral("tool_download_menu"));
    ASSERT_NE(drop_down, nullptr);
    EXPECT_TRUE(drop_down->actions().contains(action("menu_batch")));
    const auto untouched = [&] {
        EXPECT_TRUE(same_book(window->state().book(), before));
        EXPECT_FALSE(window->state().document.modified());
        EXPECT_FALSE(window->windowTitle().contains(q(" * ")));
    };
    // The progress waits for the batch to end, noting what it showed.
    QStringList shown;
    const auto wait_for_batch = [&](QDialog *d) {
        auto *label = control<QLabel>(d, "lbl_progress");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                if (d->isVisible() && !label->text().isEmpty() && !shown.contains(label->text()))
                    shown << label->text();
                return !d->isVisible();
            },
            20000));
    };

    // キャンセル at the progress, and at the confirmation: nothing changes.
    {
        DialogScript script({{q("form_batch_progress"), [](QDialog *d) { press(d, "cmd_cancel"); }}});
        action("menu_batch")->trigger();
        EXPECT_EQ(script.seen, QStringList{q("form_batch_progress")});
        untouched();
    }
    int listed = 0;
    {
        DialogScript script({{q("form_batch_progress"), wait_for_batch},
                             {q("form_batch_check"), [&](QDialog *d) {
                                  listed = control<QTreeWidget>(d, "lvw_batch")->topLevelItemCount();
                                  press(d, "cmd_cancel");
                              }}});
        action("menu_batch")->trigger();
        EXPECT_EQ(script.seen, (QStringList{q("form_batch_progress"), q("form_batch_check")}));
    }
    EXPECT_EQ(listed, 10);
    // Whenever looked at, the progress names the round being read and where the batch is.
    EXPECT_FALSE(shown.isEmpty());
    for (const QString &text : shown)
        EXPECT_TRUE(
            QRegularExpression(q("^第\\d+回 \\S.* を取得中 ([1-9]|10)/10(（再試行 ([1-9]|1[01])/11）)?$"))
                .match(text)
                .hasMatch())
            << text.toStdString();
    untouched();

    // Unticking the refund keeps it; Enter on a row shows it in ダウンロード確認 without Ｏ．Ｋ．.
    QStringList found, boxes, summaries;
    bool view_ok_hidden = false, ok_off_unticked = false;
    QString view_name, view_close;
    {
        DialogScript script({{q("form_batch_progress"), wait_for_batch},
                             {q("form_batch_check"), [&](QDialog *d) {
                                  auto *list = control<QTreeWidget>(d, "lvw_batch");
                                  for (int i = 0; i < list->topLevelItemCount(); ++i) {
                                      QTreeWidgetItem *item = list->topLevelItem(i);
                                      found << item->text(3);
                                      boxes << (item->data(0, Qt::CheckStateRole).isValid()
                                                    ? q(item->checkState(0) == Qt::Checked ? "x" : "o")
                                                    : q("-"));
                                  }
                                  auto *summary = control<QLabel>(d, "lbl_summary");
                                  summaries << summary->text();
                                  // Ｏ．Ｋ． is off while nothing is ticked.
                                  std::vector<Qt::CheckState> kept;
                                  for (int i = 0; i < list->topLevelItemCount(); ++i) {
                                      kept.push_back(list->topLevelItem(i)->checkState(0));
                                      if (kept.back() == Qt::Checked)
                                          list->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
                                  }
                                  ok_off_unticked = !control<QPushButton>(d, "cmd_ok")->isEnabled();
                                  summaries << summary->text();
                                  for (int i = 0; i < list->topLevelItemCount(); ++i)
                                      if (kept[static_cast<size_t>(i)] == Qt::Checked)
                                          list->topLevelItem(i)->setCheckState(0, Qt::Checked);
                                  list->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
                                  summaries << summary->text();
                                  // Enter on a round not published or failed says why.
                                  for (const int row : {6, 5}) {
                                      list->setCurrentItem(list->topLevelItem(row));
                                      QTest::keyClick(list, Qt::Key_Return);
                                  }
                                  list->setCurrentItem(list->topLevelItem(0));
                                  QTimer::singleShot(100, [&] {
                                      if (auto *view =
                                              qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                                          view_name = view->objectName();
                                          view_ok_hidden = !control<QPushButton>(view, "cmd_ok")->isVisible();
                                          view_close = control<QPushButton>(view, "cmd_cancel")->text();
                                          view->reject();
                                      }
                                  });
                                  QTest::keyClick(list, Qt::Key_Return);
                                  press(d, "cmd_ok");
                              }}});
        action("menu_batch")->trigger();
    }
    EXPECT_EQ(view_name, q("form_inetchk"));
    EXPECT_TRUE(view_ok_hidden);
    EXPECT_EQ(view_close, q("閉じる"));
    EXPECT_TRUE(ok_off_unticked);
    EXPECT_EQ(summaries,
              (QStringList{q("更新 7回・未発表 2回・失敗 1回"), q("更新 0回・未発表 2回・失敗 1回"),
                           q("更新 6回・未発表 2回・失敗 1回")}));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.messages[0].text.endsWith(q(" の結果はまだ発表されていません。")))
        << ui.messages[0].text.toStdString();
    EXPECT_TRUE(ui.messages[1].text.endsWith(q(" の結果を取得できませんでした。")));
    EXPECT_EQ(ui.messages[1].detail, q("ダウンロードに失敗しました。"));
    // After Ｏ．Ｋ．, the line above the list says what changed.
    auto *notice = window->findChild<NoticeBar *>();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(
        QRegularExpression(q("^6回を更新しました。当選金額 \\+[0-9,]+円$")).match(notice->text()).hasMatch())
        << notice->text().toStdString();
    EXPECT_EQ(boxes.join(QString()), q("xxxxx---xx")); // a box for each round found
    EXPECT_EQ(found[2], q("払戻"));
    EXPECT_EQ(found[5], q("ダウンロードに失敗しました。"));
    EXPECT_EQ(found[6], q("未発表"));
    EXPECT_TRUE(found[0].startsWith(q("1 0 2 1 0 2"))) << found[0].toStdString();
    EXPECT_TRUE(found[0].endsWith(q("1等 1,000,000円"))) << found[0].toStdString();
    const TicketBook &after = window->state().book();
    EXPECT_EQ(after.entries[1].matches[12].result, kHomeWin);
    EXPECT_EQ(after.entries[3], before.entries[3]); // unticked
    EXPECT_EQ(after.entries[9].prizes[0], 600000000);
    EXPECT_TRUE(window->windowTitle().contains(q(" * ")));
    EXPECT_EQ(action("menu_undo")->text(), q("元に戻す(&U) 結果を一括更新"));
    action("menu_undo")->trigger();
    untouched();
}

TEST_F(DownloadCommands, BatchUpdateWithTheStoreUnreachableSaysSoAndNothingElse)
{
    window->set_download_run(
        std::make_unique<DownloadRun>(DownloadAddresses{TestStore::refused_url(), TestStore::refused_url()},
                                      std::make_unique<FixedClock>(kToday)));
    ASSERT_TRUE(window->load_book(write_book(batch_store::book(), q("batch.yrm"))));
    DialogScript script({{q("form_batch_progress"), [](QDialog *d) {
                              EXPECT_TRUE(QTest::qWaitFor([&] { return !d->isVisible(); }, 20000));
                          }}});
    action("menu_batch")->trigger();
    EXPECT_FALSE(script.seen.contains(q("form_batch_check")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, q("ｔｏｔｏオフィシャルサイトに接続できません。"));
    EXPECT_EQ(ui.messages[0].title, q("ｙｏｒｉｍｏ"));
    EXPECT_FALSE(window->state().document.modified());
}

} // namespace
