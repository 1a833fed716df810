#pragma once

#include "book/ticket_book.h"

#include <QString>
#include <cstddef>
#include <deque>

// One change of the book as recorded: what each list was before, so replaying the step
// backwards restores the book exactly, and the inverse replays it forwards.
struct BookStep {
    QString name;
    ListLog<RoundEntry> entries;
    ListLog<SinglePurchase> singles;
    ListLog<MultiPurchase> multis;
    ListLog<GoalSinglePurchase> goal_singles;
    ListLog<GoalMultiPurchase> goal_multis;
    int focus_done = -1;   // the entry to show once the step is done (or redone)
    int focus_undone = -1; // and once it is undone
    bool reorders = false; // entries change places, done or undone

    size_t bytes() const;
    // Whether the step, done on `book`, left it as it was (values written back unchanged).
    bool changes_nothing(const TicketBook &book) const;
};

// Starts recording into `step`: every change of the book is logged until stop_recording.
void start_recording(TicketBook &book, BookStep &step);
void stop_recording(TicketBook &book);
// Replays the step backwards on the book; the step then holds its inverse (so the same call
// undoes and redoes). Nothing may be recording.
void rewind(TicketBook &book, BookStep &step);

// The undo history: steps done and steps undone, the clean point, and a bound in steps and
// in bytes of what the steps keep (the oldest steps go first past it).
class BookHistory {
public:
    static constexpr int kDefaultMaxSteps = 200;
    static constexpr size_t kDefaultMaxBytes = size_t{64} << 20;

    // A done step; the steps undone before it are gone.
    void push(BookStep step);
    bool can_undo() const { return done_ > 0; }
    bool can_redo() const { return done_ < static_cast<int>(steps_.size()); }
    QString undo_name() const { return can_undo() ? steps_[static_cast<size_t>(done_ - 1)].name : QString(); }
    QString redo_name() const { return can_redo() ? steps_[static_cast<size_t>(done_)].name : QString(); }
    // The step to undo (redo); the history moves one step back (forward).
    BookStep &take_undo();
    BookStep &take_redo();

    void clear();
    void mark_clean() { clean_ = done_; }
    // No step is the saved state any more: the file changed or went away.
    void forget_clean() { clean_ = -1; }
    bool at_clean() const { return clean_ == done_; }

    void set_bounds(int max_steps, size_t max_bytes);
    int step_count() const { return static_cast<int>(steps_.size()); }
    size_t bytes() const;

private:
    void drop_oldest();

    std::deque<BookStep> steps_;
    int done_ = 0;  // steps_[0, done_) are done, the rest undone
    int clean_ = 0; // done_ at the clean point; -1 once that point is gone
    int max_steps_ = kDefaultMaxSteps;
    size_t max_bytes_ = kDefaultMaxBytes;
};
