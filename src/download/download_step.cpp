#include "download/download_step.h"

#include <array>

namespace {

constexpr std::array<KindPage, kKindCount> kPages = {{
    {LotteryKind::toto, u"toto", 4, 14, 4, u""},
    {LotteryKind::minitotoA, u"minitoto-A組", 5, 15, 2, u""},
    {LotteryKind::minitotoB, u"minitoto-B組", 6, 16, 2, u""},
    {LotteryKind::toto5, u"toto5", 7, 17, 2, u""},
    {LotteryKind::totoGOAL, u"totoGOAL", 8, 18, 4, u""},
    {LotteryKind::totoGOAL3, u"totoGOAL3", 9, 19, 2, u""},
    {LotteryKind::totoGOAL2, u"totoGOAL2", 10, 20, 0, u""},
    {LotteryKind::BIG, u"BIG", 25, 32, 4, u"&commodityId=09"},
    {LotteryKind::BIG100, u"100円BIG", 26, 33, 4, u"&commodityId=13"},
    {LotteryKind::BIG1000, u"BIG1000", 27, 34, 3, u"&commodityId=11"},
    {LotteryKind::miniBIG, u"miniBIG", 28, 35, 3, u"&commodityId=10"},
}};

} // namespace

bool chk_end(int step)
{
    return kind_page_of_step(step) != nullptr;
}

bool is_team_list_step(int step)
{
    return step == kStepTeamName || step == kStepBigTeamName;
}

bool is_schedule_data_step(int step)
{
    const KindPage *page = kind_page_of_step(step);
    return page && page->schedule_step == step;
}

const KindPage *kind_page_of_step(int step)
{
    for (const KindPage &page : kPages) {
        if (page.schedule_step == step || page.result_step == step)
            return &page;
    }
    return nullptr;
}

const KindPage *kind_page_of(LotteryKind kind)
{
    for (const KindPage &page : kPages) {
        if (page.kind == kind)
            return &page;
    }
    return nullptr;
}

const KindPage *kind_page_by_name(QStringView name, bool big_side)
{
    for (const KindPage &page : kPages) {
        if (is_big_family(page.kind) == big_side && name == QStringView(page.page_name))
            return &page;
    }
    return nullptr;
}

QString round_4digits(const QString &number)
{
    return (QStringLiteral("000") + number).right(4);
}
