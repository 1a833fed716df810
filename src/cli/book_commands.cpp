// The commands that read a book and print it: list and dump.
#include "book/book_document.h"
#include "book/book_file.h"
#include "cli/book_json.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "results/entry_row.h"
#include "results/winning_check.h"

namespace {

// A label read from a file may hold TAB or line breaks; escaped, every row stays one line
// of TAB-separated fields.
QString escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        default: out += c;
        }
    }
    return out;
}

// Reads the one book argument and prints what `print` makes of it.
template <typename Print>
int with_book(const QStringList &args, Print print)
{
    if (args.size() != 1)
        return kUsageFault;
    const std::optional<TicketBook> book = open_book(args[0]);
    if (!book)
        return 1;
    print_utf8(stdout, print(*book));
    return 0;
}

} // namespace

QString escaped_field(const QString &text)
{
    return escaped(text);
}

// Here rather than beside main(): tests run the commands without the program.
void print_utf8(FILE *stream, const QByteArray &text)
{
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stream);
    std::fflush(stream);
}

QByteArray list_text(const TicketBook &book)
{
    QByteArray out;
    for (const RoundEntry &entry : book.entries) {
        QStringList fields;
        for (const QString &text : entry_row_texts(entry))
            fields << escaped(text);
        out.append(fields.join(QLatin1Char('\t')).toUtf8());
        out.append('\n');
    }
    const BookTotals totals = book_totals(book);
    out.append(QStringList{QStringLiteral("合計"), format_yen(totals.bought), format_yen(totals.won),
                           format_yen(totals.balance)}
                   .join(QLatin1Char('\t'))
                   .toUtf8());
    out.append('\n');
    return out;
}

std::optional<TicketBook> open_book(const QString &path)
{
    // Opened as the window opens a book: every round graded.
    BookDocument document(result_chk);
    if (!open_into(document, path))
        return std::nullopt;
    return document.book();
}

int cli_list(const QStringList &args)
{
    return with_book(args, list_text);
}

int cli_dump(const QStringList &args)
{
    return with_book(args, book_to_json);
}
