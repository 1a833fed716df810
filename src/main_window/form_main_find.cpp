// The find bar over the main list: what it narrows the list to, and how it opens and closes.
#include "main_window/form_main.h"

#include "main_window/entry_list_model.h"
#include "main_window/find_bar.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeView>
#include <functional>

namespace {

// Hands an Esc pressed in the watched widget to `close`, which says whether it took it.
class EscapeCloses : public QObject {
public:
    EscapeCloses(QObject *parent, std::function<bool()> close) : QObject(parent), close_(std::move(close)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier && close_())
                return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool()> close_;
};

} // namespace

void FormMain::build_find_bar(QWidget *parent, const std::vector<LotteryKind> &kinds)
{
    find_bar_ = new FindBar(kinds, parent);
    find_bar_->hide();
    connect(find_bar_, &FindBar::filter_changed, this, &FormMain::find_changed);
    connect(find_bar_, &FindBar::close_requested, this, &FormMain::find_close);
    // Enter takes the keyboard to the first row shown, where Enter again opens its review.
    connect(find_bar_, &FindBar::go_to_rows, this, [this] {
        if (model_->rowCount() == 0)
            return;
        select_row(model_->entry_of(0));
        lvw_main_->setFocus(Qt::OtherFocusReason);
    });
    // Esc also closes the bar from the list it narrows: type, Enter, Esc leaves the round
    // found selected in the whole list. (A key event rather than a shortcut, so that the
    // row's menu open over the list still takes its own Esc.)
    lvw_main_->installEventFilter(new EscapeCloses(lvw_main_, [this] {
        if (!find_bar_->isVisible())
            return false;
        find_close();
        return true;
    }));

    lbl_shown_ = new QLabel(parent);
    lbl_shown_->setObjectName(QStringLiteral("lbl_shown"));
    lbl_shown_->hide();
}

void FormMain::menu_find_Click()
{
    find_bar_->open();
}

void FormMain::find_changed()
{
    const int selected = selected_entry();
    model_->set_filter(find_bar_->filter());
    // The round selected stays selected while the filter keeps it.
    if (model_->row_of(selected) >= 0)
        select_row(selected);
    else if (selected >= 0)
        find_hidden_selection_ = selected;
    // Choosing the rows anew clears the selection without a word: the commands follow.
    lvw_main_ItemClick();
    show_shown_count();
}

void FormMain::find_close()
{
    find_bar_->forget();
    find_bar_->hide();
    find_changed(); // every row again, the selected round still selected
    if (selected_entry() < 0 && find_hidden_selection_ >= 0) {
        select_row(find_hidden_selection_);
        lvw_main_ItemClick();
    }
    find_hidden_selection_ = -1;
    lvw_main_->setFocus(Qt::OtherFocusReason);
}

void FormMain::forget_find()
{
    find_bar_->forget();
    find_bar_->hide();
    find_hidden_selection_ = -1;
    model_->set_filter(RoundFilter());
    // The book's own order too: the headings let go of their sort.
    lvw_main_->header()->setSortIndicator(-1, Qt::AscendingOrder);
    show_shown_count();
}

void FormMain::show_shown_count()
{
    lbl_shown_->setVisible(model_->filtered());
    if (model_->filtered())
        lbl_shown_->setText(QStringLiteral("表示中 ") + format_yen(model_->rowCount()) +
                            QStringLiteral(" / ") + format_yen(state_.book().entry_count()) +
                            QStringLiteral(" 回"));
}
