#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// What a reader or writer saw of a file: whether it was there, its size, its modification
// time and a hash of its bytes. A writer keeps it to tell, just before it replaces the file,
// whether another program changed the file since.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modified_ns = 0;
    uint64_t hash[2] = {0, 0};

    bool operator==(const FileStamp &) const = default;
};

// The stamp of `bytes` as the file at `path` holds them now (its time from the file).
FileStamp stamp_of(const QString &path, const QByteArrayView bytes);

// The file as it is now; a file that cannot be read counts as not there.
FileStamp current_stamp(const QString &path);

// True when the file still holds what `seen` saw: there, of its size, and of its bytes by
// the hash (a modification time alone can be set back, or fall within one tick).
bool still_matches(const QString &path, const FileStamp &seen);
