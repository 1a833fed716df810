#pragma once

#include "download/tag_scanner.h"

#include <QString>
#include <algorithm>
#include <array>

// The columns of an operator's table as its header rows name them. A cell spanning rows
// keeps its column covered in the rows below, which then have no cell of their own there.
struct TableColumns {
    static constexpr int kCount = 21;
    std::array<QString, kCount> header;
    std::array<int, kCount> covered{};

    void clear()
    {
        header.fill(QString());
        covered.fill(0);
    }
    // Steps over a covered column; false when column c has a cell of its own.
    bool skip_covered(int &c)
    {
        if (c >= kCount || covered[static_cast<size_t>(c)] <= 0)
            return false;
        --covered[static_cast<size_t>(c)];
        ++c;
        return true;
    }
    void cover(int c, int rowspan)
    {
        if (c < kCount && rowspan > 0)
            covered[static_cast<size_t>(c)] = rowspan - 1;
    }
    QString header_at(int c) const { return c < kCount ? header[static_cast<size_t>(c)] : QString(); }
};

struct HeaderRules {
    bool (*is_header_cell)(const QString &cell);
    bool clear_other_rows; // a row that is not the header row forgets the names read so far
    bool copy_colspan;     // a cell spanning k columns names all k
};

// Reads header rows from just past a TR until the row holding a header cell; gives the
// number of columns of that row, or -1 when the text ends first.
int read_header_rows(TagScanner &s, TableColumns &columns, const HeaderRules &rules);

enum class CellVerdict { next, reject, done };
enum class RowEnd { row, table_closed, reject, done };

// Reads one data row. on_cell(column, header, text) sees every cell the row has (spans
// across rows honoured, spans across columns not). With `at_cell` the scanner has just read
// the row's first TD instead of a TR.
template <typename OnCell>
RowEnd read_data_row(TagScanner &s, TableColumns &columns, bool at_cell, OnCell on_cell)
{
    int c = 0;
    bool pending = at_cell;
    for (;;) {
        if (columns.skip_covered(c))
            continue;
        if (!pending && !s.seek({u"TD", u"TH", u"/TR", u"TABLE", u"/TABLE"}))
            return RowEnd::reject;
        pending = false;
        if (s.is(u"/TR"))
            return RowEnd::row;
        if (!s.is_cell())
            return RowEnd::table_closed;
        const int rowspan = leading_number(s.first);
        QString cell;
        if (!s.cell(cell))
            return RowEnd::reject;
        columns.cover(c, rowspan);
        const CellVerdict verdict = on_cell(c, columns.header_at(c), cell);
        if (verdict == CellVerdict::reject)
            return RowEnd::reject;
        if (verdict == CellVerdict::done)
            return RowEnd::done;
        c = std::min(c + 1, TableColumns::kCount);
    }
}

// Reads the data rows of a table while more() holds, each through read_row(at_cell),
// which reads one row from its start (with `at_cell` the row begins at the TD just read)
// and gives how it ended. Rows begin at "TR"; with `loose_rows` (the goal result pages)
// also at "TBODY" or straight at a "TD", and a nested "TABLE" closes the table too. False
// when the page is not as expected.
template <typename More, typename ReadRow>
bool read_data_rows(TagScanner &s, bool loose_rows, More more, ReadRow read_row)
{
    while (more()) {
        const bool found =
            loose_rows ? s.seek({u"TBODY", u"TR", u"TD", u"TABLE", u"/TABLE"}) : s.seek({u"TR", u"/TABLE"});
        if (!found)
            return false;
        if (s.is(u"/TABLE") || s.is(u"TABLE"))
            return true;
        const RowEnd end = read_row(s.is(u"TD"));
        if (end == RowEnd::reject)
            return false;
        if (end != RowEnd::row)
            return true;
    }
    return true;
}

// Reads one data row of which only the cells under `headers` count: they must come in
// that order, each at most once; `taken` tells how many the row had.
template <size_t N>
RowEnd read_named_cells(TagScanner &s, TableColumns &columns, bool at_cell,
                        const std::array<QStringView, N> &headers, std::array<QString, N> &cells,
                        size_t &taken)
{
    taken = 0;
    return read_data_row(s, columns, at_cell, [&](int, const QString &header, const QString &cell) {
        for (size_t k = 0; k < N; ++k) {
            if (header == headers[k]) {
                if (taken != k)
                    return CellVerdict::reject;
                cells[k] = cell;
                ++taken;
                return CellVerdict::next;
            }
        }
        return CellVerdict::next;
    });
}
