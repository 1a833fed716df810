#pragma once

#include "platform/shift_jis.h"

#include <QByteArrayView>
#include <cstdint>

// Bytes of Shift-JIS to one unit per character, so that a text of the book is searched and
// compared without decoding it: a single byte is its own value, a double-byte character
// lead * 256 + trail (never below 0x8100). Full-width digits, letters and the full-width
// space become their half-width forms and small letters capitals, so either way of typing
// them is the same text. Hands each unit to `out`.
template <typename Out>
void fold_text(QByteArrayView bytes, Out out)
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
