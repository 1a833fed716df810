#include "download/tag_scanner.h"

#include "book/leading_digits.h"

#include <array>
#include <limits>
#include <utility>

namespace {

QChar upper_ascii(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') ? QChar(static_cast<char16_t>(u - (u'a' - u'A'))) : c;
}

bool is_digit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// What ends a tag's name or an attribute: blanks and line breaks, or the tag's end.
bool ends_word(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'>';
}

// Left out of a cell's text: blanks (also the no-break space), line breaks and commas.
bool skipped_in_cell(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u',' || c == QChar(0xA0);
}

int hex_value(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The character reference at text[i] (an "&"): &amp; &lt; &gt; &quot; &apos; &nbsp;, &#N;
// and &#xH;. Gives its text and moves i past the ";"; nothing when there is none there,
// and the "&" stands for itself.
std::optional<QString> char_reference(const QString &text, qsizetype &i)
{
    constexpr qsizetype kLongest = 10; // "&#x10FFFF;"
    qsizetype semicolon = i + 1;
    while (semicolon < text.size() && semicolon - i <= kLongest && text[semicolon] != u';')
        ++semicolon;
    if (semicolon >= text.size() || text[semicolon] != u';')
        return std::nullopt;
    const QStringView name = QStringView(text).mid(i + 1, semicolon - i - 1);
    static const std::array<std::pair<QStringView, char16_t>, 6> kNamed = {{
        {u"amp", u'&'},
        {u"lt", u'<'},
        {u"gt", u'>'},
        {u"quot", u'"'},
        {u"apos", u'\''},
        {u"nbsp", char16_t{0xA0}},
    }};
    QString out;
    for (const auto &[entity, c] : kNamed) {
        if (name == entity)
            out = QChar(c);
    }
    if (out.isEmpty() && name.size() >= 2 && name[0] == u'#') {
        const bool hex = name[1] == u'x' || name[1] == u'X';
        const QStringView number = name.mid(hex ? 2 : 1);
        char32_t value = 0;
        for (QChar c : number) {
            const int d = hex ? hex_value(c) : (is_digit(c) ? c.unicode() - u'0' : -1);
            if (d < 0 || value > 0x10FFFF)
                return std::nullopt;
            value = value * (hex ? 16u : 10u) + static_cast<char32_t>(d);
        }
        if (number.isEmpty())
            return std::nullopt;
        const bool valid = value > 0 && value <= 0x10FFFF && !(value >= 0xD800 && value <= 0xDFFF);
        out = valid ? QString::fromUcs4(&value, 1) : QString(QChar(QChar::ReplacementCharacter));
    }
    if (out.isEmpty())
        return std::nullopt;
    i = semicolon + 1;
    return out;
}

} // namespace

std::optional<QString> decode_utf8(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    auto at = [&](qsizetype i) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[i])); };
    QString out;
    out.reserve(n);
    qsizetype i = 0;
    while (i < n) {
        const unsigned b = at(i);
        if (b < 0x80) {
            out.append(QChar(static_cast<char16_t>(b)));
            ++i;
        } else if (b < 0xC0 || b >= 0xFE) {
            ++i; // a stray continuation byte or an invalid lead: no output
        } else if (b < 0xE0) {
            if (i + 2 > n)
                return std::nullopt;
            out.append(QChar(static_cast<char16_t>(((b & 0x1F) << 6) | (at(i + 1) & 0x3F))));
            i += 2;
        } else if (b < 0xF0) {
            if (i + 3 > n)
                return std::nullopt;
            const unsigned b1 = at(i + 1);
            const unsigned b2 = at(i + 2);
            if (!(b == 0xEF && b1 == 0xBB && b2 == 0xBF))
                out.append(
                    QChar(static_cast<char16_t>(((b & 0x0F) << 12) | ((b1 & 0x3F) << 6) | (b2 & 0x3F))));
            i += 3;
        } else {
            const qsizetype length = b < 0xF8 ? 4 : (b < 0xFC ? 5 : 6);
            if (i + length > n)
                return std::nullopt;
            // Characters beyond the 16-bit plane: a surrogate pair when the value is one,
            // otherwise two replacement characters.
            char32_t value = 0;
            if (length == 4) {
                value = ((b & 0x07) << 18) | ((at(i + 1) & 0x3F) << 12) | ((at(i + 2) & 0x3F) << 6) |
                        (at(i + 3) & 0x3F);
            }
            if (value >= 0x10000 && value <= 0x10FFFF) {
                out.append(QChar(QChar::highSurrogate(value)));
                out.append(QChar(QChar::lowSurrogate(value)));
            } else {
                out.append(QChar(QChar::ReplacementCharacter));
                out.append(QChar(QChar::ReplacementCharacter));
            }
            i += length;
        }
    }
    return out;
}

