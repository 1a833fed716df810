#include "entry/form_commands.h"

#include "book/shared_state.h"
#include "entry/form_goal_multi.h"
#include "entry/form_goal_name.h"
#include "entry/form_goal_single.h"

namespace {

bool has_current(const SharedState &state)
{
    return state.current >= 0 && state.current < state.book.entry_count();
}

LotteryKind current_kind(const SharedState &state)
{
    return state.book.entries[static_cast<size_t>(state.current)].kind;
}

bool show_name(SharedState &state, UiServices &ui, QWidget *parent, LotteryKind kind)
{
    if (is_match_kind(kind)) {
        FormName dialog(state, ui, parent);
        dialog.set_kind(kind);
        dialog.exec();
    } else {
        FormGoalName dialog(state, ui, parent);
        dialog.set_kind(kind);
        dialog.exec();
    }
    return state.dialog_result == 1;
}

template <typename MatchDialog, typename GoalDialog>
bool show_purchase(SharedState &state, UiServices &ui, QWidget *parent)
{
    if (is_match_kind(current_kind(state))) {
        MatchDialog dialog(state, ui, parent);
        dialog.exec();
    } else {
        GoalDialog dialog(state, ui, parent);
        dialog.exec();
    }
    return state.dialog_result == 1;
}

} // namespace

bool run_register_round(SharedState &state, UiServices &ui, QWidget *parent, LotteryKind kind)
{
    state.edit_target = 0;
    if (!show_name(state, ui, parent, kind))
        return false;
    state.current = state.book.entry_count() - 1;
    return true;
}

bool run_single_purchase(SharedState &state, UiServices &ui, QWidget *parent)
{
    state.edit_target = 0;
    if (!has_current(state))
        return false;
    return show_purchase<FormSingle, FormGoalSingle>(state, ui, parent);
}

bool run_multi_purchase(SharedState &state, UiServices &ui, QWidget *parent)
{
    state.edit_target = 0;
    if (!has_current(state) || is_big_family(current_kind(state)))
        return false;
    return show_purchase<FormMulti, FormGoalMulti>(state, ui, parent);
}

bool run_edit_round(SharedState &state, UiServices &ui, QWidget *parent)
{
    if (!has_current(state))
        return false;
    state.edit_target = 1;
    return show_name(state, ui, parent, current_kind(state));
}

bool run_edit_single(SharedState &state, UiServices &ui, QWidget *parent, int pool_index)
{
    if (!has_current(state) || pool_index < 0 ||
        pool_index >= static_cast<int>(state.book.single_pool(current_kind(state)).size()))
        return false;
    state.edit_target = pool_index + 1;
    return show_purchase<FormSingle, FormGoalSingle>(state, ui, parent);
}

bool run_edit_multi(SharedState &state, UiServices &ui, QWidget *parent, int pool_index)
{
    if (!has_current(state) || pool_index < 0 ||
        pool_index >= static_cast<int>(state.book.multi_pool(current_kind(state)).size()))
        return false;
    state.edit_target = pool_index + 1;
    return show_purchase<FormMulti, FormGoalMulti>(state, ui, parent);
}
