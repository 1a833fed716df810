// The window's saves under a failing write: the reason is shown beneath the message, the
// book stays marked as changed, and the file is as it was.
#include "fault_env.h"
#include "main_window/form_stats.h"
#include "main_window_fixture.h"

#include <QPushButton>

namespace {

class WindowFault : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // Large enough that a save is written in several pieces.
        TicketBook book = four_round_book();
        for (int i = 0; i < 1000; ++i)
            ASSERT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2})).ok);
        path = write_book(book, QStringLiteral("book.yrm"));
        ASSERT_TRUE(window->load_book(path));
        before = file_bytes(path);
    }
    QString path;
    QByteArray before;
};

TEST_F(WindowFault, AFailedSaveSaysWhyAndKeepsTheChangesMarked)
{
    for (const FaultCase &fault : kWriteFaults) {
        SCOPED_TRACE(fault.fault);
        ui.messages.clear();
        make_modified(window->state().document);
        window->set_title();
        {
            const ScopedFault injected(QString::fromLatin1(fault.fault), dir.path(), true);
            action("menu_over")->trigger();
        }
        ASSERT_EQ(ui.messages.size(), 1U);
        EXPECT_EQ(ui.messages[0].text, QStringLiteral("ファイル作成に失敗しました。"));
        EXPECT_EQ(ui.messages[0].detail,
                  QString::fromUtf8(fault.reason) + QStringLiteral("元のファイルはそのままです。"));
        EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::critical);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("book.yrm * － ｙｏｒｉｍｏ"));
        EXPECT_TRUE(file_bytes(path) == before);
    }
}

TEST_F(WindowFault, TheChartPictureIsWrittenWholeOrNotAtAll)
{
    FormStats stats(window->state().book(), path, ui);
    const QString picture = file(QStringLiteral("chart.png"));
    put_bytes(picture, "old picture");
    ui.save_names = {picture};
    {
        const ScopedFault injected(QStringLiteral("sync:1:EIO"), dir.path());
        stats.cmd_save_Click();
    }
    ASSERT_EQ(ui.messages.size(), 2U); // replacing the old picture was asked first
    EXPECT_EQ(ui.messages[1].detail,
              QStringLiteral("ディスクの読み書きでエラーが起きました。元のファイルはそのままです。"));
    EXPECT_EQ(file_bytes(picture), QByteArray("old picture"));

    // Onto the book itself: refused, and the dialog asked again (then cancelled).
    ui.messages.clear();
    ui.save_names = {path};
    stats.cmd_save_Click();
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::critical);
    EXPECT_TRUE(file_bytes(path) == before);

    stats.cmd_save_Click();
    ui.save_names = {picture};
    stats.cmd_save_Click();
    EXPECT_TRUE(file_bytes(picture).startsWith("\x89PNG"));
}

} // namespace
