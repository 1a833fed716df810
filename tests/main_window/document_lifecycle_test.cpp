// New, open, save, save as, exit: the unsaved-changes prompt, the titles and the file dialogs.
#include "book/book_recovery.h"
#include "main_window_fixture.h"

#include <QFileInfo>

namespace {

const QString kPrompt = QStringLiteral("更新されています。保存しますか？");
const QString kAppTitle = QStringLiteral("ｙｏｒｉｍｏ");

} // namespace

using Answer = UiServices::Answer;
using Icon = UiServices::Icon;

TEST_F(MainWindowTest, ANewWindowIsEmptyAndUntitled)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("無題 － ｙｏｒｉｍｏ"));
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(entry_commands(), QStringLiteral("00000000"));
    EXPECT_EQ(move_commands(), QStringLiteral("00"));
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("0"));
    EXPECT_EQ(label("lbl_get"), QStringLiteral("0"));
    EXPECT_EQ(label("lbl_kin"), QStringLiteral("0"));
    EXPECT_EQ(window->state().document.path(), QString());
}

TEST_F(MainWindowTest, TitlesFollowLoadChangeAndSave)
{
    const QString path = write_book(four_round_book(), QStringLiteral("book.yrm"));
    ASSERT_TRUE(window->load_book(path));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("book.yrm － ｙｏｒｉｍｏ"));
    EXPECT_EQ(window->state().document.path(), path);
    EXPECT_FALSE(window->state().document.modified());

    make_modified(window->state().document);
    window->set_title();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("book.yrm * － ｙｏｒｉｍｏ"));

    // A named book is saved without a dialog.
    action("menu_over")->trigger();
    EXPECT_EQ(ui.file_dialogs, 0);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(window->state().document.modified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("book.yrm － ｙｏｒｉｍｏ"));

    window->toto_clear();
    make_modified(window->state().document);
    window->set_title();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("無題 * － ｙｏｒｉｍｏ"));
}

TEST_F(MainWindowTest, SavingAnUntitledBookAsksForAName)
{
    ASSERT_TRUE(window->state().document.add_round(make_entry(LotteryKind::toto5, "7")).ok);
    make_modified(window->state().document);

    action("menu_over")->trigger(); // cancelled
    EXPECT_EQ(ui.file_dialogs, 1);
    EXPECT_EQ(window->state().document.path(), QString());
    EXPECT_TRUE(window->state().document.modified());

    const QString path = file(QStringLiteral("new book.yrm"));
    ui.save_names.push_back(path);
    window->tool_action(QStringLiteral("write"))->trigger();
    EXPECT_EQ(ui.proposed_names, QStringList({QString(), QString()}));
    EXPECT_EQ(window->state().document.path(), path);
    EXPECT_FALSE(window->state().document.modified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("new book.yrm － ｙｏｒｉｍｏ"));
    const BookReadResult back = read_data(path);
    ASSERT_TRUE(back.outcome.ok);
    EXPECT_EQ(back.book.entries[0].kai.bytes(), QByteArray("7"));
}

TEST_F(MainWindowTest, SaveAsProposesThePathAndTakesTheNewNameOnlyOnceSaved)
{
    const QString path = write_book(four_round_book(), QStringLiteral("book.yrm"));
    ASSERT_TRUE(window->load_book(path));
    make_modified(window->state().document);
    window->set_title();

    action("menu_save")->trigger(); // cancelled: nothing happens
    EXPECT_EQ(ui.proposed_names, QStringList({path}));
    EXPECT_EQ(window->state().document.path(), path);

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.yrm"))); // a folder: no file there
    ui.save_names.push_back(file(QStringLiteral("taken.yrm")));
    action("menu_save")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("ファイル作成に失敗しました。"));
    EXPECT_EQ(ui.messages[0].title, kAppTitle);
    EXPECT_EQ(ui.messages[0].icon, Icon::critical);
    EXPECT_EQ(window->state().document.path(), path);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("book.yrm * － ｙｏｒｉｍｏ"));

    const QString copy = file(QStringLiteral("copy.yrm"));
    ui.save_names.push_back(copy);
    action("menu_save")->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("copy.yrm － ｙｏｒｉｍｏ"));
    EXPECT_EQ(read_data(copy).book.entry_count(), 4);
}

