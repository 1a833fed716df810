// The window and its file on disk, changed by another program: reloaded, asked about,
// never overwritten unasked, written back when gone; and the lock other writers hold.
#include "book/book_lock.h"
#include "fault_env.h"
#include "main_window/notice_bar.h"
#include "main_window_fixture.h"

#include <QElapsedTimer>
#include <QLockFile>
#include <QProcess>
#include <QTest>
#include <QThread>

namespace {

class WindowFile : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        path = write_book(four_round_book(), QStringLiteral("book.yrm"));
        ASSERT_TRUE(window->load_book(path));
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // Another program's version of the book: a round more.
    TicketBook theirs() const
    {
        TicketBook book = four_round_book();
        EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto5, "99")).ok);
        return book;
    }
    void write_theirs() { put_bytes(path, serialize_book(theirs())); }

    // Lets the window's watcher see the change and gather it.
    void settle() { QTest::qWait(FormMain::kSettleMs + 400); }

    QString title() const { return window->windowTitle(); }

    QString path;
};

TEST_F(WindowFile, AnUnmodifiedBookIsReadAgainKeepingTheSelectedRow)
{
    window->select_row(1);
    write_theirs();
    settle();
    EXPECT_EQ(rows(), 5);
    EXPECT_EQ(window->selected_entry(), 1);
    EXPECT_EQ(window->notice()->text(),
              QStringLiteral("他のプログラムが「book.yrm」を更新したので読み込み直しました。"));
    EXPECT_FALSE(window->state().document.can_undo());
    EXPECT_EQ(title(), QStringLiteral("book.yrm － ｙｏｒｉｍｏ"));
    EXPECT_TRUE(ui.messages.empty());
    // The window's own save is not another program's change.
    window->notice()->hide();
    make_modified(window->state().document);
    action("menu_over")->trigger();
    settle();
    EXPECT_TRUE(window->notice()->text().isEmpty());
}

TEST_F(WindowFile, AModifiedBookAsksAndKeepsTheWindowsBookOnNo)
{
    ASSERT_TRUE(window->state().document.add_round(make_entry(LotteryKind::BIG, "7")).ok);
    ui.answers = {UiServices::Answer::no};
    write_theirs();
    settle();
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("「book.yrm」が他のプログラムによって変更されました。読み込み直しますか？"));
    EXPECT_EQ(ui.messages[0].detail, QStringLiteral("この画面での変更は失われます。"));
    EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::yes_no_default_no);
    EXPECT_EQ(rows(), 5);
    EXPECT_EQ(window->state().book().entries[4].kind, LotteryKind::BIG);
    // Undoing the window's change does not make it the file's book again.
    window->state().document.undo();
    EXPECT_TRUE(window->state().document.modified());
    EXPECT_EQ(title(), QStringLiteral("book.yrm * － ｙｏｒｉｍｏ"));
    settle();
    EXPECT_EQ(ui.messages.size(), 1U) << "asked once";

    // Saving over the changed file asks again, キャンセル by default; the file stays theirs.
    action("menu_over")->trigger();
    ASSERT_EQ(ui.messages.size(), 2U);
    EXPECT_EQ(ui.messages[1].text,
              QStringLiteral("「book.yrm」は読み込んだ後に他のプログラムによって変更されています。"));
    EXPECT_EQ(ui.messages[1].choices,
              (QStringList{QStringLiteral("上書き保存"), QStringLiteral("名前を付けて保存..."),
                           QStringLiteral("キャンセル")}));
    EXPECT_EQ(ui.messages[1].default_choice, 2);
    EXPECT_TRUE(file_bytes(path) == serialize_book(theirs()));
    // 上書き保存 replaces it, as the user said.
    ui.choices = {0};
    action("menu_over")->trigger();
    EXPECT_EQ(read_data(path).book.entry_count(), 4);
    EXPECT_FALSE(window->state().document.modified());
}

// Still unreadable when tried again a second later: the window keeps its book, says so once,
// and shows it as differing from the file.
TEST_F(WindowFile, AFileThatCannotBeReadLeavesTheWindowsBookMarked)
{
    put_bytes(path, "YRM broken");
    settle();
    QTest::qWait(1300);
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(
        window->notice()->text(),
        QStringLiteral("「book.yrm」を読み込み直せませんでした。この画面の内容はファイルと異なります。"));
    EXPECT_EQ(title(), QStringLiteral("book.yrm * － ｙｏｒｉｍｏ"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WindowFile, AGoneFileMakesTheBookModifiedAndSavingWritesItBack)
{
    ASSERT_TRUE(QFile::remove(path));
    settle();
    EXPECT_EQ(title(), QStringLiteral("book.yrm * － ｙｏｒｉｍｏ"));
    action("menu_over")->trigger();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(file_bytes(path) == serialize_book(four_round_book()));
    EXPECT_EQ(title(), QStringLiteral("book.yrm － ｙｏｒｉｍｏ"));
}

TEST_F(WindowFile, AHeldLockSaysBusyAndALostOneIsTakenOver)
{
    qputenv("YORIMO_LOCK_WAIT_MS", "200");
    make_modified(window->state().document);
    {
        QLockFile held(BookLock::lock_path(path));
        ASSERT_TRUE(held.tryLock());
        action("menu_over")->trigger();
        ASSERT_EQ(ui.messages.size(), 1U);
        EXPECT_EQ(ui.messages[0].text,
                  QStringLiteral(
                      "「book.yrm」は他のプログラムが使用中です。しばらくしてからもう一度お試しください。"));
        EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::warning);
        EXPECT_TRUE(window->state().document.modified());
    }
    // A writer killed while it held the lock: the window's save takes the lock over.
    QProcessEnvironment slow = QProcessEnvironment::systemEnvironment();
    slow.insert(QStringLiteral("YORIMO_FAULT_SLOW"), dir.path() + QStringLiteral("/:200000"));
    const QString lines = file(QStringLiteral("lines.txt"));
    put_bytes(lines, "1 1 1 1 1 1 1 1 1 1 1 1 1\n");
    QProcess killed;
    killed.setProcessEnvironment(slow);
    killed.start(QStringLiteral(YORIMO_CLI), {QStringLiteral("add"), path, QStringLiteral("1"), lines});
    QElapsedTimer clock;
    clock.start();
    while (QDir(dir.path())
               .entryList({QStringLiteral(".book.yrm.*.new")}, QDir::Files | QDir::Hidden)
               .isEmpty() &&
           clock.elapsed() < 20000)
        QThread::msleep(2);
    killed.kill();
    killed.waitForFinished();
    ASSERT_TRUE(QFile::exists(BookLock::lock_path(path)));
    ui.messages.clear();
    action("menu_over")->trigger();
    EXPECT_TRUE(ui.messages.empty()) << ui.messages[0].text.toStdString();
    EXPECT_FALSE(window->state().document.modified());
    qunsetenv("YORIMO_LOCK_WAIT_MS");
}

} // namespace
