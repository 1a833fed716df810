// 印刷, 印刷プレビュー and PDFに書き出し: each document rendered to a PDF on the offscreen
// platform and read back with pdftotext, the file written safely, and the preview.
#include "book/book_file.h"
#include "book/ticket_lines.h"
#include "main_window/print_output.h"
#include "main_window/print_pages.h"
#include "main_window/print_preview.h"
#include "main_window_fixture.h"
#include "results/book_stats.h"
#include "results/entry_row.h"
#include "results/winning_check.h"
#include "support/dialog_driver.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <string>
#include <unistd.h>

namespace {

// The text of a PDF as pdftotext lays it out, one string per page.
QStringList pdf_pages(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    EXPECT_FALSE(tool.isEmpty()) << "pdftotext is missing: scripts/install-deps.sh installs poppler-utils";
    QProcess run;
    run.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    EXPECT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    QStringList pages = QString::fromUtf8(run.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The footer "n / m" of a page; pdftotext drops the blanks of a line whose gaps are all alike.
bool has_footer(const QString &page, qsizetype n, qsizetype m)
{
    return QRegularExpression(QStringLiteral("(^|\\s)%1 ?/ ?%2\\s*$").arg(n).arg(m)).match(page).hasMatch();
}

// Runs of blanks as one space: the cells of a printed row read as the row's texts.
QString collapsed(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    return QString(text).replace(blanks, QStringLiteral(" "));
}

// The page size of a PDF as pdfinfo reports it, in points.
QSizeF pdf_page_size(const QString &path)
{
    QProcess run;
    run.start(QStringLiteral("pdfinfo"), {path});
    EXPECT_TRUE(run.waitForFinished(60000));
    static const QRegularExpression size(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    const QRegularExpressionMatch m = size.match(QString::fromUtf8(run.readAllStandardOutput()));
    EXPECT_TRUE(m.hasMatch());
    return QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble());
}

// `rounds` toto rounds "1", "2", … with one single each.
TicketBook numbered_book(int rounds)
{
    TicketBook book;
    for (int r = 0; r < rounds; ++r) {
        EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto, std::to_string(r + 1).c_str())).ok);
        EXPECT_TRUE(add_single(book, r, make_single(std::vector<int>(13, kHomeWin))).ok);
    }
    grade_book(book);
    return book;
}

// A toto round with every result in: a single right everywhere (1等) and a multi that
// doubles the last match (1等 and 2等).
TicketBook ticket_book()
{
    TicketBook book;
    RoundEntry e = make_entry(LotteryKind::toto, "10");
    for (int s = 0; s < 13; ++s)
        e.matches[s].result = kHomeWin;
    e.state = kPrizeEntered;
    e.has_grade3 = true;
    e.prizes = {100000, 5000, 300, 0, 0, 0};
    EXPECT_TRUE(add_entry(book, e).ok);
    EXPECT_TRUE(add_single(book, 0, make_single(std::vector<int>(13, kHomeWin))).ok);
    std::vector<const char *> marks(13, "100");
    marks[12] = "110";
    EXPECT_TRUE(add_multi(book, 0, make_multi(marks)).ok);
    grade_book(book);
    return book;
}

} // namespace

class PrintTest : public MainWindowTest {
protected:
    void open(const TicketBook &book, const char *name = "sample.yrm")
    {
        book_path = write_book(book, QString::fromLatin1(name));
        ASSERT_TRUE(window->load_book(book_path));
    }

    // PDFに書き出し with `option` chosen in the choice, into `path`; false when no choice came up.
    bool export_pdf(const char *option, const QString &path, const std::function<void()> &after_ok = {})
    {
        ui.save_names.push_back(path);
        return with_dialog([&] { window->menu_pdf_Click(); },
                           [&](QDialog *choice) {
                               control<QRadioButton>(choice, option)->click();
                               if (after_ok)
                                   QTimer::singleShot(0, after_ok);
                               control<QPushButton>(choice, "cmd_ok")->click();
                           });
    }

    QString book_path;
};

