#include "main_window/form_stats.h"

#include "ui/form_controls.h"
#include "ui/ui_services.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

const QStringList kHeaders = {
    QStringLiteral("種別"),     QStringLiteral("回数"),     QStringLiteral("購入口数"),
    QStringLiteral("購入金額"), QStringLiteral("確定口数"), QStringLiteral("当選口数"),
    QStringLiteral("当選金額"), QStringLiteral("収支"),     QStringLiteral("回収率"),
    QStringLiteral("的中率"),
};
constexpr int kBalanceColumn = 7;

// Round labels on the x axis: beyond this many they are thinned out, so they stay readable.
constexpr int kMaxAxisLabels = 16;
// Half the width of a round's bar, in rounds.
constexpr double kHalfBar = 0.4;

double to_double(StatsInt value)
{
    return static_cast<double>(value);
}

QStringList row_texts(const QString &name, const KindStats &s)
{
    return {name,
            integer_text(s.rounds),
            integer_text(s.tickets),
            yen_text(s.bought),
            integer_text(s.settled_tickets),
            integer_text(s.winning_tickets),
            yen_text(s.won),
            yen_text(s.balance()),
            return_rate_text(s),
            hit_rate_text(s)};
}

} // namespace

FormStats::FormStats(const TicketBook &book, UiServices &ui, QWidget *parent)
    : QDialog(parent), book_(book), ui_(ui)
{
    setObjectName(QStringLiteral("form_stats"));
    setWindowTitle(QStringLiteral("収支統計"));
    setModal(true);
    setSizeGripEnabled(true);

    grd_stats_ = form_ui::named(new QTableWidget(this), QStringLiteral("grd_stats"));
    grd_stats_->setColumnCount(static_cast<int>(kHeaders.size()));
    grd_stats_->setHorizontalHeaderLabels(kHeaders);
    grd_stats_->verticalHeader()->hide();
    grd_stats_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grd_stats_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grd_stats_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    grd_stats_->verticalHeader()->setDefaultSectionSize(grd_stats_->fontMetrics().height() + 8);
    grd_stats_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    cmb_kind_ = form_ui::named(new QComboBox(this), QStringLiteral("cmb_kind"));
    cmb_kind_->addItem(QStringLiteral("すべて"), -1);

    cht_balance_ = form_ui::named(new QChartView(this), QStringLiteral("cht_balance"));
    cht_balance_->setRenderHint(QPainter::Antialiasing, false);
    cht_balance_->setMinimumHeight(280);
    cht_balance_->viewport()->setMouseTracking(true);
    cht_balance_->viewport()->installEventFilter(this);
    cht_balance_->chart()->legend()->setAlignment(Qt::AlignTop);
    // Yen on the value axis with thousands separators.
    cht_balance_->chart()->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    cht_balance_->chart()->setLocalizeNumbers(true);

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
    resize(std::max(960, sizeHint().width()), 740);
}

