// The stats command: what each kind of the book bought and won, one TAB-separated line per kind.
#include "book/book_file.h"
#include "cli/cli_commands.h"
#include "results/book_stats.h"

namespace {

QByteArray tab_line(const QStringList &fields)
{
    return fields.join(QLatin1Char('\t')).toUtf8() + '\n';
}

// Plain numbers: the output is for scripts.
QByteArray stats_line(const QString &name, const KindStats &s)
{
    return tab_line(stats_row_texts(name, s, StatsNumbers::plain));
}

QByteArray stats_lines(const TicketBook &book)
{
    QByteArray out = tab_line(stats_headings());
    const BookStats stats = book_stats(book);
    for (const KindStatsRow &row : stats.kinds)
        out += stats_line(kind_display_name(row.kind), row.stats);
    out += stats_line(QStringLiteral("合計"), stats.total);
    return out;
}

} // namespace

int cli_stats(const QStringList &args)
{
    if (args.size() != 1)
        return kUsageFault;
    const std::optional<TicketBook> book = open_book(args[0]);
    if (!book)
        return 1;
    print_utf8(stdout, stats_lines(*book));
    return 0;
}
