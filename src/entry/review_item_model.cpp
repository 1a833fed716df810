#include "entry/review_item_model.h"

#include "entry/purchase_review.h"

ReviewItemModel::ReviewItemModel(QObject *parent) : QAbstractListModel(parent) {}

void ReviewItemModel::show_round(const TicketBook &book, int entry)
{
    beginResetModel();
    book_ = &book;
    entry_ = entry;
    views_ = nullptr;
    values_ = review_item_values(book, entry);
    endResetModel();
}

void ReviewItemModel::show_staged(const std::vector<CsvRowView> &views)
{
    beginResetModel();
    book_ = nullptr;
    entry_ = -1;
    values_.clear();
    views_ = &views;
    endResetModel();
}

void ReviewItemModel::purchase_deleted(int item)
{
    if (!book_ || item <= 0 || item >= static_cast<int>(values_.size()))
        return;
    // The pools have no holes: a deletion moves another record into the freed index, so an
    // item of this round may now stand for another index. It is the same ticket, so its text
    // stays; only its item value changes.
    std::vector<int> now = review_item_values(*book_, entry_);
    std::vector<int> kept = values_;
    kept.erase(kept.begin() + item);
    if (now.size() != kept.size()) { // not the one deletion: take the round afresh
        show_round(*book_, entry_);
        return;
    }
    beginRemoveRows(QModelIndex(), item, item);
    values_ = std::move(now);
    endRemoveRows();
    for (size_t i = 0; i < kept.size(); ++i) {
        if (kept[i] != values_[i]) {
            const QModelIndex at = index(static_cast<int>(i));
            Q_EMIT dataChanged(at, at, {Qt::UserRole});
        }
    }
}

void ReviewItemModel::refresh()
{
    if (!book_) {
        if (rowCount() > 0)
            Q_EMIT dataChanged(index(0), index(rowCount() - 1));
        return;
    }
    std::vector<int> now = review_item_values(*book_, entry_);
    if (now != values_) {
        show_round(*book_, entry_);
        return;
    }
    // The same items: only texts may differ, and the views ask again for the rows they show.
    if (!values_.empty())
        Q_EMIT dataChanged(index(0), index(static_cast<int>(values_.size()) - 1));
}

int ReviewItemModel::value(int item) const
{
    return item >= 0 && item < static_cast<int>(values_.size()) ? values_[static_cast<size_t>(item)] : -1;
}

int ReviewItemModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return views_ ? static_cast<int>(views_->size()) : static_cast<int>(values_.size());
}

ReviewItem ReviewItemModel::item_at(int item) const
{
    if (views_) {
        const CsvRowView &view = (*views_)[static_cast<size_t>(item)];
        return {view.item, kRoundItem, view.line};
    }
    return review_item(*book_, entry_, values_[static_cast<size_t>(item)]);
}

QVariant ReviewItemModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return item_at(index.row()).text();
    case Qt::ToolTipRole: {
        const QString line = item_at(index.row()).line;
        return line.isEmpty() ? QVariant() : QVariant(line);
    }
    case Qt::UserRole: return views_ ? QVariant() : QVariant(values_[static_cast<size_t>(index.row())]);
    default: return QVariant();
    }
}
