#include "results/form_result.h"

#include "results/form_amount_box.h"
#include "results/result_entry.h"
#include "results/winning_check.h"
#include "ui/ui_services.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace form_ui;

namespace {

struct Column {
    const char *name;
    const char *heading;
    int code;
};

// The options of a row, left to right, with the code each writes.
constexpr std::array<Column, 5> kMatchColumns = {{{"opt_win", "勝", kHomeWin},
                                                  {"opt_draw", "分", kDraw},
                                                  {"opt_lose", "負", kAwayWin},
                                                  {"opt_stop", "中\n止", kCancelled},
                                                  {"opt_none", "未", kResultNone}}};
constexpr std::array<Column, 6> kGoalColumns = {{{"opt_0ten", "0", 1},
                                                 {"opt_1ten", "1", 2},
                                                 {"opt_2ten", "2", 3},
                                                 {"opt_3ten", "3", 4},
                                                 {"opt_stop", "中\n止", kScoreCancelled},
                                                 {"opt_none", "未", kScoreNone}}};

} // namespace

ResultDialog::ResultDialog(Family family, SharedState &state, UiServices &ui, Commit<RoundEntry> commit,
                           QWidget *parent)
    : OpeningDialog(parent), state_(state), ui_(ui), commit_(std::move(commit)), family_(family),
      slot_rows_(this, family, family == Family::match ? kMatchResultRows : kGoalResultRows, true)
{
    setObjectName(family == Family::goal ? QStringLiteral("form_goal_result")
                                         : QStringLiteral("form_result"));
    setWindowTitle(QStringLiteral("結果入力"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(make_round_heading(this, lbl_kai_, lbl_kind_));
    auto *grid_area = new QWidget(this);
    layout->addWidget(grid_area);
    build_rows(grid_area);
    auto *prize_area = new QWidget(this);
    layout->addWidget(prize_area);
    build_prizes(prize_area);
    layout->addLayout(make_ok_cancel_row(this, cmd_ok_, cmd_cancel_, true));
    connect(cmd_ok_, &QPushButton::clicked, this, &ResultDialog::cmd_ok_Click);
}

int ResultDialog::row_choices() const
{
    return family_ == Family::match ? static_cast<int>(kMatchColumns.size())
                                    : static_cast<int>(kGoalColumns.size());
}

void ResultDialog::build_rows(QWidget *area)
{
    auto *grid = new QGridLayout(area);
    grid->setVerticalSpacing(2);
    slot_rows_.add_headings(grid, 0);
    const int first = slot_rows_.first_column();
    for (int c = 0; c < row_choices(); ++c) {
        const Column &column = family_ == Family::match ? kMatchColumns[static_cast<size_t>(c)]
                                                        : kGoalColumns[static_cast<size_t>(c)];
        grid->addWidget(make_label(area, QString(), QString::fromUtf8(column.heading)), 0, first + c,
                        Qt::AlignHCenter);
    }
    for (int i = 0; i < slot_rows_.rows(); ++i) {
        const auto s = static_cast<size_t>(i);
        slot_rows_.add_row(grid, i, 2 * i + 1);
        auto *group = new QButtonGroup(this);
        for (int c = 0; c < row_choices(); ++c) {
            const Column &column = family_ == Family::match ? kMatchColumns[static_cast<size_t>(c)]
                                                            : kGoalColumns[static_cast<size_t>(c)];
            auto *option = named(new QRadioButton(area), column.name, i);
            group->addButton(option);
            grid->addWidget(option, 2 * i + 1, first + c, Qt::AlignHCenter);
            choices_[s][static_cast<size_t>(c)] = {option, column.code};
            connect(option, &QRadioButton::toggled, this, [this](bool on) {
                if (on)
                    chk_result();
            });
        }
        if (i > 0) {
            separator_[s] = named(make_separator(area), "separator", i);
            separator_[s]->hide();
            grid->addWidget(separator_[s], 2 * i, 0, 1, first + row_choices());
        }
    }
}

void ResultDialog::build_prizes(QWidget *area)
{
    auto *grid = new QGridLayout(area);
    grid->addWidget(make_label(area, QString(), QStringLiteral("当選金額")), 0, 0, 1, 2);
    for (int g = 0; g < prize_count(family_); ++g) {
        const auto s = static_cast<size_t>(g);
        lbl_kin_[s] = make_label(area, control_name("lbl_kin", g), grade_name(g + 1));
        txt_kin_[s] = named(new AmountBox(ui_, area), "txt_kin", g);
        grid->addWidget(lbl_kin_[s], g + 1, 0);
        grid->addWidget(txt_kin_[s], g + 1, 1);
    }
    opt_kin_go_ = named(new QRadioButton(area), QStringLiteral("opt_kin_go"));
    opt_kin_go_->setToolTip(QStringLiteral("当選金額を入力"));
    opt_kin_back_ = named(new QRadioButton(QStringLiteral("払戻"), area), QStringLiteral("opt_kin_back"));
    opt_kin_none_ = named(new QRadioButton(QStringLiteral("未定"), area), QStringLiteral("opt_kin_none"));
    auto *group = new QButtonGroup(this);
    for (QRadioButton *option : {opt_kin_go_, opt_kin_back_, opt_kin_none_})
        group->addButton(option);
    grid->addWidget(opt_kin_go_, 1, 2);
    grid->addWidget(opt_kin_back_, 1, 3);
    grid->addWidget(opt_kin_none_, 1, 4);
    connect(opt_kin_go_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            opt_kin_go_Click();
    });
    connect(opt_kin_none_, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            opt_kin_none_Click();
    });
}

