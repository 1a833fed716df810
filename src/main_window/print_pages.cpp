// The printed pages: what every page carries (header, footer, margins) and the main list.
#include "main_window/print_pages.h"

#include "main_window/entry_list_model.h"
#include "main_window/print_cells.h"
#include "results/book_stats.h"
#include "results/winning_check.h"

#include <QAbstractItemModel>
#include <QFontDatabase>
#include <QHash>
#include <QPageSize>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>
#include <vector>

using namespace print_cells;

namespace {

constexpr double kHeaderPoints = 8;
constexpr double kDefaultMarginMm = 15;

} // namespace

// --- every page -------------------------------------------------------------------------------

QString PrintDocument::font_family()
{
    // Qt writes a PDF's text map from the lowest character of each glyph, and the Noto CJK
    // fonts share the glyph of 入 or 金 with a Kangxi radical: a PDF in them reads back as
    // radicals. IPA P Gothic has no radicals, so its text reads back as written.
    static const QString family = QFontDatabase::hasFamily(QStringLiteral("IPAPGothic"))
                                      ? QStringLiteral("IPAPGothic")
                                      : QFont().family();
    return family;
}

QFont PrintDocument::font(double points, bool bold)
{
    QFont f(font_family());
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * kDotsPerPoint))));
    f.setBold(bold);
    return f;
}

QPageLayout PrintDocument::default_layout() const
{
    const QMarginsF margins(kDefaultMarginMm, kDefaultMarginMm, kDefaultMarginMm, kDefaultMarginMm);
    return QPageLayout(QPageSize(QPageSize::A4), preferred_orientation(), margins, QPageLayout::Millimeter);
}

void PrintDocument::set_page_layout(const QPageLayout &layout)
{
    layout_ = layout;
    layout_.setUnits(QPageLayout::Millimeter);
    QMarginsF m = layout_.margins();
    m.setLeft(std::max(m.left(), kMinimumMarginMm));
    m.setTop(std::max(m.top(), kMinimumMarginMm));
    m.setRight(std::max(m.right(), kMinimumMarginMm));
    m.setBottom(std::max(m.bottom(), kMinimumMarginMm));
    layout_.setMargins(m);
    const QRectF paint = layout_.paintRect(QPageLayout::Point);
    area_ = QRectF(0, 0, paint.width() * kDotsPerPoint, paint.height() * kDotsPerPoint);
    const QFontMetricsF header(font(kHeaderPoints));
    const double band = header.height() * 1.8;
    body_ = area_.adjusted(0, band, 0, -band);
    pages_ = std::max(1, lay_out());
}

void PrintDocument::paint_page(QPainter &painter, int page) const
{
    if (page < 0 || page >= pages_)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(Qt::black);
    painter.setFont(font(kHeaderPoints));
    const QFontMetricsF header(painter.font());
    const QRectF top(area_.left(), area_.top(), area_.width(), header.height());
    draw(painter, QRectF(top.left(), top.top(), top.width() * 0.7, top.height()),
         heading_.book_name + QStringLiteral("　") + heading_.title, Qt::AlignLeft);
    if (heading_.printed.isValid())
        draw(painter, top,
             QStringLiteral("印刷日 ") + heading_.printed.toString(QStringLiteral("yyyy/MM/dd")),
             Qt::AlignRight);
    painter.setPen(rule(0.5));
    const double under = top.bottom() + header.height() * 0.3;
    painter.drawLine(QPointF(area_.left(), under), QPointF(area_.right(), under));
    painter.setPen(Qt::black);
    const QRectF foot(area_.left(), area_.bottom() - header.height(), area_.width(), header.height());
    draw(painter, foot, QString::number(page + 1) + QStringLiteral(" / ") + QString::number(pages_),
         Qt::AlignHCenter);
    painter.restore();

    painter.save();
    paint_body(painter, page);
    painter.restore();
}

void PrintDocument::paint_page_on_device(QPainter &painter, int page) const
{
    const QPaintDevice *device = painter.device();
    painter.save();
    painter.scale(device->logicalDpiX() / kLayoutDpi, device->logicalDpiY() / kLayoutDpi);
    paint_page(painter, page);
    painter.restore();
}

QString list_print_title()
{
    return QStringLiteral("一覧");
}

// --- 一覧 -------------------------------------------------------------------------------------

