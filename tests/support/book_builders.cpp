#include "support/book_builders.h"

#include "platform/shift_jis.h"
#include "results/winning_check.h"

#include <QDir>
#include <set>

QByteArray sjis(const char *utf8)
{
    return shift_jis::encode(QString::fromUtf8(utf8));
}

RoundEntry make_entry(LotteryKind kind, const char *kai)
{
    RoundEntry e;
    e.kind = kind;
    e.kai = sjis(kai);
    for (int s = 0; s < slot_count(kind); ++s) {
        if (is_match_kind(kind)) {
            e.matches[s].home = QByteArray("H") + QByteArray::number(s);
            e.matches[s].away = QByteArray("A") + QByteArray::number(s);
        } else {
            e.teams[s].team = QByteArray("T") + QByteArray::number(s);
        }
    }
    return e;
}

SinglePurchase make_single(const std::vector<int> &picks)
{
    SinglePurchase p;
    for (size_t s = 0; s < picks.size(); ++s)
        p.picks[s] = static_cast<uint8_t>(picks[s]);
    return p;
}

MultiPurchase make_multi(const std::vector<const char *> &marks)
{
    MultiPurchase m;
    for (size_t s = 0; s < marks.size(); ++s)
        for (size_t k = 0; marks[s][k] != '\0'; ++k)
            m.marks[s][k] = marks[s][k] == '1';
    return m;
}

std::vector<Ticket> tickets_of(const TicketBook &book, int entry)
{
    std::vector<Ticket> out;
    const LotteryKind kind = book.entries[entry].kind;
    book.for_each_purchase(entry, [&](int type, int index) {
        if (type == kSingle) {
            SinglePurchase p = book.single_pool(kind)[index];
            p.link = {};
            out.emplace_back(p);
        } else {
            MultiPurchase p = book.multi_pool(kind)[index];
            p.link = {};
            p.marked = 0;
            out.emplace_back(p);
        }
    });
    return out;
}

namespace {

const char *const kTexts[] = {"",       "1",         "鹿島",       "FC東京",     "川崎Ｆ",
                              "横浜FM", "ｶﾞﾝﾊﾞ大阪", "1234567890", "ＡＢＣＤＥ", "東京ヴェル"};

QByteArray random_text(std::mt19937 &rng)
{
    return sjis(kTexts[rng() % std::size(kTexts)]);
}

int pick(std::mt19937 &rng, int bound)
{
    return static_cast<int>(rng() % static_cast<unsigned>(bound));
}

} // namespace

TicketBook all_cancelled_toto_book(int rounds, int multis, int64_t prize)
{
    TicketBook book;
    RoundEntry e = make_entry(LotteryKind::toto);
    for (int s = 0; s < 13; ++s)
        e.matches[static_cast<size_t>(s)].result = kCancelled;
    e.state = kPrizeEntered;
    e.prizes[0] = prize;
    MultiPurchase all = make_multi(std::vector<const char *>(13, "111"));
    count_multi(all, LotteryKind::toto);
    // Past the tickets the program lets a round take, as only a file can hold them: stored
    // as the reader stores them.
    for (int r = 0; r < rounds; ++r) {
        EXPECT_TRUE(add_entry(book, e).ok);
        ChainAppender chain(book, r);
        for (int m = 0; m < multis; ++m) {
            book.multis.push_back(all);
            chain.append(kMulti, static_cast<int>(book.multis.size()) - 1);
            book.entries[static_cast<size_t>(r)].tickets += all.combos;
        }
    }
    grade_book(book);
    return book;
}

