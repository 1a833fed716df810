#include "ui/line_numbered_edit.h"

#include <QPainter>
#include <QTextBlock>

class LineNumberedEdit::Margin : public QWidget {
public:
    explicit Margin(LineNumberedEdit *edit) : QWidget(edit), edit_(edit) {}
    QSize sizeHint() const override { return {edit_->margin_width(), 0}; }

protected:
    void paintEvent(QPaintEvent *event) override { edit_->paint_margin(event); }

private:
    LineNumberedEdit *edit_;
};

LineNumberedEdit::LineNumberedEdit(QWidget *parent) : QPlainTextEdit(parent), margin_(new Margin(this))
{
    margin_->setObjectName(QStringLiteral("line_numbers"));
    connect(this, &QPlainTextEdit::blockCountChanged, this, [this] { fit_margin(); });
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect &rect, int dy) {
        if (dy != 0)
            margin_->scroll(0, dy);
        else
            margin_->update(0, rect.y(), margin_->width(), rect.height());
    });
    fit_margin();
}

int LineNumberedEdit::margin_width() const
{
    const int digits = static_cast<int>(QString::number(std::max(1, blockCount())).size());
    return fontMetrics().horizontalAdvance(u'9') * std::max(digits, 2) + 8;
}

void LineNumberedEdit::fit_margin()
{
    setViewportMargins(margin_width(), 0, 0, 0);
}

void LineNumberedEdit::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    const QRect inside = contentsRect();
    margin_->setGeometry(inside.left(), inside.top(), margin_width(), inside.height());
}

void LineNumberedEdit::paint_margin(QPaintEvent *event)
{
    QPainter painter(margin_);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.setFont(font());
    // Only the lines in view are painted: a paste of thousands of lines costs nothing here.
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int line_height = fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        const int bottom = top + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= event->rect().top())
            painter.drawText(0, top, margin_->width() - 4, line_height, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        block = block.next();
        top = bottom;
    }
}
