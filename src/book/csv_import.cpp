#include "book/csv_import.h"

#include "book/csv_cells.h"
#include "platform/shift_jis.h"
#include "results/winning_check.h"

#include <QFile>
#include <limits>

namespace {

constexpr int64_t kMaxTickets = std::numeric_limits<int32_t>::max();
constexpr int64_t kMaxPrize = std::numeric_limits<int32_t>::max();
constexpr int64_t kMaxCount = std::numeric_limits<int16_t>::max();

// Mark names of an "M" line per in-memory mark: home "1", draw "0", away "2".
constexpr std::array<char, 3> kMatchMarkName = {'1', '0', '2'};

int mark_of_name(LotteryKind kind, const QByteArray &name)
{
    if (name.size() != 1)
        return -1;
    if (is_match_kind(kind)) {
        for (size_t m = 0; m < kMatchMarkName.size(); ++m)
            if (name[0] == kMatchMarkName[m])
                return static_cast<int>(m);
        return -1;
    }
    return name[0] >= '0' && name[0] <= '3' ? name[0] - '0' : -1;
}

// Reads the cells of one line after its first; every read fails once the line has run
// out of cells, so a short line never turns into zeros.
class RowParser {
public:
    RowParser(QByteArrayView line, LotteryKind kind) : cells_(line), kind_(kind) {}

    bool parse(CsvRow &row)
    {
        if (!cells_.has_cell())
            return false;
        const QByteArray type = cells_.next();
        bool ok = false;
        if (type == "S") {
            row.row_type = kCsvSingle;
            ok = values(row);
        } else if (type == "M") {
            row.row_type = kCsvMulti;
            ok = !is_big_family(kind_) && marks(row);
        } else if (type == "R") {
            row.row_type = kCsvResults;
            ok = values(row) && prizes(row);
        }
        return ok && !cells_.has_cell();
    }

private:
    bool cell(QByteArray &out)
    {
        if (!cells_.has_cell())
            return false;
        out = cells_.next();
        return true;
    }

    bool number(int64_t &out, int64_t low, int64_t high)
    {
        QByteArray text;
        if (!cell(text))
            return false;
        out = csv_number(text);
        return out >= low && out <= high;
    }

    bool values(CsvRow &row)
    {
        for (int s = 0; s < slot_count(kind_); ++s) {
            int64_t v = 0;
            if (!number(v, std::numeric_limits<int16_t>::min(), kMaxCount))
                return false;
            row.values[static_cast<size_t>(s)] = static_cast<int16_t>(v);
        }
        return true;
    }

    bool marks(CsvRow &row)
    {
        const int width = marks_per_slot(kind_);
        for (int s = 0; s < slot_count(kind_); ++s) {
            auto &slot = row.marks[static_cast<size_t>(s)];
            int64_t count = 0;
            QByteArray text;
            if (!cell(text))
                return false;
            count = csv_number(text);
            if (count > kMaxCount)
                return false;
            for (int64_t k = 0; k < count; ++k) {
                if (!cell(text))
                    return false;
                if (const int mark = mark_of_name(kind_, text); mark >= 0)
                    slot[static_cast<size_t>(mark)] = true;
            }
            int set = 0;
            for (int m = 0; m < width; ++m)
                set += slot[static_cast<size_t>(m)] ? 1 : 0;
            // The book file cannot hold a slot without marks, nor all four goal counts.
            if (set == 0 || set == 4)
                return false;
        }
        return true;
    }

    bool prizes(CsvRow &row)
    {
        QByteArray first;
        if (!cell(first))
            return false;
        if (first == "B") {
            row.state = kPrizeRefund;
            return true;
        }
        if (first == "0") {
            row.state = kPrizeUndecided;
            return true;
        }
        row.state = kPrizeEntered;
        const int64_t count = csv_number(first);
        if (count < 0 || count > (is_match_kind(kind_) ? 6 : 5))
            return false;
        row.prize_count = static_cast<int>(count);
        const int64_t cap = prize_cap(kind_) != 0 ? prize_cap(kind_) : kMaxPrize;
        for (int g = 0; g < row.prize_count; ++g) {
            int64_t prize = 0;
            if (!number(prize, 0, cap))
                return false;
            row.prizes[static_cast<size_t>(g)] = static_cast<int32_t>(prize);
        }
        return true;
    }

