#pragma once

#include <QByteArray>
#include <QString>

// The folder for the backup copy made while saving: TEMP when set, else the system's.
QString temp_folder();

// True when both paths name one existing file (the same device and inode), through any
// spelling, hard link or symbolic link.
bool is_same_file(const QString &a, const QString &b);

// True when the file exists and its first bytes are `prefix`: what a file is, told before
// it is replaced.
bool file_starts_with(const QString &path, const QByteArray &prefix);

// True when the file has more than one hard link: replacing it by rename would part it
// from its other names.
bool has_other_links(const QString &path);

// True when the file exists and carries no write permission for its owner. Checked by
// permission bits so a read-only book is respected even by a privileged user.
bool is_read_only_file(const QString &path);
