#include "main_window/form_stats.h"

#include "book/book_file.h"
#include "book/message_text.h"
#include "platform/checked_write.h"
#include "ui/form_controls.h"
#include "ui/save_name.h"
#include "ui/ui_services.h"

#include <QAreaSeries>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <functional>
#include <limits>

namespace {

// Round labels on the x axis: beyond this many they are thinned out, so they stay readable.
constexpr int kMaxAxisLabels = 10;
// Half the width of a round's bar, in rounds.
constexpr double kHalfBar = 0.4;
// Beyond this many rounds neighbouring rounds share one bar (their best gain and worst
// loss) and the line keeps each group's lowest and highest point: no screen shows more
// columns, and the chart stays quick on a book of 32,767 rounds.
constexpr int kMaxColumns = 1024;
// Grid lines of the value axes: both axes have this many steps and put zero on the same one.
constexpr int kAxisSteps = 6;
// Room above the highest and below the lowest figure, as a share of their span, so that a
// line lying on either stays clear of the plot's edge.
constexpr double kAxisMargin = 0.04;
// At most this many bars are cut, and only bars this many times taller than every bar
// left whole: a few big wins, not a book of many.
constexpr int kMostCutBars = 5;
constexpr double kCutRatio = 4;
const QColor kGainColor(0x2e, 0x7d, 0xc8);
const QColor kLossColor(0xd0, 0x30, 0x30);

double to_double(StatsInt value)
{
    return static_cast<double>(value);
}

// 1, 2 or 5 times a power of ten, at least `raw`.
double nice_step(double raw)
{
    if (!(raw > 0))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0, 10.0})
        if (f * power >= raw * (1 - 1e-12))
            return f * power;
    return 10 * power;
}

struct Span {
    double low = 0;
    double high = 0;
};

// Ranges for the two value axes that hold their spans with a margin, on grids of the same
// number of steps with zero on the same grid line, wasting as little height as possible.
std::pair<Span, Span> aligned_ranges(Span a, Span b)
{
    const auto widen = [](Span s) {
        s.low = std::min(s.low, 0.0);
        s.high = std::max(s.high, 0.0);
        const double margin = std::max(s.high - s.low, 1.0) * kAxisMargin;
        return Span{s.low - margin, s.high + margin};
    };
    a = widen(a);
    b = widen(b);
    std::pair<Span, Span> best;
    double best_cost = 0;
    for (int below = 1; below < kAxisSteps; ++below) {
        const int above = kAxisSteps - below;
        const double step_a = nice_step(std::max(-a.low / below, a.high / above));
        const double step_b = nice_step(std::max(-b.low / below, b.high / above));
        const double cost = step_a / (a.high - a.low) + step_b / (b.high - b.low);
        if (below == 1 || cost < best_cost) {
            best_cost = cost;
            best = {{-below * step_a, above * step_a}, {-below * step_b, above * step_b}};
        }
    }
    return best;
}

// The height of bar the bars' axis holds: beyond it the tallest few bars are cut. It lies
// at the widest gap among the tallest bars (in ratio) when that gap is wide enough; without
// one, nothing is cut (infinity). At most a fifth of the bars are cut.
double bar_limit(const std::vector<FormStats::BarColumn> &columns)
{
    std::vector<double> heights;
    heights.reserve(2 * columns.size());
    for (const FormStats::BarColumn &c : columns) {
        if (c.gain > 0)
            heights.push_back(c.gain);
        if (c.loss < 0)
            heights.push_back(-c.loss);
    }
    const int most = std::min(kMostCutBars, static_cast<int>(heights.size()) / 5);
    if (most < 1)
        return std::numeric_limits<double>::infinity();
    // Only the tallest few matter: linear, whatever the number of bars.
    const auto top = heights.begin() + most + 1;
    std::partial_sort(heights.begin(), top, heights.end(), std::greater<>());
    int cut = 0;
    double widest = kCutRatio;
    for (int k = 1; k <= most; ++k) {
        const double ratio = heights[static_cast<size_t>(k - 1)] / heights[static_cast<size_t>(k)];
        if (ratio >= widest) {
            widest = ratio;
            cut = k;
        }
    }
    return cut > 0 ? heights[static_cast<size_t>(cut)] : std::numeric_limits<double>::infinity();
}

// Bars shorter than this share of the tallest one shown cannot be read: the chart then
// takes the logarithmic scale unless told otherwise.
constexpr double kReadableShare = 0.02;

