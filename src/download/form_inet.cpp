#include "download/form_inet.h"

#include "ui/ui_services.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace form_ui;

DownloadRun::DownloadRun(DownloadAddresses addresses, std::unique_ptr<Clock> clock_in)
    : clock(std::move(clock_in)), session(fetcher, names, *clock, std::move(addresses))
{
    names.bundled = read_bundled_team_names(bundled_team_names_path());
}

FormInet::FormInet(DownloadSession &session, SharedState &state, UiServices &ui, QWidget *parent)
    : OpeningDialog(parent), session_(session), state_(state), ui_(ui)
{
    setObjectName(QStringLiteral("form_inet"));
    setWindowTitle(QStringLiteral("ダウンロード"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        make_label(this, QStringLiteral("Label3"), QStringLiteral("ダウンロードする情報を選択してください")));
    lbl_cur_ = make_label(this, QStringLiteral("lbl_cur"), QString());
    layout->addWidget(lbl_cur_);
    list_inet_ = named(new QListWidget(this), QStringLiteral("list_inet"));
    list_inet_->setMinimumSize(360, 200);
    layout->addWidget(list_inet_);
    pbar_down_ = named(new QProgressBar(this), QStringLiteral("pbar_down"));
    pbar_down_->setRange(0, 100);
    pbar_down_->hide();
    layout->addWidget(pbar_down_);
    auto *buttons = new QHBoxLayout;
    cmd_ok_ = make_button(this, QStringLiteral("cmd_ok"), QStringLiteral("Ｏ．Ｋ．"));
    cmd_ok_->setDefault(true);
    cmd_back_ = make_button(this, QStringLiteral("cmd_back"), QStringLiteral("戻る"));
    cmd_cancel_ = make_button(this, QStringLiteral("cmd_cancel"), QStringLiteral("キャンセル"));
    buttons->addStretch();
    for (QPushButton *b : {cmd_ok_, cmd_back_, cmd_cancel_})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(cmd_ok_, &QPushButton::clicked, this, &FormInet::cmd_ok_Click);
    connect(cmd_back_, &QPushButton::clicked, this, &FormInet::cmd_back_Click);
    connect(cmd_cancel_, &QPushButton::clicked, this, &FormInet::cmd_cancel_Click);
    list_inet_->viewport()->installEventFilter(this);
    connect(list_inet_, &QListWidget::itemDoubleClicked, this, [this] {
        if (cmd_ok_->isEnabled())
            cmd_ok_Click();
    });
}

FormInet::~FormInet()
{
    // Nothing the session reports after this may reach the dialog.
    session_.on_changed = nullptr;
    session_.on_closed = nullptr;
    session_.cancel();
}

void FormInet::on_open()
{
    session_.on_changed = [this] { handler([this] { show_session(); }); };
    session_.on_closed = [this] { handler([this] { walk_closed(); }); };
    session_.open();
    show_session();
}

void FormInet::handler(const std::function<void()> &body)
{
    ++event_depth_;
    body();
    --event_depth_;
}

void FormInet::show_session()
{
    lbl_cur_->setText(session_.lbl_cur());
    // A new list starts on the session's line; otherwise the user's selection stays.
    const QStringList &lines = session_.lines();
    bool same = list_inet_->count() == lines.size();
    for (int i = 0; same && i < list_inet_->count(); ++i)
        same = list_inet_->item(i)->text() == lines[i];
    if (!same) {
        list_inet_->clear();
        list_inet_->addItems(lines);
        if (session_.selected() >= 0 && session_.selected() < list_inet_->count())
            list_inet_->setCurrentRow(session_.selected());
        // Enter goes on choosing, wherever the mouse clicked last.
        list_inet_->setFocus();
    }
    // Back on a list, the line the user chose from it is selected again.
    if (going_back_ && session_.ok_enabled() && !session_.fetching()) {
        going_back_ = false;
        const auto level = static_cast<size_t>(session_.level());
        if (level < came_from_.size()) {
            const QList<QListWidgetItem *> found = list_inet_->findItems(came_from_[level], Qt::MatchExactly);
            if (!found.isEmpty())
                list_inet_->setCurrentItem(found.first());
        }
    }
    cmd_ok_->setEnabled(session_.ok_enabled());
    cmd_back_->setEnabled(session_.back_enabled());
    pbar_down_->setValue(session_.progress());
    pbar_down_->setVisible(session_.progress_visible());
}

void FormInet::cmd_ok_Click()
{
    const int line = list_inet_->currentRow();
    if (line < 0 || !session_.ok_enabled())
        return;
    const auto level = static_cast<size_t>(session_.level());
    if (came_from_.size() <= level)
        came_from_.resize(level + 1);
    came_from_[level] = list_inet_->item(line)->text();
    going_back_ = false;
    // The focus waits in the list rather than move on from the button that is disabled now.
    list_inet_->setFocus();
    session_.cmd_ok(line);
}

void FormInet::cmd_back_Click()
{
    if (!session_.back_enabled())
        return;
    going_back_ = true;
    list_inet_->setFocus();
    session_.cmd_back();
}

bool FormInet::eventFilter(QObject *watched, QEvent *event)
{
    // While a page is on its way the list shows what is being left: it takes no clicks.
    if (watched == list_inet_->viewport() && session_.fetching()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: return true;
        default: break;
        }
    }
    return OpeningDialog::eventFilter(watched, event);
}

void FormInet::cmd_cancel_Click()
{
    close();
}

void FormInet::walk_closed()
{
    // The dialog closes once the handler that ended the walk has returned.
    if (finishing_)
        return;
    finishing_ = true;
    QMetaObject::invokeMethod(this, &FormInet::finish, Qt::QueuedConnection);
}

void FormInet::finish()
{
    const DownloadSession::Failure &failure = session_.failure();
    if (!failure.message.isEmpty())
        ui_.message(this, failure.message, failure.title, UiServices::Icon::critical);
    done(session_.outcome() != DownloadOutcome::cancelled ? Accepted : Rejected);
}

bool FormInet::may_close()
{
    if (!finishing_ && !session_.running())
        return true; // no walk to end
    if (finishing_)
        return event_depth_ == 0;
    session_.cancel(); // no outcome; the session reports the end, which finishes the dialog
    return false;
}

void FormInet::closeEvent(QCloseEvent *event)
{
    if (may_close())
        event->accept();
    else
        event->ignore();
}

void FormInet::reject()
{
    if (may_close())
        QDialog::reject();
}
