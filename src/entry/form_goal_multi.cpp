#include "entry/form_goal_multi.h"

FormGoalMulti::FormGoalMulti(SharedState &state, UiServices &ui, QWidget *parent)
    : FormMulti(state, ui, parent, Family::goal)
{
}
