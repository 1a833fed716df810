#pragma once

#include <QPlainTextEdit>

// A plain text box with the number of each line in a margin on its left, so that the
// errors that name a line ("3行目: …") can be found at a glance.
class LineNumberedEdit : public QPlainTextEdit {
public:
    explicit LineNumberedEdit(QWidget *parent = nullptr);

    // The margin's width: the digits of the last line's number and a little room.
    int margin_width() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    class Margin;
    friend class Margin;

    void paint_margin(QPaintEvent *event);
    void fit_margin();

    QWidget *margin_;
};
