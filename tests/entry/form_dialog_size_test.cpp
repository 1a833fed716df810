// Every round dialog is as tall as the rows its kind shows, from the moment it is shown.
#include "entry/form_goal_multi.h"
#include "entry/form_goal_name.h"
#include "entry/form_goal_single.h"
#include "entry/form_kakunin.h"
#include "results/form_result.h"
#include "support/book_builders.h"
#include "support/dialog_driver.h"
#include "support/document_helpers.h"
#include "support/fake_ui_services.h"
#include "ui/shared_state.h"

#include <QApplication>
#include <QComboBox>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Factory = std::function<std::unique_ptr<QDialog>(SharedState &, UiServices &, LotteryKind)>;

template <typename Match, typename Goal>
Factory family_of_dialogs()
{
    return [](SharedState &state, UiServices &ui, LotteryKind kind) -> std::unique_ptr<QDialog> {
        if (is_match_kind(kind))
            return std::make_unique<Match>(state, ui, nullptr); // sized only: nothing is stored
        return std::make_unique<Goal>(state, ui, nullptr);
    };
}

int shown_height(const Factory &make, LotteryKind kind)
{
    SharedState state{BookDocument::no_grading()};
    FakeUiServices ui;
    EXPECT_TRUE(add_entry(setup_book(state.document), make_entry(kind)).ok);
    std::unique_ptr<QDialog> dialog = make(state, ui, kind);
    if (auto *name = dynamic_cast<FormName *>(dialog.get()))
        name->set_kind(kind);
    dialog->show();
    EXPECT_EQ(dialog->height(), dialog->sizeHint().height()) << kind_code(kind);
    return dialog->height();
}

} // namespace

TEST(DialogSize, ShorterKindsGiveShorterDialogs)
{
    const Factory kakunin = [](SharedState &state, UiServices &ui,
                               LotteryKind kind) -> std::unique_ptr<QDialog> {
        if (is_match_kind(kind))
            return std::make_unique<FormKakunin>(state, ui, ReviewEditors{});
        return std::make_unique<FormGoalKakunin>(state, ui, ReviewEditors{});
    };
    const struct {
        const char *dialog;
        Factory make;
    } dialogs[] = {{"name", family_of_dialogs<FormName, FormGoalName>()},
                   {"single", family_of_dialogs<FormSingle, FormGoalSingle>()},
                   {"multi", family_of_dialogs<FormMulti, FormGoalMulti>()},
                   {"result", family_of_dialogs<FormResult, FormGoalResult>()},
                   {"kakunin", kakunin}};
    for (const auto &d : dialogs) {
        SCOPED_TRACE(d.dialog);
        EXPECT_LT(shown_height(d.make, LotteryKind::minitotoA),
                  shown_height(d.make, LotteryKind::toto) - 100);
        EXPECT_LT(shown_height(d.make, LotteryKind::totoGOAL2),
                  shown_height(d.make, LotteryKind::totoGOAL) - 80);
    }
}

// The review stays within a 600 px screen whatever ticket it shows: the whole line has a row
// of its own, so the longest line of the kind (a multi of every mark) does not widen it.
TEST(DialogSize, TheReviewFitsANarrowScreenWithItsLongestLine)
{
    for (const LotteryKind kind : {LotteryKind::toto, LotteryKind::totoGOAL}) {
        SharedState state{BookDocument::no_grading()};
        FakeUiServices ui;
        ASSERT_TRUE(add_entry(setup_book(state.document), make_entry(kind)).ok);
        const char *every = is_match_kind(kind) ? "111" : "1110";
        ASSERT_TRUE(
            add_multi(setup_book(state.document), 0,
                      make_multi(std::vector<const char *>(static_cast<size_t>(slot_count(kind)), every)))
                .ok);
        std::unique_ptr<KakuninDialog> d;
        if (is_match_kind(kind))
            d = std::make_unique<FormKakunin>(state, ui, ReviewEditors{});
        else
            d = std::make_unique<FormGoalKakunin>(state, ui, ReviewEditors{});
        d->show();
        control<QComboBox>(d.get(), "cmb_kind")->setCurrentIndex(1);
        QApplication::processEvents();
        EXPECT_LE(d->minimumSizeHint().width(), 600) << kind_code(kind);
    }
}
