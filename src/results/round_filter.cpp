#include "results/round_filter.h"

#include "platform/shift_jis.h"
#include "results/winning_check.h"

#include <algorithm>

namespace {

// Bytes of Shift-JIS to one unit per character, so that a label is searched without
// decoding it: a single byte is its own value, a double-byte character lead * 256 + trail
// (never below 0x8100). Full-width digits, letters and the full-width space become their
// half-width forms and small letters capitals, so either way of typing them matches.
template <typename Out>
void fold(QByteArrayView bytes, Out out)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        uint16_t unit = lead;
        if (shift_jis::is_lead_byte(lead) && i + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[++i]);
            unit = static_cast<uint16_t>(lead << 8 | trail);
            if (lead == 0x82 && trail >= 0x4F && trail <= 0x58) // ０..９
                unit = static_cast<uint16_t>('0' + (trail - 0x4F));
            else if (lead == 0x82 && trail >= 0x60 && trail <= 0x79) // Ａ..Ｚ
                unit = static_cast<uint16_t>('A' + (trail - 0x60));
            else if (lead == 0x82 && trail >= 0x81 && trail <= 0x9A) // ａ..ｚ
                unit = static_cast<uint16_t>('A' + (trail - 0x81));
            else if (lead == 0x81 && trail == 0x40) // the full-width space
                unit = ' ';
        } else if (lead >= 'a' && lead <= 'z') {
            unit = static_cast<uint16_t>(lead - 'a' + 'A');
        }
        out(unit);
    }
}

} // namespace

RoundFilter::RoundFilter(const QString &text, std::optional<LotteryKind> kind, bool open_only)
    : kind_(kind), open_only_(open_only)
{
    bool encoded = true;
    const QByteArray bytes = shift_jis::encode(text, &encoded);
    // A label is Shift-JIS: a character the code page lacks is in none of them.
    impossible_ = !encoded;
    fold(bytes, [this](uint16_t unit) { needle_.push_back(unit); });
    impossible_ = impossible_ || needle_.size() > kMaxUnits;
}

bool RoundFilter::matches(const RoundEntry &entry) const
{
    if (impossible_)
        return false;
    if (kind_ && entry.kind != *kind_)
        return false;
    if (open_only_ && !round_is_open(entry))
        return false;
    if (needle_.empty())
        return true;
    Units label{};
    size_t length = 0;
    fold(entry.kai.view(), [&](uint16_t unit) {
        if (length < label.size())
            label[length++] = unit;
    });
    return std::search(label.begin(), label.begin() + static_cast<std::ptrdiff_t>(length), needle_.begin(),
                       needle_.end()) != label.begin() + static_cast<std::ptrdiff_t>(length);
}
