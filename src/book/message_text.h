#pragma once

#include <QString>
#include <QStringView>

// A text the user typed or a file held, made safe to quote in a message: control characters
// (a NUL, a line break in a file name) are written as \0, \n, \t, \r or \xNN.
QString escape_controls(QStringView text);
