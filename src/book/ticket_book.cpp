#include "book/ticket_book.h"

#include "book/amount_text.h"

#include <algorithm>

int RoundEntry::slot_result(int slot) const
{
    return is_match_kind(kind) ? matches[static_cast<size_t>(slot)].result
                               : teams[static_cast<size_t>(slot)].score;
}

TrackedList<SinglePurchase> &TicketBook::single_pool(LotteryKind kind)
{
    return is_match_kind(kind) ? singles : goal_singles;
}

const TrackedList<SinglePurchase> &TicketBook::single_pool(LotteryKind kind) const
{
    return is_match_kind(kind) ? singles : goal_singles;
}

TrackedList<MultiPurchase> &TicketBook::multi_pool(LotteryKind kind)
{
    return is_match_kind(kind) ? multis : goal_multis;
}

const TrackedList<MultiPurchase> &TicketBook::multi_pool(LotteryKind kind) const
{
    return is_match_kind(kind) ? multis : goal_multis;
}

// Any type other than single is read from the multi pool, as the chain walkers do.
PurchaseLinks &TicketBook::links(LotteryKind kind, int type, int index)
{
    const auto i = static_cast<size_t>(index);
    return type == kSingle ? single_pool(kind)[i].link : multi_pool(kind)[i].link;
}

const PurchaseLinks &TicketBook::links(LotteryKind kind, int type, int index) const
{
    const auto i = static_cast<size_t>(index);
    return type == kSingle ? single_pool(kind)[i].link : multi_pool(kind)[i].link;
}

void TicketBook::clear()
{
    entries.clear();
    singles.clear();
    multis.clear();
    goal_singles.clear();
    goal_multis.clear();
}

Outcome add_entry(TicketBook &book, const RoundEntry &entry)
{
    if (book.entry_count() >= kMaxRecords)
        return Outcome::failure(out_of_memory_message());
    book.entries.push_back(entry);
    return Outcome::success();
}

void link_purchase(TicketBook &book, int entry, int type, int index)
{
    ChainAppender(book, entry).append(type, index);
}

ChainAppender::ChainAppender(TicketBook &book, int entry) : book_(book), entry_(entry)
{
    book.for_each_purchase(entry, [this](int type, int index) {
        tail_type_ = type;
        tail_index_ = index;
    });
}

void ChainAppender::append(int type, int index)
{
    RoundEntry &e = book_.entries[static_cast<size_t>(entry_)];
    PurchaseLinks &added = book_.links(e.kind, type, index);
    added = PurchaseLinks{};
    if (tail_type_ == kNoPurchase) {
        e.first_type = type;
        e.first_index = index;
        added.prev_index = entry_;
    } else {
        PurchaseLinks &tail = book_.links(e.kind, tail_type_, tail_index_);
        tail.next_type = type;
        tail.next_index = index;
        added.prev_type = tail_type_;
        added.prev_index = tail_index_;
    }
    tail_type_ = type;
    tail_index_ = index;
}

void PurchaseTally::add_multi(LotteryKind kind, int64_t combos)
{
    big_multi = big_multi || is_big_family(kind);
    ++multis;
    tickets += combos;
}

void PurchaseTally::add(const NewPurchase &purchase, LotteryKind kind)
{
    if (const auto *multi = std::get_if<MultiPurchase>(&purchase)) {
        MultiPurchase counted = *multi;
        count_multi(counted, kind);
        add_multi(kind, counted.combos);
    } else {
        add_single();
    }
}

namespace {

enum class PurchaseLimit { none, big_multi, singles, multis, round_tickets };

PurchaseLimit purchase_limit(const TicketBook &book, LotteryKind kind, int64_t round_tickets,
                             const PurchaseTally &added)
{
    if (added.big_multi)
        return PurchaseLimit::big_multi;
    if (static_cast<int64_t>(book.single_pool(kind).size()) + added.singles > kMaxRecords)
        return PurchaseLimit::singles;
    if (static_cast<int64_t>(book.multi_pool(kind).size()) + added.multis > kMaxRecords)
        return PurchaseLimit::multis;
    if (added.tickets > 0 && round_tickets + added.tickets > kMaxRoundTickets)
        return PurchaseLimit::round_tickets;
    return PurchaseLimit::none;
}

QString big_multi_message()
{
    return QStringLiteral("この種別はマルチ購入できません。");
}

} // namespace

Outcome purchases_fit(const TicketBook &book, LotteryKind kind, int64_t round_tickets,
                      const PurchaseTally &added)
{
    switch (purchase_limit(book, kind, round_tickets, added)) {
    case PurchaseLimit::none: return Outcome::success();
    case PurchaseLimit::big_multi: return Outcome::failure(big_multi_message());
    default: return Outcome::failure(out_of_memory_message());
    }
}

QString purchases_limit_text(const TicketBook &book, LotteryKind kind, int64_t round_tickets,
                             const PurchaseTally &added)
{
    const auto room = [](int64_t limit, int64_t used) {
        return format_yen(std::max<int64_t>(limit - used, 0));
    };
    switch (purchase_limit(book, kind, round_tickets, added)) {
    case PurchaseLimit::none: return QString();
    case PurchaseLimit::big_multi: return big_multi_message();
    case PurchaseLimit::singles:
        return QStringLiteral("シングルはこの種別で%1件までです（あと%2件）")
            .arg(format_yen(kMaxRecords),
                 room(kMaxRecords, static_cast<int64_t>(book.single_pool(kind).size())));
    case PurchaseLimit::multis:
        return QStringLiteral("マルチはこの種別で%1件までです（あと%2件）")
            .arg(format_yen(kMaxRecords),
                 room(kMaxRecords, static_cast<int64_t>(book.multi_pool(kind).size())));
    case PurchaseLimit::round_tickets: break;
    }
    return QStringLiteral("1回の口数は%1口までです（あと%2口）")
        .arg(format_yen(kMaxRoundTickets), room(kMaxRoundTickets, round_tickets));
}

