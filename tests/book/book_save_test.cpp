#include "book/book_file.h"
#include "support/book_builders.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

TicketBook small_book(int singles = 3)
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto5, "55")).ok);
    for (int i = 0; i < singles; ++i)
        EXPECT_TRUE(add_single(book, 0, make_single({1, 2, 3, 1, 2})).ok);
    return book;
}

// Points TEMP at a folder for the length of a test.
class TempVariable {
public:
    explicit TempVariable(const QByteArray &value)
        : old_(qgetenv("TEMP")), had_(qEnvironmentVariableIsSet("TEMP"))
    {
        if (value.isNull())
            qunsetenv("TEMP");
        else
            qputenv("TEMP", value);
    }
    ~TempVariable()
    {
        if (had_)
            qputenv("TEMP", old_);
        else
            qunsetenv("TEMP");
    }

private:
    QByteArray old_;
    bool had_;
};

// A folder that takes no new file: the step beside the book is refused.
FileWrite refused(const QString &, const QByteArray &, const ReplaceCheck &)
{
    return FileWrite::failed(EACCES, true);
}

class BookSave : public ::testing::Test {
protected:
    QTemporaryDir books;
    QTemporaryDir temp;
    TempVariable temp_variable{temp.path().toLocal8Bit()};
    QString path = books.filePath(QStringLiteral("家計 簿.yrm"));
    QString backup = temp.filePath(QStringLiteral("家計 簿.yrm"));
};

} // namespace

TEST_F(BookSave, SavedBookReadsBackAndTheOldFileIsBackedUp)
{
    put(path, "old contents");
    const TicketBook book = small_book();
    ASSERT_TRUE(write_data(book, path).ok);
    EXPECT_EQ(contents(path), serialize_book(book));
    EXPECT_EQ(get_tempfile(path), backup);
    EXPECT_EQ(contents(backup), QByteArray("old contents"));
    const BookReadResult read = read_data(path);
    ASSERT_TRUE(read.outcome.ok);
    EXPECT_EQ(read.book.entries[0].tickets, 3);
}

TEST_F(BookSave, WithoutANewFileInTheFolderTheBookIsRewrittenInPlace)
{
    put(path, "old contents");
    const TicketBook book = small_book();
    ASSERT_TRUE(write_data(book, path, refused).ok);
    EXPECT_EQ(contents(path), serialize_book(book));
    EXPECT_EQ(contents(backup), QByteArray("old contents"));
}

TEST_F(BookSave, AHardLinkedBookKeepsItsOtherName)
{
    put(path, "old contents");
    const QString other = books.filePath(QStringLiteral("other.yrm"));
    ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);
    const TicketBook book = small_book();
    ASSERT_TRUE(write_data(book, path).ok);
    EXPECT_EQ(contents(other), serialize_book(book));
    EXPECT_EQ(contents(backup), QByteArray("old contents"));
}

TEST_F(BookSave, ANewBookMakesNoBackup)
{
    ASSERT_TRUE(write_data(small_book(), path).ok);
    EXPECT_FALSE(QFile::exists(backup));
    EXPECT_TRUE(read_data(path).outcome.ok);
}

TEST_F(BookSave, BackupOverwritesAReadOnlyLeftover)
{
    put(path, "old");
    put(backup, "stale backup");
    QFile::setPermissions(backup, QFileDevice::ReadOwner);
    ASSERT_TRUE(write_data(small_book(), path).ok);
    EXPECT_EQ(contents(backup), QByteArray("old"));
}

TEST_F(BookSave, BookInsideTheTemporaryFolderIsNotCopiedOntoItself)
{
    const QString inside = temp.filePath(QStringLiteral("same.yrm"));
    put(inside, "old");
    const TicketBook book = small_book();
    ASSERT_TRUE(write_data(book, inside).ok);
    EXPECT_EQ(contents(inside), serialize_book(book));
}

