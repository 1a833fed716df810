#pragma once

#include <QString>
#include <QStringView>

// Byte limits of the text boxes where round labels and team names are typed. Texts are
// measured in bytes of their Shift-JIS form, the form in which the book stores them.

// What a box says of its limit, on its tooltip and when it cuts what was typed or pasted.
QString text_limit_hint(); // "全角5文字・半角10文字まで"

// Key codes of filter_key_bytes: a typed character is known by its Shift-JIS code, so a
// single-byte character has a code from 1 to 255 and a double-byte character a larger one.
inline constexpr int kBackspaceKey = 8;
inline constexpr int kNoShiftJisKey = -1; // a character that Shift-JIS cannot store

// The key code of typed text (one character, or a surrogate pair).
int shift_jis_key_code(QStringView typed);

// Bytes of text in Shift-JIS; a character without a Shift-JIS form counts 1.
int text_bytes(QStringView text);

// Whether the text box may take a typed key: Backspace always passes; a double-byte
// character is refused when bytes(text) - bytes(selected_text) > limit - 2; any other key
// when bytes(text) >= limit and nothing is selected. A character without a Shift-JIS
// form is always refused.
bool filter_key_bytes(int key, const QString &text, const QString &selected_text, int selection_length,
                      int limit);

// The maximum length in characters of a text box just before `clipboard` is pasted into
// it, so that the pasted text stops at the byte limit. `selection_start` is ignored
// without a selection (`selection_length` 0).
int paste_char_limit(const QString &text, int selection_start, int selection_length, const QString &clipboard,
                     int limit);

// A change of a text box brought back within its limits.
struct FittedText {
    QString text;
    int cursor = 0;   // where the inserted text now ends
    bool cut = false; // some of the inserted text was dropped
};

// The final guard of every way text enters a box (typing, input-method commits, paste,
// drag and drop): the part of `after` that was inserted into `before` is kept up to the
// last whole character within `char_limit` characters and `byte_limit` bytes, and
// characters without a Shift-JIS form are dropped. Text that was only deleted is kept.
FittedText fit_text_change(const QString &before, const QString &after, int char_limit, int byte_limit);
