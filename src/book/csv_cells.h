#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <vector>

// Cells of the round CSV file. Everything works on the Shift-JIS bytes: "," and the
// half-width space never occur inside a double-byte character, so no decoding is needed.

// Takes the first cell off `line`: the bytes up to the first "," with every half-width
// space dropped; the cell and its "," are removed from `line`. An empty line gives "".
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

// True when two texts have the same leading number, compared exactly however long
// ("0123" and "123" do; half-width spaces are ignored as in a cell).
bool same_csv_number(QByteArrayView a, QByteArrayView b);

// Splits file bytes into lines ended by CR LF. The last line needs no terminator; a
// terminator at the very end starts no further line, so "a\r\n" is one line and
// "a\r\n\r\n" two, the second empty.
std::vector<QByteArray> csv_lines(const QByteArray &bytes);
