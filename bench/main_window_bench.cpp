// Times opening a maximal book in the main window: reading and grading the file, filling
// the list, showing the window and painting it (offscreen). Also a book of half the size,
// to see that the cost grows linearly. --screenshot FILE saves a picture of the window.
// Then each keystroke of the find bar on the maximal book: the rows chosen anew, and
// painted; and each click on a heading that sorts the 32,767 rows.
#include "book/book_file.h"
#include "main_window/form_main.h"
#include "maximal_book.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

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

// One edit of the find bar, as a keystroke or a click makes it.
struct FindStep {
    const char *what;
    std::function<void(QLineEdit *, QComboBox *, QCheckBox *)> act;
};

struct FindTiming {
    double refilter_ms = 1e300; // the filter applied: rows chosen, selection and counts followed
    double painted_ms = 1e300;  // the above, then the list's visible rows painted
    int rows = 0;
};

// Each step of typing "1581" and taking it back, in both widths, and the kind and open
// choices, on the window holding the book at `path`; best of `runs` per step.
std::vector<FindTiming> time_find(const QString &path, const std::vector<FindStep> &steps, int runs = 3)
{
    std::vector<FindTiming> best(steps.size());
    for (int run = 0; run < runs; ++run) {
        QtUiServices ui;
        FormMain window(ui);
        if (!window.load_book(path))
            std::fprintf(stderr, "the book did not load\n");
        window.show();
        window.menu_find_Click();
        QApplication::processEvents();
        auto *text = window.findChild<QLineEdit *>(QStringLiteral("txt_find"));
        auto *kind = window.findChild<QComboBox *>(QStringLiteral("cmb_find_kind"));
        auto *open = window.findChild<QCheckBox *>(QStringLiteral("chk_find_open"));
        QWidget *rows = window.list()->viewport();
        for (size_t i = 0; i < steps.size(); ++i) {
            QElapsedTimer timer;
            timer.start();
            steps[i].act(text, kind, open);
            const double refiltered = ms_since(timer);
            QApplication::processEvents();
            (void)rows->grab();
            best[i].refilter_ms = std::min(best[i].refilter_ms, refiltered);
            best[i].painted_ms = std::min(best[i].painted_ms, ms_since(timer));
            best[i].rows = window.list()->model()->rowCount();
        }
    }
    return best;
}

void report_find(const QString &path)
{
    const auto typed = [](const char *utf8) {
        return [utf8](QLineEdit *text, QComboBox *, QCheckBox *) { text->insert(QString::fromUtf8(utf8)); };
    };
    const auto erased = [](QLineEdit *text, QComboBox *, QCheckBox *) { text->backspace(); };
    const std::vector<FindStep> steps = {
        {"type 1", typed("1")},
        {"type 5", typed("5")},
        {"type 8", typed("8")},
        {"type 1", typed("1")},
        {"erase", erased},
        {"erase", erased},
        {"erase", erased},
        {"erase (all rows)", erased},
        {"type full-width 1", typed("１")},
        {"type full-width 5", typed("５")},
        {"kind toto", [](QLineEdit *, QComboBox *kind, QCheckBox *) { kind->setCurrentIndex(1); }},
        {"open only", [](QLineEdit *, QComboBox *, QCheckBox *open) { open->click(); }},
        {"kind all", [](QLineEdit *, QComboBox *kind, QCheckBox *) { kind->setCurrentIndex(0); }},
    };
    const std::vector<FindTiming> timings = time_find(path, steps);
    std::printf("\nfind bar on the full book, per keystroke (bound 16 ms)\n");
    std::printf("step                 rows   refilter ms   refilter+paint ms\n");
    double worst = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        std::printf("%-20s %5d   %11.2f   %17.2f\n", steps[i].what, timings[i].rows, timings[i].refilter_ms,
                    timings[i].painted_ms);
        worst = std::max(worst, timings[i].painted_ms);
    }
    std::printf("slowest step, painted: %.2f ms\n", worst);
}

// One click on a heading: the column and order it leaves the list in (-1: the book's).
struct SortStep {
    const char *what;
    int column;
    Qt::SortOrder order;
};

void report_sort(const QString &path, int runs = 3)
{
    const std::vector<SortStep> steps = {
        {"回 rising", 0, Qt::AscendingOrder},        {"回 falling", 0, Qt::DescendingOrder},
        {"book order", -1, Qt::AscendingOrder},      {"種別 rising", 1, Qt::AscendingOrder},
        {"購入口数 rising", 2, Qt::AscendingOrder},  {"２等 rising", 5, Qt::AscendingOrder},
        {"当選金額 rising", 11, Qt::AscendingOrder}, {"当選金額 falling", 11, Qt::DescendingOrder},
        {"book order", -1, Qt::AscendingOrder},
    };
    std::vector<FindTiming> best(steps.size());
    for (int run = 0; run < runs; ++run) {
        QtUiServices ui;
        FormMain window(ui);
        if (!window.load_book(path))
            std::fprintf(stderr, "the book did not load\n");
        window.show();
        window.select_row(window.list()->model()->rowCount() / 2);
        QApplication::processEvents();
        QHeaderView *headings = window.list()->header();
        for (size_t i = 0; i < steps.size(); ++i) {
            QElapsedTimer timer;
            timer.start();
            // What a click on the heading does once Qt has worked out the new order.
            headings->setSortIndicator(steps[i].column, steps[i].order);
            const double sorted = ms_since(timer);
            QApplication::processEvents();
            (void)window.list()->viewport()->grab();
            best[i].refilter_ms = std::min(best[i].refilter_ms, sorted);
            best[i].painted_ms = std::min(best[i].painted_ms, ms_since(timer));
            best[i].rows = window.list()->model()->rowCount();
        }
    }
    std::printf("\nsorting the full book by a heading (aim 50 ms)\n");
    std::printf("click                    rows   sort ms   sort+paint ms\n");
    double worst = 0;
    for (size_t i = 0; i < steps.size(); ++i) {
        // The names hold multibyte characters: pad by what the terminal shows.
        const QString name = QString::fromUtf8(steps[i].what);
        int shown = 0;
        for (const QChar c : name)
            shown += c.unicode() >= 0x1100 ? 2 : 1;
        std::printf("%s%*s %5d   %7.2f   %13.2f\n", steps[i].what, std::max(0, 22 - shown), "", best[i].rows,
                    best[i].refilter_ms, best[i].painted_ms);
        worst = std::max(worst, best[i].painted_ms);
    }
    std::printf("slowest click, painted: %.2f ms\n", worst);
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
    report_find(full_path);
    report_sort(full_path);
    return 0;
}
