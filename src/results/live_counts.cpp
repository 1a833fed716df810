#include "results/live_counts.h"

#include "results/winning_check.h"

namespace {

// Highest result code that decides a slot (match: 1..3, goal: 1..4 goals).
int decided_max(LotteryKind kind)
{
    return is_match_kind(kind) ? kDraw : 4;
}

bool is_open_result(LotteryKind kind, int result)
{
    return result == kResultNone || result == (is_match_kind(kind) ? kCancelled : kScoreCancelled);
}

// The result code a single's pick stands for.
int result_code_of_pick(LotteryKind kind, int pick)
{
    return is_match_kind(kind) ? pick : pick + 1;
}

// The mark of a multi's slot that a decided result names.
int mark_of_decided(LotteryKind kind, int result)
{
    return is_match_kind(kind) ? mark_of_result(result) : result - 1;
}

// The mark of a multi's slot that outcome `o` stands for.
int mark_of_outcome(LotteryKind kind, int o)
{
    return is_match_kind(kind) ? kMatchOutcomes[static_cast<size_t>(o)].mark : o;
}

// What the round's grade table makes of tickets, looked up once per round rather than
// once per ticket and outcome.
struct GradeTable {
    // The counter (0..5 a grade, 6 losing) of a single with a given number of misses; one
    // past the slots, as lifting and then missing a supposition can reach it.
    std::array<size_t, kMaxSlots + 2> by_misses{};
    std::array<bool, 4> multi_grade{}; // grades 1..3 of the multis' formulas

    explicit GradeTable(const RoundEntry &entry)
    {
        for (size_t m = 0; m < by_misses.size(); ++m) {
            const int grade = static_cast<int>(m) + 1;
            by_misses[m] = grade <= kMaxGrades && grade_exists(entry, grade) ? m : 6;
        }
        for (int g = 1; g <= 3; ++g)
            multi_grade[static_cast<size_t>(g)] = grade_exists(entry, g);
    }
};

void add_to(GradeCounts &to, const GradeCounts &from)
{
    for (size_t g = 0; g < to.size(); ++g)
        to[g] += from[g];
}

// A multi's standing as the winning check classifies its slots: the combinations of the open
// and missed slots (`product` of their mark counts, unless `zeros` of them have no mark),
// the missed slots, and the wrong marks of the covered slots.
struct MultiState {
    int missed = 0;
    int zeros = 0;
    int64_t product = 1;
    int64_t wrong = 0;
    int64_t triple_covered = 0;

    // The tickets per grade: per unit of the open and missed slots' combinations, a ticket
    // is wrong on none, one or two of the covered slots in 1, `wrong` and `pairs` ways.
    GradeCounts counts(const GradeTable &table, int64_t combos) const
    {
        GradeCounts out{};
        const int64_t base = zeros > 0 ? 0 : product;
        const int64_t pairs = wrong * (wrong - 1) / 2 - triple_covered;
        const std::array<int64_t, 3> by_wrong_covered = {base, base * wrong, base * pairs};
        int64_t graded = 0;
        for (int j = 0; j < 3; ++j) {
            const int grade = missed + j + 1;
            if (grade <= 3 && table.multi_grade[static_cast<size_t>(grade)]) {
                out[static_cast<size_t>(grade - 1)] += by_wrong_covered[static_cast<size_t>(j)];
                graded += by_wrong_covered[static_cast<size_t>(j)];
            }
        }
        out[6] += combos - graded;
        return out;
    }

    void multiply(int marks)
    {
        if (marks == 0)
            ++zeros;
        else
            product *= marks;
    }
    void divide(int marks)
    {
        if (marks == 0)
            --zeros;
        else
            product /= marks;
    }
    void cover(int marks, int sign)
    {
        wrong += sign * (marks - 1);
        if (marks == 3)
            triple_covered += sign;
    }
};

class Counter {
public:
    Counter(const TicketBook &book, const RoundEntry &entry, const Suppositions &supposed, LiveCounts &out)
        : book_(book), kind_(entry.kind), round_(supposed_round(entry, supposed)), table_(entry),
          outcomes_(outcome_count(entry.kind)), out_(out)
    {
        for (int s = 0; s < slot_count(kind_); ++s)
            if (slot_undecided(entry, s))
                open_[static_cast<size_t>(open_count_++)] = s;
    }

    void single(const SinglePurchase &ticket)
    {
        const int dmax = decided_max(kind_);
        int misses = 0;
        for (int s = 0; s < slot_count(kind_); ++s) {
            const int r = round_.slot_result(s);
            if (r >= 1 && r <= dmax && r != result_code_of_pick(kind_, ticket.picks[static_cast<size_t>(s)]))
                ++misses;
        }
        ++out_.now[table_.by_misses[static_cast<size_t>(misses)]];
        for (int i = 0; i < open_count_; ++i) {
            const int s = open_[static_cast<size_t>(i)];
            const int pick = result_code_of_pick(kind_, ticket.picks[static_cast<size_t>(s)]);
            const int own = round_.slot_result(s);
            const int lifted = misses - (own != kResultNone && own != pick ? 1 : 0);
            auto &row = out_.if_ended[static_cast<size_t>(s)];
            for (int o = 0; o < outcomes_; ++o) {
                const int m = lifted + (outcome_result(kind_, o) != pick ? 1 : 0);
                ++row[static_cast<size_t>(o)][table_.by_misses[static_cast<size_t>(m)]];
            }
        }
    }

