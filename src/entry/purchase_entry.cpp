#include "entry/purchase_entry.h"

namespace {

void store_names(RoundEntry &entry, const RoundNames &names)
{
    entry.kai = names.kai;
    if (is_match_kind(entry.kind)) {
        for (size_t s = 0; s < kMaxMatchSlots; ++s) {
            entry.matches[s].home = names.home[s];
            entry.matches[s].away = names.away[s];
        }
    } else {
        for (size_t s = 0; s < kMaxTeamSlots; ++s)
            entry.teams[s].team = names.teams[s];
    }
}

} // namespace

GradeOption grade_option_of(const RoundEntry &entry)
{
    if (entry.kind == LotteryKind::toto)
        return entry.has_grade3 ? GradeOption::plus1 : GradeOption::none;
    if (entry.kind == LotteryKind::BIG) {
        if (entry.has_grade6)
            return GradeOption::plus2;
        return entry.has_grade5 ? GradeOption::plus1 : GradeOption::none;
    }
    return GradeOption::none;
}

std::array<QString, 3> grade_option_captions(LotteryKind kind)
{
    if (kind == LotteryKind::toto)
        return {QStringLiteral("３等なし"), QStringLiteral("３等あり"), QString()};
    if (kind == LotteryKind::BIG)
        return {QStringLiteral("５等なし"), QStringLiteral("５等あり"), QStringLiteral("６等あり")};
    return {};
}

void apply_grade_option(RoundEntry &entry, GradeOption option)
{
    if (!is_match_kind(entry.kind))
        return;
    entry.has_grade3 = entry.kind == LotteryKind::toto && option != GradeOption::none;
    entry.has_grade5 = entry.kind == LotteryKind::BIG && option != GradeOption::none;
    entry.has_grade6 = entry.kind == LotteryKind::BIG && option == GradeOption::plus2;
}

RoundEntry new_round(LotteryKind kind, const RoundNames &names, GradeOption option)
{
    RoundEntry entry;
    entry.kind = kind;
    return renamed_round(entry, names, option);
}

RoundEntry renamed_round(const RoundEntry &round, const RoundNames &names, GradeOption option)
{
    RoundEntry entry = round;
    store_names(entry, names);
    apply_grade_option(entry, option);
    return entry;
}

SinglePurchase picked_single(const TicketBook &book, int entry, std::optional<int> edited,
                             const SinglePicks &picks)
{
    const LotteryKind kind = book.entries[static_cast<size_t>(entry)].kind;
    SinglePurchase ticket = !edited ? SinglePurchase{} : book.single_pool(kind)[static_cast<size_t>(*edited)];
    for (size_t s = 0; s < kMaxSlots; ++s) {
        if (picks[s] != kKeepPick)
            ticket.picks[s] = static_cast<uint8_t>(picks[s]);
    }
    return ticket;
}

MultiPurchase marked_multi(const MultiPurchase &marks, LotteryKind kind)
{
    MultiPurchase ticket;
    for (int s = 0; s < slot_count(kind); ++s)
        ticket.marks[static_cast<size_t>(s)] = marks.marks[static_cast<size_t>(s)];
    count_multi(ticket, kind);
    return ticket;
}
