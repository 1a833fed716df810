#pragma once

#include "book/ticket_book.h"

#include <QIODevice>
#include <QString>

// The format version this program writes (1.70), and the oldest program that reads it.
inline constexpr int kFormatVersion = 170;
inline constexpr int kRequiredVersion = 170;

struct BookReadResult {
    Outcome outcome;
    TicketBook book;
};

// Loads a book file of any format version from 1.00 to 1.70. The winning counters are not
// stored; the caller grades the book (grade_book). On failure the outcome carries the
// user's message and the book is to be discarded.
BookReadResult read_data(const QString &path);

// Parses the bytes of a book file; `path` is only used in the messages.
BookReadResult parse_book(const QByteArray &data, const QString &path);

// The bytes of the book in the current format: chains are followed, so only purchases
// reachable from their entries are stored, and pools come back dense in entry order.
QByteArray serialize_book(const TicketBook &book);

// How the new bytes replace the file: written beside it and renamed over it.
// no_temporary_file: the folder refused the file beside it, nothing was changed.
enum class ReplaceResult { replaced, no_temporary_file, failed };
ReplaceResult replace_atomically(const QString &path, const QByteArray &bytes);
// The step write_data uses for that; tests pass their own to play a folder that refuses
// new files (permission bits do not stop a privileged user).
using ReplaceStep = ReplaceResult (*)(const QString &path, const QByteArray &bytes);

// Saves the book under `path`: a backup copy of the old file goes to the temporary
// folder, the new file replaces the old one only once it is completely on disk, and a
// book the reader would refuse is never written. When the folder takes no new file, or
// the book has other hard links, the file is rewritten in place instead; the backup
// copy then puts the old contents back if that fails. On failure the old file is kept.
Outcome write_data(const TicketBook &book, const QString &path, ReplaceStep replace = replace_atomically);

// Writes all of `bytes`, failing on any short or failed write.
bool write_all(QIODevice &device, const QByteArray &bytes);

// The backup path: the temporary folder followed by the file name of `path`.
QString get_tempfile(const QString &path);

// The file name shown in the title: the part of `path` after its last separator.
QString file_name_of(const QString &path);

// Messages of the book file.
QString save_failed_message();
