// Readers of the past-results pages: years, rounds of a year, kinds of a round, and the
// results and prizes of one kind.
#include "download/page_readers.h"
#include "download/section_names.h"
#include "download/table_columns.h"
#include "platform/shift_jis.h"

#include <limits>

namespace {

// Links on the result pages are relative to the store or to the pages' own folder.
QString absolute_link(const DownloadState &st, const QString &link)
{
    if (link.startsWith(u'/'))
        return st.store_url + link;
    return st.store_url +
           (is_big_step(st.step) ? QStringLiteral("/dcs/subos/screen/pi05/spin014/")
                                 : QStringLiteral("/dcs/subos/screen/pi04/spin011/")) +
           link;
}

bool equals_result_header(const QString &cell)
{
    return cell == u"試合結果";
}
bool equals_first_grade(const QString &cell)
{
    return cell == u"1等";
}
bool equals_prize_header(const QString &cell)
{
    return cell == u"当せん金";
}
bool equals_predicted_team(const QString &cell)
{
    return cell == u"予想チーム";
}

// The match result code of a result cell; 0 when the cell is none of the known texts.
int match_result_code(const QString &cell, int &cancelled)
{
    if (cell == u"102" || cell == u"中止") {
        ++cancelled;
        return kCancelled;
    }
    if (cell == u"0")
        return kDraw;
    const int value = leading_number(cell);
    return (value == kHomeWin || value == kAwayWin) ? value : kResultNone;
}

// The score code of a goal cell (goals + 1, three or more as 4); 0 when it is no number.
int score_code(const QString &cell, int &cancelled)
{
    if (cell == u"0123" || cell == u"中止") {
        ++cancelled;
        return kScoreCancelled;
    }
    bool digits = false;
    const int goals = leading_number(cell, &digits);
    return digits ? std::min(goals, 3) + 1 : kScoreNone;
}

// The prize of a cell ("1234567円"); the book keeps prizes in 32 bits.
int64_t prize_value(const QString &cell)
{
    return leading_number(cell);
}

// Reads the one prize row under the header row naming "1等": its cells under 1等, 2等, 3等
// in that order; gives the number of prize cells, or -1 when the page is not as expected.
int read_grade_row(TagScanner &s, RoundEntry &round)
{
    TableColumns columns;
    columns.clear();
    if (!s.seek({u"TABLE"}) || !s.seek({u"TR"}) ||
        read_header_rows(s, columns, {equals_first_grade, false, false}) < 0 || !s.seek({u"TR"}))
        return -1;
    int cells = 0;
    const RowEnd end = read_data_row(s, columns, false, [&](int, const QString &header, const QString &cell) {
        static const std::array<QStringView, 3> grades = {u"1等", u"2等", u"3等"};
        for (int g = 0; g < 3; ++g) {
            if (header == grades[static_cast<size_t>(g)]) {
                if (cells != g)
                    return CellVerdict::reject;
                round.prizes[static_cast<size_t>(g)] = prize_value(cell);
                ++cells;
            }
        }
        return CellVerdict::next;
    });
    return end == RowEnd::reject ? -1 : cells;
}

// A round with more cancelled slots than its kind allows is refunded and its page has
// nothing more to read; true when it was.
bool settle_refund(DownloadState &st, RoundEntry &round, int cancelled, const KindPage &page)
{
    if (cancelled <= page.refund_limit) {
        round.state = kPrizeEntered;
        return false;
    }
    round.state = kPrizeRefund;
    st.dialog_result = 2;
    return true;
}

} // namespace

QString result_index_url(const QString &store, bool big)
{
    return store +
           (big ? QStringLiteral("/dcs/subos/screen/pi05/spin014/PGSPIN01401InitLotResultLstBIG.form")
                : QStringLiteral("/dcs/subos/screen/pi04/spin011/PGSPIN01101InitLotResultLsttoto.form"));
}

bool get_result_year(DownloadState &st, const QString &text)
{
    const bool big = is_big_step(st.step);
    const int next_step = big ? kStepBigResultKai : kStepResultKai;
    st.choices.clear();
    const QStringView marker = u"過去のくじ結果</p>";
    const qsizetype past = text.indexOf(marker);
    if (past < 0)
        return false;
    const qsizetype year = text.indexOf(u'年', past + marker.size());
    if (year < 0)
        return false;
    ChoiceEntry current;
    current.caption = text.mid(std::max<qsizetype>(year - 4, 0), std::min<qsizetype>(year, 4) + 1);
    current.step = next_step;
    st.choices.push_back(current);

    TagScanner s(text);
    s.pos = year + 1;
    while (s.next_tag()) {
        if (!s.is(u"A"))
            continue;
        const qsizetype end = text.indexOf(u'<', s.pos - 1);
        const QString link_text = text.mid(s.pos - 1, (end < 0 ? text.size() : end) - (s.pos - 1)).trimmed();
        if (link_text.size() >= 5 && link_text[4] == u'年') {
            ChoiceEntry choice;
            choice.caption = link_text.left(5);
            choice.url = absolute_link(st, s.first);
            choice.step = next_step;
            st.choices.push_back(choice);
        }
    }
    st.show_choices();
    return true;
}