bool move_tag_start(const QString &text, qsizetype &pos)
{
    const qsizetype n = text.size();
    if (pos < 1)
        pos = 1;
    while (pos <= n && text[pos - 1] != u'<')
        ++pos;
    return pos <= n;
}

void get_tag(const QString &text, qsizetype &pos, QString &name, QString &first, QString &second)
{
    name.clear();
    first.clear();
    second.clear();
    const qsizetype n = text.size();
    auto ch = [&]() { return text[pos - 1]; };
    // Takes the next quoted value from the position on (double or single quotes), its
    // character references decoded.
    auto quoted = [&](QString &into) {
        while (pos <= n && ch() != u'"' && ch() != u'\'')
            ++pos;
        const QChar quote = pos <= n ? ch() : QChar(u'"');
        ++pos;
        while (pos <= n && ch() != quote) {
            qsizetype i = pos - 1;
            if (const std::optional<QString> decoded =
                    ch() == u'&' ? char_reference(text, i) : std::nullopt) {
                into.append(*decoded);
                pos = i + 1;
            } else {
                into.append(ch());
                ++pos;
            }
        }
        ++pos;
    };
    auto digits = [&](QString &into) {
        while (pos <= n && !is_digit(ch()))
            ++pos;
        into.clear();
        while (pos <= n && is_digit(ch())) {
            into.append(ch());
            ++pos;
        }
    };

    ++pos;
    while (pos <= n && !ends_word(ch())) {
        name.append(upper_ascii(ch()));
        ++pos;
    }
    if (name == u"A") {
        quoted(first);
    } else if (name == u"TD" || name == u"TH" || name == u"AREA" || name == u"UPDATE") {
        while (pos <= n && ch() != u'>') {
            ++pos; // the separating character
            QString attribute;
            while (pos <= n && ch() != u'=' && !ends_word(ch())) {
                attribute.append(upper_ascii(ch()));
                ++pos;
            }
            if (name == u"TD" || name == u"TH") {
                if (attribute == u"ROWSPAN")
                    digits(first);
                else if (attribute == u"COLSPAN")
                    digits(second);
            } else if (name == u"AREA") {
                if (attribute == u"HREF")
                    quoted(first);
                else if (attribute == u"ALT")
                    quoted(second);
            } else {
                if (attribute == u"DATE")
                    quoted(first);
                else if (attribute == u"TIME")
                    quoted(second);
            }
            while (pos <= n && !ends_word(ch()))
                ++pos;
        }
    }
    while (pos <= n && ch() != u'>')
        ++pos;
    ++pos;
    if (pos > n + 1)
        pos = n + 1;
}

bool get_tbl_data(const QString &text, qsizetype &pos, QString &name, QString &cell)
{
    const QString closing = name == u"TD" ? QStringLiteral("/TD") : QStringLiteral("/TH");
    cell.clear();
    QString first;
    QString second;
    const qsizetype n = text.size();
    while (pos <= n) {
        const QChar c = text[pos - 1];
        qsizetype i = pos - 1;
        if (skipped_in_cell(c)) {
            ++pos;
        } else if (c == u'<') {
            get_tag(text, pos, name, first, second);
            if (name == closing || name == u"TABLE")
                return true;
        } else if (const std::optional<QString> decoded =
                       c == u'&' ? char_reference(text, i) : std::nullopt) {
            if (!(decoded->size() == 1 && skipped_in_cell(decoded->front())))
                cell.append(*decoded);
            pos = i + 1;
        } else {
            cell.append(c);
            ++pos;
        }
    }
    return false;
}

QString chg_kai(const QString &text)
{
    const DigitRun run = leading_digits(text, first_digit(text, 0, Digits::with_full_width), no_blank,
                                        std::numeric_limits<int>::max(), Digits::with_full_width);
    QString digits;
    digits.reserve(run.count);
    for (qsizetype i = run.begin; i < run.end; ++i)
        digits.append(QChar(static_cast<char16_t>(u'0' + digit_value(text[i], Digits::with_full_width))));
    return digits;
}

QString ascii_digits(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const int d = digit_value(c, Digits::with_full_width);
        if (d >= 0)
            c = QChar(static_cast<char16_t>(u'0' + d));
    }
    return out;
}

int leading_number(const QString &text, bool *had_digits)
{
    const DigitRun run = leading_digits(
        text, 0, [](QChar c) { return c.isSpace(); }, std::numeric_limits<int>::max(),
        Digits::with_full_width);
    if (had_digits)
        *had_digits = run.count > 0;
    return static_cast<int>(run.value);
}

bool TagScanner::next_tag()
{
    if (!move_tag_start(text, pos))
        return false;
    get_tag(text, pos, name, first, second);
    return true;
}

bool TagScanner::seek(std::initializer_list<const char16_t *> names)
{
    while (next_tag()) {
        for (const char16_t *wanted : names) {
            if (name == QStringView(wanted))
                return true;
        }
    }
    return false;
}
