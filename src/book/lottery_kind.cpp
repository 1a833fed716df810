#include "book/lottery_kind.h"

#include <array>

namespace {

struct KindInfo {
    const char *display; // UTF-8
    const char *csv_code;
    bool match;
    bool big_family;
    int slots;
    int price;
    int64_t cap;
};

// Indexed by kind code.
constexpr std::array<KindInfo, kKindCount> kKinds = {{
    {"toto", "T", true, false, 13, 100, 500'000'000},
    {"totoGOAL", "G", false, false, 10, 100, 500'000'000},
    {"mini toto-A", "MA", true, false, 5, 100, 0},
    {"mini toto-B", "MB", true, false, 5, 100, 0},
    {"totoGOAL3", "G3", false, false, 6, 100, 500'000'000},
    {"totoGOAL2", "G2", false, false, 4, 100, 500'000'000},
    {"toto5", "T5", true, false, 5, 100, 0},
    {"BIG", "B", true, true, 14, 300, 1'500'000'000},
    {"BIG1000", "B1", true, true, 11, 200, 1'000'000'000},
    {"mini BIG", "BM", true, true, 9, 200, 1'000'000'000},
    {"100円BIG", "1B", true, true, 14, 100, 500'000'000},
}};

const KindInfo &info(LotteryKind kind)
{
    return kKinds[static_cast<size_t>(kind)];
}

} // namespace

bool is_valid_kind_code(int code)
{
    return code >= 0 && code < kKindCount;
}
LotteryKind kind_from_code(int code)
{
    return static_cast<LotteryKind>(code);
}
int kind_code(LotteryKind kind)
{
    return static_cast<int>(kind);
}

bool is_match_kind(LotteryKind kind)
{
    return is_valid_kind_code(kind_code(kind)) && info(kind).match;
}

Family family_of(LotteryKind kind)
{
    return is_match_kind(kind) ? Family::match : Family::goal;
}

int prize_count(Family family)
{
    return family == Family::match ? kMaxGrades : 2;
}

QString grade_name(int grade)
{
    static const char16_t digits[] = u"１２３４５６";
    return QString(QChar(digits[grade - 1])) + u'等';
}

bool is_big_family(LotteryKind kind)
{
    return info(kind).big_family;
}
int slot_count(LotteryKind kind)
{
    return info(kind).slots;
}
int unit_price(LotteryKind kind)
{
    return info(kind).price;
}
int marks_per_slot(LotteryKind kind)
{
    return is_match_kind(kind) ? 3 : 4;
}
int64_t prize_cap(LotteryKind kind)
{
    return info(kind).cap;
}
QString kind_display_name(LotteryKind kind)
{
    return QString::fromUtf8(info(kind).display);
}
QString kind_csv_code(LotteryKind kind)
{
    return QString::fromLatin1(info(kind).csv_code);
}
