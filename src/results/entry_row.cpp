#include "results/entry_row.h"

#include "results/winning_check.h"

QString entry_column_text(const RoundEntry &entry, int column)
{
    switch (column) {
    case 0: return entry.kai.text();
    case 1: return kind_display_name(entry.kind);
    case 2: return QString::number(entry.tickets);
    case 3: return format_yen(bought_amount(entry));
    case 10: return grade_cell_text(entry, kLosingColumn);
    case 11: return won_cell_text(entry);
    default: return grade_cell_text(entry, column - 3); // columns 4..9: grades 1..6
    }
}

std::array<QString, kListColumns> entry_row_texts(const RoundEntry &entry)
{
    std::array<QString, kListColumns> row;
    for (int c = 0; c < kListColumns; ++c)
        row[static_cast<size_t>(c)] = entry_column_text(entry, c);
    return row;
}
