// Which reader reads the page of a step: the list steps by their codes, the data steps
// through the kind they read.
#include "download/page_readers.h"

#include <array>

namespace {

using ListReader = bool (*)(DownloadState &, const QString &);

struct ListStep {
    int step;
    ListReader read;
};

constexpr std::array<ListStep, 12> kListSteps = {{
    {kStepScheduleKai, get_scedule_kai},
    {kStepBigScheduleKai, get_big_schedule_kai},
    {kStepScheduleKaiDetail, get_scedule_kai_detail},
    {kStepBigScheduleKaiDetail, get_big_schedule_kai_detail},
    {kStepScheduleKind, get_scedule_kind},
    {kStepBigScheduleKind, get_big_schedule_kind},
    {kStepResultYear, get_result_year},
    {kStepBigResultYear, get_big_result_year},
    {kStepResultKai, get_result_kai},
    {kStepBigResultKai, get_big_result_kai},
    {kStepResultKind, get_result_kind},
    {kStepBigResultKind, get_big_result_kind},
}};

} // namespace

bool get_data(DownloadState &st, TeamNames &teams, const QString &text)
{
    const int step = st.step;
    if (is_team_list_step(step))
        return get_teamname(teams.downloaded, text);
    for (const ListStep &list : kListSteps) {
        if (list.step == step)
            return list.read(st, text);
    }
    const KindPage *page = kind_page_of_step(step);
    if (!page)
        return false;
    const bool big = is_big_family(page->kind);
    if (step == page->schedule_step) {
        if (!is_match_kind(page->kind))
            return get_goalscedule_data(st, teams, text);
        return big ? get_big_schedule_data(st, teams, text) : get_scedule_data(st, teams, text);
    }
    if (!is_match_kind(page->kind))
        return get_goalresult_data(st, text);
    return big ? get_big_result_data(st, text) : get_result_data(st, text);
}