TEST_F(PrintTest, ItemsNeedARoundAndThisRoundsTicketsASelectedOne)
{
    for (const char *name : {"menu_print", "menu_preview", "menu_pdf"})
        EXPECT_FALSE(action(name)->isEnabled()) << name;
    open(four_round_book());
    for (const char *name : {"menu_print", "menu_preview", "menu_pdf"})
        EXPECT_TRUE(action(name)->isEnabled()) << name;
    window->list()->clearSelection();
    QString round_option;
    bool round_enabled = true;
    with_dialog([&] { window->menu_pdf_Click(); },
                [&](QDialog *choice) {
                    round_enabled = control<QRadioButton>(choice, "opt_print_round")->isEnabled();
                });
    EXPECT_FALSE(round_enabled);
    window->select_row(0);
    with_dialog([&] { window->menu_pdf_Click(); },
                [&](QDialog *choice) {
                    auto *round = control<QRadioButton>(choice, "opt_print_round");
                    round_enabled = round->isEnabled();
                    round_option = round->text();
                });
    EXPECT_TRUE(round_enabled);
    EXPECT_TRUE(round_option.contains(QStringLiteral("第10回 toto")));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PrintTest, ListPrintsItsRowsHeadingsTotalsAndFooter)
{
    const TicketBook book = four_round_book();
    open(book);
    ASSERT_TRUE(export_pdf("opt_print_list", file(QStringLiteral("list.pdf"))));
    ASSERT_EQ(ui.proposed_names.size(), 1);
    EXPECT_EQ(ui.proposed_names[0], file(QStringLiteral("sample_一覧.pdf")));
    const QStringList pages = pdf_pages(file(QStringLiteral("list.pdf")));
    ASSERT_EQ(pages.size(), 1);
    const QString page = collapsed(pages[0]);
    EXPECT_TRUE(page.contains(QStringLiteral("sample.yrm"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("印刷日 ") +
                              QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"))));
    QStringList headings;
    for (int c = 0; c < kListColumns; ++c)
        headings << entry_column_heading(c);
    EXPECT_TRUE(page.contains(headings.join(u' '))) << page.toStdString();
    for (const QStringList &row : {toto_row(), big_row(), refund_row(), goal_row()})
        EXPECT_TRUE(page.contains(row.join(u' '))) << row.join(u' ').toStdString();
    const BookTotals totals = book_totals(book);
    int64_t tickets = 0;
    for (const RoundEntry &e : book.entries)
        tickets += e.tickets;
    EXPECT_TRUE(
        page.contains(QStringLiteral("合計 %1 %2 %3")
                          .arg(QString::number(tickets), format_yen(totals.bought), format_yen(totals.won))))
        << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("収支 ") + format_yen(totals.balance)));
    EXPECT_TRUE(has_footer(page, 1, 1));
    EXPECT_FALSE(page.contains(QStringLiteral("表示中")));
}

TEST_F(PrintTest, ListFollowsTheFindBarAndSumsItsOwnRows)
{
    const TicketBook book = four_round_book();
    open(book);
    window->menu_find_Click();
    // The BIG round by its 回 (no team name of the book holds "20").
    window->findChild<QLineEdit *>(QStringLiteral("txt_find"))->setText(QStringLiteral("20"));
    ASSERT_EQ(rows(), 1);
    ASSERT_TRUE(export_pdf("opt_print_list", file(QStringLiteral("found.pdf"))));
    const QString page = collapsed(pdf_pages(file(QStringLiteral("found.pdf"))).value(0));
    EXPECT_TRUE(page.contains(big_row().join(u' ')));
    EXPECT_FALSE(page.contains(toto_row().join(u' ')));
    const RoundEntry &big = book.entries[1];
    EXPECT_TRUE(page.contains(
        QStringLiteral("合計 %1 %2 %3")
            .arg(QString::number(big.tickets), format_yen(bought_amount(big)), format_yen(entry_won(big)))))
        << page.toStdString();
    const BookTotals totals = book_totals(book);
    EXPECT_TRUE(page.contains(
        QStringLiteral("表示中 1 / 4 回 帳簿全体では 購入金額 %1 当選金額 %2 収支 %3")
            .arg(format_yen(totals.bought), format_yen(totals.won), format_yen(totals.balance))))
        << page.toStdString();
}

// Sorted by a heading, the list prints in the order shown.
TEST_F(PrintTest, ListPrintsTheRowsInTheOrderTheHeadingsSorted)
{
    open(four_round_book());
    window->list()->header()->setSortIndicator(11, Qt::AscendingOrder); // 当選金額, rising
    ASSERT_EQ(row_texts(0), refund_row());
    ASSERT_TRUE(export_pdf("opt_print_list", file(QStringLiteral("sorted.pdf"))));
    const QString page = collapsed(pdf_pages(file(QStringLiteral("sorted.pdf"))).value(0));
    qsizetype previous = -1;
    for (const QStringList &row : {refund_row(), big_row(), toto_row(), goal_row()}) {
        const qsizetype at = page.indexOf(row.join(u' '));
        EXPECT_GT(at, previous) << row.join(u' ').toStdString() << "\n" << page.toStdString();
        previous = at;
    }
}

// Every row once, in order, whole pages of the same number of rows, "n / m" on each page.
TEST_F(PrintTest, ListOfAThousandRoundsBreaksIntoFullPages)
{
    open(numbered_book(1000));
    ASSERT_TRUE(export_pdf("opt_print_list", file(QStringLiteral("thousand.pdf"))));
    const QStringList pages = pdf_pages(file(QStringLiteral("thousand.pdf")));
    ASSERT_GT(pages.size(), 5);
    static const QRegularExpression row(QStringLiteral("^\\s*(\\d+)\\s+toto\\s"),
                                        QRegularExpression::MultilineOption);
    int next = 1;
    int first_page_rows = 0;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        EXPECT_TRUE(has_footer(pages[p], p + 1, pages.size())) << p;
        EXPECT_TRUE(pages[p].contains(entry_column_heading(11))) << "headings on page " << p + 1;
        int on_page = 0;
        for (auto it = row.globalMatch(pages[p]); it.hasNext(); ++on_page)
            EXPECT_EQ(it.next().captured(1).toInt(), next++);
        if (p == 0) {
            first_page_rows = on_page;
        } else if (p + 1 < pages.size()) {
            EXPECT_EQ(on_page, first_page_rows) << "page " << p + 1;
        }
    }
    EXPECT_EQ(next, 1001);
    EXPECT_GE(first_page_rows, 40); // A4 holds more than 40 rows of the list
    EXPECT_TRUE(pages.back().contains(QStringLiteral("合計")));
    RecordProperty("pages", static_cast<int>(pages.size()));
}

