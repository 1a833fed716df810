#pragma once

#include "book/ticket_book.h"

#include <QDate>
#include <QFont>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>

class QAbstractItemModel;
class QPainter;
class UiServices;

// Pages are laid out in dots of 1/1200 inch whatever they are painted on, so the preview,
// the printer and the PDF show the same pages with the same breaks.
inline constexpr double kLayoutDpi = 1200;
// No margin is narrower than this, whatever the printer allows.
inline constexpr double kMinimumMarginMm = 10;

// What every page says besides its body.
struct PrintHeading {
    QString book_name; // the book's file name, or 無題
    QString title;     // what is printed: 一覧, 第10回 toto, 収支統計
    QDate printed;
};

// A document of pages that can be painted in any order: the pages are counted when the
// paper is set, and each is drawn only when it is shown or printed, so a book of any size
// previews at once.
class PrintDocument {
public:
    explicit PrintDocument(PrintHeading heading) : heading_(std::move(heading)) {}
    virtual ~PrintDocument() = default;
    PrintDocument(const PrintDocument &) = delete;
    PrintDocument &operator=(const PrintDocument &) = delete;

    const PrintHeading &heading() const { return heading_; }
    // 収支統計 asks for landscape; the others for portrait.
    virtual QPageLayout::Orientation preferred_orientation() const { return QPageLayout::Portrait; }
    // A4 in the preferred orientation, 15 mm margins.
    QPageLayout default_layout() const;
    // Lays the pages out for this paper, orientation and margins (margins under 10 mm widened).
    void set_page_layout(const QPageLayout &layout);
    const QPageLayout &page_layout() const { return layout_; }
    int page_count() const { return pages_; }

    // Paints page `page` (from 0): the painter maps layout dots, its origin at the top-left
    // corner of the printable area inside the margins.
    void paint_page(QPainter &painter, int page) const;
    // The same on a printer or a PDF writer, scaled from layout dots to the device's.
    void paint_page_on_device(QPainter &painter, int page) const;

    // The family every page is written in: one whose glyphs map back to their characters
    // in a PDF (its text is searched and copied), else the default.
    static QString font_family();
    // A font of `points` for painting in layout dots.
    static QFont font(double points, bool bold = false);
    // Layout dots per point and per millimetre.
    static constexpr double kDotsPerPoint = kLayoutDpi / 72;
    static constexpr double kDotsPerMm = kLayoutDpi / 25.4;

protected:
    // The part of the printable area between the header and the footer, in layout dots.
    QRectF body() const { return body_; }
    // Counts the pages for body(); called whenever the paper changes.
    virtual int lay_out() = 0;
    virtual void paint_body(QPainter &painter, int page) const = 0;

private:
    PrintHeading heading_;
    QPageLayout layout_;
    QRectF area_;
    QRectF body_;
    int pages_ = 0;
};

// The main list as the view shows it: the rows of `rows` (the view's model: its order, its
// filter) with every column, then the totals of the rows printed (and the book's, when the
// list shows only some of its rounds).
std::unique_ptr<PrintDocument> list_print(const QAbstractItemModel &rows, const TicketBook &book,
                                          PrintHeading heading);

// この回の購入: entry `entry` with its matches or teams and results, then each ticket as a
// ticket line, slot by slot, with its combinations and its grade once decided.
std::unique_ptr<PrintDocument> round_print(const TicketBook &book, int entry, PrintHeading heading);

// 収支統計: the table of the statistics window and its chart for `kind` (all kinds when
// none), one landscape page where the paper holds both.
std::unique_ptr<PrintDocument> stats_print(const TicketBook &book, std::optional<LotteryKind> kind,
                                           UiServices &ui, PrintHeading heading);

// The title of each: "一覧", "第10回 toto", "収支統計" (all kinds) or "収支統計（toto）".
QString list_print_title();
QString round_print_title(const RoundEntry &entry);
QString stats_print_title(std::optional<LotteryKind> kind);
