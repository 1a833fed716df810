#pragma once

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QString>

// Small builders shared by the entry dialogs.
namespace entry_ui {

// The name of a control of a control array: "txt_home" and 3 give "txt_home_3".
QString control_name(const char *array, int index);

QLabel *make_label(QWidget *parent, const QString &name, const QString &text);

// "1." (or " 1." when padded to two places) for row 0.
QString row_number_text(int row, bool padded);

// A thin divider line between groups of rows.
QFrame *make_separator(QWidget *parent);

// The OK button (starts disabled, default button) and the cancel button.
QPushButton *make_ok_button(QWidget *parent);
QPushButton *make_cancel_button(QWidget *parent);

// The program's display name, the title of its message boxes.
QString program_title();

} // namespace entry_ui
