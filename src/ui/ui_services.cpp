#include "ui/ui_services.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace {

// A message box wraps its texts at a narrow width; Japanese text has no spaces, so a short
// question or reason ("3行目: …") would break in mid-word. Widen each label to its longest
// line, within reason, so a line reads as one line.
void keep_lines_whole(QMessageBox &box, const char *name, const QString &text)
{
    auto *label = box.findChild<QLabel *>(QLatin1String(name));
    if (text.isEmpty() || !label)
        return;
    int widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
    label->setMinimumWidth(std::min(widest + 8, 560));
}

void set_icon(QMessageBox &box, UiServices::Icon icon)
{
    switch (icon) {
    case UiServices::Icon::none: box.setIcon(QMessageBox::NoIcon); break;
    case UiServices::Icon::information: box.setIcon(QMessageBox::Information); break;
    case UiServices::Icon::warning: box.setIcon(QMessageBox::Warning); break;
    case UiServices::Icon::critical: box.setIcon(QMessageBox::Critical); break;
    case UiServices::Icon::question: box.setIcon(QMessageBox::Question); break;
    }
}

void fill(QMessageBox &box, const QString &text, const QString &title, UiServices::Icon icon,
          const QString &detail)
{
    box.setText(text);
    box.setInformativeText(detail);
    box.setWindowTitle(title);
    keep_lines_whole(box, "qt_msgbox_label", text);
    keep_lines_whole(box, "qt_msgbox_informativelabel", detail);
    set_icon(box, icon);
}

} // namespace

int QtUiServices::choose(QWidget *parent, const QString &text, const QString &title, Icon icon,
                         const QStringList &choices, int default_choice, const QString &detail)
{
    QMessageBox box(parent);
    fill(box, text, title, icon, detail);
    QList<QPushButton *> buttons;
    for (const QString &choice : choices)
        buttons << box.addButton(choice, QMessageBox::ActionRole);
    if (default_choice >= 0 && default_choice < buttons.size()) {
        box.setDefaultButton(buttons[default_choice]);
        box.setEscapeButton(buttons[default_choice]);
    }
    box.exec();
    const qsizetype chosen = buttons.indexOf(qobject_cast<QPushButton *>(box.clickedButton()));
    return chosen >= 0 ? static_cast<int>(chosen) : default_choice;
}

UiServices::Answer QtUiServices::message(QWidget *parent, const QString &text, const QString &title,
                                         Icon icon, Buttons buttons, const QString &detail)
{
    QMessageBox box(parent);
    fill(box, text, title, icon, detail);
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

bool confirm_deletion(UiServices &ui, QWidget *parent, const QString &detail)
{
    return ui.message(parent, QStringLiteral("削除していいですか？"), program_title(),
                      UiServices::Icon::question, UiServices::Buttons::yes_no_default_no,
                      detail) == UiServices::Answer::yes;
}

QString QtUiServices::open_file_name(QWidget *parent, const QString &filter, const QString &folder)
{
    return QFileDialog::getOpenFileName(parent, QString(), folder, filter);
}

QString QtUiServices::save_file_name(QWidget *parent, const QString &proposed, const QString &filter,
                                     QString *selected_filter)
{
    // The program asks about an existing file itself (ask_save_name), with いいえ as its default.
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
