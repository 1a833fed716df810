#include "download/tag_scanner.h"

#include <limits>

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
    // Takes the next double-quoted value from the position on.
    auto quoted = [&](QString &into) {
        while (pos <= n && ch() != u'"')
            ++pos;
        ++pos;
        while (pos <= n && ch() != u'"') {
            into.append(ch());
            ++pos;
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
    while (pos <= n && ch() != u' ' && ch() != u'>') {
        name.append(upper_ascii(ch()));
        ++pos;
    }
    if (name == u"A") {
        quoted(first);
    } else if (name == u"TD" || name == u"TH" || name == u"AREA" || name == u"UPDATE") {
        while (pos <= n && ch() != u'>') {
            ++pos; // the separating character
            QString attribute;
            while (pos <= n && ch() != u'=' && ch() != u' ' && ch() != u'>') {
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
            while (pos <= n && ch() != u' ' && ch() != u'>')
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
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u',') {
            ++pos;
        } else if (c == u'<') {
            get_tag(text, pos, name, first, second);
            if (name == closing || name == u"TABLE")
                return true;
        } else {
            cell.append(c);
            ++pos;
        }
    }
    return false;
}

QString chg_kai(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && !is_digit(text[i]))
        ++i;
    const qsizetype start = i;
    while (i < text.size() && is_digit(text[i]))
        ++i;
    return text.mid(start, i - start);
}

int leading_number(const QString &text, bool *had_digits)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    long long value = 0;
    bool any = false;
    while (i < text.size() && is_digit(text[i])) {
        any = true;
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > std::numeric_limits<int>::max())
            value = std::numeric_limits<int>::max();
        ++i;
    }
    if (had_digits)
        *had_digits = any;
    return static_cast<int>(value);
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
