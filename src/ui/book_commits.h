#pragma once

#include "book/outcome.h"
#include "book/ticket_book.h"
#include "ui/review_editors.h"

#include <functional>

struct SharedState;

// How a dialog hands back what the user confirmed: the command's commit stores it in the
// book as one step, or refuses it with the user's message (the dialog then stays open).
template <typename T>
using Commit = std::function<Outcome(const T &)>;

// The commits of the window's commands, each on the run state's `current` and
// `editing` as they are when the dialog ends: a new round (nothing) or the edited round
// `current`; a new ticket (nothing) or the ticket of that pool index; results.
Commit<RoundEntry> round_commit(SharedState &state);
Commit<SinglePurchase> single_commit(SharedState &state);
Commit<MultiPurchase> multi_commit(SharedState &state);
Commit<RoundEntry> results_commit(SharedState &state);
// Many new tickets for the round `current` (まとめて入力).
Commit<std::vector<NewPurchase>> tickets_commit(SharedState &state);
// The review's own commits (deleting a ticket or the round, importing a CSV file) into the
// state's document, on the entry `current`; no edit modes.
ReviewEditors review_commits(SharedState &state);
