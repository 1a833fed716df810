#include "book/book_file.h"
#include "main_window/form_stats.h"
#include "main_window/main_window_fixture.h"
#include "results/winning_check.h"
#include "support/book_builders.h"
#include "support/fake_ui_services.h"

#include <QApplication>
#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

TicketBook sample_book()
{
    BookReadResult read = read_data(QStringLiteral(YORIMO_SAMPLE));
    EXPECT_TRUE(read.outcome.ok) << read.outcome.message.toStdString();
    grade_book(read.book);
    return std::move(read.book);
}

QStringList row_texts(const QTableWidget *grid, int row)
{
    QStringList texts;
    for (int c = 0; c < grid->columnCount(); ++c)
        texts << grid->item(row, c)->text();
    return texts;
}

QChart *chart_of(const FormStats &form)
{
    return form.findChild<QChartView *>(QStringLiteral("cht_balance"))->chart();
}

// Points of the chart's series of that name: the outline of bars, or the line itself.
qsizetype point_count(const FormStats &form, const QString &name)
{
    for (QAbstractSeries *series : chart_of(form)->series()) {
        if (series->objectName() != name)
            continue;
        if (auto *area = qobject_cast<QAreaSeries *>(series))
            return area->upperSeries()->count();
        return static_cast<QLineSeries *>(series)->count();
    }
    ADD_FAILURE() << "no series " << name.toStdString();
    return -1;
}

} // namespace

class FormStatsTest : public ::testing::Test {
protected:
    TicketBook book = sample_book();
    FakeUiServices ui;
    FormStats form{book, QStringLiteral("sample.yrm"), ui};
    QTableWidget *grid = form.findChild<QTableWidget *>(QStringLiteral("grd_stats"));
    QComboBox *kinds = form.findChild<QComboBox *>(QStringLiteral("cmb_kind"));
};

TEST_F(FormStatsTest, TableHasARowPerKindThenTheTotal)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("収支統計"));
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->rowCount(), 12);
    QStringList headers;
    for (int c = 0; c < grid->columnCount(); ++c)
        headers << grid->horizontalHeaderItem(c)->text();
    EXPECT_EQ(headers.join(u' '),
              QStringLiteral("種別 回数 購入口数 購入金額 確定口数 当選口数 当選金額 収支 回収率 的中率"));
    // The kinds in the order of the 新規登録 menu.
    const QStringList kind_order = {
        QStringLiteral("toto"),      QStringLiteral("mini toto-A"), QStringLiteral("mini toto-B"),
        QStringLiteral("toto5"),     QStringLiteral("totoGOAL"),    QStringLiteral("totoGOAL3"),
        QStringLiteral("totoGOAL2"), QStringLiteral("BIG"),         QStringLiteral("100円BIG"),
        QStringLiteral("BIG1000"),   QStringLiteral("mini BIG"),    QStringLiteral("合計")};
    for (int r = 0; r < grid->rowCount(); ++r) {
        EXPECT_EQ(grid->item(r, 0)->text(), kind_order[r]);
        if (r + 1 < grid->rowCount()) {
            EXPECT_EQ(kinds->itemText(r + 1), kind_order[r]); // the chart's kinds likewise
        }
    }
    EXPECT_EQ(row_texts(grid, 0).join(u'|'),
              QStringLiteral("toto|2|25|2,500|16|3|85,312,500|85,310,000|3,412,500.0%|18.8%"));
    EXPECT_EQ(row_texts(grid, 2).join(u'|'), QStringLiteral("mini toto-B|1|2|200|2|0|0|-200|0.0%|0.0%"));
    EXPECT_EQ(row_texts(grid, 10).join(u'|'), QStringLiteral("mini BIG|1|0|0|0|0|0|0|-|-"));
    EXPECT_EQ(row_texts(grid, 11).join(u'|'),
              QStringLiteral("合計|12|79|9,100|51|15|500,633,020|500,623,920|5,501,461.8%|29.4%"));
    // Only losses are red.
    EXPECT_EQ(grid->item(2, 7)->foreground().color(), QColor(Qt::red));
    EXPECT_NE(grid->item(0, 7)->foreground().color(), QColor(Qt::red));
    EXPECT_NE(grid->item(10, 7)->foreground().color(), QColor(Qt::red));
}

