#pragma once

#include "book/ticket_book.h"

#include <QDialog>
#include <optional>

class QComboBox;
class QPushButton;
class QRadioButton;

// What 印刷, 印刷プレビュー and PDFに書き出し put on paper.
struct PrintChoice {
    enum class What { list, round, stats };
    What what = What::list;
    std::optional<LotteryKind> stats_kind; // 収支統計's chart: one kind, or all
};

// The choice before printing: 一覧, この回の購入 (only with a round selected) or 収支統計
// with the kind of its chart.
class FormPrint : public QDialog {
    Q_OBJECT

public:
    // `selected` is the selected round's entry, or -1; `last` the choice made before.
    FormPrint(const TicketBook &book, int selected, const PrintChoice &last, QWidget *parent = nullptr);

    PrintChoice choice() const;

private:
    void follow_choice();

    QRadioButton *opt_print_list_ = nullptr;
    QRadioButton *opt_print_round_ = nullptr;
    QRadioButton *opt_print_stats_ = nullptr;
    QComboBox *cmb_print_kind_ = nullptr;
    QPushButton *cmd_ok_ = nullptr;
    QPushButton *cmd_cancel_ = nullptr;
};