    CsvCellReader cells_;
    LotteryKind kind_;
};

CsvRowView view_of(const CsvRow &row, LotteryKind kind)
{
    CsvRowView v;
    const int width = marks_per_slot(kind);
    const int n = slot_count(kind);
    if (row.row_type == kCsvMulti) {
        v.item = QStringLiteral("マルチ");
        v.cells = row.marks;
        MultiPurchase multi;
        multi.marks = row.marks;
        count_multi(multi, kind);
        v.doubles = multi.doubles;
        v.triples = multi.triples;
        v.combos = multi.combos;
        return v;
    }
    // A cell is set when the value names its outcome; a cancelled slot (4) sets them all.
    for (int s = 0; s < n; ++s) {
        const int value = row.values[static_cast<size_t>(s)];
        for (int m = 0; m < width; ++m) {
            const int name = is_match_kind(kind) ? kMatchMarkName[static_cast<size_t>(m)] - '0' : m;
            v.cells[static_cast<size_t>(s)][static_cast<size_t>(m)] = value == name || value == 4;
        }
    }
    if (row.row_type == kCsvSingle) {
        v.item = QStringLiteral("シングル");
        v.combos = 1;
        return v;
    }
    v.item = QStringLiteral("結果");
    v.counters_shown = false;
    if (row.state == kPrizeUndecided) {
        v.prize_texts = {QStringLiteral("未定")};
    } else if (row.state == kPrizeRefund) {
        v.prize_texts = {QStringLiteral("払戻")};
    } else {
        v.grade_labels_shown = true;
        for (int g = 0; g < row.prize_count; ++g)
            v.prize_texts.push_back(format_yen(row.prizes[static_cast<size_t>(g)]) + QStringLiteral("円"));
    }
    return v;
}

int find_entry(const TicketBook &book, LotteryKind kind, const QByteArray &label)
{
    for (int i = 0; i < book.entry_count(); ++i) {
        const RoundEntry &e = book.entries[static_cast<size_t>(i)];
        if (e.kind == kind && same_csv_number(e.kai.bytes(), label))
            return i;
    }
    return -1;
}

void apply_results(RoundEntry &e, const CsvRow &row)
{
    const bool match = is_match_kind(e.kind);
    for (int s = 0; s < slot_count(e.kind); ++s) {
        const int v = row.values[static_cast<size_t>(s)];
        if (match) {
            static constexpr std::array<int, 6> kResultOfCode = {kDraw, kHomeWin,   kAwayWin,
                                                                 -1,    kCancelled, kResultNone};
            const int r = v >= 0 && v <= 5 ? kResultOfCode[static_cast<size_t>(v)] : -1;
            if (r >= 0)
                e.matches[static_cast<size_t>(s)].result = r;
        } else if (v >= 0 && v <= 5) {
            e.teams[static_cast<size_t>(s)].score = v == 5 ? kScoreNone : v + 1;
        }
    }
    e.state = row.state;
    for (size_t g = 0; g < row.prizes.size(); ++g)
        e.prizes[g] = row.prizes[g];
    if (match) {
        // Only the flags the kind has; the book file keeps no others.
        e.has_grade3 = e.kind == LotteryKind::toto && row.prize_count == 3;
        e.has_grade5 = e.kind == LotteryKind::BIG && row.prize_count >= 5;
        e.has_grade6 = e.kind == LotteryKind::BIG && row.prize_count == 6;
    }
    // Prizes of grades the round does not have would not survive saving.
    for (int g = 2; g <= 6; ++g)
        if (match ? !grade_exists(e, g) : g > 2)
            e.prizes[static_cast<size_t>(g - 1)] = 0;
}

bool staged_entry_valid(const TicketBook &book, const CsvImport &staged)
{
    return staged.outcome.ok && staged.entry >= 0 && staged.entry < book.entry_count() &&
           book.entries[static_cast<size_t>(staged.entry)].kind == staged.kind;
}

} // namespace

QString csv_failed_message()
{
    return QStringLiteral("CSV読み込み失敗");
}

QString csv_failed_title()
{
    return QStringLiteral("yorimo");
}

QString csv_confirm_caption()
{
    return QStringLiteral("CSV読み込み確認");
}

QString csv_cell_text(bool set)
{
    return set ? QStringLiteral("○") : QStringLiteral("－");
}