bool get_result_kai(DownloadState &st, const QString &text)
{
    const bool big = is_big_step(st.step);
    st.choices.clear();
    const qsizetype kaisai = text.indexOf(u"開催回");
    if (kaisai < 0)
        return false;
    TagScanner s(text);
    s.pos = kaisai + 1;
    while (s.next_tag()) {
        const qsizetype text_start = s.pos;
        const bool link = s.is(u"A");
        const QString target = s.first;
        move_tag_start(text, s.pos);
        if (!link)
            continue;
        const qsizetype dai = text.indexOf(u'第', text_start - 1);
        if (dai < 0 || dai >= s.pos - 1)
            continue;
        const qsizetype close = text.indexOf(u')', dai);
        ChoiceEntry choice;
        choice.caption = close >= 0 ? text.mid(dai, close - dai + 1) : text.mid(dai, s.pos - 1 - dai);
        choice.url = absolute_link(st, target);
        choice.step = big ? kStepBigResultKind : kStepResultKind;
        st.choices.push_back(choice);
    }
    if (st.choices.empty())
        return false;
    st.show_choices();
    return true;
}

bool get_result_kind(DownloadState &st, const QString &text)
{
    return read_kind_choices(st, text, true, [](const QString &, const QString &name, const KindPage &page) {
        ChoiceEntry choice;
        choice.caption = name;
        choice.step = page.result_step;
        return choice;
    });
}

bool get_result_data(DownloadState &st, const QString &text)
{
    const KindPage *page = kind_page_of_step(st.step);
    if (!page || page->result_step != st.step || !is_match_kind(page->kind))
        return false;
    const bool big = is_big_family(page->kind);
    RoundEntry &round = st.downloaded_round;
    round.kind = page->kind;
    for (int m = 0; m < (big ? 14 : 13); ++m)
        round.matches[static_cast<size_t>(m)].result = kResultNone;
    int cancelled = 0;

    TagScanner s(text);
    QString section;
    if (!s.seek({u"TABLE"}) || !find_kind_table(s, *page, true, section))
        return false;
    round.kai = book_text(chg_kai(section));
    TableColumns columns;
    columns.clear();
    if (read_header_rows(s, columns, {equals_result_header, false, false}) < 0)
        return false;

    const int count = slot_count(page->kind);
    for (int m = 0; m < count;) {
        if (!s.seek({u"TR", u"/TABLE"}))
            return false;
        if (s.is(u"/TABLE"))
            break;
        int cells = 0;
        MatchSlot slot;
        QString home_name;
        QString away_name;
        const RowEnd end =
            read_data_row(s, columns, false, [&](int, const QString &header, const QString &cell) {
                if (header == u"ホーム") {
                    if (cells != 0)
                        return CellVerdict::reject;
                    slot.home = book_text(cell);
                    home_name = cell;
                } else if (header == u"アウェイ") {
                    if (cells != 1)
                        return CellVerdict::reject;
                    slot.away = book_text(cell);
                    away_name = cell;
                } else if (header == u"くじ結果") {
                    if (cells != 2)
                        return CellVerdict::reject;
                    slot.result = match_result_code(cell, cancelled);
                    // An unknown result text would store a code the book does not have.
                    if (slot.result == kResultNone)
                        return CellVerdict::reject;
                } else {
                    return CellVerdict::next;
                }
                ++cells;
                return CellVerdict::next;
            });
        if (end == RowEnd::reject || cells != 3)
            return false;
        round.matches[static_cast<size_t>(m)] = slot;
        st.page_names.home[static_cast<size_t>(m)] = home_name;
        st.page_names.away[static_cast<size_t>(m)] = away_name;
        ++m;
        if (end == RowEnd::table_closed)
            break;
    }
    if (settle_refund(st, round, cancelled, *page))
        return true;

    if (!big) {
        const int cells = read_grade_row(s, round);
        if (page->kind == LotteryKind::toto && (cells == 2 || cells == 3))
            round.has_grade3 = cells == 3;
        else if (page->kind != LotteryKind::toto && cells == 1)
            round.has_grade3 = false;
        else
            return false;
        st.dialog_result = 2;
        return true;
    }

    columns.clear();
    if (!s.seek({u"TR"}) || read_header_rows(s, columns, {equals_prize_header, false, false}) < 0)
        return false;
    static const std::array<QStringView, 6> grades = {u"1等", u"2等", u"3等", u"4等", u"5等", u"6等"};
    int rows = 0;
    for (;;) {
        if (!s.seek({u"TR", u"/TABLE"}))
            return false;
        if (s.is(u"/TABLE"))
            break;
        int cells = 0;
        const RowEnd end =
            read_data_row(s, columns, false, [&](int column, const QString &header, const QString &cell) {
                if (column == 0) {
                    if (cells != 0 || rows >= 6 || cell != grades[static_cast<size_t>(rows)])
                        return CellVerdict::reject;
                } else if (header == u"当せん金") {
                    if (cells != 1)
                        return CellVerdict::reject;
                    round.prizes[static_cast<size_t>(rows)] = prize_value(cell);
                } else {
                    return CellVerdict::next;
                }
                ++cells;
                return CellVerdict::next;
            });
        if (end == RowEnd::reject || cells != 2)
            return false;
        ++rows;
        if (end == RowEnd::table_closed)
            break;
    }
    round.has_grade3 = false;
    if (page->kind == LotteryKind::BIG) {
        round.has_grade5 = rows == 5 || rows == 6;
        round.has_grade6 = rows == 6;
    }
    st.dialog_result = 2;
    return true;
}

