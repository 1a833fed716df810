#pragma once

#include "book/ticket_book.h"
#include "results/round_filter.h"
#include "results/round_order.h"

#include <QAbstractTableModel>
#include <vector>

// The rows of the main list, one per entry of the book, read from the book when painted.
// Nothing is stored per row, so a book of any size is listed at once; whoever changes the
// book tells the model which rows to repaint.
//
// A filter narrows the rows to the entries it keeps, and an order (a column's, from a click
// on its heading) puts them in another order than the book's; the model then holds the
// entry of each row shown (indexes only). The rows are chosen when the filter is set and
// when entries come or go: a round that a change of its fields no longer lets through
// keeps its row until then. The order is kept true: rows are put in order again after
// every change (resort). The book itself never changes order here.
class EntryListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // The entry a row shows (an int), for whoever reads the rows through the view's model:
    // printing takes the rows in the order and the selection the view shows.
    static constexpr int kEntryRole = Qt::UserRole + 1;

    explicit EntryListModel(const TicketBook &book, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // A column's order, or the book's for column -1; the rows keep their selection.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // Repaints the row of one entry from its stored fields (nothing when it is not shown).
    void repaint_entry(int entry);
    // Entries came, went or were replaced: every row anew, the filter applied again;
    // `keep` (an entry, or -1) is shown even when the filter leaves it out.
    void reset(int keep = -1);
    // The book's entries when the rows were last chosen.
    int entries_listed() const { return entries_; }
    // Height every row asks for.
    void set_row_height(int height) { row_height_ = height; }

    // Shows the entries `filter` keeps (all of them for an inactive filter).
    void set_filter(const RoundFilter &filter);
    bool filtered() const { return filter_.active(); }
    bool sorted() const { return order_.active(); }
    // The rows show the book's entries in the book's order, every one of them: what moving
    // a round up or down needs to be seen.
    bool in_book_order() const { return !filtered() && !sorted(); }
    // Puts the rows shown in order again after their rounds changed (nothing unless sorted).
    void resort();
    // The entry of a row shown, or -1.
    int entry_of(int row) const;
    // The row showing an entry, or -1 when the filter hides it.
    int row_of(int entry) const;
    // Adds the row of an entry the filter hides, in its place in book order.
    void show_entry(int entry);

private:
    void choose_rows(int keep);
    // Notes the row of each entry shown, while sorted.
    void note_rows();
    // The rows shown put in `order`, as the views see them: their selection and current
    // row stay with their rounds. Nothing when no row moves.
    void rearrange(const RoundOrder &order);

    const TicketBook &book_;
    RoundFilter filter_;
    RoundOrder order_;
    // The entry of each row while filtered or sorted (ascending unless sorted); its capacity
    // stays between keystrokes, so narrowing the list allocates nothing.
    std::vector<int> shown_;
    // While sorted: the row of each entry of the book, or -1.
    std::vector<int> row_at_;
    int row_height_ = 0;
    int entries_ = 0;
    int rows_ = 0; // rows announced to the views; follows the book through the calls above
};