TEST_F(FormStatsTest, ChartShowsEveryRoundOrOneKind)
{
    ASSERT_EQ(kinds->count(), 12);
    EXPECT_EQ(kinds->itemText(0), QStringLiteral("すべて"));
    EXPECT_EQ(form.chart_kind(), std::nullopt);
    EXPECT_EQ(point_count(form, QStringLiteral("line_cumulative")), 12);
    ASSERT_EQ(form.bar_columns().size(), 12u); // a bar per round
    EXPECT_EQ(form.bar_columns()[3].first, 3);
    EXPECT_EQ(form.bar_columns()[3].last, 3);
    EXPECT_EQ(form.round_tip(0),
              QStringLiteral("第1201回 toto\n購入金額 1,600円\n当選金額 85,312,500円\n収支 "
                             "85,310,900円\n累計収支 85,310,900円"));
    EXPECT_EQ(chart_of(form)->title(), QStringLiteral("sample.yrm － すべて"));
    EXPECT_EQ(form.chart_rounds().back().cumulative, 500'623'920);

    kinds->setCurrentIndex(kinds->findText(QStringLiteral("toto")));
    EXPECT_EQ(form.chart_kind(), LotteryKind::toto);
    EXPECT_EQ(point_count(form, QStringLiteral("line_cumulative")), 2);
    EXPECT_EQ(form.bar_columns().size(), 2u);
    EXPECT_EQ(form.bar_columns()[1].loss, -900);
    EXPECT_EQ(form.bar_columns()[1].gain, 0);
    ASSERT_EQ(form.chart_rounds().size(), 2u);
    EXPECT_EQ(form.chart_rounds()[1].entry, 11);
    EXPECT_EQ(form.chart_rounds()[1].cumulative, 85'310'000);
    EXPECT_EQ(
        form.round_tip(1),
        QStringLiteral("第1207回 toto\n購入金額 900円\n当選金額 0円\n収支 -900円\n累計収支 85,310,000円"));
    EXPECT_EQ(chart_of(form)->title(), QStringLiteral("sample.yrm － toto")); // the saved picture's title
    EXPECT_EQ(chart_of(form)->series().size(), 3);                            // the old series are gone

    kinds->setCurrentIndex(0);
    EXPECT_EQ(point_count(form, QStringLiteral("line_cumulative")), 12);
}

TEST_F(FormStatsTest, SavesTheChartAsPng)
{
    QTemporaryDir dir;
    auto *save = form.findChild<QPushButton *>(QStringLiteral("cmd_save"));
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->text(), QStringLiteral("画像として保存..."));
    ui.save_names = {dir.filePath(QStringLiteral("chart")), QString(),
                     dir.filePath(QStringLiteral("none/x.png"))};
    QTest::mouseClick(save, Qt::LeftButton); // typed without extension
    QImage image;
    EXPECT_TRUE(image.load(dir.filePath(QStringLiteral("chart.png")), "PNG"));
    EXPECT_FALSE(image.isNull());
    QTest::mouseClick(save, Qt::LeftButton); // cancelled
    EXPECT_TRUE(ui.messages.empty());
    QTest::mouseClick(save, Qt::LeftButton); // a folder that does not exist
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::warning);
    EXPECT_EQ(ui.file_dialogs, 4); // asked again after the warning, then cancelled

    // "chart" again: chart.png exists, so the completed name is asked about; no keeps it.
    ui.messages.clear();
    ui.save_names = {dir.filePath(QStringLiteral("chart"))};
    ui.answers = {UiServices::Answer::no};
    const QDateTime written = QFileInfo(dir.filePath(QStringLiteral("chart.png"))).lastModified();
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("chart.png は既に存在します。\n上書きしますか？"));
    EXPECT_EQ(QFileInfo(dir.filePath(QStringLiteral("chart.png"))).lastModified(), written);
}

TEST(FormStats, ManyRoundsGetThinnedAxisLabels)
{
    TicketBook book;
    for (int i = 0; i < 1000; ++i)
        EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto, QByteArray::number(i % 500).constData()))
                        .ok); // 回 repeat
    FakeUiServices ui;
    FormStats form(book, QStringLiteral("b.yrm"), ui);
    QCategoryAxis *axis = nullptr;
    for (QAbstractAxis *a : chart_of(form)->axes(Qt::Horizontal))
        axis = qobject_cast<QCategoryAxis *>(a);
    ASSERT_NE(axis, nullptr);
    EXPECT_LE(axis->count(), 10);
    EXPECT_GE(axis->count(), 8);
    EXPECT_EQ(axis->categoriesLabels().first(), QStringLiteral("0"));
    EXPECT_EQ(point_count(form, QStringLiteral("line_cumulative")), 1000);
}

