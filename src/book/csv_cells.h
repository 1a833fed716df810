#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <utility>
#include <vector>

// Cells of the round CSV file. Everything works on the Shift-JIS bytes: ",", the
// half-width space and the double quote never occur inside a double-byte character, so
// no decoding is needed.

// Takes the first cell off `line`: the bytes up to the first "," with every half-width
// space dropped and one pair of surrounding double quotes removed (a spreadsheet quotes
// its cells); the cell and its "," are removed from `line`. An empty line gives "".
QByteArray get_csv_cell(QByteArray &line);
// True while `line` still holds a cell (a trailing "," leaves an empty line: no cell).
bool has_csv_cell(const QByteArray &line);

// The same walk over a line without copying what is left of it, so reading a long line
// cell by cell stays linear.
class CsvCellReader {
public:
    explicit CsvCellReader(QByteArrayView line) : line_(line) {}
    bool has_cell() const { return pos_ < line_.size(); }
    QByteArray next();

private:
    QByteArrayView line_;
    qsizetype pos_ = 0;
};

// The leading number of a cell: an optional sign and the digits that follow it; 0 when
// the cell starts with none. Saturates at +-kCsvNumberLimit, which no field can hold.
inline constexpr int64_t kCsvNumberLimit = int64_t{1} << 40;
int64_t csv_number(QByteArrayView cell);
// Whether the cell starts with a number at all (csv_number reads 0 for one that does not).
bool csv_has_number(QByteArrayView cell);

// True when two texts have the same leading number, compared exactly however long
// ("0123" and "123" do; half-width spaces are ignored as in a cell).
bool same_csv_number(QByteArrayView a, QByteArrayView b);

// Cuts bytes into lines ended by CR LF, chunk by chunk, holding no more than one line.
// The last line needs no terminator; a terminator at the very end starts no further
// line, so "a\r\n" is one line and "a\r\n\r\n" two, the second empty. A line longer than
// `max_line` bytes stops the split.
class CsvLineSplitter {
public:
    explicit CsvLineSplitter(qsizetype max_line) : max_line_(max_line) {}

    // Calls line(QByteArrayView) for every line that `chunk` completes; false as soon as
    // a line is too long or `line` returns false.
    template <typename Fn>
    bool feed(QByteArrayView chunk, Fn &&line);
    // Calls line() for the last line, if any bytes follow the last terminator.
    template <typename Fn>
    bool finish(Fn &&line);

private:
    QByteArray pending_; // the start of a line whose end is in a later chunk
    qsizetype max_line_;
};

// Every line of `bytes`, as CsvLineSplitter cuts them (no length limit).
std::vector<QByteArray> csv_lines(const QByteArray &bytes);

template <typename Fn>
bool CsvLineSplitter::feed(QByteArrayView chunk, Fn &&line)
{
    qsizetype start = 0;
    if (!pending_.isEmpty()) {
        if (pending_.endsWith('\r') && chunk.startsWith('\n')) {
            pending_.chop(1); // the terminator straddles the chunks
            start = 1;
        } else {
            const qsizetype end = chunk.indexOf("\r\n");
            if (end < 0) {
                pending_ += chunk;
                return pending_.size() <= max_line_ + 1; // + the CR of a straddling terminator
            }
            pending_ += chunk.first(end);
            start = end + 2;
        }
        const QByteArray done = std::exchange(pending_, QByteArray());
        if (done.size() > max_line_ || !line(QByteArrayView(done)))
            return false;
    }
    for (qsizetype end = chunk.indexOf("\r\n", start); end >= 0; end = chunk.indexOf("\r\n", start)) {
        if (end - start > max_line_ || !line(chunk.sliced(start, end - start)))
            return false;
        start = end + 2;
    }
    if (chunk.size() - start > max_line_ + 1)
        return false;
    pending_ = chunk.sliced(start).toByteArray();
    return true;
}

template <typename Fn>
bool CsvLineSplitter::finish(Fn &&line)
{
    const QByteArray last = std::exchange(pending_, QByteArray());
    if (last.isEmpty())
        return true;
    return last.size() <= max_line_ && line(QByteArrayView(last));
}
