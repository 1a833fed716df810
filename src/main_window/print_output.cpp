#include "main_window/print_output.h"

#include "main_window/print_pages.h"
#include "ui/ui_services.h"

#include <QFile>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <sys/stat.h>

namespace {

// Both paths name one existing file: the same device and inode, so a hard link or a
// symbolic link to the book counts as the book.
bool same_inode(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(a).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &second) == 0 && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

} // namespace

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
    const auto failed = [&](const QString &why) {
        return Outcome::failure(QFileInfo(path).fileName() + QStringLiteral(" にPDFを書き出せません。\n") +
                                why);
    };
    if (same_inode(path, book_path))
        return failed(QStringLiteral("開いている帳簿のファイルです。"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    Outcome painted;
    {
        QPdfWriter writer(&file);
        writer.setResolution(static_cast<int>(kLayoutDpi));
        writer.setPageLayout(document.page_layout());
        writer.setTitle(document.heading().book_name + QStringLiteral(" ") + document.heading().title);
        writer.setCreator(program_title());
        painted = paint_pages(document, writer, first, last, progress);
    }
    if (!painted.ok) {
        file.cancelWriting();
        return painted.message.isEmpty() ? painted : failed(painted.message);
    }
    if (!file.commit())
        return failed(file.errorString());
    return Outcome::success();
}
