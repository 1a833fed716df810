#pragma once

#include "ui/ui_services.h"

// Message boxes and file dialogs answered at once for the benchmarks: OK, yes, the default
// choice, no file.
class YesUi : public UiServices {
public:
    Answer message(QWidget *, const QString &, const QString &, Icon, Buttons buttons,
                   const QString &) override
    {
        return buttons == Buttons::ok ? Answer::ok : Answer::yes;
    }
    int choose(QWidget *, const QString &, const QString &, Icon, const QStringList &, int default_choice,
               const QString &) override
    {
        return default_choice;
    }
    QString open_file_name(QWidget *, const QString &, const QString &) override { return QString(); }
    QString save_file_name(QWidget *, const QString &, const QString &, QString *) override
    {
        return QString();
    }
    void beep() override {}
    QString clipboard_text() override { return QString(); }
};
