#pragma once

#include "book/outcome.h"

#include <functional>

struct CsvImport;

// What the review dialog borrows from the command that opened it: the edit modes of the
// registration, single and multi dialogs, each returning true when the edit ended with OK
// (and having stored it), and the commits of what the dialog changes itself: deleting a
// ticket (its type and pool index) or the round `current`, and a confirmed CSV import.
// `editing` of the shared state is set before an edit (the round `current`, or the ticket's
// pool index).
struct ReviewEditors {
    std::function<bool()> edit_round;
    std::function<bool(int pool_index)> edit_single;
    std::function<bool(int pool_index)> edit_multi;
    std::function<Outcome(int type, int pool_index)> delete_ticket;
    std::function<Outcome()> delete_round;
    std::function<Outcome(const CsvImport &staged)> import_csv;
};
