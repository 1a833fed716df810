#include "download/team_names.h"

#include "download/tag_scanner.h"
#include "platform/shift_jis.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Splits a stamp value into exactly `parts` decimal numbers.
bool stamp_parts(const QString &value, QChar separator, qsizetype parts, std::vector<int> &into)
{
    const QStringList pieces = value.split(separator);
    if (pieces.size() != parts)
        return false;
    for (const QString &piece : pieces) {
        if (piece.isEmpty() || piece.size() > 5)
            return false;
        for (QChar c : piece) {
            if (c.unicode() < u'0' || c.unicode() > u'9')
                return false;
        }
        const int number = piece.toInt();
        if (number > 32767)
            return false; // the stamp's parts are 16-bit
        into.push_back(number);
    }
    return true;
}

int char_bytes(QStringView character)
{
    const char16_t u = character[0].unicode();
    if (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F))
        return 1;
    return shift_jis::byte_length(character.toString());
}

bool drops_from_short_form(char16_t u)
{
    return (u >= u'ぁ' && u <= u'ヶ') || u == u'・' || u == u'ー' || (u >= u'０' && u <= u'９');
}

} // namespace

bool is_newer_stamp(const TeamListStamp &held, const TeamListStamp &candidate)
{
    return held.year == 0 || held < candidate;
}

bool get_teamname(TeamNameTable &table, const QString &text)
{
    TagScanner s(text);
    if (!s.seek({u"TOTOTEAM"}) || !s.seek({u"UPDATE"}))
        return false;
    std::vector<int> parts;
    if (!stamp_parts(s.first, u'/', 3, parts) || !stamp_parts(s.second, u':', 2, parts))
        return false;
    const TeamListStamp candidate{parts[0], parts[1], parts[2], parts[3], parts[4]};
    if (!is_newer_stamp(table.stamp, candidate))
        return true;

    table.rows.clear();
    if (!s.seek({u"ITEM_LIST"}))
        return false;
    bool in_item = false;
    qsizetype long_start = 0;
    qsizetype short_start = 0;
    QString long_name;
    QString short_name;
    for (;;) {
        if (!move_tag_start(text, s.pos))
            return false;
        const qsizetype tag_at = s.pos;
        get_tag(text, s.pos, s.name, s.first, s.second);
        if (s.is(u"ITEM")) {
            in_item = true;
            long_start = short_start = 0;
            long_name.clear();
            short_name.clear();
        } else if (s.is(u"/ITEM_LIST")) {
            table.stamp = candidate;
            return true;
        } else if (!in_item) {
            continue;
        } else if (s.is(u"LONG_NAME")) {
            long_start = s.pos;
        } else if (s.is(u"SHORT_NAME")) {
            short_start = s.pos;
        } else if (s.is(u"/LONG_NAME") && long_start > 0) {
            long_name = text.mid(long_start - 1, tag_at - long_start);
            long_start = 0;
        } else if (s.is(u"/SHORT_NAME") && short_start > 0) {
            short_name = text.mid(short_start - 1, tag_at - short_start);
            short_start = 0;
        } else if (s.is(u"/ITEM")) {
            if (!long_name.isEmpty() && !short_name.isEmpty())
                table.rows.push_back({long_name, short_name});
            in_item = false;
        }
    }
}

QString chg_team_name_size(const QString &name)
{
    int bytes = 0;
    qsizetype i = 0;
    while (i < name.size()) {
        const qsizetype width = (name[i].isHighSurrogate() && i + 1 < name.size()) ? 2 : 1;
        bytes += char_bytes(QStringView(name).mid(i, width));
        if (bytes > 10)
            break;
        i += width;
    }
    return name.left(i);
}

std::optional<QString> find_short_name(const TeamNames &names, const QString &name)
{
    for (const TeamNameRow &row : names.downloaded.rows) {
        if (row.long_name == name)
            return chg_team_name_size(row.short_name);
    }
    for (const TeamNameRow &row : names.bundled) {
        if (row.long_name == name)
            return chg_team_name_size(row.short_name);
    }
    return std::nullopt;
}

QString chg_team_name(const TeamNames &names, const QString &name)
{
    if (std::optional<QString> known = find_short_name(names, name))
        return *known;
    QString short_form;
    for (QChar c : name) {
        if (!drops_from_short_form(c.unicode()))
            short_form.append(c);
    }
    return chg_team_name_size(short_form.isEmpty() ? name : short_form);
}

std::vector<TeamNameRow> read_bundled_team_names(const QString &path)
{
    QFile file(path);
    // The shipped list is small; anything far larger is not ours.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 1024 * 1024)
        return {};
    const std::optional<QString> text = decode_utf8(file.readAll());
    TeamNameTable table;
    if (!text || !get_teamname(table, *text))
        return {};
    return table.rows;
}

QString bundled_team_names_path()
{
    const QDir folder(QCoreApplication::applicationDirPath());
    const QString beside = folder.filePath(QStringLiteral("tototeam.xml"));
    if (QFileInfo::exists(beside))
        return beside;
    return folder.filePath(QStringLiteral("../share/yorimo/tototeam.xml"));
}
