#include "download/section_names.h"

namespace {

// The text from `start` up to `marker`, or nothing when the marker is not there.
std::optional<QString> up_to(const QString &cell, qsizetype start, QStringView marker)
{
    const qsizetype end = cell.indexOf(marker);
    if (start < 0 || end < start)
        return std::nullopt;
    return cell.mid(start, end - start);
}

} // namespace

std::optional<QString> section_name(const QString &cell, bool big, bool results)
{
    const qsizetype kai = cell.indexOf(u'回');
    if (kai < 0)
        return std::nullopt;
    if (!results) {
        if (!big)
            return cell.contains(u"くじ情報") ? up_to(cell, kai + 1, u"くじ情報") : std::nullopt;
        return cell.contains(u"　くじ情報") ? up_to(cell, kai + 2, u"　くじ情報") : std::nullopt;
    }
    if (!cell.contains(u"くじ結果"))
        return std::nullopt;
    if (!big)
        return up_to(cell, kai + 1, u"　くじ結果");
    if (cell.contains(u"　くじ結果"))
        return up_to(cell, kai + 2, u"　くじ結果");
    if (cell.contains(u" くじ結果"))
        return up_to(cell, kai + 2, u" くじ結果");
    return up_to(cell, kai + 2, u"くじ結果");
}

bool find_section(TagScanner &s, const KindPage &page, bool results, QString &cell)
{
    const bool big = is_big_family(page.kind);
    while (s.next_tag()) {
        if (!s.is_cell())
            continue;
        if (!s.cell(cell))
            return false;
        const std::optional<QString> name = section_name(cell, big, results);
        if (name && *name == QStringView(page.page_name))
            return true;
    }
    return false;
}

bool find_kind_table(TagScanner &s, const KindPage &page, bool results, QString &cell)
{
    return find_section(s, page, results, cell) && (s.is(u"TABLE") || s.seek({u"TABLE"})) && s.seek({u"TR"});
}

std::optional<std::vector<ChoiceEntry>> read_kind_choices(const QString &text, bool big, bool results,
                                                          const KindChoice &take)
{
    std::vector<ChoiceEntry> choices;
    TagScanner s(text);
    if (!s.seek({u"TABLE"}))
        return std::nullopt;
    while (s.next_tag()) {
        if (!s.is_cell())
            continue;
        QString cell;
        s.cell(cell);
        // A result page names its sections by round ("…回").
        if (results && !cell.contains(u'回'))
            continue;
        const std::optional<QString> name = section_name(cell, big, results);
        const KindPage *page = name ? kind_page_by_name(*name, big) : nullptr;
        if (page)
            choices.push_back(take(cell, *name, *page));
    }
    return choices;
}