    void multi(const MultiPurchase &ticket)
    {
        // The BIG kinds take singles only; the check examines no slot of a multi read
        // from a file for them, so no outcome changes its counts.
        if (is_big_family(kind_)) {
            const GradeCounts fixed = MultiState{}.counts(table_, ticket.combos);
            add_to(out_.now, fixed);
            for (int i = 0; i < open_count_; ++i)
                for (int o = 0; o < outcomes_; ++o)
                    add_to(out_.if_ended[static_cast<size_t>(open_[static_cast<size_t>(i)])]
                                        [static_cast<size_t>(o)],
                           fixed);
            return;
        }
        const int width = marks_per_slot(kind_);
        const int dmax = decided_max(kind_);
        std::array<int, kMaxSlots> marks_of{};
        MultiState state;
        for (int s = 0; s < slot_count(kind_); ++s) {
            const auto &marks = ticket.marks[static_cast<size_t>(s)];
            int k = 0;
            for (int m = 0; m < width; ++m)
                k += marks[static_cast<size_t>(m)] ? 1 : 0;
            marks_of[static_cast<size_t>(s)] = k;
            const int r = round_.slot_result(s);
            if (is_open_result(kind_, r)) {
                state.multiply(k);
            } else if (r >= 1 && r <= dmax && marks[static_cast<size_t>(mark_of_decided(kind_, r))]) {
                state.cover(k, 1);
            } else {
                state.multiply(k);
                ++state.missed;
            }
        }
        add_to(out_.now, state.counts(table_, ticket.combos));
        for (int i = 0; i < open_count_; ++i) {
            const int s = open_[static_cast<size_t>(i)];
            const int k = marks_of[static_cast<size_t>(s)];
            const auto &marks = ticket.marks[static_cast<size_t>(s)];
            // The slot as if nothing were supposed for it.
            MultiState lifted = state;
            const int own = round_.slot_result(s);
            if (own == kResultNone) {
                lifted.divide(k);
            } else if (marks[static_cast<size_t>(mark_of_decided(kind_, own))]) {
                lifted.cover(k, -1);
            } else {
                lifted.divide(k);
                --lifted.missed;
            }
            MultiState covered = lifted;
            covered.cover(k, 1);
            MultiState missed = lifted;
            missed.multiply(k);
            ++missed.missed;
            const GradeCounts if_covered = covered.counts(table_, ticket.combos);
            const GradeCounts if_missed = missed.counts(table_, ticket.combos);
            auto &row = out_.if_ended[static_cast<size_t>(s)];
            for (int o = 0; o < outcomes_; ++o)
                add_to(row[static_cast<size_t>(o)],
                       marks[static_cast<size_t>(mark_of_outcome(kind_, o))] ? if_covered : if_missed);
        }
    }

    void walk(int entry)
    {
        const auto &singles = book_.single_pool(kind_);
        const auto &multis = book_.multi_pool(kind_);
        book_.for_each_purchase(entry, [&](int type, int index) {
            if (type == kSingle)
                single(singles[static_cast<size_t>(index)]);
            else
                multi(multis[static_cast<size_t>(index)]);
        });
    }

private:
    const TicketBook &book_;
    const LotteryKind kind_;
    const RoundEntry round_;
    const GradeTable table_;
    const int outcomes_;
    std::array<int, kMaxSlots> open_{};
    int open_count_ = 0;
    LiveCounts &out_;
};

} // namespace

int outcome_count(LotteryKind kind)
{
    return is_match_kind(kind) ? static_cast<int>(kMatchOutcomes.size()) : kMaxOutcomes;
}

int outcome_result(LotteryKind kind, int o)
{
    return is_match_kind(kind) ? kMatchOutcomes[static_cast<size_t>(o)].result : o + 1;
}

int outcome_of_result(LotteryKind kind, int result)
{
    for (int o = 0; o < outcome_count(kind); ++o)
        if (outcome_result(kind, o) == result)
            return o;
    return -1;
}

QString outcome_mark(LotteryKind kind, int o)
{
    return QString::number(is_match_kind(kind) ? kMatchOutcomes[static_cast<size_t>(o)].file_code : o);
}

bool slot_undecided(const RoundEntry &entry, int slot)
{
    return slot >= 0 && slot < slot_count(entry.kind) && entry.slot_result(slot) == kResultNone;
}

RoundEntry supposed_round(const RoundEntry &entry, const Suppositions &supposed)
{
    RoundEntry round = entry;
    for (int s = 0; s < slot_count(entry.kind); ++s) {
        const int code = supposed[static_cast<size_t>(s)];
        if (!slot_undecided(entry, s) || outcome_of_result(entry.kind, code) < 0)
            continue;
        if (is_match_kind(entry.kind))
            round.matches[static_cast<size_t>(s)].result = code;
        else
            round.teams[static_cast<size_t>(s)].score = code;
    }
    return round;
}

LiveCounts live_counts(const TicketBook &book, int entry, const Suppositions &supposed)
{
    LiveCounts out;
    const RoundEntry &e = book.entries[static_cast<size_t>(entry)];
    if (e.state == kPrizeRefund || e.tickets == 0)
        return out;
    out.counted = true;
    Counter(book, e, supposed, out).walk(entry);
    return out;
}

std::optional<WideInt> live_won(const RoundEntry &supposed, const GradeCounts &now)
{
    if (supposed.state != kPrizeEntered || !results_complete(supposed))
        return std::nullopt;
    // As the check says: a round whose every ticket lost won nothing.
    WideInt won = 0;
    if (now[6] != supposed.tickets)
        for (size_t g = 0; g < 6; ++g)
            won += WideInt{now[g]} * supposed.prizes[g];
    return won;
}
