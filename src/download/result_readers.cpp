// Readers of the past-results pages: years, rounds of a year, kinds of a round, and the
// results and prizes of one kind.
#include "book/round_update.h"
#include "download/page_readers.h"
#include "download/section_names.h"
#include "download/table_columns.h"
#include "platform/shift_jis.h"

#include <limits>
#include <optional>

namespace {

// Links on the result pages are relative to the store or to the pages' own folder.
QString absolute_link(const QString &store, const QString &link, bool big)
{
    if (link.startsWith(u'/'))
        return store + link;
    return store +
           (big ? QStringLiteral("/dcs/subos/screen/pi05/spin014/")
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

// The match result code of a result cell. A cell without a number ("-", or empty: the
// match has no result yet) leaves the match not entered; nothing for a number that is no
// result.
std::optional<int> match_result_code(const QString &page_cell, int &cancelled)
{
    const QString cell = ascii_digits(page_cell);
    if (cell == u"102" || cell == u"中止") {
        ++cancelled;
        return kCancelled;
    }
    if (cell == u"0")
        return kDraw;
    bool digits = false;
    const int value = leading_number(cell, &digits);
    if (!digits)
        return kResultNone;
    if (value == kHomeWin || value == kAwayWin)
        return value;
    return std::nullopt;
}

// The score code of a goal cell (goals + 1, three or more as 4); nothing when it is no
// number, since "no goals yet" cannot be told from "0 goals".
std::optional<int> score_code(const QString &page_cell, int &cancelled)
{
    const QString cell = ascii_digits(page_cell);
    if (cell == u"0123" || cell == u"中止") {
        ++cancelled;
        return kScoreCancelled;
    }
    bool digits = false;
    const int goals = leading_number(cell, &digits);
    if (!digits)
        return std::nullopt;
    return std::min(goals, 3) + 1;
}

// The prize of a cell ("1234567円"); the book keeps prizes in 32 bits.
int64_t prize_value(const QString &cell)
{
    return leading_number(cell);
}

// Reads the one prize row under the header row naming "1等": its cells under 1等, 2等, 3等
// in that order; gives the number of prize cells, or -1 when the page is not as expected.
int read_grade_row(TagScanner &s, DownloadedRound &round)
{
    TableColumns columns;
    columns.clear();
    if (!s.seek({u"TABLE"}) || !s.seek({u"TR"}) ||
        read_header_rows(s, columns, {equals_first_grade, false, false}) < 0 || !s.seek({u"TR"}))
        return -1;
    static constexpr std::array<QStringView, 3> kGrades = {u"1等", u"2等", u"3等"};
    std::array<QString, 3> cells;
    size_t taken = 0;
    if (read_named_cells(s, columns, false, kGrades, cells, taken) == RowEnd::reject)
        return -1;
    for (size_t g = 0; g < taken; ++g)
        round.prizes[g] = prize_value(cells[g]);
    return static_cast<int>(taken);
}

// A round with more cancelled slots than its kind allows is refunded and its page has
// nothing more to read; true when it was.
bool settle_refund(DownloadedRound &round, int cancelled, const KindPage &page)
{
    round.state = cancelled <= page.refund_limit ? kPrizeEntered : kPrizeRefund;
    return round.state == kPrizeRefund;
}

} // namespace

QString result_index_url(const QString &store, bool big)
{
    return store +
           (big ? QStringLiteral("/dcs/subos/screen/pi05/spin014/PGSPIN01401InitLotResultLstBIG.form")
                : QStringLiteral("/dcs/subos/screen/pi04/spin011/PGSPIN01101InitLotResultLsttoto.form"));
}

std::optional<std::vector<ListedPage>> listed_years(const QString &store, const QString &text, bool big)
{
    const QStringView marker = u"過去のくじ結果</p>";
    const qsizetype past = text.indexOf(marker);
    if (past < 0)
        return std::nullopt;
    const qsizetype year = text.indexOf(u'年', past + marker.size());
    if (year < 0)
        return std::nullopt;
    std::vector<ListedPage> years;
    years.push_back(
        {text.mid(std::max<qsizetype>(year - 4, 0), std::min<qsizetype>(year, 4) + 1), QString()});
    TagScanner s(text);
    s.pos = year + 1;
    while (s.next_tag()) {
        if (!s.is(u"A"))
            continue;
        const qsizetype end = text.indexOf(u'<', s.pos - 1);
        const QString link_text = text.mid(s.pos - 1, (end < 0 ? text.size() : end) - (s.pos - 1)).trimmed();
        if (link_text.size() >= 5 && link_text[4] == u'年')
            years.push_back({link_text.left(5), absolute_link(store, s.first, big)});
    }
    return years;
}

std::optional<std::vector<ListedPage>> listed_rounds(const QString &store, const QString &text, bool big)
{
    const qsizetype kaisai = text.indexOf(u"開催回");
    if (kaisai < 0)
        return std::nullopt;
    std::vector<ListedPage> rounds;
    TagScanner s(text);
    s.pos = kaisai + 1;
    while (s.next_tag()) {
        const qsizetype text_start = s.pos - 1;
        const bool link = s.is(u"A");
        const QString target = s.first;
        move_tag_start(text, s.pos);
        if (!link)
            continue;
        // The caption is searched for in the link's own text only, so each character of
        // the page is looked at for one link at most.
        const QStringView link_text = QStringView(text).mid(text_start, s.pos - 1 - text_start);
        const qsizetype dai = link_text.indexOf(u'第');
        if (dai < 0)
            continue;
        const qsizetype close = link_text.indexOf(u')', dai);
        rounds.push_back({(close >= 0 ? link_text.mid(dai, close - dai + 1) : link_text.mid(dai)).toString(),
                          absolute_link(store, target, big)});
    }
    if (rounds.empty())
        return std::nullopt;
    return rounds;
}

namespace {

// The choices of the dialog's next step, one per listed page.
std::optional<std::vector<ChoiceEntry>> choices_of(const std::optional<std::vector<ListedPage>> &listed,
                                                   int next_step)
{
    if (!listed)
        return std::nullopt;
    std::vector<ChoiceEntry> choices;
    for (const ListedPage &page : *listed) {
        ChoiceEntry choice;
        choice.caption = page.caption;
        choice.url = page.url;
        choice.step = next_step;
        choices.push_back(choice);
    }
    return choices;
}

std::optional<std::vector<ChoiceEntry>> kind_choices(const QString &text, bool big)
{
    return read_kind_choices(text, big, true, [](const QString &, const QString &name, const KindPage &page) {
        ChoiceEntry choice;
        choice.caption = name;
        choice.step = page.result_step;
        return choice;
    });
}

} // namespace

std::optional<std::vector<LotteryKind>> listed_kinds(const QString &text, bool big)
{
    const std::optional<std::vector<ChoiceEntry>> choices = kind_choices(text, big);
    if (!choices)
        return std::nullopt;
    std::vector<LotteryKind> kinds;
    for (const ChoiceEntry &choice : *choices)
        kinds.push_back(kind_page_of_step(choice.step)->kind);
    return kinds;
}

// The toto-named readers read the side their step belongs to.
bool get_result_year(DownloadState &st, const QString &text)
{
    const bool big = is_big_step(st.step);
    return st.show(
        choices_of(listed_years(st.store_url, text, big), big ? kStepBigResultKai : kStepResultKai));
}
bool get_big_result_year(DownloadState &st, const QString &text)
{
    return st.show(choices_of(listed_years(st.store_url, text, true), kStepBigResultKai));
}
bool get_result_kai(DownloadState &st, const QString &text)
{
    const bool big = is_big_step(st.step);
    return st.show(
        choices_of(listed_rounds(st.store_url, text, big), big ? kStepBigResultKind : kStepResultKind));
}
bool get_big_result_kai(DownloadState &st, const QString &text)
{
    return st.show(choices_of(listed_rounds(st.store_url, text, true), kStepBigResultKind));
}
bool get_result_kind(DownloadState &st, const QString &text)
{
    return st.show(kind_choices(text, is_big_step(st.step)));
}
bool get_big_result_kind(DownloadState &st, const QString &text)
{
    return st.show(kind_choices(text, true));
}

namespace {

// The page's section of the kind, its table and the header rows; false when the page has
// none of them.
bool read_result_table(TagScanner &s, const KindPage &page, DownloadedRound &round, TableColumns &columns,
                       const HeaderRules &rules)
{
    QString section;
    if (!s.seek({u"TABLE"}) || !find_kind_table(s, page, true, section))
        return false;
    round.kai = chg_kai(section);
    columns.clear();
    return read_header_rows(s, columns, rules) >= 0;
}

// The prize rows of a BIG-family page, under the header row naming "当せん金": the grade
// cell ("1等" … "6等" in order) in column 0, then the prize; gives the number of rows, or -1.
int read_big_prize_rows(TagScanner &s, DownloadedRound &round)
{
    TableColumns columns;
    columns.clear();
    if (!s.seek({u"TR"}) || read_header_rows(s, columns, {equals_prize_header, false, false}) < 0)
        return -1;
    // Column 0 holds the grade whatever its header says; no cell text has a blank, so this
    // name cannot come from the page.
    static constexpr QStringView kGradeColumn = u" grade";
    columns.header[0] = kGradeColumn.toString();
    static constexpr std::array<QStringView, 6> kGrades = {u"1等", u"2等", u"3等", u"4等", u"5等", u"6等"};
    static constexpr std::array<QStringView, 2> kCells = {kGradeColumn, u"当せん金"};
    size_t rows = 0;
    const bool ok = read_data_rows(
        s, false, [] { return true; },
        [&](bool at_cell) {
            std::array<QString, 2> cells;
            size_t taken = 0;
            const RowEnd end = read_named_cells(s, columns, at_cell, kCells, cells, taken);
            if (end == RowEnd::reject || taken != 2 || rows >= kGrades.size() || cells[0] != kGrades[rows])
                return RowEnd::reject;
            round.prizes[rows] = prize_value(cells[1]);
            ++rows;
            return end;
        });
    return ok ? static_cast<int>(rows) : -1;
}

// The grades whose prizes a round of the kind lists (toto: 2, or 3 with 3等).
int listed_grades(LotteryKind kind)
{
    RoundEntry probe;
    probe.kind = kind;
    return grade_count(probe);
}

bool read_match_results(const KindPage &page, const QString &text, DownloadedRound &round)
{
    const bool big = is_big_family(page.kind);
    int cancelled = 0;
    TagScanner s(text);
    TableColumns columns;
    if (!read_result_table(s, page, round, columns, {equals_result_header, false, false}))
        return false;
    static constexpr std::array<QStringView, 3> kCells = {u"ホーム", u"アウェイ", u"くじ結果"};
    const int count = slot_count(page.kind);
    int m = 0;
    const bool rows_ok = read_data_rows(
        s, false, [&] { return m < count; },
        [&](bool at_cell) {
            std::array<QString, 3> cells;
            size_t taken = 0;
            const RowEnd end = read_named_cells(s, columns, at_cell, kCells, cells, taken);
            const std::optional<int> result =
                taken == 3 ? match_result_code(cells[2], cancelled) : std::nullopt;
            if (end == RowEnd::reject || !result)
                return RowEnd::reject;
            round.matches[static_cast<size_t>(m)] = DownloadedMatch{cells[0], cells[1], *result};
            ++m;
            return end;
        });
    if (!rows_ok)
        return false;
    if (settle_refund(round, cancelled, page))
        return true;
    const int prizes = big ? read_big_prize_rows(s, round) : read_grade_row(s, round);
    // toto lists 3等 or not; the other kinds as many grades as they have.
    const bool as_listed = page.kind == LotteryKind::toto ? (prizes == 2 || prizes == 3)
                           : big                          ? prizes >= 0
                                                          : prizes == listed_grades(page.kind);
    if (!as_listed)
        return false;
    set_grade_flags(round, prizes);
    return true;
}

bool read_goal_results(const KindPage &page, const QString &text, DownloadedRound &round)
{
    int cancelled = 0;
    TagScanner s(text);
    TableColumns columns;
    if (!read_result_table(s, page, round, columns, {equals_predicted_team, true, false}))
        return false;
    static constexpr std::array<QStringView, 2> kCells = {u"予想チーム", u"くじ結果"};
    const int count = slot_count(page.kind);
    int t = 0;
    const bool rows_ok = read_data_rows(
        s, true, [&] { return t < count; },
        [&](bool at_cell) {
            std::array<QString, 2> cells;
            size_t taken = 0;
            const RowEnd end = read_named_cells(s, columns, at_cell, kCells, cells, taken);
            const std::optional<int> score = taken == 2 ? score_code(cells[1], cancelled) : std::nullopt;
            if (end == RowEnd::reject || !score)
                return RowEnd::reject;
            round.teams[static_cast<size_t>(t)] = DownloadedTeam{cells[0], *score};
            ++t;
            return end;
        });
    if (!rows_ok)
        return false;
    if (settle_refund(round, cancelled, page))
        return true;
    return read_grade_row(s, round) == listed_grades(page.kind);
}

// The data step of the dialog: the round of the step's kind, if the step is one of `match`
// kinds (of the BIG side when `big`).
bool read_step_results(DownloadState &st, const QString &text, bool match, bool big)
{
    const KindPage *page = kind_page_of_step(st.step);
    if (!page || page->result_step != st.step || is_match_kind(page->kind) != match ||
        (match && is_big_family(page->kind) != big))
        return false;
    std::optional<DownloadedRound> round = round_results(text, page->kind, st.downloaded_round);
    if (!round)
        return false;
    st.downloaded_round = std::move(*round);
    st.outcome = DownloadOutcome::result_as_new_entry;
    return true;
}

} // namespace

std::optional<DownloadedRound> round_results(const QString &text, LotteryKind kind, DownloadedRound round)
{
    const KindPage *page = kind_page_of(kind);
    round.kind = kind;
    for (DownloadedMatch &match : round.matches)
        match.result = kResultNone;
    for (DownloadedTeam &team : round.teams)
        team.score = kScoreNone;
    if (!page || !(is_match_kind(kind) ? read_match_results(*page, text, round)
                                       : read_goal_results(*page, text, round)))
        return std::nullopt;
    return round;
}

bool get_result_data(DownloadState &st, const QString &text)
{
    return read_step_results(st, text, true, is_big_step(st.step));
}

bool get_big_result_data(DownloadState &st, const QString &text)
{
    return read_step_results(st, text, true, true);
}

bool get_goalresult_data(DownloadState &st, const QString &text)
{
    return read_step_results(st, text, false, false);
}
