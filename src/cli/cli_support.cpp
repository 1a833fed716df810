#include "cli/cli_support.h"

#include "book/message_text.h"
#include "cli/cli_commands.h"
#include "results/winning_check.h"

int fail(const QString &message)
{
    print_utf8(stderr, message.toUtf8() + '\n');
    return 1;
}

int fail(const Outcome &outcome)
{
    return fail(outcome.line());
}

std::optional<int> entry_of_row(const TicketBook &book, const QString &row)
{
    bool number = false;
    const int value = row.toInt(&number);
    if (!number || value < 1 || value > book.entry_count())
        return std::nullopt;
    return value - 1;
}

QString no_row_message(const QString &row)
{
    return QStringLiteral("一覧の%1行目に開催回がありません。").arg(escape_controls(row));
}

bool open_into(BookDocument &document, const QString &path)
{
    if (const Outcome opened = document.open(path); !opened.ok) {
        fail(opened);
        return false;
    }
    return true;
}

bool open_for_writing(BookDocument &document, const QString &path)
{
    if (const Outcome opened = document.open_for_writing(path); !opened.ok) {
        fail(opened);
        return false;
    }
    return true;
}
