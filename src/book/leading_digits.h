#pragma once

#include <QChar>
#include <QtGlobal>
#include <cstdint>

// The one reader of a number written in digits at the start of a text, for the CSV cells
// (Shift-JIS bytes) as for the downloaded pages and the labels (16-bit text).

// Which characters count as digits: "0"-"9" only, or also the full-width "０"-"９" that
// the operator's pages may use (bytes never hold those; they are two bytes in Shift-JIS).
enum class Digits { ascii, with_full_width };

inline int digit_value(char c, Digits = Digits::ascii)
{
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

inline int digit_value(QChar c, Digits digits = Digits::ascii)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (digits == Digits::with_full_width && u >= u'０' && u <= u'９')
        return u - u'０';
    return -1;
}

// A run of digits: where it starts and ends in the text, how many digits it has and their
// value, saturated at the caller's limit instead of overflowing.
struct DigitRun {
    qsizetype begin = 0;
    qsizetype end = 0; // past the last digit
    qsizetype count = 0;
    int64_t value = 0;
};

// Reads the run of digits at `from`, after the blanks `is_blank` accepts; with
// `blanks_inside` such blanks between the digits are passed over too. One pass, no copy.
template <typename Text, typename IsBlank>
DigitRun leading_digits(const Text &text, qsizetype from, IsBlank is_blank, int64_t limit,
                        Digits digits = Digits::ascii, bool blanks_inside = false)
{
    const auto n = static_cast<qsizetype>(text.size());
    qsizetype i = from;
    while (i < n && is_blank(text[i]))
        ++i;
    DigitRun run;
    run.begin = run.end = i;
    for (; i < n; ++i) {
        const int d = digit_value(text[i], digits);
        if (d < 0) {
            if (blanks_inside && is_blank(text[i]))
                continue;
            break;
        }
        run.value = run.value > (limit - d) / 10 ? limit : run.value * 10 + d;
        ++run.count;
        run.end = i + 1;
    }
    return run;
}

// The start of the first run of digits at or after `from`; the text's size when none.
template <typename Text>
qsizetype first_digit(const Text &text, qsizetype from, Digits digits = Digits::ascii)
{
    const auto n = static_cast<qsizetype>(text.size());
    while (from < n && digit_value(text[from], digits) < 0)
        ++from;
    return from;
}

inline bool no_blank(QChar)
{
    return false;
}
