#include "entry/form_goal_name.h"

FormGoalName::FormGoalName(SharedState &state, UiServices &ui, QWidget *parent)
    : FormName(state, ui, parent, Family::goal)
{
}
