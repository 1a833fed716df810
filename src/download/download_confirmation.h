#pragma once

#include "book/ticket_book.h"

#include <QString>
#include <optional>
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
// What was received, as the placement dialog names it: "第1611回 totoGOAL".
QString received_caption(const RoundEntry &round);
// A target as the placement dialog lists it: 回, 種別, its first match or team and its
// tickets ("1611  totoGOAL  鹿島  購入 5口").
QString target_caption(const TicketBook &book, int entry);
// Whether the book already holds a round of the downloaded round's kind and number.
bool holds_round(const TicketBook &book, const RoundEntry &round);

// The text of a result or score code in the confirmation views.
QString chg_kekka(Family family, int code);

// What the confirmation shows under 当選金額 for grade g (1..6): the prize with 円, 払戻 or 未定.
QString prize_text(const RoundEntry &round, int grade);
