#include "book/book_file.h"
#include "cli/book_json.h"
#include "cli/cli_commands.h"
#include "support/book_builders.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CliBook, ListAndDumpPrintWonAmountsPastSixtyFourBitsExactly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.yrm"));
    ASSERT_TRUE(write_data(all_cancelled_toto_book(2, 12000, 500'000'000), path).ok);
    const std::optional<TicketBook> book = open_book(path);
    ASSERT_TRUE(book);
    const QList<QByteArray> lines = list_text(*book).split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].endsWith("\t9,565,938,000,000,000,000")) << lines[0].toStdString();
    EXPECT_EQ(
        QString::fromUtf8(lines[2]),
        QStringLiteral("合計\t3,826,375,200,000\t19,131,876,000,000,000,000\t19,131,872,173,624,800,000"));
    const QByteArray json = book_to_json(*book);
    EXPECT_TRUE(json.contains("\"won\": 9565938000000000000, \"purchases\""));
    EXPECT_TRUE(json.endsWith("{\"bought\": 3826375200000, \"won\": 19131876000000000000, "
                              "\"balance\": 19131872173624800000}}\n"));
}

TEST(CliBook, ListEscapesBackslashTabAndLineBreaksInTexts)
{
    TicketBook book;
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto, "a\tb\\\r\nc")).ok);
    const QByteArray text = list_text(book);
    EXPECT_TRUE(text.startsWith("a\\tb\\\\\\r\\nc\ttoto\t0\t")) << text.toStdString();
    EXPECT_EQ(text.count('\n'), 2);
}

TEST(CliBook, ExportCsvRefusesALabelWithACommaAndWritesNothing)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("comma.yrm"));
    TicketBook book;
    ASSERT_TRUE(add_entry(book, make_entry(LotteryKind::toto, "1,2")).ok);
    ASSERT_TRUE(write_data(book, path).ok);
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    EXPECT_EQ(cli_export_csv({path, QStringLiteral("1"), out}), 1);
    EXPECT_FALSE(QFile::exists(out));
}
