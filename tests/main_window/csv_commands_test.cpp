// ＣＳＶ › 書き出し and 読み込み through the window: the file dialogs, the confirmation and
// what follows it, and the failures.
#include "book/csv_export.h"
#include "main_window_fixture.h"
#include "results/winning_check.h"
#include "support/dialog_driver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <functional>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool same_book(const TicketBook &a, const TicketBook &b)
{
    return a.entries == b.entries && a.singles == b.singles && a.multis == b.multis &&
           a.goal_singles == b.goal_singles && a.goal_multis == b.goal_multis;
}

class CsvCommands : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(window->load_book(write_book(four_round_book(), QStringLiteral("book.yrm"))));
        window->select_row(3); // the totoGOAL round, so an import of the toto round moves `current`
    }

    QString write_file(const QString &name, const QByteArray &bytes)
    {
        QFile f(file(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }

    // The toto round's file as the export writes it: its two tickets, results and prizes.
    QString toto_file()
    {
        const CsvExport exported = export_csv(window->state().book(), 0);
        EXPECT_TRUE(exported.outcome.ok);
        return write_file(QStringLiteral("toto.csv"), exported.bytes);
    }

    // Imports `path`, driving the confirmation with `drive`; true when it opened.
    bool import(const QString &path, const std::function<void(QDialog *)> &drive)
    {
        ui.open_names.push_back(path);
        return with_dialog([&] { action("menu_csv_read")->trigger(); }, drive);
    }
};

void press(QDialog *d, const char *name)
{
    if (auto *b = control<QAbstractButton>(d, name))
        click(b);
}

} // namespace

TEST_F(CsvCommands, ExportWritesTheSelectedRoundAndAddsTheExtension)
{
    window->select_row(1);
    ui.save_names.push_back(file(QStringLiteral("big")));
    action("menu_csv_write")->trigger();
    EXPECT_TRUE(ui.messages.empty());
    QFile written(file(QStringLiteral("big.csv")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), export_csv(window->state().book(), 1).bytes);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("big"))));

    // A name with its own extension is kept; a cancelled dialog writes nothing.
    ui.save_names.push_back(file(QStringLiteral("round.txt")));
    action("menu_csv_write")->trigger();
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("round.txt"))));
    const int dialogs = ui.file_dialogs;
    action("menu_csv_write")->trigger();
    EXPECT_EQ(ui.file_dialogs, dialogs + 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(window->state().document.modified());

    // "big" again: the completed big.csv exists, so it is asked about; no writes nothing.
    QFile::resize(file(QStringLiteral("big.csv")), 0);
    ui.save_names.push_back(file(QStringLiteral("big")));
    ui.answers.push_back(UiServices::Answer::no);
    action("menu_csv_write")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("big.csv は既に存在します。\n上書きしますか？"));
    EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::yes_no_default_no) << "Enter keeps the file";
    EXPECT_EQ(QFileInfo(file(QStringLiteral("big.csv"))).size(), 0);
}

// The open book is never the export's target, however its path is spelled; another book is
// replaced only when the user says so.
TEST_F(CsvCommands, ExportNeverReplacesTheOpenBookAndAsksBeforeReplacingAnother)
{
    const QString book = file(QStringLiteral("book.yrm"));
    const QString other = write_book(four_round_book(), QStringLiteral("other.yrm"));
    const QByteArray before = contents(book) + contents(other);
    ASSERT_TRUE(QFile::link(book, file(QStringLiteral("link.csv"))));
    for (const QString &spelling :
         {dir.path() + QStringLiteral("/./book.yrm"), file(QStringLiteral("link.csv"))}) {
        ui.messages.clear();
        ui.save_names = {spelling}; // and then the dialog is cancelled
        action("menu_csv_write")->trigger();
        ASSERT_EQ(ui.messages.size(), 1U) << spelling.toStdString();
        EXPECT_EQ(
            ui.messages[0].text,
            QStringLiteral("「%1」は開いているｙｏｒｉｍｏのデータのファイルです。ここには書き出せません。")
                .arg(QFileInfo(spelling).fileName()));
        EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::critical);
    }
    ui.messages.clear();
    ui.save_names = {other};
    ui.answers = {UiServices::Answer::no};
    action("menu_csv_write")->trigger();
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("「other.yrm」はｙｏｒｉｍｏのデータです。置き換えると"
                                                  "そのデータは失われます。置き換えますか？"));
    EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::yes_no_default_no);
    EXPECT_TRUE(contents(book) + contents(other) == before);
}