namespace {

constexpr double kListPoints = 8;
constexpr double kListSmallestPoints = 5;

class ListPrint final : public PrintDocument {
public:
    ListPrint(const QAbstractItemModel &rows, const TicketBook &book, PrintHeading heading)
        : PrintDocument(std::move(heading)), rows_(rows), book_(book)
    {
        count_rows();
        measure();
    }

protected:
    int lay_out() override;
    void paint_body(QPainter &painter, int page) const override;

private:
    void count_rows();
    void measure();
    QRectF cell(int column, double top) const
    {
        return QRectF(body().left() + left_[static_cast<size_t>(column)], top,
                      widths_[static_cast<size_t>(column)], row_height_);
    }
    void paint_headings(QPainter &painter, double top) const;
    void paint_totals(QPainter &painter, double top) const;

    const QAbstractItemModel &rows_;
    const TicketBook &book_;
    int row_count_ = 0;
    int columns_ = 0;
    std::vector<Qt::Alignment> align_;
    std::vector<double> natural_; // widths at kListPoints
    // The rows printed, summed: 購入口数, 購入金額, 当選金額.
    WideInt tickets_ = 0;
    WideInt bought_ = 0;
    WideInt won_ = 0;
    bool partial_ = false; // the view shows only some of the book's rounds

