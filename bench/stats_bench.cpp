// Times the statistics of a maximal book (32,767 rounds, full pools) and the 収支統計 window
// on it, offscreen: the figures alone, building the window (table and chart), painting it,
// and switching the chart to one kind. --screenshot FILE saves a picture of the window.
#include "best_ms.h"
#include "main_window/form_stats.h"
#include "maximal_book.h"
#include "results/book_stats.h"
#include "results/winning_check.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPixmap>
#include <algorithm>
#include <cstdio>
#include <functional>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    QString screenshot;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
        at > 0 && at + 1 < arguments.size())
        screenshot = arguments[at + 1];

    TicketBook book = maximal_book(kMaxRecords, kMaxRecords);
    for (int i = 0; i < book.entry_count(); ++i)
        result_chk(book, i);
    QtUiServices ui;

    StatsInt sink = 0;
    const double stats_ms = best_ms([&] { sink += book_stats(book).total.won; });
    const double rounds_ms = best_ms([&] { sink += round_balances(book, std::nullopt).back().cumulative; });
    const double build_ms = best_ms([&] { FormStats form(book, QStringLiteral("maximal.yrm"), ui); });
    double shown_ms = 0;
    double filter_ms = 0;
    {
        QElapsedTimer timer;
        timer.start();
        FormStats form(book, QStringLiteral("maximal.yrm"), ui);
        form.show();
        QApplication::processEvents();
        const QPixmap picture = form.grab();
        shown_ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        if (!screenshot.isEmpty())
            picture.save(screenshot);
        auto *kinds = form.findChild<QComboBox *>(QStringLiteral("cmb_kind"));
        filter_ms = best_ms([&] {
            kinds->setCurrentIndex(kinds->currentIndex() == 1 ? 0 : 1);
            form.grab();
        });
    }
    std::printf("rounds %d, total won %s yen\n", book.entry_count(),
                qPrintable(yen_text(book_stats(book).total.won)));
    std::printf("book_stats              %8.1f ms\n", stats_ms);
    std::printf("round_balances          %8.1f ms\n", rounds_ms);
    std::printf("window built (table+chart) %5.1f ms\n", build_ms);
    std::printf("window built+shown+painted %5.1f ms\n", shown_ms);
    std::printf("kind switched+repainted %8.1f ms\n", filter_ms);
    return sink == 42 ? 1 : 0; // keeps the work from being optimised away
}
