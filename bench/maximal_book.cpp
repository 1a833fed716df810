#include "maximal_book.h"

#include "platform/shift_jis.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

namespace {

RoundEntry make_round(int i)
{
    // Mostly kinds that take multis, with every kind present.
    static const LotteryKind kinds[] = {LotteryKind::toto,      LotteryKind::totoGOAL, LotteryKind::minitotoA,
                                        LotteryKind::BIG,       LotteryKind::toto5,    LotteryKind::totoGOAL3,
                                        LotteryKind::minitotoB, LotteryKind::BIG100,   LotteryKind::totoGOAL2,
                                        LotteryKind::BIG1000,   LotteryKind::miniBIG,  LotteryKind::toto};
    RoundEntry e;
    e.kind = kinds[i % std::size(kinds)];
    e.kai = QByteArray::number(i + 1).right(kMaxTextBytes);
    const bool match = is_match_kind(e.kind);
    const QByteArray home = shift_jis::encode(QStringLiteral("鹿島"));
    const QByteArray away = shift_jis::encode(QStringLiteral("川崎Ｆ"));
    for (int s = 0; s < slot_count(e.kind); ++s) {
        if (match) {
            e.matches[s] = {home, away, i % 5 == 0 ? kResultNone : 1 + (i + s) % 4};
        } else {
            e.teams[s] = {s % 2 ? home : away, i % 5 == 0 ? kScoreNone : 1 + (i + s) % 5};
        }
    }
    e.has_grade3 = e.kind == LotteryKind::toto;
    e.has_grade5 = e.has_grade6 = e.kind == LotteryKind::BIG;
    e.state = i % 7 == 0 ? kPrizeRefund : kPrizeEntered;
    if (e.state == kPrizeEntered)
        for (int g = 0; g < 6; ++g)
            e.prizes[g] = 100'000'000 >> (3 * g);
    return e;
}

} // namespace

namespace {

// A maximal book fits by construction; a refusal means the builder is wrong.
void must(bool ok)
{
    if (!ok) {
        std::fprintf(stderr, "the maximal book does not fit\n");
        std::abort();
    }
}

} // namespace

TicketBook maximal_book(int entries, int records_per_pool)
{
    TicketBook book;
    std::vector<int> match_rounds;
    std::vector<int> multi_match_rounds;
    std::vector<int> goal_rounds;
    for (int i = 0; i < entries; ++i) {
        must(add_entry(book, make_round(i)).ok);
        const LotteryKind kind = book.entries.back().kind;
        (is_match_kind(kind) ? match_rounds : goal_rounds).push_back(i);
        if (is_match_kind(kind) && !is_big_family(kind))
            multi_match_rounds.push_back(i);
    }
    // Purchases go to their rounds in turn, so chains hold a few records each.
    for (int r = 0; r < records_per_pool; ++r) {
        const int m = match_rounds[static_cast<size_t>(r) % match_rounds.size()];
        const int mm = multi_match_rounds[static_cast<size_t>(r) % multi_match_rounds.size()];
        const int g = goal_rounds[static_cast<size_t>(r) % goal_rounds.size()];
        SinglePurchase single;
        SinglePurchase goal_single;
        MultiPurchase multi;
        MultiPurchase goal_multi;
        for (int s = 0; s < kMaxSlots; ++s) {
            single.picks[s] = static_cast<uint8_t>(1 + (r + s) % 3);
            goal_single.picks[s] = static_cast<uint8_t>((r + s) % 4);
            multi.marks[s][(r + s) % 3] = true;
            goal_multi.marks[s][(r + s) % 4] = true;
        }
        multi.marks[r % 5][(r + 1) % 3] = true; // one double
        goal_multi.marks[r % 4][(r + 2) % 4] = true;
        must(add_single(book, m, single).ok);
        must(add_multi(book, mm, multi).ok);
        must(add_single(book, g, goal_single).ok);
        must(add_multi(book, g, goal_multi).ok);
    }
    return book;
}

TicketBook decided_toto_book(const char *kai, const std::vector<NewPurchase> &purchases)
{
    TicketBook book;
    RoundEntry e;
    e.kind = LotteryKind::toto;
    e.kai = QByteArray(kai);
    for (int s = 0; s < slot_count(e.kind); ++s)
        e.matches[static_cast<size_t>(s)] = {QByteArrayLiteral("H"), QByteArrayLiteral("A"), kHomeWin};
    e.state = kPrizeEntered;
    e.prizes = {100'000'000, 1'000'000, 10'000, 0, 0, 0};
    e.has_grade3 = true;
    if (!add_entry(book, e).ok || !add_purchases(book, 0, purchases).ok)
        std::fprintf(stderr, "the decided round does not fit\n");
    return book;
}
