#include "entry/text_limits.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

QString u8(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

bool accepts(const char *typed, const char *text, const char *selected = "")
{
    const QString sel = u8(selected);
    return filter_key_bytes(shift_jis_key_code(u8(typed)), u8(text), sel, static_cast<int>(sel.size()), 10);
}

} // namespace

TEST(TextLimits, MeasuresShiftJisBytes)
{
    EXPECT_EQ(text_bytes(u8("1234567890")), 10);
    EXPECT_EQ(text_bytes(u8("ＡＢＣＤＥ")), 10);
    EXPECT_EQ(text_bytes(u8("ｶﾞﾝﾊﾞ大阪")), 9); // half-width katakana take one byte
    EXPECT_EQ(text_bytes(u8("FC東京")), 6);
}

TEST(TextLimits, KeyCodesFollowShiftJis)
{
    EXPECT_EQ(shift_jis_key_code(u"a"), 0x61);
    EXPECT_EQ(shift_jis_key_code(u8("ｱ")), 0xB1);
    EXPECT_EQ(shift_jis_key_code(u8("あ")), 0x82A0);
    EXPECT_EQ(shift_jis_key_code(u"\b"), kBackspaceKey);
    EXPECT_EQ(shift_jis_key_code(u8("😀")), kNoShiftJisKey);
}

TEST(TextLimits, TypedKeysStopAtTenBytes)
{
    EXPECT_TRUE(accepts("0", "123456789"));
    EXPECT_FALSE(accepts("1", "1234567890"));
    EXPECT_FALSE(accepts("あ", "123456789"));
    EXPECT_TRUE(accepts("あ", "12345678"));
    EXPECT_FALSE(accepts("ｱ", "ＡＢＣＤＥ"));
    EXPECT_TRUE(filter_key_bytes(kBackspaceKey, u8("ＡＢＣＤＥ"), QString(), 0, 10));
    EXPECT_FALSE(accepts("😀", ""));
}

TEST(TextLimits, TypingOverASelectionCountsWhatItReplaces)
{
    EXPECT_TRUE(accepts("あ", "ＡＢＣＤＥ", "ＡＢＣＤＥ"));
    EXPECT_TRUE(accepts("あ", "abcdefghあ", "あ"));
    // One single-byte character selected leaves no room for a double-byte one.
    EXPECT_FALSE(accepts("あ", "abcdefghij", "j"));
    EXPECT_TRUE(accepts("x", "abcdefghij", "j"));
}

TEST(TextLimits, PasteLimitCountsCharactersUpToTheByteLimit)
{
    // No selection: the clipboard is counted up to the character that reaches 10 bytes.
    EXPECT_EQ(paste_char_limit(u8("あいう"), 0, 0, u8("えおか"), 10), 5);
    EXPECT_EQ(paste_char_limit(u8("あいう"), 0, 0, u8("abcde"), 10), 7);
    EXPECT_EQ(paste_char_limit(u8("abc"), 0, 0, u8("あいうえ"), 10), 6);
    EXPECT_EQ(paste_char_limit(u8("ab"), 0, 0, u8("cd"), 10), 10);
    EXPECT_EQ(paste_char_limit(u8("1234567890"), 0, 0, u8("X"), 10), 10);
    // Selected characters do not count; a single-byte character right after the
    // selection takes one off.
    EXPECT_EQ(paste_char_limit(u8("あいうえお"), 1, 2, u8("abcd"), 10), 7);
    EXPECT_EQ(paste_char_limit(u8("abcdefghij"), 1, 2, u8("XYZ"), 10), 9);
    EXPECT_EQ(paste_char_limit(u8("ＡＢＣＤＥ"), 0, 5, u8("1234567890123"), 10), 10);
    EXPECT_EQ(paste_char_limit(u8("ab"), 0, 0, QString(), 10), 10);
}

TEST(TextLimits, ChangesAreCutAtTheLastWholeCharacter)
{
    // An input-method commit of 14 bytes into an empty box.
    FittedText f = fit_text_change(QString(), u8("東京ヴェルディ"), 10, 10);
    EXPECT_EQ(f.text, u8("東京ヴェル"));
    EXPECT_EQ(f.cursor, 5);
    EXPECT_TRUE(f.cut);

    // Inserted in the middle: the text around it stays.
    f = fit_text_change(u8("abcd"), u8("abあいうえおcd"), 10, 10);
    EXPECT_EQ(f.text, u8("abあいうcd"));
    EXPECT_EQ(f.cursor, 5);

    // Nine bytes present: a double-byte character cannot be half kept.
    f = fit_text_change(u8("123456789"), u8("123456789あ"), 10, 10);
    EXPECT_EQ(f.text, u8("123456789"));
    EXPECT_TRUE(f.cut);

    // A character limit from a paste applies too.
    f = fit_text_change(u8("a"), u8("aXYZ"), 3, 10);
    EXPECT_EQ(f.text, u8("aXY"));
}

TEST(TextLimits, CharactersWithoutShiftJisAreDropped)
{
    const FittedText f = fit_text_change(u8("ab"), u8("ab😀c"), 10, 10);
    EXPECT_EQ(f.text, u8("abc"));
    EXPECT_TRUE(f.cut);
}

TEST(TextLimits, ChangesWithinTheLimitsPass)
{
    FittedText f = fit_text_change(u8("abc"), u8("abあc"), 10, 10);
    EXPECT_EQ(f.text, u8("abあc"));
    EXPECT_FALSE(f.cut);
    // Deleting never cuts, even below a stale character limit.
    f = fit_text_change(u8("abcdefghij"), u8("abcdefghi"), 5, 10);
    EXPECT_EQ(f.text, u8("abcdefghi"));
    EXPECT_FALSE(f.cut);
    // Replacing a selection by a shorter text.
    f = fit_text_change(u8("ＡＢＣＤＥ"), u8("ＡＸＥ"), 10, 10);
    EXPECT_EQ(f.text, u8("ＡＸＥ"));
    EXPECT_FALSE(f.cut);
}
