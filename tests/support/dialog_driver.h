#pragma once

// Drives the entry dialogs the way a user does: typing, clicking, pasting.

#include "support/fake_ui_services.h"
#include "support/qt_printers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

// The control `name` of a dialog; fails the test when it is missing.
template <typename T>
T *control(QWidget *dialog, const QString &name)
{
    T *w = dialog->findChild<T *>(name);
    EXPECT_NE(w, nullptr) << "no control " << name.toStdString();
    return w;
}

template <typename T>
T *control(QWidget *dialog, const char *name)
{
    return control<T>(dialog, QString::fromLatin1(name));
}

template <typename T>
T *control(QWidget *dialog, const char *array, int index)
{
    return control<T>(dialog, QString::fromLatin1(array) + u'_' + QString::number(index));
}

// Types text key by key, as a keyboard without an input method does.
inline void type_text(QWidget *box, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &release);
    }
}

inline void type_text(QWidget *box, const char *utf8)
{
    type_text(box, QString::fromUtf8(utf8));
}

// Sets a box's text as the user would: select all, then type.
inline void retype(QLineEdit *box, const QString &text)
{
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        type_text(box, text);
}

// Clicks a button; option buttons and check boxes on their indicator at the left.
inline void click(QAbstractButton *button)
{
    if (button->inherits("QPushButton"))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(6, button->height() / 2));
}

inline QString u8(const char *utf8)
{
    return QString::fromUtf8(utf8);
}
