#include "ui/save_name.h"

#include "book/book_file.h"
#include "ui/ui_services.h"

#include <QDir>
#include <QFileInfo>

QString ask_save_name(UiServices &ui, QWidget *parent, const QString &proposed, const QString &filter,
                      const QString &suffix)
{
    QString name = proposed;
    for (;;) {
        QString chosen_filter;
        name = ui.save_file_name(parent, name, filter, &chosen_filter);
        if (name.isEmpty())
            return name;
        // Without the suffix the open dialogs' filter would hide the file.
        if (chosen_filter == filter.section(QStringLiteral(";;"), 0, 0) &&
            QFileInfo(name).suffix().isEmpty()) {
            name += suffix;
            if (QFileInfo::exists(name) &&
                ui.message(parent,
                           QFileInfo(name).fileName() +
                               QStringLiteral(" は既に存在します。\n上書きしますか？"),
                           program_title(), UiServices::Icon::warning,
                           UiServices::Buttons::yes_no_default_no) != UiServices::Answer::yes)
                continue;
        }
        const QFileInfo info(name);
        if (info.absoluteDir().exists())
            return name;
        ui.message(parent, info.absolutePath() + QStringLiteral("\nフォルダーが見つかりません。"),
                   program_title(), UiServices::Icon::warning);
    }
}

QString ask_export_name(UiServices &ui, QWidget *parent, const QString &proposed, const QString &filter,
                        const QString &suffix, const QString &book_path)
{
    QString name = proposed;
    for (;;) {
        name = ask_save_name(ui, parent, name, filter, suffix);
        if (name.isEmpty())
            return name;
        if (const Outcome refused = refuse_export_onto_book(name, book_path); !refused.ok) {
            ui.message(parent, refused.message, program_title(), UiServices::Icon::critical);
            continue;
        }
        if (!is_book_file(name) ||
            ui.message(parent, replaces_book_question(name), program_title(), UiServices::Icon::warning,
                       UiServices::Buttons::yes_no_default_no) == UiServices::Answer::yes)
            return name;
    }
}
