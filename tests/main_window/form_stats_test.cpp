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
#include <QComboBox>
#include <QImage>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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
    FormStats form{book, ui};
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
    const QStringList kind_order = {
        QStringLiteral("toto"),        QStringLiteral("totoGOAL"),  QStringLiteral("mini toto-A"),
        QStringLiteral("mini toto-B"), QStringLiteral("totoGOAL3"), QStringLiteral("totoGOAL2"),
        QStringLiteral("toto5"),       QStringLiteral("BIG"),       QStringLiteral("BIG1000"),
        QStringLiteral("mini BIG"),    QStringLiteral("100円BIG"),  QStringLiteral("合計")};
    for (int r = 0; r < grid->rowCount(); ++r)
        EXPECT_EQ(grid->item(r, 0)->text(), kind_order[r]);
    EXPECT_EQ(row_texts(grid, 0).join(u'|'),
              QStringLiteral("toto|2|25|2,500|16|3|85,312,500|85,310,000|3412500.0|18.8"));
    EXPECT_EQ(row_texts(grid, 3).join(u'|'), QStringLiteral("mini toto-B|1|2|200|2|0|0|-200|0.0|0.0"));
    EXPECT_EQ(row_texts(grid, 9).join(u'|'), QStringLiteral("mini BIG|1|0|0|0|0|0|0|-|-"));
    EXPECT_EQ(row_texts(grid, 11).join(u'|'),
              QStringLiteral("合計|12|79|9,100|51|15|500,633,020|500,623,920|5501461.8|29.4"));
    // Only losses are red.
    EXPECT_EQ(grid->item(3, 7)->foreground().color(), QColor(Qt::red));
    EXPECT_NE(grid->item(0, 7)->foreground().color(), QColor(Qt::red));
    EXPECT_NE(grid->item(9, 7)->foreground().color(), QColor(Qt::red));
}

TEST_F(FormStatsTest, ChartShowsEveryRoundOrOneKind)
{
    ASSERT_EQ(kinds->count(), 12);
    EXPECT_EQ(kinds->itemText(0), QStringLiteral("すべて"));
    EXPECT_EQ(form.chart_kind(), std::nullopt);
    EXPECT_EQ(point_count(form, QStringLiteral("line_cumulative")), 12);
    EXPECT_EQ(point_count(form, QStringLiteral("bars_gain")), 4 * 12);
    EXPECT_EQ(point_count(form, QStringLiteral("bars_loss")), 4 * 12);
    EXPECT_EQ(form.round_tip(0),
              QStringLiteral("1201回 toto\n購入金額 1,600\n当選金額 85,312,500\n累計収支 85,310,900"));
    EXPECT_EQ(form.chart_rounds().back().cumulative, 500'623'920);

    kinds->setCurrentIndex(kinds->findText(QStringLiteral("toto")));
    EXPECT_EQ(form.chart_kind(), LotteryKind::toto);
    EXPECT_EQ(point_count(form, QStringLiteral("line_cumulative")), 2);
    EXPECT_EQ(point_count(form, QStringLiteral("bars_gain")), 4 * 2);
    ASSERT_EQ(form.chart_rounds().size(), 2u);
    EXPECT_EQ(form.chart_rounds()[1].entry, 11);
    EXPECT_EQ(form.chart_rounds()[1].cumulative, 85'310'000);
    EXPECT_EQ(form.round_tip(1),
              QStringLiteral("1207回 toto\n購入金額 900\n当選金額 0\n累計収支 85,310,000"));
    EXPECT_EQ(chart_of(form)->series().size(), 3); // the old series are gone

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
    EXPECT_EQ(ui.file_dialogs, 3);
}

TEST(FormStats, ManyRoundsGetThinnedAxisLabels)
{
    TicketBook book;
    for (int i = 0; i < 1000; ++i)
        EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto, QByteArray::number(i % 500).constData()))
                        .ok); // 回 repeat
    FakeUiServices ui;
    FormStats form(book, ui);
    QCategoryAxis *axis = nullptr;
    for (QAbstractAxis *a : chart_of(form)->axes(Qt::Horizontal))
        axis = qobject_cast<QCategoryAxis *>(a);
    ASSERT_NE(axis, nullptr);
    EXPECT_LE(axis->count(), 16);
    EXPECT_GE(axis->count(), 8);
    EXPECT_EQ(axis->categoriesLabels().first(), QStringLiteral("0"));
    EXPECT_EQ(point_count(form, QStringLiteral("line_cumulative")), 1000);
}

using StatsMenuTest = MainWindowTest;

TEST_F(StatsMenuTest, EditMenuOpensTheWindowWhenTheBookHasAnEntry)
{
    QAction *stats = action("menu_stats");
    ASSERT_NE(stats, nullptr);
    EXPECT_EQ(stats->text(), QStringLiteral("収支統計..."));
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
