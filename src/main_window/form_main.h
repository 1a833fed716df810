#pragma once

#include "book/lottery_kind.h"
#include "platform/file_stamp.h"
#include "results/winning_check.h"
#include "ui/help_viewer.h"
#include "ui/shared_state.h"

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct DownloadRun;
class EntryListModel;
class PrintDocument;
class FindBar;
class NoticeBar;
class QFileSystemWatcher;
class QTimer;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;
class QTreeView;
class UiServices;

// The main window: owns the book and the run state shared with every dialog, lists the
// entries with the book totals, and carries the menus, the toolbar and the document
// lifecycle (new, open, save, save as, exit with the unsaved-changes prompt).
//
// Row and entry numbers in this interface are entry indexes from 0 (list row r shows
// entry r, unless the find bar narrows the list or a heading sorts it: the rows then show
// the entries kept in the order asked for, and the commands map the selected row to its
// entry).
class FormMain : public QMainWindow {
    Q_OBJECT

public:
    // `ui` answers every message box and file dialog; `help_file` is the manual's contents page.
    explicit FormMain(UiServices &ui, QString help_file = QString(), QWidget *parent = nullptr);
    ~FormMain() override;

    SharedState &state() { return state_; }
    const SharedState &state() const { return state_; }

    // Start-up: opens the book named by the command-line arguments (program name excluded), if any.
    void start(const QStringList &arguments);

    // --- document lifecycle -------------------------------------------------------------
    // The unsaved-changes prompt: true when the pending command may go on.
    bool chk_end();
    // Shows the title for the document's path and modified state.
    void set_title();
    // Empties the book and the window: no rows, totals "0", entry commands off, untitled.
    void toto_clear();
    // Replaces the book by the file at `path`; on failure shows why and leaves an empty,
    // untitled book.
    bool load_book(const QString &path);
    // Writes the book to `path`, which becomes the book's path once the file is written; a
    // failure is shown and the book keeps its old path.
    bool save_book(const QString &path);

    // --- the file on disk (another program may change it) -----------------------------------
    // A change of the file or its folder: looked at once the changes have settled.
    void file_touched();
    // Looks at the file: an unmodified book is read again, a modified one asks (when the
    // window is active), a file gone makes the book modified. Nothing while a dialog is open.
    void file_settled();
    // The line above the list that says what happened ("…読み込み直しました。").
    NoticeBar *notice() const { return notice_; }
    // How long changes of the file are gathered before they are looked at.
    static constexpr int kSettleMs = 300;

    // --- the list, for the commands that change the book -----------------------------------
    // Repaints the row of `entry` from its stored fields (no grading).
    void toto_disp(int entry);
    // Selects the row of `entry` and scrolls to it; the selection sets `current` and the
    // enabled state of the commands.
    void select_row(int entry);
    // Recomputes and shows the three totals.
    void update_totals();
    // The selected row's entry, or -1.
    int selected_entry() const;
    // Sets `current` from the selected row; false when no row (or no entry) is selected.
    bool take_selection();
    // What follows every change of the book, its undo and its redo, as the document reports
    // it: the rows, the totals, the selection, the title and the undo commands.
    void book_changed(const BookChange &change);

    // --- commands ---------------------------------------------------------------------------
    void menu_new_Click();
    void menu_open_Click();
    void menu_over_Click();
    void menu_save_Click();
    void menu_csv_write_Click();
    void menu_csv_read_Click();
    void menu_end_Click();
    // Registration of a round of `kind` (the kind's item of 新規登録, or the toolbar's).
    void register_round(LotteryKind kind);
    void menu_single_Click();
    void menu_multi_Click();
    // まとめて入力: many tickets for the selected round at once.
    void menu_quick_Click();
    void menu_kakunin_Click();
    // Delete on a row (or its right-click menu): the round and its tickets, asked first.
    void menu_delete_Click();
    // The edit modes the review dialog offers, as commands of their own: each opens the
    // dialog on entry `current` and, after OK, does what follows a command. True after OK.
    bool edit_round();
    bool edit_single(int pool_index);
    bool edit_multi(int pool_index);
    void menu_result_Click();
    // 途中経過: the selected round's tickets against the results so far and supposed ones.
    void menu_live_Click();
    void menu_down_Click();
    void menu_batch_Click();
    void menu_stats_Click();
    // 印刷 (the print dialog), 印刷プレビュー and PDFに書き出し: each asks first what to print.
    void menu_print_Click();
    void menu_preview_Click();
    void menu_pdf_Click();
    void menu_undo_Click();
    void menu_redo_Click();
    void menu_index_Click();
    void menu_ver_Click();
    void cmd_up_Click();
    void cmd_down_Click();
    // The selection of the list changed.
    void lvw_main_ItemClick();
    // 検索: shows the find bar over the list, its text ready for typing.
    void menu_find_Click();
    // Applies the find bar's filter to the list as it stands (every keystroke).
    void find_changed();
    // Hides the find bar and shows every row, the selected round kept in sight.
    void find_close();

