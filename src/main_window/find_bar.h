#pragma once

#include "book/lottery_kind.h"
#include "results/round_filter.h"

#include <QWidget>
#include <vector>

class QCheckBox;
class QHBoxLayout;
class QComboBox;
class QLineEdit;
class QToolButton;

// The bar above the main list that narrows it: a text the 回 or a team name contains, one
// kind or all, the rounds still open, the rounds that won. It only says what is asked for;
// the window applies it.
class FindBar : public QWidget {
    Q_OBJECT

public:
    // `kinds` follow すべて in the kind combo, in the order given.
    explicit FindBar(const std::vector<LotteryKind> &kinds, QWidget *parent = nullptr);

    RoundFilter filter() const;
    // Shows the bar with its text selected for typing over.
    void open();
    // Back to the filter that keeps every round, without telling anyone.
    void forget();

Q_SIGNALS:
    // The user typed or chose something.
    void filter_changed();
    // Esc in the bar, or its ×.
    void close_requested();
    // Enter in the text box.
    void go_to_rows();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QLineEdit *txt_find_ = nullptr;
    QComboBox *cmb_find_kind_ = nullptr;
    QCheckBox *chk_find_open_ = nullptr;
    QCheckBox *chk_find_won_ = nullptr;
    QToolButton *cmd_find_close_ = nullptr;
    QWidget *checks_ = nullptr; // the two check boxes, beside the text or under it
    QHBoxLayout *row_ = nullptr;
    QHBoxLayout *second_row_ = nullptr;
    int checks_at_ = 0; // their place in the first row
};
