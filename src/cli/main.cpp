// yorimo-cli: reads a book without a window, for scripts and for checking files.
#include "book/book_file.h"
#include "book/book_json.h"
#include "results/entry_row.h"
#include "results/winning_check.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

void print_utf8(FILE *stream, const QByteArray &text)
{
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stream);
}

int usage()
{
    print_utf8(stderr, "usage: yorimo-cli list BOOK.yrm\n       yorimo-cli dump BOOK.yrm\n");
    return 2;
}

QByteArray list_lines(const TicketBook &book)
{
    QByteArray out;
    for (const RoundEntry &entry : book.entries) {
        const auto row = entry_row_texts(entry);
        out.append(QStringList(row.begin(), row.end()).join(QLatin1Char('\t')).toUtf8());
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || (args[1] != QLatin1String("list") && args[1] != QLatin1String("dump")))
        return usage();
    const BookReadResult read = read_data(args[2]);
    if (!read.outcome.ok) {
        print_utf8(stderr, read.outcome.message.toUtf8() + '\n');
        return 1;
    }
    print_utf8(stdout, args[1] == QLatin1String("list") ? list_lines(read.book) : book_to_json(read.book));
    return 0;
}
