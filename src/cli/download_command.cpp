// yorimo-cli download: walks the download dialog's choices by caption, without a window.
#include "book/book_file.h"
#include "cli/book_json.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "download/apply_download.h"
#include "download/download_session.h"
#include "platform/http_fetcher.h"
#include "results/winning_check.h"

#include <QCoreApplication>
#include <QFile>
#include <memory>

namespace {

const QString kBack = QStringLiteral("戻る");

struct WalkOutcome {
    int status = 0;  // 0 done, 1 the download failed, 2 a caption could not be chosen
    QByteArray json; // status 0
    QString message; // status 1 and 2
};

QByteArray string_array(const QStringList &texts)
{
    QByteArray out("[");
    for (qsizetype i = 0; i < texts.size(); ++i)
        out += (i ? ", " : "") + json_string(texts[i]);
    return out + ']';
}

QByteArray round_json(const DownloadedRound &r)
{
    QByteArray prizes("[");
    for (size_t g = 0; g < 6; ++g)
        prizes += (g ? ", " : "") + QByteArray::number(static_cast<qlonglong>(r.prizes[g]));
    prizes += ']';
    auto flag = [](bool b) { return QByteArray(b ? "true" : "false"); };
    return "{\"kai\": " + json_string(r.kai.text()) + ", \"kind\": " + QByteArray::number(kind_code(r.kind)) +
           ", \"kind_name\": " + json_string(kind_display_name(r.kind)) + ", \"slots\": " + slots_to_json(r) +
           ", \"has_grade3\": " + flag(r.has_grade3) + ", \"has_grade5\": " + flag(r.has_grade5) +
           ", \"has_grade6\": " + flag(r.has_grade6) + ", \"state\": " + QByteArray::number(r.state) +
           ", \"prizes\": " + prizes + '}';
}

// Runs the event loop while a page is on its way.
void wait_for_pages(const DownloadSession &session)
{
    while (session.running() && session.fetching())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

WalkOutcome walk(DownloadSession &session, const QStringList &captions)
{
    session.open();
    QByteArray lists("[");
    for (qsizetype i = 0; i < captions.size(); ++i) {
        const QString &caption = captions[i];
        if (!session.failure().message.isEmpty())
            return {1, {}, session.failure().message};
        if (!session.running())
            return {2, {}, QStringLiteral("the download has ended before \"%1\"").arg(caption)};
        QStringList shown;
        for (const ChoiceEntry &choice : session.choices())
            shown << choice.caption;
        lists += (i ? ", " : "") + string_array(shown);
        if (caption == kBack) {
            if (!session.back_enabled())
                return {2, {}, QStringLiteral("\"%1\" is not available here").arg(caption)};
            session.cmd_back();
        } else {
            // The caption of a choice; the line as the list shows it is accepted too.
            qsizetype line = shown.indexOf(caption);
            if (line < 0)
                line = session.lines().indexOf(caption);
            if (line < 0 || !session.ok_enabled())
                return {
                    2, {}, QStringLiteral("\"%1\" is not in the list: %2").arg(caption, shown.join(u", "))};
            session.cmd_ok(static_cast<int>(line));
        }
        wait_for_pages(session);
    }
    if (!session.failure().message.isEmpty())
        return {1, {}, session.failure().message};
    if (session.running()) {
        session.cancel();
        return {2, {}, QStringLiteral("the walk ended before a round was downloaded")};
    }
    const QByteArray json =
        "{\"choice_lists\": " + lists + "], \"lbl_cur\": " + json_string(session.lbl_cur()) +
        ", \"dialog_result\": " + QByteArray::number(static_cast<int>(session.outcome())) +
        ", \"downloaded_round\": " + round_json(session.downloaded_round()) + '}';
    return {0, json, {}};
}

int run_walks(DownloadSession &session, const QString &path)
{
    QFile file;
    const bool opened = path == u"-" ? file.open(stdin, QIODevice::ReadOnly)
                                     : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        print_utf8(stderr, QStringLiteral("%1: %2\n").arg(path, file.errorString()).toUtf8());
        return 1;
    }
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        while (line.endsWith(u'\n') || line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        const WalkOutcome outcome = walk(session, line.split(u'\t'));
        print_utf8(stdout, (outcome.status == 0 ? outcome.json
                                                : "{\"error\": " + json_string(outcome.message) + '}') +
                               '\n');
    }
    return 0;
}

// Where --into puts the round: a new entry, or results into list row `row` (from 1).
struct Destination {
    QString book_path;
    int row = 0;
};

// Applies the downloaded round as the confirmation's OK does and saves the book; the file
// is only written once everything has succeeded.
int apply_to_book(const DownloadSession &session, const TeamNames &names, const Destination &to,
                  BookDocument &document)
{
    const TicketBook &book = document.book();
    const DownloadedRound &round = session.downloaded_round();
    DownloadOutcome outcome = session.outcome();
    const int target = to.row - 1;
    if (to.row > 0) {
        if (outcome != DownloadOutcome::result_as_new_entry)
            return fail(QStringLiteral("only results can go into an existing round"));
        if (!can_take_results(book, target, round))
            return fail(
                QStringLiteral("row %1 is not a round of %2").arg(to.row).arg(kind_display_name(round.kind)));
        outcome = DownloadOutcome::result_into_entry;
    }
    int entry = -1;
    if (const Outcome applied = apply_download(document, {round, names}, outcome, target, &entry);
        !applied.ok)
        return fail(applied);
    const Outcome saved = document.save(to.book_path);
    return saved.ok ? 0 : fail(saved);
}

} // namespace

