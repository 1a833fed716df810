#pragma once

#include <QFrame>

class QLabel;
class QTimer;
class QToolButton;

// A line above the main list that tells what happened without asking anything ("他の
// プログラムが「…」を更新したので読み込み直しました。"): it closes itself after a while, or with ×.
class NoticeBar : public QFrame {
    Q_OBJECT

public:
    explicit NoticeBar(QWidget *parent = nullptr);

    // Shows `text`; it goes after `ms` milliseconds (never when 0).
    void show_notice(const QString &text, int ms = 10'000);
    QString text() const;

private:
    QLabel *lbl_notice_ = nullptr;
    QToolButton *cmd_notice_close_ = nullptr;
    QTimer *timer_ = nullptr;
};
