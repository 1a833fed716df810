#include "book/book_json.h"

#include "platform/shift_jis.h"
#include "results/winning_check.h"

#include <QString>

namespace {

class JsonOut {
public:
    void raw(const char *text) { out_.append(text); }
    void number(int64_t value) { out_.append(QByteArray::number(static_cast<qlonglong>(value))); }
    void boolean(bool value) { raw(value ? "true" : "false"); }

    void string(const QString &text)
    {
        out_.append('"');
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u == '"' || u == '\\') {
                out_.append('\\');
                out_.append(static_cast<char>(u));
            } else if (u < 0x20) {
                out_.append(QStringLiteral("\\u%1").arg(u, 4, 16, QLatin1Char('0')).toLatin1());
            } else {
                out_.append(QString(c).toUtf8());
            }
        }
        out_.append('"');
    }

    void key(const char *name)
    {
        out_.append('"');
        out_.append(name);
        out_.append("\": ");
    }

    template <typename Container, typename Fn>
    void list(const Container &items, Fn each)
    {
        raw("[");
        bool first = true;
        for (const auto &item : items) {
            if (!first)
                raw(", ");
            first = false;
            each(item);
        }
        raw("]");
    }

    QByteArray take() { return std::move(out_); }

private:
    QByteArray out_;
};

std::vector<int> used_slots(const RoundEntry &e)
{
    std::vector<int> slots(static_cast<size_t>(slot_count(e.kind)));
    for (size_t i = 0; i < slots.size(); ++i)
        slots[i] = static_cast<int>(i);
    return slots;
}

void write_entry(JsonOut &j, const TicketBook &book, int index)
{
    const RoundEntry &e = book.entries[static_cast<size_t>(index)];
    const bool match = is_match_kind(e.kind);
    const auto slots = used_slots(e);
    j.raw("{");
    j.key("kai");
    j.string(e.kai.text());
    j.raw(", ");
    j.key("kind");
    j.number(kind_code(e.kind));
    j.raw(", ");
    j.key("kind_name");
    j.string(kind_display_name(e.kind));
    j.raw(", ");
    j.key("slots");
    j.list(slots, [&](int s) {
        if (match) {
            const MatchSlot &m = e.matches[static_cast<size_t>(s)];
            j.raw("{\"home\": ");
            j.string(m.home.text());
            j.raw(", \"away\": ");
            j.string(m.away.text());
            j.raw(", \"result\": ");
            j.number(m.result);
        } else {
            const TeamSlot &t = e.teams[static_cast<size_t>(s)];
            j.raw("{\"team\": ");
            j.string(t.team.text());
            j.raw(", \"score\": ");
            j.number(t.score);
        }
        j.raw("}");
    });
    j.raw(", ");
    j.key("has_grade3");
    j.boolean(e.has_grade3);
    j.raw(", ");
    j.key("has_grade5");
    j.boolean(e.has_grade5);
    j.raw(", ");
    j.key("has_grade6");
    j.boolean(e.has_grade6);
    j.raw(", ");
    j.key("state");
    j.number(e.state);
    j.raw(", ");
    j.key("prizes");
    j.list(std::vector<int64_t>(e.prizes.begin(), e.prizes.begin() + 6), [&](int64_t p) { j.number(p); });
    j.raw(", ");
    j.key("tickets");
    j.number(e.tickets);
    j.raw(", ");
    j.key("hits");
    j.list(e.hits, [&](int64_t h) { j.number(h); });
    j.raw(", ");
    j.key("won");
    j.number(e.prizes[6]);
    j.raw(", ");
    j.key("purchases");
    std::vector<std::pair<int, int>> chain;
    book.for_each_purchase(index, [&](int type, int at) { chain.emplace_back(type, at); });
    j.list(chain, [&](const std::pair<int, int> &p) {
        if (p.first == kSingle) {
            const SinglePurchase &s = book.single_pool(e.kind)[static_cast<size_t>(p.second)];
            j.raw("{\"type\": \"single\", \"picks\": ");
            j.list(slots, [&](int slot) { j.number(s.picks[static_cast<size_t>(slot)]); });
        } else {
            const MultiPurchase &m = book.multi_pool(e.kind)[static_cast<size_t>(p.second)];
            j.raw("{\"type\": \"multi\", \"marks\": ");
            j.list(slots, [&](int slot) {
                std::vector<int> marks;
                for (int k = 0; k < marks_per_slot(e.kind); ++k)
                    marks.push_back(m.marks[static_cast<size_t>(slot)][static_cast<size_t>(k)] ? 1 : 0);
                j.list(marks, [&](int v) { j.number(v); });
            });
            j.raw(", \"combos\": ");
            j.number(m.combos);
        }
        j.raw("}");
    });
    j.raw("}");
}

} // namespace

QByteArray book_to_json(const TicketBook &book)
{
    JsonOut j;
    j.raw("{\"entries\": [");
    for (int i = 0; i < book.entry_count(); ++i) {
        if (i > 0)
            j.raw(",\n ");
        write_entry(j, book, i);
    }
    const BookTotals totals = book_totals(book);
    j.raw("],\n \"totals\": {\"bought\": ");
    j.number(totals.bought);
    j.raw(", \"won\": ");
    j.number(totals.won);
    j.raw(", \"balance\": ");
    j.number(totals.balance);
    j.raw("}}\n");
    return j.take();
}