// The logarithmic scale of the bars: the same sign, the decades of the size.
double signed_log(double yen)
{
    return std::copysign(std::log10(1 + std::abs(yen)), yen);
}

// The mark of a cut bar: a white zigzag across it, a little inside the plot's edge.
void paint_cut_mark(QPainter *painter, double left, double width, double y)
{
    const double rise = 3;
    const double thick = 4;
    QPolygonF band;
    band << QPointF(left - 1, y + rise) << QPointF(left + width / 2, y - rise)
         << QPointF(left + width + 1, y + rise) << QPointF(left + width + 1, y + rise + thick)
         << QPointF(left + width / 2, y - rise + thick) << QPointF(left - 1, y + rise + thick);
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::white);
    painter->drawPolygon(band);
}

} // namespace

// The bars, painted as one rectangle per column over the plot: a filled outline of
// thousands of points costs the raster engine far more than a thousand rectangles. The
// gain series, empty but attached to the bars' axes, gives the mapping and the legend.
class FormStats::BarsItem : public QGraphicsItem {
public:
    BarsItem(QChart *chart, const std::vector<BarColumn> &columns)
        : QGraphicsItem(chart), chart_(chart), columns_(columns)
    {
        setZValue(3.5); // above the grid and the axes, beneath the running balance
        QObject::connect(chart, &QChart::plotAreaChanged, chart, [this] { prepareGeometryChange(); });
    }

    void set_anchor(QAbstractSeries *anchor, bool log)
    {
        anchor_ = anchor;
        log_ = log;
        update();
    }

    QRectF boundingRect() const override { return chart_->plotArea(); }

    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override
    {
        if (!anchor_)
            return;
        // Both axes are linear: two points give the whole mapping.
        const QPointF origin = chart_->mapToPosition(QPointF(0, 0), anchor_);
        const QPointF unit = chart_->mapToPosition(QPointF(1, 1), anchor_);
        const double per_round = unit.x() - origin.x();
        const double per_yen = unit.y() - origin.y();
        painter->save();
        painter->setClipRect(chart_->plotArea());
        const auto height = [this](double yen) { return log_ ? signed_log(yen) : yen; };
        for (const BarColumn &c : columns_) {
            const double left = origin.x() + (c.first - kHalfBar) * per_round;
            const double width = std::max((c.last - c.first + 2 * kHalfBar) * per_round, 1.0);
            if (c.gain > 0)
                painter->fillRect(QRectF(QPointF(left, origin.y()),
                                         QPointF(left + width, origin.y() + height(c.gain) * per_yen))
                                      .normalized(),
                                  kGainColor);
            if (c.loss < 0)
                painter->fillRect(QRectF(QPointF(left, origin.y()),
                                         QPointF(left + width, origin.y() + height(c.loss) * per_yen))
                                      .normalized(),
                                  kLossColor);
        }
        // A cut bar runs past the plot's edge: the mark says it goes on.
        const QRectF plot = chart_->plotArea();
        for (const BarColumn &c : columns_) {
            if (!c.cut)
                continue;
            const double left = origin.x() + (c.first - kHalfBar) * per_round;
            const double width = std::max((c.last - c.first + 2 * kHalfBar) * per_round, 1.0);
            if (origin.y() + c.gain * per_yen < plot.top())
                paint_cut_mark(painter, left, width, plot.top() + 8);
            if (origin.y() + c.loss * per_yen > plot.bottom())
                paint_cut_mark(painter, left, width, plot.bottom() - 14);
        }
        painter->restore();
    }

private:
    QChart *chart_;
    const std::vector<BarColumn> &columns_;
    QAbstractSeries *anchor_ = nullptr;
    bool log_ = false;
};