TEST_F(MainWindowTest, TheSaveDialogAsksAgainForANameInAMissingFolder)
{
    ASSERT_TRUE(window->state().document.add_round(make_entry(LotteryKind::toto5, "7")).ok);
    make_modified(window->state().document);
    const QString missing = file(QStringLiteral("no such folder/x.yrm"));
    ui.save_names.push_back(missing); // then cancelled

    action("menu_over")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              file(QStringLiteral("no such folder")) + QStringLiteral("\nフォルダーが見つかりません。"));
    EXPECT_EQ(ui.proposed_names, QStringList({QString(), missing}));
    EXPECT_EQ(window->state().document.path(), QString());
    // Save still asks for a name rather than retrying the refused one.
    action("menu_over")->trigger();
    EXPECT_EQ(ui.file_dialogs, 3);
}

TEST_F(MainWindowTest, TheBookFilterAddsTheExtensionToANameTypedWithoutOne)
{
    make_modified(window->state().document);
    write_book(TicketBook(), QStringLiteral("taken.yrm"));
    struct Case {
        const char *typed;
        int filter;
        const char *saved;
    };
    for (const Case c :
         {Case{"plain", 0, "plain.yrm"}, Case{"raw", 1, "raw"}, Case{"notes.txt", 0, "notes.txt"}}) {
        ui.save_names.push_back(file(QString::fromUtf8(c.typed)));
        ui.save_filters.push_back(c.filter);
        action("menu_save")->trigger();
        EXPECT_EQ(window->state().document.path(), file(QString::fromUtf8(c.saved))) << c.typed;
        EXPECT_TRUE(read_data(file(QString::fromUtf8(c.saved))).outcome.ok) << c.typed;
    }
    // "taken" names an existing book once ".yrm" is added: overwriting is asked first, and No
    // asks for a name again.
    ui.save_names.push_back(file(QStringLiteral("taken")));
    ui.answers.push_back(Answer::no);
    action("menu_save")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("taken.yrm は既に存在します。\n上書きしますか？"));
    EXPECT_EQ(ui.file_dialogs, 5);
    EXPECT_EQ(window->state().document.path(), file(QStringLiteral("notes.txt")));
}

TEST_F(MainWindowTest, OpeningAMissingFileLeavesAnEmptyUntitledBook)
{
    ASSERT_TRUE(window->load_book(write_book(four_round_book(), QStringLiteral("book.yrm"))));
    const QString missing = file(QStringLiteral("missing.yrm"));
    ui.open_names.push_back(missing);
    action("menu_open")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, missing + QStringLiteral("が読めません。"));
    EXPECT_EQ(ui.messages[0].title, kAppTitle);
    EXPECT_EQ(ui.messages[0].icon, Icon::critical);
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(window->state().book().entry_count(), 0);
    EXPECT_EQ(window->state().document.path(), QString());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("無題 － ｙｏｒｉｍｏ"));
    EXPECT_EQ(label("lbl_kin"), QStringLiteral("0"));
    EXPECT_EQ(entry_commands(), QStringLiteral("00000000"));
}

TEST_F(MainWindowTest, OpeningANonBookShowsTheReadersMessage)
{
    QFile junk(file(QStringLiteral("junk.yrm")));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a book at all");
    junk.close();
    window->start({junk.fileName()});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text,
              junk.fileName() + QStringLiteral("はｙｏｒｉｍｏのデータではありません！"));
    EXPECT_EQ(window->state().document.path(), QString());
}

