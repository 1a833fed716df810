// 印刷, 印刷プレビュー and PDFに書き出し: the choice of what to print, the print dialog, the
// preview and the PDF file, each with a progress window for a long document.
#include "main_window/form_main.h"

#include "book/book_file.h"
#include "book/message_text.h"
#include "main_window/form_print.h"
#include "main_window/print_output.h"
#include "main_window/print_pages.h"
#include "main_window/print_preview.h"
#include "ui/save_name.h"
#include "ui/ui_services.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTreeView>
#include <algorithm>
#include <memory>

namespace {

// Documents longer than this show a progress window while they are written.
constexpr int kProgressPages = 10;

QString pdf_filter()
{
    return QStringLiteral("PDFファイル(*.pdf);;すべてのファイル(*)");
}

// A progress window that counts the pages and offers キャンセル, for long documents only.
class PrintProgress {
public:
    PrintProgress(QWidget *parent, const QString &label, int pages)
    {
        if (pages <= kProgressPages)
            return;
        dialog_ = std::make_unique<QProgressDialog>(label, QStringLiteral("キャンセル"), 0, pages, parent);
        dialog_->setObjectName(QStringLiteral("form_print_progress"));
        dialog_->setWindowTitle(program_title());
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->show();
    }

    PageProgress report()
    {
        return [this](int done, int) {
            if (!dialog_)
                return true;
            dialog_->setValue(done); // takes the events of a modal window, キャンセル too
            return !dialog_->wasCanceled();
        };
    }

private:
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace

void FormMain::build_print_menu(QMenu *file)
{
    QAction *menu_print = add_menu_action(file, "menu_print", QStringLiteral("印刷(&P)..."));
    menu_print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(menu_print, &QAction::triggered, this, &FormMain::menu_print_Click);
    connect(add_menu_action(file, "menu_preview", QStringLiteral("印刷プレビュー(&V)...")),
            &QAction::triggered, this, &FormMain::menu_preview_Click);
    connect(add_menu_action(file, "menu_pdf", QStringLiteral("PDFに書き出し(&D)...")), &QAction::triggered,
            this, &FormMain::menu_pdf_Click);
}

std::unique_ptr<PrintDocument> FormMain::choose_print()
{
    const TicketBook &book = state_.book();
    if (book.entry_count() == 0) // the shortcut may outrun the menu's state
        return nullptr;
    PrintChoice last;
    last.what = static_cast<PrintChoice::What>(print_what_);
    if (print_kind_ >= 0)
        last.stats_kind = kind_from_code(print_kind_);
    const int selected = selected_entry();
    FormPrint form(book, selected, last, this);
    if (form.exec() != QDialog::Accepted)
        return nullptr;
    const PrintChoice choice = form.choice();
    print_what_ = static_cast<int>(choice.what);
    print_kind_ = choice.stats_kind ? kind_code(*choice.stats_kind) : -1;

    const QString &path = state_.document.path();
    PrintHeading heading{path.isEmpty() ? QStringLiteral("無題") : file_name_of(path), QString(),
                         QDate::currentDate()};
    switch (choice.what) {
    case PrintChoice::What::round:
        if (selected < 0)
            return nullptr;
        heading.title = round_print_title(book.entries[static_cast<size_t>(selected)]);
        return round_print(book, selected, std::move(heading));
    case PrintChoice::What::stats:
        heading.title = stats_print_title(choice.stats_kind);
        return stats_print(book, choice.stats_kind, ui_, std::move(heading));
    case PrintChoice::What::list: break;
    }
    heading.title = list_print_title();
    // The rows as the view shows them: its filter, and its order.
    return list_print(*lvw_main_->model(), book, std::move(heading));
}

void FormMain::print_document(PrintDocument &document)
{
    QPrinter printer(QPrinter::HighResolution);
    // A4 unless a printer brings its own paper; the orientation is the document's.
    QPageLayout layout = document.page_layout();
    if (printer.outputFormat() == QPrinter::NativeFormat)
        layout.setPageSize(printer.pageLayout().pageSize());
    printer.setPageLayout(layout);
    printer.setDocName(document.heading().book_name + QStringLiteral(" ") + document.heading().title);
    // Printing to a file proposes the name PDFに書き出し would.
    if (printer.outputFormat() == QPrinter::PdfFormat)
        printer.setOutputFileName(proposed_pdf_path(document));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("印刷"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange);
    dialog.setMinMax(1, document.page_count());
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The paper, orientation and margins chosen, margins no narrower than the pages allow.
    document.set_page_layout(printer.pageLayout());
    printer.setPageLayout(document.page_layout());
    int first = 0;
    int last = document.page_count() - 1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::min(printer.fromPage() - 1, last);
        last = std::clamp(printer.toPage() - 1, first, last);
    }
    PrintProgress progress(this, QStringLiteral("印刷しています..."), last - first + 1);
    Outcome done;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        done = write_pdf(document, printer.outputFileName(), state_.document.path(), first, last,
                         progress.report());
    } else {
        done = paint_pages(document, printer, first, last, progress.report());
        if (!done.ok)
            printer.abort();
    }
    if (!done.ok && !done.message.isEmpty())
        show_error(done);
}

QString FormMain::proposed_pdf_path(const PrintDocument &document) const
{
    // "sample_一覧.pdf" beside the book.
    const QString &book = state_.document.path();
    const QString what = file_name_part(document.heading().title);
    const QString base = book.isEmpty() ? QStringLiteral("無題") : QFileInfo(book).completeBaseName();
    const QString name = base + u'_' + what + QStringLiteral(".pdf");
    return book.isEmpty() ? name : QFileInfo(book).dir().filePath(name);
}

QString FormMain::ask_pdf_path(const PrintDocument &document)
{
    return ask_export_name(ui_, this, proposed_pdf_path(document), pdf_filter(), QStringLiteral(".pdf"),
                           state_.document.path());
}

void FormMain::export_pdf(PrintDocument &document)
{
    const QString path = ask_pdf_path(document);
    if (path.isEmpty())
        return;
    PrintProgress progress(this, QStringLiteral("PDFに書き出しています..."), document.page_count());
    const Outcome done =
        write_pdf(document, path, state_.document.path(), 0, document.page_count() - 1, progress.report());
    if (!done.ok && !done.message.isEmpty())
        show_error(done);
}

void FormMain::menu_print_Click()
{
    if (const auto document = choose_print())
        print_document(*document);
}

void FormMain::menu_preview_Click()
{
    const auto document = choose_print();
    if (!document)
        return;
    PrintPreview preview(*document, this);
    preview.set_commands([this, &document] { print_document(*document); },
                         [this, &document] { export_pdf(*document); });
    preview.exec();
}

void FormMain::menu_pdf_Click()
{
    if (const auto document = choose_print())
        export_pdf(*document);
}
