#include "book/purchase_deletion.h"

#include <utility>

namespace {

// Points whatever refers to the record (type, from) at (type, to) instead.
void retarget(TicketBook &book, LotteryKind kind, int type, int to, const PurchaseLinks &l)
{
    if (l.prev_type == kNoPurchase) {
        RoundEntry &owner = book.entries[static_cast<size_t>(l.prev_index)];
        owner.first_type = type;
        owner.first_index = to;
    } else {
        book.links(kind, l.prev_type, l.prev_index).next_index = to;
    }
    if (l.next_type != kNoPurchase)
        book.links(kind, l.next_type, l.next_index).prev_index = to;
}

template <typename Record>
void delete_purchase(TicketBook &book, LotteryKind kind, TrackedList<Record> &pool, int type, int index,
                     int64_t tickets)
{
    const PurchaseLinks gone = pool[static_cast<size_t>(index)].link;

    // The owner is the entry at the head of the record's chain, found by walking back.
    PurchaseLinks at = gone;
    while (at.prev_type != kNoPurchase) // reading only: nothing of the walk is logged
        at = std::as_const(book).links(kind, at.prev_type, at.prev_index);
    book.entries[static_cast<size_t>(at.prev_index)].tickets -= tickets;

    if (gone.prev_type == kNoPurchase) {
        RoundEntry &owner = book.entries[static_cast<size_t>(gone.prev_index)];
        owner.first_type = gone.next_type;
        owner.first_index = gone.next_index;
    } else {
        PurchaseLinks &prev = book.links(kind, gone.prev_type, gone.prev_index);
        prev.next_type = gone.next_type;
        prev.next_index = gone.next_index;
    }
    if (gone.next_type != kNoPurchase) {
        PurchaseLinks &next = book.links(kind, gone.next_type, gone.next_index);
        next.prev_type = gone.prev_type;
        next.prev_index = gone.prev_index;
    }

    const int last = static_cast<int>(pool.size()) - 1;
    if (index != last) {
        retarget(book, kind, type, index, pool[static_cast<size_t>(last)].link);
        pool[static_cast<size_t>(index)] = pool[static_cast<size_t>(last)];
    }
    pool.pop_back();
}

} // namespace

void single_del(TicketBook &book, int entry, int index)
{
    const LotteryKind kind = book.entries[static_cast<size_t>(entry)].kind;
    delete_purchase(book, kind, book.single_pool(kind), kSingle, index, 1);
}

void multi_del(TicketBook &book, int entry, int index)
{
    const LotteryKind kind = book.entries[static_cast<size_t>(entry)].kind;
    auto &pool = book.multi_pool(kind);
    delete_purchase(book, kind, pool, kMulti, index, pool[static_cast<size_t>(index)].combos);
}

void delete_entry(TicketBook &book, int entry)
{
    for (;;) {
        const RoundEntry &e = std::as_const(book).entries[static_cast<size_t>(entry)];
        if (e.first_type == kNoPurchase)
            break;
        if (e.first_type == kSingle)
            single_del(book, entry, e.first_index);
        else
            multi_del(book, entry, e.first_index);
    }
    book.entries.erase_at(static_cast<size_t>(entry));
    for (int j = entry; j < book.entry_count(); ++j) {
        const RoundEntry &moved = std::as_const(book).entries[static_cast<size_t>(j)];
        if (moved.first_type != kNoPurchase)
            book.links(moved.kind, moved.first_type, moved.first_index).prev_index = j;
    }
}
