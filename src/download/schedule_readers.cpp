// Readers of the schedule pages: the month's rounds, their sale dates, the kinds of a round
// and the pairings or goal teams of one kind.
#include "download/page_readers.h"

#include "book/leading_digits.h"
#include "download/section_names.h"
#include "download/table_columns.h"
#include "platform/shift_jis.h"

#include <optional>

namespace {

// A date written with three runs of digits (2008年01月05日, 2008/01/05, also in full-width
// digits).
std::optional<QDate> read_date(const QString &text)
{
    std::array<int, 3> parts{};
    qsizetype i = 0;
    for (int &part : parts) {
        i = first_digit(text, i, Digits::with_full_width);
        if (i == text.size())
            return std::nullopt;
        const DigitRun run = leading_digits(text, i, no_blank, 999999999, Digits::with_full_width);
        part = static_cast<int>(run.value);
        i = run.end;
    }
    const QDate date(parts[0], parts[1], parts[2]);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

// The date text after a label: from the second ">" after it up to the full-width "（",
// without the tags around it (a span, a line break), CR LF pairs and blanks at its ends,
// its digits as "0"-"9".
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
    QString date;
    bool in_tag = false;
    for (const QChar c : QStringView(text).mid(gt + 1, paren - gt - 1)) {
        if (c == u'<')
            in_tag = true;
        else if (c == u'>')
            in_tag = false;
        else if (!in_tag)
            date.append(c == QChar(0xA0) ? QChar(u' ') : c);
    }
    date.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    date.remove(QStringLiteral("\r\n"));
    return ascii_digits(date.trimmed());
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

namespace {

bool read_round_list(DownloadState &st, const QString &text, bool big)
{
    st.choices.clear();
    qsizetype line = text.indexOf(u"document.write");
    if (line < 0)
        return false;
    st.lines.clear();
    // Every line's round in page order; sorted once below, the first of equal numbers kept.
    std::vector<ChoiceEntry> listed;
    for (;;) {
        const qsizetype alt = text.indexOf(u"alt='", line);
        if (alt < 0)
            return false;
        const qsizetype start = alt + 5;
        const qsizetype kai = text.indexOf(u'回', start);
        if (kai < 0)
            return false;
        const QString number = text.mid(start, kai - start);
        ChoiceEntry choice;
        choice.round_no = leading_number(number);
        choice.caption = QStringLiteral("第") + number + QStringLiteral("回");
        choice.url = round_info_url(st.store_url, round_4digits(ascii_digits(number)), big);
        choice.step = big ? kStepBigScheduleKind : kStepScheduleKind;
        listed.push_back(std::move(choice));
        line = text.indexOf(u"\ndocument.write", kai);
        if (line < 0)
            break;
    }
    std::stable_sort(listed.begin(), listed.end(),
                     [](const ChoiceEntry &a, const ChoiceEntry &b) { return a.round_no < b.round_no; });
    listed.erase(
        std::unique(listed.begin(), listed.end(),
                    [](const ChoiceEntry &a, const ChoiceEntry &b) { return a.round_no == b.round_no; }),
        listed.end());
    if (listed.empty() || listed.size() > kMaxListedRounds)
        return false;
    st.choices = std::move(listed);
    st.list_url = st.current_url;
    st.detail_index = 0;
    st.current_url = st.choices.front().url;
    st.step = big ? kStepBigScheduleKaiDetail : kStepScheduleKaiDetail;
    st.fetch_request = st.current_url;
    return true;
}

bool read_sale_dates(DownloadState &st, const QString &text)
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

bool read_schedule_kinds(DownloadState &st, const QString &text, bool big)
{
    return st.show(read_kind_choices(
        text, big, false, [&](const QString &cell, const QString &name, const KindPage &page) {
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
        }));
}

// The section of the kind on a schedule page, its table and the header rows; gives the
// number of columns of the header row, or -1 when the page has none of them.
int read_schedule_table(TagScanner &s, const KindPage &page, DownloadedRound &round, TableColumns &columns,
                        const HeaderRules &rules)
{
    QString section;
    if (!s.seek({u"TABLE"}) || !find_kind_table(s, page, false, section))
        return -1;
    round.kai = chg_kai(section);
    columns.clear();
    const int header_columns = read_header_rows(s, columns, rules);
    if (header_columns >= 0)
        rename_team_columns(columns, header_columns);
    return header_columns;
}

bool read_pairings(DownloadState &st, const TeamNames &teams, const QString &text, bool big)
{
    const KindPage *page = kind_page_of_step(st.step);
    if (!page || page->schedule_step != st.step || !is_match_kind(page->kind) ||
        is_big_family(page->kind) != big)
        return false;
    DownloadedRound &round = st.downloaded_round;
    round.kind = page->kind;
    for (int m = 0; m < slot_count(page->kind); ++m)
        round.matches[static_cast<size_t>(m)].result = kResultNone;

    TagScanner s(text);
    TableColumns columns;
    if (read_schedule_table(s, *page, round, columns, {match_header, true, false}) < 0)
        return false;
    static constexpr std::array<QStringView, 2> kCells = {u"ホームチーム", u"アウェイチーム"};
    const int count = slot_count(page->kind);
    int m = 0;
    const bool rows_ok = read_data_rows(
        s, false, [&] { return m < count; },
        [&](bool at_cell) {
            std::array<QString, 2> cells;
            size_t taken = 0;
            const RowEnd end = read_named_cells(s, columns, at_cell, kCells, cells, taken);
            if (end == RowEnd::reject || taken != 2)
                return RowEnd::reject;
            DownloadedMatch &slot = round.matches[static_cast<size_t>(m)];
            slot.home = chg_team_name(teams, cells[0]);
            slot.away = chg_team_name(teams, cells[1]);
            ++m;
            return end;
        });
    if (!rows_ok)
        return false;
    round.state = kPrizeUndecided;
    round.has_grade3 = page->kind == LotteryKind::toto;
    round.has_grade5 = round.has_grade6 = page->kind == LotteryKind::BIG;
    st.outcome = DownloadOutcome::schedule_as_new_entry;
    return true;
}

} // namespace

// The toto-named readers read the side their step belongs to.
bool get_scedule_kai(DownloadState &st, const QString &text)
{
    return read_round_list(st, text, is_big_step(st.step));
}
bool get_big_schedule_kai(DownloadState &st, const QString &text)
{
    return read_round_list(st, text, true);
}
bool get_scedule_kai_detail(DownloadState &st, const QString &text)
{
    return read_sale_dates(st, text);
}
bool get_big_schedule_kai_detail(DownloadState &st, const QString &text)
{
    return read_sale_dates(st, text);
}
bool get_scedule_kind(DownloadState &st, const QString &text)
{
    return read_schedule_kinds(st, text, is_big_step(st.step));
}
bool get_big_schedule_kind(DownloadState &st, const QString &text)
{
    return read_schedule_kinds(st, text, true);
}
bool get_scedule_data(DownloadState &st, const TeamNames &teams, const QString &text)
{
    return read_pairings(st, teams, text, is_big_step(st.step));
}
bool get_big_schedule_data(DownloadState &st, const TeamNames &teams, const QString &text)
{
    return read_pairings(st, teams, text, true);
}

bool get_goalscedule_data(DownloadState &st, const TeamNames &teams, const QString &text)
{
    const KindPage *page = kind_page_of_step(st.step);
    if (!page || page->schedule_step != st.step || is_match_kind(page->kind))
        return false;
    DownloadedRound &round = st.downloaded_round;
    round.kind = page->kind;
    for (DownloadedTeam &slot : round.teams)
        slot.score = kScoreNone;

    TagScanner s(text);
    TableColumns columns;
    if (read_schedule_table(s, *page, round, columns, {goal_header, true, true}) < 0)
        return false;
    // A row names one team under 予想チーム (the second such cell; the first says home or
    // away), or the two teams of a match under ホームチーム and アウェイチーム.
    const int count = slot_count(page->kind);
    int t = 0;
    const bool rows_ok = read_data_rows(
        s, false, [&] { return t < count; },
        [&](bool at_cell) {
            int team_cells = 0;
            int predicted = 0;
            auto take = [&](const QString &name) {
                round.teams[static_cast<size_t>(t)].team = chg_team_name(teams, name);
                ++t;
                return t == count ? CellVerdict::done : CellVerdict::next;
            };
            return read_data_row(s, columns, at_cell, [&](int, const QString &header, const QString &cell) {
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
        });
    if (!rows_ok)
        return false;
    round.state = kPrizeUndecided;
    st.outcome = DownloadOutcome::schedule_as_new_entry;
    return true;
}
