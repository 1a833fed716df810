// yorimo-cli update: 結果を一括更新 without a window.
#include "book/book_document.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "download/result_batch.h"
#include "platform/http_fetcher.h"
#include "results/entry_row.h"
#include "results/winning_check.h"

#include <QCoreApplication>
#include <QDate>

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
    BookDocument document(result_chk);
    if (!open_into(document, path))
        return 1;

    HttpFetcher fetcher;
    ResultBatch batch(fetcher, document.book(), DownloadAddresses::from_environment());
    batch.start();
    while (batch.running())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);

    // The lines describe what was written, so they wait for the save.
    QString not_written;
    const std::vector<RoundUpdate> updates = batch.updates(std::vector<bool>(batch.rounds().size(), true));
    if (!dry_run && !updates.empty()) {
        Outcome written = document.update_results(updates);
        if (written.ok)
            written = document.save(path);
        if (!written.ok) {
            fail(written);
            not_written = escaped_field(written.line());
        }
    }
    QByteArray out;
    bool any_failed = !not_written.isEmpty();
    for (const BatchRound &round : batch.rounds()) {
        const auto row = entry_row_texts(document.book().entries[static_cast<size_t>(round.entry)]);
        out += QStringList{QString::number(round.entry + 1), escaped_field(row[0]), escaped_field(row[1]),
                           status_text(round, not_written)}
                   .join(u'\t')
                   .toUtf8() +
               '\n';
        any_failed = any_failed || round.status == BatchRound::Status::failed ||
                     round.status == BatchRound::Status::pending;
    }
    print_utf8(stdout, out);
    return any_failed ? 1 : 0;
}
