#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <utility>
#include <vector>

// What one step did to one list of the book, kept so the step can be taken back exactly.
// The log holds the old value of every element written (once per element between
// structural changes), and each append, removal and insertion; replaying it backwards
// restores the list and yields the log that replays the step forwards again, so undo and
// redo are the same operation.
template <typename T>
class ListLog {
public:
    enum class Op : uint8_t { set, pushed, popped, erased, inserted };

    bool empty() const { return ops_.empty(); }
    // Whether the step added, removed or inserted elements (rather than only changing some).
    bool reshaped() const { return reshaped_; }
    // Bytes the log keeps, for the history's bound.
    size_t bytes() const { return ops_.size() * sizeof(Record) + values_.size() * sizeof(T); }
    // Indexes the step wrote, as the list stands after the step; only meaningful when !reshaped().
    std::vector<int> written() const
    {
        std::vector<int> out;
        for (const Record &r : ops_)
            if (r.op == Op::set)
                out.push_back(static_cast<int>(r.index));
        return out;
    }

    // Whether replaying the log would leave the list as `items` is: nothing added or removed,
    // and every value written back to what it was.
    bool changes_nothing(const std::vector<T> &items) const
    {
        if (reshaped_)
            return false;
        for (const Record &r : ops_)
            if (r.op == Op::set && !(items[r.index] == values_[r.value]))
                return false;
        return true;
    }

    // --- recording, called by TrackedList -------------------------------------------------
    void start(size_t size) { base_ = size; }
    // The step is over: what only served the recording goes, so what the history keeps is
    // what bytes() counts.
    void finish()
    {
        std::unordered_set<size_t>().swap(captured_);
        ops_.shrink_to_fit();
        values_.shrink_to_fit();
    }
    void before_write(const std::vector<T> &items, size_t index)
    {
        // Elements appended during the step go away with the append; the first write of an
        // old element since the last reshaping keeps its value.
        if (index >= base_ || !captured_.insert(index).second)
            return;
        record(Op::set, index, &items[index]);
    }
    void pushed(size_t index) { record(Op::pushed, index, nullptr); }
    void popping(const std::vector<T> &items)
    {
        record(Op::popped, items.size() - 1, &items.back());
        if (base_ > items.size() - 1)
            base_ = items.size() - 1;
    }
    void erasing(const std::vector<T> &items, size_t index)
    {
        record(Op::erased, index, &items[index]);
        reshape_boundary(items.size() - 1);
    }
    void inserted(size_t index, size_t size)
    {
        record(Op::inserted, index, nullptr);
        reshape_boundary(size);
    }

    // Replays the log backwards on `items` and returns the log that replays it forwards.
    ListLog rewind(std::vector<T> &items) &&
    {
        ListLog inverse;
        inverse.reshaped_ = reshaped_;
        for (size_t k = ops_.size(); k-- > 0;) {
            const Record &r = ops_[k];
            switch (r.op) {
            case Op::set:
                std::swap(items[r.index], values_[r.value]);
                inverse.record_moved(Op::set, r.index, std::move(values_[r.value]));
                break;
            case Op::pushed:
                inverse.record_moved(Op::popped, r.index, std::move(items.back()));
                items.pop_back();
                break;
            case Op::popped:
                items.push_back(std::move(values_[r.value]));
                inverse.record(Op::pushed, r.index, nullptr);
                break;
            case Op::erased:
                items.insert(items.begin() + static_cast<std::ptrdiff_t>(r.index),
                             std::move(values_[r.value]));
                inverse.record(Op::inserted, r.index, nullptr);
                break;
            case Op::inserted:
                inverse.record_moved(Op::erased, r.index, std::move(items[r.index]));
                items.erase(items.begin() + static_cast<std::ptrdiff_t>(r.index));
                break;
            }
        }
        return inverse;
    }

private:
    struct Record {
        Op op;
        uint32_t index;
        uint32_t value; // into values_, for set, popped and erased
    };

    void record(Op op, size_t index, const T *value)
    {
        if (value)
            record_moved(op, index, T(*value));
        else
            note(op, index);
    }
    void record_moved(Op op, size_t index, T &&value)
    {
        note(op, index);
        values_.push_back(std::move(value));
    }
    void note(Op op, size_t index)
    {
        if (op != Op::set)
            reshaped_ = true;
        ops_.push_back({op, static_cast<uint32_t>(index), static_cast<uint32_t>(values_.size())});
    }
    void reshape_boundary(size_t size)
    {
        captured_.clear();
        base_ = size;
    }

    std::vector<Record> ops_;
    std::vector<T> values_;
    std::unordered_set<size_t> captured_;
    size_t base_ = 0;
    bool reshaped_ = false;
};

// A list of the book (its rounds or a purchase pool). It reads like a vector; every way of
// changing it goes through it, so while a step is being recorded (a log is attached) each
// change is logged before it happens. Without a log it costs one test per write.
template <typename T>
class TrackedList {
public:
    using value_type = T;
    using const_iterator = typename std::vector<T>::const_iterator;

    TrackedList() = default;
    // A copy is a list of its own: the log of a step stays with the list it records.
    TrackedList(const TrackedList &other) : items_(other.items_) {}
    TrackedList(TrackedList &&other) noexcept : items_(std::move(other.items_)) {}
    TrackedList &operator=(const TrackedList &other)
    {
        refuse_while_logged();
        items_ = other.items_;
        return *this;
    }
    TrackedList &operator=(TrackedList &&other) noexcept
    {
        refuse_while_logged();
        items_ = std::move(other.items_);
        return *this;
    }

    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const T &operator[](size_t i) const { return items_[i]; }
    const T &back() const { return items_.back(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }
    const std::vector<T> &items() const { return items_; }

    // Write access to element i; the element's old value is logged first.
    T &operator[](size_t i)
    {
        if (log_)
            log_->before_write(items_, i);
        return items_[i];
    }
    T &back() { return (*this)[items_.size() - 1]; }

    void push_back(T value)
    {
        items_.push_back(std::move(value));
        if (log_)
            log_->pushed(items_.size() - 1);
    }
    T &emplace_back()
    {
        push_back(T{});
        return items_.back();
    }
    void pop_back()
    {
        if (log_)
            log_->popping(items_);
        items_.pop_back();
    }
    void erase_at(size_t index)
    {
        if (log_)
            log_->erasing(items_, index);
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    void insert_at(size_t index, T value)
    {
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(value));
        if (log_)
            log_->inserted(index, items_.size());
    }
    void reserve(size_t n) { items_.reserve(n); }
    // Growing or emptying the list at once is for building a book, never inside a step.
    void resize(size_t n)
    {
        refuse_while_logged();
        items_.resize(n);
    }
    void clear()
    {
        refuse_while_logged();
        items_.clear();
    }

    // Recording: attach a log for the step, detach it when the step is done.
    void attach(ListLog<T> *log)
    {
        if (log_)
            log_->finish();
        log_ = log;
        if (log_)
            log_->start(items_.size());
    }
    // Replays a recorded step backwards (see ListLog::rewind); no log may be attached.
    ListLog<T> rewind(ListLog<T> &&log) { return std::move(log).rewind(items_); }

    bool operator==(const TrackedList &other) const { return items_ == other.items_; }

private:
    void refuse_while_logged() const
    {
        // A whole-list change cannot be taken back element by element.
        if (log_)
            __builtin_trap();
    }

    std::vector<T> items_;
    ListLog<T> *log_ = nullptr;
};
