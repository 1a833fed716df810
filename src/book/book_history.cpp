#include "book/book_history.h"

#include <utility>

size_t BookStep::bytes() const
{
    return sizeof(BookStep) + entries.bytes() + singles.bytes() + multis.bytes() + goal_singles.bytes() +
           goal_multis.bytes();
}

bool BookStep::changes_nothing(const TicketBook &book) const
{
    return entries.changes_nothing(book.entries.items()) && singles.changes_nothing(book.singles.items()) &&
           multis.changes_nothing(book.multis.items()) &&
           goal_singles.changes_nothing(book.goal_singles.items()) &&
           goal_multis.changes_nothing(book.goal_multis.items());
}

void start_recording(TicketBook &book, BookStep &step)
{
    book.entries.attach(&step.entries);
    book.singles.attach(&step.singles);
    book.multis.attach(&step.multis);
    book.goal_singles.attach(&step.goal_singles);
    book.goal_multis.attach(&step.goal_multis);
}

void stop_recording(TicketBook &book)
{
    book.entries.attach(nullptr);
    book.singles.attach(nullptr);
    book.multis.attach(nullptr);
    book.goal_singles.attach(nullptr);
    book.goal_multis.attach(nullptr);
}

void rewind(TicketBook &book, BookStep &step)
{
    // The lists are independent, so their order does not matter.
    step.entries = book.entries.rewind(std::move(step.entries));
    step.singles = book.singles.rewind(std::move(step.singles));
    step.multis = book.multis.rewind(std::move(step.multis));
    step.goal_singles = book.goal_singles.rewind(std::move(step.goal_singles));
    step.goal_multis = book.goal_multis.rewind(std::move(step.goal_multis));
}

void BookHistory::push(BookStep step)
{
    while (static_cast<int>(steps_.size()) > done_)
        steps_.pop_back();
    if (clean_ > done_)
        clean_ = -1; // the saved state was among the steps undone
    steps_.push_back(std::move(step));
    ++done_;
    while (steps_.size() > 1 && (static_cast<int>(steps_.size()) > max_steps_ || bytes() > max_bytes_))
        drop_oldest();
}

BookStep &BookHistory::take_undo()
{
    --done_;
    return steps_[static_cast<size_t>(done_)];
}

BookStep &BookHistory::take_redo()
{
    ++done_;
    return steps_[static_cast<size_t>(done_ - 1)];
}

void BookHistory::clear()
{
    steps_.clear();
    done_ = 0;
    clean_ = 0;
}

void BookHistory::set_bounds(int max_steps, size_t max_bytes)
{
    max_steps_ = max_steps;
    max_bytes_ = max_bytes;
    while (steps_.size() > 1 && (static_cast<int>(steps_.size()) > max_steps_ || bytes() > max_bytes_))
        drop_oldest();
}

size_t BookHistory::bytes() const
{
    size_t total = 0;
    for (const BookStep &step : steps_)
        total += step.bytes();
    return total;
}

void BookHistory::drop_oldest()
{
    if (done_ == 0) {
        // Only undone steps are left (the bound was lowered): the farthest redo goes, since
        // every other one needs the steps before it.
        steps_.pop_back();
        if (clean_ > static_cast<int>(steps_.size()))
            clean_ = -1;
        return;
    }
    steps_.pop_front();
    --done_;
    clean_ = clean_ > 0 ? clean_ - 1 : -1;
}
