#include "entry/purchase_review.h"

#include "book/amount_text.h"
#include "book/message_text.h"
#include "book/ticket_lines.h"

QString ReviewItem::text() const
{
    return line.isEmpty() ? caption : caption + u' ' + line;
}

std::vector<int> review_item_values(const TicketBook &book, int entry)
{
    std::vector<int> values{kRoundItem};
    book.for_each_purchase(
        entry, [&](int type, int index) { values.push_back(type == kSingle ? 2 * index : 2 * index + 1); });
    return values;
}

ReviewItem review_item(const TicketBook &book, int entry, int value)
{
    const LotteryKind kind = book.entries[static_cast<size_t>(entry)].kind;
    if (value == kRoundItem)
        return {is_match_kind(kind) ? QStringLiteral("対象試合") : QStringLiteral("対象チーム"), kRoundItem,
                QString()};
    const int type = value % 2 == 0 ? kSingle : kMulti;
    const size_t pool = type == kSingle ? book.single_pool(kind).size() : book.multi_pool(kind).size();
    // A value the book no longer holds (a view asking between a deletion and its news) reads
    // without a line rather than past the pool.
    return {type == kSingle ? QStringLiteral("シングル") : QStringLiteral("マルチ"), value,
            static_cast<size_t>(value / 2) < pool ? ticket_line(book, entry, type, value / 2) : QString()};
}

std::vector<ReviewItem> review_items(const TicketBook &book, int entry)
{
    std::vector<ReviewItem> items;
    for (const int value : review_item_values(book, entry))
        items.push_back(review_item(book, entry, value));
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