TEST_F(PrintTest, ThisRoundsTicketsAsLinesWithCombinationsAndGrades)
{
    const TicketBook book = ticket_book();
    open(book);
    window->select_row(0);
    ASSERT_TRUE(export_pdf("opt_print_round", file(QStringLiteral("round.pdf"))));
    EXPECT_EQ(ui.proposed_names.value(0), file(QStringLiteral("sample_第10回toto.pdf")));
    const QStringList pages = pdf_pages(file(QStringLiteral("round.pdf")));
    ASSERT_EQ(pages.size(), 1);
    const QString page = collapsed(pages[0]);
    const RoundEntry &e = book.entries[0];
    EXPECT_TRUE(page.contains(QStringLiteral("第10回 toto")));
    EXPECT_TRUE(page.contains(QStringLiteral("1 H0 A0 1（勝）"))) << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("13 H12 A12 1（勝）")));
    EXPECT_TRUE(page.contains(
        QStringLiteral("購入金額 %1円 当選金額 %2").arg(format_yen(bought_amount(e)), won_cell_text(e))))
        << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("1 シングル ") + ticket_line(book, 0, kSingle, 0) + u' ' + u'1' +
                              u' ' + grade_name(1)))
        << page.toStdString();
    EXPECT_TRUE(page.contains(QStringLiteral("2 マルチ ") + ticket_line(book, 0, kMulti, 0) +
                              QStringLiteral(" 2 ") + grade_name(1) + QStringLiteral(" 1口・") +
                              grade_name(2) + QStringLiteral(" 1口")))
        << page.toStdString();
    EXPECT_TRUE(has_footer(page, 1, 1));
}

TEST_F(PrintTest, StatsTableAndChartOnOneLandscapePage)
{
    const TicketBook book = four_round_book();
    open(book);
    ASSERT_TRUE(export_pdf("opt_print_stats", file(QStringLiteral("stats.pdf"))));
    EXPECT_EQ(ui.proposed_names.value(0), file(QStringLiteral("sample_収支統計.pdf")));
    const QStringList pages = pdf_pages(file(QStringLiteral("stats.pdf")));
    ASSERT_EQ(pages.size(), 1);
    const QString page = collapsed(pages[0]);
    EXPECT_TRUE(page.contains(stats_headings().join(u' '))) << page.toStdString();
    const BookStats stats = book_stats(book);
    for (const KindStatsRow &k : stats.kinds)
        EXPECT_TRUE(page.contains(
            stats_row_texts(kind_display_name(k.kind), k.stats, StatsNumbers::grouped).join(u' ')));
    EXPECT_TRUE(page.contains(
        stats_row_texts(QStringLiteral("合計"), stats.total, StatsNumbers::grouped).join(u' ')));
    EXPECT_TRUE(page.contains(QStringLiteral("累計収支"))) << "the chart's legend";
    const QSizeF size = pdf_page_size(file(QStringLiteral("stats.pdf")));
    EXPECT_GT(size.width(), size.height());
    EXPECT_NEAR(size.width(), 841.9, 1); // A4
}

