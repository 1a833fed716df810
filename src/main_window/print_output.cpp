#include "main_window/print_output.h"

#include "main_window/print_pages.h"
#include "ui/ui_services.h"

#include "book/book_file.h"
#include "platform/checked_write.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

Outcome paint_pages(const PrintDocument &document, QPagedPaintDevice &device, int first, int last,
                    const PageProgress &progress)
{
    QPainter painter;
    if (!painter.begin(&device))
        return Outcome::failure(QStringLiteral("印刷を始められません。"));
    const int total = last - first + 1;
    for (int page = first; page <= last; ++page) {
        if (page > first && !device.newPage()) {
            painter.end();
            return Outcome::failure(QStringLiteral("印刷を続けられません。"));
        }
        document.paint_page_on_device(painter, page);
        if (progress && !progress(page - first + 1, total)) {
            painter.end();
            return Outcome::failure(QString());
        }
    }
    if (!painter.end())
        return Outcome::failure(QStringLiteral("印刷を終えられません。"));
    return Outcome::success();
}

Outcome write_pdf(const PrintDocument &document, const QString &path, const QString &book_path, int first,
                  int last, const PageProgress &progress)
{
    if (Outcome refused = refuse_export_onto_book(path, book_path); !refused.ok)
        return refused;
    // Made in memory, then written, checked and renamed into place whole.
    QByteArray pdf;
    Outcome painted;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(static_cast<int>(kLayoutDpi));
        writer.setPageLayout(document.page_layout());
        writer.setTitle(document.heading().book_name + QStringLiteral(" ") + document.heading().title);
        writer.setCreator(program_title());
        painted = paint_pages(document, writer, first, last, progress);
    }
    if (!painted.ok)
        return painted;
    if (const FileWrite written = replace_file(path, pdf); !written.ok)
        return save_failure(written.error, QFileInfo::exists(path));
    return Outcome::success();
}
