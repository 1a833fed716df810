// 収支統計 on paper: the statistics window's table and its chart, the chart drawn by the
// window itself so that paper and screen agree.
#include "main_window/form_stats.h"
#include "main_window/print_cells.h"
#include "main_window/print_pages.h"

#include "results/book_stats.h"

#include <QAbstractAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <algorithm>
#include <vector>

using namespace print_cells;

namespace {

constexpr double kTitlePoints = 14;
constexpr double kTablePoints = 9;
constexpr double kChartFontPoints = 9;
// Below this height the chart goes to a page of its own.
constexpr double kChartMinimumMm = 70;
// The chart is laid out as on a screen of this many dots per inch, then scaled to the paper.
constexpr double kChartDpi = 96;

class StatsPrint final : public PrintDocument {
public:
    StatsPrint(const TicketBook &book, std::optional<LotteryKind> kind, UiServices &ui, PrintHeading heading)
        : PrintDocument(std::move(heading)), form_(book, this->heading().book_name, ui)
    {
        const BookStats stats = book_stats(book);
        for (const KindStatsRow &k : stats.kinds)
            rows_.push_back(stats_row_texts(kind_display_name(k.kind), k.stats, StatsNumbers::grouped));
        rows_.push_back(stats_row_texts(QStringLiteral("合計"), stats.total, StatsNumbers::grouped));
        for (const KindStatsRow &k : stats.kinds)
            losses_.push_back(k.stats.balance() < 0);
        losses_.push_back(stats.total.balance() < 0);

        auto *kinds = form_.findChild<QComboBox *>(QStringLiteral("cmb_kind"));
        const int code = kind ? kind_code(*kind) : -1;
        if (const int at = kinds->findData(code); at >= 0)
            kinds->setCurrentIndex(at);
        chart_ = form_.findChild<QChartView *>(QStringLiteral("cht_balance"))->chart();
        // The chart's texts in the pages' family, so they too read back from a PDF.
        const QFont text(font_family(), static_cast<int>(kChartFontPoints));
        QFont title = text;
        title.setBold(true);
        chart_->setTitleFont(title);
        chart_->legend()->setFont(text);
        for (QAbstractAxis *axis : chart_->axes()) {
            axis->setLabelsFont(text);
            axis->setTitleFont(text);
        }
    }

    QPageLayout::Orientation preferred_orientation() const override { return QPageLayout::Landscape; }

protected:
    int lay_out() override;
    void paint_body(QPainter &painter, int page) const override;

private:
    double paint_table(QPainter &painter) const;
    void paint_chart(QPainter &painter, const QRectF &target) const;

    FormStats form_;
    QChart *chart_ = nullptr;
    std::vector<QStringList> rows_; // the kinds present, then 合計
    std::vector<bool> losses_;

    // Set by lay_out().
    std::vector<double> widths_;
    double row_height_ = 0;
    double table_height_ = 0;
    QRectF chart_rect_;
    bool chart_apart_ = false;
};

int StatsPrint::lay_out()
{
    const QFont plain = font(kTablePoints);
    const QFont bold = font(kTablePoints, true);
    const QFontMetricsF plain_metrics(plain);
    const QFontMetricsF bold_metrics(bold);
    widths_.assign(kStatsColumns, 0);
    const QStringList headings = stats_headings();
    for (int c = 0; c < kStatsColumns; ++c) {
        double &w = widths_[static_cast<size_t>(c)];
        w = bold_metrics.horizontalAdvance(headings[c]);
        for (const QStringList &row : rows_)
            w = std::max(w, bold_metrics.horizontalAdvance(row[c]));
        w += 2 * padding(plain);
    }
    double natural = 0;
    for (const double w : widths_)
        natural += w;
    const double fit = body().width() / natural;
    for (double &w : widths_)
        w *= fit; // spread over the page (a narrow paper squeezes the cells, which then cut)
    row_height_ = plain_metrics.height() * 1.5;
    const double title = QFontMetricsF(font(kTitlePoints, true)).height() * 1.5;
    table_height_ = title + (static_cast<double>(rows_.size()) + 1) * row_height_ + row_height_;
    const double left_for_chart = body().height() - table_height_;
    chart_apart_ = left_for_chart < kChartMinimumMm * kDotsPerMm;
    chart_rect_ = chart_apart_
                      ? body()
                      : QRectF(body().left(), body().top() + table_height_, body().width(), left_for_chart);
    // The chart is laid out for its place once, as the window lays it out for its size.
    chart_->resize(chart_rect_.size() * (kChartDpi / kLayoutDpi));
    if (QGraphicsLayout *layout = chart_->layout())
        layout->activate();
    return chart_apart_ ? 2 : 1;
}

double StatsPrint::paint_table(QPainter &painter) const
{
    double top = body().top();
    painter.setPen(Qt::black);
    painter.setFont(font(kTitlePoints, true));
    const double title = QFontMetricsF(painter.font()).height() * 1.5;
    draw(painter, QRectF(body().left(), top, body().width(), title), heading().title, Qt::AlignLeft);
    top += title;
    const auto paint_row = [&](const QStringList &texts, bool bold, bool loss) {
        painter.setFont(font(kTablePoints, bold));
        double x = body().left();
        for (int c = 0; c < kStatsColumns; ++c) {
            const QRectF cell(x, top, widths_[static_cast<size_t>(c)], row_height_);
            painter.setPen(c == kStatsBalanceColumn && loss ? kLossColor : QColor(Qt::black));
            draw(painter, cell, texts[c], c == 0 ? Qt::AlignLeft : Qt::AlignRight);
            x += widths_[static_cast<size_t>(c)];
        }
        top += row_height_;
    };
    painter.fillRect(QRectF(body().left(), top, body().width(), row_height_), kHeadingShade);
    paint_row(stats_headings(), true, false);
    for (size_t r = 0; r < rows_.size(); ++r) {
        const bool total = r + 1 == rows_.size();
        if (total) {
            painter.setPen(rule(0.6));
            painter.drawLine(QPointF(body().left(), top), QPointF(body().right(), top));
        } else if (r % 2 == 1) {
            painter.fillRect(QRectF(body().left(), top, body().width(), row_height_), kRowShade);
        }
        paint_row(rows_[r], total, losses_[r]);
    }
    return top;
}

void StatsPrint::paint_chart(QPainter &painter, const QRectF &target) const
{
    const QRectF source(chart_->scenePos(), chart_->size());
    chart_->scene()->render(&painter, target, source, Qt::KeepAspectRatio);
}

void StatsPrint::paint_body(QPainter &painter, int page) const
{
    if (page == 0)
        paint_table(painter);
    if (page == page_count() - 1)
        paint_chart(painter, chart_rect_);
}

} // namespace

QString stats_print_title(std::optional<LotteryKind> kind)
{
    return kind ? QStringLiteral("収支統計（") + kind_display_name(*kind) + QStringLiteral("）")
                : QStringLiteral("収支統計");
}

std::unique_ptr<PrintDocument> stats_print(const TicketBook &book, std::optional<LotteryKind> kind,
                                           UiServices &ui, PrintHeading heading)
{
    auto document = std::make_unique<StatsPrint>(book, kind, ui, std::move(heading));
    document->set_page_layout(document->default_layout());
    return document;
}
