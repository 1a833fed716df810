#include "results/entry_row.h"

#include "platform/shift_jis.h"
#include "results/winning_check.h"

std::array<QString, kListColumns> entry_row_texts(const RoundEntry &entry)
{
    std::array<QString, kListColumns> row;
    row[0] = entry.kai.text();
    row[1] = kind_display_name(entry.kind);
    row[2] = QString::number(entry.tickets);
    row[3] = format_yen(bought_amount(entry));
    for (int g = 1; g <= 6; ++g)
        row[static_cast<size_t>(3 + g)] = grade_cell_text(entry, g);
    row[10] = grade_cell_text(entry, kLosingColumn);
    row[11] = won_cell_text(entry);
    return row;
}