TEST_F(PrintTest, OverwritingIsAskedWithNoAsTheDefault)
{
    open(four_round_book());
    const QString target = file(QStringLiteral("old.pdf"));
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ui.answers = {UiServices::Answer::no};
    ASSERT_TRUE(export_pdf("opt_print_list", target)); // no, then the dialog again, cancelled
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::yes_no_default_no);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("old.pdf")));
    EXPECT_EQ(ui.file_dialogs, 2);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("old"));
    old.close();
    ASSERT_TRUE(export_pdf("opt_print_list", target)); // yes
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_TRUE(old.readAll().startsWith("%PDF"));
}

TEST_F(PrintTest, TheOpenBookIsNeverTheTargetWhateverItsName)
{
    open(four_round_book());
    QFile book(book_path);
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    const QByteArray bytes = book.readAll();
    book.close();
    const QString link = file(QStringLiteral("link.pdf"));
    ASSERT_EQ(::link(QFile::encodeName(book_path).constData(), QFile::encodeName(link).constData()), 0);
    ASSERT_TRUE(export_pdf("opt_print_list", link)); // refused before any question, then cancelled
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("開いているｙｏｒｉｍｏのデータ")))
        << ui.messages[0].text.toStdString();
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    EXPECT_EQ(book.readAll(), bytes);
}

// A write stopped half way (キャンセル, or a failure) leaves the target as it was and no
// temporary file beside it.
TEST_F(PrintTest, StoppedWriteLeavesTheTargetAsItWas)
{
    const TicketBook book = numbered_book(1000);
    open(book);
    const QString target = file(QStringLiteral("kept.pdf"));
    QFile kept(target);
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
    kept.close();
    const auto document = list_print(*window->list()->model(), book, {QStringLiteral("sample.yrm"), {}, {}});
    const Outcome stopped = write_pdf(*document, target, book_path, 0, document->page_count() - 1,
                                      [](int done, int) { return done < 3; });
    EXPECT_FALSE(stopped.ok);
    EXPECT_TRUE(stopped.message.isEmpty());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("kept"));
    kept.close();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList({QStringLiteral("kept.pdf"), QStringLiteral("sample.yrm")}));

    // The same from the window: キャンセル in the progress window of a long list.
    ui.answers = {UiServices::Answer::yes};
    bool cancelled = false;
    ASSERT_TRUE(export_pdf("opt_print_list", target, [&] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *progress = qobject_cast<QProgressDialog *>(w); progress && progress->isVisible()) {
                progress->cancel();
                cancelled = true;
            }
    }));
    EXPECT_TRUE(cancelled);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("kept"));
    EXPECT_EQ(ui.messages.size(), 1); // the overwrite question only
}

// The preview counts the pages and draws only those in sight.
TEST_F(PrintTest, PreviewDrawsOnlyThePagesInSight)
{
    const TicketBook book = numbered_book(1000);
    open(book);
    int pages = 0;
    int painted = -1;
    QString shown;
    with_dialog([&] { window->menu_preview_Click(); },
                [&](QDialog *choice) {
                    control<QRadioButton>(choice, "opt_print_list")->click();
                    QTimer::singleShot(0, [&] {
                        auto *preview = qobject_cast<PrintPreview *>(QApplication::activeModalWidget());
                        ASSERT_NE(preview, nullptr);
                        QApplication::processEvents();
                        pages = control<QSpinBox>(preview, "spn_page")->maximum();
                        preview->go_to_page(pages - 1);
                        QApplication::processEvents();
                        preview->grab();
                        painted = preview->pages_painted();
                        shown = control<QSpinBox>(preview, "spn_page")->text() +
                                control<QLabel>(preview, "lbl_pages")->text();
                        preview->accept();
                    });
                    control<QPushButton>(choice, "cmd_ok")->click();
                });
    const auto document = list_print(*window->list()->model(), book, {});
    EXPECT_EQ(pages, document->page_count());
    EXPECT_EQ(shown, QString::number(pages) + QStringLiteral("/ ") + QString::number(pages));
    EXPECT_GT(painted, 0);
    EXPECT_LT(painted, 10);
}
