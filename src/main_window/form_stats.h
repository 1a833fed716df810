#pragma once

#include "book/ticket_book.h"
#include "results/book_stats.h"

#include <QDialog>
#include <optional>
#include <vector>

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class UiServices;

// 収支統計: per kind what went in and came back, and a chart of each round's 収支 with
// the running balance, for all kinds or one.
class FormStats : public QDialog {
    Q_OBJECT

public:
    // The book's file name titles the chart (and so the saved picture), "無題" when `book_path`
    // is empty; the picture is never saved onto the book itself.
    FormStats(const TicketBook &book, const QString &book_path, UiServices &ui, QWidget *parent = nullptr);

    // The kind the chart shows, or all kinds.
    std::optional<LotteryKind> chart_kind() const;
    // The chart's rounds, in list order.
    const std::vector<RoundBalance> &chart_rounds() const { return rounds_; }
    // The hover text of the chart's round `index` (0-based among the chart's rounds).
    QString round_tip(int index) const;
    // One bar of the chart: rounds `first` to `last` of the chart's rounds, with their
    // best gain and worst loss (one round each, unless the chart has very many).
    // A bar far taller than the others is cut at the edge of the plot and marked (≈), so
    // that the others keep a height that can be read; `cut` says so.
    struct BarColumn {
        int first = 0;
        int last = 0;
        double gain = 0;
        double loss = 0;
        bool cut = false;
    };
    const std::vector<BarColumn> &bar_columns() const { return columns_; }
    // The chart's round under a point of the chart view's viewport, or -1.
    int round_at(QPoint viewport_point) const;

    // The scale of the bars: linear with the few bars far taller than the rest cut, linear
    // with every bar whole, or logarithmic (signed, so losses read below zero). Unless the
    // user chose one, the chart takes the first linear one when its smallest bars can be
    // read, the logarithmic one otherwise (a book of many big wins and small losses).
    enum class BarScale { cut = 0, whole = 1, log = 2 };
    BarScale bar_scale() const;
    void cmb_kind_Change();
    void cmd_save_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill_table();
    void build_chart();

    const TicketBook &book_;
    QString book_path_;
    UiServices &ui_;
    std::vector<RoundBalance> rounds_;
    std::vector<BarColumn> columns_;
    class BarsItem;
    BarsItem *bars_item_ = nullptr;

    QTableWidget *grd_stats_ = nullptr;
    QComboBox *cmb_kind_ = nullptr;
    QComboBox *cmb_scale_ = nullptr;
    bool scale_chosen_ = false; // the user picked the scale: keep it across kinds
    QLabel *lbl_cut_ = nullptr;
    QChartView *cht_balance_ = nullptr;
    QPushButton *cmd_save_ = nullptr;
    QPushButton *cmd_close_ = nullptr;
};
