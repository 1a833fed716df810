// Times saving, and loading with grading, of a maximal book and of one half its size.
// Both costs should grow linearly: the full/half ratios are expected near 2.
#include "best_ms.h"
#include "book/book_file.h"
#include "book/book_history.h"
#include "maximal_book.h"
#include "results/winning_check.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>

namespace {

struct Timing {
    double write_ms;
    double read_ms;
    qint64 bytes;
};

Timing measure(const TicketBook &book, const QString &path)
{
    Timing t{};
    t.write_ms = best_ms([&] {
        if (!write_data(book, path).ok)
            std::fprintf(stderr, "save failed\n");
    });
    t.bytes = QFileInfo(path).size();
    t.read_ms = best_ms([&] {
        BookReadResult read = read_data(path);
        if (!read.outcome.ok || read.book.entry_count() != book.entry_count())
            std::fprintf(stderr, "read failed\n");
        grade_book(read.book);
        volatile int64_t won = static_cast<int64_t>(book_totals(read.book).won);
        (void)won;
    });
    return t;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("TEMP", dir.path().toLocal8Bit());
    const TicketBook full = maximal_book(kMaxRecords, kMaxRecords);
    const TicketBook half = maximal_book(kMaxRecords / 2, kMaxRecords / 2);
    const Timing f = measure(full, dir.filePath(QStringLiteral("full.yrm")));
    const Timing h = measure(half, dir.filePath(QStringLiteral("half.yrm")));
    std::printf("book                          entries  file bytes   write ms   read+grade ms\n");
    std::printf("full (pools at %5d records)  %7d  %10lld  %9.1f  %14.1f\n", kMaxRecords, full.entry_count(),
                static_cast<long long>(f.bytes), f.write_ms, f.read_ms);
    std::printf("half (pools at %5d records)  %7d  %10lld  %9.1f  %14.1f\n", kMaxRecords / 2,
                half.entry_count(), static_cast<long long>(h.bytes), h.write_ms, h.read_ms);
    std::printf("ratio full/half: write %.2f, read+grade %.2f (linear cost gives about 2)\n",
                f.write_ms / h.write_ms, f.read_ms / h.read_ms);

    // What telling another program's change costs: the hash a read or a save takes of the
    // bytes, and the check before a replace (the file read again and hashed).
    const QString path = dir.filePath(QStringLiteral("full.yrm"));
    const QByteArray bytes = serialize_book(full);
    const double hash_ms = best_ms([&] {
        volatile uint64_t h = stamp_of(path, bytes).hash[0];
        (void)h;
    });
    const FileStamp seen = stamp_of(path, bytes);
    const double check_ms = best_ms([&] {
        if (!still_matches(path, seen))
            std::fprintf(stderr, "the file changed\n");
    });
    std::printf("full: stamp of the bytes %.2f ms, check before replacing %.2f ms\n", hash_ms, check_ms);

    // What a step writing every single of the full pool keeps once it is over, against what
    // the history's bound counts of it.
    TicketBook book = full;
    const size_t heap_before = mallinfo2().uordblks;
    BookStep step;
    start_recording(book, step);
    for (size_t i = 0; i < book.singles.size(); ++i)
        book.singles[i].picks[0] ^= 1;
    stop_recording(book);
    const size_t held = mallinfo2().uordblks - heap_before;
    std::printf("step writing %zu records: the bound counts %zu bytes, the step holds %zu bytes\n",
                book.singles.size(), step.bytes(), held);
    return 0;
}
