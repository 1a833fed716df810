#pragma once

#include <QLineEdit>

class UiServices;

// A text box for a round label or team name: it never holds more than 10 Shift-JIS bytes
// nor a character that Shift-JIS cannot store, whichever way the text arrives. Its tooltip
// names the limit, and cutting what the user typed or pasted shows it again.
class LimitedTextBox : public QLineEdit {
    Q_OBJECT

public:
    LimitedTextBox(UiServices &ui, QWidget *parent = nullptr);

    // Pastes the clipboard text over the selection, cut to the limits.
    void paste_clipboard();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void text_changed();
    // A keystroke or paste was cut: a beep, and the limit shown at the box when it was the cause.
    void refused(bool at_limit);
    void enforce_limits(int char_limit);
    void set_paste_limit();
    template <typename Fn>
    void guarded(Fn fn);

    UiServices &ui_;
    QString accepted_; // the last text within the limits
    int char_limit_;   // the maximum length in characters for the next paste
    bool in_event_ = false;
    bool fixing_ = false;
};