FormStats::FormStats(const TicketBook &book, const QString &book_path, UiServices &ui, QWidget *parent)
    : QDialog(parent), book_(book), book_path_(book_path), ui_(ui)
{
    setObjectName(QStringLiteral("form_stats"));
    setWindowTitle(QStringLiteral("収支統計"));
    setModal(true);
    setSizeGripEnabled(true);

    grd_stats_ = form_ui::named(new QTableWidget(this), QStringLiteral("grd_stats"));
    grd_stats_->setColumnCount(kStatsColumns);
    grd_stats_->setHorizontalHeaderLabels(stats_headings());
    grd_stats_->verticalHeader()->hide();
    grd_stats_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grd_stats_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grd_stats_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    grd_stats_->verticalHeader()->setDefaultSectionSize(grd_stats_->fontMetrics().height() + 8);
    grd_stats_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    cmb_kind_ = form_ui::named(new QComboBox(this), QStringLiteral("cmb_kind"));
    cmb_kind_->addItem(QStringLiteral("すべて"), -1);

    // A big win need not flatten every other bar: the scale of the bars.
    cmb_scale_ = form_ui::named(new QComboBox(this), QStringLiteral("cmb_scale"));
    cmb_scale_->addItem(QStringLiteral("ふつう（飛び抜けた棒は切る）"));
    cmb_scale_->addItem(QStringLiteral("ふつう（全ての棒を収める）"));
    cmb_scale_->addItem(QStringLiteral("対数"));
    cmb_scale_->setToolTip(
        QStringLiteral("ふつう: ほかの回よりけた違いに高い数本の棒は途中で切って ≈ の印を付け、"
                       "残りの棒を読み取れる高さで表示します\n"
                       "対数: 棒の高さを金額のけた数で表し、大きな当選の横でも小さな収支が見えます"));
    lbl_cut_ = form_ui::make_label(this, QStringLiteral("lbl_cut"), QString());

    cht_balance_ = form_ui::named(new QChartView(this), QStringLiteral("cht_balance"));
    cht_balance_->setRenderHint(QPainter::Antialiasing, false);
    cht_balance_->setMinimumHeight(280);
    cht_balance_->viewport()->setMouseTracking(true);
    cht_balance_->viewport()->installEventFilter(this);
    cht_balance_->chart()->legend()->setAlignment(Qt::AlignTop);
    // Yen on the value axis with thousands separators.
    cht_balance_->chart()->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    cht_balance_->chart()->setLocalizeNumbers(true);
    bars_item_ = new BarsItem(cht_balance_->chart(), columns_);

    cmd_save_ = form_ui::named(new QPushButton(QStringLiteral("画像として保存..."), this),
                               QStringLiteral("cmd_save"));
    cmd_save_->setAutoDefault(false);
    cmd_close_ = form_ui::named(new QPushButton(QStringLiteral("閉じる"), this), QStringLiteral("cmd_close"));
    cmd_close_->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grd_stats_);
    auto *chart_row = new QHBoxLayout;
    chart_row->addWidget(
        form_ui::make_label(this, QStringLiteral("lbl_kind"), QStringLiteral("グラフの種別")));
    chart_row->addWidget(cmb_kind_);
    chart_row->addSpacing(16);
    auto *lbl_scale = form_ui::make_label(this, QStringLiteral("lbl_scale"), QStringLiteral("棒の目盛(&M)"));
    lbl_scale->setBuddy(cmb_scale_);
    chart_row->addWidget(lbl_scale);
    chart_row->addWidget(cmb_scale_);
    chart_row->addWidget(lbl_cut_);
    chart_row->addStretch(1);
    layout->addLayout(chart_row);
    layout->addWidget(cht_balance_, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmd_save_);
    buttons->addStretch(1);
    buttons->addWidget(cmd_close_);
    layout->addLayout(buttons);

    connect(cmd_close_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmd_save_, &QPushButton::clicked, this, &FormStats::cmd_save_Click);

    fill_table();
    build_chart();
    connect(cmb_kind_, &QComboBox::currentIndexChanged, this, &FormStats::cmb_kind_Change);
    connect(cmb_scale_, &QComboBox::activated, this, [this] {
        scale_chosen_ = true;
        build_chart();
    });
    resize(std::max(960, sizeHint().width()), 740);
}

void FormStats::fill_table()
{
    const BookStats stats = book_stats(book_);
    grd_stats_->setRowCount(static_cast<int>(stats.kinds.size()) + 1);
    auto put_row = [this](int row, const QString &name, const KindStats &s, bool total) {
        const QStringList texts = stats_row_texts(name, s, StatsNumbers::grouped);
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(c == 0 ? (Qt::AlignLeft | Qt::AlignVCenter)
                                          : (Qt::AlignRight | Qt::AlignVCenter));
            if (c == kStatsBalanceColumn && s.balance() < 0)
                item->setForeground(Qt::red);
            if (total) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            grd_stats_->setItem(row, c, item);
        }
    };
    int row = 0;
    for (const KindStatsRow &k : stats.kinds) {
        put_row(row++, kind_display_name(k.kind), k.stats, false);
        cmb_kind_->addItem(kind_display_name(k.kind), kind_code(k.kind));
    }
    put_row(row, QStringLiteral("合計"), stats.total, true);
    grd_stats_->resizeColumnsToContents();
    // Figures keep their width; the kind column takes what the window gives beyond that.
    int width = 2 * grd_stats_->frameWidth();
    for (int c = 0; c < grd_stats_->columnCount(); ++c) {
        grd_stats_->setColumnWidth(c, grd_stats_->columnWidth(c) + 12);
        width += grd_stats_->columnWidth(c);
    }
    grd_stats_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    grd_stats_->setMinimumWidth(width);
    grd_stats_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grd_stats_->setCurrentItem(nullptr);
    // Every row in sight: there are at most twelve.
    grd_stats_->setFixedHeight(grd_stats_->horizontalHeader()->sizeHint().height() +
                               grd_stats_->rowCount() * grd_stats_->verticalHeader()->defaultSectionSize() +
                               2 * grd_stats_->frameWidth());
}

