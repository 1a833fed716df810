#include "main_window/list_columns.h"

#include "book/lottery_kind.h"

#include <QFontMetrics>
#include <QStringList>
#include <algorithm>

namespace {

// Padding a cell's text gets from the view, on both sides together.
constexpr int kCellPadding = 18;

int widest(const QFontMetrics &metrics, const QStringList &texts)
{
    int width = 0;
    for (const QString &t : texts)
        width = std::max(width, metrics.horizontalAdvance(t));
    return width;
}

} // namespace

std::array<int, kListColumns> list_column_widths(const QFontMetrics &cells, const QFontMetrics &header)
{
    QStringList kinds;
    for (int code = 0; code < kKindCount; ++code)
        kinds << kind_display_name(kind_from_code(code));
    // The largest figures a book can hold: 32,767 toto multis of 3^13 tickets each give
    // about 5.2e10 tickets, 5.2e12 yen bought and, at the 500,000,000 cap, 2.6e19 yen won.
    const QStringList samples[kListColumns] = {
        {QStringLiteral("ＷＷＷＷＷ"), QStringLiteral("漢字漢字漢"), QStringLiteral("WWWWWWWWWW")},
        kinds,
        {QStringLiteral("99,999,999,999")},
        {QStringLiteral("9,999,999,999,999")},
        {QStringLiteral("999,999"), QStringLiteral("未確定")},
        {QStringLiteral("999,999"), QStringLiteral("未確定")},
        {QStringLiteral("999,999"), QStringLiteral("未確定")},
        {QStringLiteral("999,999"), QStringLiteral("未確定")},
        {QStringLiteral("999,999"), QStringLiteral("未確定")},
        {QStringLiteral("999,999"), QStringLiteral("未確定")},
        {QStringLiteral("999,999"), QStringLiteral("未確定")},
        {QStringLiteral("99,999,999,999,999,999,999"), QStringLiteral("金額未定")},
    };
    std::array<int, kListColumns> widths{};
    for (int c = 0; c < kListColumns; ++c)
        widths[static_cast<size_t>(c)] =
            std::max(widest(cells, samples[c]), header.horizontalAdvance(entry_column_heading(c))) +
            kCellPadding;
    return widths;
}

int list_row_height(const QFontMetrics &cells)
{
    const int line = std::max(cells.height(), cells.boundingRect(QStringLiteral("未確定金額Ｗg")).height());
    return line + line / 2;
}
