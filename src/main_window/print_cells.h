#pragma once

#include "main_window/print_pages.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QString>

// What the three printed documents draw alike: cells of one line, rules and shading.
namespace print_cells {

// A text as one line: a label read from a file may hold line breaks and tabs.
inline QString one_line(QString text)
{
    for (QChar &c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    return text;
}

// Room left and right of a cell's text, in layout dots.
inline double padding(const QFont &font)
{
    return font.pixelSize() * 0.35;
}

// Draws `text` in `cell` with the painter's font, on one line, cut with "…" where the cell
// is too narrow.
inline void draw(QPainter &painter, const QRectF &cell, const QString &text, Qt::Alignment align)
{
    const double pad = padding(painter.font());
    const QRectF inner = cell.adjusted(pad, 0, -pad, 0);
    const QFontMetricsF metrics(painter.font());
    const QString line = metrics.elidedText(one_line(text), Qt::ElideRight, inner.width());
    painter.drawText(inner, static_cast<int>(align | Qt::AlignVCenter | Qt::TextSingleLine), line);
}

// A rule of `points` width.
inline QPen rule(double points, const QColor &color = Qt::black)
{
    QPen pen(color);
    pen.setWidthF(points * PrintDocument::kDotsPerPoint);
    return pen;
}

inline const QColor kHeadingShade{0xe4, 0xe4, 0xe4};
inline const QColor kRowShade{0xf3, 0xf3, 0xf3};
inline const QColor kLossColor{0xc0, 0x20, 0x20};

} // namespace print_cells
