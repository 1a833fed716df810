#include "entry/form_single.h"

#include "entry/purchase_entry.h"
#include "ui/form_controls.h"
#include "ui/shared_state.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>

using namespace form_ui;

FormSingle::FormSingle(SharedState &state, UiServices &ui, Commit<SinglePurchase> commit, QWidget *parent)
    : FormSingle(state, ui, std::move(commit), parent, Family::match)
{
}

FormSingle::FormSingle(SharedState &state, UiServices &ui, Commit<SinglePurchase> commit, QWidget *parent,
                       Family family)
    : FormPurchaseBase(state, ui, parent, family, "form_single", "form_goal_single", kMaxMatchSlots, false),
      commit_(std::move(commit))
{
    setWindowTitle(QStringLiteral("シングル購入"));
    if (family == Family::match) {
        pick_codes_.assign(kResultOfMark.begin(), kResultOfMark.end());
        add_row_buttons({QStringLiteral("勝"), QStringLiteral("分"), QStringLiteral("負")},
                        [this](int row) { return make_row(row); });
    } else {
        pick_codes_ = {0, 1, 2, 3};
        add_row_buttons({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
                        [this](int row) { return make_row(row); });
    }
    connect(cmd_ok_, &QPushButton::clicked, this, &FormSingle::cmd_ok_Click);
}

QList<QAbstractButton *> FormSingle::make_row(int row)
{
    const auto s = static_cast<size_t>(row);
    const auto option = [&](std::array<QRadioButton *, kMaxSlots> &array, const char *name) {
        array[s] = new QRadioButton(this);
        array[s]->setObjectName(control_name(name, row));
        return array[s];
    };
    QList<QAbstractButton *> buttons;
    if (family_ == Family::match)
        buttons = {option(opt_win_, "opt_win"), option(opt_draw_, "opt_draw"), option(opt_lose_, "opt_lose")};
    else
        buttons = {option(opt_0ten_, "opt_0ten"), option(opt_1ten_, "opt_1ten"),
                   option(opt_2ten_, "opt_2ten"), option(opt_3ten_, "opt_3ten")};
    auto *group = new QButtonGroup(this);
    for (QAbstractButton *button : buttons) {
        group->addButton(button);
        connect(button, &QAbstractButton::toggled, this, [this](bool on) {
            if (on)
                check();
        });
    }
    return buttons;
}

void FormSingle::load_rows()
{
    cmd_ok_->setEnabled(false);
    const std::optional<int> index = edited();
    if (!index)
        return;
    const SinglePurchase &ticket = state_.book().single_pool(kind())[static_cast<size_t>(*index)];
    for (int i = 0; i < row_count(); ++i) {
        const int pick = ticket.picks[static_cast<size_t>(i)];
        const QList<QAbstractButton *> &buttons = row_buttons_[static_cast<size_t>(i)];
        for (size_t b = 0; b < pick_codes_.size(); ++b) {
            if (pick_codes_[b] == pick)
                buttons[static_cast<qsizetype>(b)]->setChecked(true);
        }
    }
}

void FormSingle::check()
{
    int picked = 0;
    for (int i = 0; i < row_count(); ++i) {
        for (QAbstractButton *button : row_buttons_[static_cast<size_t>(i)]) {
            if (button->isChecked()) {
                ++picked;
                break;
            }
        }
    }
    // A pick can only move within its row, never be taken back: OK stays enabled.
    if (picked == row_count())
        cmd_ok_->setEnabled(true);
}

void FormSingle::cmd_ok_Click()
{
    if (!cmd_ok_->isEnabled())
        return;
    SinglePicks picks;
    picks.fill(kKeepPick);
    for (int i = 0; i < row_count(); ++i) {
        const QList<QAbstractButton *> &buttons = row_buttons_[static_cast<size_t>(i)];
        for (qsizetype b = 0; b < buttons.size(); ++b) {
            if (buttons[b]->isChecked())
                picks[static_cast<size_t>(i)] = pick_codes_[static_cast<size_t>(b)];
        }
    }
    const Outcome stored = commit_(picked_single(state_.book(), state_.current, edited(), picks));
    if (!stored.ok) {
        show_refusal(stored);
        return;
    }
    finish_ok();
}
