#include "ui/ui_services.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <algorithm>

namespace {

// A message box wraps its informative text at a narrow width; Japanese text has no spaces, so a
// short reason ("3行目: …") would break in mid-word. Widen the label to its longest line, within
// reason, so a line of detail reads as one line.
void keep_detail_lines_whole(QMessageBox &box, const QString &detail)
{
    if (detail.isEmpty())
        return;
    auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"));
    if (!label)
        return;
    int widest = 0;
    for (const QString &line : detail.split(QLatin1Char('\n')))
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
    label->setMinimumWidth(std::min(widest + 8, 560));
}

} // namespace

UiServices::Answer QtUiServices::message(QWidget *parent, const QString &text, const QString &title,
                                         Icon icon, Buttons buttons, const QString &detail)
{
    QMessageBox box(parent);
    box.setText(text);
    box.setInformativeText(detail);
    box.setWindowTitle(title);
    keep_detail_lines_whole(box, detail);
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

QString QtUiServices::save_file_name_unconfirmed(QWidget *parent, const QString &proposed,
                                                 const QString &filter, QString *selected_filter)
{
    return QFileDialog::getSaveFileName(parent, QString(), proposed, filter, selected_filter,
                                        QFileDialog::DontConfirmOverwrite);
}

void QtUiServices::beep()
{
    QApplication::beep();
}

QString QtUiServices::clipboard_text()
{
    return QApplication::clipboard()->text();
}