TicketBook random_book(std::mt19937 &rng, int entries, int purchases)
{
    TicketBook book;
    for (int i = 0; i < entries; ++i) {
        const LotteryKind kind = kind_from_code(pick(rng, kKindCount));
        RoundEntry e;
        e.kind = kind;
        e.kai = random_text(rng);
        const int n = slot_count(kind);
        for (int s = 0; s < n; ++s) {
            if (is_match_kind(kind)) {
                e.matches[s].home = random_text(rng);
                e.matches[s].away = random_text(rng);
                e.matches[s].result = pick(rng, 5);
            } else {
                e.teams[s].team = random_text(rng);
                e.teams[s].score = pick(rng, 6);
            }
        }
        e.has_grade3 = kind == LotteryKind::toto && pick(rng, 2);
        e.has_grade5 = kind == LotteryKind::BIG && pick(rng, 2);
        e.has_grade6 = kind == LotteryKind::BIG && pick(rng, 2);
        e.state = pick(rng, 3);
        if (e.state == kPrizeEntered) {
            const int64_t cap = prize_cap(kind) ? prize_cap(kind) : 0x7FFFFFFF;
            const int stored = is_match_kind(kind) ? 6 : 2;
            for (int g = 0; g < stored; ++g)
                if (is_match_kind(kind) ? grade_exists(e, g + 1) : true)
                    e.prizes[g] = std::uniform_int_distribution<int64_t>(0, cap)(rng);
        }
        EXPECT_TRUE(add_entry(book, e).ok);
    }
    for (int p = 0; p < purchases && entries > 0; ++p) {
        const int at = pick(rng, entries);
        const LotteryKind kind = book.entries[at].kind;
        const int n = slot_count(kind);
        if (is_big_family(kind) || pick(rng, 2)) {
            SinglePurchase s;
            for (int i = 0; i < n; ++i)
                s.picks[i] = static_cast<uint8_t>(is_match_kind(kind) ? 1 + pick(rng, 3) : pick(rng, 4));
            EXPECT_TRUE(add_single(book, at, s).ok);
        } else {
            MultiPurchase m;
            const int width = marks_per_slot(kind);
            for (int i = 0; i < n; ++i) {
                // Mostly one mark, sometimes two or three, never none or all four.
                const int marks = pick(rng, 4) == 0 ? 2 + pick(rng, 2) : 1;
                const int start = pick(rng, width);
                for (int k = 0; k < marks; ++k)
                    m.marks[i][(start + k) % width] = true;
            }
            EXPECT_TRUE(add_multi(book, at, m).ok);
        }
    }
    for (int i = 0; i < book.entry_count(); ++i)
        result_chk(book, i);
    return book;
}

::testing::AssertionResult chains_consistent(const TicketBook &book)
{
    std::set<std::tuple<bool, int, int>> seen; // (goal family, type, index)
    for (int i = 0; i < book.entry_count(); ++i) {
        const RoundEntry &e = book.entries[i];
        const bool goal = !is_match_kind(e.kind);
        int64_t tickets = 0;
        int prev_type = kNoPurchase;
        int prev_index = i;
        int steps = 0;
        int type = e.first_type;
        int index = e.first_index;
        while (type != kNoPurchase) {
            const int pool_size = static_cast<int>(type == kSingle ? book.single_pool(e.kind).size()
                                                                   : book.multi_pool(e.kind).size());
            if (index < 0 || index >= pool_size)
                return ::testing::AssertionFailure() << "entry " << i << " links outside its pool";
            if (!seen.insert({goal, type, index}).second)
                return ::testing::AssertionFailure() << "record " << type << "/" << index << " in two chains";
            const PurchaseLinks &l = book.links(e.kind, type, index);
            if (l.prev_type != prev_type || l.prev_index != prev_index)
                return ::testing::AssertionFailure() << "entry " << i << " has a broken back link";
            tickets += type == kSingle ? 1 : book.multi_pool(e.kind)[index].combos;
            prev_type = type;
            prev_index = index;
            type = l.next_type;
            index = l.next_index;
            if (++steps > kMaxRecords * 2)
                return ::testing::AssertionFailure() << "entry " << i << " has a cycle";
        }
        if (tickets != e.tickets)
            return ::testing::AssertionFailure()
                   << "entry " << i << " tickets " << e.tickets << " != " << tickets;
    }
    const size_t records =
        book.singles.size() + book.multis.size() + book.goal_singles.size() + book.goal_multis.size();
    if (seen.size() != records)
        return ::testing::AssertionFailure() << records - seen.size() << " records belong to no chain";
    return ::testing::AssertionSuccess();
}

QString test_data(const QString &name)
{
    return QStringLiteral(YORIMO_TEST_DATA "/") + name;
}
