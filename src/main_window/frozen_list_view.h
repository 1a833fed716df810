#pragma once

#include <QTreeView>

// A list whose first columns stay in place while the others scroll sideways: once the list
// is scrolled right, a second view of the same model and selection lies over the left of
// the viewport and shows those columns, following the list's rows, widths and scrolling.
// Clicks on it select in the list, its double-click and Enter activate as the list does,
// and a right-click asks the list for its menu, so the list's users see one list.
class FrozenListView : public QTreeView {
    Q_OBJECT

public:
    FrozenListView(int frozen_columns, QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

    // The view over the frozen columns (shown only while the list is scrolled right).
    QTreeView *frozen_view() const { return frozen_; }
    // Headings that sort: a click shows rising, again falling, a third no order; either
    // view's headings set the order, and both show it. Whoever listens to the list's
    // header's sortIndicatorChanged orders the rows.
    void set_sortable();

protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void follow_columns();
    void place_frozen();
    int frozen_width() const;

    int frozen_columns_;
    QTreeView *frozen_ = nullptr;
};
