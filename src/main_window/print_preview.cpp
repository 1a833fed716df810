#include "main_window/print_preview.h"

#include "main_window/print_pages.h"
#include "ui/form_controls.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int kGap = 16; // between the pages and around them, in pixels

enum class ZoomMode { fit_width, whole_page, percent };

struct ZoomChoice {
    const char16_t *caption;
    ZoomMode mode;
    int percent;
};

constexpr ZoomChoice kZooms[] = {
    {u"幅に合わせる", ZoomMode::fit_width, 0}, {u"ページ全体", ZoomMode::whole_page, 0},
    {u"50%", ZoomMode::percent, 50},           {u"75%", ZoomMode::percent, 75},
    {u"100%", ZoomMode::percent, 100},         {u"150%", ZoomMode::percent, 150},
    {u"200%", ZoomMode::percent, 200},
};

} // namespace

// The pages at the chosen zoom, scrolled by the view's own scroll bars: no widget as tall
// as every page is made, and a paint draws the pages the viewport shows.
class PrintPreview::PageView : public QAbstractScrollArea {
public:
    PageView(const PrintDocument &document, QWidget *parent)
        : QAbstractScrollArea(parent), document_(document)
    {
        setObjectName(QStringLiteral("pvw_pages"));
        setFocusPolicy(Qt::StrongFocus);
        viewport()->setAutoFillBackground(false);
        verticalScrollBar()->setSingleStep(40);
        horizontalScrollBar()->setSingleStep(40);
    }

    void set_zoom(ZoomMode mode, int percent)
    {
        const int page = page_at_top();
        mode_ = mode;
        percent_ = percent;
        relayout();
        scroll_to(page);
    }

    // The paper changed, or the number of pages.
    void relayout()
    {
        const QRectF paper = document_.page_layout().fullRect(QPageLayout::Point);
        const double fit_width = (viewport()->width() - 2.0 * kGap) / paper.width();
        const double fit_height = (viewport()->height() - 2.0 * kGap) / paper.height();
        switch (mode_) {
        case ZoomMode::fit_width: scale_ = fit_width; break;
        case ZoomMode::whole_page: scale_ = std::min(fit_width, fit_height); break;
        case ZoomMode::percent: scale_ = percent_ / 100.0 * logicalDpiX() / 72.0; break;
        }
        scale_ = std::max(scale_, 0.05);
        page_width_ = static_cast<int>(std::ceil(paper.width() * scale_));
        page_height_ = static_cast<int>(std::ceil(paper.height() * scale_));
        // The last page too can be scrolled to the top, as every page can.
        const qint64 last_top = static_cast<qint64>(document_.page_count() - 1) * (page_height_ + kGap);
        verticalScrollBar()->setRange(
            0, static_cast<int>(std::clamp<qint64>(last_top, 0, std::numeric_limits<int>::max())));
        verticalScrollBar()->setPageStep(viewport()->height());
        horizontalScrollBar()->setRange(0, std::max(0, page_width_ + 2 * kGap - viewport()->width()));
        horizontalScrollBar()->setPageStep(viewport()->width());
        viewport()->update();
    }

    int page_at_top() const
    {
        const int stride = page_height_ + kGap;
        return std::clamp((verticalScrollBar()->value() + stride / 2) / stride, 0,
                          std::max(0, document_.page_count() - 1));
    }

    void scroll_to(int page) { verticalScrollBar()->setValue(page * (page_height_ + kGap)); }

    int painted() const { return painted_; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), QColor(0x80, 0x80, 0x80));
        const int top = verticalScrollBar()->value();
        const int stride = page_height_ + kGap;
        const int left =
            std::max(kGap, (viewport()->width() - page_width_) / 2) - horizontalScrollBar()->value();
        const QRectF paint = document_.page_layout().paintRect(QPageLayout::Point);
        for (int page = std::max(0, (top - kGap) / stride); page < document_.page_count(); ++page) {
            const int y = kGap + page * stride - top;
            if (y > viewport()->height())
                break;
            const QRect sheet(left, y, page_width_, page_height_);
            painter.fillRect(sheet.translated(3, 3), QColor(0x50, 0x50, 0x50));
            painter.fillRect(sheet, Qt::white);
            painter.save();
            painter.setClipRect(sheet);
            painter.translate(left + paint.left() * scale_, y + paint.top() * scale_);
            painter.scale(scale_ / PrintDocument::kDotsPerPoint, scale_ / PrintDocument::kDotsPerPoint);
            document_.paint_page(painter, page);
            painter.restore();
            ++painted_;
        }
    }

    void resizeEvent(QResizeEvent *event) override
    {
        QAbstractScrollArea::resizeEvent(event);
        const int page = page_at_top();
        relayout();
        if (mode_ != ZoomMode::percent)
            scroll_to(page);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Home && event->modifiers() == Qt::NoModifier) {
            verticalScrollBar()->setValue(0);
            return;
        }
        if (event->key() == Qt::Key_End && event->modifiers() == Qt::NoModifier) {
            verticalScrollBar()->setValue(verticalScrollBar()->maximum());
            return;
        }
        QAbstractScrollArea::keyPressEvent(event);
    }

