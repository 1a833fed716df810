#include "book/ticket_lines.h"

#include "book/amount_text.h"
#include "book/message_text.h"

#include <array>

namespace {

// Full-width digits and spaces read as their half-width forms; TAB and CR are blanks.
char16_t normal(char16_t c)
{
    if (c >= u'０' && c <= u'９')
        return static_cast<char16_t>(u'0' + (c - u'０'));
    if (c == u'＃')
        return u'#';
    if (c == u'\u3000' || c == u'\t' || c == u'\r')
        return u' ';
    return c;
}

bool is_separator(char16_t c)
{
    return c == u' ' || c == u',' || c == u'-' || c == u'/';
}

bool is_digit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The character at `at` of the line as the user wrote it, a surrogate pair whole; a control
// character is written out (\0, \x1b) so that it shows and does not act.
QString written_char(QStringView line, qsizetype at)
{
    const qsizetype n = at + 1 < line.size() && line[at].isHighSurrogate() ? 2 : 1;
    return escape_controls(line.mid(at, n));
}

// Reads one line (without its line break) into a purchase, or says why it holds none.
class LineReader {
public:
    explicit LineReader(LotteryKind kind) : kind_(kind), match_(is_match_kind(kind)) {}

    // False with reason() when the line is not a ticket; `skipped` when it holds none.
    bool read(QStringView original, NewPurchase &purchase, bool &skipped)
    {
        skipped = false;
        text_.resize(static_cast<size_t>(original.size()));
        for (qsizetype i = 0; i < original.size(); ++i)
            text_[static_cast<size_t>(i)] = normal(original[i].unicode());
        start_ = 0;
        end_ = static_cast<qsizetype>(text_.size());
        // From "#" on, the line is a note of the user's ("10 0 2 … # 山田さんの分").
        for (qsizetype i = 0; i < end_; ++i)
            if (at(i) == u'#')
                end_ = i;
        while (start_ < end_ && at(start_) == u' ')
            ++start_;
        while (end_ > start_ && at(end_ - 1) == u' ')
            --end_;
        if (start_ == end_) {
            skipped = true;
            return true;
        }
        original_ = original;
        return scan() && build(purchase);
    }

    const QString &reason() const { return reason_; }

private:
    char16_t at(qsizetype i) const { return text_[static_cast<size_t>(i)]; }

    bool fail(QString reason)
    {
        reason_ = std::move(reason);
        return false;
    }

    bool scan()
    {
        marks_ = {};
        counts_ = {};
        slots_ = 0;
        bool separated = false;
        for (qsizetype i = start_; i < end_ && !separated; ++i)
            separated = is_separator(at(i));
        qsizetype i = start_;
        while (i < end_) {
            const char16_t c = at(i);
            if (c == u'[' || c == u'(') {
                const char16_t close = c == u'[' ? u']' : u')';
                qsizetype j = i + 1;
                for (; j < end_ && at(j) != close; ++j) {
                    if (!is_digit(at(j)))
                        return fail(at(j) == u'[' || at(j) == u'(' || at(j) == u']' || at(j) == u')'
                                        ? QStringLiteral("括弧が閉じていません")
                                        : QStringLiteral("括弧の中に「%1」があります")
                                              .arg(written_char(original_, j)));
                    if (!add_mark(at(j)))
                        return false;
                }
                if (j == end_)
                    return fail(QStringLiteral("括弧が閉じていません"));
                if (j == i + 1)
                    return fail(QStringLiteral("印のない枠があります"));
                i = j + 1;
            } else if (is_digit(c)) {
                do {
                    if (!add_mark(at(i)))
                        return false;
                    ++i;
                } while (separated && i < end_ && is_digit(at(i)));
            } else if (is_separator(c)) {
                return fail(QStringLiteral("印のない枠があります"));
            } else if (c == u']' || c == u')') {
                return fail(QStringLiteral("括弧が開いていません"));
            } else {
                return fail(QStringLiteral("「%1」は読めません").arg(written_char(original_, i)));
            }
            ++slots_;
            if (!separated || i == end_)
                continue;
            // One separator: blanks, at most one of ",", "-", "/", blanks.
            const qsizetype from = i;
            while (i < end_ && at(i) == u' ')
                ++i;
            if (i < end_ && at(i) != u' ' && is_separator(at(i))) {
                ++i;
                while (i < end_ && at(i) == u' ')
                    ++i;
            }
            if (i == from)
                return fail(QStringLiteral("枠の間に区切りがありません"));
            if (i == end_)
                return fail(QStringLiteral("印のない枠があります"));
        }
        return true;
    }

    // Adds a mark to the slot being read (slot slots_).
    bool add_mark(char16_t digit)
    {
        const int value = digit - u'0';
        const int mark = match_ ? mark_of_file_code(value) : value <= 3 ? value : -1;
        if (mark < 0)
            return fail(QStringLiteral("「%1」はこの種別にない印です").arg(value));
        if (slots_ >= kMaxSlots)
            return true; // too many slots: said once the line is read
        const auto s = static_cast<size_t>(slots_);
        const auto m = static_cast<size_t>(mark);
        if (marks_[s][m])
            return fail(QStringLiteral("1つの枠に「%1」が2つあります").arg(value));
        marks_[s][m] = true;
        ++counts_[s];
        return true;
    }

