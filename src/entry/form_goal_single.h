#pragma once

#include "entry/form_single.h"

// A single ticket of a totoGOAL-family round.
class FormGoalSingle : public FormSingle {
    Q_OBJECT

public:
    FormGoalSingle(SharedState &state, UiServices &ui, Commit<SinglePurchase> commit,
                   QWidget *parent = nullptr);
};
