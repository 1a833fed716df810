// The stats command: what each kind of the book bought and won, one TAB-separated line per kind.
#include "book/book_file.h"
#include "cli/cli_commands.h"
#include "results/book_stats.h"

namespace {

QByteArray stats_line(const QString &name, const KindStats &s)
{
    const QStringList fields = {name,
                                integer_text(s.rounds),
                                integer_text(s.tickets),
                                integer_text(s.bought),
                                integer_text(s.settled_tickets),
                                integer_text(s.winning_tickets),
                                integer_text(s.won),
                                integer_text(s.balance()),
                                return_rate_text(s),
                                hit_rate_text(s)};
    return fields.join(QLatin1Char('\t')).toUtf8() + '\n';
}

QByteArray stats_lines(const TicketBook &book)
{
    QByteArray out =
        QStringLiteral("種別\t回数\t購入口数\t購入金額\t確定口数\t当選口数\t当選金額\t収支\t回収率\t的中率\n")
            .toUtf8();
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
