#include "book/round_update.h"

namespace {

// Whether the purchases fit the pools and the round's ticket count.
bool purchases_fit(const TicketBook &book, const RoundEntry &e, const RoundUpdate &update)
{
    int64_t singles = 0;
    int64_t multis = 0;
    int64_t tickets = 0;
    for (const auto &p : update.purchases) {
        if (const auto *multi = std::get_if<MultiPurchase>(&p)) {
            if (is_big_family(e.kind))
                return false;
            ++multis;
            tickets += multi->combos;
        } else {
            ++singles;
            ++tickets;
        }
    }
    const auto size_of = [](const auto &pool) { return static_cast<int64_t>(pool.size()); };
    return size_of(book.single_pool(e.kind)) + singles <= kMaxRecords &&
           size_of(book.multi_pool(e.kind)) + multis <= kMaxRecords &&
           (tickets == 0 || e.tickets + tickets <= kMaxRoundTickets);
}

} // namespace

RoundUpdate results_update(int entry, const RoundEntry &downloaded)
{
    RoundUpdate update;
    update.entry = entry;
    update.round = downloaded;
    update.results = true;
    update.grade_flags = true;
    return update;
}

Outcome apply_round_update(TicketBook &book, const RoundUpdate &update, int *written)
{
    int entry = update.entry;
    if (entry == RoundUpdate::kNewEntry) {
        RoundEntry fresh = update.round;
        fresh.tickets = 0;
        fresh.hits = {};
        fresh.won = 0;
        fresh.first_type = kNoPurchase;
        fresh.first_index = 0;
        if (!purchases_fit(book, fresh, update))
            return Outcome::failure(out_of_memory_message());
        if (Outcome added = add_entry(book, fresh); !added.ok)
            return added;
        entry = book.entry_count() - 1;
    } else {
        // A target that is no entry of the round's kind is the caller's fault: no message.
        if (entry < 0 || entry >= book.entry_count() ||
            book.entries[static_cast<size_t>(entry)].kind != update.round.kind)
            return Outcome::failure(QString());
        if (!purchases_fit(book, book.entries[static_cast<size_t>(entry)], update))
            return Outcome::failure(out_of_memory_message());
        RoundEntry &e = book.entries[static_cast<size_t>(entry)];
        if (update.results)
            copy_results(e, update.round, false);
        if (update.grade_flags) {
            e.has_grade3 = update.round.has_grade3;
            e.has_grade5 = update.round.has_grade5;
            e.has_grade6 = update.round.has_grade6;
        }
    }
    if (!update.purchases.empty()) {
        RoundEntry &e = book.entries[static_cast<size_t>(entry)];
        auto &singles = book.single_pool(e.kind);
        auto &multis = book.multi_pool(e.kind);
        // The tail is found once, so each purchase links in constant time.
        ChainAppender chain(book, entry);
        for (const auto &p : update.purchases) {
            if (const auto *multi = std::get_if<MultiPurchase>(&p)) {
                multis.push_back(*multi);
                chain.append(kMulti, static_cast<int>(multis.size()) - 1);
                e.tickets += multi->combos;
            } else {
                singles.push_back(std::get<SinglePurchase>(p));
                chain.append(kSingle, static_cast<int>(singles.size()) - 1);
                e.tickets += 1;
            }
        }
    }
    if (written)
        *written = entry;
    return Outcome::success();
}
