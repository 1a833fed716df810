#pragma once

#include "book/ticket_book.h"

#include <QAbstractTableModel>

// The rows of the main list, one per entry of the book, read from the book when painted.
// Nothing is stored per row, so a book of any size is listed at once; whoever changes the
// book tells the model which rows to repaint.
class EntryListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit EntryListModel(const TicketBook &book, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Repaints the row of one entry from its stored fields.
    void repaint_entry(int entry);
    // Entries came, went or were replaced: every row anew.
    void reset();
    // Height every row asks for.
    void set_row_height(int height) { row_height_ = height; }

private:
    const TicketBook &book_;
    int row_height_ = 0;
    int rows_ = 0; // rows announced to the views; follows the book through the calls above
};
