#include "entry/form_name.h"

#include "entry/form_text_box.h"
#include "platform/shift_jis.h"
#include "ui/form_controls.h"
#include "ui/shared_state.h"
#include "ui/ui_services.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace form_ui;

FormName::FormName(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent)
    : FormName(state, ui, std::move(commit), parent, Family::match)
{
}

FormName::FormName(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent,
                   Family family)
    : OpeningDialog(parent), state_(state), ui_(ui), commit_(std::move(commit)), family_(family),
      kind_(family == Family::match ? LotteryKind::toto : LotteryKind::totoGOAL)
{
    build();
}

LimitedTextBox *FormName::make_text_box(const QString &name)
{
    auto *box = new LimitedTextBox(ui_, this);
    box->setObjectName(name);
    // Ten full-width characters fit.
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("ＷＷＷＷＷＷ")));
    connect(box, &QLineEdit::textChanged, this, &FormName::check_name);
    return box;
}

void FormName::build()
{
    const bool match = family_ == Family::match;
    setObjectName(match ? QStringLiteral("form_name") : QStringLiteral("form_goal_name"));
    setWindowTitle(QStringLiteral("チーム名設定"));
    setModal(true);

    auto *top = new QVBoxLayout(this);
    auto *head = new QHBoxLayout;
    lbl_kind_ = make_label(this, QStringLiteral("lbl_kind"), QString());
    txt_kai_ = make_text_box(QStringLiteral("txt_kai"));
    head->addWidget(lbl_kind_);
    head->addStretch();
    head->addWidget(txt_kai_);
    head->addWidget(make_label(this, QString(), QStringLiteral("回")));
    top->addLayout(head);

    auto *grid = new QGridLayout;
    top->addLayout(grid);
    int grid_row = 0;
    if (match) {
        grid->addWidget(make_label(this, QString(), QStringLiteral("ホーム")), grid_row, 1, Qt::AlignHCenter);
        grid->addWidget(make_label(this, QString(), QStringLiteral("アウェイ")), grid_row, 3,
                        Qt::AlignHCenter);
        ++grid_row;
        for (int i = 0; i < kMaxMatchSlots; ++i) {
            const auto s = static_cast<size_t>(i);
            lbl_no_[s] = make_label(this, control_name("lbl_no", i), row_number_text(i, false));
            txt_home_[s] = make_text_box(control_name("txt_home", i));
            lbl_vs_[s] = make_label(this, control_name("lbl_vs", i), QStringLiteral("-"));
            txt_away_[s] = make_text_box(control_name("txt_away", i));
            grid->addWidget(lbl_no_[s], grid_row, 0, Qt::AlignRight);
            grid->addWidget(txt_home_[s], grid_row, 1);
            grid->addWidget(lbl_vs_[s], grid_row, 2);
            grid->addWidget(txt_away_[s], grid_row, 3);
            ++grid_row;
        }
        auto *options = new QHBoxLayout;
        auto *group = new QButtonGroup(this);
        opt_no_plus_ = new QRadioButton(QStringLiteral("３等なし"), this);
        opt_plus1_ = new QRadioButton(QStringLiteral("３等あり"), this);
        opt_plus2_ = new QRadioButton(QStringLiteral("６等あり"), this);
        opt_no_plus_->setObjectName(QStringLiteral("opt_no_plus"));
        opt_plus1_->setObjectName(QStringLiteral("opt_plus1"));
        opt_plus2_->setObjectName(QStringLiteral("opt_plus2"));
        for (QRadioButton *option : {opt_no_plus_, opt_plus1_, opt_plus2_}) {
            group->addButton(option);
            options->addWidget(option);
        }
        opt_no_plus_->setChecked(true);
        top->addLayout(options);
    } else {
        grid->addWidget(make_label(this, QString(), QStringLiteral("予想チーム")), grid_row, 1,
                        Qt::AlignHCenter);
        ++grid_row;
        for (int i = 0; i < kMaxTeamSlots; ++i) {
            const auto s = static_cast<size_t>(i);
            lbl_no_[s] = make_label(this, control_name("lbl_no", i), row_number_text(i, true));
            txt_name_[s] = make_text_box(control_name("txt_name", i));
            grid->addWidget(lbl_no_[s], grid_row, 0, Qt::AlignRight);
            grid->addWidget(txt_name_[s], grid_row, 1);
            ++grid_row;
            // A line after each pair of teams (one match) but the last.
            if (i % 2 == 1 && i / 2 < static_cast<int>(pair_lines_.size())) {
                pair_lines_[static_cast<size_t>(i / 2)] = make_separator(this);
                grid->addWidget(pair_lines_[static_cast<size_t>(i / 2)], grid_row, 0, 1, 2);
                ++grid_row;
            }
        }
    }

    top->addLayout(make_ok_cancel_row(this, cmd_ok_, cmd_cancel_));
    connect(cmd_ok_, &QPushButton::clicked, this, &FormName::cmd_ok_Click);
}

