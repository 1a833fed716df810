#pragma once

#include <QString>

class QWidget;
class UiServices;

// Asks for the name of a file to write, the one way every save dialog of the program does:
// a name typed without an extension under the first filter of `filter` gets `suffix`
// (".yrm", ".csv", ".png", ".pdf"); the folder must exist; an existing file is replaced only
// when the user says so ("… は既に存在します。上書きしますか？", default いいえ; the dialog itself
// does not ask). "" when the user cancels.
QString ask_save_name(UiServices &ui, QWidget *parent, const QString &proposed, const QString &filter,
                      const QString &suffix);

// The name of an export (a CSV file, an image, a PDF), asked as ask_save_name asks, that never
// names the open book `book_path` (refused with its message, and asked again) and names
// another book only when the user agrees to replace it (default いいえ). A `proposed` name
// without a folder is proposed in the book's folder.
QString ask_export_name(UiServices &ui, QWidget *parent, const QString &proposed, const QString &filter,
                        const QString &suffix, const QString &book_path);

// Where the file dialogs start: the folder of the open book, "" while it is untitled.
QString book_folder(const QString &book_path);
