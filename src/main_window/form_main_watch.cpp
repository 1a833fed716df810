// The main window follows its file: another program (yorimo-cli from a timer, a sync tool)
// may change the book while it is open.
#include "main_window/form_main.h"

#include "book/book_file.h"
#include "book/message_text.h"
#include "main_window/entry_list_model.h"
#include "main_window/find_bar.h"
#include "main_window/notice_bar.h"
#include "ui/ui_services.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>

namespace {

QString quoted_name(const QString &path)
{
    return QStringLiteral("「%1」").arg(escape_controls(file_name_of(path)));
}

} // namespace

void FormMain::build_watcher()
{
    watcher_ = new QFileSystemWatcher(this);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    pending_ = new QTimer(this);
    pending_->setSingleShot(true);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &FormMain::file_touched);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &FormMain::file_touched);
    connect(settle_, &QTimer::timeout, this, &FormMain::file_settled);
    connect(pending_, &QTimer::timeout, this, &FormMain::file_settled);
}

void FormMain::watch_file()
{
    const QString &path = state_.document.path();
    const QStringList watched = watcher_->files() + watcher_->directories();
    if (!watched.isEmpty())
        watcher_->removePaths(watched);
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    watcher_->addPath(info.absolutePath());
    if (info.exists())
        watcher_->addPath(path);
}

void FormMain::file_touched()
{
    settle_->start();
}

void FormMain::file_settled()
{
    const QString path = state_.document.path();
    if (path.isEmpty())
        return;
    watch_file();
    // A dialog may hold rounds of the book: nothing changes under it.
    if (QApplication::activeModalWidget()) {
        pending_->start(500);
        return;
    }
    if (!QFileInfo::exists(path)) {
        if (!file_gone_) {
            file_gone_ = true;
            state_.document.mark_differs_from_file();
            set_title();
            notice_->show_notice(
                quoted_name(path) +
                QStringLiteral("が見つかりません。上書き保存するとこの画面の内容を書き戻します。"));
        }
        return;
    }
    file_gone_ = false;
    // The window's own save, or a file touched but not changed.
    if (still_matches(path, state_.document.file_stamp()))
        return;
    if (!state_.document.modified()) {
        reload_book();
        return;
    }
    const FileStamp now = current_stamp(path);
    if (now == asked_about_)
        return;
    if (!isActiveWindow()) {
        ask_pending_ = true;
        return;
    }
    ask_pending_ = false;
    asked_about_ = now;
    if (ui_.message(this,
                    quoted_name(path) +
                        QStringLiteral("が他のプログラムによって変更されました。読み込み直しますか？"),
                    program_title(), UiServices::Icon::question, UiServices::Buttons::yes_no_default_no,
                    QStringLiteral("この画面での変更は失われます。")) == UiServices::Answer::yes) {
        reload_book();
        return;
    }
    // Kept: the window's book now differs from the file whatever undo does.
    state_.document.mark_differs_from_file();
    set_title();
}

void FormMain::reload_book()
{
    const QString path = state_.document.path();
    const QModelIndexList selected = lvw_main_->selectionModel()->selectedRows();
    const int row = selected.isEmpty() ? -1 : selected.first().row();
    const int scrolled = lvw_main_->verticalScrollBar()->value();
    if (const Outcome read = state_.document.reopen(); !read.ok) {
        // A writer without the lock may still be writing: once more, a second later.
        if (!retried_) {
            retried_ = true;
            QTimer::singleShot(1000, this, &FormMain::reload_book);
            return;
        }
        retried_ = false;
        state_.document.mark_differs_from_file();
        set_title();
        if (!unreadable_said_) {
            unreadable_said_ = true;
            notice_->show_notice(
                quoted_name(path) +
                    QStringLiteral("を読み込み直せませんでした。この画面の内容はファイルと異なります。"),
                0);
        }
        return;
    }
    retried_ = false;
    unreadable_said_ = false;
    asked_about_ = FileStamp{};
    // The rounds read go through the filter as it was; the selection keeps its place.
    model_->set_filter(find_bar_->filter());
    if (row >= 0 && model_->rowCount() > 0)
        select_row(model_->entry_of(std::min(row, model_->rowCount() - 1)));
    lvw_main_ItemClick();
    show_shown_count();
    lvw_main_->verticalScrollBar()->setValue(scrolled);
    watch_file();
    notice_->show_notice(QStringLiteral("他のプログラムが") + quoted_name(path) +
                         QStringLiteral("を更新したので読み込み直しました。"));
}

void FormMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && ask_pending_)
        QTimer::singleShot(0, this, &FormMain::file_settled);
}
