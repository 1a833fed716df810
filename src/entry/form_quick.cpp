#include "entry/form_quick.h"

#include "book/amount_text.h"
#include "ui/line_numbered_edit.h"
#include "ui/ui_services.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

using namespace form_ui;

namespace {

const QColor kErrorLine(255, 220, 220);
const QColor kErrorText(192, 0, 0);

// How to write a line, with an example of the round's own kind: its number of slots, and
// a multi only where the kind takes one.
QString hint_text(LotteryKind kind)
{
    const int slots = slot_count(kind);
    const bool match = is_match_kind(kind);
    const QString marks = match ? QStringLiteral("10210120021012") : QStringLiteral("1021302130");
    const QString single = marks.left(slots);
    const QString multi = match ? QStringLiteral("1 0 2 10 1") : QStringLiteral("1 0 2 01");
    const QString how = match ? QStringLiteral("1行に1枚、試合の順に 勝 1・分 0・負 2")
                              : QStringLiteral("1行に1枚、チームの順に 得点 0・1・2・3（3点以上）");
    if (is_big_family(kind))
        return QStringLiteral("%1（シングルのみ）\n（例: %2　# の後はメモ）").arg(how, single);
    return QStringLiteral("%1\n（例: %2、%3 …　# の後はメモ）").arg(how, single, multi);
}

} // namespace

FormQuick::FormQuick(SharedState &state, UiServices &ui, Commit<std::vector<NewPurchase>> commit,
                     QWidget *parent)
    : OpeningDialog(parent), state_(state), ui_(ui), commit_(std::move(commit)),
      family_(family_of(state.current_entry().kind)),
      slot_rows_(this, family_, family_ == Family::match ? kMaxMatchSlots : kMaxTeamSlots, false)
{
    setObjectName(QStringLiteral("form_quick"));
    setWindowTitle(QStringLiteral("まとめて入力"));
    setModal(true);

    auto *top = new QVBoxLayout(this);
    top->addLayout(make_round_heading(this, lbl_kai_, lbl_kind_));

    auto *middle = new QHBoxLayout;
    auto *slots = new QWidget(this);
    auto *grid = new QGridLayout(slots);
    grid->setVerticalSpacing(2);
    grid->setContentsMargins(0, 0, 0, 0);
    slot_rows_.add_headings(grid, 0);
    for (int i = 0; i < slot_rows_.rows(); ++i)
        slot_rows_.add_row(grid, i, i + 1);
    grid->setRowStretch(slot_rows_.rows() + 1, 1);
    middle->addWidget(slots, 0, Qt::AlignTop);

    auto *right = new QVBoxLayout;
    lbl_hint_ = make_label(this, QStringLiteral("lbl_hint"), hint_text(state.current_entry().kind));
    right->addWidget(lbl_hint_);
    txt_lines_ = named(new LineNumberedEdit(this), QStringLiteral("txt_lines"));
    txt_lines_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txt_lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab leaves the box, so the keyboard reaches OK and Cancel.
    txt_lines_->setTabChangesFocus(true);
    txt_lines_->setMinimumWidth(txt_lines_->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 40);
    txt_lines_->viewport()->installEventFilter(this);
    right->addWidget(txt_lines_, 1);
    middle->addLayout(right, 1);
    top->addLayout(middle, 1);

    auto *status = new QHBoxLayout;
    lbl_summary_ = make_label(this, QStringLiteral("lbl_summary"), QString());
    lbl_errors_ = make_label(this, QStringLiteral("lbl_errors"), QString());
    QPalette red = lbl_errors_->palette();
    red.setColor(QPalette::WindowText, kErrorText);
    lbl_errors_->setPalette(red);
    status->addWidget(lbl_summary_);
    status->addStretch();
    status->addWidget(lbl_errors_);
    top->addLayout(status);
    lst_errors_ = named(new QListWidget(this), QStringLiteral("lst_errors"));
    lst_errors_->setUniformItemSizes(true);
    lst_errors_->setMaximumHeight(lst_errors_->fontMetrics().height() * 5);
    // The list's room stays when it hides, so the dialog does not jump as errors come and go.
    QSizePolicy keep_room = lst_errors_->sizePolicy();
    keep_room.setRetainSizeWhenHidden(true);
    lst_errors_->setSizePolicy(keep_room);
    lst_errors_->hide();
    top->addWidget(lst_errors_);
    top->addLayout(make_ok_cancel_row(this, cmd_ok_, cmd_cancel_));

    tmr_parse_ = new QTimer(this);
    tmr_parse_->setObjectName(QStringLiteral("tmr_parse"));
    tmr_parse_->setSingleShot(true);
    tmr_parse_->setInterval(kParseDelayMs);
    connect(tmr_parse_, &QTimer::timeout, this, &FormQuick::parse_now);
    connect(txt_lines_, &QPlainTextEdit::textChanged, this, &FormQuick::txt_lines_Change);
    connect(lst_errors_, &QListWidget::itemClicked, this, &FormQuick::lst_errors_Click);
    connect(lst_errors_, &QListWidget::itemActivated, this, &FormQuick::lst_errors_Click);
    connect(cmd_ok_, &QPushButton::clicked, this, &FormQuick::cmd_ok_Click);
    // Enter makes a new line in the box; Ctrl+Enter confirms from there.
    for (const QKeySequence &keys :
         {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] {
            if (parse_pending())
                parse_now(); // no need to wait for the pause
            cmd_ok_->click();
        });
}

