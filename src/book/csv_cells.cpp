#include "book/csv_cells.h"

#include <limits>

namespace {

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
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

LeadingNumber leading_number(QByteArrayView text)
{
    LeadingNumber n;
    qsizetype i = 0;
    auto skip_spaces = [&] {
        while (i < text.size() && text[i] == ' ')
            ++i;
    };
    skip_spaces();
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        n.negative = text[i] == '-';
        ++i;
    }
    for (skip_spaces(); i < text.size() && is_digit(text[i]); skip_spaces()) {
        n.found = true;
        if (!n.digits.isEmpty() || text[i] != '0')
            n.digits.append(text[i]);
        ++i;
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
    const LeadingNumber n = leading_number(cell);
    int64_t value = 0;
    for (char c : n.digits) {
        value = value * 10 + (c - '0');
        if (value >= kCsvNumberLimit) {
            value = kCsvNumberLimit;
            break;
        }
    }
    return n.negative ? -value : value;
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
