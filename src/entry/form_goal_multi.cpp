#include "entry/form_goal_multi.h"

FormGoalMulti::FormGoalMulti(SharedState &state, UiServices &ui, Commit<MultiPurchase> commit,
                             QWidget *parent)
    : FormMulti(state, ui, std::move(commit), parent, Family::goal)
{
}
