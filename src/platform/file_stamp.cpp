#include "platform/file_stamp.h"

#include "platform/checked_write.h"

#include <QFile>
#include <QHash>
#include <sys/stat.h>

namespace {

// Two seeds of Qt's hash of bytes make 128 bits: fast (hardware-assisted), and a changed
// file of one size colliding on both is out of reach.
constexpr size_t kSeeds[2] = {0x9e3779b97f4a7c15ULL, 0xc2b2ae3d27d4eb4fULL};

} // namespace

FileStamp stamp_of(const QString &path, const QByteArrayView bytes)
{
    FileStamp stamp;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.size = bytes.size();
    stamp.modified_ns = static_cast<qint64>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    for (size_t i = 0; i < 2; ++i)
        stamp.hash[i] = qHashBits(bytes.data(), static_cast<size_t>(bytes.size()), kSeeds[i]);
    return stamp;
}

FileStamp current_stamp(const QString &path)
{
    QByteArray bytes;
    if (!read_whole_file(path, bytes))
        return FileStamp{};
    return stamp_of(path, bytes);
}

bool still_matches(const QString &path, const FileStamp &seen)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return !seen.exists;
    if (!seen.exists || st.st_size != seen.size)
        return false;
    const FileStamp now = current_stamp(path);
    return now.exists && now.size == seen.size && now.hash[0] == seen.hash[0] && now.hash[1] == seen.hash[1];
}
