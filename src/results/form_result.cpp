#include "results/form_result.h"

#include "platform/form_controls.h"
#include "platform/ui_services.h"
#include "results/form_amount_box.h"
#include "results/result_entry.h"
#include "results/winning_check.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using form_ui::named;

namespace {

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

const QString kGradeNames[kPrizeRows] = {QStringLiteral("１等"), QStringLiteral("２等"),
                                         QStringLiteral("３等"), QStringLiteral("４等"),
                                         QStringLiteral("５等"), QStringLiteral("６等")};

} // namespace

ResultDialog::ResultDialog(bool goal, SharedState &state, UiServices &ui, QWidget *parent)
    : OpeningDialog(parent), state_(state), ui_(ui), goal_(goal)
{
    setObjectName(goal ? QStringLiteral("form_goal_result") : QStringLiteral("form_result"));
    setWindowTitle(QStringLiteral("結果入力"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *head = new QHBoxLayout;
    lbl_kai = named(new QLabel(this), QStringLiteral("lbl_kai"));
    lbl_kind = named(new QLabel(this), QStringLiteral("lbl_kind"));
    head->addWidget(lbl_kai);
    head->addWidget(new QLabel(QStringLiteral("回"), this));
    head->addSpacing(16);
    head->addWidget(lbl_kind);
    head->addStretch();
    layout->addLayout(head);

    auto *grid_area = new QWidget(this);
    layout->addWidget(grid_area);
    build_rows();
    auto *grid = new QGridLayout(grid_area);
    grid->setVerticalSpacing(2);
    int column = 0;
    grid->addWidget(caption(goal_ ? QStringLiteral("予想チーム") : QStringLiteral("ホーム"), grid_area), 0,
                    1);
    if (!goal_)
        grid->addWidget(caption(QStringLiteral("アウェイ"), grid_area), 0, 3);
    const QStringList headers =
        goal_ ? QStringList{QStringLiteral("0"), QStringLiteral("1"),      QStringLiteral("2"),
                            QStringLiteral("3"), QStringLiteral("中\n止"), QStringLiteral("未")}
              : QStringList{QStringLiteral("勝"), QStringLiteral("分"), QStringLiteral("負"),
                            QStringLiteral("中\n止"), QStringLiteral("未")};
    const int first_option = goal_ ? 2 : 4;
    for (const QString &h : headers)
        grid->addWidget(caption(h, grid_area), 0, first_option + column++);
    for (size_t i = 0; i < rows_.size(); ++i) {
        const int at = 2 * static_cast<int>(i) + 1;
        int c = 0;
        for (QWidget *w : rows_[i].widgets)
            grid->addWidget(w, at, c++);
    }
    for (size_t k = 1; k < separator.size(); ++k)
        grid->addWidget(separator[k], 2 * static_cast<int>(k), 0, 1, first_option + column);

    auto *prize_area = new QWidget(this);
    layout->addWidget(prize_area);
    build_prizes(prize_area);

    auto *buttons = new QHBoxLayout;
    cmd_ok = named(new QPushButton(QStringLiteral("Ｏ．Ｋ．"), this), QStringLiteral("cmd_ok"));
    cmd_cancel = named(new QPushButton(QStringLiteral("キャンセル"), this), QStringLiteral("cmd_cancel"));
    cmd_ok->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(cmd_ok);
    buttons->addWidget(cmd_cancel);
    layout->addLayout(buttons);
    connect(cmd_ok, &QPushButton::clicked, this, &ResultDialog::cmd_ok_Click);
    connect(cmd_cancel, &QPushButton::clicked, this, &ResultDialog::cmd_cancel_Click);
}

void ResultDialog::build_rows()
{
    const int count = goal_ ? kGoalResultRows : kMatchResultRows;
    QWidget *parent = this;
    // Columns of the options, with the code each writes.
    struct Column {
        std::vector<QRadioButton *> *array;
        const char *name;
        int code;
    };
    const std::vector<Column> columns = goal_ ? std::vector<Column>{{&opt_0ten, "opt_0ten", 1},
                                                                    {&opt_1ten, "opt_1ten", 2},
                                                                    {&opt_2ten, "opt_2ten", 3},
                                                                    {&opt_3ten, "opt_3ten", 4},
                                                                    {&opt_stop, "opt_stop", kScoreCancelled},
                                                                    {&opt_none, "opt_none", kScoreNone}}
                                              : std::vector<Column>{{&opt_win, "opt_win", kHomeWin},
                                                                    {&opt_draw, "opt_draw", kDraw},
                                                                    {&opt_lose, "opt_lose", kAwayWin},
                                                                    {&opt_stop, "opt_stop", kCancelled},
                                                                    {&opt_none, "opt_none", kResultNone}};
    for (int i = 0; i < count; ++i) {
        Row row;
        auto *no = named(new QLabel(QStringLiteral("%1.").arg(i + 1, 2), parent), "lbl_no", i);
        lbl_no.push_back(no);
        row.widgets.push_back(no);
        if (goal_) {
            lbl_name.push_back(named(new QLabel(parent), "lbl_name", i));
            row.widgets.push_back(lbl_name.back());
        } else {
            lbl_home.push_back(named(new QLabel(parent), "lbl_home", i));
            lbl_vs.push_back(named(new QLabel(QStringLiteral("-"), parent), "lbl_vs", i));
            lbl_away.push_back(named(new QLabel(parent), "lbl_away", i));
            row.widgets.insert(row.widgets.end(), {lbl_home.back(), lbl_vs.back(), lbl_away.back()});
        }
        auto *group = new QButtonGroup(this);
        for (const Column &c : columns) {
            auto *option = named(new QRadioButton(parent), c.name, i);
            c.array->push_back(option);
            group->addButton(option);
            row.widgets.push_back(option);
            row.choices.push_back({option, c.code});
            connect(option, &QRadioButton::toggled, this, [this](bool on) {
                if (on)
                    chk_result();
            });
        }
        rows_.push_back(std::move(row));
    }
    separator.push_back(nullptr);
    for (int k = 1; k < count; ++k) {
        auto *line = named(new QFrame(parent), "separator", k);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->hide();
        separator.push_back(line);
    }
}

void ResultDialog::build_prizes(QWidget *area)
{
    auto *grid = new QGridLayout(area);
    grid->addWidget(new QLabel(QStringLiteral("当選金額"), area), 0, 0, 1, 2);
    const int boxes = goal_ ? 2 : kPrizeRows;
    for (int g = 0; g < boxes; ++g) {
        lbl_kin.push_back(named(new QLabel(kGradeNames[g], area), "lbl_kin", g));
        txt_kin.push_back(named(new AmountBox(ui_, area), "txt_kin", g));
        grid->addWidget(lbl_kin.back(), g + 1, 0);
        grid->addWidget(txt_kin.back(), g + 1, 1);
    }
    opt_kin_go = named(new QRadioButton(area), QStringLiteral("opt_kin_go"));
    opt_kin_back = named(new QRadioButton(QStringLiteral("払戻"), area), QStringLiteral("opt_kin_back"));
    opt_kin_none = named(new QRadioButton(QStringLiteral("未定"), area), QStringLiteral("opt_kin_none"));
    auto *group = new QButtonGroup(this);
    for (QRadioButton *option : {opt_kin_go, opt_kin_back, opt_kin_none})
        group->addButton(option);
    grid->addWidget(opt_kin_go, 1, 2);
    grid->addWidget(opt_kin_back, 1, 3);
    grid->addWidget(opt_kin_none, 1, 4);
    connect(opt_kin_go, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            opt_kin_go_Click();
    });
    connect(opt_kin_none, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            opt_kin_none_Click();
    });
}

