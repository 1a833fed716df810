// Times the main window's commands on large books (offscreen): opening the review dialog and
// dropping its ticket list down, changing a result and regrading, deleting the first ticket
// of a long chain, deleting the first round, moving a row. Each figure is the best of a few runs on a freshly
// loaded book. Then まとめて入力 of 32,767 single lines for one round: reading and adding them through the
// document, and pasting them into the dialog.
#include "book/book_file.h"
#include "book/ticket_lines.h"
#include "entry/form_quick.h"
#include "main_window/form_main.h"
#include "maximal_book.h"
#include "results/winning_check.h"
#include "ui/ui_services.h"
#include "yes_ui.h"
#ifdef YORIMO_BATCH_ROWS
#include "batch_rows.h"
#endif

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// Answers every question with yes and never blocks.

double ms_since(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Runs `command`, which opens a modal dialog, and `drive` on that dialog once it is up; a
// dialog left open is cancelled.
void with_dialog(const std::function<void()> &command, const std::function<void(QDialog *)> &drive)
{
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            std::fprintf(stderr, "no dialog\n");
            return;
        }
        drive(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    command();
}

void click(QWidget *dialog, const char *name)
{
    auto *button = dialog->findChild<QAbstractButton *>(QLatin1String(name));
    if (!button) {
        std::fprintf(stderr, "no control %s\n", name);
        return;
    }
    button->click();
}

QAction *action(FormMain &window, const char *name)
{
    return window.findChild<QAction *>(QLatin1String(name));
}

// A step that did not do its work makes its figure meaningless.
void expect(bool done, const char *what)
{
    if (!done)
        std::fprintf(stderr, "not done: %s\n", what);
}

// One timed step on a window holding the book at `path` with row `row` selected.
using Step = std::function<double(FormMain &)>;

double best_of(const QString &path, int row, const Step &step, int runs = 3)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        YesUi ui;
        FormMain window(ui);
        if (!window.load_book(path)) {
            std::fprintf(stderr, "the book did not load\n");
            return -1;
        }
        window.show();
        window.select_row(row);
        QApplication::processEvents();
        best = std::min(best, step(window));
    }
    return best;
}

double open_review(FormMain &window)
{
    QElapsedTimer timer;
    double shown = 0;
    timer.start();
    with_dialog([&] { action(window, "menu_kakunin")->trigger(); },
                [&](QDialog *) { shown = ms_since(timer); });
    return shown;
}

// The review's ticket list dropped down over a round's items, from the key to its paint.
double open_item_list(FormMain &window)
{
    double shown = 0;
    with_dialog([&] { action(window, "menu_kakunin")->trigger(); },
                [&](QDialog *d) {
                    auto *items = d->findChild<QComboBox *>(QStringLiteral("cmb_kind"));
                    QElapsedTimer timer;
                    timer.start();
                    items->showPopup();
                    QApplication::processEvents();
                    shown = ms_since(timer);
                    expect(items->view()->isVisible(), "drop the list down");
                    items->hidePopup();
                });
    return shown;
}

double change_result(FormMain &window)
{
    QElapsedTimer timer;
    timer.start();
    with_dialog([&] { action(window, "menu_result")->trigger(); },
                [&](QDialog *d) {
                    click(d, "opt_draw_0");
                    click(d, "cmd_ok");
                });
    const double ms = ms_since(timer);
    expect(window.state().current_entry().matches[0].result == kDraw, "change a result");
    return ms;
}

double delete_first_ticket(FormMain &window)
{
    const int64_t tickets = window.state().current_entry().tickets;
    QElapsedTimer timer;
    timer.start();
    with_dialog([&] { action(window, "menu_kakunin")->trigger(); },
                [&](QDialog *d) {
                    d->findChild<QComboBox *>(QStringLiteral("cmb_kind"))->setCurrentIndex(1);
                    click(d, "cmd_del");
                    click(d, "cmd_ok");
                });
    const double ms = ms_since(timer);
    expect(window.state().current_entry().tickets < tickets, "delete the first ticket");
    return ms;
}

