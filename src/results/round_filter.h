#pragma once

#include "book/ticket_book.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// What the find bar over the main list keeps: rounds whose 回 or one of whose team names
// contains a text, of one kind, and (when asked) only those still open or only those that
// won. The text is folded once here, so testing the thousands of rounds of a book per
// keystroke reads each label's and name's bytes in place.
class RoundFilter {
public:
    // Keeps every round.
    RoundFilter() = default;
    // `text` matches full-width and half-width digits and letters alike, capitals and
    // small letters alike, in the 回 or the name of any team the round's kind uses; an
    // empty text and no kind keep every round of those tests. `won_only` keeps the rounds
    // that won (see round_won).
    RoundFilter(const QString &text, std::optional<LotteryKind> kind, bool open_only, bool won_only);

    // True when the filter can leave a round out.
    bool active() const { return !needle_.empty() || impossible_ || kind_ || open_only_ || won_only_; }
    bool matches(const RoundEntry &entry) const;

    bool operator==(const RoundFilter &) const = default;

private:
    // A label or the text, one unit per character; see fold().
    static constexpr size_t kMaxUnits = kMaxTextBytes;
    using Units = std::array<uint16_t, kMaxUnits>;

    // True when the folded text holds the folded needle.
    bool holds_needle(QByteArrayView text) const;

    std::vector<uint16_t> needle_;
    // For each byte, the characters of the needle it can stand for or end (bit k for the
    // k-th); a text whose bytes do not mark every character cannot hold the needle, which
    // rules out most team names without folding them.
    std::array<uint16_t, 256> byte_marks_{};
    uint16_t all_marks_ = 0;
    bool impossible_ = false; // the text cannot occur in any label
    std::optional<LotteryKind> kind_;
    bool open_only_ = false;
    bool won_only_ = false;
};
