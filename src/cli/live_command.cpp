// yorimo-cli live: how a round stands on a match day, with results supposed for slots still
// without one, counted as the 途中経過 window counts it. Reads the book only.
#include "book/message_text.h"
#include "cli/cli_commands.h"
#include "cli/cli_support.h"
#include "results/live_counts.h"
#include "results/winning_check.h"

#include <algorithm>

namespace {

// Full-width digits read as half-width ones.
QString half_width_digits(QString text)
{
    for (QChar &c : text)
        if (c >= QChar(0xFF10) && c <= QChar(0xFF19))
            c = QChar(u'0' + (c.unicode() - 0xFF10));
    return text;
}

bool all_digits(const QString &text)
{
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The counts of one line: G1..G6 ("-" for a grade the round lacks), then the losing tickets.
QByteArray count_fields(const RoundEntry &entry, const GradeCounts &counts)
{
    QByteArray fields;
    for (int g = 1; g <= kMaxGrades; ++g)
        fields +=
            '\t' + (grade_exists(entry, g) ? QByteArray::number(counts[static_cast<size_t>(g - 1)]) : "-");
    return fields + '\t' + QByteArray::number(counts[6]);
}

// Reads the SLOT=MARK arguments into `supposed`; a message on stderr and false for the first
// that does not fit the round.
bool read_suppositions(const RoundEntry &entry, const QStringList &args, Suppositions &supposed)
{
    const LotteryKind kind = entry.kind;
    const int slots = slot_count(kind);
    std::array<bool, kMaxSlots> given{};
    for (const QString &arg : args) {
        const QString text = half_width_digits(arg);
        const qsizetype equals = text.indexOf(u'=');
        const QString slot_text = text.left(equals);
        if (equals < 0 || !all_digits(slot_text)) {
            fail(QStringLiteral("「%1」は 枠=印 の形ではありません。").arg(escape_controls(arg)));
            return false;
        }
        bool number = false;
        const int slot = slot_text.toInt(&number);
        if (!number || slot < 1 || slot > slots) {
            fail(QStringLiteral("枠%1はありません（1～%2）。").arg(escape_controls(slot_text)).arg(slots));
            return false;
        }
        const auto s = static_cast<size_t>(slot - 1);
        if (given[s]) {
            fail(QStringLiteral("枠%1が2回指定されています。").arg(slot));
            return false;
        }
        given[s] = true;
        const QString mark = text.mid(equals + 1);
        int outcome = -1;
        for (int o = 0; o < outcome_count(kind); ++o)
            if (mark == outcome_mark(kind, o))
                outcome = o;
        if (outcome < 0) {
            fail(QStringLiteral("「%1」はこの種別にない印です。").arg(escape_controls(arg.mid(equals + 1))));
            return false;
        }
        if (!slot_undecided(entry, slot - 1)) {
            fail(QStringLiteral("枠%1は結果が入力済みです。").arg(slot));
            return false;
        }
        supposed[s] = outcome_result(kind, outcome);
    }
    return true;
}

} // namespace

int cli_live(const QStringList &args)
{
    if (args.size() < 2)
        return kUsageFault;
    const std::optional<TicketBook> book = open_book(args[0]);
    if (!book)
        return 1;
    const std::optional<int> found = entry_of_row(*book, args[1]);
    if (!found)
        return fail(no_row_message(args[1]));
    const int entry = *found;
    const RoundEntry &e = book->entries[static_cast<size_t>(entry)];
    Suppositions supposed{};
    if (!read_suppositions(e, args.mid(2), supposed))
        return 1;

    const LiveCounts live = live_counts(*book, entry, supposed);
    if (!live.counted) {
        print_utf8(stdout, "now\t-\t-\t-\t-\t-\t-\t-\n");
        return 0;
    }
    QByteArray out = "now" + count_fields(e, live.now) + '\n';
    const RoundEntry round = supposed_round(e, supposed);
    for (int s = 0; s < slot_count(e.kind); ++s) {
        if (!slot_undecided(round, s))
            continue;
        for (int o = 0; o < outcome_count(e.kind); ++o)
            out += QByteArray::number(s + 1) + '\t' + outcome_mark(e.kind, o).toLatin1() +
                   count_fields(e, live.if_ended[static_cast<size_t>(s)][static_cast<size_t>(o)]) + '\n';
    }
    if (const std::optional<WideInt> won = live_won(round, live.now))
        out += "won\t" + integer_text(*won).toLatin1() + '\n';
    print_utf8(stdout, out);
    return 0;
}
