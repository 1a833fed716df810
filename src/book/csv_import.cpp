#include "book/csv_import.h"

#include "book/csv_cells.h"
#include "platform/shift_jis.h"

#include <QFile>
#include <limits>

namespace {

constexpr int64_t kMaxPrize = std::numeric_limits<int32_t>::max();
constexpr int64_t kMaxCount = std::numeric_limits<int16_t>::max();

// The mark an "M" line's mark cell names, -1 for any other name (ignored).
int mark_of_name(LotteryKind kind, const QByteArray &name)
{
    if (name.size() != 1 || name[0] < '0' || name[0] > '9')
        return -1;
    const int code = name[0] - '0';
    if (is_match_kind(kind))
        return mark_of_file_code(code);
    return code <= 3 ? code : -1;
}

// Reads the cells of one line after its first; every read fails once the line has run
// out of cells, so a short line never turns into zeros. Nor does a code cell that holds
// no number: a pick, a mark count, a mark name or a result must start with one.
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

    bool code_cell(QByteArray &out) { return cell(out) && csv_has_number(out); }

    bool number(int64_t &out, int64_t low, int64_t high, bool code)
    {
        QByteArray text;
        if (!(code ? code_cell(text) : cell(text)))
            return false;
        out = csv_number(text);
        return out >= low && out <= high;
    }

    bool values(CsvRow &row)
    {
        for (int s = 0; s < slot_count(kind_); ++s) {
            int64_t v = 0;
            if (!number(v, std::numeric_limits<int16_t>::min(), kMaxCount, true))
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
            QByteArray text;
            if (!code_cell(text))
                return false;
            const int64_t count = csv_number(text);
            if (count > kMaxCount)
                return false;
            for (int64_t k = 0; k < count; ++k) {
                if (!code_cell(text))
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
        MultiPurchase counted;
        counted.marks = row.marks;
        count_multi(counted, kind_);
        row.doubles = counted.doubles;
        row.triples = counted.triples;
        row.combos = counted.combos;
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
            if (!number(prize, 0, cap, false))
                return false;
            row.prizes[static_cast<size_t>(g)] = static_cast<int32_t>(prize);
        }
        return true;
    }

    CsvCellReader cells_;
    LotteryKind kind_;
};

int find_entry(const TicketBook &book, LotteryKind kind, const QByteArray &label)
{
    for (int i = 0; i < book.entry_count(); ++i) {
        const RoundEntry &e = book.entries[static_cast<size_t>(i)];
        if (e.kind == kind && same_csv_number(e.kai.bytes(), label))
            return i;
    }
    return -1;
}

CsvImport failed_import(QString message = csv_failed_message(), QString detail = QString())
{
    CsvImport failed;
    failed.outcome = Outcome::failure(std::move(message));
    failed.detail = std::move(detail);
    return failed;
}

QString too_large_detail()
{
    return QStringLiteral("ファイルが大きすぎます（%1バイトまで）。").arg(kMaxCsvBytes);
}

// Stages a file line by line, and stops at the first line that is broken or that the
// book could no longer take, so no more of a hostile file is held than of a good one.
class CsvStager {
public:
    explicit CsvStager(const TicketBook &book) : book_(book) {}

    bool take(QByteArrayView line)
    {
        ++line_;
        // A UTF-8 byte-order mark would make the label no number, matching a round without one.
        if (line_ == 1 && line.startsWith("\xEF\xBB\xBF"))
            return refuse(QStringLiteral("UTF-8 のファイルです。Shift-JIS で保存してください。"));
        if (!shift_jis::is_valid(line))
            return refuse(QStringLiteral("Shift-JIS として読めない文字があります。"));
        if (staged_.entry < 0)
            return header(line);
        CsvRow row;
        if (!RowParser(line, staged_.kind).parse(row)) {
            const char type = line.isEmpty() ? '\0' : line.front();
            return refuse(
                type == 'S' || type == 'M' || type == 'R'
                    ? QStringLiteral("%1 行の値が足りないか、数でない値があります。").arg(QLatin1Char(type))
                    : QStringLiteral("行の種類（S、M、R）が読めません。"));
        }
        if (row.row_type == kCsvSingle)
            tally_.add_single();
        else if (row.row_type == kCsvMulti)
            tally_.add_multi(staged_.kind, row.combos);
        else if (++results_ > kMaxCsvResultsLines)
            return refuse(QStringLiteral("結果の行が多すぎます。"));
        // The book's limits, checked as the rows come.
        const RoundEntry &e = book_.entries[static_cast<size_t>(staged_.entry)];
        if (Outcome fits = purchases_fit(book_, e.kind, e.tickets, tally_); !fits.ok) {
            refusal_ = fits.message;
            return refuse(QStringLiteral("帳簿の上限を超えます。"));
        }
        staged_.csv_rows.push_back(row);
        return true;
    }

    // What was staged once every line has been taken; a file without a header fails.
    CsvImport result()
    {
        return staged_.entry < 0 ? failed_import(csv_failed_message(), QStringLiteral("ファイルが空です。"))
                                 : std::move(staged_);
    }
    // Why staging stopped: the line refused, or else the line after the last one taken,
    // which was too long to be a line of the file.
    CsvImport failure() const
    {
        const QString why = reason_.isEmpty() ? QStringLiteral("行が長すぎます。") : reason_;
        return failed_import(!refusal_.isEmpty() ? refusal_ : csv_failed_message(),
                             QStringLiteral("%1行目: ").arg(reason_.isEmpty() ? line_ + 1 : line_) + why);
    }

private:
    bool refuse(QString reason)
    {
        reason_ = std::move(reason);
        return false;
    }

