#include "platform/command_line.h"

QString command_line_path(const QStringList &arguments)
{
    QString path = arguments.join(QLatin1Char(' '));
    path.remove(QLatin1Char('"'));
    return path;
}
