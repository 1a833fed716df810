#include "entry/csv_confirmation.h"

#include "book/amount_text.h"
#include "book/ticket_lines.h"
#include "results/live_texts.h"

#include <QHash>
#include <QStringList>

#include <variant>

CsvRowView csv_row_view(const CsvRow &row, LotteryKind kind)
{
    CsvRowView v;
    const int width = marks_per_slot(kind);
    const int n = slot_count(kind);
    if (row.row_type != kCsvResults)
        v.line = std::visit([kind](const auto &p) { return ticket_line(p, kind); }, csv_purchase(row, kind));
    if (row.row_type == kCsvMulti) {
        v.item = QStringLiteral("マルチ");
        v.cells = row.marks;
        v.doubles = row.doubles;
        v.triples = row.triples;
        v.combos = row.combos;
        return v;
    }
    // A cell is set when the value names its outcome; a cancelled slot (4) sets them all.
    for (int s = 0; s < n; ++s) {
        const int value = row.values[static_cast<size_t>(s)];
        for (int m = 0; m < width; ++m) {
            const int name = is_match_kind(kind) ? kMatchOutcomes[static_cast<size_t>(m)].file_code : m;
            v.cells[static_cast<size_t>(s)][static_cast<size_t>(m)] =
                value == name || value == kFileCancelled;
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

std::vector<CsvRowView> csv_row_views(const CsvImport &staged)
{
    std::vector<CsvRowView> views;
    views.reserve(staged.csv_rows.size());
    for (const CsvRow &row : staged.csv_rows)
        views.push_back(csv_row_view(row, staged.kind));
    return views;
}

namespace {

// A purchase as the repeat check compares it: its type and its line.
QString purchase_key(int type, const QString &line)
{
    return (type == kSingle ? QStringLiteral("S ") : QStringLiteral("M ")) + line;
}

QString prize_state_text(int state)
{
    switch (state) {
    case kPrizeEntered: return QStringLiteral("当選金額 入力済み");
    case kPrizeRefund: return QStringLiteral("払戻");
    default: return QStringLiteral("当選金額 未定");
    }
}

} // namespace

CsvEffect csv_effect(const TicketBook &book, const CsvImport &staged, const std::vector<CsvRowView> &views)
{
    const RoundEntry &entry = book.entries[static_cast<size_t>(staged.entry)];
    int64_t singles = 0;
    int64_t multis = 0;
    int64_t tickets = 0;
    int64_t results = 0;
    for (const CsvRow &row : staged.csv_rows) {
        if (row.row_type == kCsvSingle) {
            ++singles;
            ++tickets;
        } else if (row.row_type == kCsvMulti) {
            ++multis;
            tickets += row.combos;
        } else {
            ++results;
        }
    }

    CsvEffect effect;
    if (singles + multis == 0) {
        effect.adds = QStringLiteral("券は追加しません。");
    } else {
        QStringList kinds;
        if (singles > 0)
            kinds << QStringLiteral("シングル %1件").arg(format_yen(singles));
        if (multis > 0)
            kinds << QStringLiteral("マルチ %1件").arg(format_yen(multis));
        int64_t held = 0;
        book.for_each_purchase(staged.entry, [&](int, int) { ++held; });
        effect.adds = QStringLiteral("%1（%2口）を追加します（追加後 購入 %3件（%4口））。")
                          .arg(kinds.join(u'・'), format_yen(tickets), format_yen(held + singles + multis),
                               format_yen(entry.tickets + tickets));

        // Each ticket of the round answers for one of the file's at most.
        QHash<QString, int64_t> held_lines;
        book.for_each_purchase(staged.entry, [&](int type, int index) {
            ++held_lines[purchase_key(type, ticket_line(book, staged.entry, type, index))];
        });
        int64_t repeated = 0;
        for (size_t i = 0; i < staged.csv_rows.size() && !held_lines.isEmpty(); ++i) {
            const int row_type = staged.csv_rows[i].row_type;
            if (row_type == kCsvResults)
                continue;
            const auto at =
                held_lines.find(purchase_key(row_type == kCsvSingle ? kSingle : kMulti, views[i].line));
            if (at == held_lines.end())
                continue;
            ++repeated;
            if (--at.value() == 0)
                held_lines.erase(at);
        }
        if (repeated > 0)
            effect.repeats =
                QStringLiteral("うち %1件は、この回に既にある券と同じです（読み込み直すと券が重複します）。")
                    .arg(format_yen(repeated));
    }

    const QString now = QStringLiteral("今は %1・%2").arg(decided_text(entry), prize_state_text(entry.state));
    if (results == 0)
        effect.replaces = QStringLiteral("結果と当選金額はそのままです。");
    else if (results == 1)
        effect.replaces =
            QStringLiteral("結果と当選金額を、ファイルの結果の行で置き換えます（%1）。").arg(now);
    else // each results line overwrites the one before
        effect.replaces =
            QStringLiteral("結果と当選金額を、ファイルの最後の結果の行（%1行中）で置き換えます（%2）。")
                .arg(format_yen(results), now);
    return effect;
}

QString csv_confirm_caption()
{
    return QStringLiteral("CSV読み込み確認");
}

QString csv_cell_text(bool set)
{
    return set ? QStringLiteral("○") : QStringLiteral("－");
}
