#include "main_window/form_live.h"

#include "results/live_texts.h"
#include "results/winning_check.h"
#include "ui/ui_services.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

using namespace form_ui;

namespace {

// An outcome's cell is shown in lines of three grades; a narrow window wraps it between
// grades, never inside "1等 2" (a line may break before an ideograph, so the digit is joined).
constexpr QChar kGradeSpace(0x00A0);
constexpr QChar kWordJoiner(0x2060);
constexpr int kGradesPerLine = 3;

QString shown_cell_text(const QString &text)
{
    const QStringList grades = text.split(QStringLiteral(" / "), Qt::SkipEmptyParts);
    QString shown;
    for (qsizetype i = 0; i < grades.size(); ++i) {
        if (i > 0)
            shown += i % kGradesPerLine == 0 ? QStringLiteral("\n") : QStringLiteral(" / ");
        shown += QString(grades[i]).replace(QStringLiteral("等 "),
                                            kWordJoiner + QStringLiteral("等") + kGradeSpace);
    }
    return shown;
}

// Room left around the window for its title bar and borders, before they are known.
const QSize kWindowFrame(16, 48);

constexpr int kTeamsColumn = 1;
constexpr int kResultColumn = 2;

// A supposed outcome stands out from entered results: its cell is shaded and the result
// column says 仮定.
const QColor kSupposedBackground(255, 226, 153);
const QColor kSupposedText(0, 0, 0);
const QColor kSupposedResult(0, 70, 170);

// The table asks for room for every row and for its columns' contents, so the window opens
// without blank bands below a short round and, where the screen allows, without wrapped cells.
// Its texts are measured in bold with a digit to spare, as a cell turns bold and its counts
// change with each supposition.
class SlotTable : public QTableWidget {
public:
    using QTableWidget::QTableWidget;

    QSize sizeHint() const override
    {
        QFont bold = font();
        bold.setBold(true);
        const QFontMetrics metrics(bold);
        const int padding = 4 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 8;
        int width = 2 * frameWidth();
        for (int c = 0; c < columnCount(); ++c) {
            int widest = horizontalHeader()->sectionSizeHint(c);
            if (horizontalHeader()->sectionResizeMode(c) == QHeaderView::Fixed)
                widest = std::max(widest, columnWidth(c));
            for (int r = 0; r < rowCount(); ++r) {
                const QString text = item(r, c) ? item(r, c)->text() : QString();
                for (const QString &line : text.split(u'\n')) {
                    const int spare =
                        static_cast<int>(line.count(kGradeSpace)) * metrics.horizontalAdvance(u'0');
                    widest = std::max(widest, metrics.horizontalAdvance(line) + spare + padding);
                }
            }
            width += widest;
        }
        // Every row one line high, as it is at that width: measured unwrapped, since the rows'
        // own hints wrap their texts in the columns as they are before the window is laid out.
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height();
        for (int r = 0; r < rowCount(); ++r) {
            int line = verticalHeader()->sectionSizeHint(r);
            for (int c = 0; c < columnCount(); ++c) {
                const QModelIndex index = model()->index(r, c);
                line = std::max(line, itemDelegateForIndex(index)->sizeHint(option, index).height());
            }
            height += line;
        }
        return {width, height};
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QTableWidget::resizeEvent(event);
        // The outcome columns stretch with the window; their cells wrap only when narrow.
        resizeRowsToContents();
    }
};

QString outcome_heading(LotteryKind kind, int o)
{
    if (!is_match_kind(kind))
        return outcome_mark(kind, o) + (o == kMaxOutcomes - 1 ? QStringLiteral("+") : QString());
    static const char16_t *const kNames[] = {u"（勝）", u"（分）", u"（負）"};
    return outcome_mark(kind, o) + QString::fromUtf16(kNames[o]);
}

QString teams_text(const RoundEntry &entry, int slot)
{
    const auto s = static_cast<size_t>(slot);
    if (is_match_kind(entry.kind))
        return entry.matches[s].home.text() + QStringLiteral(" - ") + entry.matches[s].away.text();
    return entry.teams[s].team.text();
}

// The outcomes of a row that keep the most tickets in the best grade any of them reaches;
// none when they all keep the same.
std::array<bool, kMaxOutcomes> best_outcomes(const RoundEntry &entry, const LiveCounts &live, int slot,
                                             int outcomes)
{
    std::array<bool, kMaxOutcomes> best{};
    const auto &row = live.if_ended[static_cast<size_t>(slot)];
    for (int g = 1; g <= kMaxGrades; ++g) {
        if (!grade_exists(entry, g))
            continue;
        const auto at = static_cast<size_t>(g - 1);
        int64_t most = 0;
        int64_t least = row[0][at];
        for (int o = 0; o < outcomes; ++o) {
            most = std::max(most, row[static_cast<size_t>(o)][at]);
            least = std::min(least, row[static_cast<size_t>(o)][at]);
        }
        if (most == 0)
            continue;
        if (least != most)
            for (int o = 0; o < outcomes; ++o)
                best[static_cast<size_t>(o)] = row[static_cast<size_t>(o)][at] == most;
        break;
    }
    return best;
}

} // namespace

