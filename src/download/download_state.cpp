#include "download/download_state.h"

void DownloadState::show_choices()
{
    lines.clear();
    for (const ChoiceEntry &choice : choices)
        lines.append(choice.caption);
    selected = choices.empty() ? -1 : 0;
    ok_enabled = back_enabled = true;
}

bool DownloadState::show(std::optional<std::vector<ChoiceEntry>> read)
{
    choices = read ? std::move(*read) : std::vector<ChoiceEntry>{};
    if (!read) {
        lines.clear();
        return false;
    }
    show_choices();
    return true;
}

RoundEntry book_round(const DownloadedRound &round)
{
    RoundEntry entry;
    entry.kai = book_text(round.kai.text());
    entry.kind = round.kind;
    for (size_t i = 0; i < entry.matches.size(); ++i)
        entry.matches[i] = MatchSlot{book_text(round.matches[i].home.text()),
                                     book_text(round.matches[i].away.text()), round.matches[i].result};
    for (size_t i = 0; i < entry.teams.size(); ++i)
        entry.teams[i] = TeamSlot{book_text(round.teams[i].team.text()), round.teams[i].score};
    entry.state = round.state;
    entry.has_grade3 = round.has_grade3;
    entry.has_grade5 = round.has_grade5;
    entry.has_grade6 = round.has_grade6;
    entry.prizes = round.prizes;
    return entry;
}