TEST_F(MainWindowTest, TheCommandLinePathMayBeQuotedOrSplitAtSpaces)
{
    const QString path = write_book(four_round_book(), QStringLiteral("my toto book.yrm"));
    window->start({QLatin1Char('"') + path + QLatin1Char('"')});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(window->state().document.path(), path);
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("my toto book.yrm － ｙｏｒｉｍｏ"));

    FormMain second(ui);
    second.start(path.split(QLatin1Char(' ')));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(second.state().document.path(), path);

    FormMain none(ui);
    none.start({});
    EXPECT_EQ(none.windowTitle(), QStringLiteral("無題 － ｙｏｒｉｍｏ"));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MainWindowTest, LoadingSelectsTheLastRowAndEnablesTheCommands)
{
    ASSERT_TRUE(window->load_book(write_book(four_round_book(), QStringLiteral("book.yrm"))));
    EXPECT_EQ(rows(), 4);
    EXPECT_EQ(window->selected_entry(), 3);
    EXPECT_EQ(window->state().current, 3);
    EXPECT_EQ(entry_commands(), QStringLiteral("11111111"));
    EXPECT_EQ(move_commands(), QStringLiteral("10"));
    EXPECT_EQ(label("lbl_buy"), QStringLiteral("1,100"));
    EXPECT_EQ(label("lbl_get"), QStringLiteral("106,300"));
    EXPECT_EQ(label("lbl_kin"), QStringLiteral("105,200"));

    // An empty book file loads with nothing selected.
    ASSERT_TRUE(window->load_book(write_book(TicketBook(), QStringLiteral("empty.yrm"))));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("empty.yrm － ｙｏｒｉｍｏ"));
    EXPECT_EQ(entry_commands(), QStringLiteral("00000000"));
    EXPECT_EQ(move_commands(), QStringLiteral("00"));
}

TEST_F(MainWindowTest, NewClearsAnUnchangedBookWithoutAsking)
{
    ASSERT_TRUE(window->load_book(write_book(four_round_book(), QStringLiteral("book.yrm"))));
    action("menu_new")->trigger();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("無題 － ｙｏｒｉｍｏ"));
}

TEST_F(MainWindowTest, PromptCancelKeepsEverything)
{
    const QString path = write_book(four_round_book(), QStringLiteral("book.yrm"));
    ASSERT_TRUE(window->load_book(path));
    make_modified(window->state().document);
    ui.answers.push_back(Answer::cancel);
    window->tool_action(QStringLiteral("new"))->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, kPrompt);
    EXPECT_EQ(ui.messages[0].title, kAppTitle);
    EXPECT_EQ(ui.messages[0].icon, Icon::warning);
    EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::yes_no_cancel);
    EXPECT_EQ(rows(), 4);
    EXPECT_TRUE(window->state().document.modified());
    EXPECT_EQ(window->state().document.path(), path);

    // Open and exit ask the same way; Cancel stops both.
    ui.answers.push_back(Answer::cancel);
    action("menu_open")->trigger();
    EXPECT_EQ(ui.file_dialogs, 0);
    ui.answers.push_back(Answer::cancel);
    action("menu_end")->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ui.messages.size(), 3u);
}

TEST_F(MainWindowTest, PromptNoGoesOnWithoutSaving)
{
    const QString path = write_book(four_round_book(), QStringLiteral("book.yrm"));
    ASSERT_TRUE(window->load_book(path));
    window->select_row(1);
    button("cmd_up")->click();
    ASSERT_TRUE(window->state().document.modified());
    ui.answers.push_back(Answer::no);
    action("menu_new")->trigger();
    EXPECT_EQ(rows(), 0);
    // The file still has the old order.
    EXPECT_EQ(read_data(path).book.entries[0].kai.bytes(), QByteArray("10"));
}

TEST_F(MainWindowTest, PromptYesSavesANamedBookFirst)
{
    const QString path = write_book(four_round_book(), QStringLiteral("book.yrm"));
    ASSERT_TRUE(window->load_book(path));
    window->select_row(1);
    button("cmd_up")->click();
    ui.answers.push_back(Answer::yes);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(ui.file_dialogs, 0);
    EXPECT_EQ(read_data(path).book.entries[0].kai.bytes(), QByteArray("20"));
}