CsvImport parse_csv(const QByteArray &bytes, const TicketBook &book)
{
    CsvImport failed;
    failed.outcome = Outcome::failure(csv_failed_message());
    if (book.entry_count() == 0)
        return failed;
    const std::vector<QByteArray> lines = csv_lines(bytes);
    if (lines.empty())
        return failed;
    CsvCellReader header(lines[0]);
    const QByteArray label = header.next();
    const QByteArray code = header.next();
    int kind_index = -1;
    for (int k = 0; k < kKindCount; ++k)
        if (kind_csv_code(kind_from_code(k)).toLatin1() == code)
            kind_index = k;
    if (kind_index < 0)
        return failed;
    CsvImport staged;
    staged.kind = kind_from_code(kind_index);
    staged.entry = find_entry(book, staged.kind, label);
    if (staged.entry < 0)
        return failed;
    staged.label = shift_jis::decode(label);
    staged.csv_rows.reserve(lines.size() - 1);
    staged.views.reserve(lines.size() - 1);
    for (size_t i = 1; i < lines.size(); ++i) {
        CsvRow row;
        if (!RowParser(lines[i], staged.kind).parse(row))
            return failed;
        staged.views.push_back(view_of(row, staged.kind));
        staged.csv_rows.push_back(row);
    }
    return staged;
}

CsvImport read_csv(const QString &path, const TicketBook &book)
{
    CsvImport failed;
    failed.outcome = Outcome::failure(csv_failed_message());
    if (book.entry_count() == 0)
        return failed;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed;
    file.close();
    return parse_csv(bytes, book);
}

Outcome csv_fits(const TicketBook &book, const CsvImport &staged)
{
    if (!staged_entry_valid(book, staged))
        return Outcome::failure(csv_failed_message());
    const RoundEntry &e = book.entries[static_cast<size_t>(staged.entry)];
    int64_t singles = 0;
    int64_t multis = 0;
    int64_t tickets = 0;
    for (const CsvRow &row : staged.csv_rows) {
        if (row.row_type == kCsvSingle) {
            ++singles;
            ++tickets;
        } else if (row.row_type == kCsvMulti) {
            MultiPurchase multi;
            multi.marks = row.marks;
            count_multi(multi, e.kind);
            ++multis;
            tickets += multi.combos;
        }
    }
    const auto size_of = [](const auto &pool) { return static_cast<int64_t>(pool.size()); };
    if (size_of(book.single_pool(e.kind)) + singles > kMaxRecords ||
        size_of(book.multi_pool(e.kind)) + multis > kMaxRecords ||
        (tickets > 0 && e.tickets + tickets > kMaxTickets))
        return Outcome::failure(out_of_memory_message());
    return Outcome::success();
}

Outcome apply_csv(TicketBook &book, const CsvImport &staged)
{
    if (Outcome fits = csv_fits(book, staged); !fits.ok)
        return fits;
    const int entry = staged.entry;
    RoundEntry &e = book.entries[static_cast<size_t>(entry)];
    auto &singles = book.single_pool(e.kind);
    auto &multis = book.multi_pool(e.kind);
    // The tail is found once, so each row links in constant time.
    ChainAppender chain(book, entry);
    for (const CsvRow &row : staged.csv_rows) {
        if (row.row_type == kCsvSingle) {
            SinglePurchase p;
            for (int s = 0; s < slot_count(e.kind); ++s) {
                const int v = row.values[static_cast<size_t>(s)];
                int pick = 0;
                if (is_match_kind(e.kind))
                    pick = v == 1 ? kHomeWin : v == 2 ? kAwayWin : v == 0 ? kDraw : 0;
                else if (v >= 0 && v <= 3)
                    pick = v;
                p.picks[static_cast<size_t>(s)] = static_cast<uint8_t>(pick);
            }
            singles.push_back(p);
            chain.append(kSingle, static_cast<int>(singles.size()) - 1);
            e.tickets += 1;
        } else if (row.row_type == kCsvMulti) {
            MultiPurchase p;
            p.marks = row.marks;
            count_multi(p, e.kind);
            p.marked = 0; // only the multi dialog keeps this
            multis.push_back(p);
            chain.append(kMulti, static_cast<int>(multis.size()) - 1);
            e.tickets += p.combos;
        } else {
            apply_results(e, row);
        }
    }
    return Outcome::success();
}
