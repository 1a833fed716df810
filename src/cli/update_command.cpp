// yorimo-cli update: 結果を一括更新 without a window.
#include "book/book_document.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "download/download_confirmation.h"
#include "download/result_batch.h"
#include "platform/http_fetcher.h"
#include "results/entry_row.h"
#include "results/winning_check.h"

#include <QCoreApplication>
#include <QDate>
#include <QHash>

namespace {

// What became of a round; `not_written` is the reason a found round was not written after all.
QString status_text(const BatchRound &round, const QString &not_written)
{
    switch (round.status) {
    case BatchRound::Status::found:
        return not_written.isEmpty() ? QStringLiteral("updated") : QStringLiteral("failed\t") + not_written;
    case BatchRound::Status::not_published: return QStringLiteral("not-published");
    case BatchRound::Status::failed: return QStringLiteral("failed\t") + round.message;
    case BatchRound::Status::pending: break;
    }
    return QStringLiteral("failed");
}

// Results belong to a kind and a round number (a label without one stands for itself).
QString round_key(LotteryKind kind, const QString &label)
{
    const std::optional<qint64> number = label_number(label);
    return QString::number(kind_code(kind)) +
           (number ? QStringLiteral("#%1").arg(*number) : QStringLiteral(":") + label);
}

} // namespace

int cli_update(const QStringList &args)
{
    QStringList rest = args;
    bool dry_run = false;
    while (!rest.isEmpty() && rest.front().startsWith(u"--")) {
        const QString option = rest.takeFirst();
        if (option == u"--dry-run") {
            dry_run = true;
        } else if (option == u"--today" && !rest.isEmpty()) {
            // Taken as for download; the result pages themselves need no date.
            if (!QDate::fromString(rest.takeFirst(), QStringLiteral("yyyy/MM/dd")).isValid())
                return kUsageFault;
        } else {
            return kUsageFault;
        }
    }
    if (rest.size() != 1)
        return kUsageFault;
    const QString path = rest.front();
    // The store is asked without the lock: another writer may save the book meanwhile.
    BookDocument read(result_chk);
    if (!open_into(read, path))
        return 1;
    HttpFetcher fetcher;
    ResultBatch batch(fetcher, read.book(), DownloadAddresses::from_environment());
    batch.start();
    while (batch.running())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    // Then the book as it is now, under the lock. What was found belongs to a kind and a round
    // number, so it goes to the open rounds of that kind and number wherever they stand now.
    BookDocument document(result_chk);
    if (!dry_run && !open_for_writing(document, path))
        return 1;
    const TicketBook &book = dry_run ? read.book() : document.book();
    QHash<QString, const BatchRound *> found;
    for (const BatchRound &round : batch.rounds())
        found.insert(round_key(round.kind, round.kai), &round);
    std::vector<std::pair<int, const BatchRound *>> rows; // entry, what the batch found for it
    std::vector<RoundUpdate> updates;
    for (int e = 0; e < book.entry_count(); ++e) {
        const RoundEntry &entry = book.entries[static_cast<size_t>(e)];
        const BatchRound *round =
            round_is_open(entry) ? found.value(round_key(entry.kind, entry.kai.text()), nullptr) : nullptr;
        if (!round)
            continue;
        rows.emplace_back(e, round);
        if (round->status == BatchRound::Status::found)
            updates.push_back(results_update(e, round->found));
    }

    // The lines describe what was written, so they wait for the save.
    QString not_written;
    if (!dry_run && !updates.empty()) {
        Outcome written = document.apply_updates(BookDocument::Source::batch, updates);
        if (written.ok)
            written = document.save(path);
        if (!written.ok) {
            fail(written);
            not_written = escaped_field(written.line());
        }
    }
    QByteArray out;
    bool any_failed = !not_written.isEmpty();
    for (const auto &[entry, round] : rows) {
        const auto row = entry_row_texts(book.entries[static_cast<size_t>(entry)]);
        out += QStringList{QString::number(entry + 1), escaped_field(row[0]), escaped_field(row[1]),
                           status_text(*round, not_written)}
                   .join(u'\t')
                   .toUtf8() +
               '\n';
        any_failed = any_failed || round->status == BatchRound::Status::failed ||
                     round->status == BatchRound::Status::pending;
    }
    print_utf8(stdout, out);
    return any_failed ? 1 : 0;
}
