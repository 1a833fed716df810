#pragma once

#include "book/ticket_book.h"

#include <QString>
#include <array>

inline constexpr int kListColumns = 12;

// The twelve column texts of an entry's row in the main list, from its stored fields:
// 回, 種別, 購入口数, 購入金額, １等..６等, はずれ, 当選金額.
std::array<QString, kListColumns> entry_row_texts(const RoundEntry &entry);
// One of those texts, column 0..11.
QString entry_column_text(const RoundEntry &entry, int column);
// The heading of a column; the grade columns are named after the grades.
QString entry_column_heading(int column);
