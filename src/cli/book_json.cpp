#include "cli/book_json.h"

#include "results/winning_check.h"

#include <QString>
#include <vector>

namespace {

// A small streaming JSON writer: separators are placed by the writer, so callers only
// open, fill and close objects and arrays.
class JsonOut {
public:
    JsonOut &begin_object() { return open('{'); }
    JsonOut &end_object() { return close('}'); }
    JsonOut &begin_array() { return open('['); }
    JsonOut &end_array() { return close(']'); }

    JsonOut &key(const char *name)
    {
        separate();
        out_.append('"').append(name).append("\": ");
        after_key_ = true;
        return *this;
    }

    // Exact digits even past 64 bits (won amounts and totals); JSON numbers have no width.
    JsonOut &number(WideInt value) { return raw(integer_text(value).toLatin1()); }
    JsonOut &boolean(bool value) { return raw(value ? "true" : "false"); }

    JsonOut &string(const QString &text)
    {
        QByteArray quoted("\"");
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u == '"' || u == '\\')
                quoted.append('\\').append(static_cast<char>(u));
            else if (u < 0x20)
                quoted.append(QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0')).toLatin1());
            else
                quoted.append(QString(c).toUtf8());
        }
        return raw(quoted.append('"'));
    }

    // Line breaks between the entries keep a dump readable and diffable.
    JsonOut &newline()
    {
        newline_ = true;
        return *this;
    }

    QByteArray take() { return std::move(out_.append('\n')); }

private:
    void separate()
    {
        if (after_key_) {
            after_key_ = false;
            return;
        }
        if (!first_.empty() && !first_.back())
            out_.append(newline_ ? ",\n " : ", ");
        else if (newline_)
            out_.append("\n ");
        newline_ = false;
        if (!first_.empty())
            first_.back() = false;
    }

    JsonOut &raw(const QByteArray &value)
    {
        separate();
        out_.append(value);
        return *this;
    }

    JsonOut &open(char bracket)
    {
        separate();
        out_.append(bracket);
        first_.push_back(true);
        return *this;
    }

    JsonOut &close(char bracket)
    {
        first_.pop_back();
        out_.append(bracket);
        return *this;
    }

    QByteArray out_;
    std::vector<bool> first_; // per open container: nothing written into it yet
    bool after_key_ = false;
    bool newline_ = false; // the next separator breaks the line
};

template <typename Round>
void write_slot_array(JsonOut &j, const Round &e)
{
    j.begin_array();
    for (int s = 0; s < slot_count(e.kind); ++s) {
        j.begin_object();
        if (is_match_kind(e.kind)) {
            const auto &m = e.matches[static_cast<size_t>(s)];
            j.key("home")
                .string(m.home.text())
                .key("away")
                .string(m.away.text())
                .key("result")
                .number(m.result);
        } else {
            const auto &t = e.teams[static_cast<size_t>(s)];
            j.key("team").string(t.team.text()).key("score").number(t.score);
        }
        j.end_object();
    }
    j.end_array();
}

void write_slots(JsonOut &j, const RoundEntry &e)
{
    j.key("slots");
    write_slot_array(j, e);
}

void write_purchases(JsonOut &j, const TicketBook &book, int index)
{
    const RoundEntry &e = book.entries[static_cast<size_t>(index)];
    const int n = slot_count(e.kind);
    j.key("purchases").begin_array();
    book.for_each_purchase(index, [&](int type, int at) {
        j.begin_object();
        if (type == kSingle) {
            const SinglePurchase &p = book.single_pool(e.kind)[static_cast<size_t>(at)];
            j.key("type").string(QStringLiteral("single")).key("picks").begin_array();
            for (int s = 0; s < n; ++s)
                j.number(p.picks[static_cast<size_t>(s)]);
            j.end_array();
        } else {
            const MultiPurchase &m = book.multi_pool(e.kind)[static_cast<size_t>(at)];
            j.key("type").string(QStringLiteral("multi")).key("marks").begin_array();
            for (int s = 0; s < n; ++s) {
                j.begin_array();
                for (int k = 0; k < marks_per_slot(e.kind); ++k)
                    j.number(m.marks[static_cast<size_t>(s)][static_cast<size_t>(k)] ? 1 : 0);
                j.end_array();
            }
            j.end_array().key("combos").number(m.combos);
        }
        j.end_object();
    });
    j.end_array();
}

void write_entry(JsonOut &j, const TicketBook &book, int index)
{
    const RoundEntry &e = book.entries[static_cast<size_t>(index)];
    j.begin_object();
    j.key("kai").string(e.kai.text());
    j.key("kind").number(kind_code(e.kind));
    j.key("kind_name").string(kind_display_name(e.kind));
    write_slots(j, e);
    j.key("has_grade3").boolean(e.has_grade3);
    j.key("has_grade5").boolean(e.has_grade5);
    j.key("has_grade6").boolean(e.has_grade6);
    j.key("state").number(e.state);
    j.key("prizes").begin_array();
    for (size_t g = 0; g < 6; ++g)
        j.number(e.prizes[g]);
    j.end_array();
    j.key("tickets").number(e.tickets);
    j.key("hits").begin_array();
    for (int64_t h : e.hits)
        j.number(h);
    j.end_array();
    j.key("won").number(e.won);
    write_purchases(j, book, index);
    j.end_object();
}

} // namespace

QByteArray book_to_json(const TicketBook &book)
{
    JsonOut j;
    j.begin_object().key("entries").begin_array();
    for (int i = 0; i < book.entry_count(); ++i) {
        if (i > 0)
            j.newline();
        write_entry(j, book, i);
    }
    j.end_array().newline();
    const BookTotals totals = book_totals(book);
    j.key("totals").begin_object();
    j.key("bought").number(totals.bought).key("won").number(totals.won).key("balance").number(totals.balance);
    j.end_object().end_object();
    return j.take();
}

QByteArray slots_to_json(const RoundEntry &entry)
{
    JsonOut j;
    write_slot_array(j, entry);
    return j.take().chopped(1);
}

QByteArray slots_to_json(const DownloadedRound &round)
{
    JsonOut j;
    write_slot_array(j, round);
    return j.take().chopped(1);
}

QByteArray json_string(const QString &text)
{
    JsonOut j;
    j.string(text);
    return j.take().chopped(1);
}
