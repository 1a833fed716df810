#include "entry/form_goal_single.h"

FormGoalSingle::FormGoalSingle(SharedState &state, UiServices &ui, QWidget *parent)
    : FormSingle(state, ui, parent, Family::goal)
{
}
