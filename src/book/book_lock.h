#pragma once

#include <QString>
#include <chrono>
#include <memory>

class QLockFile;

// One writer of a book at a time: an exclusive lock on BOOK.yrm.lock beside the book (beside
// the file a symbolic link names), held from reading the book to replacing it. A lock left
// by a process that died is taken over. Readers take no lock.
class BookLock {
public:
    enum class State {
        held,        // this writer holds the lock
        busy,        // another writer held it for the whole wait
        unavailable, // no lock file can be made here (a folder the user cannot write)
    };

    // Waits up to `wait` for the lock.
    explicit BookLock(const QString &book_path, std::chrono::milliseconds wait = default_wait());
    ~BookLock();
    BookLock(const BookLock &) = delete;
    BookLock &operator=(const BookLock &) = delete;

    State state() const { return state_; }
    // The book file the lock is for, as given.
    const QString &book_path() const { return book_path_; }

    // 10 s; YORIMO_LOCK_WAIT_MS sets another (the tests shorten it).
    static std::chrono::milliseconds default_wait();
    // The lock file of the book at `book_path`.
    static QString lock_path(const QString &book_path);

private:
    void clear_empty_locks();

    QString book_path_;
    std::unique_ptr<QLockFile> lock_;
    State state_ = State::unavailable;
};

// Said when the lock stays busy: "「NAME」は他のプログラムが使用中です。…"
QString book_busy_message(const QString &book_path);
// Said when the book changed on disk between reading and replacing it (the CLI writes nothing).
QString book_changed_message(const QString &book_path);
