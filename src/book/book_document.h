#pragma once

#include "book/book_history.h"
#include "book/book_lock.h"
#include "book/outcome.h"
#include "book/round_update.h"
#include "book/ticket_book.h"
#include "platform/file_stamp.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// What a change (or its undo or redo) did, for the views that show the book.
struct BookChange {
    std::vector<int> entries;    // entries whose fields changed, by their index after the change
    bool rows_reshaped = false;  // entries were added, removed or inserted: every row may differ
    bool rows_reordered = false; // entries changed places: an index holds another round now
    int focus = -1;              // the entry the step was about, as it stands now; -1 if none
};

// The open book: the ticket book, its path and whether it differs from the file. It is the
// one thing that changes the book: every change is one named call, recorded as one step
// of the undo history, after which the listener hears which entries changed.
class BookDocument {
public:
    // Grades one entry after a change of its tickets, results or prizes (the winning check
    // lives above the book; the window and the command-line tool hand it in).
    using Grader = std::function<void(TicketBook &book, int entry)>;
    using Listener = std::function<void(const BookChange &change)>;

    // The grader is required, so that no caller forgets it: result_chk, or no_grading() where
    // the grades are to stay as they are (tests of the book alone).
    explicit BookDocument(Grader grader);
    static Grader no_grading() { return {}; }

    const TicketBook &book() const { return book_; }
    const QString &path() const { return path_; }
    // The book differs from what was last opened or saved.
    bool modified() const { return !history_.at_clean(); }
    void set_listener(Listener listener) { listener_ = std::move(listener); }

    // --- lifecycle: each starts an empty history -------------------------------------------
    // An empty, untitled book.
    void clear();
    // Replaces the book by the file; on failure the book is empty and untitled.
    Outcome open(const QString &path);
    // For a read-modify-write (a command of the command-line tool): takes the book's lock,
    // held until the document goes, then opens. Refused as busy when another writer keeps it.
    Outcome open_for_writing(const QString &path);
    // Reads the document's file again as it is now (another program changed it); on failure
    // the book stays as it was.
    Outcome reopen();
    // Takes a book read elsewhere as if it had been opened from `path`; every entry is graded.
    void adopt(TicketBook book, const QString &path = QString());
    // Writes the book the safe way, under its lock (refused as busy when another writer keeps
    // it); once written, `path` is the book's and this is the clean point of the history.
    // Over the file the document read or last saved, the file must still be what it was then
    // (or `replacing`, a version the user agreed to replace), else nothing is written and the
    // outcome is refused as changed; a file gone meanwhile is written anew. A failure leaves
    // path and state as they were.
    Outcome save(const QString &path, const std::optional<FileStamp> &replacing = std::nullopt);

    // --- the file on disk ------------------------------------------------------------------
    // What the document last read or wrote of its file.
    const FileStamp &file_stamp() const { return stamp_; }
    // The file no longer holds what the document read or wrote: changed, or gone.
    bool file_differs() const;
    // The book in memory no longer matches its file: it counts as modified until saved.
    void mark_differs_from_file() { history_.forget_clean(); }

    // --- changes: each one step, refused with the user's message and nothing changed -------
    Outcome add_round(const RoundEntry &round);
    // Label, names and grade flags from `edited`; kind, results, prizes and tickets stay.
    Outcome edit_round(int entry, const RoundEntry &edited);
    // A new ticket when `edited` is nothing, else pool record *edited keeps its place.
    Outcome store_single(int entry, std::optional<int> edited, const SinglePurchase &purchase);
    Outcome store_multi(int entry, std::optional<int> edited, const MultiPurchase &marks);
    // Many new tickets at once, appended in order (まとめて入力); nothing is added when
    // they do not all fit.
    Outcome add_tickets(int entry, const std::vector<NewPurchase> &purchases);
    // Results, prize state and prizes from `with_results`; names, flags and tickets stay.
    Outcome enter_results(int entry, const RoundEntry &with_results);
    Outcome delete_purchase(int entry, int type, int pool_index);
    Outcome delete_round(int entry);
    // Exchanges the entry with its neighbour `to` (entry ± 1).
    Outcome move_round(int entry, int to);
    // Rounds from outside the dialogs, as one step named for where they come from: a CSV
    // file's tickets and results, a downloaded round (a new entry, or its results into an
    // entry of its kind), the batch's results. Each round written is graded; all or none.
    enum class Source { csv, download, batch };
    Outcome apply_updates(Source source, const std::vector<RoundUpdate> &updates);

    // --- history -----------------------------------------------------------------------------
    bool can_undo() const { return history_.can_undo(); }
    bool can_redo() const { return history_.can_redo(); }
    QString undo_name() const { return history_.undo_name(); }
    QString redo_name() const { return history_.redo_name(); }
    void undo();
    void redo();
    BookHistory &history() { return history_; }
    const BookHistory &history() const { return history_; }

private:
    // Records `change` as one step named `name` about `entry` (graded afterwards when
    // `grade`); a refused change is taken back at once and recorded nowhere. `reorders`
    // when the change moves entries to other places.
    Outcome record(const QString &name, int entry, bool grade,
                   const std::function<Outcome(TicketBook &)> &change, int focus_after = -2,
                   bool reorders = false);
    bool has_entry(int entry) const { return entry >= 0 && entry < book_.entry_count(); }
    void grade_all();
    BookChange change_of(const BookStep &step, int focus) const;
    void tell(const BookChange &change);
    void notify_all();

    TicketBook book_;
    QString path_;
    FileStamp stamp_;
    std::unique_ptr<BookLock> lock_; // held by open_for_writing
    Grader grader_;
    Listener listener_;
    BookHistory history_;
};
