#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QTextBrowser>

// The manual's window: the HTML manual in a browser window of its own, with back, forward
// and contents, closed by Esc or Ctrl+W; not owned by the main window, and closed when the
// program ends.
class HelpViewer {
public:
    HelpViewer() = default;
    ~HelpViewer();
    HelpViewer(const HelpViewer &) = delete;
    HelpViewer &operator=(const HelpViewer &) = delete;

    // Shows the manual's contents page; false when the file cannot be shown.
    bool show_contents(const QString &file);
    // Closes the help window, if open.
    void close_all();

    // The help window's browser while it is open.
    QTextBrowser *window() const { return browser_; }
    // The help window itself.
    QMainWindow *frame() const { return frame_; }

private:
    void build();

    QPointer<QMainWindow> frame_;
    QPointer<QTextBrowser> browser_;
};

// The manual beside the program, or in the shared data folder of an installed program.
QString help_file_path(const QString &program_folder);
