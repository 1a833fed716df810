#include "entry/form_purchase_base.h"

#include "book/shared_state.h"
#include "platform/form_controls.h"
#include "platform/ui_services.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace form_ui;

FormPurchaseBase::FormPurchaseBase(SharedState &state, UiServices &ui, QWidget *parent, Family family,
                                   const char *match_name, const char *goal_name, int match_rows,
                                   bool padded_numbers)
    : OpeningDialog(parent), state_(state), ui_(ui), family_(family),
      rows_(family == Family::match ? match_rows : kMaxTeamSlots)
{
    const bool match = family_ == Family::match;
    setObjectName(QString::fromLatin1(match ? match_name : goal_name));
    setModal(true);

    auto *top = new QVBoxLayout(this);
    auto *head = new QHBoxLayout;
    lbl_kai = make_label(this, QStringLiteral("lbl_kai"), QString());
    lbl_kind = make_label(this, QStringLiteral("lbl_kind"), QString());
    head->addWidget(lbl_kai);
    head->addWidget(make_label(this, QString(), QStringLiteral("回")));
    head->addSpacing(16);
    head->addWidget(lbl_kind);
    head->addStretch();
    top->addLayout(head);

    grid_ = new QGridLayout;
    top->addLayout(grid_);
    int grid_row = 0;
    if (match) {
        grid_->addWidget(make_label(this, QString(), QStringLiteral("ホーム")), grid_row, 1,
                         Qt::AlignHCenter);
        grid_->addWidget(make_label(this, QString(), QStringLiteral("アウェイ")), grid_row, 3,
                         Qt::AlignHCenter);
    } else {
        grid_->addWidget(make_label(this, QString(), QStringLiteral("予想チーム")), grid_row, 1,
                         Qt::AlignHCenter);
    }
    ++grid_row;
    for (int i = 0; i < rows_; ++i) {
        const auto s = static_cast<size_t>(i);
        lbl_no[s] = make_label(this, control_name("lbl_no", i), row_number_text(i, padded_numbers || !match));
        grid_->addWidget(lbl_no[s], grid_row, 0, Qt::AlignRight);
        if (match) {
            lbl_home[s] = make_label(this, control_name("lbl_home", i), QString());
            lbl_vs[s] = make_label(this, control_name("lbl_vs", i), QStringLiteral("-"));
            lbl_away[s] = make_label(this, control_name("lbl_away", i), QString());
            grid_->addWidget(lbl_home[s], grid_row, 1);
            grid_->addWidget(lbl_vs[s], grid_row, 2);
            grid_->addWidget(lbl_away[s], grid_row, 3);
        } else {
            lbl_name[s] = make_label(this, control_name("lbl_name", i), QString());
            grid_->addWidget(lbl_name[s], grid_row, 1);
        }
        grid_rows_.push_back(grid_row);
        ++grid_row;
        if (!match && i % 2 == 1 && i + 1 < rows_) {
            pair_lines_.push_back(make_separator(this));
            grid_->addWidget(pair_lines_.back(), grid_row, 0, 1, 6);
            ++grid_row;
        }
    }
    row_buttons_.resize(static_cast<size_t>(rows_));

    extras_ = new QHBoxLayout;
    top->addLayout(extras_);
    top->addLayout(make_ok_cancel_row(this, cmd_ok, cmd_cancel));
}

void FormPurchaseBase::place_headings(const QStringList &headings)
{
    for (int c = 0; c < headings.size(); ++c)
        grid_->addWidget(make_label(this, QString(), headings[c]), 0, first_button_column() + c,
                         Qt::AlignHCenter);
}

void FormPurchaseBase::place_buttons(int row, const QList<QAbstractButton *> &buttons)
{
    for (int c = 0; c < buttons.size(); ++c)
        grid_->addWidget(buttons[c], grid_rows_[static_cast<size_t>(row)], first_button_column() + c,
                         Qt::AlignHCenter);
    row_buttons_[static_cast<size_t>(row)] = buttons;
}

const RoundEntry &FormPurchaseBase::round() const
{
    return state_.book.entries[static_cast<size_t>(state_.current)];
}

int FormPurchaseBase::row_count() const
{
    return std::min(slot_count(kind()), rows_);
}

void FormPurchaseBase::on_open()
{
    state_.dialog_result = 0;
    const RoundEntry &entry = round();
    lbl_kai->setText(entry.kai.text());
    lbl_kind->setText(kind_display_name(entry.kind));
    const int rows = row_count();
    for (int i = 0; i < rows_; ++i) {
        const auto s = static_cast<size_t>(i);
        const bool hidden = i >= rows;
        QList<QWidget *> widgets{lbl_no[s]};
        if (family_ == Family::match) {
            widgets << lbl_home[s] << lbl_vs[s] << lbl_away[s];
            lbl_home[s]->setText(entry.matches[s].home.text());
            lbl_away[s]->setText(entry.matches[s].away.text());
        } else {
            widgets << lbl_name[s];
            lbl_name[s]->setText(entry.teams[s].team.text());
        }
        for (QAbstractButton *button : row_buttons_[s])
            widgets << button;
        for (QWidget *w : widgets)
            w->setHidden(hidden);
    }
    for (size_t p = 0; p < pair_lines_.size(); ++p)
        pair_lines_[p]->setHidden(static_cast<int>(2 * p + 2) >= rows);
    load_rows();
    adjustSize();
}

void FormPurchaseBase::show_refusal(const Outcome &outcome)
{
    ui_.message(this, outcome.message, program_title(), UiServices::Icon::critical);
}

void FormPurchaseBase::finish_ok()
{
    state_.dialog_result = 1;
    state_.changed = true;
    accept();
}
