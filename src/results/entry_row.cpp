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

QString entry_column_heading(int column)
{
    constexpr int kFirstGradeColumn = 4;
    static const std::array<const char16_t *, kListColumns> kFixed = {
        u"回",   u"種別", u"購入口数", u"購入金額", nullptr,   nullptr,
        nullptr, nullptr, nullptr,     nullptr,     u"はずれ", u"当選金額",
    };
    const char16_t *fixed = kFixed[static_cast<size_t>(column)];
    return fixed ? QString::fromUtf16(fixed) : grade_name(column - kFirstGradeColumn + 1);
}
