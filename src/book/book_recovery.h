#pragma once

#include "book/outcome.h"

#include <QByteArray>
#include <QString>

// A book rewritten in place (it has other hard links, or its folder takes no new file) can
// be torn by a crash. Before such a save its old bytes go to a recovery copy, found again by
// the book's path, with the size and hash of the new bytes; the copy is removed once the new
// bytes are on disk, or the old ones are back.

// Where the recovery copy of the book at `path` is kept: the user's state folder
// (XDG_STATE_HOME, else ~/.local/state), yorimo/recovery, named by the book's full path.
QString recovery_path(const QString &path);

// Writes the recovery copy, synced, before the book is touched. The outcome's detail says why not.
Outcome keep_recovery(const QString &path, const QByteArray &old_bytes, const QByteArray &new_bytes);
// Removes the recovery copy: the book holds one whole version again.
void drop_recovery(const QString &path);

// A book whose save was cut off: neither its old nor its new bytes are on disk. Looking
// also settles a copy that is no longer needed (the save ended, or never began): the copy is
// removed, and a new version with the old one's tail still behind it is cut to its size.
bool book_is_torn(const QString &path);

// Puts the old bytes from the recovery copy back into the torn book and removes the copy.
Outcome restore_from_recovery(const QString &path);

// What the command-line tool says of a torn book: the copy named, for restoring it.
QString torn_book_message(const QString &path);
