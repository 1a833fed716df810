#pragma once

#include "book/csv_import.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// What CSV読み込み確認 shows of the staged rows of an import.

// One staged row as the confirmation shows it.
struct CsvRowView {
    QString item; // "シングル", "マルチ" or "結果"
    QString line; // a purchase's ticket line, as the book will hold it; empty for results
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

CsvRowView csv_row_view(const CsvRow &row, LotteryKind kind);
// One view per staged row, in order.
std::vector<CsvRowView> csv_row_views(const CsvImport &staged);

// What OK does to the entry the import goes to, said beneath where the tickets go.
struct CsvEffect {
    // What the file adds: "シングル 2件・マルチ 1件（11口）を追加します（追加後 購入 5件（16口））。",
    // or "券は追加しません。".
    QString adds;
    // Of those, the tickets the round holds already, one for one (a file read twice):
    // "うち 3件は、この回に既にある券と同じです（読み込み直すと券が重複します）。"; "" when none.
    QString repeats;
    // Whether the file's results line replaces the round's results and prizes:
    // "結果と当選金額を、ファイルの結果の行で置き換えます（今は 13試合中 8試合決定・当選金額 未定）。",
    // or "結果と当選金額はそのままです。".
    QString replaces;
};

// Linear in the round's and the file's tickets.
CsvEffect csv_effect(const TicketBook &book, const CsvImport &staged, const std::vector<CsvRowView> &views);

QString csv_confirm_caption();   // "CSV読み込み確認"
QString csv_cell_text(bool set); // "○" or "－"
