#pragma once

#include "entry/form_name.h"

// Registration of a totoGOAL-family round: one team per row, no grade options.
class FormGoalName : public FormName {
    Q_OBJECT

public:
    FormGoalName(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent = nullptr);
};
