#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Windows code page 932, the encoding of every text the program stores.
namespace shift_jis {

// Bytes 0x81..0x9F and 0xE0..0xFC start a double-byte character.
bool is_lead_byte(unsigned char byte);

// Encodes text; `ok` is set false when a character has no Shift-JIS form.
QByteArray encode(const QString &text, bool *ok = nullptr);
QString decode(const QByteArray &bytes);

// Bytes the text takes in Shift-JIS.
int byte_length(const QString &text);

// True when the bytes are Shift-JIS text: every byte a single-byte character or, with
// the byte after it, a double-byte character the code page assigns.
bool is_valid(QByteArrayView bytes);

// True when the bytes end inside a double-byte character (a lead byte last).
bool ends_in_lead_byte(QByteArrayView bytes);

} // namespace shift_jis
