// この回の購入 on paper: the round, its matches or teams with the results so far, and each
// ticket as its ticket line, one slot to a column, in marks large enough to copy by hand.
#include "main_window/print_cells.h"
#include "main_window/print_pages.h"

#include "book/ticket_lines.h"
#include "results/book_stats.h"
#include "results/winning_check.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

using namespace print_cells;

namespace {

constexpr double kTitlePoints = 16;
constexpr double kTextPoints = 9;
constexpr double kMarkPoints = 16;
constexpr double kSmallestMarkPoints = 8;
constexpr double kGradeMinimumMm = 38;

// What a slot's result reads as in the table of matches or teams.
QString result_text(LotteryKind kind, int result)
{
    if (is_match_kind(kind)) {
        switch (result) {
        case kHomeWin: return QStringLiteral("1（勝）");
        case kDraw: return QStringLiteral("0（分）");
        case kAwayWin: return QStringLiteral("2（負）");
        case kCancelled: return QStringLiteral("中止");
        default: return QStringLiteral("－");
        }
    }
    if (result == kScoreCancelled)
        return QStringLiteral("中止");
    if (result >= 1 && result <= 4)
        return result == 4 ? QStringLiteral("3点以上") : QString::number(result - 1) + QStringLiteral("点");
    return QStringLiteral("－");
}

// The same as a mark of the ticket lines, for the row that stands above the tickets.
QString result_mark(LotteryKind kind, int result)
{
    if (is_match_kind(kind)) {
        const int mark = mark_of_result(result);
        // Marks in mark order (home, draw, away) are written 1, 0, 2.
        return mark < 0 ? QString() : QString(QLatin1Char("102"[mark]));
    }
    return result >= 1 && result <= 4 ? QString::number(result - 1) : QString();
}

bool result_cancelled(LotteryKind kind, int result)
{
    return result == (is_match_kind(kind) ? kCancelled : kScoreCancelled);
}

// A ticket's grade once decided: every result in (the prizes may still be 未定), or a ticket
// that cannot win whatever the missing results will be.
QString grade_text(const RoundEntry &entry, const std::array<int64_t, 7> &hits, int64_t combos)
{
    if (entry.state == kPrizeRefund)
        return QStringLiteral("払戻");
    if (!results_complete(entry))
        return hits[6] == combos ? QStringLiteral("はずれ") : QStringLiteral("未確定");
    QStringList parts;
    const auto count = [&](int64_t n) {
        return combos > 1 ? QStringLiteral(" ") + format_yen(n) + u'口' : QString();
    };
    for (int g = 1; g <= kMaxGrades; ++g)
        if (hits[static_cast<size_t>(g - 1)] > 0)
            parts << grade_name(g) + count(hits[static_cast<size_t>(g - 1)]);
    if (hits[6] > 0)
        parts << QStringLiteral("はずれ") + count(hits[6]);
    return parts.join(QStringLiteral("・"));
}

class RoundPrint final : public PrintDocument {
public:
    RoundPrint(const TicketBook &book, int entry, PrintHeading heading)
        : PrintDocument(std::move(heading)), book_(book), entry_(book.entries[static_cast<size_t>(entry)])
    {
        book.for_each_purchase(entry, [this](int type, int index) {
            purchases_.emplace_back(type, index);
            if (type == kMulti)
                widest_slot_ = std::max(
                    widest_slot_, widest_marks(book_.multi_pool(entry_.kind)[static_cast<size_t>(index)]));
        });
    }

protected:
    int lay_out() override;
    void paint_body(QPainter &painter, int page) const override;

private:
    int widest_marks(const MultiPurchase &multi) const
    {
        int widest = 1;
        for (int s = 0; s < slot_count(entry_.kind); ++s) {
            int marks = 0;
            for (const bool m : multi.marks[static_cast<size_t>(s)])
                marks += m ? 1 : 0;
            widest = std::max(widest, marks);
        }
        return widest;
    }
    double round_part_height() const;
    double paint_round(QPainter &painter) const;
    void paint_grid_headings(QPainter &painter, double top) const;
    void paint_ticket(QPainter &painter, int ticket, double top) const;
    double slot_left(int slot) const { return body().left() + fixed_left_ + slot * slot_width_; }

    const TicketBook &book_;
    const RoundEntry &entry_;
    std::vector<std::pair<int, int>> purchases_; // (type, pool index), in chain order
    int widest_slot_ = 1;                        // most marks in one slot of any ticket

