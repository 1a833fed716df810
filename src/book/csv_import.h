#pragma once

#include "book/outcome.h"
#include "book/ticket_book.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// Importing a round CSV file happens in two steps: parse_csv stages every line without
// touching the book, the user confirms what was staged, and apply_csv writes it into the
// entry. Nothing of a file that fails to parse, or that would not fit, reaches the book.

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
    int state = kPrizeUndecided;     // of an "R" line
    int prize_count = 0;             // prize cells that follow, when state is 1
    std::array<int32_t, 6> prizes{}; // 0 beyond prize_count

    bool operator==(const CsvRow &) const = default;
};

// What the confirmation shows for one staged row, worked out once at parse time.
struct CsvRowView {
    QString item; // "シングル", "マルチ" or "結果"
    // Per used slot and cell (home, draw, away; or 0..3 goals): "○" when set, else "－".
    std::array<std::array<bool, 4>, kMaxSlots> cells{};
    bool counters_shown = true; // hidden for a results row
    int doubles = 0;
    int triples = 0;
    int64_t combos = 0;
    // Results rows. With state 1 one "#,0円" text per grade 1..prize_count, each with its
    // grade label; with state 0 or 2 the one text "未定" or "払戻", shown alone in the
    // amount label of 1等. Empty for purchases.
    std::vector<QString> prize_texts;
    bool grade_labels_shown = false;
};

struct CsvImport {
    Outcome outcome;
    int entry = -1; // the entry the rows go to (the window makes it current)
    QString label;  // the header's label, as written
    LotteryKind kind = LotteryKind::toto;
    std::vector<CsvRow> csv_rows;
    std::vector<CsvRowView> views; // one per row of csv_rows
};

// Stages a CSV file's bytes for the book: finds the first entry of the header's kind
// whose label has the same number, and parses every further line. Any fault gives
// csv_failed_message() and nothing staged.
CsvImport parse_csv(const QByteArray &bytes, const TicketBook &book);
// The same from a file; an empty book fails before the file is opened.
CsvImport read_csv(const QString &path, const TicketBook &book);

// Whether applying keeps the book within its limits: records per pool, and the entry's
// tickets within 32 bits. Fails with out_of_memory_message().
Outcome csv_fits(const TicketBook &book, const CsvImport &staged);

// Appends the staged purchases after the entry's own (in linear time) and writes the
// staged results and prizes. All or nothing: when csv_fits fails the book is untouched.
// The caller marks the book changed and grades the entry.
Outcome apply_csv(TicketBook &book, const CsvImport &staged);

QString csv_failed_message();    // "CSV読み込み失敗"
QString csv_failed_title();      // the title of that message box: "yorimo"
QString csv_confirm_caption();   // "CSV読み込み確認"
QString csv_cell_text(bool set); // "○" or "－"
