#include "book/csv_export.h"

#include "book/book_file.h"
#include "book/csv_cells.h"
#include "book/message_text.h"
#include "platform/shift_jis.h"

#include <QFileInfo>

namespace {

QByteArray match_code(int result)
{
    return QByteArray::number(match_file_code(result));
}

QByteArray single_line(const SinglePurchase &p, LotteryKind kind)
{
    QByteArray line = "S";
    for (int s = 0; s < slot_count(kind); ++s) {
        const int pick = p.picks[static_cast<size_t>(s)];
        line += ',';
        // A match pick of 0 (none) is written as a draw, like the pick 3.
        line += is_match_kind(kind) ? (pick == kHomeWin || pick == kAwayWin ? match_code(pick) : "0")
                                    : QByteArray::number(pick);
    }
    return line;
}

QByteArray multi_line(const MultiPurchase &p, LotteryKind kind)
{
    // The file names match marks in the order of their result codes: home, away, draw.
    static constexpr std::array<int, 3> kMatchOrder = {mark_of_result(kHomeWin), mark_of_result(kAwayWin),
                                                       mark_of_result(kDraw)};
    static constexpr std::array<int, 4> kGoalOrder = {0, 1, 2, 3};
    QByteArray line = "M";
    for (int s = 0; s < slot_count(kind); ++s) {
        const auto &marks = p.marks[static_cast<size_t>(s)];
        QByteArray names;
        int count = 0;
        auto name = [&](int mark) {
            if (!marks[static_cast<size_t>(mark)])
                return;
            ++count;
            names += ',';
            names += is_match_kind(kind) ? match_code(kResultOfMark[static_cast<size_t>(mark)])
                                         : QByteArray::number(mark);
        };
        if (is_match_kind(kind))
            for (int mark : kMatchOrder)
                name(mark);
        else
            for (int mark : kGoalOrder)
                name(mark);
        line += ',' + QByteArray::number(count) + names;
    }
    return line;
}

QByteArray results_line(const RoundEntry &e)
{
    QByteArray line = "R";
    for (int s = 0; s < slot_count(e.kind); ++s) {
        const int r = e.slot_result(s);
        line += ',';
        line += is_match_kind(e.kind) ? match_code(r) : QByteArray::number(score_file_code(r));
    }
    if (e.state == kPrizeRefund) {
        line += ",B";
    } else if (e.state == kPrizeEntered) {
        const int grades = grade_count(e);
        line += ',' + QByteArray::number(grades);
        for (int g = 0; g < grades; ++g)
            line += ',' + QByteArray::number(e.prizes[static_cast<size_t>(g)]);
    } else {
        line += ",0";
    }
    return line;
}

// Why the import could not read this label back from the header, or "" when it can.
QString label_refusal(const QByteArray &label)
{
    if (label.contains(','))
        return QStringLiteral("開催回に「,」が含まれているため、CSVファイルに書き出せません。");
    if (label.contains('\r') || label.contains('\n'))
        return QStringLiteral("開催回に改行が含まれているため、CSVファイルに書き出せません。");
    // What the import reads of the label (quotes, broken bytes) must name the same round.
    CsvCellReader cell(label);
    if (!shift_jis::is_valid(label) || !same_csv_number(cell.next(), label))
        return QStringLiteral("この開催回はCSVファイルから読み戻せないため、書き出せません。");
    return QString();
}

} // namespace

QString csv_file_name(const RoundEntry &round)
{
    const QString kai = file_name_part(round.kai.text());
    const QString kind = file_name_part(kind_display_name(round.kind));
    return (kai.isEmpty() ? kind : kai + u'_' + kind) + QStringLiteral(".csv");
}

QString csv_no_entry_message()
{
    return QStringLiteral("書き出す開催回がありません。");
}

CsvExport export_csv(const TicketBook &book, int entry)
{
    CsvExport out;
    if (entry < 0 || entry >= book.entry_count()) {
        out.outcome = Outcome::failure(csv_no_entry_message());
        return out;
    }
    const RoundEntry &e = book.entries[static_cast<size_t>(entry)];
    if (const QString refusal = label_refusal(e.kai.bytes()); !refusal.isEmpty()) {
        out.outcome = Outcome::failure(refusal);
        return out;
    }
    QByteArray &bytes = out.bytes;
    bytes += e.kai.bytes() + ',' + kind_csv_code(e.kind).toLatin1() + "\r\n";
    book.for_each_purchase(entry, [&](int type, int index) {
        const auto i = static_cast<size_t>(index);
        bytes += type == kSingle ? single_line(book.single_pool(e.kind)[i], e.kind)
                                 : multi_line(book.multi_pool(e.kind)[i], e.kind);
        bytes += "\r\n";
    });
    bytes += results_line(e) + "\r\n";
    return out;
}

Outcome save_csv(const TicketBook &book, int entry, const QString &path, const QString &book_path)
{
    const CsvExport exported = export_csv(book, entry);
    if (!exported.outcome.ok)
        return exported.outcome;
    if (Outcome refused = refuse_export_onto_book(path, book_path); !refused.ok)
        return refused;
    if (const FileWrite written = replace_file(path, exported.bytes); !written.ok)
        return save_failure(written.error, QFileInfo::exists(path));
    return Outcome::success();
}
