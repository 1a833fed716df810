#include "book/book_invariants.h"

#include <vector>

namespace {

QString where(int entry)
{
    return QStringLiteral("entry %1: ").arg(entry);
}

bool same_counts(MultiPurchase stored, LotteryKind kind)
{
    MultiPurchase recounted = stored;
    count_multi(recounted, kind);
    return recounted.doubles == stored.doubles && recounted.triples == stored.triples &&
           recounted.combos == stored.combos;
}

} // namespace

Outcome check_invariants(const TicketBook &book)
{
    // seen[family][type - 1][index]
    std::vector<char> seen[2][2];
    for (int goal = 0; goal < 2; ++goal) {
        const LotteryKind kind = goal ? LotteryKind::totoGOAL : LotteryKind::toto;
        seen[goal][0].assign(book.single_pool(kind).size(), 0);
        seen[goal][1].assign(book.multi_pool(kind).size(), 0);
    }

    for (int i = 0; i < book.entry_count(); ++i) {
        const RoundEntry &e = book.entries[static_cast<size_t>(i)];
        if (!is_valid_kind_code(kind_code(e.kind)))
            return Outcome::failure(where(i) + QStringLiteral("invalid kind"));
        const int goal = is_match_kind(e.kind) ? 0 : 1;
        int64_t tickets = 0;
        int prev_type = kNoPurchase;
        int prev_index = i;
        int type = e.first_type;
        int index = e.first_index;
        while (type != kNoPurchase) {
            if (type != kSingle && type != kMulti)
                return Outcome::failure(where(i) + QStringLiteral("link of type %1").arg(type));
            std::vector<char> &marks = seen[goal][type - 1];
            if (index < 0 || index >= static_cast<int>(marks.size()))
                return Outcome::failure(
                    where(i) + QStringLiteral("link to %1/%2 outside its pool").arg(type).arg(index));
            if (marks[static_cast<size_t>(index)])
                return Outcome::failure(where(i) +
                                        QStringLiteral("record %1/%2 reached twice").arg(type).arg(index));
            marks[static_cast<size_t>(index)] = 1;
            const PurchaseLinks &l = book.links(e.kind, type, index);
            if (l.prev_type != prev_type || l.prev_index != prev_index) {
                return Outcome::failure(where(i) +
                                        (prev_type == kNoPurchase
                                             ? QStringLiteral("head %1/%2 does not point back")
                                             : QStringLiteral("record %1/%2 has a wrong previous link"))
                                            .arg(type)
                                            .arg(index));
            }
            if (type == kSingle) {
                ++tickets;
            } else {
                if (is_big_family(e.kind))
                    return Outcome::failure(where(i) + QStringLiteral("multi on a single-only round"));
                const MultiPurchase &m = book.multi_pool(e.kind)[static_cast<size_t>(index)];
                if (!same_counts(m, e.kind))
                    return Outcome::failure(
                        where(i) + QStringLiteral("multi %1 counts differ from its marks").arg(index));
                tickets += m.combos;
            }
            prev_type = type;
            prev_index = index;
            type = l.next_type;
            index = l.next_index;
        }
        if (tickets != e.tickets)
            return Outcome::failure(
                where(i) + QStringLiteral("tickets %1, purchases add up to %2").arg(e.tickets).arg(tickets));
    }

    static const char *const kPools[2][2] = {{"singles", "multis"}, {"goal_singles", "goal_multis"}};
    for (int goal = 0; goal < 2; ++goal)
        for (int t = 0; t < 2; ++t)
            for (size_t r = 0; r < seen[goal][t].size(); ++r)
                if (!seen[goal][t][r])
                    return Outcome::failure(QStringLiteral("%1[%2] belongs to no chain")
                                                .arg(QLatin1String(kPools[goal][t]))
                                                .arg(r));
    return Outcome::success();
}
