#include "ui/book_commits.h"

#include "ui/shared_state.h"

namespace {

int edit_index(const SharedState &state)
{
    return state.edit_target > 0 ? state.edit_target - 1 : -1;
}

} // namespace

Commit<RoundEntry> round_commit(SharedState &state)
{
    return [&state](const RoundEntry &round) {
        return state.edit_target == 0 ? state.document.add_round(round)
                                      : state.document.edit_round(state.current, round);
    };
}

Commit<SinglePurchase> single_commit(SharedState &state)
{
    return [&state](const SinglePurchase &ticket) {
        return state.document.store_single(state.current, edit_index(state), ticket);
    };
}

Commit<MultiPurchase> multi_commit(SharedState &state)
{
    return [&state](const MultiPurchase &ticket) {
        return state.document.store_multi(state.current, edit_index(state), ticket);
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
