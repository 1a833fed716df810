#include "book/round_update.h"

RoundUpdate results_update(int entry, const RoundEntry &downloaded)
{
    RoundUpdate update;
    update.entry = entry;
    update.round = downloaded;
    update.results = true;
    return update;
}

RoundUpdate new_round_update(const RoundEntry &round)
{
    RoundUpdate update;
    update.round = round;
    return update;
}

Outcome apply_round_update(TicketBook &book, const RoundUpdate &update, int *written)
{
    const RoundEntry *target = nullptr;
    RoundEntry fresh;
    if (!update.entry) {
        fresh = update.round;
        fresh.tickets = 0;
        fresh.hits = {};
        fresh.won = 0;
        fresh.first_type = kNoPurchase;
        fresh.first_index = 0;
        target = &fresh;
    } else if (*update.entry >= 0 && *update.entry < book.entry_count() &&
               book.entries[static_cast<size_t>(*update.entry)].kind == update.round.kind) {
        target = &book.entries[static_cast<size_t>(*update.entry)];
    } else {
        return Outcome::failure(QString()); // no entry of the round's kind: the caller's fault
    }
    PurchaseTally tally;
    for (const NewPurchase &p : update.purchases)
        tally.add(p, target->kind);
    if (Outcome fits = purchases_fit(book, target->kind, target->tickets, tally); !fits.ok)
        return fits;
    int entry = 0;
    if (!update.entry) {
        if (Outcome added = add_entry(book, fresh); !added.ok)
            return added;
        entry = book.entry_count() - 1;
    } else {
        entry = *update.entry;
        if (update.results)
            copy_results(book.entries[static_cast<size_t>(entry)], update.round, true);
    }
    if (!update.purchases.empty() && !add_purchases(book, entry, update.purchases).ok)
        return Outcome::failure(out_of_memory_message()); // cannot happen: checked above
    if (written)
        *written = entry;
    return Outcome::success();
}