RoundEntry &ResultDialog::entry()
{
    return state_.book.entries[static_cast<size_t>(state_.current)];
}

void ResultDialog::on_open()
{
    state_.dialog_result = 0;
    const RoundEntry &e = entry();
    kind_ = e.kind;
    lbl_kai->setText(e.kai.text());
    lbl_kind->setText(kind_display_name(kind_));
    for (size_t k = 1; k < separator.size(); ++k)
        separator[k]->setVisible(false);
    for (int k : separators_after(kind_))
        if (k > 0 && k < static_cast<int>(separator.size()))
            separator[static_cast<size_t>(k)]->setVisible(true);
    for (size_t g = 0; g < txt_kin.size(); ++g) {
        const bool shown = prize_row_shown(e, static_cast<int>(g) + 1);
        lbl_kin[g]->setVisible(shown);
        txt_kin[g]->setVisible(shown);
        txt_kin[g]->set_max(prize_max(kind_));
    }

    const int n = result_rows(kind_);
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        Row &row = rows_[static_cast<size_t>(i)];
        for (QWidget *w : row.widgets)
            w->setVisible(i < n);
        if (i >= n)
            continue;
        if (goal_) {
            lbl_name[static_cast<size_t>(i)]->setText(e.teams[static_cast<size_t>(i)].team.text());
        } else {
            lbl_home[static_cast<size_t>(i)]->setText(e.matches[static_cast<size_t>(i)].home.text());
            lbl_away[static_cast<size_t>(i)]->setText(e.matches[static_cast<size_t>(i)].away.text());
        }
        const int stored = e.slot_result(i);
        for (const Choice &c : row.choices)
            if (c.code == stored)
                c.button->setChecked(true);
    }
    // Also settles the prize controls when no row option was selected above.
    chk_result();

    switch (e.state) {
    case kPrizeRefund: opt_kin_back->setChecked(true); break;
    case kPrizeEntered:
        opt_kin_go->setChecked(true);
        for (size_t g = 0; g < txt_kin.size(); ++g)
            txt_kin[g]->setText(format_yen(e.prizes[g]));
        opt_kin_go_Click();
        break;
    default:
        opt_kin_none->setChecked(true);
        opt_kin_none_Click();
        break;
    }
}

