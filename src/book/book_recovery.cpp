#include "book/book_recovery.h"

#include "book/big_endian.h"
#include "book/message_text.h"
#include "platform/checked_write.h"
#include "platform/file_ops.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace {

const QByteArray kMagic = QByteArrayLiteral("YRMRCV1\n");

QByteArray digest(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QString state_folder()
{
    const QString state = qEnvironmentVariable("XDG_STATE_HOME");
    return state.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/state") : state;
}

struct Recovery {
    QString book; // the path the book was saved under
    qint64 new_size = 0;
    QByteArray new_digest;
    QByteArray old_bytes;
};

// The copy as written by keep_recovery; false for anything else.
bool read_recovery(const QString &copy, Recovery &out)
{
    QByteArray data;
    if (!read_whole_file(copy, data) || !data.startsWith(kMagic))
        return false;
    const QByteArray rest = data.mid(kMagic.size());
    BigEndianReader in(rest);
    uint32_t length = 0;
    QByteArrayView path;
    uint32_t high = 0;
    uint32_t low = 0;
    QByteArrayView hash;
    if (!in.u32(length) || !in.bytes(static_cast<int>(length), path) || !in.u32(high) || !in.u32(low) ||
        !in.bytes(32, hash))
        return false;
    out.book = QString::fromUtf8(path);
    out.new_size = static_cast<qint64>((static_cast<uint64_t>(high) << 32) | low);
    out.new_digest = hash.toByteArray();
    out.old_bytes = rest.mid(rest.size() - in.remaining());
    return true;
}

} // namespace

QString recovery_path(const QString &path)
{
    // By device and inode: a hard-linked book is found again through any of its names.
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return QString();
    return state_folder() + QStringLiteral("/yorimo/recovery/%1-%2.yrm")
                                .arg(static_cast<qulonglong>(st.st_dev))
                                .arg(static_cast<qulonglong>(st.st_ino));
}

Outcome keep_recovery(const QString &path, const QByteArray &old_bytes, const QByteArray &new_bytes)
{
    const QString copy = recovery_path(path);
    BigEndianWriter out;
    out.bytes(kMagic);
    const QByteArray name = QFileInfo(path).absoluteFilePath().toUtf8();
    out.u32(static_cast<uint32_t>(name.size()));
    out.bytes(name);
    const auto size = static_cast<uint64_t>(new_bytes.size());
    out.u32(static_cast<uint32_t>(size >> 32));
    out.u32(static_cast<uint32_t>(size));
    out.bytes(digest(new_bytes));
    out.bytes(old_bytes);
    int error = ENOENT;
    if (!copy.isEmpty() && QDir().mkpath(QFileInfo(copy).absolutePath())) {
        const FileWrite written = replace_file(copy, out.data());
        if (written.ok)
            return Outcome::success();
        error = written.error;
    }
    return Outcome::failure(QString(), QStringLiteral("保存前の内容の控えを%1に作れません。%2")
                                           .arg(escape_controls(copy), write_error_reason(error)));
}

void drop_recovery(const QString &path)
{
    const QString copy = recovery_path(path);
    if (!copy.isEmpty())
        QFile::remove(copy);
}

bool book_is_torn(const QString &path)
{
    const QString copy = recovery_path(path);
    Recovery recovery;
    QByteArray book;
    if (copy.isEmpty() || !QFile::exists(copy) || !read_recovery(copy, recovery))
        return false;
    // A copy whose book no longer names this file was left for another file, now gone, that
    // had this file's inode.
    if (!is_same_file(recovery.book, path)) {
        QFile::remove(copy);
        return false;
    }
    if (!read_whole_file(path, book))
        return false;
    if (book == recovery.old_bytes) {
        drop_recovery(path);
        return false;
    }
    if (book.size() >= recovery.new_size &&
        digest(QByteArrayView(book).first(recovery.new_size)) == recovery.new_digest) {
        if (book.size() > recovery.new_size && !QFile::resize(path, recovery.new_size))
            return false; // the copy stays until the cut succeeds
        drop_recovery(path);
        return false;
    }
    return true;
}

Outcome restore_from_recovery(const QString &path)
{
    Recovery recovery;
    if (!read_recovery(recovery_path(path), recovery))
        return Outcome::failure(QStringLiteral("保存前の内容の控えが読めません。"));
    const FileWrite written = overwrite_file(path, recovery.old_bytes);
    if (!written.ok)
        return Outcome::failure(QStringLiteral("保存前の内容に戻せませんでした。"),
                                write_error_reason(written.error));
    drop_recovery(path);
    return Outcome::success();
}

QString torn_book_message(const QString &path)
{
    return QStringLiteral("%1は保存の途中で中断されたため壊れています。保存前の内容が%2に残っています。")
        .arg(escape_controls(path), escape_controls(recovery_path(path)));
}
