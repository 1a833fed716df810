#pragma once

#include <array>

// Match result codes.
enum MatchResult : int { kResultNone = 0, kHomeWin = 1, kAwayWin = 2, kDraw = 3, kCancelled = 4 };
// Team score codes: 1..4 are 0, 1, 2, 3+ goals.
inline constexpr int kScoreNone = 0;
inline constexpr int kScoreCancelled = 5;

// Order of the marks of a match multi in memory.
enum MatchMark : int { kMarkHome = 0, kMarkDraw = 1, kMarkAway = 2 };

// The one table of a match outcome's names, in mark order: its mark, its result (and
// single pick) code, and the number a CSV file writes for it.
struct MatchOutcome {
    int mark;
    int result;
    int file_code;
};
inline constexpr std::array<MatchOutcome, 3> kMatchOutcomes{{
    {kMarkHome, kHomeWin, 1},
    {kMarkDraw, kDraw, 0},
    {kMarkAway, kAwayWin, 2},
}};

// The result (and single pick) each mark of a match row stands for, in mark order.
inline constexpr std::array<int, 3> kResultOfMark = {kMatchOutcomes[0].result, kMatchOutcomes[1].result,
                                                     kMatchOutcomes[2].result};

// The mark a decided match result stands for; -1 for none and cancelled.
constexpr int mark_of_result(int result)
{
    for (const MatchOutcome &o : kMatchOutcomes)
        if (o.result == result)
            return o.mark;
    return -1;
}

// The mark a CSV file's number names; -1 for any other number.
constexpr int mark_of_file_code(int code)
{
    for (const MatchOutcome &o : kMatchOutcomes)
        if (o.file_code == code)
            return o.mark;
    return -1;
}

// A CSV results line writes these beside the outcomes (a goal score is its goal count).
inline constexpr int kFileCancelled = 4;
inline constexpr int kFileNotEntered = 5;

// The number a CSV file writes for a match result.
constexpr int match_file_code(int result)
{
    if (const int mark = mark_of_result(result); mark >= 0)
        return kMatchOutcomes[static_cast<size_t>(mark)].file_code;
    return result == kCancelled ? kFileCancelled : kFileNotEntered;
}

// The match result a CSV file's number stands for; -1 for a number it never writes.
constexpr int match_result_of_file_code(int code)
{
    if (const int mark = mark_of_file_code(code); mark >= 0)
        return kMatchOutcomes[static_cast<size_t>(mark)].result;
    return code == kFileCancelled ? kCancelled : code == kFileNotEntered ? kResultNone : -1;
}

// The number a CSV file writes for a team score: the goal count, 4 cancelled, 5 none.
constexpr int score_file_code(int score)
{
    return score == kScoreNone ? kFileNotEntered : score - 1;
}

// The score a CSV file's number stands for; -1 for a number it never writes.
constexpr int score_of_file_code(int code)
{
    return code == kFileNotEntered ? kScoreNone : code >= 0 && code <= kFileCancelled ? code + 1 : -1;
}

static_assert(match_result_of_file_code(match_file_code(kDraw)) == kDraw);
static_assert(score_of_file_code(score_file_code(kScoreCancelled)) == kScoreCancelled);
