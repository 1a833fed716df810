#include "main_window/entry_list_model.h"

#include "results/entry_row.h"
#include "results/live_texts.h"

#include <QSize>
#include <algorithm>
#include <array>
#include <numeric>

namespace {

// Label and kind read left to right; counts and amounts line up on the right.
constexpr int kFirstNumberColumn = 2;

} // namespace

EntryListModel::EntryListModel(const TicketBook &book, QObject *parent)
    : QAbstractTableModel(parent), book_(book), entries_(book.entry_count()), rows_(book.entry_count())
{
}

int EntryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int EntryListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kListColumns;
}

QVariant EntryListModel::data(const QModelIndex &index, int role) const
{
    const int entry_index = index.isValid() ? entry_of(index.row()) : -1;
    if (entry_index < 0)
        return {};
    if (role == Qt::DisplayRole) {
        const RoundEntry &entry = book_.entries[static_cast<size_t>(entry_index)];
        return entry_column_text(entry, index.column());
    }
    if (role == kEntryRole)
        return entry_index;
    if (role == Qt::ToolTipRole) {
        // What the counts of an unfinished round mean.
        const QString tip = entry_column_tip(book_.entries[static_cast<size_t>(entry_index)], index.column());
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    if (role == Qt::SizeHintRole)
        return QSize(0, row_height_);
    if (role == Qt::TextAlignmentRole) {
        return index.column() >= kFirstNumberColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                    : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant EntryListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kListColumns)
        return {};
    if (role == Qt::DisplayRole)
        return entry_column_heading(section);
    if (role == Qt::TextAlignmentRole)
        return section >= kFirstNumberColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                             : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    // The first click on a heading sorts rising, the second falling, the third not at all.
    if (role == Qt::InitialSortOrderRole)
        return QVariant::fromValue(Qt::AscendingOrder);
    return {};
}

void EntryListModel::sort(int column, Qt::SortOrder order)
{
    rearrange(column < 0 ? RoundOrder() : RoundOrder(column, order == Qt::DescendingOrder));
}

void EntryListModel::resort()
{
    if (sorted())
        rearrange(order_);
}

void EntryListModel::rearrange(const RoundOrder &order)
{
    // The same rounds as now, in the new order; the whole book in its order needs no list.
    std::vector<int> next;
    if (order.active() || filtered()) {
        if (in_book_order()) {
            next.resize(static_cast<size_t>(rows_));
            std::iota(next.begin(), next.end(), 0);
        } else {
            next = shown_;
        }
        order.sort(book_, next);
    }
    if (order == order_ && next == shown_)
        return;
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> held;
    held.reserve(static_cast<size_t>(before.size()));
    for (const QModelIndex &at : before)
        held.push_back(entry_of(at.row()));
    order_ = order;
    shown_.swap(next);
    note_rows();
    QModelIndexList after;
    after.reserve(before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int row = row_of(held[static_cast<size_t>(i)]);
        after << (row >= 0 ? index(row, before[i].column()) : QModelIndex());
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void EntryListModel::note_rows()
{
    row_at_.clear();
    if (!sorted())
        return;
    row_at_.assign(static_cast<size_t>(book_.entry_count()), -1);
    for (size_t row = 0; row < shown_.size(); ++row)
        row_at_[static_cast<size_t>(shown_[row])] = static_cast<int>(row);
}

void EntryListModel::repaint_entry(int entry)
{
    const int row = row_of(entry);
    if (row < 0)
        return;
    Q_EMIT dataChanged(index(row, 0), index(row, kListColumns - 1), {Qt::DisplayRole});
}

void EntryListModel::reset(int keep)
{
    beginResetModel();
    choose_rows(keep);
    endResetModel();
}

void EntryListModel::set_filter(const RoundFilter &filter)
{
    if (filter == filter_)
        return;
    filter_ = filter;
    reset();
}

void EntryListModel::choose_rows(int keep)
{
    const int entries = book_.entry_count();
    entries_ = entries;
    shown_.clear();
    if (in_book_order()) {
        row_at_.clear();
        rows_ = entries;
        return;
    }
    for (int e = 0; e < entries; ++e)
        if (!filtered() || e == keep || filter_.matches(book_.entries[static_cast<size_t>(e)]))
            shown_.push_back(e);
    rows_ = static_cast<int>(shown_.size());
    if (sorted())
        order_.sort(book_, shown_);
    note_rows();
}

int EntryListModel::entry_of(int row) const
{
    if (row < 0 || row >= rows_)
        return -1;
    const int entry = in_book_order() ? row : shown_[static_cast<size_t>(row)];
    return entry < book_.entry_count() ? entry : -1;
}

int EntryListModel::row_of(int entry) const
{
    if (entry < 0 || entry >= book_.entry_count())
        return -1;
    if (in_book_order())
        return entry < rows_ ? entry : -1;
    if (sorted())
        return static_cast<size_t>(entry) < row_at_.size() ? row_at_[static_cast<size_t>(entry)] : -1;
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), entry);
    return at != shown_.end() && *at == entry ? static_cast<int>(at - shown_.begin()) : -1;
}

void EntryListModel::show_entry(int entry)
{
    if (!filtered() || entry < 0 || entry >= book_.entry_count() || row_of(entry) >= 0)
        return;
    const auto at = std::lower_bound(shown_.begin(), shown_.end(), entry, [this](int shown, int wanted) {
        return order_.before(book_, shown, wanted);
    });
    const int row = static_cast<int>(at - shown_.begin());
    beginInsertRows(QModelIndex(), row, row);
    shown_.insert(at, entry);
    rows_ = static_cast<int>(shown_.size());
    note_rows();
    endInsertRows();
}
