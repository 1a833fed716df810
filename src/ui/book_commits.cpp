#include "ui/book_commits.h"

#include "book/csv_import.h"
#include "ui/shared_state.h"

Commit<RoundEntry> round_commit(SharedState &state)
{
    return [&state](const RoundEntry &round) {
        return !state.editing ? state.document.add_round(round)
                              : state.document.edit_round(state.current, round);
    };
}

Commit<SinglePurchase> single_commit(SharedState &state)
{
    return [&state](const SinglePurchase &ticket) {
        return state.document.store_single(state.current, state.editing, ticket);
    };
}

Commit<MultiPurchase> multi_commit(SharedState &state)
{
    return [&state](const MultiPurchase &ticket) {
        return state.document.store_multi(state.current, state.editing, ticket);
    };
}

Commit<RoundEntry> results_commit(SharedState &state)
{
    return [&state](const RoundEntry &round) { return state.document.enter_results(state.current, round); };
}

Commit<std::vector<NewPurchase>> tickets_commit(SharedState &state)
{
    return [&state](const std::vector<NewPurchase> &tickets) {
        return state.document.add_tickets(state.current, tickets);
    };
}

ReviewEditors review_commits(SharedState &state)
{
    ReviewEditors editors;
    editors.delete_ticket = [&state](int type, int pool_index) {
        return state.document.delete_purchase(state.current, type, pool_index);
    };
    editors.delete_round = [&state] { return state.document.delete_round(state.current); };
    editors.import_csv = [&state](const CsvImport &staged) {
        return state.document.apply_updates(BookDocument::Source::csv, {csv_update(state.book(), staged)});
    };
    return editors;
}
