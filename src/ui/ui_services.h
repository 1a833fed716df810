#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The program's display name: the title of its message boxes and of the window.
inline QString program_title()
{
    return QStringLiteral("ｙｏｒｉｍｏ");
}

// Everything modal or noisy the program does to the user goes through here, so tests
// can see each message (text, icon, title) and answer it.
class UiServices {
public:
    enum class Icon { none, information, warning, critical, question };
    // yes_no_default_no: for questions whose yes destroys something, so Enter answers no.
    enum class Buttons { ok, yes_no, yes_no_cancel, yes_no_default_no };
    enum class Answer { ok, yes, no, cancel };

    virtual ~UiServices() = default;

    // `detail` is shown beneath the text, when given.
    virtual Answer message(QWidget *parent, const QString &text, const QString &title, Icon icon,
                           Buttons buttons = Buttons::ok, const QString &detail = QString()) = 0;
    // A question with buttons of its own, `choices` in order; the one chosen, or
    // `default_choice` (also Enter's) when the box is closed. Esc closes it.
    virtual int choose(QWidget *parent, const QString &text, const QString &title, Icon icon,
                       const QStringList &choices, int default_choice, const QString &detail = QString()) = 0;
    // File dialogs: the chosen path, or "" when cancelled. `filter` uses Qt's syntax; the
    // open dialog starts in `folder` (the system's choice when ""); the save dialog starts at
    // `proposed` and tells which of its filters was chosen through `selected_filter` (may be null).
    virtual QString open_file_name(QWidget *parent, const QString &filter, const QString &folder) = 0;
    virtual QString save_file_name(QWidget *parent, const QString &proposed, const QString &filter,
                                   QString *selected_filter) = 0;
    virtual void beep() = 0;
    virtual QString clipboard_text() = 0;
};

// "削除していいですか？" with what the deletion takes beneath it; いいえ is the default, so that a
// second Enter after a deletion takes nothing more. True for はい.
bool confirm_deletion(UiServices &ui, QWidget *parent, const QString &detail = QString());

// The real services: Qt's message boxes and file dialogs, the system beep and clipboard.
class QtUiServices : public UiServices {
public:
    Answer message(QWidget *parent, const QString &text, const QString &title, Icon icon,
                   Buttons buttons = Buttons::ok, const QString &detail = QString()) override;
    int choose(QWidget *parent, const QString &text, const QString &title, Icon icon,
               const QStringList &choices, int default_choice, const QString &detail = QString()) override;
    QString open_file_name(QWidget *parent, const QString &filter, const QString &folder) override;
    QString save_file_name(QWidget *parent, const QString &proposed, const QString &filter,
                           QString *selected_filter) override;
    void beep() override;
    QString clipboard_text() override;
};
