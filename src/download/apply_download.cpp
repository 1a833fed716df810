#include "download/apply_download.h"

#include "platform/shift_jis.h"

namespace {

// The stored text is the page's name cut by the reader; only then is the page's name the
// one to look up (a slot the page did not fill keeps what an earlier download left).
BookText fitted_name(const BookText &stored, const QString &page_name, const TeamNames &names)
{
    if (page_name.isEmpty() || BookText(shift_jis::encode(page_name)) != stored)
        return stored;
    const std::optional<QString> known = find_short_name(names, page_name);
    return BookText(shift_jis::encode(known ? *known : chg_team_name_size(page_name)));
}

} // namespace

RoundEntry entry_from_download(const DownloadedData &data, int outcome)
{
    RoundEntry entry;
    entry.kai = data.round.kai;
    entry.kind = data.round.kind;
    if (is_match_kind(entry.kind))
        entry.matches = data.round.matches;
    else
        entry.teams = data.round.teams;
    copy_results(entry, data.round, true);
    if (outcome == kResultAsNewEntry) {
        for (size_t i = 0; i < entry.matches.size(); ++i) {
            MatchSlot &slot = entry.matches[i];
            slot.home = fitted_name(slot.home, data.page_names.home[i], data.names);
            slot.away = fitted_name(slot.away, data.page_names.away[i], data.names);
        }
        for (size_t i = 0; i < entry.teams.size(); ++i)
            entry.teams[i].team = fitted_name(entry.teams[i].team, data.page_names.team[i], data.names);
    }
    return entry;
}

bool can_take_results(const TicketBook &book, int target, const RoundEntry &round)
{
    return target >= 0 && target < book.entry_count() &&
           book.entries[static_cast<size_t>(target)].kind == round.kind;
}

Outcome apply_download(BookDocument &document, const DownloadedData &data, int outcome, int target,
                       int *entry)
{
    if (outcome == kScheduleAsNewEntry || outcome == kResultAsNewEntry) {
        Outcome added = document.add_downloaded(entry_from_download(data, outcome));
        if (added.ok)
            *entry = document.book().entry_count() - 1;
        return added;
    }
    Q_ASSERT(outcome == kResultIntoEntry && can_take_results(document.book(), target, data.round));
    *entry = target;
    return document.take_results(target, data.round);
}
