#include "entry/form_goal_single.h"

FormGoalSingle::FormGoalSingle(SharedState &state, UiServices &ui, Commit<SinglePurchase> commit,
                               QWidget *parent)
    : FormSingle(state, ui, std::move(commit), parent, Family::goal)
{
}