private:
    const PrintDocument &document_;
    ZoomMode mode_ = ZoomMode::fit_width;
    int percent_ = 100;
    double scale_ = 1; // screen pixels per point
    int page_width_ = 1;
    int page_height_ = 1;
    int painted_ = 0;
};

PrintPreview::PrintPreview(PrintDocument &document, QWidget *parent) : QDialog(parent), document_(document)
{
    setObjectName(QStringLiteral("form_print_preview"));
    setWindowTitle(QStringLiteral("印刷プレビュー － ") + document.heading().title);
    setSizeGripEnabled(true);

    cmd_print_ = form_ui::make_button(this, QStringLiteral("cmd_print"), QStringLiteral("印刷(&P)..."));
    cmd_pdf_ = form_ui::make_button(this, QStringLiteral("cmd_pdf"), QStringLiteral("PDFに書き出し(&D)..."));
    auto *cmd_prev = form_ui::make_button(this, QStringLiteral("cmd_prev"), QStringLiteral("◀"));
    auto *cmd_next = form_ui::make_button(this, QStringLiteral("cmd_next"), QStringLiteral("▶"));
    spn_page_ = form_ui::named(new QSpinBox(this), QStringLiteral("spn_page"));
    lbl_pages_ = form_ui::make_label(this, QStringLiteral("lbl_pages"), QString());
    cmb_zoom_ = form_ui::named(new QComboBox(this), QStringLiteral("cmb_zoom"));
    for (const ZoomChoice &z : kZooms)
        cmb_zoom_->addItem(QString::fromUtf16(z.caption));
    cmd_close_ = form_ui::make_button(this, QStringLiteral("cmd_close"), QStringLiteral("閉じる"));
    for (QPushButton *b : {cmd_print_, cmd_pdf_, cmd_prev, cmd_next, cmd_close_})
        b->setAutoDefault(false);

    view_ = new PageView(document, this);
    auto *bar = new QHBoxLayout;
    bar->addWidget(cmd_print_);
    bar->addWidget(cmd_pdf_);
    bar->addSpacing(16);
    bar->addWidget(cmd_prev);
    bar->addWidget(spn_page_);
    bar->addWidget(lbl_pages_);
    bar->addWidget(cmd_next);
    bar->addSpacing(16);
    bar->addWidget(cmb_zoom_);
    bar->addStretch(1);
    bar->addWidget(cmd_close_);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(view_, 1);

    connect(cmd_close_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmd_print_, &QPushButton::clicked, this, [this] {
        if (print_)
            print_();
        pages_changed();
    });
    connect(cmd_pdf_, &QPushButton::clicked, this, [this] {
        if (pdf_)
            pdf_();
    });
    connect(cmd_prev, &QPushButton::clicked, this, [this] { go_to_page(current_page() - 1); });
    connect(cmd_next, &QPushButton::clicked, this, [this] { go_to_page(current_page() + 1); });
    connect(spn_page_, &QSpinBox::valueChanged, this, [this](int page) {
        if (page - 1 != current_page())
            go_to_page(page - 1);
    });
    connect(cmb_zoom_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const ZoomChoice &z = kZooms[std::clamp(index, 0, static_cast<int>(std::size(kZooms)) - 1)];
        view_->set_zoom(z.mode, z.percent);
    });
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, &PrintPreview::follow_scroll);

    pages_changed();
    // A portrait page at a readable width, within the screen.
    QSize size(900, 1000);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
    view_->setFocus();
}

void PrintPreview::set_commands(std::function<void()> print, std::function<void()> pdf)
{
    print_ = std::move(print);
    pdf_ = std::move(pdf);
}

void PrintPreview::pages_changed()
{
    const int pages = document_.page_count();
    spn_page_->setRange(1, pages);
    lbl_pages_->setText(QStringLiteral("/ ") + QString::number(pages));
    view_->relayout();
    follow_scroll();
}

void PrintPreview::follow_scroll()
{
    const QSignalBlocker quiet(spn_page_);
    spn_page_->setValue(current_page() + 1);
}

int PrintPreview::current_page() const
{
    return view_->page_at_top();
}

void PrintPreview::go_to_page(int page)
{
    view_->scroll_to(std::clamp(page, 0, document_.page_count() - 1));
    follow_scroll();
}

int PrintPreview::pages_painted() const
{
    return view_->painted();
}
