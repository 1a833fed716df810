// Times opening a maximal book in the main window: reading and grading the file, filling
// the list, showing the window and painting it (offscreen). Also a book of half the size,
// to see that the cost grows linearly. --screenshot FILE saves a picture of the window.
#include "book/book_file.h"
#include "main_window/form_main.h"
#include "maximal_book.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>

namespace {

struct Timing {
    double load_ms = 0;  // read_data and the list filled
    double shown_ms = 0; // the above, then the window shown and painted
};

double ms_since(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Where to save a picture of the window, when asked for with --screenshot FILE.
QString screenshot;

Timing open_in_window(const QString &path, int expected_rows)
{
    QtUiServices ui;
    Timing t;
    QElapsedTimer timer;
    timer.start();
    FormMain window(ui);
    if (!window.load_book(path) || window.list()->model()->rowCount() != expected_rows)
        std::fprintf(stderr, "the book did not load\n");
    t.load_ms = ms_since(timer);
    window.show();
    QApplication::processEvents();
    const QPixmap picture = window.grab(); // paints every visible widget, the list's visible rows included
    t.shown_ms = ms_since(timer);
    if (!screenshot.isEmpty())
        picture.save(screenshot);
    return t;
}

// Best of a few runs.
Timing best(const QString &path, int rows, int runs = 3)
{
    Timing b{1e300, 1e300};
    for (int i = 0; i < runs; ++i) {
        const Timing t = open_in_window(path, rows);
        b.load_ms = std::min(b.load_ms, t.load_ms);
        b.shown_ms = std::min(b.shown_ms, t.shown_ms);
    }
    return b;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
        at > 0 && at + 1 < arguments.size())
        screenshot = arguments[at + 1];
    QTemporaryDir dir;
    qputenv("TEMP", dir.path().toLocal8Bit());

    const TicketBook full = maximal_book(kMaxRecords, kMaxRecords);
    const TicketBook half = maximal_book(kMaxRecords / 2, kMaxRecords / 2);
    const QString full_path = dir.filePath(QStringLiteral("full.yrm"));
    const QString half_path = dir.filePath(QStringLiteral("half.yrm"));
    if (!write_data(full, full_path).ok || !write_data(half, half_path).ok) {
        std::fprintf(stderr, "could not write the books\n");
        return 1;
    }

    const Timing f = best(full_path, full.entry_count());
    const Timing h = best(half_path, half.entry_count());
    std::printf("book   entries   read+list ms   read+list+show ms\n");
    std::printf("full   %7d   %12.1f   %17.1f\n", full.entry_count(), f.load_ms, f.shown_ms);
    std::printf("half   %7d   %12.1f   %17.1f\n", half.entry_count(), h.load_ms, h.shown_ms);
    std::printf("ratio full/half: %.2f (linear cost gives about 2)\n", f.shown_ms / h.shown_ms);
    return 0;
}