TEST_F(CsvCommands, ExportOfALabelTheImportCannotReadBackSaysWhy)
{
    TicketBook book = four_round_book();
    book.entries[0].kai = BookText("12,3");
    ASSERT_TRUE(window->load_book(write_book(book, QStringLiteral("comma.yrm"))));
    window->select_row(0);
    ui.save_names.push_back(file(QStringLiteral("comma.csv")));
    action("menu_csv_write")->trigger();
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text,
              QStringLiteral("開催回に「,」が含まれているため、CSVファイルに書き出せません。"));
    EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::critical);
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("comma.csv"))));
}

TEST_F(CsvCommands, ExportIsDisabledOnAnEmptyBook)
{
    EXPECT_TRUE(action("menu_csv_write")->isEnabled());
    action("menu_new")->trigger();
    EXPECT_FALSE(action("menu_csv_write")->isEnabled());
    action("menu_csv_write")->trigger();
    EXPECT_EQ(ui.file_dialogs, 0);
}

TEST_F(CsvCommands, ImportConfirmedAppendsTheTicketsAndMarksTheBookChanged)
{
    const QString path = toto_file();
    QString caption;
    ASSERT_TRUE(import(path, [&](QDialog *d) {
        caption = d->windowTitle();
        press(d, "cmd_ok");
    }));
    EXPECT_EQ(caption, QStringLiteral("CSV読み込み確認"));
    EXPECT_TRUE(ui.messages.empty());
    const RoundEntry &toto = window->state().book().entries[0];
    EXPECT_EQ(toto.tickets, 4);
    EXPECT_EQ(toto.hits[0], 2); // graded again: both copies of the 1等 ticket
    EXPECT_EQ(window->state().current, 0);
    EXPECT_EQ(window->selected_entry(), 0);
    EXPECT_TRUE(window->state().document.modified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("book.yrm * － ｙｏｒｉｍｏ"));
    EXPECT_EQ(row_texts(0)[2], QStringLiteral("4"));
    EXPECT_EQ(row_texts(0)[4], QStringLiteral("2"));
    EXPECT_EQ(label("lbl_buy"), format_yen(book_totals(window->state().book()).bought));
}

TEST_F(CsvCommands, ImportCancelledChangesNothing)
{
    const QString path = toto_file();
    const TicketBook before = window->state().book();
    ASSERT_TRUE(import(path, [&](QDialog *d) { press(d, "cmd_cancel"); }));
    EXPECT_TRUE(same_book(window->state().book(), before));
    EXPECT_FALSE(window->state().document.modified());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("book.yrm － ｙｏｒｉｍｏ"));
    EXPECT_EQ(row_texts(0), toto_row());
    EXPECT_EQ(window->selected_entry(), 3);
}

TEST_F(CsvCommands, ABrokenFileIsReportedAndChangesNothing)
{
    const TicketBook before = window->state().book();
    const QString path = write_file(QStringLiteral("broken.csv"), "10,T\r\nX,1\r\n");
    EXPECT_FALSE(import(path, [](QDialog *) {}));
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("CSV読み込み失敗"));
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("ｙｏｒｉｍｏ"));
    EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::critical);
    EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::ok);
    EXPECT_EQ(ui.messages[0].detail, QStringLiteral("2行目: 行の種類（S、M、R）が読めません。"));
    EXPECT_TRUE(same_book(window->state().book(), before));
    EXPECT_FALSE(window->state().document.modified());
}

TEST_F(CsvCommands, AHeaderAloneOrACancelledDialogEndsSilently)
{
    const TicketBook before = window->state().book();
    EXPECT_FALSE(import(write_file(QStringLiteral("header.csv"), "10,T\r\n"), [](QDialog *) {}));
    EXPECT_FALSE(with_dialog([&] { action("menu_csv_read")->trigger(); }, [](QDialog *) {}));
    EXPECT_EQ(ui.file_dialogs, 2);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(same_book(window->state().book(), before));
    EXPECT_FALSE(window->state().document.modified());
}

// The file dialogs start in the open book's folder; the export proposes the round's name there.
TEST_F(CsvCommands, TheDialogsStartBesideTheBookAndTheExportNamesTheRound)
{
    window->select_row(1);
    action("menu_csv_write")->trigger(); // cancelled
    window->select_row(3);
    action("menu_csv_write")->trigger();
    EXPECT_EQ(ui.proposed_names,
              QStringList({file(QStringLiteral("20_BIG.csv")), file(QStringLiteral("40_totoGOAL.csv"))}));

    action("menu_csv_read")->trigger();
    action("menu_open")->trigger();
    const QString folder = QFileInfo(file(QStringLiteral("book.yrm"))).absolutePath();
    EXPECT_EQ(ui.open_folders, QStringList({folder, folder}));
    EXPECT_TRUE(ui.messages.empty());
}
