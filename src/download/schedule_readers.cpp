// Readers of the schedule pages: the month's rounds, their sale dates, the kinds of a round
// and the pairings or goal teams of one kind.
#include "download/page_readers.h"
#include "download/section_names.h"
#include "download/table_columns.h"
#include "platform/shift_jis.h"

#include <optional>

namespace {

// A date written with three runs of digits (2008年01月05日, 2008/01/05).
std::optional<QDate> read_date(const QString &text)
{
    std::array<int, 3> parts{};
    qsizetype i = 0;
    for (int &part : parts) {
        while (i < text.size() && !(text[i] >= u'0' && text[i] <= u'9'))
            ++i;
        if (i == text.size())
            return std::nullopt;
        const qsizetype start = i;
        while (i < text.size() && text[i] >= u'0' && text[i] <= u'9')
            ++i;
        part = leading_number(text.mid(start, std::min<qsizetype>(i - start, 9)));
    }
    const QDate date(parts[0], parts[1], parts[2]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// The date text after a label: from the second ">" after it up to the full-width "（".
// -1 in `end` when the page does not have it.
QString date_after(const QString &text, qsizetype from, qsizetype &end)
{
    end = -1;
    qsizetype gt = text.indexOf(u'>', from);
    if (gt < 0 || (gt = text.indexOf(u'>', gt + 1)) < 0)
        return {};
    const qsizetype paren = text.indexOf(u'（', gt + 1);
    if (paren < 0)
        return {};
    end = paren;
    QString date = text.mid(gt + 1, paren - gt - 1);
    date.remove(QStringLiteral("\r\n"));
    return date.trimmed();
}

void rename_team_columns(TableColumns &columns, int count)
{
    for (int c = 0; c < std::min(count, TableColumns::kCount); ++c) {
        if (columns.header[static_cast<size_t>(c)] == u"指定試合（ホームvsアウェイ）") {
            columns.header[static_cast<size_t>(c)] = QStringLiteral("ホームチーム");
            if (c + 2 < TableColumns::kCount)
                columns.header[static_cast<size_t>(c + 2)] = QStringLiteral("アウェイチーム");
            return;
        }
    }
}

bool match_header(const QString &cell)
{
    return cell.contains(u"指定試合");
}

bool goal_header(const QString &cell)
{
    return cell == u"予想チーム" || cell.contains(u"指定試合");
}

} // namespace

void DownloadState::show_choices()
{
    lines.clear();
    for (const ChoiceEntry &choice : choices)
        lines.append(choice.caption);
    selected = choices.empty() ? -1 : 0;
    ok_enabled = back_enabled = true;
}

QString schedule_script_url(const QString &store, QDate today, bool big)
{
    return store +
           (big ? QStringLiteral("/static_common_system/js/schedule_BIG_")
                : QStringLiteral("/static_common_system/js/schedule_toto_")) +
           today.toString(QStringLiteral("yyyyMM")) + QStringLiteral(".js");
}

QString round_info_url(const QString &store, const QString &number4, bool big)
{
    return store +
           (big ? QStringLiteral("/dcs/subos/screen/pi02/spin004/PGSPIN00401DispBIGLotInfo.form?holdCntId=")
                : QStringLiteral(
                      "/dcs/subos/screen/pi01/spin000/PGSPIN00001DisptotoLotInfo.form?holdCntId=")) +
           number4;
}

QString big_match_page_url(const QString &store, const QString &number4, const QString &commodity)
{
    return store +
           QStringLiteral("/dcs/subos/screen/pi02/spin005/"
                          "PGSPIN00501DispBIGLotAssignGameDetail.form?popupDispDiv=0&holdCntId=") +
           number4 + commodity;
}

bool get_scedule_kai(DownloadState &st, const QString &text)
{
    const bool big = is_big_step(st.step);
    st.choices.clear();
    qsizetype line = text.indexOf(u"document.write");
    if (line < 0)
        return false;
    st.lines.clear();
    for (;;) {
        const qsizetype alt = text.indexOf(u"alt='", line);
        if (alt < 0)
            return false;
        const qsizetype start = alt + 5;
        const qsizetype kai = text.indexOf(u'回', start);
        if (kai < 0)
            return false;
        const QString number = text.mid(start, kai - start);
        const int round_no = leading_number(number);
        auto at = std::lower_bound(st.choices.begin(), st.choices.end(), round_no,
                                   [](const ChoiceEntry &c, int n) { return c.round_no < n; });
        if (at == st.choices.end() || at->round_no != round_no) {
            ChoiceEntry choice;
            choice.round_no = round_no;
            choice.caption = QStringLiteral("第") + number + QStringLiteral("回");
            choice.url = round_info_url(st.store_url, round_4digits(number), big);
            choice.step = big ? kStepBigScheduleKind : kStepScheduleKind;
            st.choices.insert(at, choice);
        }
        line = text.indexOf(u"\ndocument.write", kai);
        if (line < 0)
            break;
    }
    if (st.choices.empty())
        return false;
    st.list_url = st.current_url;
    st.detail_index = 0;
    st.current_url = st.choices.front().url;
    st.step = big ? kStepBigScheduleKaiDetail : kStepScheduleKaiDetail;
    st.fetch_request = st.current_url;
    return true;
}

bool get_scedule_kai_detail(DownloadState &st, const QString &text)
{
    const auto count = static_cast<int>(st.choices.size());
    if (st.detail_index < 0 || st.detail_index >= count)
        return false;
    const qsizetype start_label = text.indexOf(u"販売開始日");
    if (start_label < 0)
        return false;
    qsizetype end = -1;
    const QString sale_start = date_after(text, start_label, end);
    if (end < 0)
        return false;
    const qsizetype end_label = text.indexOf(u"販売終了日", end);
    if (end_label < 0)
        return false;
    const QString sale_end = date_after(text, end_label, end);
    if (end < 0 || !read_date(sale_end))
        return false;
    ChoiceEntry &choice = st.choices[static_cast<size_t>(st.detail_index)];
    choice.sale_start = sale_start;
    choice.sale_end = sale_end;

    if (st.detail_index + 1 < count) {
        ++st.detail_index;
        st.current_url = st.choices[static_cast<size_t>(st.detail_index)].url;
        st.fetch_request = st.current_url;
        return true;
    }
    // Rounds whose sale ended before the first one still on sale are not offered.
    int first_on_sale = 0;
    while (first_on_sale < count &&
           *read_date(st.choices[static_cast<size_t>(first_on_sale)].sale_end) < st.today)
        ++first_on_sale;
    if (first_on_sale == count)
        return false;
    st.detail_index = count;
    st.choices.erase(st.choices.begin(), st.choices.begin() + first_on_sale);
    st.show_choices();
    st.lines.clear();
    for (const ChoiceEntry &c : st.choices) {
        st.lines.append(c.caption + u'(' + c.sale_start.mid(5, 2) + u'/' + c.sale_start.mid(8, 2) + u'-' +
                        c.sale_end.mid(5, 2) + u'/' + c.sale_end.mid(8, 2) + u')');
    }
    return true;
}

bool get_scedule_kind(DownloadState &st, const QString &text)
{
    const bool big = is_big_step(st.step);
    return read_kind_choices(
        st, text, false, [&](const QString &cell, const QString &name, const KindPage &page) {
            ChoiceEntry choice;
            choice.caption = name;
            if (big) {
                const qsizetype dai = cell.indexOf(u'第');
                const qsizetype kai = cell.indexOf(u'回');
                const QString number = (dai >= 0 && kai > dai) ? cell.mid(dai + 1, kai - dai - 1) : QString();
                choice.url = big_match_page_url(st.store_url, round_4digits(number),
                                                QString::fromUtf16(page.commodity));
            }
            choice.step = page.schedule_step;
            return choice;
        });
}

bool get_scedule_data(DownloadState &st, const TeamNames &teams, const QString &text)
{
    const KindPage *page = kind_page_of_step(st.step);
    if (!page || !is_schedule_data_step(st.step) || !is_match_kind(page->kind))
        return false;
    RoundEntry &round = st.downloaded_round;
    round.kind = page->kind;
    const int reset = is_big_family(page->kind) ? 14 : 13;
    for (int m = 0; m < reset; ++m)
        round.matches[static_cast<size_t>(m)].result = kResultNone;

    TagScanner s(text);
    if (!s.seek({u"TABLE"}))
        return false;
    QString section;
    if (!find_kind_table(s, *page, false, section))
        return false;
    round.kai = book_text(chg_kai(section));
    TableColumns columns;
    columns.clear();
    const int header_columns = read_header_rows(s, columns, {match_header, true, false});
    if (header_columns < 0)
        return false;
    rename_team_columns(columns, header_columns);

    const int count = slot_count(page->kind);
    for (int m = 0; m < count;) {
        if (!s.seek({u"TR", u"/TABLE"}))
            return false;
        if (s.is(u"/TABLE"))
            break;
        int team_cells = 0;
        QString home;
        QString away;
        const RowEnd end =
            read_data_row(s, columns, false, [&](int, const QString &header, const QString &cell) {
                if (header == u"ホームチーム") {
                    if (team_cells != 0)
                        return CellVerdict::reject;
                    home = cell;
                    team_cells = 1;
                } else if (header == u"アウェイチーム") {
                    if (team_cells != 1)
                        return CellVerdict::reject;
                    away = cell;
                    team_cells = 2;
                }
                return CellVerdict::next;
            });
        if (end == RowEnd::reject || team_cells != 2)
            return false;
        MatchSlot &slot = round.matches[static_cast<size_t>(m)];
        slot.home = book_text(chg_team_name(teams, home));
        slot.away = book_text(chg_team_name(teams, away));
        ++m;
        if (end == RowEnd::table_closed)
            break;
    }
    round.state = kPrizeUndecided;
    round.has_grade3 = page->kind == LotteryKind::toto;
    round.has_grade5 = round.has_grade6 = page->kind == LotteryKind::BIG;
    st.dialog_result = 1;
    return true;
}

bool get_goalscedule_data(DownloadState &st, const TeamNames &teams, const QString &text)
{
    const KindPage *page = kind_page_of_step(st.step);
    if (!page || !is_schedule_data_step(st.step) || is_match_kind(page->kind))
        return false;
    RoundEntry &round = st.downloaded_round;
    round.kind = page->kind;
    for (TeamSlot &slot : round.teams)
        slot.score = kScoreNone;

    TagScanner s(text);
    QString section;
    if (!s.seek({u"TABLE"}) || !find_kind_table(s, *page, false, section))
        return false;
    round.kai = book_text(chg_kai(section));
    TableColumns columns;
    columns.clear();
    const int header_columns = read_header_rows(s, columns, {goal_header, true, true});
    if (header_columns < 0)
        return false;
    rename_team_columns(columns, header_columns);

    const int count = slot_count(page->kind);
    int t = 0;
    while (t < count) {
        if (!s.seek({u"TR", u"/TABLE"}))
            return false;
        if (s.is(u"/TABLE"))
            break;
        int team_cells = 0;
        int predicted = 0;
        auto take = [&](const QString &name) {
            round.teams[static_cast<size_t>(t)].team = book_text(chg_team_name(teams, name));
            ++t;
            return t == count ? CellVerdict::done : CellVerdict::next;
        };
        const RowEnd end =
            read_data_row(s, columns, false, [&](int, const QString &header, const QString &cell) {
                if (header == u"ホームチーム") {
                    if (team_cells != 0)
                        return CellVerdict::reject;
                    team_cells = 1;
                    return take(cell);
                }
                if (header == u"アウェイチーム") {
                    if (team_cells != 1)
                        return CellVerdict::reject;
                    team_cells = 2;
                    return take(cell);
                }
                if (header == u"予想チーム" && ++predicted == 2)
                    return take(cell);
                return CellVerdict::next;
            });
        if (end == RowEnd::reject)
            return false;
        if (end == RowEnd::table_closed)
            break;
    }
    round.state = kPrizeUndecided;
    st.dialog_result = 1;
    return true;
}
