#include "entry/form_multi.h"

#include "entry/purchase_entry.h"
#include "ui/form_controls.h"
#include "ui/shared_state.h"
#include "ui/ui_services.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolTip>

using namespace form_ui;

namespace {
// Only toto among the match kinds with multis has more than five matches.
constexpr int kMatchMultiRows = 13;
} // namespace

FormMulti::FormMulti(SharedState &state, UiServices &ui, Commit<MultiPurchase> commit, QWidget *parent)
    : FormMulti(state, ui, std::move(commit), parent, Family::match)
{
}

FormMulti::FormMulti(SharedState &state, UiServices &ui, Commit<MultiPurchase> commit, QWidget *parent,
                     Family family)
    : FormPurchaseBase(state, ui, parent, family, "form_multi", "form_goal_multi", kMatchMultiRows, true),
      commit_(std::move(commit))
{
    setWindowTitle(QStringLiteral("マルチ購入"));
    const QStringList headings =
        family == Family::match
            ? QStringList{QStringLiteral("勝"), QStringLiteral("分"), QStringLiteral("負")}
            : QStringList{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    add_row_buttons(headings, [this](int row) { return make_row(row); });

    QBoxLayout *row = extras();
    const auto counter = [&](const QString &caption, const char *name, const QString &initial) {
        row->addWidget(make_label(this, QString(), caption));
        QLabel *label = make_label(this, QString::fromLatin1(name), initial);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        row->addWidget(label);
        row->addWidget(make_label(this, QString(), QStringLiteral("口")));
        row->addSpacing(8);
        return label;
    };
    lbl_double_ = counter(QStringLiteral("ダブル"), "lbl_double", QStringLiteral("0"));
    lbl_triple_ = counter(QStringLiteral("トリプル"), "lbl_triple", QStringLiteral("0"));
    lbl_total_ = counter(QStringLiteral("合計"), "lbl_total", QStringLiteral("1"));
    row->addStretch();
    cmd_clear_ = new QPushButton(QStringLiteral("クリア"), this);
    cmd_clear_->setObjectName(QStringLiteral("cmd_clear"));
    row->addWidget(cmd_clear_);

    connect(cmd_clear_, &QPushButton::clicked, this, &FormMulti::cmd_clear_Click);
    connect(cmd_ok_, &QPushButton::clicked, this, &FormMulti::cmd_ok_Click);
}

QList<QAbstractButton *> FormMulti::make_row(int row)
{
    const auto s = static_cast<size_t>(row);
    const auto box = [&](std::array<QCheckBox *, kMaxSlots> &array, const char *name) {
        array[s] = new QCheckBox(this);
        array[s]->setObjectName(control_name(name, row));
        return array[s];
    };
    // Left to right in the order of the marks in memory: home win, draw, away win; or 0..3 goals.
    QList<QAbstractButton *> boxes;
    if (family_ == Family::match)
        boxes = {box(chk_win_, "chk_win"), box(chk_draw_, "chk_draw"), box(chk_lose_, "chk_lose")};
    else
        boxes = {box(chk_0ten_, "chk_0ten"), box(chk_1ten_, "chk_1ten"), box(chk_2ten_, "chk_2ten"),
                 box(chk_3ten_, "chk_3ten")};
    for (int mark = 0; mark < boxes.size(); ++mark)
        connect(boxes[mark], &QAbstractButton::toggled, this,
                [this, row, mark](bool checked) { mark_changed(row, mark, checked); });
    return boxes;
}

void FormMulti::load_rows()
{
    work_ = MultiPurchase{};
    if (const std::optional<int> index = edited()) {
        const MultiPurchase &stored = state_.book().multi_pool(kind())[static_cast<size_t>(*index)];
        // The stored marks are shown as they are, even beyond today's limits (a book file
        // may hold them); the user can then only take marks away until they fit.
        for (int i = 0; i < row_count(); ++i) {
            const auto s = static_cast<size_t>(i);
            const QList<QAbstractButton *> &boxes = row_buttons_[s];
            for (qsizetype m = 0; m < boxes.size(); ++m) {
                const bool marked = stored.marks[s][static_cast<size_t>(m)];
                work_.marks[s][static_cast<size_t>(m)] = marked;
                const QSignalBlocker quiet(boxes[m]);
                boxes[m]->setChecked(marked);
            }
        }
    }
    get_multi_num();
    show_counters();
}

void FormMulti::get_multi_num()
{
    count_multi(work_, kind());
    cmd_ok_->setEnabled(work_.marked == row_count());
}

void FormMulti::show_counters()
{
    lbl_total_->setText(QString::number(work_.combos));
    lbl_double_->setText(QString::number(work_.doubles));
    lbl_triple_->setText(QString::number(work_.triples));
}

void FormMulti::mark_changed(int row, int mark, bool checked)
{
    work_.marks[static_cast<size_t>(row)][static_cast<size_t>(mark)] = checked;
    get_multi_num();
    const QString refused = checked ? multi_limit_reason(work_, kind()) : QString();
    if (!refused.isEmpty()) {
        // Unchecking runs this handler again, which restores the counters of before.
        QAbstractButton *box = row_buttons_[static_cast<size_t>(row)][mark];
        box->setChecked(false);
        ui_.beep();
        QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), refused, box);
        return;
    }
    show_counters();
}

void FormMulti::cmd_clear_Click()
{
    for (const QList<QAbstractButton *> &boxes : row_buttons_) {
        for (QAbstractButton *box : boxes)
            box->setChecked(false);
    }
}

void FormMulti::cmd_ok_Click()
{
    if (!cmd_ok_->isEnabled())
        return;
    const Outcome stored = commit_(marked_multi(work_, kind()));
    if (!stored.ok) {
        show_refusal(stored);
        return;
    }
    finish_ok();
}
