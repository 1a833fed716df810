#include "book/swap_entries.h"

#include <utility>

namespace {

// The head of a chain records the index of the entry that owns it.
void point_head_at(TicketBook &book, int entry)
{
    const RoundEntry &e = book.entries[static_cast<size_t>(entry)];
    if (e.first_type != kNoPurchase)
        book.links(e.kind, e.first_type, e.first_index).prev_index = entry;
}

} // namespace

void swap_entries(TicketBook &book, int a, int b)
{
    std::swap(book.entries[static_cast<size_t>(a)], book.entries[static_cast<size_t>(b)]);
    point_head_at(book, a);
    point_head_at(book, b);
}
