#pragma once

#include <functional>

// The edit modes of the registration, single and multi dialogs as the review dialog
// reaches them. Each returns true when the edit ended with OK. `edit_target` of the shared
// state is set before a call (1 for the round, pool index + 1 for a ticket).
struct ReviewEditors {
    std::function<bool()> edit_round;
    std::function<bool(int pool_index)> edit_single;
    std::function<bool(int pool_index)> edit_multi;
    // Called after the round `current` changed (edit or ticket deletion) so its list row
    // and the window title can be repainted.
    std::function<void()> entry_changed;
};
