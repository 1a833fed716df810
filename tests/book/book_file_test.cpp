#include "book/book_file.h"
#include "results/winning_check.h"
#include "support/book_builders.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kPath = QStringLiteral("/books/test.yrm");

QString abnormal()
{
    return kPath + QStringLiteral("は異常です。");
}

// The fields of an entry that a book file keeps, plus what grading derives from them.
void expect_same_entry(const RoundEntry &a, const RoundEntry &b, int index)
{
    SCOPED_TRACE(index);
    RoundEntry x = a;
    RoundEntry y = b;
    x.first_index = y.first_index = 0; // pool positions may differ; chains are compared apart
    EXPECT_TRUE(x == y);
}

} // namespace

TEST(BookFile, RandomBooksReadBackEqualWithDenseChainsInEntryOrder)
{
    std::mt19937 rng(1207);
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        const TicketBook book = random_book(rng, 1 + round % 25, round * 3);
        const BookReadResult read = parse_book(serialize_book(book), kPath);
        ASSERT_TRUE(read.outcome.ok) << read.outcome.message.toStdString();
        TicketBook copy = read.book;
        for (int i = 0; i < copy.entry_count(); ++i)
            result_chk(copy, i);
        ASSERT_EQ(copy.entry_count(), book.entry_count());
        for (int i = 0; i < book.entry_count(); ++i) {
            expect_same_entry(copy.entries[i], book.entries[i], i);
            EXPECT_EQ(tickets_of(copy, i), tickets_of(book, i));
        }
        EXPECT_TRUE(chains_consistent(copy));
        // Reading appends in entry and chain order: walking the book visits each pool 0, 1, 2...
        int next[2][3] = {};
        for (int i = 0; i < copy.entry_count(); ++i) {
            const int family = is_match_kind(copy.entries[i].kind) ? 0 : 1;
            copy.for_each_purchase(i, [&](int type, int index) { EXPECT_EQ(index, next[family][type]++); });
        }
        EXPECT_EQ(serialize_book(copy), serialize_book(book));
    }
}

TEST(BookFile, EmptyBookIsTheNineByteHeader)
{
    const QByteArray bytes = serialize_book(TicketBook{});
    EXPECT_EQ(bytes, QByteArray("YRM\x00\xAA\x00\xAA\x00\x00", 9));
    const BookReadResult read = parse_book(bytes, kPath);
    EXPECT_TRUE(read.outcome.ok);
    EXPECT_EQ(read.book.entry_count(), 0);
}

TEST(BookFile, TotoEntryWithoutPurchasesLayout)
{
    TicketBook book;
    RoundEntry e = make_entry(LotteryKind::toto, "12");
    e.has_grade3 = true;
    EXPECT_TRUE(add_entry(book, e).ok);
    QByteArray expected("YRM\x00\xAA\x00\xAA\x00\x01", 9);
    expected += QByteArray("\x02"
                           "12\x00",
                           4);
    for (int s = 0; s < 13; ++s) {
        const QByteArray home = "H" + QByteArray::number(s);
        const QByteArray away = "A" + QByteArray::number(s);
        expected += char(home.size()) + home + char(away.size()) + away;
    }
    expected += QByteArray("\x01\x00", 2);                  // has_grade3, end of purchases
    expected += QByteArray(13, '\0') + QByteArray(1, '\0'); // results, state
    EXPECT_EQ(serialize_book(book), expected);
}

TEST(BookFile, MatchMultiMarksAreStoredHomeAwayDraw)
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::minitotoB)).ok);
    EXPECT_TRUE(add_multi(book, 0, make_multi({"110", "100", "010", "001", "111"})).ok);
    const QByteArray bytes = serialize_book(book);
    // The five mark bytes sit right before the end-of-list byte, results and state.
    EXPECT_EQ(bytes.right(5 + 1 + 5 + 1).left(5), QByteArray("\x05\x01\x04\x02\x07", 5));
    const BookReadResult read = parse_book(bytes, kPath);
    ASSERT_TRUE(read.outcome.ok);
    const auto &marks = read.book.multis[0].marks[0];
    EXPECT_TRUE(marks[0]);
    EXPECT_TRUE(marks[1]);
    EXPECT_FALSE(marks[2]);
    EXPECT_EQ(read.book.entries[0].tickets, 6);
}

TEST(BookFile, BigWithSixthButNotFifthGradeStoresFivePrizes)
{
    TicketBook book;
    RoundEntry e = make_entry(LotteryKind::BIG);
    e.has_grade6 = true;
    e.state = kPrizeEntered;
    for (int g = 0; g < 6; ++g)
        e.prizes[g] = 1000 + g;
    e.prizes[4] = 0; // no 5等 in this round
    EXPECT_TRUE(add_entry(book, e).ok);
    const QByteArray bytes = serialize_book(book);
    QByteArray prizes;
    for (int p : {1000, 1001, 1002, 1003, 1005})
        prizes += QByteArray("\x00\x00", 2) + char(p >> 8) + char(p & 0xFF);
    EXPECT_TRUE(bytes.endsWith(QByteArray(1, '\x01') + prizes));
    const BookReadResult read = parse_book(bytes, kPath);
    ASSERT_TRUE(read.outcome.ok);
    EXPECT_EQ(read.book.entries[0].prizes[5], 1005);
    EXPECT_EQ(read.book.entries[0].prizes[4], 0);
}