void ResultDialog::on_open()
{
    state_.dialog_result = DialogResult::cancelled;
    const RoundEntry &e = state_.current_entry();
    kind_ = e.kind;
    show_round_heading(e, lbl_kai_, lbl_kind_);
    for (QFrame *line : separator_)
        if (line)
            line->setVisible(false);
    for (int k : separators_after(kind_))
        if (k > 0 && k < slot_rows_.rows())
            separator_[static_cast<size_t>(k)]->setVisible(true);
    for (int g = 0; g < prize_count(family_); ++g) {
        const auto s = static_cast<size_t>(g);
        const bool shown = prize_row_shown(e, g + 1);
        lbl_kin_[s]->setVisible(shown);
        txt_kin_[s]->setVisible(shown);
        txt_kin_[s]->set_max(prize_max(kind_));
    }

    const int n = std::min(result_rows(kind_), slot_rows_.rows());
    slot_rows_.show_round(e, n, [this](int row) {
        QList<QWidget *> options;
        for (int c = 0; c < row_choices(); ++c)
            options << choices_[static_cast<size_t>(row)][static_cast<size_t>(c)].button;
        return options;
    });
    for (int i = 0; i < n; ++i) {
        const int stored = e.slot_result(i);
        for (int c = 0; c < row_choices(); ++c) {
            const Choice &choice = choices_[static_cast<size_t>(i)][static_cast<size_t>(c)];
            if (choice.code == stored)
                choice.button->setChecked(true);
        }
    }
    // Also settles the prize controls when no row option was selected above.
    chk_result();

    switch (e.state) {
    case kPrizeRefund: opt_kin_back_->setChecked(true); break;
    case kPrizeEntered:
        opt_kin_go_->setChecked(true);
        for (int g = 0; g < prize_count(family_); ++g)
            txt_kin_[static_cast<size_t>(g)]->setText(format_yen(e.prizes[static_cast<size_t>(g)]));
        opt_kin_go_Click();
        break;
    default:
        opt_kin_none_->setChecked(true);
        opt_kin_none_Click();
        break;
    }
}

int ResultDialog::selected_code(int row) const
{
    for (int c = 0; c < row_choices(); ++c) {
        const Choice &choice = choices_[static_cast<size_t>(row)][static_cast<size_t>(c)];
        if (choice.button->isChecked())
            return choice.code;
    }
    return 0;
}

bool ResultDialog::row_decided(int row) const
{
    for (int c = 0; c < row_choices(); ++c)
        if (choices_[static_cast<size_t>(row)][static_cast<size_t>(c)].button->isChecked())
            return true;
    return false;
}

void ResultDialog::chk_result()
{
    const int n = std::min(result_rows(kind_), slot_rows_.rows());
    const int stop_code = family_ == Family::goal ? kScoreCancelled : kCancelled;
    RowCounts counts;
    for (int i = 0; i < n; ++i) {
        const bool any = row_decided(i);
        const int code = selected_code(i);
        if (any && code == stop_code)
            ++counts.stopped;
        else if (any && code != 0)
            ++counts.decided;
    }
    switch (prize_phase(kind_, n, counts)) {
    case PrizePhase::refund_forced:
        opt_kin_back_->setEnabled(true);
        opt_kin_none_->setEnabled(false);
        opt_kin_go_->setEnabled(false);
        set_amounts_enabled(false, false);
        opt_kin_back_->setChecked(true);
        break;
    case PrizePhase::complete:
        opt_kin_back_->setEnabled(false);
        opt_kin_none_->setEnabled(true);
        opt_kin_go_->setEnabled(true);
        if (opt_kin_back_->isChecked())
            opt_kin_none_->setChecked(true);
        for (int g = 0; g < prize_count(family_); ++g)
            lbl_kin_[static_cast<size_t>(g)]->setEnabled(true);
        break;
    case PrizePhase::incomplete:
        opt_kin_back_->setEnabled(false);
        opt_kin_go_->setEnabled(false);
        opt_kin_none_->setEnabled(true);
        set_amounts_enabled(false, false);
        opt_kin_none_->setChecked(true);
        break;
    }
}

void ResultDialog::set_amounts_enabled(bool labels, bool boxes)
{
    for (int g = 0; g < prize_count(family_); ++g) {
        lbl_kin_[static_cast<size_t>(g)]->setEnabled(labels);
        txt_kin_[static_cast<size_t>(g)]->setEnabled(boxes);
    }
}

void ResultDialog::opt_kin_go_Click()
{
    set_amounts_enabled(true, true);
}

void ResultDialog::opt_kin_none_Click()
{
    for (int g = 0; g < prize_count(family_); ++g)
        txt_kin_[static_cast<size_t>(g)]->setEnabled(false);
}

void ResultDialog::cmd_ok_Click()
{
    ResultInput input;
    for (int i = 0; i < slot_rows_.rows(); ++i)
        input.codes[static_cast<size_t>(i)] = selected_code(i);
    if (opt_kin_none_->isChecked())
        input.state = kPrizeUndecided;
    else if (opt_kin_back_->isChecked())
        input.state = kPrizeRefund;
    else
        input.state = kPrizeEntered;
    for (int g = 0; g < prize_count(family_); ++g)
        input.amounts[static_cast<size_t>(g)] = txt_kin_[static_cast<size_t>(g)]->amount();
    RoundEntry round = state_.current_entry();
    store_results(round, input);
    if (const Outcome stored = commit_(round); !stored.ok) {
        if (!stored.message.isEmpty())
            ui_.message(this, stored.message, program_title(), UiServices::Icon::critical);
        return;
    }
    state_.dialog_result = DialogResult::ok;
    accept();
}

FormResult::FormResult(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent)
    : ResultDialog(Family::match, state, ui, std::move(commit), parent)
{
}

FormGoalResult::FormGoalResult(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent)
    : ResultDialog(Family::goal, state, ui, std::move(commit), parent)
{
}
