#include "platform/checked_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A descriptor closed on every path out; close() reports what a last write may still fail.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    // 0, or the errno of a failed close. The descriptor is gone either way.
    int close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// The file a path stands for: a symbolic link is replaced through, never by a plain file.
QString resolved(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        return target.isEmpty() ? info.symLinkTarget() : target;
    }
    return path;
}

int write_all(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    size_t left = static_cast<size_t>(bytes.size());
    off_t at = 0;
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, data, left, at);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data += n;
        left -= static_cast<size_t>(n);
        at += n;
    }
    return 0;
}

// The size on disk and every byte read back must be what was written.
int verify(int fd, const QByteArray &bytes)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return errno;
    if (st.st_size != bytes.size())
        return kWriteReadBackDiffers;
    char buffer[65536];
    off_t at = 0;
    while (at < st.st_size) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0 || std::memcmp(buffer, bytes.constData() + at, static_cast<size_t>(n)) != 0)
            return kWriteReadBackDiffers;
        at += n;
    }
    return 0;
}

int sync_fd(int fd)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

// Written, synced, read back and closed; 0 or the first failure.
int finish(Descriptor &fd, const QByteArray &bytes, bool truncate)
{
    if (int e = write_all(fd.get(), bytes))
        return e;
    if (truncate && ::ftruncate(fd.get(), bytes.size()) != 0)
        return errno;
    if (int e = sync_fd(fd.get()))
        return e;
    if (int e = verify(fd.get(), bytes))
        return e;
    return fd.close();
}

// Best effort: the rename is done and the data synced; a folder that cannot be synced
// (some file systems refuse it) does not make the save a failure.
void sync_folder(const QString &folder)
{
    const int fd = ::open(native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

bool refuses_new_file(int error)
{
    return error == EACCES || error == EPERM;
}

} // namespace

QString write_error_reason(int error)
{
    switch (error) {
    case 0: return QString();
    case ENOSPC: return QStringLiteral("ディスクの空き容量が足りません。");
    case EDQUOT: return QStringLiteral("ディスクの使用量の割り当てを超えています。");
    case EACCES:
    case EPERM: return QStringLiteral("書き込む権限がありません。");
    case EROFS: return QStringLiteral("読み取り専用のファイルシステムです。");
    case EISDIR: return QStringLiteral("保存先がフォルダーです。");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("保存先のフォルダーが見つかりません。");
    case ENAMETOOLONG: return QStringLiteral("ファイル名が長すぎます。");
    case EFBIG: return QStringLiteral("ファイルが大きすぎます。");
    case EIO: return QStringLiteral("ディスクの読み書きでエラーが起きました。");
    case kWriteReadBackDiffers:
        return QStringLiteral("書き込んだ内容をディスクから読み戻すと一致しませんでした。");
    case kWriteFileChanged:
        return QStringLiteral("ファイルが読み込んだ後に他のプログラムによって変更されました。");
    default: break;
    }
    return QStringLiteral("書き込めませんでした（%1）。").arg(QString::fromLocal8Bit(std::strerror(error)));
}

FileWrite replace_file(const QString &path, const QByteArray &bytes, const ReplaceCheck &check)
{
    const QString target = resolved(path);
    struct stat old {};
    const bool exists = ::stat(native(target).constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return FileWrite::failed(EISDIR);
    const QFileInfo info(target);
    const QString folder = info.absolutePath();
    // A name of its own: two saves of books of one name never meet here.
    QString temporary;
    int opened = -1;
    for (int attempt = 0; opened < 0; ++attempt) {
        temporary = QDir(folder).filePath(
            QStringLiteral(".%1.%2.new")
                .arg(info.fileName())
                .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0')));
        opened = ::open(native(temporary).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        const int e = errno;
        if (opened < 0 && (e != EEXIST || attempt > 16))
            return FileWrite::failed(e, refuses_new_file(e));
    }
    Descriptor fd(opened);
    auto failed = [&](int e) {
        unlink(native(temporary).constData());
        return FileWrite::failed(e);
    };
    if (exists && ::fchmod(fd.get(), old.st_mode & 07777) != 0)
        return failed(errno);
    if (int e = finish(fd, bytes, false))
        return failed(e);
    if (check && !check())
        return failed(kWriteFileChanged);
    if (::rename(native(temporary).constData(), native(target).constData()) != 0)
        return failed(errno);
    sync_folder(folder);
    return FileWrite::done();
}

FileWrite overwrite_file(const QString &path, const QByteArray &bytes)
{
    const int opened = ::open(native(resolved(path)).constData(), O_RDWR | O_CLOEXEC);
    if (opened < 0)
        return FileWrite::failed(errno);
    Descriptor fd(opened);
    if (int e = finish(fd, bytes, true))
        return FileWrite::failed(e);
    return FileWrite::done();
}

bool read_whole_file(const QString &path, QByteArray &bytes, int *error)
{
    auto fail = [&](int e) {
        if (error)
            *error = e;
        return false;
    };
    const int opened = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC);
    if (opened < 0)
        return fail(errno);
    Descriptor fd(opened);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return fail(errno);
    if (S_ISDIR(st.st_mode))
        return fail(EISDIR);
    bytes.clear();
    bytes.reserve(static_cast<qsizetype>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    return true;
}
