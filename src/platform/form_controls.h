#pragma once

#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QString>

// Small builders shared by the dialogs.
namespace form_ui {

// The name of a control of a control array: "txt_home" and 3 give "txt_home_3".
QString control_name(const char *array, int index);

// Gives a control its name (the name tests and the manual use) and returns it.
template <typename W>
W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

// Names a control of a control array, e.g. "opt_win" and 3 give "opt_win_3".
template <typename W>
W *named(W *widget, const char *array, int index)
{
    widget->setObjectName(control_name(array, index));
    return widget;
}

QLabel *make_label(QWidget *parent, const QString &name, const QString &text);

// "1." (or " 1." when padded to two places) for row 0.
QString row_number_text(int row, bool padded);

// A thin divider line between groups of rows.
QFrame *make_separator(QWidget *parent);

// The OK button (starts disabled, default button) and the cancel button.
QPushButton *make_ok_button(QWidget *parent);
QPushButton *make_cancel_button(QWidget *parent);
// The row of OK and Cancel at the foot of a dialog; Cancel closes the dialog.
QHBoxLayout *make_ok_cancel_row(QDialog *dialog, QPushButton *&ok, QPushButton *&cancel);

// A dialog that fills itself from the book once, when it is first shown; tests that
// drive it without showing it call load() themselves.
class OpeningDialog : public QDialog {
public:
    using QDialog::QDialog;

    void load()
    {
        loaded_ = true;
        on_open();
    }

protected:
    virtual void on_open() = 0;

    void showEvent(QShowEvent *event) override
    {
        if (!loaded_)
            load();
        QDialog::showEvent(event);
    }

private:
    bool loaded_ = false;
};

} // namespace form_ui
