#pragma once

#include "entry/form_multi.h"

// A multi ticket of a totoGOAL-family round: at most three goal counts per team.
class FormGoalMulti : public FormMulti {
    Q_OBJECT

public:
    FormGoalMulti(SharedState &state, UiServices &ui, Commit<MultiPurchase> commit,
                  QWidget *parent = nullptr);
};
