#include "entry/purchase_review.h"

#include "book/amount_text.h"
#include "book/message_text.h"
#include "entry/ticket_lines.h"

std::vector<ReviewItem> review_items(const TicketBook &book, int entry)
{
    const bool match = is_match_kind(book.entries[static_cast<size_t>(entry)].kind);
    std::vector<ReviewItem> items;
    items.push_back(
        {match ? QStringLiteral("対象試合") : QStringLiteral("対象チーム"), kRoundItem, QString()});
    book.for_each_purchase(entry, [&](int type, int index) {
        // Items of the same type read alike; the line tells them apart.
        const QString line = ticket_line(book, entry, type, index);
        if (type == kSingle)
            items.push_back({QStringLiteral("シングル"), 2 * index, line});
        else
            items.push_back({QStringLiteral("マルチ"), 2 * index + 1, line});
    });
    return items;
}

QString ReviewTicket::right_text() const
{
    return QStringLiteral("%1/%2").arg(correct).arg(rows.size());
}

ReviewTicket review_ticket(const TicketBook &book, int entry, int value)
{
    const RoundEntry &e = book.entries[static_cast<size_t>(entry)];
    const bool match = is_match_kind(e.kind);
    ReviewTicket t;
    t.type = value % 2 == 0 ? kSingle : kMulti;
    t.pool_index = value / 2;
    const auto at = static_cast<size_t>(t.pool_index);
    const SinglePurchase *single = t.type == kSingle ? &book.single_pool(e.kind)[at] : nullptr;
    const MultiPurchase *multi = t.type == kMulti ? &book.multi_pool(e.kind)[at] : nullptr;
    if (multi) {
        t.doubles = multi->doubles;
        t.triples = multi->triples;
        t.total = multi->combos;
    } else {
        t.doubles = 0;
        t.triples = 0;
        t.total = 1;
    }

    const int cells = marks_per_slot(e.kind); // one cell per outcome of the row
    for (int i = 0; i < slot_count(e.kind); ++i) {
        const auto s = static_cast<size_t>(i);
        const int result = e.slot_result(i);
        const bool cancelled = result == (match ? kCancelled : kScoreCancelled);
        std::array<ReviewCell, 4> row{};
        bool correct = false;
        for (int c = 0; c < cells; ++c) {
            // Cells follow the marks: match cells name a result code, goal cells a goal
            // count (score = goals + 1).
            const int outcome = match ? kResultOfMark[static_cast<size_t>(c)] : c;
            ReviewCell &cell = row[static_cast<size_t>(c)];
            cell.result = cancelled || (match ? result == outcome : result == outcome + 1);
            cell.marked = single ? single->picks[s] == outcome : multi->marks[s][static_cast<size_t>(c)];
            correct = correct || (cell.result && cell.marked);
        }
        t.rows.push_back(row);
        t.correct += correct ? 1 : 0;
    }
    return t;
}

QString round_holdings_text(const TicketBook &book, int entry)
{
    int64_t purchases = 0;
    book.for_each_purchase(entry, [&](int, int) { ++purchases; });
    return QStringLiteral("購入 %1件（%2口）")
        .arg(format_yen(purchases), format_yen(book.entries[static_cast<size_t>(entry)].tickets));
}

QString csv_target_text(const TicketBook &book, int entry)
{
    const RoundEntry &e = book.entries[static_cast<size_t>(entry)];
    return QStringLiteral("帳簿の %1 %2（%3）に、ファイルの券を加えます。")
        .arg(kai_caption(e.kai.text()), kind_display_name(e.kind), round_holdings_text(book, entry));
}

QString round_deletion_text(const TicketBook &book, int entry)
{
    const RoundEntry &e = book.entries[static_cast<size_t>(entry)];
    return QStringLiteral("%1 %2 と%3を削除します。")
        .arg(kai_caption(e.kai.text()), kind_display_name(e.kind), round_holdings_text(book, entry));
}
