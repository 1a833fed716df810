// The ticket-line commands: add (many tickets to one round) and tickets (a round's tickets
// as lines), through the window's own notation and document.
#include "book/book_document.h"
#include "cli/cli_commands.h"
#include "entry/ticket_lines.h"
#include "results/winning_check.h"

#include <QFile>
#include <QStringDecoder>

namespace {

int fail(const QString &message)
{
    print_utf8(stderr, message.toUtf8() + '\n');
    return 1;
}

// The entry of list row `text` (1 = the first round), or -1.
int entry_of_row(const TicketBook &book, const QString &text)
{
    bool number = false;
    const int row = text.toInt(&number);
    return number && row >= 1 && row <= book.entry_count() ? row - 1 : -1;
}

QString no_row_message(const QString &row)
{
    return QStringLiteral("一覧の%1行目に開催回がありません。").arg(row);
}

// The whole of `path` ("-": standard input) as UTF-8 text; false with a message on stderr.
bool read_text(const QString &path, QString &text)
{
    QFile file;
    const bool opened = path == u"-" ? file.open(stdin, QIODevice::ReadOnly)
                                     : (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened) {
        fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    text = utf8(bytes);
    if (utf8.hasError()) {
        fail(QStringLiteral("%1: UTF-8のテキストではありません。").arg(path));
        return false;
    }
    return true;
}

} // namespace

int cli_add(const QStringList &args)
{
    if (args.size() != 3)
        return kUsageFault;
    BookDocument document(result_chk);
    if (const Outcome opened = document.open(args[0]); !opened.ok)
        return fail(opened.message);
    const int entry = entry_of_row(document.book(), args[1]);
    if (entry < 0)
        return fail(no_row_message(args[1]));
    QString text;
    if (!read_text(args[2], text))
        return 1;
    const ParsedTickets parsed =
        parse_ticket_lines(text, document.book().entries[static_cast<size_t>(entry)].kind);
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
        if (const Outcome added = document.add_tickets(entry, parsed.purchases); !added.ok)
            return fail(added.message);
        if (const Outcome saved = document.save(args[0]); !saved.ok)
            return fail(saved.message);
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
    const int entry = entry_of_row(*book, args[1]);
    if (entry < 0)
        return fail(no_row_message(args[1]));
    QByteArray out;
    book->for_each_purchase(entry, [&](int type, int index) {
        out += ticket_line(*book, entry, type, index).toUtf8();
        out += '\n';
    });
    print_utf8(stdout, out);
    return 0;
}