TEST(BookFile, OnlyPurchasesReachableFromTheirEntryAreWritten)
{
    TicketBook book;
    EXPECT_TRUE(add_entry(book, make_entry(LotteryKind::toto5)).ok);
    EXPECT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 1})).ok);
    EXPECT_TRUE(add_single(book, 0, make_single({2, 2, 2, 2, 2})).ok);
    book.singles.push_back(make_single({3, 3, 3, 3, 3})); // belongs to no chain
    const BookReadResult read = parse_book(serialize_book(book), kPath);
    ASSERT_TRUE(read.outcome.ok);
    EXPECT_EQ(read.book.singles.size(), 2u);
    EXPECT_TRUE(chains_consistent(read.book));
}

TEST(BookFile, FixturesOfBrokenAndValidFiles)
{
    QFile fixtures(test_data(QStringLiteral("broken_books.txt")));
    ASSERT_TRUE(fixtures.open(QIODevice::ReadOnly | QIODevice::Text));
    int cases = 0;
    while (!fixtures.atEnd()) {
        const QString line = QString::fromUtf8(fixtures.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_GE(fields.size(), 2) << line.toStdString();
        const QString expectation = fields[0];
        QString hex = fields.size() > 2 ? fields[2] : QString();
        hex.remove(QLatin1Char(' '));
        const BookReadResult read = parse_book(QByteArray::fromHex(hex.toLatin1()), kPath);
        SCOPED_TRACE(fields[1].toStdString());
        ++cases;
        if (expectation == QLatin1String("ok")) {
            EXPECT_TRUE(read.outcome.ok) << read.outcome.message.toStdString();
        } else if (expectation == QLatin1String("abnormal")) {
            EXPECT_EQ(read.outcome.message, abnormal());
        } else if (expectation == QLatin1String("not_yorimo")) {
            EXPECT_EQ(read.outcome.message, kPath + QStringLiteral("はｙｏｒｉｍｏのデータではありません！"));
        } else if (expectation.startsWith(QLatin1String("version:"))) {
            EXPECT_EQ(read.outcome.message,
                      kPath + QStringLiteral("はこのプログラムでは読めません。\nプログラムバージョン") +
                          expectation.mid(8) + QStringLiteral("以降を御使用ください。"));
        } else {
            ADD_FAILURE() << "unknown expectation " << expectation.toStdString();
        }
        if (expectation != QLatin1String("ok")) {
            EXPECT_FALSE(read.outcome.ok);
        }
    }
    EXPECT_GT(cases, 30);
}

TEST(BookFile, EveryTruncationOfAValidFileIsRefused)
{
    std::mt19937 rng(99);
    const QByteArray bytes = serialize_book(random_book(rng, 6, 14));
    ASSERT_TRUE(parse_book(bytes, kPath).outcome.ok);
    for (qsizetype length = 0; length < bytes.size(); ++length) {
        const BookReadResult read = parse_book(bytes.left(length), kPath);
        ASSERT_FALSE(read.outcome.ok) << "length " << length;
        const QString expected =
            length < 3 ? kPath + QStringLiteral("はｙｏｒｉｍｏのデータではありません！") : abnormal();
        ASSERT_EQ(read.outcome.message, expected) << "length " << length;
    }
}

TEST(BookFile, MorePurchasesThanAPoolHoldsIsOutOfMemory)
{
    QByteArray bytes("YRM\x00\xAA\x00\xAA\x00\x01", 9);
    bytes += QByteArray::fromHex("0131"
                                 "05"
                                 "0141014201430144");
    for (int i = 0; i <= kMaxRecords; ++i)
        bytes += QByteArray::fromHex("0100000000");
    bytes += QByteArray::fromHex("00"
                                 "00000000"
                                 "00");
    const BookReadResult read = parse_book(bytes, kPath);
    EXPECT_FALSE(read.outcome.ok);
    EXPECT_EQ(read.outcome.message, QStringLiteral("メモリが足りません。"));
}

TEST(BookFile, MissingFileCannotBeRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ない ファイル.yrm"));
    const BookReadResult read = read_data(path);
    EXPECT_FALSE(read.outcome.ok);
    EXPECT_EQ(read.outcome.message, path + QStringLiteral("が読めません。"));
}

TEST(BookFile, ReadingLeavesTheCountersToTheGrader)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("graded.yrm"));
    TicketBook book;
    RoundEntry e = make_entry(LotteryKind::toto5);
    for (int s = 0; s < 5; ++s)
        e.matches[s].result = kHomeWin;
    e.state = kPrizeEntered;
    e.prizes[0] = 5000;
    EXPECT_TRUE(add_entry(book, e).ok);
    EXPECT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 1})).ok);
    EXPECT_TRUE(add_single(book, 0, make_single({1, 1, 1, 1, 2})).ok);
    ASSERT_TRUE(write_data(book, path).ok);
    BookReadResult read = read_data(path);
    ASSERT_TRUE(read.outcome.ok);
    // The file keeps no winning counters: they come back zero until the book is graded.
    EXPECT_EQ(read.book.entries[0].hits, (std::array<int64_t, 7>{}));
    grade_book(read.book);
    EXPECT_EQ(read.book.entries[0].hits, (std::array<int64_t, 7>{1, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(read.book.entries[0].won, 5000);
}

TEST(BookFile, FileNameIsThePartAfterTheLastSlash)
{
    EXPECT_EQ(file_name_of(QStringLiteral("/home/u/my books/2026.yrm")), QStringLiteral("2026.yrm"));
    EXPECT_EQ(file_name_of(QStringLiteral("plain.yrm")), QStringLiteral("plain.yrm"));
}
