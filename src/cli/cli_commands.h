#pragma once

#include <QByteArray>
#include <QStringList>
#include <cstdio>

// One function per yorimo-cli command. `args` are the command's own arguments (after its
// name); the function prints its output and returns the exit status. Usage faults: 2.
int cli_list(const QStringList &args);
int cli_dump(const QStringList &args);
int cli_stats(const QStringList &args);

// Writes bytes as they are (UTF-8) to stdout or stderr.
void print_utf8(FILE *stream, const QByteArray &text);
