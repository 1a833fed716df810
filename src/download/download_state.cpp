#include "download/download_state.h"

void DownloadState::show_choices()
{
    lines.clear();
    for (const ChoiceEntry &choice : choices)
        lines.append(choice.caption);
    selected = choices.empty() ? -1 : 0;
    ok_enabled = back_enabled = true;
}
