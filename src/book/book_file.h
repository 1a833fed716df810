#pragma once

#include "book/ticket_book.h"
#include "platform/checked_write.h"
#include "platform/file_stamp.h"

#include <QString>

// The format version this program writes (1.70), and the oldest program that reads it.
inline constexpr int kFormatVersion = 170;
inline constexpr int kRequiredVersion = 170;

struct BookReadResult {
    Outcome outcome;
    TicketBook book;
    FileStamp stamp; // of the bytes read
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

// The step write_data replaces the file with (replace_file); tests pass their own to play a
// folder that refuses new files (permission bits do not stop a privileged user).
using ReplaceStep = FileWrite (*)(const QString &path, const QByteArray &bytes, const ReplaceCheck &check);

// Saves the book under `path`: a backup copy of the old file goes to the temporary folder,
// and the new file replaces the old one only once it is completely and verifiably on disk;
// a book the reader would refuse is never written. When the folder takes no new file, or
// the book has other hard links, the file is rewritten in place behind a recovery copy
// (book_recovery.h). On failure the old file is kept, and the detail says why.
// `check` runs just before the file is replaced (or rewritten in place); when it says no,
// nothing is written and the outcome is refused as changed. `*written` gets the stamp of the
// file as saved.
Outcome write_data(const TicketBook &book, const QString &path, ReplaceStep replace = replace_file,
                   const ReplaceCheck &check = {}, FileStamp *written = nullptr);

// The backup path: the temporary folder followed by the file name of `path`.
QString get_tempfile(const QString &path);

// The file name shown in the title: the part of `path` after its last separator.
QString file_name_of(const QString &path);

// True when the file at `path` is a book (it starts with the book's magic).
bool is_book_file(const QString &path);

// Refuses an export (a CSV file, an image) whose target is the book file itself, through
// any path or link to it; nothing may replace the book but a save.
Outcome refuse_export_onto_book(const QString &target, const QString &book_path);
// Asked before an export replaces another book.
QString replaces_book_question(const QString &target);

// Messages of the book file.
QString save_failed_message();
// A write that failed: save_failed_message, with the reason and, when the target existed,
// that it is unchanged ("元のファイルはそのままです。") as the detail.
Outcome save_failure(const QString &reason, bool had_file = true);
Outcome save_failure(int error, bool had_file = true);
