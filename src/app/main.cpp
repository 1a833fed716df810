// The program: one main window on one book, one instance per user.
#include "main_window/form_main.h"
#include "ui/help_viewer.h"
#include "ui/single_instance.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    // Answered before the window system is touched, so they work in a plain terminal.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::fputs("yorimo " YORIMO_VERSION "\n", stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs("usage: yorimo [BOOK.yrm]\n"
                   "Opens the ticket book BOOK.yrm, or an empty untitled book, in the window.\n"
                   "yorimo --version prints the version. See yorimo(1) and yorimo-cli(1).\n",
                   stdout);
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("yorimo"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/program.svg")));
    QApplication::setApplicationVersion(QStringLiteral(YORIMO_VERSION));

    // Qt's own buttons and dialogs in Japanese (はい / いいえ / キャンセル).
    QTranslator qt_japanese;
    if (qt_japanese.load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qt_japanese);

    QtUiServices ui;
    SingleInstance instance(instance_key());
    if (!instance.acquire()) {
        ui.message(nullptr, QStringLiteral("二重起動出来ません"), program_title(), UiServices::Icon::critical,
                   UiServices::Buttons::ok);
        instance.request_activation();
        return 0;
    }

    FormMain window(ui, help_file_path(QApplication::applicationDirPath()));
    instance.on_activation = [&window] {
        if (window.isMinimized())
            window.showNormal();
        window.raise();
        window.activateWindow();
    };
    window.start(QApplication::arguments().mid(1));
    window.show();
    return QApplication::exec();
}
