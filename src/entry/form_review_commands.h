#pragma once

#include "book/shared_state.h"
#include "entry/review_editors.h"

class QWidget;
class UiServices;

// 購入確認・修正 for entry `current`: opens the review dialog of its family. Returns
// dialog_result: 1 when the round was deleted (the caller then rebuilds its list;
// `current` has already been kept within the book), else 0.
int run_purchase_review(SharedState &state, UiServices &ui, QWidget *parent, const ReviewEditors &editors);
