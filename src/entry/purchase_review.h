#pragma once

#include "book/ticket_book.h"

#include <QString>
#include <array>
#include <vector>

// What the review dialog shows, computed from the book.

// Value of item 0 (the round itself) in the item list.
inline constexpr int kRoundItem = -1;

struct ReviewItem {
    QString caption;        // "対象試合" or "対象チーム"; "シングル" or "マルチ"
    int value = kRoundItem; // 2 × pool index for a single, 2 × pool index + 1 for a multi
    QString line;           // the purchase in the ticket-line notation; "" for the round

    // What the item reads: its caption and line, "シングル 1 0 2 1 0 2 1 0 2 1 0 2 2", so
    // tickets of one kind tell themselves apart; the caption alone without a line.
    QString text() const;
};

// The item values of the entry's items: kRoundItem for item 0, then one per purchase in
// chain order. Nothing is formatted.
std::vector<int> review_item_values(const TicketBook &book, int entry);
// The item of value `value` of the entry.
ReviewItem review_item(const TicketBook &book, int entry, int value);
// Item 0, then one item per purchase of the entry in chain order.
std::vector<ReviewItem> review_items(const TicketBook &book, int entry);

struct ReviewCell {
    bool marked = false; // "○" rather than "－"
    bool result = false; // the row's result names this outcome, or the match is cancelled
};

struct ReviewTicket {
    int type = kSingle;
    int pool_index = 0;
    int doubles = 0;
    int triples = 0;
    int64_t total = 1;
    std::vector<std::array<ReviewCell, 4>> rows; // the kind's rows
    int correct = 0;                             // rows with a marked result cell

    QString right_text() const; // "10/13"
};

// The purchase behind item `value` of the entry.
ReviewTicket review_ticket(const TicketBook &book, int entry, int value);

// What a round holds now: "購入 2件（5口）".
QString round_holdings_text(const TicketBook &book, int entry);
// Where a CSV import goes: "帳簿の 第1612回 toto（購入 2件（5口））に、ファイルの券を加えます。"
QString csv_target_text(const TicketBook &book, int entry);

// What deleting the round takes with it, said beneath the question:
// "第1612回 toto と購入 5件（5口）を削除します。"
QString round_deletion_text(const TicketBook &book, int entry);