Outcome add_single(TicketBook &book, int entry, const SinglePurchase &purchase)
{
    return add_purchases(book, entry, {purchase});
}

Outcome add_multi(TicketBook &book, int entry, const MultiPurchase &purchase)
{
    return add_purchases(book, entry, {purchase});
}

Outcome add_purchases(TicketBook &book, int entry, const std::vector<NewPurchase> &purchases)
{
    RoundEntry &e = book.entries[static_cast<size_t>(entry)];
    PurchaseTally tally;
    for (const NewPurchase &p : purchases)
        tally.add(p, e.kind);
    if (Outcome fits = purchases_fit(book, e.kind, e.tickets, tally); !fits.ok)
        return fits;
    auto &single_pool = book.single_pool(e.kind);
    auto &multi_pool = book.multi_pool(e.kind);
    // The tail is found once, so each purchase links in constant time.
    ChainAppender chain(book, entry);
    for (const NewPurchase &p : purchases) {
        if (const auto *single = std::get_if<SinglePurchase>(&p)) {
            single_pool.push_back(*single);
            chain.append(kSingle, static_cast<int>(single_pool.size()) - 1);
        } else {
            MultiPurchase counted = std::get<MultiPurchase>(p);
            count_multi(counted, e.kind);
            multi_pool.push_back(counted);
            chain.append(kMulti, static_cast<int>(multi_pool.size()) - 1);
        }
    }
    e.tickets += tally.tickets;
    return Outcome::success();
}

void replace_single(TicketBook &book, int entry, int index, const SinglePurchase &purchase)
{
    const LotteryKind kind = book.entries[static_cast<size_t>(entry)].kind;
    book.single_pool(kind)[static_cast<size_t>(index)].picks = purchase.picks;
}

void replace_multi(TicketBook &book, int entry, int index, const MultiPurchase &marks)
{
    RoundEntry &round = book.entries[static_cast<size_t>(entry)];
    MultiPurchase &ticket = book.multi_pool(round.kind)[static_cast<size_t>(index)];
    for (int s = 0; s < slot_count(round.kind); ++s)
        ticket.marks[static_cast<size_t>(s)] = marks.marks[static_cast<size_t>(s)];
    round.tickets -= ticket.combos;
    count_multi(ticket, round.kind);
    round.tickets += ticket.combos;
}

void copy_names(RoundEntry &to, const RoundEntry &from)
{
    to.kai = from.kai;
    if (is_match_kind(to.kind)) {
        for (size_t s = 0; s < to.matches.size(); ++s) {
            to.matches[s].home = from.matches[s].home;
            to.matches[s].away = from.matches[s].away;
        }
    } else {
        for (size_t s = 0; s < to.teams.size(); ++s)
            to.teams[s].team = from.teams[s].team;
    }
    to.has_grade3 = from.has_grade3;
    to.has_grade5 = from.has_grade5;
    to.has_grade6 = from.has_grade6;
}

void copy_results(RoundEntry &to, const RoundEntry &from, bool with_flags)
{
    if (is_match_kind(to.kind)) {
        for (size_t s = 0; s < to.matches.size(); ++s)
            to.matches[s].result = from.matches[s].result;
    } else {
        for (size_t s = 0; s < to.teams.size(); ++s)
            to.teams[s].score = from.teams[s].score;
    }
    to.state = from.state;
    to.prizes = from.prizes;
    if (with_flags) {
        to.has_grade3 = from.has_grade3;
        to.has_grade5 = from.has_grade5;
        to.has_grade6 = from.has_grade6;
    }
}

void count_multi(MultiPurchase &multi, LotteryKind kind)
{
    multi.doubles = 0;
    multi.triples = 0;
    multi.marked = 0;
    const int width = marks_per_slot(kind);
    for (int s = 0; s < slot_count(kind); ++s) {
        int k = 0;
        for (int m = 0; m < width; ++m)
            k += multi.marks[static_cast<size_t>(s)][static_cast<size_t>(m)] ? 1 : 0;
        if (k > 0)
            ++multi.marked;
        if (k == 2)
            ++multi.doubles;
        else if (k == 3)
            ++multi.triples;
    }
    int64_t combos = 1;
    for (int i = 0; i < multi.doubles; ++i)
        combos *= 2;
    for (int i = 0; i < multi.triples; ++i)
        combos *= 3;
    multi.combos = combos;
}

bool grade_exists(const RoundEntry &entry, int grade)
{
    if (grade == 1)
        return true;
    switch (entry.kind) {
    case LotteryKind::toto: return grade == 2 || (grade == 3 && entry.has_grade3);
    case LotteryKind::BIG:
        return grade <= 4 || (grade == 5 && entry.has_grade5) || (grade == 6 && entry.has_grade6);
    case LotteryKind::BIG1000: return grade <= 4;
    case LotteryKind::miniBIG: return grade <= 3;
    case LotteryKind::BIG100: return grade <= 5;
    case LotteryKind::totoGOAL:
    case LotteryKind::totoGOAL3: return grade == 2;
    default: return false;
    }
}

int grade_count(const RoundEntry &entry)
{
    for (int g = 6; g > 1; --g)
        if (grade_exists(entry, g))
            return g;
    return 1;
}

namespace {

int marks_in_slot(const MultiPurchase &multi, LotteryKind kind, int slot)
{
    int n = 0;
    for (int m = 0; m < marks_per_slot(kind); ++m)
        n += multi.marks[static_cast<size_t>(slot)][static_cast<size_t>(m)] ? 1 : 0;
    return n;
}

} // namespace

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