    // --- parts of the window ----------------------------------------------------------------
    QTreeView *list() const { return lvw_main_; }
    HelpViewer &help() { return help_; }
    // The toolbar entry of a key ("new", "single", "input", or a kind key of the "input"
    // menu such as "minitotoa"); null for an unknown key.
    QAction *tool_action(const QString &key) const;
    // Where the manual is looked for.
    QString help_file() const { return help_file_; }

    // The downloads' fetcher, team-name table and last round, kept for the whole run; made
    // on first use from the environment's addresses and today's date unless set before.
    DownloadRun &download_run();
    void set_download_run(std::unique_ptr<DownloadRun> run);

    // The width the window starts with where the screen allows: every column of the list
    // beside a vertical scrollbar.
    int start_width() const;

    // Filter of the book file dialogs.
    static QString file_filter();
    // Filter of the CSV file dialogs.
    static QString csv_filter();
    static constexpr int kMinimumWidth = 600;
    static constexpr int kMinimumHeight = 287;

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void build_menus();
    void build_toolbar();
    void build_central();
    void build_list_conveniences();
    QAction *add_menu_action(QMenu *menu, const char *name, const QString &text);
    // A toolbar button: a short caption under its icon, the command's full name as its tip.
    QAction *add_tool_action(const QString &key, const QString &caption, const QString &tip);
    void set_entry_commands(bool enabled, bool multi_enabled);
    void set_move_commands(bool up, bool down);
    void set_history_commands();
    void move_current(int to);
    // The find bar and its count; `kinds` as the 新規登録 menu offers them.
    void build_find_bar(QWidget *parent, const std::vector<LotteryKind> &kinds);
    // New and open start without a filter, in the book's order.
    void forget_find();
    // "表示中 12 / 1,204 回" while the list is filtered; nothing otherwise.
    void show_shown_count();
    void show_error(const Outcome &failed);
    // Printing: its items in the file menu; the document chosen to print (null when
    // cancelled); the print dialog and the PDF file for it.
    void build_print_menu(QMenu *file);
    std::unique_ptr<PrintDocument> choose_print();
    void print_document(PrintDocument &document);
    void export_pdf(PrintDocument &document);
    QString proposed_pdf_path(const PrintDocument &document) const;
    QString ask_pdf_path(const PrintDocument &document);
    // Asks for a file name to save under, in an existing folder; "" when cancelled.
    QString ask_save_path(const QString &proposed);
    // Watches the book's file and its folder again: after opening, saving, or any change (a
    // file replaced by rename drops out of the watcher).
    void watch_file();
    // Reads the file again, keeping the selection by position, the scroll and the filter;
    // a file that cannot be read is tried once more a second later.
    void reload_book();
    void build_watcher();

    UiServices &ui_;
    SharedState state_{result_chk};
    QString help_file_;
    HelpViewer help_;

    EntryListModel *model_ = nullptr;
    QTreeView *lvw_main_ = nullptr;
    QToolBar *toolbar_ = nullptr;
    QLabel *lbl_empty_ = nullptr; // the hint of an empty book
    FindBar *find_bar_ = nullptr;
    QLabel *lbl_shown_ = nullptr; // rows shown of the book's, while filtered
    // The round the filter last hid from the selection: closing the bar with nothing
    // selected selects it again. Forgotten on any change of the book.
    int find_hidden_selection_ = -1;
    QLabel *lbl_buy_ = nullptr;
    QLabel *lbl_get_ = nullptr;
    QLabel *lbl_kin_ = nullptr;
    QPushButton *cmd_up_ = nullptr;
    QPushButton *cmd_down_ = nullptr;
    QAction *menu_undo_ = nullptr;
    QAction *menu_delete_ = nullptr;
    QAction *menu_redo_ = nullptr;
    QList<QAction *> entry_actions_; // single, check, result (menu and toolbar), CSV export
    QList<QAction *> multi_actions_; // multi: menu and toolbar
    QHash<QString, QAction *> tool_actions_;
    int list_width_ = 0;  // the list with every column and a vertical scrollbar
    int beside_list_ = 0; // the move buttons and the margins
    std::unique_ptr<DownloadRun> download_;

    NoticeBar *notice_ = nullptr;
    QFileSystemWatcher *watcher_ = nullptr;
    QTimer *settle_ = nullptr;  // gathers the watcher's events
    QTimer *pending_ = nullptr; // looks again while a dialog is open or an ask waits
    bool ask_pending_ = false;  // a modified book waits for the window to be active
    bool retried_ = false;      // the failed reload was tried again once
    bool unreadable_said_ = false;
    bool file_gone_ = false;
    FileStamp asked_about_; // the version of the file the user said いいえ to
    // What was printed last in this run, offered first the next time.
    int print_what_ = 0;
    int print_kind_ = -1; // 収支統計's chart kind, or -1 for all
};