    bool header(QByteArrayView line)
    {
        CsvCellReader cells(line);
        const QByteArray label = cells.next();
        const QByteArray code = cells.next();
        int kind_index = -1;
        for (int k = 0; k < kKindCount; ++k)
            if (kind_csv_code(kind_from_code(k)).toLatin1() == code)
                kind_index = k;
        if (kind_index < 0)
            return refuse(QStringLiteral("見出しの種別が読めません。"));
        staged_.kind = kind_from_code(kind_index);
        staged_.entry = find_entry(book_, staged_.kind, label);
        staged_.label = shift_jis::decode(label);
        return staged_.entry >= 0 || refuse(QStringLiteral("帳簿に同じ回・種別の開催回がありません。"));
    }

    const TicketBook &book_;
    CsvImport staged_;
    PurchaseTally tally_;
    int64_t results_ = 0;
    int64_t line_ = 0;
    QString reason_;
    QString refusal_; // the book's own refusal of what the file would add
};

void apply_results(RoundEntry &e, const CsvRow &row)
{
    const bool match = is_match_kind(e.kind);
    for (int s = 0; s < slot_count(e.kind); ++s) {
        const int v = row.values[static_cast<size_t>(s)];
        if (match) {
            if (const int r = match_result_of_file_code(v); r >= 0)
                e.matches[static_cast<size_t>(s)].result = r;
        } else if (const int score = score_of_file_code(v); score >= 0) {
            e.teams[static_cast<size_t>(s)].score = score;
        }
    }
    e.state = row.state;
    for (size_t g = 0; g < row.prizes.size(); ++g)
        e.prizes[g] = row.prizes[g];
    if (match)
        set_grade_flags(e, row.prize_count);
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

CsvImport parse_csv(const QByteArray &bytes, const TicketBook &book)
{
    if (book.entry_count() == 0)
        return failed_import();
    if (bytes.size() > kMaxCsvBytes)
        return failed_import(csv_failed_message(), too_large_detail());
    CsvStager stager(book);
    CsvLineSplitter lines(kMaxCsvLineBytes);
    const auto take = [&](QByteArrayView line) { return stager.take(line); };
    if (!lines.feed(bytes, take) || !lines.finish(take))
        return stager.failure();
    return stager.result();
}

CsvImport read_csv(const QString &path, const TicketBook &book)
{
    if (book.entry_count() == 0)
        return failed_import();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failed_import(csv_failed_message(), QStringLiteral("ファイルを開けません。"));
    if (!file.isSequential() && file.size() > kMaxCsvBytes)
        return failed_import(csv_failed_message(), too_large_detail());
    CsvStager stager(book);
    CsvLineSplitter lines(kMaxCsvLineBytes);
    const auto take = [&](QByteArrayView line) { return stager.take(line); };
    QByteArray chunk(qsizetype{1} << 16, Qt::Uninitialized);
    int64_t total = 0;
    for (;;) {
        const qint64 got = file.read(chunk.data(), chunk.size());
        if (got < 0)
            return failed_import(csv_failed_message(), QStringLiteral("ファイルを読めません。"));
        if (got == 0)
            break;
        // A pipe, or a file that grows while it is read, meets the same bound.
        total += got;
        if (total > kMaxCsvBytes)
            return failed_import(csv_failed_message(), too_large_detail());
        if (!lines.feed(QByteArrayView(chunk.constData(), got), take))
            return stager.failure();
    }
    if (file.error() != QFileDevice::NoError)
        return failed_import(csv_failed_message(), QStringLiteral("ファイルを読めません。"));
    if (!lines.finish(take))
        return stager.failure();
    return stager.result();
}

NewPurchase csv_purchase(const CsvRow &row, LotteryKind kind)
{
    if (row.row_type == kCsvMulti) {
        MultiPurchase p;
        p.marks = row.marks;
        p.doubles = row.doubles;
        p.triples = row.triples;
        p.combos = row.combos;
        p.marked = 0; // only the multi dialog keeps this
        return p;
    }
    SinglePurchase p;
    for (int s = 0; s < slot_count(kind); ++s) {
        const int v = row.values[static_cast<size_t>(s)];
        int pick = 0;
        if (is_match_kind(kind)) {
            if (const int mark = mark_of_file_code(v); mark >= 0)
                pick = kResultOfMark[static_cast<size_t>(mark)];
        } else if (v >= 0 && v <= 3) {
            pick = v;
        }
        p.picks[static_cast<size_t>(s)] = static_cast<uint8_t>(pick);
    }
    return p;
}

RoundUpdate csv_update(const TicketBook &book, const CsvImport &staged)
{
    RoundUpdate update;
    update.entry = staged.entry;
    if (!staged_entry_valid(book, staged)) {
        update.entry = -1; // no entry: refused when applied
        return update;
    }
    update.round = book.entries[static_cast<size_t>(staged.entry)];
    const LotteryKind kind = update.round.kind;
    update.purchases.reserve(staged.csv_rows.size());
    for (const CsvRow &row : staged.csv_rows) {
        if (row.row_type != kCsvResults) {
            update.purchases.push_back(csv_purchase(row, kind));
        } else {
            // Each results line overwrites the one before.
            apply_results(update.round, row);
            update.results = true;
        }
    }
    return update;
}