std::optional<LotteryKind> FormStats::chart_kind() const
{
    const int code = cmb_kind_->currentData().toInt();
    if (code < 0)
        return std::nullopt;
    return kind_from_code(code);
}

FormStats::BarScale FormStats::bar_scale() const
{
    return static_cast<BarScale>(cmb_scale_->currentIndex());
}

void FormStats::cmb_kind_Change()
{
    build_chart();
}

// The bars are painted by one item rather than one bar item per round, and many rounds
// share a column: a book of 32,767 rounds stays quick to build and to paint. The bars have their own value
// axis, so that single rounds stay visible beside a running balance that grows far larger.
void FormStats::build_chart()
{
    rounds_ = round_balances(book_, chart_kind());
    QChart *chart = cht_balance_->chart();
    bars_item_->set_anchor(nullptr, false);
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    const QString name = book_path_.isEmpty() ? QStringLiteral("無題") : file_name_of(book_path_);
    chart->setTitle(name + QStringLiteral(" － ") + cmb_kind_->currentText());

    const int n = static_cast<int>(rounds_.size());
    const int columns = std::min(n, kMaxColumns);
    columns_.clear();
    columns_.reserve(static_cast<size_t>(columns));
    QList<QPointF> running;
    running.reserve(2 * columns);
    Span bars;
    Span line;
    for (int c = 0; c < columns; ++c) {
        BarColumn column;
        column.first = static_cast<int>(int64_t{c} * n / columns);
        column.last = static_cast<int>(int64_t{c + 1} * n / columns) - 1;
        int lowest = column.first;
        int highest = column.first;
        for (int i = column.first; i <= column.last; ++i) {
            const RoundBalance &r = rounds_[static_cast<size_t>(i)];
            column.gain = std::max(column.gain, to_double(r.balance));
            column.loss = std::min(column.loss, to_double(r.balance));
            if (r.cumulative < rounds_[static_cast<size_t>(lowest)].cumulative)
                lowest = i;
            if (r.cumulative > rounds_[static_cast<size_t>(highest)].cumulative)
                highest = i;
        }
        for (const int i : {std::min(lowest, highest), std::max(lowest, highest)}) {
            if (!running.isEmpty() && running.back().x() == i)
                continue;
            running << QPointF(i, to_double(rounds_[static_cast<size_t>(i)].cumulative));
            line.low = std::min(line.low, running.back().y());
            line.high = std::max(line.high, running.back().y());
        }
        columns_.push_back(column);
    }
    // The bars' axis holds every bar, all but the few cut, or their decades.
    const double limit = bar_limit(columns_);
    if (!scale_chosen_) {
        // The smallest bar against the tallest one the cut leaves whole.
        double smallest = std::numeric_limits<double>::infinity();
        double tallest = 0;
        for (const BarColumn &c : columns_)
            for (const double h : {c.gain, -c.loss})
                if (h > 0) {
                    smallest = std::min(smallest, h);
                    tallest = std::max(tallest, std::min(h, limit));
                }
        const QSignalBlocker quiet(cmb_scale_);
        cmb_scale_->setCurrentIndex(static_cast<int>(
            tallest > 0 && smallest < kReadableShare * tallest ? BarScale::log : BarScale::cut));
    }
    const BarScale scale = bar_scale();
    const double kept = scale == BarScale::cut ? limit : std::numeric_limits<double>::infinity();
    int cut = 0;
    for (BarColumn &column : columns_) {
        column.cut = column.gain > kept || -column.loss > kept;
        cut += column.cut;
        const double low = std::max(column.loss, -kept);
        const double high = std::min(column.gain, kept);
        bars.low = std::min(bars.low, scale == BarScale::log ? signed_log(low) : low);
        bars.high = std::max(bars.high, scale == BarScale::log ? signed_log(high) : high);
    }
    lbl_cut_->setText(cut > 0 ? QStringLiteral("（≈ の棒 %1本は目盛の外まで伸びています）").arg(cut)
                              : QString());
    lbl_cut_->setVisible(cut > 0);

    // Empty series for the legend, and for the bars' axis.
    auto make_bars = [&](const char *name, const QString &caption, const QColor &color) {
        auto *series = new QAreaSeries(new QLineSeries);
        series->upperSeries()->setParent(series);
        series->setObjectName(QLatin1String(name));
        series->setName(caption);
        series->setColor(color);
        series->setBorderColor(color);
        chart->addSeries(series);
        return series;
    };
    QAreaSeries *gain_bars = make_bars("bars_gain", QStringLiteral("黒字の回（右の目盛）"), kGainColor);
    QAreaSeries *loss_bars = make_bars("bars_loss", QStringLiteral("赤字の回（右の目盛）"), kLossColor);
    auto *cumulative = new QLineSeries;
    cumulative->setObjectName(QStringLiteral("line_cumulative"));
    cumulative->setName(QStringLiteral("累計収支（左の目盛）"));
    cumulative->setColor(QColor(0xf0, 0x90, 0x10));
    QPen pen = cumulative->pen();
    pen.setWidth(2);
    cumulative->setPen(pen);
    cumulative->replace(running);
    chart->addSeries(cumulative);

    // Rounds by their 回, thinned to a readable number of labels. The axis wants
    // distinct labels, and the same 回 may come twice (two kinds of one round).
    auto *x_axis = new QCategoryAxis;
    x_axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    x_axis->setRange(-0.5, std::max(n, 1) - 0.5);
    x_axis->setTitleText(QStringLiteral("回"));
    const int step = std::max(1, (n + kMaxAxisLabels - 1) / kMaxAxisLabels);
    QSet<QString> used;
    for (int i = 0; i < n; i += step) {
        QString label = book_.entries[static_cast<size_t>(rounds_[static_cast<size_t>(i)].entry)].kai.text();
        while (used.contains(label))
            label += QChar(0x200B);
        used.insert(label);
        x_axis->append(label, i);
    }
    auto [line_range, bar_range] = aligned_ranges(line, bars);
    if (scale == BarScale::log) {
        // Decades need no round steps: the least range that holds the bars with zero where
        // the line's axis has it.
        const double zero_at = -line_range.low / (line_range.high - line_range.low);
        const double high =
            std::max({bars.high, -bars.low * (1 - zero_at) / zero_at, 1.0}) * (1 + 2 * kAxisMargin);
        bar_range = {-high * zero_at / (1 - zero_at), high};
    }
    auto make_value_axis = [&](Span range, const QString &title, const QColor &color) {
        auto *axis = new QValueAxis;
        axis->setLabelFormat(QStringLiteral("%.0f"));
        axis->setRange(range.low, range.high);
        axis->setTickCount(kAxisSteps + 1);
        axis->setTitleText(title);
        axis->setTitleBrush(color);
        return axis;
    };
    QValueAxis *line_axis =
        make_value_axis(line_range, QStringLiteral("累計収支（円）"), QColor(0xb0, 0x60, 0x00));
    line_axis->setObjectName(QStringLiteral("axis_cumulative"));
    QValueAxis *bar_axis = nullptr;
    if (scale == BarScale::log) {
        // Labels at whole decades of yen, every third one when the span is wide.
        auto *decades = new QCategoryAxis;
        decades->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        decades->setRange(bar_range.low, bar_range.high);
        decades->setTitleText(QStringLiteral("回ごとの収支（円・対数）"));
        decades->setTitleBrush(QColor(0x40, 0x40, 0x40));
        // Up to the decade above the largest bar: the range beyond holds no bar.
        const int top = std::min(18, static_cast<int>(std::ceil(std::max(-bars.low, bars.high))));
        const int every = top > 6 ? 3 : 1;
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        QList<std::pair<double, QString>> labels;
        labels.append({0.0, QStringLiteral("0")});
        for (int k = every; k <= top; k += every) {
            const double yen = std::pow(10.0, k);
            const QString text = japanese.toString(static_cast<qlonglong>(yen));
            if (signed_log(yen) <= bar_range.high)
                labels.append({signed_log(yen), text});
            if (-signed_log(yen) >= bar_range.low)
                labels.prepend({-signed_log(yen), QStringLiteral("-") + text});
        }
        decades->setStartValue(bar_range.low);
        for (const auto &[at, text] : labels)
            decades->append(text, at);
        bar_axis = decades;
    } else {
        bar_axis = make_value_axis(bar_range, QStringLiteral("回ごとの収支（円）"), QColor(0x40, 0x40, 0x40));
    }
    bar_axis->setObjectName(QStringLiteral("axis_round"));
    bar_axis->setGridLineVisible(false); // the grids coincide
    chart->addAxis(x_axis, Qt::AlignBottom);
    chart->addAxis(line_axis, Qt::AlignLeft);
    chart->addAxis(bar_axis, Qt::AlignRight);
    for (QAbstractSeries *series :
         {static_cast<QAbstractSeries *>(gain_bars), static_cast<QAbstractSeries *>(loss_bars)}) {
        series->attachAxis(x_axis);
        series->attachAxis(bar_axis);
    }
    cumulative->attachAxis(x_axis);
    cumulative->attachAxis(line_axis);
    bars_item_->set_anchor(gain_bars, scale == BarScale::log);
}