bool get_goalresult_data(DownloadState &st, const QString &text)
{
    const KindPage *page = kind_page_of_step(st.step);
    if (!page || page->result_step != st.step || is_match_kind(page->kind))
        return false;
    RoundEntry &round = st.downloaded_round;
    round.kind = page->kind;
    for (TeamSlot &slot : round.teams)
        slot.score = kScoreNone;
    int cancelled = 0;

    TagScanner s(text);
    QString section;
    if (!s.seek({u"TABLE"}) || !find_kind_table(s, *page, true, section))
        return false;
    round.kai = book_text(chg_kai(section));
    TableColumns columns;
    columns.clear();
    if (read_header_rows(s, columns, {equals_predicted_team, true, false}) < 0)
        return false;

    const int count = slot_count(page->kind);
    for (int t = 0; t < count;) {
        if (!s.seek({u"TBODY", u"TR", u"TD", u"TABLE", u"/TABLE"}))
            return false;
        if (s.is(u"TABLE") || s.is(u"/TABLE"))
            break;
        int cells = 0;
        TeamSlot slot;
        QString team_name;
        const RowEnd end =
            read_data_row(s, columns, s.is(u"TD"), [&](int, const QString &header, const QString &cell) {
                if (header == u"予想チーム") {
                    if (cells != 0)
                        return CellVerdict::reject;
                    slot.team = book_text(cell);
                    team_name = cell;
                } else if (header == u"くじ結果") {
                    if (cells != 1)
                        return CellVerdict::reject;
                    slot.score = score_code(cell, cancelled);
                    if (slot.score == kScoreNone)
                        return CellVerdict::reject;
                } else {
                    return CellVerdict::next;
                }
                ++cells;
                return CellVerdict::next;
            });
        if (end == RowEnd::reject || cells != 2)
            return false;
        round.teams[static_cast<size_t>(t)] = slot;
        st.page_names.team[static_cast<size_t>(t)] = team_name;
        ++t;
        if (end == RowEnd::table_closed)
            break;
    }
    if (settle_refund(st, round, cancelled, *page))
        return true;
    const int cells = read_grade_row(s, round);
    const int expected = page->kind == LotteryKind::totoGOAL2 ? 1 : 2;
    if (cells != expected)
        return false;
    st.dialog_result = 2;
    return true;
}

bool get_data(DownloadState &st, TeamNames &teams, const QString &text)
{
    const int step = st.step;
    switch (step) {
    case kStepScheduleKai:
    case kStepBigScheduleKai: return get_scedule_kai(st, text);
    case kStepScheduleKaiDetail:
    case kStepBigScheduleKaiDetail: return get_scedule_kai_detail(st, text);
    case kStepScheduleKind:
    case kStepBigScheduleKind: return get_scedule_kind(st, text);
    case kStepTeamName:
    case kStepBigTeamName: return get_teamname(teams.downloaded, text);
    case kStepResultYear:
    case kStepBigResultYear: return get_result_year(st, text);
    case kStepResultKai:
    case kStepBigResultKai: return get_result_kai(st, text);
    case kStepResultKind:
    case kStepBigResultKind: return get_result_kind(st, text);
    default: break;
    }
    if (step >= 4 && step <= 7)
        return get_scedule_data(st, teams, text);
    if (step >= 8 && step <= 10)
        return get_goalscedule_data(st, teams, text);
    if (step >= 25 && step <= 28)
        return get_scedule_data(st, teams, text);
    if (step >= 14 && step <= 17)
        return get_result_data(st, text);
    if (step >= 18 && step <= 20)
        return get_goalresult_data(st, text);
    if (step >= 32 && step <= 35)
        return get_result_data(st, text);
    return false;
}