int ResultDialog::selected_code(int row) const
{
    for (const Choice &c : rows_[static_cast<size_t>(row)].choices)
        if (c.button->isChecked())
            return c.code;
    return 0;
}

void ResultDialog::chk_result()
{
    const int n = std::min(result_rows(kind_), static_cast<int>(rows_.size()));
    const int stop_code = goal_ ? kScoreCancelled : kCancelled;
    RowCounts counts;
    for (int i = 0; i < n; ++i) {
        bool any = false;
        for (const Choice &c : rows_[static_cast<size_t>(i)].choices)
            any = any || c.button->isChecked();
        const int code = selected_code(i);
        if (any && code == stop_code)
            ++counts.stopped;
        else if (any && code != 0)
            ++counts.decided;
    }
    switch (prize_phase(kind_, n, counts)) {
    case PrizePhase::refund_forced:
        opt_kin_back->setEnabled(true);
        opt_kin_none->setEnabled(false);
        opt_kin_go->setEnabled(false);
        set_amounts_enabled(false, false);
        opt_kin_back->setChecked(true);
        break;
    case PrizePhase::complete:
        opt_kin_back->setEnabled(false);
        opt_kin_none->setEnabled(true);
        opt_kin_go->setEnabled(true);
        if (opt_kin_back->isChecked())
            opt_kin_none->setChecked(true);
        for (QLabel *label : lbl_kin)
            label->setEnabled(true);
        break;
    case PrizePhase::incomplete:
        opt_kin_back->setEnabled(false);
        opt_kin_go->setEnabled(false);
        opt_kin_none->setEnabled(true);
        set_amounts_enabled(false, false);
        opt_kin_none->setChecked(true);
        break;
    }
}

void ResultDialog::set_amounts_enabled(bool labels, bool boxes)
{
    for (QLabel *label : lbl_kin)
        label->setEnabled(labels);
    for (AmountBox *box : txt_kin)
        box->setEnabled(boxes);
}

void ResultDialog::opt_kin_go_Click()
{
    set_amounts_enabled(true, true);
}

void ResultDialog::opt_kin_none_Click()
{
    for (AmountBox *box : txt_kin)
        box->setEnabled(false);
}

void ResultDialog::cmd_ok_Click()
{
    ResultInput input;
    for (size_t i = 0; i < rows_.size(); ++i)
        input.codes[i] = selected_code(static_cast<int>(i));
    if (opt_kin_none->isChecked())
        input.state = kPrizeUndecided;
    else if (opt_kin_back->isChecked())
        input.state = kPrizeRefund;
    else
        input.state = kPrizeEntered;
    for (size_t g = 0; g < txt_kin.size(); ++g)
        input.amounts[g] = txt_kin[g]->amount();
    store_results(entry(), input);
    state_.dialog_result = 1;
    state_.changed = true;
    accept();
}

void ResultDialog::cmd_cancel_Click()
{
    reject();
}

FormResult::FormResult(SharedState &state, UiServices &ui, QWidget *parent)
    : ResultDialog(false, state, ui, parent)
{
}

FormGoalResult::FormGoalResult(SharedState &state, UiServices &ui, QWidget *parent)
    : ResultDialog(true, state, ui, parent)
{
}

bool run_result_entry(SharedState &state, UiServices &ui, QWidget *parent)
{
    if (state.current < 0 || state.current >= state.book.entry_count())
        return false;
    const bool match = is_match_kind(state.book.entries[static_cast<size_t>(state.current)].kind);
    std::unique_ptr<ResultDialog> dialog;
    if (match)
        dialog = std::make_unique<FormResult>(state, ui, parent);
    else
        dialog = std::make_unique<FormGoalResult>(state, ui, parent);
    dialog->load();
    dialog->exec();
    if (state.dialog_result != 1)
        return false;
    result_chk(state.book, state.current);
    return true;
}
