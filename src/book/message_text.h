#pragma once

#include <QString>
#include <QStringView>

// A text the user typed or a file held, made safe to quote in a message: control characters
// (a NUL, a line break in a file name) are written as \0, \n, \t, \r or \xNN.
QString escape_controls(QStringView text);

// A text made fit to stand in a proposed file name: blanks, control characters and the
// characters file systems or their users trip over (/ \ : * ? " < > |) are left out.
QString file_name_part(const QString &text);

// A round as a message names it: a bare number, half- or full-width ("1612", "１２３"), becomes
// "第1612回"; a label that writes 第 or 回 around a number itself is completed, never wrapped
// again ("1612回", "第1612" and "第1612回" all give "第1612回"); any other label is shown as
// written.
QString kai_caption(const QString &kai);
// Whether the headings' "回" after the label belongs there: after a number or "第" and a
// number, not after a label that ends in 回 already or is no number.
bool kai_takes_round_mark(const QString &kai);
