#include "download/table_columns.h"

int read_header_rows(TagScanner &s, TableColumns &columns, const HeaderRules &rules)
{
    for (;;) {
        bool header_row = false;
        int c = 0;
        for (;;) {
            if (columns.skip_covered(c))
                continue;
            if (!s.seek({u"TD", u"TH", u"/TR", u"TABLE"}))
                return -1;
            if (!s.is_cell())
                break;
            const int rowspan = leading_number(s.first);
            const int colspan = std::max(leading_number(s.second), 1);
            QString cell;
            if (!s.cell(cell))
                return -1;
            if (c < TableColumns::kCount) {
                const int last = rules.copy_colspan ? std::min(c + colspan, TableColumns::kCount) : c + 1;
                for (int k = c; k < last; ++k)
                    columns.header[static_cast<size_t>(k)] = cell;
                columns.cover(c, rowspan);
            }
            if (rules.is_header_cell(cell))
                header_row = true;
            c = std::min(TableColumns::kCount, c + std::min(colspan, TableColumns::kCount));
        }
        if (header_row)
            return c;
        if (rules.clear_other_rows)
            columns.clear();
        if (!s.seek({u"TR"}))
            return -1;
    }
}
