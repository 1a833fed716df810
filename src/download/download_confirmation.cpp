#include "download/download_confirmation.h"

#include "book/book_text.h"
#include "book/message_text.h"
#include "results/winning_check.h"

#include <optional>

DownloadTargets download_targets(const TicketBook &book, const RoundEntry &round)
{
    DownloadTargets targets;
    const std::optional<qint64> wanted = label_number(round.kai.text());
    for (int i = 0; i < book.entry_count(); ++i) {
        const RoundEntry &e = book.entries[static_cast<size_t>(i)];
        if (e.kind != round.kind)
            continue;
        targets.entries.push_back(i);
        if (targets.preselected == 0 && wanted && label_number(e.kai.text()) == wanted)
            targets.preselected = static_cast<int>(targets.entries.size());
    }
    return targets;
}

QString received_caption(const RoundEntry &round)
{
    return kai_caption(round.kai.text()) + u' ' + kind_display_name(round.kind);
}

QString target_caption(const TicketBook &book, int entry)
{
    const RoundEntry &e = book.entries[static_cast<size_t>(entry)];
    const QString first = is_match_kind(e.kind)
                              ? e.matches[0].home.text() + QStringLiteral(" - ") + e.matches[0].away.text()
                              : e.teams[0].team.text();
    return QStringLiteral("%1  %2  %3  購入 %4口")
        .arg(e.kai.text(), kind_display_name(e.kind), first, format_yen(e.tickets));
}

bool holds_round(const TicketBook &book, const RoundEntry &round)
{
    const std::optional<qint64> wanted = label_number(round.kai.text());
    for (const RoundEntry &e : book.entries)
        if (e.kind == round.kind && label_number(e.kai.text()) == wanted)
            return true;
    return false;
}

QString chg_kekka(Family family, int code)
{
    static const char16_t *const match[] = {u"未開催", u"1", u"2", u"0", u"中止", u""};
    static const char16_t *const goal[] = {u"未開催", u"0", u"1", u"2", u"3", u"中止"};
    if (code < 0 || code > 5)
        return QString();
    const auto i = static_cast<size_t>(code);
    return QString::fromUtf16(family == Family::match ? match[i] : goal[i]);
}

QString prize_text(const RoundEntry &round, int grade)
{
    switch (round.state) {
    case kPrizeEntered: return format_yen(round.prizes[static_cast<size_t>(grade - 1)]) + u'円';
    case kPrizeRefund: return QStringLiteral("払戻");
    default: return QStringLiteral("未定");
    }
}
