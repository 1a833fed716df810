// Times printing a maximal book (32,767 rounds, full pools), offscreen: the 一覧's pages
// counted and the preview opened with its first pages painted, then the whole 一覧 written
// as a PDF; 収支統計 likewise, and この回の購入 of the largest round a book can hold (32,767
// singles and 32,767 multis). Peak memory is the process's so far, after each step.
// --keep DIR leaves the PDFs in DIR.
#include "best_ms.h"
#include "main_window/entry_list_model.h"
#include "main_window/print_output.h"
#include "main_window/print_pages.h"
#include "main_window/print_preview.h"
#include "maximal_book.h"
#include "results/winning_check.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

double ms_since(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double peak_mib()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The preview of a document made by `make`: made, opened and its first pages painted.
double preview_ms(const std::function<std::unique_ptr<PrintDocument>()> &make, int *pages)
{
    QElapsedTimer timer;
    timer.start();
    const auto document = make();
    PrintPreview preview(*document);
    preview.show();
    QApplication::processEvents();
    (void)preview.grab();
    *pages = document->page_count();
    return ms_since(timer);
}

void report(const char *what, const std::function<std::unique_ptr<PrintDocument>()> &make, const QString &pdf)
{
    int pages = 0;
    const double preview = best_ms([&] { preview_ms(make, &pages); }, 3);
    std::printf("%-14s %6d pages   preview %8.1f ms   peak %7.1f MiB\n", what, pages, preview, peak_mib());
    const auto document = make();
    QElapsedTimer timer;
    timer.start();
    const Outcome written = write_pdf(*document, pdf, QString(), 0, document->page_count() - 1, {});
    const double ms = ms_since(timer);
    std::printf("%-14s PDF %s   %8.1f ms   %7.1f MiB file   peak %7.1f MiB\n", what,
                written.ok ? "written" : "FAILED", ms,
                static_cast<double>(QFileInfo(pdf).size()) / (1024.0 * 1024.0), peak_mib());
}

// One toto round with every result in, 32,767 singles and 32,767 multis, picks varying.
TicketBook largest_round_book()
{
    std::vector<NewPurchase> purchases;
    for (int i = 0; i < kMaxRecords; ++i) {
        SinglePurchase single;
        for (int s = 0; s < 13; ++s)
            single.picks[static_cast<size_t>(s)] = static_cast<uint8_t>(1 + (i >> s) % 3);
        MultiPurchase multi;
        for (int s = 0; s < 13; ++s)
            multi.marks[static_cast<size_t>(s)] = {true, s == i % 13, s == (i + 5) % 13 && i % 2 == 0, false};
        purchases.push_back(single);
        purchases.push_back(multi);
    }
    TicketBook book = decided_toto_book("1612", purchases);
    grade_book(book);
    return book;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    QTemporaryDir temporary;
    QString dir = temporary.path();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--keep")); at > 0 && at + 1 < arguments.size())
        dir = arguments[at + 1];

    TicketBook book = maximal_book(kMaxRecords, kMaxRecords);
    grade_book(book);
    const TicketBook round = largest_round_book();
    EntryListModel rows(book);
    QtUiServices ui;
    const PrintHeading heading{QStringLiteral("maximal.yrm"), QString(), QDate(2026, 12, 8)};
    std::printf("rounds %d, peak before printing %.1f MiB\n", book.entry_count(), peak_mib());
    report(
        "一覧", [&] { return list_print(rows, book, heading); },
        QDir(dir).filePath(QStringLiteral("list.pdf")));
    report(
        "収支統計", [&] { return stats_print(book, std::nullopt, ui, heading); },
        QDir(dir).filePath(QStringLiteral("stats.pdf")));
    report(
        "この回の購入", [&] { return round_print(round, 0, heading); },
        QDir(dir).filePath(QStringLiteral("round.pdf")));
    return 0;
}
