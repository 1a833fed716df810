#pragma once

#include <QByteArrayView>
#include <QString>
#include <initializer_list>
#include <optional>

// The small scanner every page reader is built on. Positions are 1-based indexes into the
// page text and only ever move forward, so each reader is one pass over the page.

// The received bytes as text. Byte-order marks and stray bytes are dropped; a multi-byte
// sequence cut off by the end of the data gives no text (the page counts as rejected).
std::optional<QString> decode_utf8(QByteArrayView bytes);

// Moves to the next "<"; false when the text ends first.
bool move_tag_start(const QString &text, qsizetype &pos);

// Reads the tag at `pos` (on its "<") and moves past its ">". The name comes upper-cased
// ("TD", "/TR"); `first` and `second` get the attribute values the tag's kind carries
// (A: its first quoted value; TD/TH: ROWSPAN, COLSPAN; AREA: HREF, ALT; UPDATE: DATE, TIME).
void get_tag(const QString &text, qsizetype &pos, QString &name, QString &first, QString &second);

// Reads the visible text of a TD or TH cell (blanks, line breaks, commas and tags left out)
// up to its closing tag or a nested TABLE; `name` holds the cell's tag and is left holding
// the last tag read. False when the text ends first.
bool get_tbl_data(const QString &text, qsizetype &pos, QString &name, QString &cell);

// The first run of digits in the text ("" when there is none), full-width digits written
// as "0"-"9"; leading zeros are kept.
QString chg_kai(const QString &text);

// The text with full-width digits written as "0"-"9".
QString ascii_digits(const QString &text);

// The value of the digits (also full-width) at the start of the text (after blanks), 0 when
// there are none; saturates instead of overflowing.
int leading_number(const QString &text, bool *had_digits = nullptr);

// A cursor over one page: the tag just read and its values.
struct TagScanner {
    explicit TagScanner(const QString &page) : text(page) {}

    const QString &text;
    qsizetype pos = 1;
    QString name;
    QString first;
    QString second;

    // Reads the next tag; false at the end of the text.
    bool next_tag();
    // Reads tags until one of `names`; false at the end of the text.
    bool seek(std::initializer_list<const char16_t *> names);
    bool is(const char16_t *tag) const { return name == QStringView(tag); }
    bool is_cell() const { return is(u"TD") || is(u"TH"); }
    // The cell whose opening tag was just read.
    bool cell(QString &out) { return get_tbl_data(text, pos, name, out); }
};
