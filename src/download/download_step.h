#pragma once

#include "book/book_text.h"
#include "book/lottery_kind.h"

#include <QString>

// What the next page that arrives is, and so which reader runs on it.
enum DownloadStep : int {
    kStepScheduleKai = 0,
    kStepScheduleKaiDetail = 1,
    kStepScheduleKind = 2,
    kStepTeamName = 3,
    kStepScheduleData = 4, // 4..7 match kinds, 8..10 goal kinds
    kStepGoalScheduleData = 8,
    kStepResultYear = 11,
    kStepResultKai = 12,
    kStepResultKind = 13,
    kStepResultData = 14, // 14..17 match kinds, 18..20 goal kinds
    kStepGoalResultData = 18,
    kStepBigScheduleKai = 21,
    kStepBigScheduleKaiDetail = 22,
    kStepBigScheduleKind = 23,
    kStepBigTeamName = 24,
    kStepBigScheduleData = 25, // 25..28
    kStepBigResultYear = 29,
    kStepBigResultKai = 30,
    kStepBigResultKind = 31,
    kStepBigResultData = 32, // 32..35
    kLastStep = 35,
};

// How a download ends: nothing, a schedule or results for a new entry, or results into an
// entry of the book. The command line's walk prints it as its number.
enum class DownloadOutcome : int {
    cancelled = 0,
    schedule_as_new_entry = 1,
    result_as_new_entry = 2,
    result_into_entry = 3,
};

// The steps of the BIG side come after those of the toto side.
inline bool is_big_step(int step)
{
    return step >= kStepBigScheduleKai;
}

// One line of the choice list.
struct ChoiceEntry {
    int round_no = 0;
    QString caption;
    QString sale_start;
    QString sale_end;
    int step = 0;
    QString url; // "" = the next step reads the saved page again

    bool operator==(const ChoiceEntry &) const = default;
};

// True for the steps whose page completes a download.
bool chk_end(int step);
bool is_team_list_step(int step);
// Schedule data steps 4..10 and 25..28.
bool is_schedule_data_step(int step);

// A kind as the operator's pages name it.
struct KindPage {
    LotteryKind kind;
    const char16_t *page_name;
    int schedule_step;         // data step of the schedule download
    int result_step;           // data step of the result download
    int refund_limit;          // more cancelled slots than this make the round a refund
    const char16_t *commodity; // BIG family: the match page's commodity suffix
};

// The kind a data step reads; nullptr for other steps.
const KindPage *kind_page_of_step(int step);
// The page entry of a kind.
const KindPage *kind_page_of(LotteryKind kind);
// The toto-side (false) or BIG-side (true) kind of that page name; nullptr when unknown.
const KindPage *kind_page_by_name(QStringView name, bool big_side);

// A round number in four digits: "000" in front, the last four characters kept.
QString round_4digits(const QString &number);