TEST_F(MainWindowTest, PromptYesOnAnUntitledBookWithTheSaveDialogCancelledKeepsTheWindow)
{
    ASSERT_TRUE(window->state().document.add_round(make_entry(LotteryKind::BIG, "5")).ok);
    make_modified(window->state().document);
    ui.answers.push_back(Answer::yes); // and the save dialog is cancelled
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(ui.file_dialogs, 1);
    EXPECT_EQ(window->state().book().entry_count(), 1);
    EXPECT_EQ(rows(), 1);
    EXPECT_TRUE(window->state().document.modified());
    EXPECT_EQ(window->state().document.path(), QString());

    // Yes with a name saves there and lets the window close.
    const QString path = file(QStringLiteral("saved.yrm"));
    ui.answers.push_back(Answer::yes);
    ui.save_names.push_back(path);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(read_data(path).book.entry_count(), 1);
}

TEST_F(MainWindowTest, ASaveFailureInThePromptKeepsTheBookAndTheWindow)
{
    ASSERT_TRUE(window->state().document.add_round(make_entry(LotteryKind::toto5, "8")).ok);
    make_modified(window->state().document);
    window->set_title();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.yrm"))); // a folder: no file there
    const QString unwritable = file(QStringLiteral("taken.yrm"));

    // Exit: the failure is shown and the window stays open with the unsaved book.
    ui.answers.push_back(Answer::yes);
    ui.save_names.push_back(unwritable);
    EXPECT_FALSE(window->close());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[1].text, QStringLiteral("ファイル作成に失敗しました。"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->state().document.modified());
    EXPECT_EQ(rows(), 1);

    // New: the failed name was not kept, so a name is asked again; cancelled, nothing is cleared.
    ui.answers.push_back(Answer::yes);
    action("menu_new")->trigger();
    EXPECT_EQ(ui.file_dialogs, 2);
    EXPECT_EQ(window->state().book().entry_count(), 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("無題 * － ｙｏｒｉｍｏ"));
}

TEST_F(MainWindowTest, AnUnchangedWindowClosesWithoutAsking)
{
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(ui.messages.empty());
}

// A save in place cut off by a crash: opening the book offers to put the old bytes back.
TEST_F(MainWindowTest, ATornBookIsOfferedBackFromItsRecoveryCopy)
{
    const TicketBook old = four_round_book();
    const QString path = write_book(old, QStringLiteral("torn.yrm"));
    QFile book(path);
    ASSERT_TRUE(book.open(QIODevice::ReadWrite));
    const QByteArray old_bytes = book.readAll();
    ASSERT_TRUE(keep_recovery(path, old_bytes, QByteArray(old_bytes.size(), 'n')).ok);
    book.seek(9); // the header whole, the first round half new
    book.write("nnnn");
    book.close();

    for (const Answer answer : {Answer::no, Answer::yes}) {
        ui.messages.clear();
        ui.answers = {answer};
        EXPECT_EQ(window->load_book(path), answer == Answer::yes);
        ASSERT_GE(ui.messages.size(), 1U);
        EXPECT_EQ(ui.messages[0].text,
                  QStringLiteral(
                      "「torn.yrm」は保存の途中で中断されたため壊れています。保存前の内容に戻しますか？"));
        EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::yes_no) << "はい is the default";
        EXPECT_EQ(ui.messages[0].detail, QStringLiteral("保存前の内容の控え: ") + recovery_path(path));
    }
    // いいえ: the reader names the copy; はい: the old book is back and the copy gone.
    EXPECT_EQ(window->state().book().entry_count(), old.entry_count());
    EXPECT_EQ(rows(), old.entry_count());
    EXPECT_FALSE(QFile::exists(recovery_path(path)));
    EXPECT_FALSE(window->state().document.modified());
}
