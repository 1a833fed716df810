#include "main_window/find_bar.h"

#include "ui/form_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

FindBar::FindBar(const std::vector<LotteryKind> &kinds, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("find_bar"));
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 0, 0, 0);
    row_ = new QHBoxLayout;
    second_row_ = new QHBoxLayout;
    rows->addLayout(row_);
    rows->addLayout(second_row_);
    QHBoxLayout *row = row_;

    auto *lbl_find = new QLabel(QStringLiteral("回・チーム(&K)"), this);
    txt_find_ = form_ui::named(new QLineEdit(this), QStringLiteral("txt_find"));
    txt_find_->setPlaceholderText(QStringLiteral("例: 1581、鹿島"));
    txt_find_->setClearButtonEnabled(true);
    txt_find_->setToolTip(QStringLiteral("回かチーム名にこの文字を含む開催回を表示します"
                                         "（全角・半角を区別しません）。Enter で一覧へ"));
    lbl_find->setBuddy(txt_find_);

    auto *lbl_kind = new QLabel(QStringLiteral("種別(&J)"), this);
    cmb_find_kind_ = form_ui::named(new QComboBox(this), QStringLiteral("cmb_find_kind"));
    cmb_find_kind_->addItem(QStringLiteral("すべて"), -1);
    for (const LotteryKind kind : kinds)
        cmb_find_kind_->addItem(kind_display_name(kind), kind_code(kind));
    lbl_kind->setBuddy(cmb_find_kind_);

    chk_find_open_ = form_ui::named(new QCheckBox(QStringLiteral("未確定・金額未定のみ"), this),
                                    QStringLiteral("chk_find_open"));
    chk_find_open_->setToolTip(QStringLiteral("結果がそろっていない回と、払戻金が未定の回だけを表示します"));
    chk_find_won_ =
        form_ui::named(new QCheckBox(QStringLiteral("当選した回のみ"), this), QStringLiteral("chk_find_won"));
    chk_find_won_->setToolTip(QStringLiteral(
        "結果がそろい、当選金額が 0 より多いか金額未定の回だけを表示します（払戻の回は除きます）"));

    cmd_find_close_ = form_ui::named(new QToolButton(this), QStringLiteral("cmd_find_close"));
    cmd_find_close_->setText(QStringLiteral("×"));
    cmd_find_close_->setAutoRaise(true);
    cmd_find_close_->setToolTip(QStringLiteral("検索を閉じて全ての開催回を表示します (Esc)"));

    row->addWidget(lbl_find);
    row->addWidget(txt_find_, 2);
    row->addSpacing(8);
    row->addWidget(lbl_kind);
    row->addWidget(cmb_find_kind_);
    row->addSpacing(8);
    // The check boxes go under the text in a narrow window, which leaves the text its room.
    checks_ = new QWidget(this);
    auto *boxes = new QHBoxLayout(checks_);
    boxes->setContentsMargins(0, 0, 0, 0);
    boxes->addWidget(chk_find_open_);
    boxes->addWidget(chk_find_won_);
    checks_at_ = row->count();
    row->addWidget(checks_);
    row->addStretch(1);
    row->addWidget(cmd_find_close_);
    second_row_->addStretch(1);

    connect(txt_find_, &QLineEdit::textChanged, this, &FindBar::filter_changed);
    connect(cmb_find_kind_, &QComboBox::currentIndexChanged, this, &FindBar::filter_changed);
    connect(chk_find_open_, &QCheckBox::toggled, this, &FindBar::filter_changed);
    connect(chk_find_won_, &QCheckBox::toggled, this, &FindBar::filter_changed);
    connect(txt_find_, &QLineEdit::returnPressed, this, &FindBar::go_to_rows);
    connect(cmd_find_close_, &QToolButton::clicked, this, &FindBar::close_requested);
}

void FindBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // One row while the text keeps room for a few words beside everything else.
    const int text_room =
        txt_find_->fontMetrics().horizontalAdvance(QStringLiteral("例: 1581、鹿島")) * 3 / 2;
    int one_row = text_room + checks_->sizeHint().width();
    for (int i = 0; i < row_->count(); ++i)
        if (QWidget *w = row_->itemAt(i)->widget(); w && w != txt_find_ && w != checks_)
            one_row += w->sizeHint().width() + row_->spacing();
    one_row += 2 * 8 + 2 * row_->spacing();
    const bool two_rows = width() < one_row;
    if (two_rows == (second_row_->indexOf(checks_) >= 0))
        return;
    if (two_rows) {
        row_->removeWidget(checks_);
        second_row_->insertWidget(0, checks_);
    } else {
        second_row_->removeWidget(checks_);
        row_->insertWidget(checks_at_, checks_);
    }
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    // Esc reaches the bar from whichever of its controls had it and did not use it; an open
    // list of kinds takes its own Esc and only closes.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Q_EMIT close_requested();
        return;
    }
    QWidget::keyPressEvent(event);
}

RoundFilter FindBar::filter() const
{
    const int code = cmb_find_kind_->currentData().toInt();
    return RoundFilter(txt_find_->text(),
                       is_valid_kind_code(code) ? std::optional(kind_from_code(code)) : std::nullopt,
                       chk_find_open_->isChecked(), chk_find_won_->isChecked());
}

void FindBar::open()
{
    show();
    txt_find_->setFocus(Qt::ShortcutFocusReason);
    txt_find_->selectAll();
}

void FindBar::forget()
{
    const QSignalBlocker quiet_text(txt_find_);
    const QSignalBlocker quiet_kind(cmb_find_kind_);
    const QSignalBlocker quiet_open(chk_find_open_);
    const QSignalBlocker quiet_won(chk_find_won_);
    txt_find_->clear();
    cmb_find_kind_->setCurrentIndex(0);
    chk_find_open_->setChecked(false);
    chk_find_won_->setChecked(false);
}
