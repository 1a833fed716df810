#include "results/round_filter.h"

#include "platform/shift_jis.h"
#include "results/folded_text.h"
#include "results/winning_check.h"

#include <algorithm>

RoundFilter::RoundFilter(const QString &text, std::optional<LotteryKind> kind, bool open_only, bool won_only)
    : kind_(kind), open_only_(open_only), won_only_(won_only)
{
    bool encoded = true;
    const QByteArray bytes = shift_jis::encode(text, &encoded);
    // A label is Shift-JIS: a character the code page lacks is in none of them.
    impossible_ = !encoded;
    fold_text(bytes, [this](uint16_t unit) { needle_.push_back(unit); });
    impossible_ = impossible_ || needle_.size() > kMaxUnits;
    if (impossible_)
        return;
    for (size_t k = 0; k < needle_.size(); ++k) {
        const auto bit = static_cast<uint16_t>(1u << k);
        all_marks_ = static_cast<uint16_t>(all_marks_ | bit);
        const auto mark = [&](unsigned byte) {
            byte_marks_[byte] = static_cast<uint16_t>(byte_marks_[byte] | bit);
        };
        const unsigned unit = needle_[k];
        if (unit >= 0x100) { // a double-byte character: its trail byte
            mark(unit & 0xFF);
            continue;
        }
        // A single byte, or the trail of the full-width form fold_text takes for it.
        mark(unit);
        if (unit >= '0' && unit <= '9')
            mark(0x4F + unit - '0');
        if (unit >= 'A' && unit <= 'Z') {
            mark(unit - 'A' + 'a');
            mark(0x60 + unit - 'A');
            mark(0x81 + unit - 'A');
        }
        if (unit == ' ')
            mark(0x40);
    }
}

bool RoundFilter::holds_needle(QByteArrayView text) const
{
    // A character takes at least one byte: a shorter text cannot hold the needle.
    if (static_cast<size_t>(text.size()) < needle_.size())
        return false;
    uint16_t marks = 0;
    for (const char byte : text)
        marks = static_cast<uint16_t>(marks | byte_marks_[static_cast<unsigned char>(byte)]);
    if (marks != all_marks_)
        return false;
    Units folded;
    size_t length = 0;
    fold_text(text, [&](uint16_t unit) {
        if (length < folded.size())
            folded[length++] = unit;
    });
    const auto end = folded.begin() + static_cast<std::ptrdiff_t>(length);
    return std::search(folded.begin(), end, needle_.begin(), needle_.end()) != end;
}

bool RoundFilter::matches(const RoundEntry &entry) const
{
    if (impossible_)
        return false;
    if (kind_ && entry.kind != *kind_)
        return false;
    if (open_only_ && !round_is_open(entry))
        return false;
    if (won_only_ && !round_won(entry))
        return false;
    if (needle_.empty() || holds_needle(entry.kai.view()))
        return true;
    // The names of the slots the kind uses; the others may hold leftovers of another kind.
    const int slots = slot_count(entry.kind);
    if (is_match_kind(entry.kind)) {
        for (int s = 0; s < slots; ++s) {
            const MatchSlot &match = entry.matches[static_cast<size_t>(s)];
            if (holds_needle(match.home.view()) || holds_needle(match.away.view()))
                return true;
        }
        return false;
    }
    for (int s = 0; s < slots; ++s)
        if (holds_needle(entry.teams[static_cast<size_t>(s)].team.view()))
            return true;
    return false;
}