double delete_round(FormMain &window)
{
    const int rows = window.list()->model()->rowCount();
    QElapsedTimer timer;
    timer.start();
    with_dialog([&] { action(window, "menu_kakunin")->trigger(); }, [&](QDialog *d) { click(d, "cmd_del"); });
    const double ms = ms_since(timer);
    expect(window.list()->model()->rowCount() == rows - 1, "delete the first round");
    return ms;
}

double move_up(FormMain &window)
{
    QElapsedTimer timer;
    timer.start();
    window.findChild<QPushButton *>(QStringLiteral("cmd_up"))->click();
    QApplication::processEvents();
    const double ms = ms_since(timer);
    expect(window.selected_entry() == 0, "move a row up");
    return ms;
}

// The command, then its undo (and with `redo` the redo after it), timed on their own.
Step undo_of(const Step &command, bool redo)
{
    return [command, redo](FormMain &window) {
        command(window);
        const auto timed = [&](const char *name) {
            QElapsedTimer timer;
            timer.start();
            action(window, name)->trigger();
            QApplication::processEvents();
            return ms_since(timer);
        };
        const double undo = timed("menu_undo");
        expect(window.state().document.can_redo(), "undo the command");
        if (!redo)
            return undo;
        const double again = timed("menu_redo");
        expect(!window.state().document.can_redo(), "redo the command");
        return again;
    };
}

// One toto round, every result a home win, with `count` singles or multis.
TicketBook long_chain_book(int count, bool multis)
{
    SinglePurchase single;
    single.picks.fill(kHomeWin);
    MultiPurchase multi;
    for (int s = 0; s < 13; ++s)
        multi.marks[static_cast<size_t>(s)] = {true, s < 2, false, false};
    const NewPurchase one = multis ? NewPurchase(multi) : NewPurchase(single);
    return decided_toto_book("1", std::vector<NewPurchase>(static_cast<size_t>(count), one));
}

// `count` single lines for a toto round, the picks varying from line to line.
QString single_lines(int count)
{
    QString text;
    text.reserve(count * 27);
    for (int i = 0; i < count; ++i) {
        for (int s = 0; s < 13; ++s) {
            if (s > 0)
                text += u' ';
            text += QChar(u'0' + (i >> s) % 3);
        }
        text += u'\n';
    }
    return text;
}

// Reads the lines and adds them to the empty round of the book at `path` through the
// document, as the dialog's OK and yorimo-cli add do.
double parse_and_add(const QString &path, const QString &text)
{
    BookDocument document(result_chk);
    if (!document.open(path).ok)
        return -1;
    QElapsedTimer timer;
    timer.start();
    const ParsedTickets parsed = parse_ticket_lines(text, LotteryKind::toto);
    const bool added = parsed.valid() && document.add_tickets(0, parsed.purchases).ok;
    const double ms = ms_since(timer);
    expect(added && document.book().entries[0].tickets == kMaxRecords, "parse and add the lines");
    return ms;
}

struct PasteTimes {
    double paste = 0; // the paste itself: the text box takes the text, nothing is read yet
    double parse = 0; // reading the lines after the pause, with the summary and the marks
    double ok = 0;    // OK: adding them and repainting the window
};

PasteTimes paste_into_dialog(const QString &path, const QString &text)
{
    PasteTimes times;
    YesUi ui;
    FormMain window(ui);
    if (!window.load_book(path))
        return times;
    window.show();
    window.select_row(0);
    QApplication::processEvents();
    with_dialog([&] { action(window, "menu_quick")->trigger(); },
                [&](QDialog *d) {
                    auto *quick = qobject_cast<FormQuick *>(d);
                    auto *box = d->findChild<QPlainTextEdit *>(QStringLiteral("txt_lines"));
                    QElapsedTimer timer;
                    timer.start();
                    box->insertPlainText(text);
                    QApplication::processEvents();
                    times.paste = ms_since(timer);
                    expect(quick->parse_pending(), "the reading waits for the pause");
                    timer.restart();
                    quick->parse_now();
                    QApplication::processEvents();
                    times.parse = ms_since(timer);
                    timer.restart();
                    click(d, "cmd_ok");
                    QApplication::processEvents();
                    times.ok = ms_since(timer);
                });
    expect(window.state().book().entries[0].tickets == kMaxRecords, "OK adds the pasted lines");
    return times;
}

