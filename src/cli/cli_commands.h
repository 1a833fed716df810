#pragma once

#include "book/ticket_book.h"

#include <QByteArray>
#include <QStringList>
#include <cstdio>
#include <optional>

// One function per yorimo-cli command. `args` are the command's own arguments (after its
// name); the function prints its output and returns the exit status, or kUsageFault when
// the arguments do not fit the command (the tool then prints its usage line; status 2).
inline constexpr int kUsageFault = -2;
int cli_list(const QStringList &args);
int cli_dump(const QStringList &args);
int cli_export_csv(const QStringList &args);
int cli_import_csv(const QStringList &args);
int cli_download(const QStringList &args);
int cli_stats(const QStringList &args);
int cli_add(const QStringList &args);
int cli_tickets(const QStringList &args);
int cli_update(const QStringList &args);
int cli_live(const QStringList &args);

// Writes bytes as they are (UTF-8) to stdout or stderr.
void print_utf8(FILE *stream, const QByteArray &text);

// A text as `list` prints it in a TAB-separated field (backslash, TAB, CR, LF escaped).
QString escaped_field(const QString &text);

// What `list` prints for a graded book.
QByteArray list_text(const TicketBook &book);

// Reads and grades a book; on failure prints the reader's message on stderr.
std::optional<TicketBook> open_book(const QString &path);
