// The round CSV commands: export-csv and import-csv, through the window's own logic.
#include "book/book_document.h"
#include "book/book_file.h"
#include "book/csv_export.h"
#include "book/csv_import.h"
#include "book/message_text.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "platform/file_ops.h"
#include "results/winning_check.h"

int cli_export_csv(const QStringList &args)
{
    if (args.size() != 3)
        return kUsageFault;
    const BookReadResult read = read_data(args[0]);
    if (!read.outcome.ok)
        return fail(read.outcome);
    const std::optional<int> entry = entry_of_row(read.book, args[1]);
    if (!entry)
        return fail(csv_no_entry_message());
    // The window asks before a CSV file replaces another book; a script cannot be asked.
    if (!is_same_file(args[2], args[0]) && is_book_file(args[2]))
        return fail(QStringLiteral("「%1」はｙｏｒｉｍｏのデータです。CSVファイルで置き換えません。")
                        .arg(escape_controls(file_name_of(args[2]))));
    const Outcome saved = save_csv(read.book, *entry, args[2], args[0]);
    return saved.ok ? 0 : fail(saved);
}

int cli_import_csv(const QStringList &args)
{
    if (args.size() != 2)
        return kUsageFault;
    BookDocument document(result_chk);
    if (!open_for_writing(document, args[0]))
        return 1;
    const CsvImport staged = read_csv(args[1], document.book());
    if (!staged.outcome.ok)
        return fail(staged.outcome.message);
    if (staged.csv_rows.empty())
        return 0; // a header alone changes nothing
    if (const Outcome applied =
            document.apply_updates(BookDocument::Source::csv, {csv_update(document.book(), staged)});
        !applied.ok)
        return fail(applied);
    const Outcome saved = document.save(args[0]);
    return saved.ok ? 0 : fail(saved);
}
