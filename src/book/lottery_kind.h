#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The eleven products. The numeric codes are stored in book files and passed by the
// registration commands, so they must never change.
enum class LotteryKind : int32_t {
    toto = 0,
    totoGOAL = 1,
    minitotoA = 2,
    minitotoB = 3,
    totoGOAL3 = 4,
    totoGOAL2 = 5,
    toto5 = 6,
    BIG = 7,
    BIG1000 = 8,
    miniBIG = 9,
    BIG100 = 10,
};

inline constexpr int kKindCount = 11;

// The order in which the kinds are offered to the user, the one of the 新規登録 menu:
// toto and its smaller siblings, the goal kinds, then the BIG family. Lists of kinds shown
// to the user (the statistics) follow it rather than the codes.
inline constexpr std::array<LotteryKind, kKindCount> kMenuKindOrder = {
    LotteryKind::toto,     LotteryKind::minitotoA, LotteryKind::minitotoB, LotteryKind::toto5,
    LotteryKind::totoGOAL, LotteryKind::totoGOAL3, LotteryKind::totoGOAL2, LotteryKind::BIG,
    LotteryKind::BIG100,   LotteryKind::BIG1000,   LotteryKind::miniBIG,
};
inline constexpr int kMaxMatchSlots = 14;
inline constexpr int kMaxTeamSlots = 10;
inline constexpr int kMaxSlots = 14;

bool is_valid_kind_code(int code);
LotteryKind kind_from_code(int code); // code must be valid
int kind_code(LotteryKind kind);

// The two families of kinds: outcomes of matches predicted, or goals of teams. The twin
// dialogs of the two families are one class with a Family parameter.
enum class Family { match, goal };

// True for the eight kinds where outcomes of matches are predicted.
bool is_match_kind(LotteryKind kind);
Family family_of(LotteryKind kind);
// BIG, BIG1000, mini BIG and 100円BIG: single tickets only.
bool is_big_family(LotteryKind kind);
// Number of match (or team) slots a round of this kind uses.
int slot_count(LotteryKind kind);
// Yen per ticket.
int unit_price(LotteryKind kind);
// Marks per slot of a multi: 3 outcomes for match kinds, 4 goal counts for goal kinds.
int marks_per_slot(LotteryKind kind);
// Highest prize per ticket the book accepts; 0 when the kind has no cap.
int64_t prize_cap(LotteryKind kind);

// Grades are numbered 1..6; a round of the match family can have all six, of the goal
// family two (the book keeps two prizes for every goal kind).
inline constexpr int kMaxGrades = 6;
int prize_count(Family family);
// "１等" … "６等".
QString grade_name(int grade);

QString kind_display_name(LotteryKind kind);
QString kind_csv_code(LotteryKind kind);
