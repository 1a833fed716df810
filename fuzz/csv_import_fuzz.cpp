// Feeds arbitrary bytes to the round CSV import against a book with one round of every
// kind. Whatever it stages must apply all or nothing, keep the book's structure, save to
// bytes the book reader accepts, and export to a file the import takes back.
#include "book/book_file.h"
#include "book/book_invariants.h"
#include "book/csv_cells.h"
#include "book/csv_export.h"
#include "book/csv_import.h"
#include "entry/csv_confirmation.h"

#include <cstdint>
#include <cstdlib>

namespace {

TicketBook make_book()
{
    TicketBook book;
    for (int code = 0; code < kKindCount; ++code) {
        RoundEntry e;
        e.kind = kind_from_code(code);
        e.kai = BookText("1");
        add_entry(book, e);
        // One purchase already there, so imported ones link after it.
        SinglePurchase single;
        add_single(book, code, single);
    }
    return book;
}

bool same_book(const TicketBook &a, const TicketBook &b)
{
    return a.entries == b.entries && a.singles == b.singles && a.multis == b.multis &&
           a.goal_singles == b.goal_singles && a.goal_multis == b.goal_multis;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const TicketBook original = make_book();
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    // Read in two chunks, as from a file, the lines are those of the whole.
    if (size > 0) {
        const auto cut = static_cast<qsizetype>(data[0] % size);
        std::vector<QByteArray> lines;
        CsvLineSplitter splitter(kMaxCsvLineBytes);
        const auto keep = [&](QByteArrayView line) {
            lines.push_back(line.toByteArray());
            return true;
        };
        const bool whole = splitter.feed(QByteArrayView(bytes).first(cut), keep) &&
                           splitter.feed(QByteArrayView(bytes).sliced(cut), keep) && splitter.finish(keep);
        const std::vector<QByteArray> expected = csv_lines(bytes);
        bool short_lines = true;
        for (const QByteArray &line : expected)
            short_lines = short_lines && line.size() <= kMaxCsvLineBytes;
        if (whole != short_lines || (whole && lines != expected))
            std::abort();
    }
    const CsvImport staged = parse_csv(bytes, original);
    if (!staged.outcome.ok)
        return 0;
    if (csv_row_views(staged).size() != staged.csv_rows.size())
        std::abort();
    TicketBook book = original;
    if (!apply_round_update(book, csv_update(book, staged)).ok) {
        if (!same_book(book, original))
            std::abort();
        return 0;
    }
    if (!check_invariants(book).ok ||
        !parse_book(serialize_book(book), QStringLiteral("fuzz.yrm")).outcome.ok)
        std::abort();
    const CsvExport exported = export_csv(book, staged.entry);
    if (!exported.outcome.ok || !parse_csv(exported.bytes, original).outcome.ok)
        std::abort();
    return 0;
}
