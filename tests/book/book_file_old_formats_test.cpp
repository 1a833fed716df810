#include "book/big_endian.h"
#include "book/book_file.h"
#include "support/book_builders.h"

#include <gtest/gtest.h>

namespace {

const QString kPath = QStringLiteral("old.yrm");

// Writes files the way older program versions laid them out.
class OldFile {
public:
    OldFile(int version, int entries) : version_(version)
    {
        out_.bytes("YRM");
        out_.u16(static_cast<uint32_t>(version));
        out_.u16(100);
        out_.u16(static_cast<uint32_t>(entries));
    }

    // An entry of a match kind with no purchase; `flags` are the grade bytes of that version.
    OldFile &match_entry(LotteryKind kind, const QByteArray &flags, int state = 0,
                         const std::vector<uint32_t> &prizes = {})
    {
        text("7");
        if (version_ != 100)
            out_.u8(static_cast<uint32_t>(kind_code(kind)));
        for (int s = 0; s < slot_count(kind); ++s) {
            text("h");
            text("a");
        }
        out_.bytes(flags);
        out_.u8(1); // one single picking home wins everywhere
        for (int s = 0; s < slot_count(kind); ++s)
            out_.u8(1);
        out_.u8(0);
        for (int s = 0; s < slot_count(kind); ++s)
            out_.u8(kHomeWin);
        out_.u8(static_cast<uint32_t>(state));
        for (uint32_t p : prizes)
            out_.u32(p);
        return *this;
    }

    BookReadResult read() const { return parse_book(out_.data(), kPath); }

private:
    void text(const char *t)
    {
        out_.u8(static_cast<uint32_t>(qstrlen(t)));
        out_.bytes(t);
    }

    int version_;
    BigEndianWriter out_;
};

} // namespace

TEST(OldFormats, Version100HasNoKindByteAndOnlyTotoRounds)
{
    const BookReadResult read = OldFile(100, 2)
                                    .match_entry(LotteryKind::toto, {})
                                    .match_entry(LotteryKind::toto, {}, 1, {10, 20, 30})
                                    .read();
    ASSERT_TRUE(read.outcome.ok) << read.outcome.message.toStdString();
    ASSERT_EQ(read.book.entry_count(), 2);
    for (const RoundEntry &e : read.book.entries) {
        EXPECT_EQ(e.kind, LotteryKind::toto);
        EXPECT_TRUE(e.has_grade3);
    }
    EXPECT_EQ(read.book.entries[1].prizes[2], 30);
    EXPECT_EQ(read.book.singles.size(), 2u);
}

TEST(OldFormats, UpTo120EveryMatchKindHasAThirdGrade)
{
    for (int version : {101, 110, 120}) {
        const BookReadResult read = OldFile(version, 2)
                                        .match_entry(LotteryKind::minitotoA, {})
                                        .match_entry(LotteryKind::BIG, {}, 1, {1, 2, 3, 4})
                                        .read();
        ASSERT_TRUE(read.outcome.ok) << version;
        EXPECT_TRUE(read.book.entries[0].has_grade3);
        EXPECT_EQ(read.book.entries[0].kind, LotteryKind::minitotoA);
        EXPECT_FALSE(read.book.entries[1].has_grade5);
        EXPECT_FALSE(read.book.entries[1].has_grade6);
        EXPECT_EQ(read.book.entries[1].prizes[3], 4);
    }
}

TEST(OldFormats, From121OneFlagByteForEveryMatchKind)
{
    const BookReadResult read = OldFile(140, 3)
                                    .match_entry(LotteryKind::toto, QByteArray(1, '\x01'), 1, {1, 2, 3})
                                    .match_entry(LotteryKind::toto, QByteArray(1, '\x00'), 1, {1, 2})
                                    .match_entry(LotteryKind::toto5, QByteArray(1, '\x01'))
                                    .read();
    ASSERT_TRUE(read.outcome.ok);
    EXPECT_TRUE(read.book.entries[0].has_grade3);
    EXPECT_FALSE(read.book.entries[1].has_grade3);
    EXPECT_EQ(read.book.entries[1].prizes[1], 2);
    EXPECT_EQ(read.book.entries[2].kind, LotteryKind::toto5);
}

TEST(OldFormats, From150TwoFlagBytesGiveTheFifthGrade)
{
    const BookReadResult read =
        OldFile(155, 2)
            .match_entry(LotteryKind::BIG, QByteArray("\x00\x01", 2), 1, {1, 2, 3, 4, 5})
            .match_entry(LotteryKind::miniBIG, QByteArray("\x00\x00", 2), 1, {7, 8, 9})
            .read();
    ASSERT_TRUE(read.outcome.ok);
    EXPECT_TRUE(read.book.entries[0].has_grade5);
    EXPECT_FALSE(read.book.entries[0].has_grade6);
    EXPECT_EQ(read.book.entries[0].prizes[4], 5);
    EXPECT_EQ(read.book.entries[1].prizes[2], 9);
}

TEST(OldFormats, Version160KnowsTheSixthGradeButStoresNoPrizeForIt)
{
    // A second entry after it shows the BIG entry took exactly its five prizes.
    const BookReadResult v160 = OldFile(160, 2)
                                    .match_entry(LotteryKind::BIG, QByteArray(1, '\x03'), 1, {1, 2, 3, 4, 5})
                                    .match_entry(LotteryKind::toto, QByteArray(1, '\x01'), 1, {7, 8, 9})
                                    .read();
    ASSERT_TRUE(v160.outcome.ok);
    ASSERT_EQ(v160.book.entry_count(), 2);
    EXPECT_TRUE(v160.book.entries[0].has_grade6);
    EXPECT_EQ(v160.book.entries[0].prizes, (std::array<int64_t, 6>{1, 2, 3, 4, 5, 0}));
    EXPECT_EQ(v160.book.entries[1].kind, LotteryKind::toto);
    EXPECT_EQ(v160.book.entries[1].prizes[0], 7);
    EXPECT_EQ(v160.book.entries[1].prizes[2], 9);

    const BookReadResult v161 =
        OldFile(161, 1).match_entry(LotteryKind::BIG, QByteArray(1, '\x03'), 1, {1, 2, 3, 4, 5, 6}).read();
    ASSERT_TRUE(v161.outcome.ok);
    EXPECT_EQ(v161.book.entries[0].prizes[5], 6);
}

TEST(OldFormats, OlderBooksAreSavedInTheCurrentFormat)
{
    const BookReadResult old = OldFile(100, 1).match_entry(LotteryKind::toto, {}).read();
    ASSERT_TRUE(old.outcome.ok);
    const QByteArray saved = serialize_book(old.book);
    EXPECT_EQ(saved.mid(3, 4), QByteArray("\x00\xAA\x00\xAA", 4));
    const BookReadResult again = parse_book(saved, kPath);
    ASSERT_TRUE(again.outcome.ok);
    EXPECT_TRUE(again.book.entries[0].has_grade3);
    EXPECT_EQ(tickets_of(again.book, 0), tickets_of(old.book, 0));
}
