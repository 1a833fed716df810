#pragma once

#include <QString>

// The folder for the backup copy made while saving: TEMP when set, else the system's.
QString temp_folder();

// Copies `from` to `to`, replacing `to` (even when it is read-only).
bool copy_file_overwrite(const QString &from, const QString &to);

// Deletes a file even when it is read-only. True when it is gone.
bool delete_file_forced(const QString &path);

// True when both paths name the same existing file.
bool same_file(const QString &a, const QString &b);

// True when the file has more than one hard link: replacing it by rename would part it
// from its other names.
bool has_other_links(const QString &path);

// True when the file exists and carries no write permission for its owner. Checked by
// permission bits so a read-only book is respected even by a privileged user.
bool is_read_only_file(const QString &path);
