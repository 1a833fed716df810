#include "book/book_lock.h"

#include "book/book_file.h"
#include "book/message_text.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <algorithm>

namespace {

// A lock file that has held no pid for a second: its maker was killed between making it and
// writing into it, and no pid will ever clear it.
bool abandoned(const QString &path)
{
    qint64 pid = 0;
    QString host, app;
    const QFileInfo info(path);
    return info.exists() && !QLockFile(path).getLockInfo(&pid, &host, &app) &&
           info.lastModified().msecsTo(QDateTime::currentDateTime()) > 1000;
}

} // namespace

void BookLock::clear_empty_locks()
{
    // Qt's own guard while it removes a stale lock, left behind the same way.
    const QString guard = lock_->fileName() + QStringLiteral(".rmlock");
    if (abandoned(guard))
        QFile::remove(guard);
    if (abandoned(lock_->fileName()))
        lock_->removeStaleLockFile();
}

BookLock::BookLock(const QString &book_path, std::chrono::milliseconds wait)
    : book_path_(book_path), lock_(std::make_unique<QLockFile>(lock_path(book_path)))
{
    // Never stale by age: a long save must not lose its lock; a dead holder is found by its pid.
    lock_->setStaleLockTime(0);
    QDeadlineTimer deadline(wait);
    for (;;) {
        if (lock_->tryLock(static_cast<int>(std::min<qint64>(deadline.remainingTime(), 200)))) {
            state_ = State::held;
            return;
        }
        if (lock_->error() != QLockFile::LockFailedError) {
            state_ = State::unavailable;
            return;
        }
        clear_empty_locks();
        if (deadline.hasExpired()) {
            state_ = State::busy;
            return;
        }
    }
}

BookLock::~BookLock()
{
    if (state_ == State::held)
        lock_->unlock();
}

std::chrono::milliseconds BookLock::default_wait()
{
    bool number = false;
    const int wait = qEnvironmentVariableIntValue("YORIMO_LOCK_WAIT_MS", &number);
    return std::chrono::milliseconds(number && wait >= 0 ? wait : 10'000);
}

QString BookLock::lock_path(const QString &book_path)
{
    const QFileInfo info(book_path);
    const QString real = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    return real + QStringLiteral(".lock");
}

QString book_busy_message(const QString &book_path)
{
    return QStringLiteral("「%1」は他のプログラムが使用中です。しばらくしてからもう一度お試しください。")
        .arg(escape_controls(file_name_of(book_path)));
}

QString book_changed_message(const QString &book_path)
{
    return QStringLiteral(
               "「%1」は読み込んだ後に他のプログラムによって変更されました。何も書き込んでいません。")
        .arg(escape_controls(file_name_of(book_path)));
}
