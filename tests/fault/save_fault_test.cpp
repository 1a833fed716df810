// Every writer of the program under every failing step of a write, injected by the preloaded
// fault library: the old file stays byte for byte, nothing is left beside it, and the
// user is told why.
#include "book/book_file.h"
#include "book/book_recovery.h"
#include "book/csv_export.h"
#include "fault_env.h"
#include "support/book_builders.h"

#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <span>
#include <unistd.h>

namespace {

// 4,000 singles are enough for a write cut into 4 KiB pieces to have a third piece; the pick
// tells an old book's bytes from a new one's.
TicketBook book_of(int singles, int pick = 1)
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto5, "55")).ok);
    for (int i = 0; i < singles; ++i)
        EXPECT_TRUE(add_single(book, 0, make_single({pick, 2, 3, 1, 2})).ok);
    return book;
}

struct Writer {
    const char *name;
    bool in_place; // the book is rewritten in place (it has another hard link)
    std::function<Outcome(const QString &target, const QString &book)> write;
};

const Writer kWriters[] = {
    {"book", false, [](const QString &target, const QString &) { return write_data(book_of(4000), target); }},
    {"hard-linked book", true,
     [](const QString &target, const QString &) { return write_data(book_of(4000), target); }},
    {"csv", false,
     [](const QString &target, const QString &book) { return save_csv(book_of(4000), 0, target, book); }},
};

const FaultCase kInPlaceFaults[] = {
    {"write:1:ENOSPC", "ディスクの空き容量が足りません。"},
    {"write:3:EIO", "ディスクの読み書きでエラーが起きました。"},
    {"truncate:1:EIO", "ディスクの読み書きでエラーが起きました。"},
    {"sync:1:EIO", "ディスクの読み書きでエラーが起きました。"},
    {"close:1:EIO", "ディスクの読み書きでエラーが起きました。"},
};

class SaveFault : public testing::Test {
protected:
    void SetUp() override { qputenv("TEMP", QFile::encodeName(temp.path())); }

    // Runs `writer` onto a file holding `old` under `fault`; checks what stays and what is said.
    void expect_kept(const Writer &writer, const FaultCase &fault)
    {
        SCOPED_TRACE(std::string(writer.name) + " under " + fault.fault);
        const QString target = books.filePath(QStringLiteral("家計簿.yrm"));
        const QString link = books.filePath(QStringLiteral("link.yrm"));
        const QByteArray old = serialize_book(book_of(3));
        put_bytes(target, old);
        QFile::remove(link);
        if (writer.in_place) {
            ASSERT_EQ(::link(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
        }
        Outcome written;
        {
            const ScopedFault injected(QString::fromLatin1(fault.fault), books.path(), true);
            written = writer.write(target, QString());
        }
        EXPECT_FALSE(written.ok);
        EXPECT_EQ(written.message, QStringLiteral("ファイル作成に失敗しました。"));
        EXPECT_EQ(written.detail,
                  QString::fromUtf8(fault.reason) + QStringLiteral("元のファイルはそのままです。"));
        EXPECT_TRUE(file_bytes(target) == old) << "the old file is kept";
        EXPECT_EQ(QDir(books.path()).entryList(QDir::Files | QDir::Hidden).size(), writer.in_place ? 2 : 1)
            << "nothing is left beside the file";
        EXPECT_FALSE(book_is_torn(target));
        EXPECT_FALSE(QFile::exists(recovery_path(target)));
    }

    QTemporaryDir books;
    QTemporaryDir temp;
};

TEST_F(SaveFault, EveryStepOfEveryWriterFailingKeepsTheOldFileAndSaysWhy)
{
    for (const Writer &writer : kWriters) {
        const std::span<const FaultCase> faults = writer.in_place ? std::span<const FaultCase>(kInPlaceFaults)
                                                                  : std::span<const FaultCase>(kWriteFaults);
        for (const FaultCase &fault : faults)
            expect_kept(writer, fault);
    }
}

} // namespace

namespace {

class InPlaceFault : public SaveFault {};

TEST_F(InPlaceFault, AFolderThatRefusesNewFilesGetsTheBookRewrittenInPlace)
{
    const QString target = books.filePath(QStringLiteral("b.yrm"));
    put_bytes(target, serialize_book(book_of(3)));
    {
        const ScopedFault refused(QStringLiteral("create:1+:EACCES"), books.path());
        ASSERT_TRUE(write_data(book_of(4000), target).ok);
    }
    EXPECT_TRUE(file_bytes(target) == serialize_book(book_of(4000)));
    EXPECT_FALSE(QFile::exists(recovery_path(target))) << "the copy goes once the new bytes are synced";
}

// The rewrite fails midway and so does putting the old bytes back: the book is torn, and its
// recovery copy is what brings it back.
TEST_F(InPlaceFault, ATornBookIsFoundAgainAndRestoredFromItsCopy)
{
    const QString target = books.filePath(QStringLiteral("b.yrm"));
    const QString link = books.filePath(QStringLiteral("other name.yrm"));
    const QByteArray old = serialize_book(book_of(2000));
    put_bytes(target, old);
    ASSERT_EQ(::link(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
    Outcome written;
    {
        const ScopedFault broken(QStringLiteral("write:3+:EIO"), books.path(), true);
        written = write_data(book_of(4000, 2), target);
    }
    EXPECT_FALSE(written.ok);
    EXPECT_TRUE(written.detail.contains(recovery_path(target))) << written.detail.toStdString();
    ASSERT_FALSE(file_bytes(target) == old);

    // Through its other name too: the copy belongs to the file, not to one of its names.
    EXPECT_TRUE(book_is_torn(link));
    const BookReadResult read = read_data(target);
    EXPECT_FALSE(read.outcome.ok);
    EXPECT_EQ(read.outcome.message, torn_book_message(target));
    ASSERT_TRUE(restore_from_recovery(target).ok);
    EXPECT_TRUE(file_bytes(link) == old);
    EXPECT_FALSE(QFile::exists(recovery_path(target)));
    EXPECT_TRUE(read_data(target).outcome.ok);
}

} // namespace
