#include "platform/shift_jis.h"

#include <gtest/gtest.h>

TEST(ShiftJis, ByteLengthCountsDoubleByteCharactersTwice)
{
    EXPECT_EQ(shift_jis::byte_length(QStringLiteral("1234567890")), 10);
    EXPECT_EQ(shift_jis::byte_length(QStringLiteral("川崎Ｆ")), 6);
    EXPECT_EQ(shift_jis::byte_length(QStringLiteral("ｶﾞﾝﾊﾞ")), 5) << "half-width kana take one byte";
    EXPECT_EQ(shift_jis::byte_length(QStringLiteral("FC東京")), 6);
}

TEST(ShiftJis, RoundTripsTheProgramsOwnTexts)
{
    for (const QString &text : {QStringLiteral("ｙｏｒｉｍｏ"), QStringLiteral("～－①"),
                                QStringLiteral("横浜FM"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報")}) {
        bool ok = false;
        const QByteArray bytes = shift_jis::encode(text, &ok);
        EXPECT_TRUE(ok);
        EXPECT_EQ(shift_jis::decode(bytes), text);
    }
    EXPECT_EQ(shift_jis::encode(QStringLiteral("Ａ")), QByteArray("\x82\x60"));
}

TEST(ShiftJis, CharactersWithoutAShiftJisFormAreReported)
{
    bool ok = true;
    shift_jis::encode(QString::fromUtf8("a\xF0\x9F\x98\x80"), &ok);
    EXPECT_FALSE(ok);
}

TEST(ShiftJis, LeadBytesAndBrokenEndings)
{
    EXPECT_TRUE(shift_jis::is_lead_byte(0x81));
    EXPECT_TRUE(shift_jis::is_lead_byte(0x9F));
    EXPECT_FALSE(shift_jis::is_lead_byte(0xA0));
    EXPECT_FALSE(shift_jis::is_lead_byte(0xDF));
    EXPECT_TRUE(shift_jis::is_lead_byte(0xE0));
    EXPECT_TRUE(shift_jis::is_lead_byte(0xFC));
    EXPECT_FALSE(shift_jis::is_lead_byte(0xFD));
    EXPECT_FALSE(shift_jis::ends_in_lead_byte(QByteArray("\x90\xec\x8d\xe8", 4)));
    EXPECT_TRUE(shift_jis::ends_in_lead_byte(QByteArray("ab\x90", 3)));
    // The second byte of a pair may look like a lead byte; it is still a trail byte.
    EXPECT_FALSE(shift_jis::ends_in_lead_byte(QByteArray("\x81\x81", 2)));
    EXPECT_TRUE(shift_jis::ends_in_lead_byte(QByteArray("\x81\x81\x81", 3)));
}
