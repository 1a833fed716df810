#include "cli/book_json.h"
#include "results/winning_check.h"
#include "support/book_builders.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

TEST(BookJson, KeysInOrderAndUsedSlotsOnly)
{
    TicketBook book;
    RoundEntry e = make_entry(LotteryKind::totoGOAL2, "第9回");
    e.teams[0].team = sjis("\"引用\"");
    e.teams[1].score = 3;
    EXPECT_TRUE(add_entry(book, e).ok);
    EXPECT_TRUE(add_single(book, 0, make_single({0, 2, 2, 3})).ok);
    EXPECT_TRUE(add_multi(book, 0, make_multi({"1100", "0001", "1110", "0100"})).ok);
    result_chk(book, 0);
    const QByteArray json = book_to_json(book);
    EXPECT_EQ(
        QString::fromUtf8(json),
        QStringLiteral(
            "{\"entries\": [{\"kai\": \"第9回\", \"kind\": 5, \"kind_name\": \"totoGOAL2\", "
            "\"slots\": [{\"team\": \"\\\"引用\\\"\", \"score\": 0}, {\"team\": \"T1\", \"score\": 3}, "
            "{\"team\": \"T2\", \"score\": 0}, {\"team\": \"T3\", \"score\": 0}], "
            "\"has_grade3\": false, \"has_grade5\": false, \"has_grade6\": false, \"state\": 0, "
            "\"prizes\": [0, 0, 0, 0, 0, 0], \"tickets\": 7, \"hits\": [1, 0, 0, 0, 0, 0, 6], \"won\": 0, "
            "\"purchases\": [{\"type\": \"single\", \"picks\": [0, 2, 2, 3]}, "
            "{\"type\": \"multi\", \"marks\": [[1, 1, 0, 0], [0, 0, 0, 1], [1, 1, 1, 0], [0, 1, 0, 0]], "
            "\"combos\": 6}]}],\n \"totals\": {\"bought\": 700, \"won\": 0, \"balance\": -700}}\n"));
    QJsonParseError error{};
    QJsonDocument::fromJson(json, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError);
}

TEST(BookJson, ManyEntriesMakeValidJsonWithOneEntryPerLine)
{
    std::mt19937 rng(5);
    TicketBook book = random_book(rng, 9, 30);
    const QByteArray json = book_to_json(book);
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.toStdString();
    EXPECT_EQ(doc.object().value(QStringLiteral("entries")).toArray().size(), 9);
    EXPECT_EQ(json.count('\n'), 9 + 1);
    const QJsonObject totals = doc.object().value(QStringLiteral("totals")).toObject();
    EXPECT_EQ(totals.value(QStringLiteral("balance")).toInteger(),
              totals.value(QStringLiteral("won")).toInteger() -
                  totals.value(QStringLiteral("bought")).toInteger());
}
