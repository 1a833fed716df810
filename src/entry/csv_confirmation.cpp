#include "entry/csv_confirmation.h"

#include "book/amount_text.h"
#include "entry/ticket_lines.h"

#include <variant>

CsvRowView csv_row_view(const CsvRow &row, LotteryKind kind)
{
    CsvRowView v;
    const int width = marks_per_slot(kind);
    const int n = slot_count(kind);
    if (row.row_type != kCsvResults)
        v.line = std::visit([kind](const auto &p) { return ticket_line(p, kind); }, csv_purchase(row, kind));
    if (row.row_type == kCsvMulti) {
        v.item = QStringLiteral("マルチ");
        v.cells = row.marks;
        v.doubles = row.doubles;
        v.triples = row.triples;
        v.combos = row.combos;
        return v;
    }
    // A cell is set when the value names its outcome; a cancelled slot (4) sets them all.
    for (int s = 0; s < n; ++s) {
        const int value = row.values[static_cast<size_t>(s)];
        for (int m = 0; m < width; ++m) {
            const int name = is_match_kind(kind) ? kMatchOutcomes[static_cast<size_t>(m)].file_code : m;
            v.cells[static_cast<size_t>(s)][static_cast<size_t>(m)] =
                value == name || value == kFileCancelled;
        }
    }
    if (row.row_type == kCsvSingle) {
        v.item = QStringLiteral("シングル");
        v.combos = 1;
        return v;
    }
    v.item = QStringLiteral("結果");
    v.counters_shown = false;
    if (row.state == kPrizeUndecided) {
        v.prize_texts = {QStringLiteral("未定")};
    } else if (row.state == kPrizeRefund) {
        v.prize_texts = {QStringLiteral("払戻")};
    } else {
        v.grade_labels_shown = true;
        for (int g = 0; g < row.prize_count; ++g)
            v.prize_texts.push_back(format_yen(row.prizes[static_cast<size_t>(g)]) + QStringLiteral("円"));
    }
    return v;
}

std::vector<CsvRowView> csv_row_views(const CsvImport &staged)
{
    std::vector<CsvRowView> views;
    views.reserve(staged.csv_rows.size());
    for (const CsvRow &row : staged.csv_rows)
        views.push_back(csv_row_view(row, staged.kind));
    return views;
}

QString csv_confirm_caption()
{
    return QStringLiteral("CSV読み込み確認");
}

QString csv_cell_text(bool set)
{
    return set ? QStringLiteral("○") : QStringLiteral("－");
}
