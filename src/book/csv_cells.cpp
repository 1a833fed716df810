#include "book/csv_cells.h"

#include "book/leading_digits.h"
#include <limits>

namespace {

bool is_space(char c)
{
    return c == ' ';
}

// Sign and digits of a leading number without leading zeros; "" digits for zero.
struct LeadingNumber {
    bool found = false; // a digit came after the optional sign
    bool negative = false;
    QByteArray digits;

    bool operator==(const LeadingNumber &other) const
    {
        return negative == other.negative && digits == other.digits;
    }
};

// The sign, then the digits; half-width spaces before, after the sign and between the
// digits are passed over.
DigitRun signed_digits(QByteArrayView text, bool &negative)
{
    qsizetype i = 0;
    while (i < text.size() && is_space(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    return leading_digits(text, i, is_space, kCsvNumberLimit, Digits::ascii, true);
}

LeadingNumber leading_number(QByteArrayView text)
{
    LeadingNumber n;
    const DigitRun run = signed_digits(text, n.negative);
    n.found = run.count > 0;
    for (qsizetype i = run.begin; i < run.end; ++i) {
        if (text[i] != ' ' && (!n.digits.isEmpty() || text[i] != '0'))
            n.digits.append(text[i]);
    }
    if (n.digits.isEmpty())
        n.negative = false; // "-0" is zero
    return n;
}

} // namespace

QByteArray CsvCellReader::next()
{
    QByteArray cell;
    qsizetype i = pos_;
    for (; i < line_.size() && line_[i] != ','; ++i)
        if (line_[i] != ' ')
            cell.append(line_[i]);
    pos_ = i < line_.size() ? i + 1 : i;
    if (cell.size() >= 2 && cell.startsWith('"') && cell.endsWith('"'))
        cell = cell.sliced(1, cell.size() - 2);
    return cell;
}

QByteArray get_csv_cell(QByteArray &line)
{
    CsvCellReader reader(line);
    QByteArray cell = reader.next();
    const qsizetype comma = line.indexOf(',');
    line.remove(0, comma < 0 ? line.size() : comma + 1);
    return cell;
}

bool has_csv_cell(const QByteArray &line)
{
    return !line.isEmpty();
}

int64_t csv_number(QByteArrayView cell)
{
    bool negative = false;
    const DigitRun run = signed_digits(cell, negative);
    return negative ? -run.value : run.value;
}

bool csv_has_number(QByteArrayView cell)
{
    return leading_number(cell).found;
}

bool same_csv_number(QByteArrayView a, QByteArrayView b)
{
    return leading_number(a) == leading_number(b);
}

std::vector<QByteArray> csv_lines(const QByteArray &bytes)
{
    std::vector<QByteArray> lines;
    CsvLineSplitter splitter(std::numeric_limits<qsizetype>::max() - 1);
    auto keep = [&](QByteArrayView line) {
        lines.push_back(line.toByteArray());
        return true;
    };
    splitter.feed(bytes, keep);
    splitter.finish(keep);
    return lines;
}