QString FormStats::round_tip(int index) const
{
    const RoundBalance &r = rounds_[static_cast<size_t>(index)];
    const RoundEntry &entry = book_.entries[static_cast<size_t>(r.entry)];
    return QStringLiteral("%1 %2\n購入金額 %3円\n当選金額 %4円\n収支 %5円\n累計収支 %6円")
        .arg(kai_caption(entry.kai.text()), kind_display_name(entry.kind), yen_text(r.bought),
             yen_text(r.won), yen_text(r.balance), yen_text(r.cumulative));
}

int FormStats::round_at(QPoint viewport_point) const
{
    QChart *chart = cht_balance_->chart();
    const QPointF at = chart->mapFromScene(cht_balance_->mapToScene(viewport_point));
    if (!chart->plotArea().contains(at))
        return -1;
    const long index = std::lround(chart->mapToValue(at).x());
    return index >= 0 && index < static_cast<long>(rounds_.size()) ? static_cast<int>(index) : -1;
}

bool FormStats::eventFilter(QObject *watched, QEvent *event)
{
    // The tip is shown on the help event, and the event goes no further: the chart's scene
    // would answer it by hiding every tip, since none of its items has one. It stays while
    // the mouse rests on the round's column and goes when the mouse leaves it.
    if (watched == cht_balance_->viewport() && event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const int index = round_at(help->pos());
        if (index < 0) {
            QToolTip::hideText();
            return true;
        }
        QChart *chart = cht_balance_->chart();
        const auto to_view = [&](double x) {
            const QPointF in_chart = chart->mapToPosition(QPointF(x, 0), chart->series().first());
            return static_cast<int>(std::lround(cht_balance_->mapFromScene(chart->mapToScene(in_chart)).x()));
        };
        const int left = to_view(index - 0.5);
        const int right = std::max(to_view(index + 0.5), left + 1);
        const QRectF plot = chart->mapToScene(chart->plotArea()).boundingRect();
        const QRect column(QPoint(left, cht_balance_->mapFromScene(plot.topLeft()).y()),
                           QPoint(right, cht_balance_->mapFromScene(plot.bottomRight()).y()));
        QToolTip::showText(help->globalPos(), round_tip(index), cht_balance_->viewport(), column,
                           std::numeric_limits<int>::max());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void FormStats::cmd_save_Click()
{
    const QString path = ask_export_name(ui_, this, QStringLiteral("収支統計.png"),
                                         QStringLiteral("PNG 画像 (*.png);;すべてのファイル (*)"),
                                         QStringLiteral(".png"), book_path_);
    if (path.isEmpty())
        return;
    // Encoded in memory first, so the file is written, checked and renamed into place whole.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    const bool encoded = cht_balance_->grab().save(&buffer, "PNG");
    const FileWrite written = encoded ? replace_file(path, png) : FileWrite::failed(EIO);
    if (!written.ok)
        ui_.message(this, escape_controls(path) + QStringLiteral("に画像を保存できませんでした。"),
                    program_title(), UiServices::Icon::warning, UiServices::Buttons::ok,
                    write_error_reason(written.error) + (QFileInfo::exists(path)
                                                             ? QStringLiteral("元のファイルはそのままです。")
                                                             : QString()));
}
