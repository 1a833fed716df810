#include "ui/ui_services.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMessageBox>

UiServices::Answer QtUiServices::message(QWidget *parent, const QString &text, const QString &title,
                                         Icon icon, Buttons buttons, const QString &detail)
{
    QMessageBox box(parent);
    box.setText(text);
    box.setInformativeText(detail);
    box.setWindowTitle(title);
    switch (icon) {
    case Icon::none: box.setIcon(QMessageBox::NoIcon); break;
    case Icon::information: box.setIcon(QMessageBox::Information); break;
    case Icon::warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::critical: box.setIcon(QMessageBox::Critical); break;
    case Icon::question: box.setIcon(QMessageBox::Question); break;
    }
    switch (buttons) {
    case Buttons::ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::yes_no: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::yes_no_default_no:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    case Buttons::yes_no_cancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::yes;
    case QMessageBox::No: return Answer::no;
    case QMessageBox::Cancel: return Answer::cancel;
    default: return buttons == Buttons::ok ? Answer::ok : Answer::cancel;
    }
}

QString QtUiServices::open_file_name(QWidget *parent, const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

QString QtUiServices::save_file_name(QWidget *parent, const QString &proposed, const QString &filter,
                                     QString *selected_filter)
{
    return QFileDialog::getSaveFileName(parent, QString(), proposed, filter, selected_filter);
}

void QtUiServices::beep()
{
    QApplication::beep();
}

QString QtUiServices::clipboard_text()
{
    return QApplication::clipboard()->text();
}
