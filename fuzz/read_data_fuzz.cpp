// Feeds arbitrary bytes to the book reader. Whatever it accepts must grade, show and
// dump without fault, and must save to bytes that read back to the same book.
#include "book/book_file.h"
#include "cli/book_json.h"
#include "results/entry_row.h"
#include "results/winning_check.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    BookReadResult read = parse_book(bytes, QStringLiteral("fuzz.yrm"));
    if (!read.outcome.ok)
        return 0;
    TicketBook &book = read.book;
    for (int i = 0; i < book.entry_count(); ++i) {
        result_chk(book, i);
        entry_row_texts(book.entries[static_cast<size_t>(i)]);
    }
    book_to_json(book);
    const QByteArray saved = serialize_book(book);
    const BookReadResult again = parse_book(saved, QStringLiteral("fuzz.yrm"));
    if (!again.outcome.ok || serialize_book(again.book) != saved)
        std::abort();
    return 0;
}
