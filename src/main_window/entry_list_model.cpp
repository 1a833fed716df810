#include "main_window/entry_list_model.h"

#include "results/entry_row.h"

#include <QSize>
#include <array>

namespace {

// Label and kind read left to right; counts and amounts line up on the right.
constexpr int kFirstNumberColumn = 2;

} // namespace

EntryListModel::EntryListModel(const TicketBook &book, QObject *parent)
    : QAbstractTableModel(parent), book_(book), rows_(book.entry_count())
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
    if (!index.isValid() || index.row() >= book_.entry_count())
        return {};
    if (role == Qt::DisplayRole) {
        const RoundEntry &entry = book_.entries[static_cast<size_t>(index.row())];
        return entry_column_text(entry, index.column());
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
    return {};
}

void EntryListModel::repaint_entry(int entry)
{
    if (entry < 0 || entry >= rows_)
        return;
    Q_EMIT dataChanged(index(entry, 0), index(entry, kListColumns - 1), {Qt::DisplayRole});
}

void EntryListModel::reset()
{
    beginResetModel();
    rows_ = book_.entry_count();
    endResetModel();
}
