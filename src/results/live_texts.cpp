#include "results/live_texts.h"

#include "results/winning_check.h"

#include <QStringList>

namespace {

int entered_slots(const RoundEntry &entry)
{
    int entered = 0;
    for (int s = 0; s < slot_count(entry.kind); ++s)
        entered += slot_undecided(entry, s) ? 0 : 1;
    return entered;
}

// Grades are named with half-width digits here, as in running text ("1等圏内").
QString grade_word(int grade)
{
    return QStringLiteral("%1等").arg(grade);
}

} // namespace

QString slot_word(LotteryKind kind)
{
    return is_match_kind(kind) ? QStringLiteral("試合") : QStringLiteral("チーム");
}

QString decided_text(const RoundEntry &entry)
{
    const QString word = slot_word(entry.kind);
    return QStringLiteral("%1%2中 %3%2決定").arg(slot_count(entry.kind)).arg(word).arg(entered_slots(entry));
}

QString undecided_text(const RoundEntry &entry)
{
    const QString word = slot_word(entry.kind);
    const int n = slot_count(entry.kind);
    return QStringLiteral("%1%2中 %3%2が未開催").arg(n).arg(word).arg(n - entered_slots(entry));
}

QString in_line_text(const RoundEntry &entry, const GradeCounts &counts)
{
    QStringList parts;
    for (int g = 1; g <= kMaxGrades; ++g)
        if (grade_exists(entry, g))
            parts << QStringLiteral("%1圏内 %2口").arg(grade_word(g)).arg(counts[static_cast<size_t>(g - 1)]);
    return parts.join(QStringLiteral("・"));
}

QString outcome_cell_text(const RoundEntry &entry, const GradeCounts &counts)
{
    QStringList parts;
    for (int g = 1; g <= kMaxGrades; ++g)
        if (grade_exists(entry, g))
            parts << QStringLiteral("%1 %2").arg(grade_word(g)).arg(counts[static_cast<size_t>(g - 1)]);
    return parts.join(QStringLiteral(" / "));
}

QString result_so_far_text(LotteryKind kind, int result)
{
    if (result == kResultNone)
        return QStringLiteral("未開催");
    if (result == (is_match_kind(kind) ? kCancelled : kScoreCancelled))
        return QStringLiteral("中止");
    const int o = outcome_of_result(kind, result);
    if (o < 0)
        return QStringLiteral("?");
    // The last goal count stands for three or more.
    return outcome_mark(kind, o) +
           (!is_match_kind(kind) && o == kMaxOutcomes - 1 ? QStringLiteral("+") : QString());
}

QString entry_column_tip(const RoundEntry &entry, int column)
{
    constexpr int kFirstGradeColumn = 4;
    constexpr int kWonColumn = 11;
    if (entry.state == kPrizeRefund || entry.tickets == 0 || results_complete(entry))
        return QString();
    const int grade = column - kFirstGradeColumn + 1;
    if (grade >= 1 && grade <= kMaxGrades && grade_exists(entry, grade))
        return QStringLiteral("残りの試合の結果しだいで%1になりうる口数").arg(grade_word(grade));
    if (column == kWonColumn && won_cell_text(entry) == QStringLiteral("未確定"))
        return undecided_text(entry);
    return QString();
}

QString standing_text(const RoundEntry &entry, int correct)
{
    const int entered = entered_slots(entry);
    const int left = slot_count(entry.kind) - entered;
    const QString standing = QStringLiteral("的中 %1/%2").arg(correct).arg(entered);
    return left == 0 ? standing
                     : standing + QStringLiteral("（残り%1%2）").arg(left).arg(slot_word(entry.kind));
}