void FormStats::fill_table()
{
    const BookStats stats = book_stats(book_);
    grd_stats_->setRowCount(static_cast<int>(stats.kinds.size()) + 1);
    auto put_row = [this](int row, const QString &name, const KindStats &s, bool total) {
        const QStringList texts = row_texts(name, s);
        for (int c = 0; c < texts.size(); ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(c == 0 ? (Qt::AlignLeft | Qt::AlignVCenter)
                                          : (Qt::AlignRight | Qt::AlignVCenter));
            if (c == kBalanceColumn && s.balance() < 0)
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

void FormStats::cmb_kind_Change()
{
    build_chart();
}

// The bars are drawn as two filled outlines (gains above the axis, losses below) rather
// than one bar item per round: a book of 32,767 rounds stays quick to build and to paint.
void FormStats::build_chart()
{
    rounds_ = round_balances(book_, chart_kind());
    QChart *chart = cht_balance_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }

    const int n = static_cast<int>(rounds_.size());
    QList<QPointF> gains;
    QList<QPointF> losses;
    QList<QPointF> running;
    gains.reserve(4 * n);
    losses.reserve(4 * n);
    running.reserve(n);
    double low = 0;
    double high = 0;
    for (int i = 0; i < n; ++i) {
        const RoundBalance &r = rounds_[static_cast<size_t>(i)];
        const double balance = to_double(r.balance);
        const double cumulative = to_double(r.cumulative);
        const double gain = std::max(balance, 0.0);
        const double loss = std::min(balance, 0.0);
        gains << QPointF(i - kHalfBar, 0) << QPointF(i - kHalfBar, gain) << QPointF(i + kHalfBar, gain)
              << QPointF(i + kHalfBar, 0);
        losses << QPointF(i - kHalfBar, 0) << QPointF(i - kHalfBar, loss) << QPointF(i + kHalfBar, loss)
               << QPointF(i + kHalfBar, 0);
        running << QPointF(i, cumulative);
        low = std::min({low, loss, cumulative});
        high = std::max({high, gain, cumulative});
    }

    auto make_bars = [&](const QList<QPointF> &points, const QString &name, const QColor &color) {
        // The outline and the zero line belong to the bars and go when the chart is rebuilt.
        auto *bars = new QAreaSeries;
        auto *outline = new QLineSeries(bars);
        outline->replace(points);
        auto *baseline = new QLineSeries(bars);
        baseline->append(-1, 0);
        baseline->append(std::max(n, 1), 0);
        bars->setUpperSeries(outline);
        bars->setLowerSeries(baseline);
        bars->setObjectName(name);
        bars->setName(QStringLiteral("収支"));
        bars->setColor(color);
        bars->setBorderColor(color);
        chart->addSeries(bars);
        return bars;
    };
    make_bars(gains, QStringLiteral("bars_gain"), QColor(0x2e, 0x7d, 0xc8));
    QAreaSeries *loss_bars = make_bars(losses, QStringLiteral("bars_loss"), QColor(0xd0, 0x30, 0x30));
    auto *line = new QLineSeries;
    line->setObjectName(QStringLiteral("line_cumulative"));
    line->setName(QStringLiteral("累計収支"));
    line->setColor(QColor(0xf0, 0x90, 0x10));
    QPen pen = line->pen();
    pen.setWidth(2);
    line->setPen(pen);
    line->replace(running);
    chart->addSeries(line);
    for (QLegendMarker *marker : chart->legend()->markers(loss_bars))
        marker->setVisible(false);

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
    auto *y_axis = new QValueAxis;
    y_axis->setLabelFormat(QStringLiteral("%.0f"));
    y_axis->setRange(low, high > low ? high : low + 1);
    y_axis->applyNiceNumbers();
    chart->addAxis(x_axis, Qt::AlignBottom);
    chart->addAxis(y_axis, Qt::AlignLeft);
    for (QAbstractSeries *series : chart->series()) {
        series->attachAxis(x_axis);
        series->attachAxis(y_axis);
    }
}

QString FormStats::round_tip(int index) const
{
    const RoundBalance &r = rounds_[static_cast<size_t>(index)];
    const RoundEntry &entry = book_.entries[static_cast<size_t>(r.entry)];
    return QStringLiteral("%1回 %2\n購入金額 %3\n当選金額 %4\n累計収支 %5")
        .arg(entry.kai.text(), kind_display_name(entry.kind), yen_text(r.bought), yen_text(r.won),
             yen_text(r.cumulative));
}

bool FormStats::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cht_balance_->viewport() && event->type() == QEvent::MouseMove) {
        const auto *move = static_cast<QMouseEvent *>(event);
        QChart *chart = cht_balance_->chart();
        const QPointF at = chart->mapFromScene(cht_balance_->mapToScene(move->position().toPoint()));
        const int index = static_cast<int>(std::lround(chart->mapToValue(at).x()));
        if (chart->plotArea().contains(at) && index >= 0 && index < static_cast<int>(rounds_.size()))
            QToolTip::showText(move->globalPosition().toPoint(), round_tip(index), cht_balance_);
        else
            QToolTip::hideText();
    }
    return QDialog::eventFilter(watched, event);
}

void FormStats::cmd_save_Click()
{
    QString path = ui_.save_file_name(this, QStringLiteral("収支統計.png"),
                                      QStringLiteral("PNG 画像 (*.png);;すべてのファイル (*)"), nullptr);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    if (!cht_balance_->grab().save(path, "PNG"))
        ui_.message(this, path + QStringLiteral("に画像を保存できませんでした。"), program_title(),
                    UiServices::Icon::warning);
}