    // Set by lay_out().
    QFont cell_font_;
    QFont bold_font_;
    std::vector<double> widths_;
    std::vector<double> left_;
    double row_height_ = 0;
    int per_page_ = 1;
};

// The columns whose texts are summed in the totals row.
constexpr int kTicketsColumn = 2;
constexpr int kBoughtColumn = 3;
constexpr int kWonColumn = 11;

void ListPrint::count_rows()
{
    row_count_ = rows_.rowCount();
    columns_ = rows_.columnCount();
    for (int r = 0; r < row_count_; ++r) {
        const QVariant entry = rows_.index(r, 0).data(EntryListModel::kEntryRole);
        if (!entry.isValid())
            continue;
        const RoundEntry &e = book_.entries[static_cast<size_t>(entry.toInt())];
        tickets_ += e.tickets;
        bought_ += bought_amount(e);
        won_ += entry_won(e);
    }
    partial_ = row_count_ < book_.entry_count();
}

void ListPrint::measure()
{
    const QFontMetricsF cells(font(kListPoints));
    const QFontMetricsF bold(font(kListPoints, true));
    const double pad = 2 * padding(font(kListPoints));
    align_.assign(static_cast<size_t>(columns_), Qt::AlignLeft);
    natural_.assign(static_cast<size_t>(columns_), 0);
    for (int c = 0; c < columns_; ++c) {
        const QVariant a = rows_.headerData(c, Qt::Horizontal, Qt::TextAlignmentRole);
        const Qt::Alignment given =
            a.typeId() == QMetaType::Int ? Qt::Alignment(a.toInt()) : a.value<Qt::Alignment>();
        align_[static_cast<size_t>(c)] = given & Qt::AlignHorizontal_Mask;
        if (align_[static_cast<size_t>(c)] == 0)
            align_[static_cast<size_t>(c)] = Qt::AlignLeft;
        natural_[static_cast<size_t>(c)] =
            bold.horizontalAdvance(rows_.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    }
    // Figures are digits and separators of about one width: the longest text of a column is
    // its widest. Labels and kind names are measured one by one, each distinct text once.
    std::vector<QString> longest(static_cast<size_t>(columns_));
    std::vector<QHash<QString, bool>> measured(static_cast<size_t>(columns_));
    for (int r = 0; r < row_count_; ++r) {
        for (int c = 0; c < columns_; ++c) {
            const QString text = one_line(rows_.index(r, c).data().toString());
            double &width = natural_[static_cast<size_t>(c)];
            if (align_[static_cast<size_t>(c)] & Qt::AlignRight) {
                if (text.size() > longest[static_cast<size_t>(c)].size())
                    longest[static_cast<size_t>(c)] = text;
            } else if (!measured[static_cast<size_t>(c)].contains(text)) {
                measured[static_cast<size_t>(c)].insert(text, true);
                width = std::max(width, cells.horizontalAdvance(text));
            }
        }
    }
    for (int c = 0; c < columns_; ++c)
        natural_[static_cast<size_t>(c)] = std::max(natural_[static_cast<size_t>(c)],
                                                    cells.horizontalAdvance(longest[static_cast<size_t>(c)]));
    // The totals stand in the same columns, in bold.
    const auto widen = [&](int column, const QString &text) {
        if (column < columns_)
            natural_[static_cast<size_t>(column)] =
                std::max(natural_[static_cast<size_t>(column)], bold.horizontalAdvance(text));
    };
    widen(0, QStringLiteral("合計"));
    widen(kTicketsColumn, integer_text(tickets_));
    widen(kBoughtColumn, format_yen(bought_));
    widen(kWonColumn, format_yen(won_));
    widen(kWonColumn, QStringLiteral("収支 ") + format_yen(won_ - bought_));
    for (double &w : natural_)
        w += pad;
}

int ListPrint::lay_out()
{
    double natural = 0;
    for (const double w : natural_)
        natural += w;
    // Every column on the page: a narrow paper gets a smaller font, a wide one wider columns.
    const double fit = natural > 0 ? body().width() / natural : 1;
    const double points = std::max(kListSmallestPoints, kListPoints * std::min(1.0, fit));
    cell_font_ = font(points);
    bold_font_ = font(points, true);
    widths_.resize(natural_.size());
    left_.resize(natural_.size());
    double x = 0;
    for (size_t c = 0; c < natural_.size(); ++c) {
        left_[c] = x;
        widths_[c] = natural_[c] * fit;
        x += widths_[c];
    }
    row_height_ = QFontMetricsF(cell_font_).height() * 1.5;
    // The headings, then whole rows: no row is ever cut by a page break.
    per_page_ = std::max(1, static_cast<int>((body().height() - row_height_) / row_height_));
    int pages = std::max(1, (row_count_ + per_page_ - 1) / per_page_);
    const int on_last = row_count_ - (pages - 1) * per_page_;
    const int totals_rows = partial_ ? 4 : 3;
    if (row_count_ > 0 && (1 + on_last + totals_rows) * row_height_ > body().height())
        ++pages; // the totals go to a page of their own
    return pages;
}

void ListPrint::paint_headings(QPainter &painter, double top) const
{
    painter.fillRect(QRectF(body().left(), top, body().width(), row_height_), kHeadingShade);
    painter.setFont(bold_font_);
    painter.setPen(Qt::black);
    for (int c = 0; c < columns_; ++c)
        draw(painter, cell(c, top), rows_.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
             align_[static_cast<size_t>(c)]);
    painter.setPen(rule(0.6));
    painter.drawLine(QPointF(body().left(), top + row_height_), QPointF(body().right(), top + row_height_));
}

void ListPrint::paint_totals(QPainter &painter, double top) const
{
    painter.setPen(rule(0.6));
    painter.drawLine(QPointF(body().left(), top), QPointF(body().right(), top));
    painter.setFont(bold_font_);
    painter.setPen(Qt::black);
    const auto put = [&](int column, double y, const QString &text) {
        if (column < columns_)
            draw(painter, cell(column, y), text, align_[static_cast<size_t>(column)]);
    };
    put(0, top, QStringLiteral("合計"));
    put(kTicketsColumn, top, integer_text(tickets_));
    put(kBoughtColumn, top, format_yen(bought_));
    put(kWonColumn, top, format_yen(won_));
    const WideInt balance = won_ - bought_;
    if (balance < 0)
        painter.setPen(kLossColor);
    put(kWonColumn, top + row_height_, QStringLiteral("収支 ") + format_yen(balance));
    if (!partial_)
        return;
    // A list narrowed by the find bar sums its own rows; the book's totals follow.
    const BookTotals book = book_totals(book_);
    painter.setPen(Qt::black);
    painter.setFont(cell_font_);
    draw(painter, QRectF(body().left(), top + 2.5 * row_height_, body().width(), row_height_),
         QStringLiteral("表示中 %1 / %2 回　帳簿全体では 購入金額 %3　当選金額 %4　収支 %5")
             .arg(format_yen(row_count_), format_yen(book_.entry_count()), format_yen(book.bought),
                  format_yen(book.won), format_yen(book.balance)),
         Qt::AlignRight);
}

void ListPrint::paint_body(QPainter &painter, int page) const
{
    double top = body().top();
    paint_headings(painter, top);
    top += row_height_;
    const int first = page * per_page_;
    const int last = std::min(row_count_, first + per_page_);
    for (int r = first; r < last; ++r) {
        if ((r - first) % 2 == 1)
            painter.fillRect(QRectF(body().left(), top, body().width(), row_height_), kRowShade);
        painter.setPen(Qt::black);
        painter.setFont(cell_font_);
        for (int c = 0; c < columns_; ++c)
            draw(painter, cell(c, top), rows_.index(r, c).data().toString(), align_[static_cast<size_t>(c)]);
        top += row_height_;
    }
    if (page == page_count() - 1)
        paint_totals(painter, top + row_height_ * 0.3);
}

} // namespace

std::unique_ptr<PrintDocument> list_print(const QAbstractItemModel &rows, const TicketBook &book,
                                          PrintHeading heading)
{
    auto document = std::make_unique<ListPrint>(rows, book, std::move(heading));
    document->set_page_layout(document->default_layout());
    return document;
}