TEST_F(BookSave, UnwritableFolderFailsWithoutLeavingAFile)
{
    for (const QString &target : {books.filePath(QStringLiteral("no such folder/b.yrm")),
                                  QStringLiteral("/proc/self/yorimo-test.yrm")}) {
        const Outcome saved = write_data(small_book(), target);
        EXPECT_FALSE(saved.ok) << target.toStdString();
        EXPECT_EQ(saved.message, QStringLiteral("ファイル作成に失敗しました。"));
        EXPECT_FALSE(QFile::exists(target));
    }
}

TEST_F(BookSave, ReadOnlyBookIsLeftAsItWas)
{
    const QByteArray old = serialize_book(small_book(1));
    put(path, old);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const Outcome saved = write_data(small_book(5), path);
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.message, QStringLiteral("ファイル作成に失敗しました。"));
    EXPECT_EQ(contents(path), old);
    EXPECT_FALSE(QFile::exists(backup)) << "a failed save removes its backup";
}

TEST_F(BookSave, MissingTemporaryFolderFailsAndKeepsTheBook)
{
    put(path, "old");
    TempVariable missing(temp.filePath(QStringLiteral("gone")).toLocal8Bit());
    const Outcome saved = write_data(small_book(), path);
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(contents(path), QByteArray("old"));
}

TEST_F(BookSave, WithoutTempTheSystemTemporaryFolderIsUsed)
{
    TempVariable unset{QByteArray()};
    EXPECT_EQ(get_tempfile(QStringLiteral("/x/y/book.yrm")), QDir::tempPath() + QStringLiteral("/book.yrm"));
    put(path, "old");
    EXPECT_TRUE(write_data(small_book(), path).ok);
    QFile::remove(QDir::tempPath() + QStringLiteral("/家計 簿.yrm"));
}

TEST_F(BookSave, DiskFullHalfwayKeepsTheOldFile)
{
    const QByteArray old = serialize_book(small_book(1));
    TicketBook big;
    EXPECT_TRUE(add_entry(big, make_entry(LotteryKind::toto5)).ok);
    for (int i = 0; i < 4000; ++i)
        EXPECT_TRUE(add_single(big, 0, make_single({1, 1, 1, 1, 1})).ok);
    // Written beside the book and renamed, or in place and put back from the backup copy.
    for (const ReplaceStep step : {ReplaceStep{replace_file}, ReplaceStep{refused}}) {
        put(path, old);
        // Files may not grow past 4 KiB for the moment: writes fail like on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved_limit{};
        getrlimit(RLIMIT_FSIZE, &saved_limit);
        rlimit small = saved_limit;
        small.rlim_cur = 4096;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const Outcome saved = write_data(big, path, step);
        setrlimit(RLIMIT_FSIZE, &saved_limit);
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(contents(path), old);
        EXPECT_EQ(QDir(books.path()).entryList(QDir::Files).size(), 1) << "no half-written file stays behind";
    }
}

TEST_F(BookSave, ABookTheReaderWouldRefuseIsNeverWritten)
{
    put(path, "old");
    std::vector<TicketBook> bad(4, small_book());
    bad[0].entries[0].matches[4].result = -1; // negative
    bad[1].entries[0].matches[0].result = 7;  // no such result
    bad[2].entries[0].state = kPrizeEntered;  // uncapped kind, but beyond 31 bits
    bad[2].entries[0].prizes[0] = int64_t{1} << 31;
    bad[3].entries[0].matches[1].home = QByteArray("ab\x82", 3); // ends inside a character
    for (const TicketBook &book : bad) {
        const Outcome saved = write_data(book, path);
        EXPECT_FALSE(saved.ok);
        EXPECT_EQ(contents(path), QByteArray("old"));
    }
    TicketBook capped;
    RoundEntry big = make_entry(LotteryKind::BIG);
    big.state = kPrizeEntered;
    big.prizes[0] = 1'500'000'001;
    EXPECT_TRUE(add_entry(capped, big).ok);
    EXPECT_FALSE(write_data(capped, path).ok);
    capped.entries[0].prizes[0] = 1'500'000'000;
    EXPECT_TRUE(write_data(capped, path).ok);
}
