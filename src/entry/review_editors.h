#pragma once

#include <functional>

// What the review dialog borrows from the command that opened it: the edit modes of the
// registration, single and multi dialogs, each returning true when the edit ended with OK
// (and having done everything that follows an edit), and the step that follows a ticket
// deletion (mark the book changed, grade, repaint). `edit_target` of the shared state is
// set before an edit (1 for the round, pool index + 1 for a ticket).
struct ReviewEditors {
    std::function<bool()> edit_round;
    std::function<bool(int pool_index)> edit_single;
    std::function<bool(int pool_index)> edit_multi;
    std::function<void()> entry_changed;
};
