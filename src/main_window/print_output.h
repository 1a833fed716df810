#pragma once

#include "book/outcome.h"

#include <QString>
#include <functional>

class PrintDocument;
class QPagedPaintDevice;

// Told after each page, with the pages done and the pages to do; false stops the output.
using PageProgress = std::function<bool(int done, int total)>;

// Paints pages `first` to `last` (from 0) of `document` on a printer or PDF writer, one
// device page each. A stopped output, or a device that cannot be painted on, gives a
// failure; the caller says what it means for its device.
Outcome paint_pages(const PrintDocument &document, QPagedPaintDevice &device, int first, int last,
                    const PageProgress &progress);

// Writes pages `first` to `last` of `document` as a PDF file at `path`, the checked way
// every file is written (a failed or stopped write leaves whatever was there). A `path`
// that is the open book `book_path` itself, by any name, is refused. A stop gives a failure
// without a message.
Outcome write_pdf(const PrintDocument &document, const QString &path, const QString &book_path, int first,
                  int last, const PageProgress &progress);
