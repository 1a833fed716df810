// The ticket-line commands: add (many tickets to one round) and tickets (a round's tickets
// as lines), through the window's own notation and document.
#include "book/book_document.h"
#include "book/message_text.h"
#include "book/ticket_lines.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "results/winning_check.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// The largest file of ticket lines taken: the fullest round (32,767 singles and 32,767
// multis of every mark) takes about 2.5 MB of lines, so this leaves room for comments.
constexpr qint64 kMaxTicketFileBytes = 8 << 20;
// Bad lines named one by one; the rest are counted.
constexpr int kShownLineErrors = 100;

// Reads `path` ("-": standard input) as UTF-8 lines into the parser, a chunk at a time, so
// memory stays flat whatever the file holds; false with the message on stderr.
bool read_lines(const QString &path, TicketLineParser &parser)
{
    QFile file;
    const bool opened = path == u"-" ? file.open(stdin, QIODevice::ReadOnly)
                                     : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    const QString shown = escape_controls(path);
    if (!opened) {
        fail(QStringLiteral("%1: %2").arg(shown, file.errorString()));
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString pending;
    qint64 total = 0;
    for (;;) {
        const QByteArray chunk = file.read(64 * 1024);
        if (chunk.isEmpty())
            break;
        total += chunk.size();
        if (total > kMaxTicketFileBytes) {
            fail(QStringLiteral("%1: ファイルが大きすぎます（8 MiBまでです）。").arg(shown));
            return false;
        }
        pending += utf8(chunk);
        qsizetype from = 0;
        for (qsizetype to; (to = pending.indexOf(u'\n', from)) >= 0; from = to + 1)
            parser.read_line(QStringView(pending).sliced(from, to - from));
        pending.remove(0, from);
    }
    if (file.error() != QFileDevice::NoError) {
        fail(QStringLiteral("%1: %2").arg(shown, file.errorString()));
        return false;
    }
    if (utf8.hasError()) {
        fail(QStringLiteral("%1: UTF-8のテキストではありません。").arg(shown));
        return false;
    }
    parser.read_line(pending);
    return true;
}

} // namespace

int cli_add(const QStringList &args)
{
    if (args.size() != 3)
        return kUsageFault;
    BookDocument document(result_chk);
    if (!open_for_writing(document, args[0]))
        return 1;
    const std::optional<int> entry = entry_of_row(document.book(), args[1]);
    if (!entry)
        return fail(no_row_message(args[1]));
    TicketLineParser parser(document.book().entries[static_cast<size_t>(*entry)].kind, kShownLineErrors);
    if (!read_lines(args[2], parser))
        return 1;
    const ParsedTickets &parsed = parser.parsed();
    if (parsed.error_lines > 0) {
        QByteArray lines;
        for (const TicketLineError &error : parsed.errors)
            lines += QStringLiteral("%1: %2\n").arg(error.line).arg(error.reason).toUtf8();
        if (parsed.error_lines > static_cast<int64_t>(parsed.errors.size()))
            lines += QStringLiteral("…: ほか%1行\n")
                         .arg(parsed.error_lines - static_cast<int64_t>(parsed.errors.size()))
                         .toUtf8();
        print_utf8(stderr, lines);
        return 1;
    }
    if (parsed.too_many)
        return fail(out_of_memory_message());
    if (!parsed.purchases.empty()) {
        if (const Outcome added = document.add_tickets(*entry, parsed.purchases); !added.ok)
            return fail(added);
        if (const Outcome saved = document.save(args[0]); !saved.ok)
            return fail(saved);
    }
    print_utf8(stdout, QStringLiteral("added\t%1\t%2\t%3\n")
                           .arg(parsed.singles)
                           .arg(parsed.multis)
                           .arg(parsed.tickets)
                           .toUtf8());
    return 0;
}

int cli_tickets(const QStringList &args)
{
    if (args.size() != 2)
        return kUsageFault;
    const std::optional<TicketBook> book = open_book(args[0]);
    if (!book)
        return 1;
    const std::optional<int> entry = entry_of_row(*book, args[1]);
    if (!entry)
        return fail(no_row_message(args[1]));
    QByteArray out;
    book->for_each_purchase(*entry, [&](int type, int index) {
        out += ticket_line(*book, *entry, type, index).toUtf8();
        out += '\n';
    });
    print_utf8(stdout, out);
    return 0;
}