int cli_download(const QStringList &args)
{
    QStringList captions = args;
    QDate today = QDate::currentDate();
    QString walks;
    Destination into;
    QString entry_row;
    while (!captions.isEmpty() && captions.front().startsWith(u"--")) {
        const QString option = captions.takeFirst();
        if (captions.isEmpty())
            return kUsageFault;
        const QString value = captions.takeFirst();
        if (option == u"--today") {
            today = QDate::fromString(value, QStringLiteral("yyyy/MM/dd"));
            if (!today.isValid())
                return kUsageFault;
        } else if (option == u"--walks") {
            walks = value;
        } else if (option == u"--into") {
            into.book_path = value;
        } else if (option == u"--entry") {
            entry_row = value;
        } else {
            return kUsageFault;
        }
    }
    if (walks.isEmpty() == captions.isEmpty())
        return kUsageFault;
    // One walk gives one round to apply; --entry only names where it goes.
    if (!into.book_path.isEmpty() && !walks.isEmpty())
        return kUsageFault;
    if (!entry_row.isEmpty()) {
        bool number = false;
        into.row = entry_row.toInt(&number);
        if (into.book_path.isEmpty() || !number || into.row < 1)
            return kUsageFault;
    }
    BookDocument document(result_chk);
    if (!into.book_path.isEmpty()) {
        if (!open_for_writing(document, into.book_path))
            return 1;
        if (into.row > document.book().entry_count())
            return fail(QStringLiteral("row %1 names no round").arg(into.row));
    }

    // The team-name table and the downloaded round live as long as the program does.
    TeamNames names;
    names.bundled = read_bundled_team_names(bundled_team_names_path());
    const FixedClock clock(today);
    HttpFetcher fetcher;
    DownloadSession session(fetcher, names, clock, DownloadAddresses::from_environment());
    if (!walks.isEmpty())
        return run_walks(session, walks);

    const WalkOutcome outcome = walk(session, captions);
    if (outcome.status != 0) {
        print_utf8(stderr, outcome.message.toUtf8() + '\n');
        return outcome.status;
    }
    if (!into.book_path.isEmpty()) {
        if (const int status = apply_to_book(session, names, into, document); status != 0)
            return status;
    }
    print_utf8(stdout, outcome.json + '\n');
    return 0;
}
