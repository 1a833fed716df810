#pragma once

#include "book/outcome.h"
#include "book/ticket_book.h"

#include <QByteArray>
#include <QString>

// One round as a CSV file: the header (label and kind code), one line per purchase in
// chain order, then the results line with the prize cells. Shift-JIS, lines ended by
// CR LF.
struct CsvExport {
    Outcome outcome;
    QByteArray bytes;
};

// The file's bytes for entry `entry` (0-based); fails when there is no such entry.
CsvExport export_csv(const TicketBook &book, int entry);

// Writes export_csv's bytes to `path`; the file is replaced only once it is completely on
// disk. Refused when `path` is the book file `book_path` itself.
Outcome save_csv(const TicketBook &book, int entry, const QString &path, const QString &book_path);

// The name the export proposes for a round: its label and kind, "1612_toto.csv" ("第１２３回"
// and "mini toto-A" give "第１２３回_minitoto-A.csv").
QString csv_file_name(const RoundEntry &round);

// The export needs a round to write.
QString csv_no_entry_message();
