#include "book/message_text.h"

#include <QRegularExpression>

QString escape_controls(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u != 0x7F) {
            out += c;
            continue;
        }
        switch (u) {
        case u'\0': out += QStringLiteral("\\0"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        default: out += QStringLiteral("\\x%1").arg(static_cast<int>(u), 2, 16, QLatin1Char('0'));
        }
    }
    return out;
}

QString file_name_part(const QString &text)
{
    static const QRegularExpression unsafe(QStringLiteral("[\\s\\x00-\\x1f\\x7f/\\\\:*?\"<>|]+"));
    QString part = text;
    part.remove(unsafe);
    return part;
}

namespace {

// The number inside a label: the label without a leading 第 and a trailing 回, when what is
// left is digits; null otherwise.
QStringView bare_number(QStringView kai, bool *has_mark)
{
    if (kai.startsWith(u'第'))
        kai = kai.mid(1);
    *has_mark = kai.endsWith(u'回');
    if (*has_mark)
        kai.chop(1);
    if (kai.isEmpty())
        return {};
    for (const QChar c : kai)
        if (!c.isDigit())
            return {};
    return kai;
}

} // namespace

QString kai_caption(const QString &kai)
{
    bool has_mark = false;
    const QStringView number = bare_number(kai, &has_mark);
    if (number.isNull())
        return kai;
    return u'第' + number.toString() + u'回';
}

bool kai_takes_round_mark(const QString &kai)
{
    bool has_mark = false;
    return !bare_number(kai, &has_mark).isNull() && !has_mark;
}