// Resting on a bar keeps its tip: the help event that follows a pause must not hide it.
TEST_F(FormStatsTest, TheTipStaysWhileTheMouseRestsOnARound)
{
    form.show();
    QApplication::processEvents();
    auto *view = form.findChild<QChartView *>(QStringLiteral("cht_balance"));
    QChart *chart = view->chart();
    const QPointF bar = chart->mapToPosition(QPointF(3, 0), chart->series().first());
    const QPoint at = view->mapFromScene(chart->mapToScene(bar)) - QPoint(0, 5);
    ASSERT_EQ(form.round_at(at), 3);
    for (int pause = 0; pause < 2; ++pause) {
        QHelpEvent help(QEvent::ToolTip, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &help);
        EXPECT_TRUE(QToolTip::isVisible()) << pause;
        EXPECT_EQ(QToolTip::text(), form.round_tip(3));
    }
    const QString kai = book.entries[static_cast<size_t>(form.chart_rounds()[3].entry)].kai.text();
    EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("第") + kai + QStringLiteral("回 ")));
    QHelpEvent outside(QEvent::ToolTip, QPoint(2, 2), view->viewport()->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(view->viewport(), &outside);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

QValueAxis *value_axis(QChart *chart, const QString &name)
{
    for (QAbstractAxis *a : chart->axes(Qt::Vertical))
        if (a->objectName() == name)
            return qobject_cast<QValueAxis *>(a);
    ADD_FAILURE() << "no axis " << name.toStdString();
    return nullptr;
}

// On a long book the running balance grows far beyond any one round: the bars keep their
// own axis, which shares its grid and its zero with the line's; neither axis ends on a
// figure; the legend names both colours of the bars; many rounds share a column.
TEST(FormStats, BarsKeepTheirOwnAxisBesideTheRunningBalance)
{
    TicketBook book;
    constexpr int kRounds = 3000;
    for (int i = 0; i < kRounds; ++i) {
        RoundEntry e = make_entry(LotteryKind::toto, QByteArray::number(i).constData());
        e.tickets = 1;
        e.won = i % 4 == 0 ? 0 : 1000; // -100 or +900
        EXPECT_TRUE(add_entry(book, e).ok);
    }
    FakeUiServices ui;
    FormStats form(book, QStringLiteral("long.yrm"), ui);
    form.show();
    QApplication::processEvents();
    QChart *chart = chart_of(form);
    QValueAxis *line_axis = value_axis(chart, QStringLiteral("axis_cumulative"));
    QValueAxis *bar_axis = value_axis(chart, QStringLiteral("axis_round"));
    ASSERT_TRUE(line_axis && bar_axis);
    for (QAbstractSeries *series : chart->series()) {
        const bool bars = series->objectName().startsWith(QStringLiteral("bars_"));
        EXPECT_TRUE(series->attachedAxes().contains(bars ? bar_axis : line_axis))
            << series->objectName().toStdString();
    }
    const double highest = 900.0 * (kRounds - kRounds / 4) - 100.0 * (kRounds / 4);
    EXPECT_GE(900 / (bar_axis->max() - bar_axis->min()), 0.3) << "a round's bar is a good part of the height";
    const double line_span = line_axis->max() - line_axis->min();
    EXPECT_GE(line_axis->max() - highest, 0.02 * line_span);
    EXPECT_GE(-100 - line_axis->min(), 0.02 * line_span);
    EXPECT_GE(bar_axis->min(), -100 - 0.5 * (bar_axis->max() - bar_axis->min()));
    EXPECT_LT(bar_axis->min(), -100);
    EXPECT_DOUBLE_EQ(-line_axis->min() / line_span, -bar_axis->min() / (bar_axis->max() - bar_axis->min()));
    EXPECT_EQ(line_axis->tickCount(), bar_axis->tickCount());

    QStringList legend;
    for (QLegendMarker *marker : chart->legend()->markers())
        if (marker->isVisible())
            legend << marker->label();
    EXPECT_EQ(legend.size(), 3);
    EXPECT_TRUE(legend.filter(QStringLiteral("赤字")).size() == 1) << legend.join(u' ').toStdString();

    const auto &columns = form.bar_columns();
    ASSERT_EQ(columns.size(), 1024u);
    EXPECT_EQ(columns.back().last, kRounds - 1);
    for (size_t c = 1; c < columns.size(); ++c)
        EXPECT_EQ(columns[c].first, columns[c - 1].last + 1);
    EXPECT_EQ(columns[0].gain, 900); // rounds 0 to 2: -100, +900, +900
    EXPECT_EQ(columns[0].loss, -100);
    const qsizetype line_points = point_count(form, QStringLiteral("line_cumulative"));
    EXPECT_LE(line_points, 2 * 1024);
    EXPECT_GE(line_points, 1024);
    for (QAbstractSeries *series : chart->series())
        if (auto *line = qobject_cast<QLineSeries *>(series)) {
            EXPECT_EQ(line->at(line->count() - 1), QPointF(kRounds - 1, highest)); // the last round
            EXPECT_EQ(line->at(0), QPointF(0, -100));
        }
    EXPECT_EQ(form.round_tip(kRounds - 1).section(u'\n', 0, 0), QStringLiteral("第2999回 toto"));
    // No bar stands far above the others: the plain scale, none cut.
    EXPECT_EQ(form.bar_scale(), FormStats::BarScale::cut);
    EXPECT_TRUE(std::none_of(columns.begin(), columns.end(), [](const auto &c) { return c.cut; }));
    EXPECT_FALSE(form.findChild<QLabel *>(QStringLiteral("lbl_cut"))->isVisible());
}

// One big win among small losses: its bar is cut at the top of the plot and marked, so the
// losses keep a height that can be read; the other plain scale shows every bar whole.
TEST(FormStats, ABigWinIsCutSoTheLossesStayVisible)
{
    TicketBook book;
    for (int i = 0; i < 20; ++i) {
        RoundEntry e = make_entry(LotteryKind::toto, QByteArray::number(i + 1).constData());
        e.tickets = 3;
        e.won = i == 10 ? 50'000'000 : 0;
        EXPECT_TRUE(add_entry(book, e).ok);
    }
    FakeUiServices ui;
    FormStats form(book, QStringLiteral("win.yrm"), ui);
    form.resize(960, 740);
    form.show();
    QApplication::processEvents();
    QChart *chart = chart_of(form);
    auto *scales = form.findChild<QComboBox *>(QStringLiteral("cmb_scale"));
    ASSERT_NE(scales, nullptr);
    QStringList items;
    for (int i = 0; i < scales->count(); ++i)
        items << scales->itemText(i);
    EXPECT_EQ(items.join(u'|'),
              QStringLiteral("ふつう（飛び抜けた棒は切る）|ふつう（全ての棒を収める）|対数"));
    EXPECT_EQ(form.bar_scale(), FormStats::BarScale::cut);
    const auto loss_share = [&] {
        const QValueAxis *axis = value_axis(chart, QStringLiteral("axis_round"));
        return 300 / (axis->max() - axis->min());
    };
    EXPECT_GE(loss_share(), 0.05);
    for (size_t c = 0; c < form.bar_columns().size(); ++c)
        EXPECT_EQ(form.bar_columns()[c].cut, c == 10) << c;
    EXPECT_EQ(form.findChild<QLabel *>(QStringLiteral("lbl_cut"))->text(),
              QStringLiteral("（≈ の棒 1本は目盛の外まで伸びています）"));
    EXPECT_TRUE(form.findChild<QLabel *>(QStringLiteral("lbl_cut"))->isVisible());
    EXPECT_EQ(form.round_tip(10).section(u'\n', 3, 3), QStringLiteral("収支 49,999,700円"));

    // The cut bar: white across it a little below the plot's top, blue above its foot.
    auto *view = form.findChild<QChartView *>(QStringLiteral("cht_balance"));
    const QImage picture = view->grab().toImage();
    const QRectF plot = chart->plotArea();
    const QPointF foot = chart->mapToPosition(QPointF(10, 0), chart->series().first());
    const auto at = [&](double y) { return view->mapFromScene(chart->mapToScene(QPointF(foot.x(), y))); };
    EXPECT_EQ(picture.pixelColor(at(plot.top() + 7)), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(at(foot.y() - 5)), QColor(0x2e, 0x7d, 0xc8));

    // Every bar whole, chosen with the keyboard: the win holds the axis, nothing is cut.
    scales->setFocus();
    QTest::keyClick(scales, Qt::Key_Down);
    EXPECT_EQ(form.bar_scale(), FormStats::BarScale::whole);
    EXPECT_LT(loss_share(), 0.001);
    for (const auto &c : form.bar_columns())
        EXPECT_FALSE(c.cut);
    EXPECT_FALSE(form.findChild<QLabel *>(QStringLiteral("lbl_cut"))->isVisible());
}

// Many big wins and small losses (the sample book): no few bars can be cut, so the chart
// takes the logarithmic scale, on which every loss has a good part of the height; its
// labels are decades of yen. A scale the user chose stays when the kind changes.
TEST_F(FormStatsTest, ManyBigWinsTakeTheLogarithmicScale)
{
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(form.bar_scale(), FormStats::BarScale::log);
    auto *axis = qobject_cast<QCategoryAxis *>(value_axis(chart_of(form), QStringLiteral("axis_round")));
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->categoriesLabels().join(u' '), QStringLiteral("-1,000 0 1,000 1,000,000 1,000,000,000"));
    EXPECT_EQ(axis->titleText(), QStringLiteral("回ごとの収支（円・対数）"));
    // The smallest loss, -200 yen, against the largest win, 244,999,720 yen.
    EXPECT_GE(std::log10(201.0) / (axis->max() - axis->min()), 0.1);
    EXPECT_LE(std::log10(244'999'721.0), axis->max());
    EXPECT_GE(-std::log10(801.0), axis->min());
    const QValueAxis *line_axis = value_axis(chart_of(form), QStringLiteral("axis_cumulative"));
    EXPECT_NEAR(-line_axis->min() / (line_axis->max() - line_axis->min()),
                -axis->min() / (axis->max() - axis->min()), 1e-9);

    // One kind alone picks its scale again: mini toto-B's one loss reads plainly, toto's
    // -900 beside 85,310,900 does not.
    kinds->setCurrentIndex(kinds->findText(QStringLiteral("mini toto-B")));
    EXPECT_EQ(form.bar_scale(), FormStats::BarScale::cut);
    kinds->setCurrentIndex(kinds->findText(QStringLiteral("toto")));
    EXPECT_EQ(form.bar_scale(), FormStats::BarScale::log);
    auto *scales = form.findChild<QComboBox *>(QStringLiteral("cmb_scale"));
    scales->setFocus();
    QTest::keyClick(scales, Qt::Key_Up);
    EXPECT_EQ(form.bar_scale(), FormStats::BarScale::whole);
    kinds->setCurrentIndex(0);
    EXPECT_EQ(form.bar_scale(), FormStats::BarScale::whole);
    EXPECT_EQ(qobject_cast<QCategoryAxis *>(value_axis(chart_of(form), QStringLiteral("axis_round"))),
              nullptr)
        << "a plain axis, not decades";
}

