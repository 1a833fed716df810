// The round CSV commands: export-csv and import-csv, through the window's own logic.
#include "book/book_document.h"
#include "book/book_file.h"
#include "book/csv_export.h"
#include "book/csv_import.h"
#include "cli/cli_commands.h"

namespace {

int fail(const QString &message)
{
    print_utf8(stderr, message.toUtf8() + '\n');
    return 1;
}

} // namespace

int cli_export_csv(const QStringList &args)
{
    if (args.size() != 3)
        return kUsageFault;
    const BookReadResult read = read_data(args[0]);
    if (!read.outcome.ok)
        return fail(read.outcome.message);
    bool number = false;
    const int row = args[1].toInt(&number);
    if (!number || row < 1 || row > read.book.entry_count())
        return fail(csv_no_entry_message());
    // List row r shows entry r - 1.
    const Outcome saved = save_csv(read.book, row - 1, args[2]);
    return saved.ok ? 0 : fail(saved.message);
}

int cli_import_csv(const QStringList &args)
{
    if (args.size() != 2)
        return kUsageFault;
    BookDocument document;
    if (const Outcome opened = document.open(args[0]); !opened.ok)
        return fail(opened.message);
    const CsvImport staged = read_csv(args[1], document.book());
    if (!staged.outcome.ok)
        return fail(staged.outcome.message);
    if (staged.csv_rows.empty())
        return 0; // a header alone changes nothing
    if (const Outcome applied = document.import_csv(staged); !applied.ok)
        return fail(applied.message);
    const Outcome saved = document.save(args[0]);
    return saved.ok ? 0 : fail(saved.message);
}