    bool build(NewPurchase &purchase)
    {
        const int wanted = slot_count(kind_);
        if (slots_ != wanted)
            return fail(QStringLiteral("枠が%1個です（%2個必要です）").arg(slots_).arg(wanted));
        bool single = true;
        for (int s = 0; s < wanted; ++s)
            single = single && counts_[static_cast<size_t>(s)] == 1;
        if (single) {
            SinglePurchase p;
            for (int s = 0; s < wanted; ++s) {
                const auto &slot = marks_[static_cast<size_t>(s)];
                int mark = 0;
                while (!slot[static_cast<size_t>(mark)])
                    ++mark;
                p.picks[static_cast<size_t>(s)] =
                    static_cast<uint8_t>(match_ ? kResultOfMark[static_cast<size_t>(mark)] : mark);
            }
            purchase = p;
            return true;
        }
        if (is_big_family(kind_))
            return fail(QStringLiteral("%1はシングルのみです").arg(kind_display_name(kind_)));
        MultiPurchase p;
        p.marks = marks_;
        count_multi(p, kind_);
        if (const QString refused = multi_limit_reason(p, kind_); !refused.isEmpty())
            return fail(refused);
        purchase = p;
        return true;
    }

    const LotteryKind kind_;
    const bool match_;
    std::vector<char16_t> text_;
    QStringView original_;
    qsizetype start_ = 0;
    qsizetype end_ = 0;
    std::array<std::array<bool, 4>, kMaxSlots> marks_{};
    std::array<int, kMaxSlots> counts_{};
    int slots_ = 0;
    QString reason_;
};

} // namespace

struct TicketLineParser::Reader : LineReader {
    using LineReader::LineReader;
};

TicketLineParser::TicketLineParser(LotteryKind kind, int kept_errors)
    : reader_(std::make_unique<Reader>(kind)), kept_errors_(kept_errors)
{
}

TicketLineParser::~TicketLineParser() = default;

void TicketLineParser::read_line(QStringView text)
{
    const int line = ++line_;
    NewPurchase purchase;
    bool skipped = false;
    if (!reader_->read(text, purchase, skipped)) {
        ++parsed_.error_lines;
        if (parsed_.errors.size() < static_cast<size_t>(kept_errors_))
            parsed_.errors.push_back({line, reader_->reason()});
        return;
    }
    if (skipped)
        return;
    const auto *multi = std::get_if<MultiPurchase>(&purchase);
    (multi ? parsed_.multis : parsed_.singles) += 1;
    parsed_.tickets += multi ? multi->combos : 1;
    // No round takes more than a pool's worth of either: keep no more than that.
    if (parsed_.singles > kMaxRecords || parsed_.multis > kMaxRecords)
        parsed_.too_many = true;
    if (!parsed_.too_many) {
        parsed_.purchases.push_back(purchase);
        parsed_.lines.push_back(line);
    }
}

ParsedTickets parse_ticket_lines(QStringView text, LotteryKind kind)
{
    TicketLineParser parser(kind);
    qsizetype from = 0;
    while (from <= text.size()) {
        qsizetype to = text.indexOf(u'\n', from);
        if (to < 0)
            to = text.size();
        parser.read_line(text.sliced(from, to - from));
        from = to + 1;
    }
    return parser.take();
}

QString ticket_line(const SinglePurchase &single, LotteryKind kind)
{
    const bool match = is_match_kind(kind);
    QString line;
    for (int s = 0; s < slot_count(kind); ++s) {
        if (s > 0)
            line += u' ';
        const int pick = single.picks[static_cast<size_t>(s)];
        const int mark = match ? mark_of_result(pick) : pick <= 3 ? pick : -1;
        if (mark < 0)
            line += u'?';
        else
            line += QChar(u'0' + (match ? kMatchOutcomes[static_cast<size_t>(mark)].file_code : mark));
    }
    return line;
}

QString ticket_line(const MultiPurchase &multi, LotteryKind kind)
{
    const bool match = is_match_kind(kind);
    QString line;
    for (int s = 0; s < slot_count(kind); ++s) {
        if (s > 0)
            line += u' ';
        bool any = false;
        // Memory order is the written order: home win, draw, away win; or 0..3 goals.
        for (int m = 0; m < marks_per_slot(kind); ++m) {
            if (!multi.marks[static_cast<size_t>(s)][static_cast<size_t>(m)])
                continue;
            any = true;
            line += QChar(u'0' + (match ? kMatchOutcomes[static_cast<size_t>(m)].file_code : m));
        }
        if (!any)
            line += u'?';
    }
    return line;
}

QString ticket_line(const TicketBook &book, int entry, int type, int index)
{
    const LotteryKind kind = book.entries[static_cast<size_t>(entry)].kind;
    const auto i = static_cast<size_t>(index);
    return type == kSingle ? ticket_line(book.single_pool(kind)[i], kind)
                           : ticket_line(book.multi_pool(kind)[i], kind);
}

QString tickets_summary_text(const ParsedTickets &parsed)
{
    return QStringLiteral("シングル %1口・マルチ %2件（%3口）")
        .arg(format_yen(parsed.singles), format_yen(parsed.multis),
             format_yen(parsed.tickets - parsed.singles));
}

QString line_error_text(const TicketLineError &error)
{
    return QStringLiteral("%1行目: %2").arg(error.line).arg(error.reason);
}
