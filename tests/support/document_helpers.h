#pragma once

#include "book/book_document.h"

// Leaves the book as it is, but away from its clean point: a round added and deleted again.
inline void make_modified(BookDocument &document)
{
    (void)document.add_round(RoundEntry{});
    (void)document.delete_round(document.book().entry_count() - 1);
}

// Marks what the book holds now as saved.
inline void make_unmodified(BookDocument &document)
{
    document.history().mark_clean();
}

// The book to set up before a test acts, as if it had been read from a file: what is written
// here is not a step of the history. Tests only; everything else changes the book through
// the document.
inline TicketBook &setup_book(const BookDocument &document)
{
    return const_cast<TicketBook &>(document.book());
}

// Stores through a document holding `book`, the one way the program changes a book, and
// leaves the result in `book`.
template <typename Store>
Outcome through_document(TicketBook &book, Store store)
{
    BookDocument document{BookDocument::no_grading()};
    document.adopt(book);
    const Outcome outcome = store(document);
    book = document.book();
    return outcome;
}
