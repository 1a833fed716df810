#pragma once

#include "book/ticket_book.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// What the find bar over the main list keeps: rounds whose 回 contains a text, of one kind,
// and (when asked) only those still open. The text is folded once here, so testing the
// thousands of rounds of a book per keystroke reads each label's bytes in place.
class RoundFilter {
public:
    // Keeps every round.
    RoundFilter() = default;
    // `text` matches full-width and half-width digits and letters alike, capitals and
    // small letters alike; an empty text and no kind keep every round of those tests.
    RoundFilter(const QString &text, std::optional<LotteryKind> kind, bool open_only);

    // True when the filter can leave a round out.
    bool active() const { return !needle_.empty() || impossible_ || kind_ || open_only_; }
    bool matches(const RoundEntry &entry) const;

    bool operator==(const RoundFilter &) const = default;

private:
    // A label or the text, one unit per character; see fold().
    static constexpr size_t kMaxUnits = kMaxTextBytes;
    using Units = std::array<uint16_t, kMaxUnits>;

    std::vector<uint16_t> needle_;
    bool impossible_ = false; // the text cannot occur in any label
    std::optional<LotteryKind> kind_;
    bool open_only_ = false;
};
