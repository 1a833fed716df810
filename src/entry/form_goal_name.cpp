#include "entry/form_goal_name.h"

FormGoalName::FormGoalName(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent)
    : FormName(state, ui, std::move(commit), parent, Family::goal)
{
}
