#pragma once

#include "book/ticket_book.h"

#include <vector>

// The order of the main list: the book's, or by one of its columns, rising or falling.
// 回 goes by the number it holds, then by its text (labels without a number follow);
// 種別 goes by the 新規登録 menu; counts and amounts by value. The cells that hold no
// value ("?", 未確定, 金額未定, "-") follow the values in either direction, in that order.
// Rounds that compare equal keep the book's order.
class RoundOrder {
public:
    // The book's order.
    RoundOrder() = default;
    // By list column `column` (0..11).
    RoundOrder(int column, bool descending);

    bool active() const { return column_ >= 0; }
    int column() const { return column_; }
    bool descending() const { return descending_; }

    // Puts `entries` (indexes into the book's entries) in this order; linear in memory and
    // n log n in time, each round's key read once.
    void sort(const TicketBook &book, std::vector<int> &entries) const;
    // True when entry `a` goes before entry `b`.
    bool before(const TicketBook &book, int a, int b) const;

    bool operator==(const RoundOrder &) const = default;

    // What a round is ordered by in one column, for comparing.
    struct Key {
        int group = 0;     // 0 a value; 1 "?" or 未確定; 2 金額未定; 3 "-"; for 回, 1 no number
        WideInt value = 0; // the number, count, amount or the kind's place in the menu
        uint16_t text[kMaxTextBytes] = {}; // 回 only: its folded text
        int length = 0;
    };
    static Key key(const RoundEntry &entry, int column);

private:
    bool less(const Key &a, int entry_a, const Key &b, int entry_b) const;

    int column_ = -1;
    bool descending_ = false;
};
