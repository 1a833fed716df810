#pragma once

#include "book/ticket_book.h"
#include "entry/csv_confirmation.h"
#include "entry/purchase_review.h"

#include <QAbstractListModel>
#include <vector>

// The items behind the combo of 購入確認・修正 and CSV読み込み確認. Each reads its kind and its
// line ("シングル 1 0 2 1 0 2 …"), the line also being its tooltip. A round holds up to 65,534
// tickets: an item's text is made only when a view asks for it, and a deleted ticket takes
// its one row with it, so neither opening nor deleting formats every item.
class ReviewItemModel : public QAbstractListModel {
    Q_OBJECT

public:
    explicit ReviewItemModel(QObject *parent = nullptr);

    // The round's items, read from `book` when shown: item 0 (the round), then each purchase
    // in chain order. `book` must outlive the model or the next show_*.
    void show_round(const TicketBook &book, int entry);
    // One item per staged row of a CSV import; `views` must outlive the model likewise.
    void show_staged(const std::vector<CsvRowView> &views);
    // The purchase of round item `item` has left the book: its row goes, and the items
    // whose pool index the deletion changed take their new item values.
    void purchase_deleted(int item);
    // Whatever changed in the round (an edit): the items as the book holds them now.
    void refresh();

    // The item value of a round item; kRoundItem for item 0, and beyond the items.
    int value(int item) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    ReviewItem item_at(int item) const;

    const TicketBook *book_ = nullptr;
    int entry_ = -1;
    std::vector<int> values_; // round mode: the item value of each item
    const std::vector<CsvRowView> *views_ = nullptr;
};
