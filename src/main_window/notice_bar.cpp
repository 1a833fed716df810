#include "main_window/notice_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

NoticeBar::NoticeBar(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("notice_bar"));
    setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(6, 2, 2, 2);
    lbl_notice_ = new QLabel(this);
    lbl_notice_->setObjectName(QStringLiteral("lbl_notice"));
    lbl_notice_->setWordWrap(true);
    lbl_notice_->setForegroundRole(QPalette::ToolTipText);
    cmd_notice_close_ = new QToolButton(this);
    cmd_notice_close_->setObjectName(QStringLiteral("cmd_notice_close"));
    cmd_notice_close_->setText(QStringLiteral("×"));
    cmd_notice_close_->setToolTip(QStringLiteral("閉じる"));
    cmd_notice_close_->setAutoRaise(true);
    row->addWidget(lbl_notice_, 1);
    row->addWidget(cmd_notice_close_);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &QWidget::hide);
    connect(cmd_notice_close_, &QToolButton::clicked, this, [this] {
        timer_->stop();
        hide();
    });
    hide();
}

void NoticeBar::show_notice(const QString &text, int ms)
{
    lbl_notice_->setText(text);
    show();
    if (ms > 0)
        timer_->start(ms);
    else
        timer_->stop();
}

QString NoticeBar::text() const
{
    return isVisible() ? lbl_notice_->text() : QString();
}
