#pragma once

#include "book/ticket_book.h"
#include "test_store.h"

#include <QString>

// Result pages over two years for the batch result update: both families, a refund, a goal
// kind, a round not yet published, a kind its round page does not list and a round page
// that is always rejected.
namespace batch_store {

// The store's pages: toto side 2024 (index: rounds 1610–1612) and 2023 (1500, 1501); BIG
// side 2024 (1400, 1401). `index` is how the toto side's index page is sent (slow, so that
// a window test sees the progress for certain).
void serve(TestStore &store, TestStore::Mode index = TestStore::Mode::normal);
// The round page that no reader accepts (toto round 1501).
QString rejected_page();

// A book of one closed round and ten open ones (list rows 2–11), in this order:
// 1 toto 1612 closed; 2 toto 1612 (8 of 13 results); 3 totoGOAL 1612; 4 toto 1611 (refund);
// 5 minitoto-A 1610; 6 toto5 1500 (2023); 7 toto 1501 (rejected); 8 toto 1613 (newer than
// every listed round); 9 toto5 1612 (not on its round page); 10 BIG 1400; 11 miniBIG 1401.
TicketBook book();

// What `yorimo-cli update` prints for that book.
QString expected_lines();

} // namespace batch_store
