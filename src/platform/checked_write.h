#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// How a write ended. `error` is the errno of the step that failed, or one of the codes
// below; `refused_here` says the folder took no new file, so nothing at all was written.
struct FileWrite {
    bool ok = true;
    int error = 0;
    bool refused_here = false;

    static FileWrite done() { return {}; }
    static FileWrite failed(int code, bool refused = false) { return {false, code, refused}; }
};

// Codes of failures that are not the system's own.
inline constexpr int kWriteReadBackDiffers = -1; // the bytes on disk are not the bytes written
inline constexpr int kWriteFileChanged = -2;     // the file changed after it was read

// Why a write failed, as the user is told it ("ディスクの空き容量が足りません。").
QString write_error_reason(int error);

// Checked just before the new file takes the old one's name; false stops the write with
// kWriteFileChanged and leaves the old file as it is.
using ReplaceCheck = std::function<bool()>;

// Replaces `path` by a file holding exactly `bytes`: a new file beside it, every write, the
// sync and the close checked, its size and bytes read back, and only then renamed over
// `path` (keeping the old file's permissions). A symbolic link is followed, so the link
// stays. On any failure the new file is removed and `path` is exactly as it was.
FileWrite replace_file(const QString &path, const QByteArray &bytes, const ReplaceCheck &check = {});

// Rewrites the existing file `path` in place with `bytes`, checked and read back like
// replace_file. Used where a rename would part the file from its other names or the folder
// takes no new file; a failure can leave the file torn, so callers keep a copy first.
FileWrite overwrite_file(const QString &path, const QByteArray &bytes);

// The whole of a file, read with every step checked; false when it cannot be read.
bool read_whole_file(const QString &path, QByteArray &bytes, int *error = nullptr);
