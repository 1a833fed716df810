#include "book/book_text.h"

#include "book/leading_digits.h"
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

BookText book_text(const QString &text)
{
    return BookText(shift_jis::encode(text));
}

std::optional<qint64> label_number(const QString &label)
{
    constexpr qint64 kBeyondRounds = 1000000000000010;
    const DigitRun run = leading_digits(
        label, 0, [](QChar c) { return c.isSpace(); }, kBeyondRounds);
    if (run.count == 0 || run.value >= kBeyondRounds)
        return std::nullopt;
    return run.value;
}
