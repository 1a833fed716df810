#pragma once

#include "book/ticket_book.h"

#include <QString>

// Plain decimal digits, minus sign when negative.
QString integer_text(WideInt value);
// Whole yen formatted "#,0": thousands separated by commas, minus sign when negative.
QString format_yen(WideInt amount);
