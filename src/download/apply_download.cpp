#include "download/apply_download.h"

#include "platform/shift_jis.h"

namespace {

// A result page's names pass through the team-name table, else are cut at a character;
// a schedule page's names were shortened as they were read.
BookText fitted_name(const PageText &name, const TeamNames &names, bool from_results)
{
    if (!from_results)
        return book_text(name.text());
    const std::optional<QString> known = find_short_name(names, name.text());
    return book_text(known ? *known : chg_team_name_size(name.text()));
}

} // namespace

RoundEntry entry_from_download(const DownloadedData &data, DownloadOutcome outcome)
{
    RoundEntry entry = book_round(data.round);
    const bool from_results = outcome == DownloadOutcome::result_as_new_entry;
    if (is_match_kind(entry.kind)) {
        for (size_t i = 0; i < entry.matches.size(); ++i) {
            entry.matches[i].home = fitted_name(data.round.matches[i].home, data.names, from_results);
            entry.matches[i].away = fitted_name(data.round.matches[i].away, data.names, from_results);
        }
        entry.teams = RoundEntry{}.teams;
    } else {
        for (size_t i = 0; i < entry.teams.size(); ++i)
            entry.teams[i].team = fitted_name(data.round.teams[i].team, data.names, from_results);
        entry.matches = RoundEntry{}.matches;
    }
    return entry;
}

bool can_take_results(const TicketBook &book, int target, const DownloadedRound &round)
{
    return target >= 0 && target < book.entry_count() &&
           book.entries[static_cast<size_t>(target)].kind == round.kind;
}

Outcome apply_download(BookDocument &document, const DownloadedData &data, DownloadOutcome outcome,
                       int target, int *entry)
{
    if (outcome == DownloadOutcome::schedule_as_new_entry ||
        outcome == DownloadOutcome::result_as_new_entry) {
        Outcome added = document.apply_updates(BookDocument::Source::download,
                                               {new_round_update(entry_from_download(data, outcome))});
        if (added.ok)
            *entry = document.book().entry_count() - 1;
        return added;
    }
    Q_ASSERT(outcome == DownloadOutcome::result_into_entry &&
             can_take_results(document.book(), target, data.round));
    *entry = target;
    return document.apply_updates(BookDocument::Source::download,
                                  {results_update(target, book_round(data.round))});
}
