#include "entry/text_limits.h"

#include "platform/shift_jis.h"

#include <algorithm>

namespace {

// The Shift-JIS bytes of one character (or surrogate pair), empty when it has none.
QByteArray char_bytes(QStringView character)
{
    bool ok = false;
    QByteArray bytes = shift_jis::encode(character.toString(), &ok);
    return ok ? bytes : QByteArray();
}

// Length in QChars of the character that starts at `at`.
qsizetype char_width(QStringView text, qsizetype at)
{
    if (text[at].isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate())
        return 2;
    return 1;
}

} // namespace

QString text_limit_hint()
{
    return QStringLiteral("全角5文字・半角10文字まで");
}

int shift_jis_key_code(QStringView typed)
{
    if (typed == u"\b")
        return kBackspaceKey;
    const QByteArray bytes = char_bytes(typed);
    if (bytes.isEmpty())
        return kNoShiftJisKey;
    int code = 0;
    for (const char byte : bytes)
        code = code * 256 + static_cast<unsigned char>(byte);
    // Several characters at once are held to the stricter double-byte rule.
    return bytes.size() == 1 ? code : std::max(code, 256);
}

int text_bytes(QStringView text)
{
    int bytes = 0;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype width = char_width(text, at);
        const QByteArray one = char_bytes(text.mid(at, width));
        bytes += one.isEmpty() ? 1 : static_cast<int>(one.size());
        at += width;
    }
    return bytes;
}

bool filter_key_bytes(int key, const QString &text, const QString &selected_text, int selection_length,
                      int limit)
{
    if (key == kBackspaceKey)
        return true;
    if (key == kNoShiftJisKey)
        return false;
    if (key < 1 || key > 255)
        return text_bytes(text) - text_bytes(selected_text) <= limit - 2;
    return !(text_bytes(text) >= limit && selection_length == 0);
}

int paste_char_limit(const QString &text, int selection_start, int selection_length, const QString &clipboard,
                     int limit)
{
    int chars = 0;
    int bytes = 0;
    int adjustment = 0;
    const bool selected = selection_length > 0;
    for (int p = 0; p < text.size(); ++p) {
        if (!selected || p < selection_start || p > selection_start + selection_length - 1) {
            ++chars;
            bytes += text_bytes(QStringView(text).mid(p, 1));
        }
    }
    const int after_selection = selection_start + selection_length;
    if (selected && after_selection < text.size() &&
        text_bytes(QStringView(text).mid(after_selection, 1)) == 1)
        adjustment = 1;
    for (int p = 0; p < clipboard.size(); ++p) {
        ++chars;
        bytes += text_bytes(QStringView(clipboard).mid(p, 1));
        if (bytes >= limit)
            break;
    }
    return chars + (limit - bytes) - adjustment;
}

FittedText fit_text_change(const QString &before, const QString &after, int char_limit, int byte_limit)
{
    // The inserted part lies between the longest common prefix and suffix.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    if (prefix > 0 && after[prefix - 1].isHighSurrogate())
        --prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    if (suffix > 0 && after[after.size() - suffix].isLowSurrogate())
        --suffix;

    const QStringView inserted = QStringView(after).mid(prefix, after.size() - prefix - suffix);
    if (inserted.isEmpty())
        return {after, static_cast<int>(prefix), false};

    const QString head = after.left(prefix);
    const QString tail = after.right(suffix);
    qsizetype length = head.size() + tail.size();
    int bytes = text_bytes(head) + text_bytes(tail);
    QString kept;
    bool cut = false;
    for (qsizetype at = 0; at < inserted.size();) {
        const qsizetype width = char_width(inserted, at);
        const QStringView character = inserted.mid(at, width);
        at += width;
        const QByteArray one = char_bytes(character);
        if (one.isEmpty()) {
            cut = true;
            continue;
        }
        if (bytes + one.size() > byte_limit || length + width > char_limit) {
            cut = true;
            break;
        }
        kept += character;
        bytes += static_cast<int>(one.size());
        length += width;
    }
    return {head + kept + tail, static_cast<int>(head.size() + kept.size()), cut};
}
