#pragma once

#include "book/ticket_book.h"

#include <QString>
#include <QStringView>
#include <memory>
#include <vector>

// The ticket line: one ticket written as the round's slots in order, the marks of a slot
// being "1" home win, "0" draw, "2" away win (match kinds) or "0".."3" goals (goal kinds).
// Slots are separated by blanks, ",", "-" or "/"; then a slot may hold two or three marks
// ("10"). A line without separators holds one mark per slot, except a slot in brackets,
// "[10]" or "(10)". From a "#" on, a line is a note: empty lines and lines starting with "#"
// hold no ticket, and "1 0 2 … # memo" is the ticket before the "#". The same
// notation serves まとめて入力, the command-line tool and the review.

struct TicketLineError {
    int line = 0; // from 1
    QString reason;
};

struct ParsedTickets {
    std::vector<NewPurchase> purchases; // in line order; multis already counted
    std::vector<int> lines;             // the line (from 1) of each purchase
    std::vector<TicketLineError> errors;
    int64_t error_lines = 0; // lines with an error, also beyond the errors kept
    int64_t singles = 0;
    int64_t multis = 0;
    int64_t tickets = 0; // combinations of all purchases
    // More tickets than any round could take: the purchases beyond were not kept.
    bool too_many = false;

    bool valid() const { return error_lines == 0 && !too_many; }
};

// How many errors a parse keeps (it counts them all): more than a list can usefully show.
inline constexpr int kMaxKeptLineErrors = 2 * kMaxRecords;

// Reads lines one by one as tickets of a round of `kind`, keeping at most `kept_errors`
// reasons (counting every bad line): a file can be read as a stream.
class TicketLineParser {
public:
    explicit TicketLineParser(LotteryKind kind, int kept_errors = kMaxKeptLineErrors);
    ~TicketLineParser();
    // The next line, without its line break.
    void read_line(QStringView line);
    const ParsedTickets &parsed() const { return parsed_; }
    ParsedTickets take() { return std::move(parsed_); }

private:
    struct Reader;
    std::unique_ptr<Reader> reader_;
    ParsedTickets parsed_;
    int kept_errors_;
    int line_ = 0;
};

// Reads every line of `text` as a ticket of a round of `kind`. Linear in the text.
ParsedTickets parse_ticket_lines(QStringView text, LotteryKind kind);

// The line of a purchase: marks of a slot in the order 1 0 2 (or 0 1 2 3), slots separated
// by one space. A slot the book holds without a mark (a pick of 0, or a multi slot with no
// mark, which only a file can hold) is written "?", which reading refuses.
QString ticket_line(const SinglePurchase &single, LotteryKind kind);
QString ticket_line(const MultiPurchase &multi, LotteryKind kind);
// The line of purchase `index` of pool `type` of the entry's family.
QString ticket_line(const TicketBook &book, int entry, int type, int index);

// "シングル 12口・マルチ 3件（48口）"
QString tickets_summary_text(const ParsedTickets &parsed);
// "3行目: 枠が12個です（13個必要です）"
QString line_error_text(const TicketLineError &error);
