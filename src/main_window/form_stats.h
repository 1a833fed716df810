#pragma once

#include "book/ticket_book.h"
#include "results/book_stats.h"

#include <QDialog>
#include <optional>
#include <vector>

class QAreaSeries;
class QChart;
class QChartView;
class QComboBox;
class QLineSeries;
class QPushButton;
class QTableWidget;
class UiServices;

// 収支統計: per kind what went in and came back, and a chart of each round's 収支 with
// the running balance, for all kinds or one.
class FormStats : public QDialog {
    Q_OBJECT

public:
    FormStats(const TicketBook &book, UiServices &ui, QWidget *parent = nullptr);

    // The kind the chart shows, or all kinds.
    std::optional<LotteryKind> chart_kind() const;
    // The chart's rounds, in list order.
    const std::vector<RoundBalance> &chart_rounds() const { return rounds_; }
    // The hover text of the chart's round `index` (0-based among the chart's rounds).
    QString round_tip(int index) const;

    void cmb_kind_Change();
    void cmd_save_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill_table();
    void build_chart();

    const TicketBook &book_;
    UiServices &ui_;
    std::vector<RoundBalance> rounds_;

    QTableWidget *grd_stats_ = nullptr;
    QComboBox *cmb_kind_ = nullptr;
    QChartView *cht_balance_ = nullptr;
    QPushButton *cmd_save_ = nullptr;
    QPushButton *cmd_close_ = nullptr;
};
