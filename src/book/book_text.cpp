#include "book/book_text.h"

#include "platform/shift_jis.h"

QString BookText::text() const
{
    return shift_jis::decode(bytes());
}

void BookText::assign(QByteArrayView shift_jis)
{
    qsizetype n = shift_jis.size();
    if (n > kMaxTextBytes) {
        n = kMaxTextBytes;
        if (shift_jis::ends_in_lead_byte(shift_jis.first(n)))
            --n;
    }
    std::copy(shift_jis.begin(), shift_jis.begin() + n, data_.begin());
    std::fill(data_.begin() + n, data_.end(), '\0');
    size_ = static_cast<uint8_t>(n);
}
