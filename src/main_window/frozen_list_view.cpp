#include "main_window/frozen_list_view.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

FrozenListView::FrozenListView(int frozen_columns, QWidget *parent)
    : QTreeView(parent), frozen_columns_(frozen_columns)
{
    frozen_ = new QTreeView(this);
    frozen_->setObjectName(QStringLiteral("frozen_columns"));
    // The keyboard stays with the list: a click on the frozen columns hands it the focus.
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->setRootIsDecorated(false);
    frozen_->setItemsExpandable(false);
    frozen_->setUniformRowHeights(true);
    frozen_->setAllColumnsShowFocus(true);
    frozen_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->header()->setSectionsMovable(false);
    frozen_->header()->setStretchLastSection(false);
    frozen_->setContextMenuPolicy(Qt::CustomContextMenu);
    frozen_->viewport()->installEventFilter(this);
    frozen_->hide();

    connect(frozen_, &QAbstractItemView::activated, this, &QAbstractItemView::activated);
    connect(frozen_, &QAbstractItemView::clicked, this, &QAbstractItemView::clicked);
    connect(frozen_, &QAbstractItemView::doubleClicked, this, &QAbstractItemView::doubleClicked);
    connect(frozen_, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (contextMenuPolicy() == Qt::CustomContextMenu)
            Q_EMIT customContextMenuRequested(
                viewport()->mapFromGlobal(frozen_->viewport()->mapToGlobal(at)));
    });
    QScrollBar *rows = verticalScrollBar();
    QScrollBar *frozen_rows = frozen_->verticalScrollBar();
    connect(rows, &QScrollBar::valueChanged, frozen_rows, &QScrollBar::setValue);
    connect(frozen_rows, &QScrollBar::valueChanged, rows, &QScrollBar::setValue);
    // The frozen view lays its rows out later than the list: catch up once it has.
    connect(frozen_rows, &QScrollBar::rangeChanged, this,
            [rows, frozen_rows] { frozen_rows->setValue(rows->value()); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &FrozenListView::place_frozen);
    connect(header(), &QHeaderView::sectionResized, this, &FrozenListView::follow_columns);
}

void FrozenListView::set_sortable()
{
    for (QHeaderView *headings : {header(), frozen_->header()}) {
        headings->setSortIndicator(-1, Qt::AscendingOrder);
        headings->setSortIndicatorClearable(true);
        headings->setSortIndicatorShown(true);
        headings->setSectionsClickable(true);
    }
    // setSortIndicator does nothing for the order it already shows, so the two stop there.
    connect(header(), &QHeaderView::sortIndicatorChanged, frozen_->header(), &QHeaderView::setSortIndicator);
    connect(frozen_->header(), &QHeaderView::sortIndicatorChanged, header(), &QHeaderView::setSortIndicator);
}

void FrozenListView::setModel(QAbstractItemModel *model)
{
    QTreeView::setModel(model);
    frozen_->setModel(model);
    frozen_->setSelectionModel(selectionModel());
    frozen_->setSelectionMode(selectionMode());
    frozen_->setSelectionBehavior(selectionBehavior());
    frozen_->setVerticalScrollMode(verticalScrollMode());
    if (model) {
        connect(model, &QAbstractItemModel::modelReset, this, &FrozenListView::follow_columns);
        connect(model, &QAbstractItemModel::rowsInserted, this, &FrozenListView::place_frozen);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &FrozenListView::place_frozen);
    }
    follow_columns();
}

void FrozenListView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    const int sideways = horizontalScrollBar()->value();
    QTreeView::scrollTo(index, hint);
    if (!index.isValid())
        return;
    // The frozen columns are always in sight: bringing one into view moves only the rows.
    if (index.column() < frozen_columns_) {
        horizontalScrollBar()->setValue(sideways);
        return;
    }
    // Another column is brought out from under the frozen ones.
    const int hidden = frozen_width() - columnViewportPosition(index.column());
    if (horizontalScrollBar()->value() > 0 && hidden > 0)
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hidden);
}

void FrozenListView::resizeEvent(QResizeEvent *event)
{
    QTreeView::resizeEvent(event);
    place_frozen();
}

bool FrozenListView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == frozen_->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick))
        setFocus(Qt::MouseFocusReason);
    return QTreeView::eventFilter(watched, event);
}

void FrozenListView::follow_columns()
{
    const int columns = model() ? model()->columnCount() : 0;
    for (int c = 0; c < columns; ++c) {
        if (c < frozen_columns_)
            frozen_->setColumnWidth(c, columnWidth(c));
        frozen_->setColumnHidden(c, c >= frozen_columns_);
    }
    place_frozen();
}

int FrozenListView::frozen_width() const
{
    int width = 0;
    for (int c = 0; c < frozen_columns_; ++c)
        width += columnWidth(c);
    return width;
}

void FrozenListView::place_frozen()
{
    // Unscrolled, the list shows the columns itself where the frozen view would; without
    // rows there is nothing to keep in sight, and the list's own hint stays uncovered.
    if (horizontalScrollBar()->value() == 0 || !model() || model()->rowCount() == 0) {
        frozen_->hide();
        return;
    }
    const QRect rows = viewport()->geometry();
    frozen_->setGeometry(rows.x(), header()->geometry().y(), std::min(frozen_width(), rows.width()),
                         header()->height() + rows.height());
    frozen_->show();
    frozen_->raise();
    frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}
