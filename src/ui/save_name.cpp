#include "ui/save_name.h"

#include "book/book_file.h"
#include "ui/ui_services.h"

#include <QDir>
#include <QFileInfo>

namespace {

// `book_path` set: the name is for an export, which never goes onto the open book and
// names another book as one when it would replace it.
QString ask_name(UiServices &ui, QWidget *parent, const QString &proposed, const QString &filter,
                 const QString &suffix, const QString *book_path)
{
    QString name = proposed;
    for (;;) {
        QString chosen_filter;
        name = ui.save_file_name(parent, name, filter, &chosen_filter);
        if (name.isEmpty())
            return name;
        // Without the suffix the open dialogs' filter would hide the file.
        if (chosen_filter == filter.section(QStringLiteral(";;"), 0, 0) && QFileInfo(name).suffix().isEmpty())
            name += suffix;
        const QFileInfo info(name);
        if (!info.absoluteDir().exists()) {
            ui.message(parent, info.absolutePath() + QStringLiteral("\nフォルダーが見つかりません。"),
                       program_title(), UiServices::Icon::warning);
            continue;
        }
        if (book_path) {
            if (const Outcome refused = refuse_export_onto_book(name, *book_path); !refused.ok) {
                ui.message(parent, refused.message, program_title(), UiServices::Icon::critical);
                continue;
            }
        }
        if (!info.exists() || info.isDir()) // a folder is no file to ask about: the write says why
            return name;
        // The dialog leaves this question to us, so that Enter always keeps the file.
        const QString question =
            book_path && is_book_file(name)
                ? replaces_book_question(name)
                : info.fileName() + QStringLiteral(" は既に存在します。\n上書きしますか？");
        if (ui.message(parent, question, program_title(), UiServices::Icon::warning,
                       UiServices::Buttons::yes_no_default_no) == UiServices::Answer::yes)
            return name;
    }
}

} // namespace

QString ask_save_name(UiServices &ui, QWidget *parent, const QString &proposed, const QString &filter,
                      const QString &suffix)
{
    return ask_name(ui, parent, proposed, filter, suffix, nullptr);
}

QString ask_export_name(UiServices &ui, QWidget *parent, const QString &proposed, const QString &filter,
                        const QString &suffix, const QString &book_path)
{
    const QString folder = book_folder(book_path);
    const bool bare = !proposed.isEmpty() && !proposed.contains(u'/');
    return ask_name(ui, parent, bare && !folder.isEmpty() ? QDir(folder).filePath(proposed) : proposed,
                    filter, suffix, &book_path);
}

QString book_folder(const QString &book_path)
{
    return book_path.isEmpty() ? QString() : QFileInfo(book_path).absolutePath();
}
