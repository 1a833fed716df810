#pragma once

#include <QString>
#include <QStringList>

// The book named on the command line: the arguments (program name excluded) joined by
// single spaces with every double quote removed, so a quoted path with spaces and a path
// the shell split at its spaces both come back whole. "" when there is none.
QString command_line_path(const QStringList &arguments);
