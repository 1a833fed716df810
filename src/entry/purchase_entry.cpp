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

int marks_in_slot(const MultiPurchase &multi, LotteryKind kind, int slot)
{
    int n = 0;
    for (int m = 0; m < marks_per_slot(kind); ++m)
        n += multi.marks[static_cast<size_t>(slot)][static_cast<size_t>(m)] ? 1 : 0;
    return n;
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

void apply_grade_option(RoundEntry &entry, GradeOption option)
{
    if (!is_match_kind(entry.kind))
        return;
    entry.has_grade3 = entry.kind == LotteryKind::toto && option != GradeOption::none;
    entry.has_grade5 = entry.kind == LotteryKind::BIG && option != GradeOption::none;
    entry.has_grade6 = entry.kind == LotteryKind::BIG && option == GradeOption::plus2;
}

Outcome add_round(TicketBook &book, LotteryKind kind, const RoundNames &names, GradeOption option)
{
    RoundEntry entry;
    entry.kind = kind;
    store_names(entry, names);
    apply_grade_option(entry, option);
    return add_entry(book, entry);
}

void edit_round(TicketBook &book, int entry, const RoundNames &names, GradeOption option)
{
    RoundEntry &e = book.entries[static_cast<size_t>(entry)];
    store_names(e, names);
    apply_grade_option(e, option);
}

Outcome store_single(TicketBook &book, int entry, int edit_index, const SinglePicks &picks)
{
    const LotteryKind kind = book.entries[static_cast<size_t>(entry)].kind;
    SinglePurchase fresh;
    SinglePurchase &ticket = edit_index < 0 ? fresh : book.single_pool(kind)[static_cast<size_t>(edit_index)];
    for (size_t s = 0; s < kMaxSlots; ++s) {
        if (picks[s] != kKeepPick)
            ticket.picks[s] = static_cast<uint8_t>(picks[s]);
    }
    return edit_index < 0 ? add_single(book, entry, fresh) : Outcome::success();
}

bool multi_within_limits(const MultiPurchase &counted, LotteryKind kind)
{
    return multi_limit_reason(counted, kind).isEmpty();
}

QString multi_limit_reason(const MultiPurchase &counted, LotteryKind kind)
{
    if (counted.combos > kMaxMultiCombos)
        return QStringLiteral("マルチは500口までです");
    for (int s = 0; s < slot_count(kind); ++s) {
        if (marks_in_slot(counted, kind, s) > kMaxMarksPerSlot)
            return QStringLiteral("印は1チーム3つまでです");
    }
    return {};
}

Outcome store_multi(TicketBook &book, int entry, int edit_index, const MultiPurchase &marks)
{
    RoundEntry &round = book.entries[static_cast<size_t>(entry)];
    const LotteryKind kind = round.kind;
    MultiPurchase fresh;
    MultiPurchase &ticket = edit_index < 0 ? fresh : book.multi_pool(kind)[static_cast<size_t>(edit_index)];
    for (int s = 0; s < slot_count(kind); ++s)
        ticket.marks[static_cast<size_t>(s)] = marks.marks[static_cast<size_t>(s)];
    if (edit_index < 0)
        return add_multi(book, entry, fresh);
    round.tickets -= ticket.combos;
    count_multi(ticket, kind);
    round.tickets += ticket.combos;
    return Outcome::success();
}