FormLive::FormLive(SharedState &state, UiServices &ui, Commit<RoundEntry> commit, QWidget *parent)
    : OpeningDialog(parent), state_(state), ui_(ui), commit_(std::move(commit))
{
    setObjectName(QStringLiteral("form_live"));
    setWindowTitle(QStringLiteral("途中経過"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    QHBoxLayout *head = make_round_heading(this, lbl_kai_, lbl_kind_);
    lbl_decided_ = make_label(this, QStringLiteral("lbl_decided"), QString());
    lbl_bought_ = make_label(this, QStringLiteral("lbl_bought"), QString());
    // Beside the kind, before the heading's closing stretch.
    head->insertSpacing(head->count() - 1, 16);
    head->insertWidget(head->count() - 1, lbl_decided_);
    head->insertSpacing(head->count() - 1, 16);
    head->insertWidget(head->count() - 1, lbl_bought_);
    layout->addLayout(head);

    lbl_now_ = make_label(this, QStringLiteral("lbl_now"), QString());
    QFont strong = lbl_now_->font();
    strong.setBold(true);
    lbl_now_->setFont(strong);
    layout->addWidget(lbl_now_);
    lbl_won_ = make_label(this, QStringLiteral("lbl_won"), QString());
    layout->addWidget(lbl_won_);

    lvw_slots_ = named(new SlotTable(this), QStringLiteral("lvw_slots"));
    lvw_slots_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvw_slots_->setSelectionMode(QAbstractItemView::SingleSelection);
    lvw_slots_->setSelectionBehavior(QAbstractItemView::SelectItems);
    lvw_slots_->setTabKeyNavigation(false); // Tab goes on to the buttons
    lvw_slots_->setWordWrap(true);
    lvw_slots_->verticalHeader()->hide();
    lvw_slots_->installEventFilter(this);
    layout->addWidget(lvw_slots_, 1);
    connect(lvw_slots_, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column >= kFirstOutcomeColumn)
            suppose(row, column - kFirstOutcomeColumn);
    });

    lbl_hint_ = make_label(this, QStringLiteral("lbl_hint"), QString());
    layout->addWidget(lbl_hint_);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    cmd_enter_ = make_button(this, QStringLiteral("cmd_enter"), QStringLiteral("結果として入力"));
    cmd_close_ = make_button(this, QStringLiteral("cmd_close"), QStringLiteral("閉じる"));
    for (QPushButton *b : {cmd_enter_, cmd_close_}) {
        b->setAutoDefault(false); // Enter in the table supposes; it presses no button
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    connect(cmd_enter_, &QPushButton::clicked, this, &FormLive::cmd_enter_Click);
    connect(cmd_close_, &QPushButton::clicked, this, &QDialog::reject);
}

void FormLive::on_open()
{
    state_.dialog_result = DialogResult::cancelled;
    supposed_ = {};
    const RoundEntry &e = state_.current_entry();
    kind_ = e.kind;
    show_round_heading(e, lbl_kai_, lbl_kind_);
    lbl_decided_->setText(decided_text(e));
    lbl_bought_->setText(QStringLiteral("購入 %1口").arg(e.tickets));
    lbl_hint_->setText(
        QStringLiteral("結果のセルをクリック、または %1 キーで仮定（もう一度で解除、Delete で解除）")
            .arg(is_match_kind(kind_) ? QStringLiteral("1・0・2") : QStringLiteral("0・1・2・3")));

    const int outcomes = outcome_count(kind_);
    lvw_slots_->clear();
    lvw_slots_->setColumnCount(kFirstOutcomeColumn + outcomes);
    lvw_slots_->setRowCount(slot_count(kind_));
    QStringList headings = {QStringLiteral("No."),
                            is_match_kind(kind_) ? QStringLiteral("対戦") : QStringLiteral("チーム"),
                            QStringLiteral("結果")};
    for (int o = 0; o < outcomes; ++o)
        headings << outcome_heading(kind_, o);
    lvw_slots_->setHorizontalHeaderLabels(headings);
    for (int s = 0; s < slot_count(kind_); ++s) {
        auto *number = new QTableWidgetItem(row_number_text(s, true));
        number->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lvw_slots_->setItem(s, 0, number);
        lvw_slots_->setItem(s, kTeamsColumn, new QTableWidgetItem(teams_text(e, s)));
        auto *result = new QTableWidgetItem();
        result->setTextAlignment(Qt::AlignCenter);
        lvw_slots_->setItem(s, kResultColumn, result);
        for (int o = 0; o < outcomes; ++o) {
            auto *cell = new QTableWidgetItem();
            cell->setTextAlignment(Qt::AlignCenter);
            lvw_slots_->setItem(s, kFirstOutcomeColumn + o, cell);
        }
    }
    QHeaderView *header = lvw_slots_->horizontalHeader();
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(kTeamsColumn, QHeaderView::ResizeToContents);
    // Room for the widest result from the start, so supposing moves no column.
    header->setSectionResizeMode(kResultColumn, QHeaderView::Fixed);
    const QString widest = result_so_far_text(kind_, outcome_result(kind_, outcome_count(kind_) - 1)) +
                           QStringLiteral("（仮定）");
    header->resizeSection(kResultColumn, std::max(header->sectionSizeHint(kResultColumn),
                                                  lvw_slots_->fontMetrics().horizontalAdvance(widest) + 12));
    for (int o = 0; o < outcomes; ++o)
        header->setSectionResizeMode(kFirstOutcomeColumn + o, QHeaderView::Stretch);
    refresh();

    // The keyboard starts on the first slot still open.
    int first_open = 0;
    while (first_open < slot_count(kind_) && !slot_undecided(e, first_open))
        ++first_open;
    lvw_slots_->setCurrentCell(first_open < slot_count(kind_) ? first_open : 0, kFirstOutcomeColumn);
    lvw_slots_->setFocus();
}

void FormLive::setVisible(bool visible)
{
    // Opening keeps a window within two thirds of the screen; the table may take all of it, so
    // that a BIG round's cells need not wrap on a small or magnified screen.
    if (visible && !isVisible()) {
        QSize wanted = sizeHint();
        if (const QScreen *shown_on = screen())
            wanted = wanted.boundedTo(shown_on->availableGeometry().size() - kWindowFrame);
        resize(wanted.expandedTo(minimumSizeHint()));
    }
    OpeningDialog::setVisible(visible);
}

void FormLive::showEvent(QShowEvent *event)
{
    OpeningDialog::showEvent(event);
    QTimer::singleShot(0, this, &FormLive::fit_to_rows);
}

void FormLive::fit_to_rows()
{
    // Laid out, the rows take the height their texts need at the window's width: the window
    // grows or shrinks to them, within the screen, so it shows no blank band below the rows
    // and no scrolling it can avoid (on opening, and as a supposition rewraps the cells).
    lvw_slots_->resizeRowsToContents();
    int rows = 0;
    for (int r = 0; r < lvw_slots_->rowCount(); ++r)
        rows += lvw_slots_->rowHeight(r);
    const int wanted = rows + lvw_slots_->horizontalHeader()->height() + 2 * lvw_slots_->frameWidth();
    int height_wanted = height() + wanted - lvw_slots_->height();
    int top = geometry().top();
    if (const QScreen *shown_on = screen()) {
        // Within the screen, the title bar included (its height is not known yet at first).
        const QRect room = shown_on->availableGeometry();
        const int title = std::max(geometry().top() - frameGeometry().top(), kWindowFrame.height() / 2);
        const int lowest = room.bottom() - (kWindowFrame.width() / 2);
        height_wanted = std::min(height_wanted, lowest - room.top() - title);
        top = std::max(room.top() + title, std::min(top, lowest - height_wanted));
    }
    if (height_wanted != height() || top != geometry().top())
        setGeometry(geometry().left(), top, width(), height_wanted);
}

void FormLive::suppose(int slot, int outcome)
{
    const RoundEntry &e = state_.current_entry();
    if (!slot_undecided(e, slot) || outcome >= outcome_count(kind_)) {
        ui_.beep();
        return;
    }
    int &code = supposed_[static_cast<size_t>(slot)];
    const int wanted = outcome < 0 ? kResultNone : outcome_result(kind_, outcome);
    code = code == wanted ? kResultNone : wanted;
    refresh();
    // The cells' texts changed: where the window is narrow they wrap anew.
    if (isVisible())
        QTimer::singleShot(0, this, &FormLive::fit_to_rows);
}

void FormLive::refresh()
{
    const RoundEntry &e = state_.current_entry();
    const LiveCounts live = live_counts(state_.book(), state_.current, supposed_);
    lbl_now_->setText(in_line_text(e, live.now));
    const RoundEntry round = supposed_round(e, supposed_);
    if (!results_complete(round)) {
        lbl_won_->hide();
    } else {
        const std::optional<WideInt> won = live_won(round, live.now);
        lbl_won_->setText(QStringLiteral("当選金額 ") +
                          (won ? format_yen(*won) + QStringLiteral("円") : QStringLiteral("金額未定")));
        lbl_won_->show();
    }
    for (int s = 0; s < slot_count(kind_); ++s)
        fill_row(s, live);
    cmd_enter_->setEnabled(std::any_of(supposed_.begin(), supposed_.end(), [](int c) { return c != 0; }));
    lvw_slots_->resizeRowsToContents();
}

void FormLive::fill_row(int slot, const LiveCounts &live)
{
    const RoundEntry &e = state_.current_entry();
    const int outcomes = outcome_count(kind_);
    const bool open = slot_undecided(e, slot);
    const int supposed = supposed_[static_cast<size_t>(slot)];
    QTableWidgetItem *result = lvw_slots_->item(slot, kResultColumn);
    if (open && supposed != kResultNone) {
        result->setText(result_so_far_text(kind_, supposed) + QStringLiteral("（仮定）"));
        result->setForeground(kSupposedResult);
    } else {
        result->setText(result_so_far_text(kind_, e.slot_result(slot)));
        result->setData(Qt::ForegroundRole, QVariant());
    }
    const std::array<bool, kMaxOutcomes> best =
        open ? best_outcomes(e, live, slot, outcomes) : std::array<bool, kMaxOutcomes>{};
    for (int o = 0; o < outcomes; ++o) {
        QTableWidgetItem *cell = lvw_slots_->item(slot, kFirstOutcomeColumn + o);
        const bool is_supposed = open && supposed == outcome_result(kind_, o);
        const GradeCounts &left = live.if_ended[static_cast<size_t>(slot)][static_cast<size_t>(o)];
        cell->setText(open ? shown_cell_text(outcome_cell_text(e, left)) : QString());
        QFont font = lvw_slots_->font();
        font.setBold(best[static_cast<size_t>(o)]);
        cell->setFont(font);
        cell->setData(Qt::BackgroundRole, is_supposed ? QVariant(kSupposedBackground) : QVariant());
        cell->setData(Qt::ForegroundRole, is_supposed ? QVariant(kSupposedText) : QVariant());
        cell->setToolTip(best[static_cast<size_t>(o)]
                             ? QStringLiteral("まだ届く一番上の等級に最も多く残る結果")
                             : QString());
    }
}

bool FormLive::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != lvw_slots_ || event->type() != QEvent::KeyPress)
        return OpeningDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const int row = lvw_slots_->currentRow();
    const int column = lvw_slots_->currentColumn();
    if (row < 0 || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    switch (key->key()) {
    case Qt::Key_Delete:
    case Qt::Key_Backspace: suppose(row, -1); return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (column >= kFirstOutcomeColumn)
            suppose(row, column - kFirstOutcomeColumn);
        return true;
    default: break;
    }
    // The outcome keys, full-width digits read as half-width.
    QString text = key->text();
    if (text.size() == 1 && text[0] >= QChar(0xFF10) && text[0] <= QChar(0xFF19))
        text = QString(QChar(u'0' + (text[0].unicode() - 0xFF10)));
    for (int o = 0; o < outcome_count(kind_); ++o) {
        if (!text.isEmpty() && text == outcome_mark(kind_, o)) {
            suppose(row, o);
            return true;
        }
    }
    return false;
}

void FormLive::cmd_enter_Click()
{
    const RoundEntry round = supposed_round(state_.current_entry(), supposed_);
    if (const Outcome stored = commit_(round); !stored.ok) {
        if (!stored.message.isEmpty())
            ui_.message(this, stored.message, program_title(), UiServices::Icon::critical);
        return;
    }
    state_.dialog_result = DialogResult::ok;
    accept();
}
