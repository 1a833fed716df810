#include "book/amount_text.h"

#include <iterator>

QString integer_text(WideInt value)
{
    const bool negative = value < 0;
    // The magnitude as unsigned, so the most negative value is safe too.
    __extension__ typedef unsigned __int128 Magnitude;
    Magnitude m = negative ? Magnitude{0} - static_cast<Magnitude>(value) : static_cast<Magnitude>(value);
    char digits[48];
    char *at = std::end(digits);
    do {
        *--at = static_cast<char>('0' + static_cast<int>(m % 10));
        m /= 10;
    } while (m != 0);
    if (negative)
        *--at = '-';
    return QString::fromLatin1(at, std::end(digits) - at);
}

QString format_yen(WideInt amount)
{
    QString digits = integer_text(amount);
    const qsizetype first = amount < 0 ? 1 : 0;
    for (qsizetype at = digits.size() - 3; at > first; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}
