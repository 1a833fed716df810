#include "book/book_document.h"

#include "book/book_file.h"
#include "book/purchase_deletion.h"
#include "book/swap_entries.h"
#include "platform/file_ops.h"

#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace {

QString step_name(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

BookDocument::BookDocument(Grader grader) : grader_(std::move(grader)) {}

// --- lifecycle ----------------------------------------------------------------------------------

void BookDocument::clear()
{
    book_.clear();
    path_.clear();
    stamp_ = FileStamp{};
    history_.clear();
    notify_all();
}

Outcome BookDocument::open(const QString &path)
{
    BookReadResult read = read_data(path);
    if (!read.outcome.ok) {
        clear();
        return read.outcome;
    }
    adopt(std::move(read.book), path);
    stamp_ = read.stamp;
    return Outcome::success();
}

Outcome BookDocument::reopen()
{
    BookReadResult read = read_data(path_);
    if (!read.outcome.ok)
        return read.outcome;
    adopt(std::move(read.book), path_);
    stamp_ = read.stamp;
    return Outcome::success();
}

Outcome BookDocument::open_for_writing(const QString &path)
{
    lock_ = std::make_unique<BookLock>(path);
    if (lock_->state() == BookLock::State::busy) {
        lock_.reset();
        return Outcome::refused(Outcome::Refusal::busy, book_busy_message(path));
    }
    return open(path);
}

void BookDocument::adopt(TicketBook book, const QString &path)
{
    book_ = std::move(book);
    path_ = path;
    stamp_ = FileStamp{};
    history_.clear();
    grade_all();
    notify_all();
}

Outcome BookDocument::save(const QString &path, const std::optional<FileStamp> &replacing)
{
    std::unique_ptr<BookLock> own;
    if (!lock_ || lock_->book_path() != path) {
        own = std::make_unique<BookLock>(path);
        if (own->state() == BookLock::State::busy)
            return Outcome::refused(Outcome::Refusal::busy, book_busy_message(path));
    }
    // The file this document read or wrote must be as it saw it; another file the user chose
    // to replace (save as) has nothing to be compared with.
    ReplaceCheck check;
    const bool own_file = !path_.isEmpty() && (path == path_ || is_same_file(path, path_));
    if (own_file) {
        const FileStamp expected = replacing.value_or(stamp_);
        check = [path, expected] { return !QFileInfo::exists(path) || still_matches(path, expected); };
    }
    FileStamp written;
    if (Outcome saved = write_data(book_, path, replace_file, check, &written); !saved.ok)
        return saved;
    path_ = path;
    stamp_ = written;
    history_.mark_clean();
    return Outcome::success();
}

bool BookDocument::file_differs() const
{
    return !path_.isEmpty() && !still_matches(path_, stamp_);
}

void BookDocument::grade_all()
{
    if (!grader_)
        return;
    for (int e = 0; e < book_.entry_count(); ++e)
        grader_(book_, e);
}

// --- changes ------------------------------------------------------------------------------------

Outcome BookDocument::record(const QString &name, int entry, bool grade,
                             const std::function<Outcome(TicketBook &)> &change, int focus_after,
                             bool reorders)
{
    BookStep step;
    step.name = name;
    step.reorders = reorders;
    step.focus_undone = entry;
    step.focus_done = focus_after == -2 ? entry : focus_after;
    start_recording(book_, step);
    Outcome done = change(book_);
    if (done.ok && grade && grader_ && has_entry(step.focus_done))
        grader_(book_, step.focus_done);
    stop_recording(book_);
    if (!done.ok) {
        rewind(book_, step); // all or nothing, whatever the change got to
        return done;
    }
    if (step.changes_nothing(book_))
        return done; // an Ｏ．Ｋ． that changed nothing is no step and leaves the book clean
    const BookChange report = change_of(step, step.focus_done);
    history_.push(std::move(step));
    tell(report);
    return done;
}

Outcome BookDocument::add_round(const RoundEntry &round)
{
    const int added = book_.entry_count();
    return record(step_name("新規登録"), added, true, [&](TicketBook &b) { return add_entry(b, round); });
}

Outcome BookDocument::edit_round(int entry, const RoundEntry &edited)
{
    if (!has_entry(entry))
        return Outcome::failure(QString());
    return record(step_name("登録修正"), entry, true, [&](TicketBook &b) {
        copy_names(b.entries[static_cast<size_t>(entry)], edited);
        return Outcome::success();
    });
}

Outcome BookDocument::store_single(int entry, std::optional<int> edited, const SinglePurchase &purchase)
{
    if (!has_entry(entry))
        return Outcome::failure(QString());
    const bool adding = !edited;
    return record(step_name(adding ? "シングル購入" : "シングル修正"), entry, true, [&](TicketBook &b) {
        if (adding)
            return add_single(b, entry, purchase);
        replace_single(b, entry, *edited, purchase);
        return Outcome::success();
    });
}

Outcome BookDocument::store_multi(int entry, std::optional<int> edited, const MultiPurchase &marks)
{
    if (!has_entry(entry))
        return Outcome::failure(QString());
    const bool adding = !edited;
    return record(step_name(adding ? "マルチ購入" : "マルチ修正"), entry, true, [&](TicketBook &b) {
        if (adding)
            return add_multi(b, entry, marks);
        replace_multi(b, entry, *edited, marks);
        return Outcome::success();
    });
}

Outcome BookDocument::add_tickets(int entry, const std::vector<NewPurchase> &purchases)
{
    if (!has_entry(entry))
        return Outcome::failure(QString());
    return record(step_name("まとめて入力"), entry, true,
                  [&](TicketBook &b) { return add_purchases(b, entry, purchases); });
}

Outcome BookDocument::enter_results(int entry, const RoundEntry &with_results)
{
    if (!has_entry(entry))
        return Outcome::failure(QString());
    return record(step_name("結果入力"), entry, true, [&](TicketBook &b) {
        copy_results(b.entries[static_cast<size_t>(entry)], with_results, false);
        return Outcome::success();
    });
}

Outcome BookDocument::delete_purchase(int entry, int type, int pool_index)
{
    if (!has_entry(entry))
        return Outcome::failure(QString());
    return record(step_name("購入削除"), entry, true, [&](TicketBook &b) {
        if (type == kSingle)
            single_del(b, entry, pool_index);
        else
            multi_del(b, entry, pool_index);
        return Outcome::success();
    });
}

Outcome BookDocument::delete_round(int entry)
{
    if (!has_entry(entry))
        return Outcome::failure(QString());
    const int focus = std::min(entry, book_.entry_count() - 2);
    return record(
        step_name("開催回削除"), entry, false,
        [&](TicketBook &b) {
            delete_entry(b, entry);
            return Outcome::success();
        },
        focus);
}

Outcome BookDocument::move_round(int entry, int to)
{
    if (!has_entry(entry) || !has_entry(to) || (to != entry - 1 && to != entry + 1))
        return Outcome::failure(QString());
    return record(
        step_name(to < entry ? "上へ移動" : "下へ移動"), entry, false,
        [&](TicketBook &b) {
            swap_entries(b, std::min(entry, to), std::max(entry, to));
            return Outcome::success();
        },
        to, true);
}

Outcome BookDocument::apply_updates(Source source, const std::vector<RoundUpdate> &updates)
{
    if (updates.empty())
        return Outcome::success();
    for (const RoundUpdate &u : updates)
        if (u.entry && !has_entry(*u.entry))
            return Outcome::failure(QString());
    static const char *const kNames[] = {"CSV読み込み", "ダウンロード", "結果を一括更新"};
    const int focus = updates.front().entry.value_or(book_.entry_count());
    return record(step_name(kNames[static_cast<int>(source)]), focus, false, [&](TicketBook &b) {
        for (const RoundUpdate &u : updates) {
            int written = 0;
            if (Outcome applied = apply_round_update(b, u, &written); !applied.ok)
                return applied;
            if (grader_)
                grader_(b, written);
        }
        return Outcome::success();
    });
}

// --- history ------------------------------------------------------------------------------------

void BookDocument::undo()
{
    if (!history_.can_undo())
        return;
    BookStep &step = history_.take_undo();
    rewind(book_, step);
    tell(change_of(step, step.focus_undone));
}

void BookDocument::redo()
{
    if (!history_.can_redo())
        return;
    BookStep &step = history_.take_redo();
    rewind(book_, step);
    tell(change_of(step, step.focus_done));
}

// --- change reports -----------------------------------------------------------------------------

BookChange BookDocument::change_of(const BookStep &step, int focus) const
{
    BookChange change;
    change.rows_reshaped = step.entries.reshaped();
    change.rows_reordered = step.reorders;
    if (!change.rows_reshaped) {
        change.entries = step.entries.written();
        std::sort(change.entries.begin(), change.entries.end());
        change.entries.erase(std::unique(change.entries.begin(), change.entries.end()), change.entries.end());
    }
    change.focus = book_.entry_count() == 0 ? -1 : std::clamp(focus, 0, book_.entry_count() - 1);
    return change;
}

void BookDocument::tell(const BookChange &change)
{
    if (listener_)
        listener_(change);
}

void BookDocument::notify_all()
{
    BookChange change;
    change.rows_reshaped = true;
    change.focus = book_.entry_count() - 1;
    tell(change);
}
