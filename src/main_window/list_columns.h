#pragma once

#include "results/entry_row.h"

#include <array>

class QFontMetrics;

// Widths of the main list's columns, measured in the list's font so that every label of
// ten bytes, every kind name and every amount the book can hold shows whole; the count
// columns take counts of up to six digits, "未確定" and their headings.
std::array<int, kListColumns> list_column_widths(const QFontMetrics &cells, const QFontMetrics &header);

// Height of a row: the font's line with room above and below, Japanese text included.
int list_row_height(const QFontMetrics &cells);