void FormName::set_kind(LotteryKind kind)
{
    kind_ = kind;
}

bool FormName::editing() const
{
    return state_.editing.has_value();
}

int FormName::row_count() const
{
    return slot_count(kind_);
}

void FormName::on_open()
{
    const bool match = family_ == Family::match;
    if (editing()) {
        const RoundEntry &entry = state_.current_entry();
        // An edited round keeps its kind whatever the caller passed.
        kind_ = entry.kind;
        txt_kai_->setText(entry.kai.text());
        if (match) {
            for (size_t s = 0; s < kMaxMatchSlots; ++s) {
                txt_home_[s]->setText(entry.matches[s].home.text());
                txt_away_[s]->setText(entry.matches[s].away.text());
            }
            const GradeOption option = grade_option_of(entry);
            if (kind_ == LotteryKind::toto || kind_ == LotteryKind::BIG) {
                QRadioButton *chosen = option == GradeOption::plus2   ? opt_plus2_
                                       : option == GradeOption::plus1 ? opt_plus1_
                                                                      : opt_no_plus_;
                chosen->setChecked(true);
            }
        } else {
            for (size_t s = 0; s < kMaxTeamSlots; ++s)
                txt_name_[s]->setText(entry.teams[s].team.text());
        }
    }

    lbl_kind_->setText(kind_display_name(kind_));
    const int rows = row_count();
    if (match) {
        for (int i = 0; i < kMaxMatchSlots; ++i) {
            const auto s = static_cast<size_t>(i);
            for (QWidget *w : {static_cast<QWidget *>(lbl_no_[s]), static_cast<QWidget *>(txt_home_[s]),
                               static_cast<QWidget *>(lbl_vs_[s]), static_cast<QWidget *>(txt_away_[s])})
                w->setHidden(i >= rows);
        }
        const std::array<QString, 3> captions = grade_option_captions(kind_);
        const std::array<QRadioButton *, 3> options = {opt_no_plus_, opt_plus1_, opt_plus2_};
        for (size_t o = 0; o < options.size(); ++o) {
            options[o]->setText(captions[o]);
            options[o]->setHidden(captions[o].isEmpty());
        }
    } else {
        for (int i = 0; i < kMaxTeamSlots; ++i) {
            lbl_no_[static_cast<size_t>(i)]->setHidden(i >= rows);
            txt_name_[static_cast<size_t>(i)]->setHidden(i >= rows);
        }
        for (size_t p = 0; p < pair_lines_.size(); ++p)
            pair_lines_[p]->setHidden(static_cast<int>(2 * p + 2) >= rows);
    }
    state_.dialog_result = DialogResult::cancelled;
    check_name();
}

void FormName::check_name()
{
    bool complete = !txt_kai_->text().isEmpty();
    for (int i = 0; complete && i < row_count(); ++i) {
        const auto s = static_cast<size_t>(i);
        if (family_ == Family::match)
            complete = !txt_home_[s]->text().isEmpty() && !txt_away_[s]->text().isEmpty();
        else
            complete = !txt_name_[s]->text().isEmpty();
    }
    cmd_ok_->setEnabled(complete);
}

GradeOption FormName::chosen_option() const
{
    if (family_ != Family::match)
        return GradeOption::none;
    if (opt_plus2_->isChecked())
        return GradeOption::plus2;
    return opt_plus1_->isChecked() ? GradeOption::plus1 : GradeOption::none;
}

RoundNames FormName::collect_names() const
{
    const auto book_text = [](const LimitedTextBox *box) { return BookText(shift_jis::encode(box->text())); };
    RoundNames names;
    names.kai = book_text(txt_kai_);
    if (family_ == Family::match) {
        for (size_t s = 0; s < kMaxMatchSlots; ++s) {
            names.home[s] = book_text(txt_home_[s]);
            names.away[s] = book_text(txt_away_[s]);
        }
    } else {
        for (size_t s = 0; s < kMaxTeamSlots; ++s)
            names.teams[s] = book_text(txt_name_[s]);
    }
    return names;
}

void FormName::cmd_ok_Click()
{
    if (!cmd_ok_->isEnabled())
        return;
    const RoundEntry round = editing()
                                 ? renamed_round(state_.current_entry(), collect_names(), chosen_option())
                                 : new_round(kind_, collect_names(), chosen_option());
    if (const Outcome stored = commit_(round); !stored.ok) {
        ui_.message(this, stored.message, program_title(), UiServices::Icon::critical);
        return;
    }
    state_.dialog_result = DialogResult::ok;
    accept();
}
