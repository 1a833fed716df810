#pragma once

#include "book/lottery_kind.h"

class QWidget;
struct SharedState;
class UiServices;

// The entry commands: each opens its dialog modally and returns true when it ended with
// OK (dialog_result 1). The caller then repaints the round's row, grades the round
// `current` and refreshes the title.

// Registers a new round of `kind` (form_name or form_goal_name by family). On OK the new
// round becomes `current`.
bool run_register_round(SharedState &state, UiServices &ui, QWidget *parent, LotteryKind kind);

// Adds a single or multi ticket to the round `current`. The multi command refuses a
// BIG-family round, which takes single tickets only.
bool run_single_purchase(SharedState &state, UiServices &ui, QWidget *parent);
bool run_multi_purchase(SharedState &state, UiServices &ui, QWidget *parent);

// Edits the round `current`: its label, team names and grade options.
bool run_edit_round(SharedState &state, UiServices &ui, QWidget *parent);
// Edits ticket `pool_index` of the round's single or multi pool.
bool run_edit_single(SharedState &state, UiServices &ui, QWidget *parent, int pool_index);
bool run_edit_multi(SharedState &state, UiServices &ui, QWidget *parent, int pool_index);