// まとめて入力 of 32,767 single lines for one empty toto round.
void bench_quick_entry(const QTemporaryDir &dir)
{
    const QString empty_round = dir.filePath(QStringLiteral("empty.yrm"));
    if (!write_data(long_chain_book(0, false), empty_round).ok) {
        std::fprintf(stderr, "could not write the book\n");
        return;
    }
    const QString text = single_lines(kMaxRecords);
    double add = 1e300;
    PasteTimes paste{1e300, 1e300, 1e300};
    for (int i = 0; i < 3; ++i) {
        add = std::min(add, parse_and_add(empty_round, text));
        const PasteTimes t = paste_into_dialog(empty_round, text);
        paste = {std::min(paste.paste, t.paste), std::min(paste.parse, t.parse), std::min(paste.ok, t.ok)};
    }
    std::printf("\nまとめて入力, 32767 single lines (%lld characters) for one toto round (ms, best of 3)\n",
                static_cast<long long>(text.size()));
    std::printf("  read and add through the document     %8.1f\n", add);
    std::printf("  dialog: paste into the text box       %8.1f\n", paste.paste);
    std::printf("  dialog: read after the pause          %8.1f\n", paste.parse);
    std::printf("  dialog: OK (add, grade, repaint)      %8.1f\n", paste.ok);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#ifdef YORIMO_BATCH_ROWS
    // --batch: the 結果を一括更新 rows alone.
    if (app.arguments().contains(QStringLiteral("--batch"))) {
        print_batch_rows();
        return 0;
    }
#endif
    QTemporaryDir dir;
    qputenv("TEMP", dir.path().toLocal8Bit());
    // --quick-entry: the まとめて入力 figures alone.
    if (argc > 1 && qstrcmp(argv[1], "--quick-entry") == 0) {
        bench_quick_entry(dir);
        return 0;
    }

    const QString maximal = dir.filePath(QStringLiteral("maximal.yrm"));
    const QString singles = dir.filePath(QStringLiteral("singles.yrm"));
    const QString multis = dir.filePath(QStringLiteral("multis.yrm"));
    if (!write_data(maximal_book(), maximal).ok ||
        !write_data(long_chain_book(kMaxRecords, false), singles).ok ||
        !write_data(long_chain_book(kMaxRecords, true), multis).ok) {
        std::fprintf(stderr, "could not write the books\n");
        return 1;
    }

    constexpr int kMaximalToto = 11; // a toto round with results in the maximal book
    std::printf(
        "command                              maximal   32767 singles   32767 multis   (ms, best of 3)\n");
    auto line = [&](const char *name, int maximal_row, const Step &step, bool chains) {
        const double m = maximal_row >= 0 ? best_of(maximal, maximal_row, step) : -1;
        const double s = chains ? best_of(singles, 0, step) : -1;
        const double u = chains ? best_of(multis, 0, step) : -1;
        auto cell = [](double v) { return v < 0 ? QByteArray("-") : QByteArray::number(v, 'f', 1); };
        std::printf("%-36s %8s %15s %14s\n", name, cell(m).constData(), cell(s).constData(),
                    cell(u).constData());
    };
    line("open the review dialog", kMaximalToto, open_review, true);
    line("  drop its ticket list down", kMaximalToto, open_item_list, true);
    line("change a result, OK (regrade)", kMaximalToto, change_result, true);
    line("delete the first ticket, OK", kMaximalToto, delete_first_ticket, true);
    line("delete the first round", 0, delete_round, false);
    line("move a row up", 1, move_up, false);
    line("  undo the result change", kMaximalToto, undo_of(change_result, false), true);
    line("  redo the result change", kMaximalToto, undo_of(change_result, true), true);
    line("  undo the ticket deletion", kMaximalToto, undo_of(delete_first_ticket, false), true);
    line("  redo the ticket deletion", kMaximalToto, undo_of(delete_first_ticket, true), true);
    line("  undo the round deletion", 0, undo_of(delete_round, false), false);
    line("  redo the round deletion", 0, undo_of(delete_round, true), false);
    line("  undo the move", 1, undo_of(move_up, false), false);

    bench_quick_entry(dir);
#ifdef YORIMO_BATCH_ROWS
    print_batch_rows();
#endif
    return 0;
}