    // Set by lay_out().
    QFont text_font_;
    QFont bold_font_;
    QFont mark_font_;
    double text_row_ = 0;
    double ticket_row_ = 0;
    double number_width_ = 0;
    double type_width_ = 0;
    double fixed_left_ = 0; // No. and 種類
    double slot_width_ = 0;
    double combos_width_ = 0;
    int on_first_ = 0; // tickets on the first page
    int per_page_ = 1; // tickets on each page after it
};

double RoundPrint::round_part_height() const
{
    const double title = QFontMetricsF(font(kTitlePoints, true)).height() * 1.4;
    const int slots = slot_count(entry_.kind);
    // Title, four lines about the round, the table of slots with its headings, a gap.
    return title + 4 * text_row_ + (slots + 1) * text_row_ + text_row_;
}

int RoundPrint::lay_out()
{
    text_font_ = font(kTextPoints);
    bold_font_ = font(kTextPoints, true);
    const QFontMetricsF text(text_font_);
    const QFontMetricsF bold(bold_font_);
    const double pad = 2 * padding(text_font_);
    text_row_ = text.height() * 1.45;
    number_width_ = std::max(bold.horizontalAdvance(QStringLiteral("No.")),
                             text.horizontalAdvance(format_yen(kMaxRecords * 2))) +
                    pad;
    type_width_ = std::max(bold.horizontalAdvance(QStringLiteral("種類")),
                           text.horizontalAdvance(QStringLiteral("シングル"))) +
                  pad;
    fixed_left_ = number_width_ + type_width_;
    int64_t most_combos = 1;
    for (const auto &[type, index] : purchases_)
        if (type == kMulti)
            most_combos =
                std::max(most_combos, book_.multi_pool(entry_.kind)[static_cast<size_t>(index)].combos);
    combos_width_ = std::max(bold.horizontalAdvance(QStringLiteral("口数")),
                             text.horizontalAdvance(format_yen(most_combos))) +
                    pad;

    // The marks as large as the paper allows beside the other columns.
    const QString widest = (is_match_kind(entry_.kind) ? QStringLiteral("102") : QStringLiteral("0123"))
                               .left(std::max(1, widest_slot_));
    const int slots = slot_count(entry_.kind);
    const double for_slots = body().width() - fixed_left_ - combos_width_ - kGradeMinimumMm * kDotsPerMm;
    double points = kMarkPoints;
    const auto slot_width_at = [&](double p) {
        const QFont f = font(p, true);
        return std::max(QFontMetricsF(f).horizontalAdvance(widest) + 2 * padding(f),
                        bold.horizontalAdvance(QStringLiteral("14")) + pad);
    };
    while (points > kSmallestMarkPoints && slots * slot_width_at(points) > for_slots)
        points -= 0.5;
    mark_font_ = font(points, true);
    slot_width_ = slot_width_at(points);
    ticket_row_ = std::max(QFontMetricsF(mark_font_).height() * 1.35, text_row_);

    // The grid's headings and the row of results open every page.
    const double grid_head = text_row_ + ticket_row_;
    const double first_room = body().height() - round_part_height() - grid_head;
    on_first_ = std::max(0, static_cast<int>(first_room / ticket_row_));
    per_page_ = std::max(1, static_cast<int>((body().height() - grid_head) / ticket_row_));
    const int tickets = static_cast<int>(purchases_.size());
    const int rest = std::max(0, tickets - on_first_);
    return 1 + (rest + per_page_ - 1) / per_page_;
}

double RoundPrint::paint_round(QPainter &painter) const
{
    const RoundEntry &e = entry_;
    double top = body().top();
    painter.setPen(Qt::black);
    painter.setFont(font(kTitlePoints, true));
    const double title = QFontMetricsF(painter.font()).height() * 1.4;
    draw(painter, QRectF(body().left(), top, body().width(), title), round_print_title(e), Qt::AlignLeft);
    top += title;

    painter.setFont(text_font_);
    const auto line = [&](const QString &text) {
        draw(painter, QRectF(body().left(), top, body().width(), text_row_), text, Qt::AlignLeft);
        top += text_row_;
    };
    const int singles = static_cast<int>(std::count_if(purchases_.begin(), purchases_.end(),
                                                       [](const auto &p) { return p.first == kSingle; }));
    line(QStringLiteral("購入 %1件（シングル %2件・マルチ %3件）　%4口")
             .arg(format_yen(static_cast<int64_t>(purchases_.size())), format_yen(singles),
                  format_yen(static_cast<int64_t>(purchases_.size()) - singles), format_yen(e.tickets)));
    line(QStringLiteral("購入金額 %1円　当選金額 %2").arg(format_yen(bought_amount(e)), won_cell_text(e)));
    QStringList grades;
    for (int g = 1; g <= kMaxGrades; ++g)
        if (grade_exists(e, g))
            grades << grade_name(g) + u' ' + grade_cell_text(e, g);
    grades << QStringLiteral("はずれ ") + grade_cell_text(e, kLosingColumn);
    line(QStringLiteral("口数　") + grades.join(QStringLiteral("　")));
    QStringList prizes;
    if (e.state == kPrizeEntered) {
        for (int g = 1; g <= kMaxGrades; ++g)
            if (grade_exists(e, g))
                prizes << grade_name(g) + u' ' + format_yen(e.prizes[static_cast<size_t>(g - 1)]) + u'円';
        line(QStringLiteral("当選金　") + prizes.join(QStringLiteral("　")));
    } else {
        line(e.state == kPrizeRefund ? QStringLiteral("当選金　払戻") : QStringLiteral("当選金　未定"));
    }

    // The matches or teams with their results, as far as they are in.
    const bool match = is_match_kind(e.kind);
    const double table_width = body().width() * 0.75;
    const double result_width = body().width() * 0.15;
    const double name_width = (table_width - number_width_ - result_width) / (match ? 2 : 1);
    const double result_left = body().left() + table_width - result_width;
    painter.fillRect(QRectF(body().left(), top, table_width, text_row_), kHeadingShade);
    painter.setFont(bold_font_);
    draw(painter, QRectF(body().left(), top, number_width_, text_row_), QStringLiteral("No."),
         Qt::AlignRight);
    if (match) {
        draw(painter, QRectF(body().left() + number_width_, top, name_width, text_row_),
             QStringLiteral("ホーム"), Qt::AlignLeft);
        draw(painter, QRectF(body().left() + number_width_ + name_width, top, name_width, text_row_),
             QStringLiteral("アウェイ"), Qt::AlignLeft);
    } else {
        draw(painter, QRectF(body().left() + number_width_, top, name_width, text_row_),
             QStringLiteral("チーム"), Qt::AlignLeft);
    }
    draw(painter, QRectF(result_left, top, result_width, text_row_), QStringLiteral("結果"), Qt::AlignLeft);
    top += text_row_;
    painter.setFont(text_font_);
    for (int s = 0; s < slot_count(e.kind); ++s) {
        draw(painter, QRectF(body().left(), top, number_width_, text_row_), QString::number(s + 1),
             Qt::AlignRight);
        if (match) {
            draw(painter, QRectF(body().left() + number_width_, top, name_width, text_row_),
                 e.matches[static_cast<size_t>(s)].home.text(), Qt::AlignLeft);
            draw(painter, QRectF(body().left() + number_width_ + name_width, top, name_width, text_row_),
                 e.matches[static_cast<size_t>(s)].away.text(), Qt::AlignLeft);
        } else {
            draw(painter, QRectF(body().left() + number_width_, top, name_width, text_row_),
                 e.teams[static_cast<size_t>(s)].team.text(), Qt::AlignLeft);
        }
        draw(painter, QRectF(result_left, top, result_width, text_row_),
             result_text(e.kind, e.slot_result(s)), Qt::AlignLeft);
        top += text_row_;
    }
    return body().top() + round_part_height();
}

void RoundPrint::paint_grid_headings(QPainter &painter, double top) const
{
    const int slots = slot_count(entry_.kind);
    const double right = slot_left(slots);
    painter.fillRect(QRectF(body().left(), top, body().width(), text_row_), kHeadingShade);
    painter.setPen(Qt::black);
    painter.setFont(bold_font_);
    draw(painter, QRectF(body().left(), top, number_width_, text_row_), QStringLiteral("No."),
         Qt::AlignRight);
    draw(painter, QRectF(body().left() + number_width_, top, type_width_, text_row_), QStringLiteral("種類"),
         Qt::AlignLeft);
    for (int s = 0; s < slots; ++s)
        draw(painter, QRectF(slot_left(s), top, slot_width_, text_row_), QString::number(s + 1),
             Qt::AlignHCenter);
    draw(painter, QRectF(right, top, combos_width_, text_row_), QStringLiteral("口数"), Qt::AlignRight);
    draw(painter, QRectF(right + combos_width_, top, body().right() - right - combos_width_, text_row_),
         QStringLiteral("等級"), Qt::AlignLeft);
    top += text_row_;
    // The results so far in the marks of the tickets, to compare column by column.
    painter.setFont(bold_font_);
    draw(painter, QRectF(body().left(), top, fixed_left_, ticket_row_), QStringLiteral("結果"),
         Qt::AlignRight);
    for (int s = 0; s < slots; ++s) {
        const int result = entry_.slot_result(s);
        const QRectF cell(slot_left(s), top, slot_width_, ticket_row_);
        if (result_cancelled(entry_.kind, result)) {
            // A narrow column of single marks still shows the whole word, smaller.
            painter.setFont(font(kTextPoints * 0.75));
            painter.drawText(cell, Qt::AlignCenter | Qt::TextDontClip, QStringLiteral("中止"));
        } else {
            painter.setFont(mark_font_);
            painter.setPen(QColor(0x60, 0x60, 0x60));
            draw(painter, cell, result_mark(entry_.kind, result), Qt::AlignHCenter);
            painter.setPen(Qt::black);
        }
    }
    painter.setPen(rule(0.8));
    painter.drawLine(QPointF(body().left(), top + ticket_row_), QPointF(body().right(), top + ticket_row_));
}

void RoundPrint::paint_ticket(QPainter &painter, int ticket, double top) const
{
    const auto [type, index] = purchases_[static_cast<size_t>(ticket)];
    const LotteryKind kind = entry_.kind;
    QString line;
    std::array<int64_t, 7> hits{};
    int64_t combos = 1;
    if (type == kSingle) {
        const SinglePurchase &single = book_.single_pool(kind)[static_cast<size_t>(index)];
        line = ticket_line(single, kind);
        hits = purchase_hits(entry_, single);
    } else {
        const MultiPurchase &multi = book_.multi_pool(kind)[static_cast<size_t>(index)];
        line = ticket_line(multi, kind);
        hits = purchase_hits(entry_, multi);
        combos = multi.combos;
    }
    if (ticket % 2 == 1)
        painter.fillRect(QRectF(body().left(), top, body().width(), ticket_row_), kRowShade);
    painter.setPen(Qt::black);
    painter.setFont(text_font_);
    draw(painter, QRectF(body().left(), top, number_width_, ticket_row_), QString::number(ticket + 1),
         Qt::AlignRight);
    draw(painter, QRectF(body().left() + number_width_, top, type_width_, ticket_row_),
         type == kSingle ? QStringLiteral("シングル") : QStringLiteral("マルチ"), Qt::AlignLeft);
    // The line's slots, one to a column: the marks of a slot stay together as the notation
    // writes them ("10"), and a reader follows a slot down the page.
    painter.setFont(mark_font_);
    const QStringList slots = line.split(QLatin1Char(' '));
    for (int s = 0; s < slots.size(); ++s)
        draw(painter, QRectF(slot_left(s), top, slot_width_, ticket_row_), slots[s], Qt::AlignHCenter);
    const double right = slot_left(slot_count(kind));
    painter.setFont(text_font_);
    draw(painter, QRectF(right, top, combos_width_, ticket_row_), format_yen(combos), Qt::AlignRight);
    draw(painter, QRectF(right + combos_width_, top, body().right() - right - combos_width_, ticket_row_),
         grade_text(entry_, hits, combos), Qt::AlignLeft);
}

void RoundPrint::paint_body(QPainter &painter, int page) const
{
    double top = body().top();
    int first = 0;
    int count = on_first_;
    if (page == 0) {
        top = paint_round(painter);
        if (purchases_.empty()) {
            painter.setFont(text_font_);
            draw(painter, QRectF(body().left(), top, body().width(), text_row_),
                 QStringLiteral("購入はありません。"), Qt::AlignLeft);
            return;
        }
        if (on_first_ == 0)
            return;
    } else {
        first = on_first_ + (page - 1) * per_page_;
        count = per_page_;
    }
    paint_grid_headings(painter, top);
    top += text_row_ + ticket_row_;
    const int last = std::min(static_cast<int>(purchases_.size()), first + count);
    for (int t = first; t < last; ++t) {
        paint_ticket(painter, t, top);
        top += ticket_row_;
    }
    // Thin lines between the slots, so that a column reads as one match.
    painter.setPen(rule(0.3, QColor(0xa0, 0xa0, 0xa0)));
    const double grid_top = top - (last - first) * ticket_row_ - ticket_row_;
    for (int s = 0; s <= slot_count(entry_.kind); ++s)
        painter.drawLine(QPointF(slot_left(s), grid_top), QPointF(slot_left(s), top));
}

} // namespace

QString round_print_title(const RoundEntry &entry)
{
    return kai_caption(one_line(entry.kai.text())) + QStringLiteral(" ") + kind_display_name(entry.kind);
}

std::unique_ptr<PrintDocument> round_print(const TicketBook &book, int entry, PrintHeading heading)
{
    auto document = std::make_unique<RoundPrint>(book, entry, std::move(heading));
    document->set_page_layout(document->default_layout());
    return document;
}
