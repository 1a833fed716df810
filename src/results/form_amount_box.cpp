#include "results/form_amount_box.h"

#include "results/result_entry.h"
#include "ui/ui_services.h"

#include <QKeyEvent>

AmountBox::AmountBox(UiServices &ui, QWidget *parent) : QLineEdit(parent), ui_(ui)
{
    setAlignment(Qt::AlignRight);
    // Pasting and dropping bypass the key filter, so only the filtered Ctrl+V is offered.
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QLineEdit::textChanged, this, &AmountBox::normalize);
    setText(QStringLiteral("0"));
}

void AmountBox::set_max(int64_t max)
{
    max_ = max;
    normalize();
}

int64_t AmountBox::amount() const
{
    return read_amount(text());
}

void AmountBox::normalize()
{
    if (normalizing_)
        return;
    normalizing_ = true;
    const QString shown = normalized_amount_text(text(), max_);
    if (shown != text())
        setText(shown);
    end(false);
    normalizing_ = false;
}

void AmountBox::type_digit(const QString &digit)
{
    if (!digit_accepted(amount(), digit.at(0).unicode() - '0', max_)) {
        ui_.beep();
        return;
    }
    if (!hasSelectedText())
        end(false);
    insert(digit);
}

void AmountBox::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Undo)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        const QString pasted = ui_.clipboard_text();
        if (is_numeric_text(pasted))
            insert(pasted.trimmed()); // the change rule limits it to the maximum
        else
            ui_.beep();
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        if (mods & Qt::ShiftModifier)
            selectAll();
        else
            cursorForward(false);
        return;
    case Qt::Key_Delete: setText(QStringLiteral("0")); return;
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab: QLineEdit::keyPressEvent(event); return;
    default: break;
    }
    const QString typed = event->text();
    if (typed.isEmpty()) { // keys without a character: caret movement and the like
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (typed.size() == 1 && typed.at(0) >= QLatin1Char('0') && typed.at(0) <= QLatin1Char('9') &&
        !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        type_digit(typed);
        return;
    }
    ui_.beep();
}

void AmountBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    selectAll();
}

void AmountBox::mouseReleaseEvent(QMouseEvent *event)
{
    QLineEdit::mouseReleaseEvent(event);
    if (hasSelectedText())
        selectAll();
    else
        end(false);
}
