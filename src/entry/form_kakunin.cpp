#include "entry/form_kakunin.h"

#include "entry/form_review_commands.h"
#include "entry/purchase_deletion.h"
#include "entry/purchase_review.h"
#include "platform/form_controls.h"
#include "platform/ui_services.h"
#include "results/winning_check.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

using form_ui::named;

namespace {

QLabel *centered(QLabel *label)
{
    label->setAlignment(Qt::AlignCenter);
    return label;
}

const QColor kResultColour(192, 0, 0);

} // namespace

KakuninDialog::KakuninDialog(bool goal, SharedState &state, UiServices &ui, ReviewEditors editors,
                             QWidget *parent)
    : OpeningDialog(parent), state_(state), ui_(ui), editors_(std::move(editors)), goal_(goal),
      rows_(goal ? kMaxTeamSlots : kMaxMatchSlots)
{
    setObjectName(goal ? QStringLiteral("form_goal_kakunin") : QStringLiteral("form_kakunin"));
    setWindowTitle(QStringLiteral("購入確認・修正"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *head = new QHBoxLayout;
    lbl_kai = named(new QLabel(this), QStringLiteral("lbl_kai"));
    lbl_kind = named(new QLabel(this), QStringLiteral("lbl_kind"));
    cmb_kind = named(new QComboBox(this), QStringLiteral("cmb_kind"));
    head->addWidget(lbl_kai);
    head->addWidget(new QLabel(QStringLiteral("回"), this));
    head->addSpacing(16);
    head->addWidget(lbl_kind);
    head->addStretch();
    head->addWidget(cmb_kind);
    layout->addLayout(head);

    auto *area = new QWidget(this);
    build_grid(area);
    layout->addWidget(area);

    auto *counters = new QGridLayout;
    const struct {
        QLabel **name, **value, **unit;
        const char *object;
        const char *caption;
    } counter_rows[] = {{&lbl_nm_double, &lbl_double, &lbl_kt_double, "double", "ダブル"},
                        {&lbl_nm_triple, &lbl_triple, &lbl_kt_triple, "triple", "トリプル"},
                        {&lbl_nm_total, &lbl_total, &lbl_kt_total, "total", "合計"}};
    int at = 0;
    for (const auto &c : counter_rows) {
        const QString object = QLatin1String(c.object);
        if (at == 2) {
            line_kuti = named(new QFrame(this), QStringLiteral("line_kuti"));
            line_kuti->setFrameShape(QFrame::HLine);
            counters->addWidget(line_kuti, at++, 0, 1, 3);
        }
        *c.name = named(new QLabel(QString::fromUtf8(c.caption), this), QStringLiteral("lbl_nm_") + object);
        *c.value = named(new QLabel(this), QStringLiteral("lbl_") + object);
        (*c.value)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *c.unit = named(new QLabel(QStringLiteral("口"), this), QStringLiteral("lbl_kt_") + object);
        counters->addWidget(*c.name, at, 0);
        counters->addWidget(*c.value, at, 1);
        counters->addWidget(*c.unit, at++, 2);
    }
    lbl_right = named(new QLabel(QStringLiteral("正当数"), this), QStringLiteral("lbl_right"));
    lbl_right_num = named(new QLabel(this), QStringLiteral("lbl_right_num"));
    counters->addWidget(lbl_right, at, 0);
    counters->addWidget(lbl_right_num, at, 1, 1, 2);

    // Prize labels belong to the CSV confirmation; review keeps them hidden.
    const char *const prize_names[] = {"lbl_top",    "lbl_second", "lbl_third",
                                       "lbl_fourth", "lbl_fifth",  "lbl_sixth"};
    const char *const grade_names[] = {"１等", "２等", "３等", "４等", "５等", "６等"};
    const int prizes = goal ? 2 : 6;
    for (int g = 0; g < prizes; ++g) {
        auto *caption =
            named(new QLabel(QString::fromUtf8(grade_names[g]), this), QLatin1String(prize_names[g]));
        auto *amount = named(new QLabel(this), QLatin1String(prize_names[g]) + QStringLiteral("_kin"));
        counters->addWidget(caption, at + 1 + g, 0);
        counters->addWidget(amount, at + 1 + g, 1, 1, 2);
        caption->hide();
        amount->hide();
        prize_labels.insert(prize_labels.end(), {caption, amount});
    }

    auto *bottom = new QHBoxLayout;
    bottom->addLayout(counters);
    bottom->addStretch();
    auto *buttons = new QVBoxLayout;
    cmd_cng = named(new QPushButton(QStringLiteral("変更"), this), QStringLiteral("cmd_cng"));
    cmd_del = named(new QPushButton(QStringLiteral("削除"), this), QStringLiteral("cmd_del"));
    cmd_ok = named(new QPushButton(QStringLiteral("Ｏ．Ｋ．"), this), QStringLiteral("cmd_ok"));
    cmd_cancel = named(new QPushButton(QStringLiteral("キャンセル"), this), QStringLiteral("cmd_cancel"));
    for (QPushButton *b : {cmd_cng, cmd_del, cmd_ok, cmd_cancel})
        buttons->addWidget(b);
    bottom->addLayout(buttons);
    layout->addLayout(bottom);

    connect(cmb_kind, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (item >= 0)
            show_item(item);
    });
    connect(cmd_cng, &QPushButton::clicked, this, &KakuninDialog::cmd_cng_Click);
    connect(cmd_del, &QPushButton::clicked, this, &KakuninDialog::cmd_del_Click);
    connect(cmd_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmd_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void KakuninDialog::build_grid(QWidget *area)
{
    auto *grid = new QGridLayout(area);
    grid->setVerticalSpacing(2);
    const int first_cell = goal_ ? 2 : 4;
    if (goal_) {
        grid->addWidget(centered(new QLabel(QStringLiteral("予想チーム"), area)), 0, 1);
        cell_columns_ = {&lbl_0ten, &lbl_1ten, &lbl_2ten, &lbl_3ten};
    } else {
        grid->addWidget(centered(new QLabel(QStringLiteral("ホーム"), area)), 0, 1);
        grid->addWidget(centered(new QLabel(QStringLiteral("アウェイ"), area)), 0, 3);
        cell_columns_ = {&lbl_win, &lbl_draw, &lbl_lose};
    }
    const char *const cell_names[] = {"lbl_win", "lbl_draw", "lbl_lose"};
    const char *const goal_cell_names[] = {"lbl_0ten", "lbl_1ten", "lbl_2ten", "lbl_3ten"};
    const char *const headings[] = {"勝", "分", "負"};
    const char *const goal_headings[] = {"0", "1", "2", "3"};

    for (int i = 0; i < rows_; ++i) {
        std::vector<QWidget *> widgets;
        lbl_no.push_back(named(new QLabel(QStringLiteral("%1.").arg(i + 1, 2), area), "lbl_no", i));
        widgets.push_back(lbl_no.back());
        if (goal_) {
            lbl_name.push_back(named(new QLabel(area), "lbl_name", i));
            widgets.push_back(lbl_name.back());
        } else {
            lbl_home.push_back(named(new QLabel(area), "lbl_home", i));
            lbl_vs.push_back(named(new QLabel(QStringLiteral("-"), area), "lbl_vs", i));
            lbl_away.push_back(named(new QLabel(area), "lbl_away", i));
            widgets.insert(widgets.end(), {lbl_home.back(), lbl_vs.back(), lbl_away.back()});
        }
        for (size_t c = 0; c < widgets.size(); ++c)
            grid->addWidget(widgets[c], i + 1, static_cast<int>(c));
        row_widgets_.push_back(std::move(widgets));
    }
    // Cells of rows 0..rows-1, then the heading row (index rows_), placed above the rows.
    for (size_t c = 0; c < cell_columns_.size(); ++c) {
        const char *name = goal_ ? goal_cell_names[c] : cell_names[c];
        for (int i = 0; i <= rows_; ++i) {
            const bool heading = i == rows_;
            auto *label = named(new QLabel(area), name, i);
            label->setAlignment(Qt::AlignCenter);
            if (heading)
                label->setText(QString::fromUtf8(goal_ ? goal_headings[c] : headings[c]));
            cell_columns_[c]->push_back(label);
            grid->addWidget(label, heading ? 0 : i + 1, first_cell + static_cast<int>(c));
        }
    }
}

QLabel *KakuninDialog::cell(int row, int c) const
{
    return (*cell_columns_[static_cast<size_t>(c)])[static_cast<size_t>(row)];
}

void KakuninDialog::show_round_texts()
{
    const RoundEntry &e = state_.book.entries[static_cast<size_t>(state_.current)];
    lbl_kai->setText(e.kai.text());
    lbl_kind->setText(kind_display_name(e.kind));
    for (int i = 0; i < rows_; ++i) {
        const auto s = static_cast<size_t>(i);
        if (goal_) {
            lbl_name[s]->setText(e.teams[s].team.text());
        } else {
            lbl_home[s]->setText(e.matches[s].home.text());
            lbl_away[s]->setText(e.matches[s].away.text());
        }
    }
}

void KakuninDialog::on_open()
{
    state_.dialog_result = 0;
    show_round_texts();
    const int n = slot_count(state_.book.entries[static_cast<size_t>(state_.current)].kind);
    for (int i = 0; i < rows_; ++i)
        for (QWidget *w : row_widgets_[static_cast<size_t>(i)])
            w->setVisible(i < n);
    fill_items(0);
}

void KakuninDialog::fill_items(int select)
{
    const std::vector<ReviewItem> items = review_items(state_.book, state_.current);
    cmb_kind->blockSignals(true);
    cmb_kind->clear();
    item_values_.clear();
    for (const ReviewItem &item : items) {
        cmb_kind->addItem(item.caption, item.value);
        item_values_.push_back(item.value);
    }
    const int item = select >= 0 && select < cmb_kind->count() ? select : 0;
    cmb_kind->setCurrentIndex(item);
    cmb_kind->blockSignals(false);
    show_item(item);
}

void KakuninDialog::set_ticket_visible(bool visible)
{
    const int n = slot_count(state_.book.entries[static_cast<size_t>(state_.current)].kind);
    for (size_t c = 0; c < cell_columns_.size(); ++c)
        for (int i = 0; i <= rows_; ++i)
            cell(i, static_cast<int>(c))->setVisible(visible && (i < n || i == rows_));
    for (QWidget *w : std::initializer_list<QWidget *>{
             lbl_nm_double, lbl_double, lbl_kt_double, lbl_nm_triple, lbl_triple, lbl_kt_triple, lbl_nm_total,
             lbl_total, lbl_kt_total, line_kuti, lbl_right, lbl_right_num})
        w->setVisible(visible);
}

void KakuninDialog::show_item(int item)
{
    if (item <= 0 || item >= static_cast<int>(item_values_.size())) {
        shown_type_ = 0;
        state_.edit_target = 1;
        set_ticket_visible(false);
        return;
    }
    const ReviewTicket t =
        review_ticket(state_.book, state_.current, item_values_[static_cast<size_t>(item)]);
    shown_type_ = t.type;
    state_.edit_target = t.pool_index + 1;
    set_ticket_visible(true);
    lbl_double->setText(QString::number(t.doubles));
    lbl_triple->setText(QString::number(t.triples));
    lbl_total->setText(QString::number(t.total));
    for (size_t i = 0; i < t.rows.size(); ++i) {
        for (size_t c = 0; c < cell_columns_.size(); ++c) {
            QLabel *label = cell(static_cast<int>(i), static_cast<int>(c));
            const ReviewCell &rc = t.rows[i][c];
            label->setText(rc.marked ? QStringLiteral("○") : QStringLiteral("－"));
            QPalette palette = label->parentWidget()->palette();
            if (rc.result)
                palette.setColor(QPalette::WindowText, kResultColour);
            label->setPalette(palette);
        }
    }
    lbl_right_num->setText(t.right_text());
}

void KakuninDialog::entry_changed()
{
    result_chk(state_.book, state_.current);
    if (editors_.entry_changed)
        editors_.entry_changed();
}

void KakuninDialog::cmd_cng_Click()
{
    const int item = cmb_kind->currentIndex();
    if (item <= 0) {
        state_.edit_target = 1;
        if (editors_.edit_round)
            editors_.edit_round();
    } else if (shown_type_ == kSingle) {
        if (editors_.edit_single)
            editors_.edit_single(state_.edit_target - 1);
    } else if (editors_.edit_multi) {
        editors_.edit_multi(state_.edit_target - 1);
    }
    // Whatever the editor did, show the round as it is now.
    show_round_texts();
    fill_items(item);
    entry_changed();
    state_.dialog_result = 0;
}

void KakuninDialog::cmd_del_Click()
{
    if (ui_.message(this, QStringLiteral("削除していいですか？"), program_title(), UiServices::Icon::question,
                    UiServices::Buttons::yes_no) != UiServices::Answer::yes)
        return;
    state_.changed = true;
    const int item = cmb_kind->currentIndex();
    if (item > 0) {
        if (shown_type_ == kSingle)
            single_del(state_.book, state_.current, state_.edit_target - 1);
        else
            multi_del(state_.book, state_.current, state_.edit_target - 1);
        fill_items(0);
        entry_changed();
        return;
    }
    delete_entry(state_.book, state_.current);
    state_.dialog_result = 1;
    accept();
}

FormKakunin::FormKakunin(SharedState &state, UiServices &ui, ReviewEditors editors, QWidget *parent)
    : KakuninDialog(false, state, ui, std::move(editors), parent)
{
}

FormGoalKakunin::FormGoalKakunin(SharedState &state, UiServices &ui, ReviewEditors editors, QWidget *parent)
    : KakuninDialog(true, state, ui, std::move(editors), parent)
{
}

int run_purchase_review(SharedState &state, UiServices &ui, QWidget *parent, const ReviewEditors &editors)
{
    state.dialog_result = 0;
    if (state.current < 0 || state.current >= state.book.entry_count())
        return 0;
    std::unique_ptr<KakuninDialog> dialog;
    if (is_match_kind(state.book.entries[static_cast<size_t>(state.current)].kind))
        dialog = std::make_unique<FormKakunin>(state, ui, editors, parent);
    else
        dialog = std::make_unique<FormGoalKakunin>(state, ui, editors, parent);
    dialog->csv_flag = 0;
    dialog->load();
    dialog->exec();
    if (state.dialog_result == 1)
        state.current = std::max(0, std::min(state.current, state.book.entry_count() - 1));
    return state.dialog_result;
}
