#pragma once

#include "book/ticket_book.h"

#include <QString>
#include <vector>

// The targets the placement dialog offers: 新規追加 first, then the book's entries of the
// downloaded kind in book order.
struct DownloadTargets {
    std::vector<int> entries; // entry index of target 1, 2, …
    int preselected = 0;      // 0 = 新規追加
};
// The first entry whose label has the downloaded round's number as its numeric value
// (123 and 0123 alike) is preselected.
DownloadTargets download_targets(const TicketBook &book, const RoundEntry &round);

// The text of a result or score code in the confirmation views.
QString chg_kekka(Family family, int code);

// What the confirmation shows under 当選金額 for grade g (1..6): the prize with 円, 払戻 or 未定.
QString prize_text(const RoundEntry &round, int grade);