void FormQuick::on_open()
{
    state_.dialog_result = DialogResult::cancelled;
    const RoundEntry &entry = state_.current_entry();
    show_round_heading(entry, lbl_kai_, lbl_kind_);
    slot_rows_.show_round(entry, slot_count(entry.kind), [](int) { return QList<QWidget *>(); });
    parse_now();
    txt_lines_->setFocus(Qt::TabFocusReason);
}

bool FormQuick::parse_pending() const
{
    return tmr_parse_->isActive();
}

void FormQuick::txt_lines_Change()
{
    // What is shown no longer matches the text until it is read again, nor does a reason
    // shown for a line.
    cmd_ok_->setEnabled(false);
    QToolTip::hideText();
    tmr_parse_->start();
}

void FormQuick::parse_now()
{
    tmr_parse_->stop();
    parsed_ = parse_ticket_lines(txt_lines_->toPlainText(), state_.current_entry().kind);
    show_parsed();
}

void FormQuick::show_parsed()
{
    const int64_t price = unit_price(state_.current_entry().kind);
    lbl_summary_->setText(tickets_summary_text(parsed_) +
                          QStringLiteral("・金額 %1円").arg(format_yen(parsed_.tickets * price)));
    const QString limit = limit_text();
    lbl_errors_->setText(parsed_.error_lines != 0
                             ? QStringLiteral("エラー %1行").arg(QString::number(parsed_.error_lines))
                             : limit);
    lst_errors_->clear();
    QStringList reasons;
    reasons.reserve(static_cast<qsizetype>(parsed_.errors.size()));
    for (const TicketLineError &error : parsed_.errors)
        reasons << line_error_text(error);
    lst_errors_->addItems(reasons);
    for (int i = 0; i < lst_errors_->count(); ++i)
        lst_errors_->item(i)->setData(Qt::UserRole, parsed_.errors[static_cast<size_t>(i)].line);
    lst_errors_->setVisible(!parsed_.errors.empty());
    mark_error_lines();
    cmd_ok_->setEnabled(parsed_.error_lines == 0 && limit.isEmpty() && !parsed_.purchases.empty());
}

QString FormQuick::limit_text() const
{
    PurchaseTally tally;
    tally.singles = parsed_.singles;
    tally.multis = parsed_.multis;
    tally.tickets = parsed_.tickets;
    const RoundEntry &entry = state_.current_entry();
    return purchases_limit_text(state_.book(), entry.kind, entry.tickets, tally);
}

void FormQuick::mark_error_lines()
{
    QList<QTextEdit::ExtraSelection> marks;
    marks.reserve(static_cast<qsizetype>(parsed_.errors.size()));
    // Errors come in line order: one walk over the blocks finds them all.
    QTextBlock block = txt_lines_->document()->firstBlock();
    int line = 1;
    for (const TicketLineError &error : parsed_.errors) {
        while (block.isValid() && line < error.line) {
            block = block.next();
            ++line;
        }
        if (!block.isValid())
            break;
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(block);
        mark.format.setBackground(kErrorLine);
        mark.format.setProperty(QTextFormat::FullWidthSelection, true);
        marks.push_back(mark);
    }
    txt_lines_->setExtraSelections(marks);
}

QString FormQuick::error_of_line(int line) const
{
    const auto found = std::lower_bound(parsed_.errors.begin(), parsed_.errors.end(), line,
                                        [](const TicketLineError &e, int l) { return e.line < l; });
    return found != parsed_.errors.end() && found->line == line ? found->reason : QString();
}

bool FormQuick::eventFilter(QObject *watched, QEvent *event)
{
    // Hovering a marked line tells why it is refused.
    if (watched == txt_lines_->viewport() && event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int line = txt_lines_->cursorForPosition(help->pos()).blockNumber() + 1;
        const QString reason = parse_pending() ? QString() : error_of_line(line);
        if (reason.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), reason, txt_lines_->viewport());
        return true;
    }
    return OpeningDialog::eventFilter(watched, event);
}

void FormQuick::lst_errors_Click(QListWidgetItem *item)
{
    if (!item)
        return;
    const int line = item->data(Qt::UserRole).toInt();
    const QTextBlock block = txt_lines_->document()->findBlockByNumber(line - 1);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    txt_lines_->setTextCursor(cursor);
    txt_lines_->ensureCursorVisible();
    txt_lines_->setFocus(Qt::OtherFocusReason);
}

void FormQuick::cmd_ok_Click()
{
    if (parse_pending())
        parse_now();
    if (!cmd_ok_->isEnabled())
        return;
    const Outcome stored = commit_(parsed_.purchases);
    if (!stored.ok) {
        if (!stored.message.isEmpty())
            ui_.message(this, stored.message, program_title(), UiServices::Icon::critical);
        return;
    }
    state_.dialog_result = DialogResult::ok;
    accept();
}

void FormQuick::reject()
{
    if (!txt_lines_->toPlainText().trimmed().isEmpty() &&
        ui_.message(this, QStringLiteral("入力した内容を破棄して閉じますか？"), program_title(),
                    UiServices::Icon::question,
                    UiServices::Buttons::yes_no_default_no) != UiServices::Answer::yes)
        return;
    OpeningDialog::reject();
}
