#include "entry/form_text_box.h"

#include "book/book_text.h"
#include "entry/text_limits.h"
#include "ui/ui_services.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QToolTip>

LimitedTextBox::LimitedTextBox(UiServices &ui, QWidget *parent)
    : QLineEdit(parent), ui_(ui), char_limit_(kMaxTextBytes)
{
    setToolTip(text_limit_hint());
    connect(this, &QLineEdit::textChanged, this, &LimitedTextBox::text_changed);
}

void LimitedTextBox::refused(bool at_limit)
{
    // Say why nothing (or not everything) arrived, where the user is looking; a character
    // Shift-JIS cannot store only beeps.
    ui_.beep();
    if (at_limit)
        QToolTip::showText(mapToGlobal(QPoint(0, height())), text_limit_hint(), this);
}

// Runs a handler of the line edit and checks the text once it has returned, so the line
// edit is never changed under its own feet.
template <typename Fn>
void LimitedTextBox::guarded(Fn fn)
{
    const bool outer = in_event_;
    in_event_ = true;
    fn();
    in_event_ = outer;
    if (!outer)
        enforce_limits(char_limit_);
}

void LimitedTextBox::text_changed()
{
    // Text set by the program is only held to the byte limit; a paste limit left from
    // the last click is the user's, not the program's.
    if (!in_event_ && !fixing_)
        enforce_limits(kMaxTextBytes);
}

void LimitedTextBox::enforce_limits(int char_limit)
{
    const QString now = text();
    if (now == accepted_)
        return;
    const FittedText fitted = fit_text_change(accepted_, now, char_limit, kMaxTextBytes);
    accepted_ = fitted.text;
    if (!fitted.cut)
        return;
    fixing_ = true;
    setText(fitted.text);
    setCursorPosition(fitted.cursor);
    fixing_ = false;
    // Cut at the limit, unless only unstorable characters were dropped.
    refused(text_bytes(fitted.text) > kMaxTextBytes - 2 || fitted.text.size() >= char_limit);
}

void LimitedTextBox::set_paste_limit()
{
    const QString selected = selectedText();
    char_limit_ = paste_char_limit(text(), hasSelectedText() ? selectionStart() : 0,
                                   static_cast<int>(selected.size()), ui_.clipboard_text(), kMaxTextBytes);
}

void LimitedTextBox::paste_clipboard()
{
    if (isReadOnly())
        return;
    const QString clip = ui_.clipboard_text();
    guarded([&] { insert(clip); });
}

void LimitedTextBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    selectAll();
}

void LimitedTextBox::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        set_paste_limit();
        paste_clipboard();
        event->accept();
        return;
    }
    char_limit_ = kMaxTextBytes;
    const QString typed = event->text();
    const bool inserts = !typed.isEmpty() && typed[0].isPrint() &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
    if (inserts || event->key() == Qt::Key_Backspace) {
        const int key = event->key() == Qt::Key_Backspace ? kBackspaceKey : shift_jis_key_code(typed);
        const QString selected = selectedText();
        if (!filter_key_bytes(key, text(), selected, static_cast<int>(selected.size()), kMaxTextBytes)) {
            refused(key != kNoShiftJisKey);
            event->accept();
            return;
        }
    }
    guarded([&] { QLineEdit::keyPressEvent(event); });
}

void LimitedTextBox::mousePressEvent(QMouseEvent *event)
{
    set_paste_limit();
    guarded([&] { QLineEdit::mousePressEvent(event); });
}

void LimitedTextBox::mouseReleaseEvent(QMouseEvent *event)
{
    guarded([&] { QLineEdit::mouseReleaseEvent(event); });
}

void LimitedTextBox::inputMethodEvent(QInputMethodEvent *event)
{
    // A committed string is typing, not pasting: only the byte limit applies.
    if (!event->commitString().isEmpty())
        char_limit_ = kMaxTextBytes;
    guarded([&] { QLineEdit::inputMethodEvent(event); });
}

void LimitedTextBox::dropEvent(QDropEvent *event)
{
    guarded([&] { QLineEdit::dropEvent(event); });
}

namespace {

// The standard menu's paste item. Qt gives its items no names, but every item shows its
// shortcut after a tab, and paste's is the platform's paste key.
QAction *paste_action(QMenu *menu)
{
    const QString shortcut = u'\t' + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    for (QAction *action : menu->actions())
        if (action->objectName() == QLatin1String("edit-paste") || action->text().endsWith(shortcut))
            return action;
    return nullptr;
}

} // namespace

void LimitedTextBox::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    // The menu's paste goes through the same seam and limits as Ctrl+V.
    if (QAction *paste = paste_action(menu)) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        paste->setEnabled(!isReadOnly() && !ui_.clipboard_text().isEmpty());
        connect(paste, &QAction::triggered, this, &LimitedTextBox::paste_clipboard);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}
