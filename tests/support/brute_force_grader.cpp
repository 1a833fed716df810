#include "support/brute_force_grader.h"

int brute_grade(const RoundEntry &e, int misses)
{
    switch (e.kind) {
    case LotteryKind::toto:
        if (misses == 0)
            return 1;
        if (misses == 1)
            return 2;
        if (misses == 2 && e.has_grade3)
            return 3;
        return 0;
    case LotteryKind::minitotoA:
    case LotteryKind::minitotoB:
    case LotteryKind::toto5:
    case LotteryKind::totoGOAL2: return misses == 0 ? 1 : 0;
    case LotteryKind::totoGOAL:
    case LotteryKind::totoGOAL3: return misses <= 1 ? misses + 1 : 0;
    case LotteryKind::BIG:
        if (misses <= 3)
            return misses + 1;
        if (misses == 4 && e.has_grade5)
            return 5;
        if (misses == 5 && e.has_grade6)
            return 6;
        return 0;
    case LotteryKind::BIG1000: return misses <= 3 ? misses + 1 : 0;
    case LotteryKind::miniBIG: return misses <= 2 ? misses + 1 : 0;
    case LotteryKind::BIG100: return misses <= 4 ? misses + 1 : 0;
    }
    return 0;
}

int brute_misses(const RoundEntry &e, const std::array<uint8_t, kMaxSlots> &picks)
{
    int misses = 0;
    for (int s = 0; s < slot_count(e.kind); ++s) {
        if (is_match_kind(e.kind)) {
            const int r = e.matches[s].result;
            if ((r == kHomeWin || r == kAwayWin || r == kDraw) && picks[s] != r)
                ++misses;
        } else {
            const int goals_plus_one = e.teams[s].score;
            if (goals_plus_one >= 1 && goals_plus_one <= 4 && picks[s] + 1 != goals_plus_one)
                ++misses;
        }
    }
    return misses;
}

namespace {

void count(const RoundEntry &e, const std::array<uint8_t, kMaxSlots> &picks, int64_t weight, Hits &hits)
{
    const int grade = brute_grade(e, brute_misses(e, picks));
    hits[grade == 0 ? 6 : grade - 1] += weight;
}

// The pick that mark m of a slot stands for.
uint8_t pick_of_mark(LotteryKind kind, int m)
{
    if (!is_match_kind(kind))
        return static_cast<uint8_t>(m);
    static const uint8_t kMatch[3] = {kHomeWin, kDraw, kAwayWin};
    return kMatch[m];
}

void enumerate(const RoundEntry &e, const MultiPurchase &t, int slot, std::array<uint8_t, kMaxSlots> &picks,
               Hits &hits)
{
    if (slot == slot_count(e.kind)) {
        count(e, picks, 1, hits);
        return;
    }
    for (int m = 0; m < marks_per_slot(e.kind); ++m) {
        if (!t.marks[slot][m])
            continue;
        picks[slot] = pick_of_mark(e.kind, m);
        enumerate(e, t, slot + 1, picks, hits);
    }
}

} // namespace

void brute_add_single(const RoundEntry &e, const SinglePurchase &t, Hits &hits)
{
    count(e, t.picks, 1, hits);
}

void brute_add_multi(const RoundEntry &e, const MultiPurchase &t, Hits &hits)
{
    std::array<uint8_t, kMaxSlots> picks{};
    enumerate(e, t, 0, picks, hits);
}
