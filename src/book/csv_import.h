#pragma once

#include "book/outcome.h"
#include "book/round_update.h"
#include "book/ticket_book.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// Importing a round CSV file happens in two steps: parse_csv stages every line without
// touching the book, the user confirms what was staged, and its update (csv_update) goes
// to the book's one door for rounds from outside. Nothing of a file that fails to parse, or
// that would not fit, reaches the book.

enum CsvRowType : int { kCsvSingle = 0, kCsvMulti = 1, kCsvResults = 2 };

// One staged line after the header.
struct CsvRow {
    int row_type = kCsvSingle;
    // Picks of an "S" line or result cells of an "R" line per used slot, as written in
    // the file: match kinds "1" home win, "2" away win, "0" draw, and in an "R" line "4"
    // cancelled, "5" not entered; goal kinds 0..3 goals, "4" and "5" likewise.
    std::array<int16_t, kMaxSlots> values{};
    // Marks of an "M" line per used slot, in memory order (home, draw, away; 0..3 goals).
    std::array<std::array<bool, 4>, kMaxSlots> marks{};
    // Counted from `marks` once, when an "M" line is read (count_multi).
    int doubles = 0;
    int triples = 0;
    int64_t combos = 0;
    int state = kPrizeUndecided;     // of an "R" line
    int prize_count = 0;             // prize cells that follow, when state is 1
    std::array<int32_t, 6> prizes{}; // 0 beyond prize_count

    bool operator==(const CsvRow &) const = default;
};

struct CsvImport {
    Outcome outcome;
    int entry = -1; // the entry the rows go to (the window makes it current)
    QString label;  // the header's label, as written
    LotteryKind kind = LotteryKind::toto;
    std::vector<CsvRow> csv_rows;
    QString detail; // of a failure: the line and why ("3行目: 行の種類が読めません")
};

// How large a file the import reads at all. The longest line the export writes is 105
// bytes (a toto multi of 13 triples); a spreadsheet that quotes every cell makes it 211,
// so 512 bytes leave room for blanks and leading zeros. A file that fits the book holds
// the header, at most 32,767 singles and 32,767 multis (one pool each), and results
// lines, each overwriting the last, of which at most 32,767 are taken: 98,302 lines of at
// most 514 bytes with their CR LF, 50,527,228 bytes (48.2 MiB). Anything larger, or with
// a longer line or more results lines, is refused unread with csv_failed_message(); the
// rows staged for the largest file take about 13 MB.
inline constexpr qsizetype kMaxCsvLineBytes = 512;
inline constexpr int64_t kMaxCsvResultsLines = kMaxRecords;
inline constexpr int64_t kMaxCsvLines = 1 + 2 * int64_t{kMaxRecords} + kMaxCsvResultsLines;
inline constexpr int64_t kMaxCsvBytes = kMaxCsvLines * (kMaxCsvLineBytes + 2);

// Stages a CSV file's bytes for the book: finds the first entry of the header's kind
// whose label has the same number, and parses every further line. A fault gives
// csv_failed_message(); lines that could no longer fit the book (purchases_fit) stop the
// reading with the book's refusal. Either way nothing is staged.
CsvImport parse_csv(const QByteArray &bytes, const TicketBook &book);
// The same from a file, read in chunks so that memory stays bounded whatever its size;
// an empty book fails before the file is opened, a file beyond kMaxCsvBytes before it is
// read.
CsvImport read_csv(const QString &path, const TicketBook &book);

// The purchase an "S" or "M" row adds, as the book holds it.
NewPurchase csv_purchase(const CsvRow &row, LotteryKind kind);

// What the staged rows do to the entry, as one update: the purchases appended after the
// entry's own, the last results line's results and prizes; refused when applied if the
// staged entry is no longer one of its kind.
RoundUpdate csv_update(const TicketBook &book, const CsvImport &staged);

QString csv_failed_message(); // "CSV読み込み失敗"
