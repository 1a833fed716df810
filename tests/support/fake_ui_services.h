#pragma once

#include "ui/ui_services.h"

#include <QStringList>
#include <deque>
#include <gtest/gtest.h>
#include <vector>

// Records every message, file dialog and beep, and answers from scripted queues. Every box
// the program shows is titled with its name as the window shows it and carries an icon: a
// box that is not fails the test that shows it.
class FakeUiServices : public UiServices {
public:
    struct Shown {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;
        QString detail;
        QStringList choices; // a question with buttons of its own
        int default_choice = -1;
    };

    std::vector<Shown> messages;
    std::deque<Answer> answers;     // next answers to message boxes; default: ok / yes
    std::deque<int> choices;        // next answers to questions of their own buttons; default: the default
    std::deque<QString> open_names; // next open-dialog results; default: cancelled
    std::deque<QString> save_names; // next save-dialog results; default: cancelled
    std::deque<int> save_filters;   // filter chosen in the next save dialogs; default: the first
    QStringList proposed_names;     // names proposed to the save dialog
    QStringList open_folders;       // folders the open dialogs started in
    QString clipboard;
    int beeps = 0;
    int file_dialogs = 0;

    Answer message(QWidget *, const QString &text, const QString &title, Icon icon, Buttons buttons,
                   const QString &detail) override
    {
        expect_branded(text, title, icon);
        messages.push_back({text, title, icon, buttons, detail, {}, -1});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == Buttons::ok ? Answer::ok : Answer::yes;
    }

    int choose(QWidget *, const QString &text, const QString &title, Icon icon, const QStringList &buttons,
               int default_choice, const QString &detail) override
    {
        expect_branded(text, title, icon);
        messages.push_back({text, title, icon, Buttons::ok, detail, buttons, default_choice});
        if (choices.empty())
            return default_choice;
        const int chosen = choices.front();
        choices.pop_front();
        return chosen;
    }

    QString open_file_name(QWidget *, const QString &, const QString &folder) override
    {
        ++file_dialogs;
        open_folders << folder;
        return take(open_names);
    }

    QString save_file_name(QWidget *, const QString &proposed, const QString &filter,
                           QString *selected_filter) override
    {
        ++file_dialogs;
        proposed_names << proposed;
        int chosen = 0;
        if (!save_filters.empty()) {
            chosen = save_filters.front();
            save_filters.pop_front();
        }
        if (selected_filter)
            *selected_filter = filter.split(QStringLiteral(";;")).value(chosen);
        return take(save_names);
    }

    void beep() override { ++beeps; }
    QString clipboard_text() override { return clipboard; }

private:
    static void expect_branded(const QString &text, const QString &title, Icon icon)
    {
        EXPECT_EQ(title, program_title()) << text.toStdString();
        EXPECT_NE(icon, Icon::none) << text.toStdString();
    }

    static QString take(std::deque<QString> &queue)
    {
        if (queue.empty())
            return QString();
        QString s = queue.front();
        queue.pop_front();
        return s;
    }
};