using StatsMenuTest = MainWindowTest;

TEST_F(StatsMenuTest, TheStatisticsFollowTheOrderOfTheRegistrationMenu)
{
    QStringList menu;
    for (QAction *item : window->findChild<QMenu *>(QStringLiteral("menu_input"))->actions())
        menu << item->text().remove(QRegularExpression(QStringLiteral("\\(&.\\)$"))); // its access key
    QStringList order;
    for (const LotteryKind kind : kMenuKindOrder)
        order << kind_display_name(kind);
    EXPECT_EQ(menu, order);
}

TEST_F(StatsMenuTest, EditMenuOpensTheWindowWhenTheBookHasAnEntry)
{
    QAction *stats = action("menu_stats");
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(stats->text(), QStringLiteral("収支統計(&T)..."));
    EXPECT_EQ(stats->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    const QList<QAction *> items = window->findChild<QMenu *>(QStringLiteral("menu_edit"))->actions();
    const qsizetype at = items.indexOf(stats);
    ASSERT_GT(at, 0);
    EXPECT_TRUE(items[at - 1]->isSeparator());
    EXPECT_FALSE(stats->isEnabled());

    ASSERT_TRUE(window->load_book(QStringLiteral(YORIMO_SAMPLE)));
    EXPECT_TRUE(stats->isEnabled());
    QString title;
    int rows = 0;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        rows = dialog->findChild<QTableWidget *>(QStringLiteral("grd_stats"))->rowCount();
        dialog->accept();
    });
    stats->trigger();
    EXPECT_EQ(title, QStringLiteral("収支統計"));
    EXPECT_EQ(rows, 12);

    window->toto_clear();
    EXPECT_FALSE(stats->isEnabled());
}
