#include "entry/form_kakunin.h"

#include "book/csv_import.h"
#include "entry/csv_confirmation.h"
#include "entry/purchase_review.h"
#include "entry/review_item_model.h"
#include "results/live_texts.h"
#include "ui/ui_services.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QVBoxLayout>
#include <algorithm>

using namespace form_ui;

namespace {

const QColor kResultColour(192, 0, 0);

struct CellColumn {
    const char *name;
    const char *heading;
};
constexpr std::array<CellColumn, 3> kMatchCells = {
    {{"lbl_win", "勝"}, {"lbl_draw", "分"}, {"lbl_lose", "負"}}};
constexpr std::array<CellColumn, 4> kGoalCells = {
    {{"lbl_0ten", "0"}, {"lbl_1ten", "1"}, {"lbl_2ten", "2"}, {"lbl_3ten", "3"}}};

// Names of the prize labels of the CSV confirmation, grade 1 first.
constexpr std::array<const char *, kMaxGrades> kPrizeLabelNames = {"lbl_top",    "lbl_second", "lbl_third",
                                                                   "lbl_fourth", "lbl_fifth",  "lbl_sixth"};

// Draws its current item elided to its width: an item's line may be longer than the box
// (it stands whole beside it).
class ElidingComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field =
            style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        // The label is drawn 1 pixel in from each side of the field.
        option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideRight, field.width() - 2);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

// Drops the list down below the box rather than over it: that popup first measures every
// item to find its width, and a round holds up to 65,534 of them. The dialog gives the list
// the width of the kind's longest item instead.
class DropDownStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *data) const override
    {
        if (hint == SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

} // namespace

KakuninDialog::KakuninDialog(Family family, SharedState &state, UiServices &ui, ReviewEditors editors,
                             QWidget *parent)
    : OpeningDialog(parent), state_(state), ui_(ui), editors_(std::move(editors)), family_(family),
      slot_rows_(this, family, family == Family::goal ? kMaxTeamSlots : kMaxMatchSlots, true)
{
    setObjectName(family == Family::goal ? QStringLiteral("form_goal_kakunin")
                                         : QStringLiteral("form_kakunin"));
    setWindowTitle(QStringLiteral("購入確認・修正"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *head = make_round_heading(this, lbl_kai_, lbl_kind_);
    cmb_kind_ = named(new ElidingComboBox(this), QStringLiteral("cmb_kind"));
    items_ = new ReviewItemModel(this);
    cmb_kind_->setModel(items_);
    // Sized by a length, not by measuring each of up to 65,535 items on show; a long line
    // is elided in the item (it stands whole beside the box and in the tooltip).
    cmb_kind_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cmb_kind_->setMinimumContentsLength(kItemContentsLength);
    // The list lays out the items it shows, all of one height, without asking each item.
    if (auto *list = qobject_cast<QListView *>(cmb_kind_->view()))
        list->setUniformItemSizes(true);
    auto *drop_down = new DropDownStyle(cmb_kind_->style()->name());
    drop_down->setParent(cmb_kind_);
    cmb_kind_->setStyle(drop_down);
    head->addWidget(cmb_kind_);
    lbl_standing_ = make_label(this, QStringLiteral("lbl_standing"), QString());
    lbl_standing_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The spare width goes to the standing, at the right end: the combo keeps its place
    // whether the shown item has a standing or not.
    head->addWidget(lbl_standing_, 1);
    layout->addLayout(head);
    // The whole line has a row of its own under the heading, so the longest line of a kind
    // does not widen the dialog past a narrow screen.
    lbl_line_ = make_label(this, QStringLiteral("lbl_line"), QString());
    lbl_line_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lbl_line_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lbl_line_);
    // The CSV confirmation says which round of the book takes the file's tickets.
    lbl_target_ = make_label(this, QStringLiteral("lbl_target"), QString());
    lbl_target_->setWordWrap(true);
    lbl_target_->hide();
    layout->addWidget(lbl_target_);
    // Then what OK will do, so a file read a second time is seen to double the tickets.
    lbl_effect_ = make_label(this, QStringLiteral("lbl_effect"), QString());
    lbl_effect_->setWordWrap(true);
    lbl_effect_->hide();
    layout->addWidget(lbl_effect_);
    lbl_repeat_ = make_label(this, QStringLiteral("lbl_repeat"), QString());
    lbl_repeat_->setWordWrap(true);
    QPalette warning = lbl_repeat_->palette(); // the dark red of the result cells
    warning.setColor(QPalette::WindowText, kResultColour);
    lbl_repeat_->setPalette(warning);
    lbl_repeat_->hide();
    layout->addWidget(lbl_repeat_);

    auto *area = new QWidget(this);
    build_grid(area);
    layout->addWidget(area);

    auto *bottom = new QHBoxLayout;
    bottom->addLayout(build_counters());
    bottom->addStretch();
    auto *buttons = new QVBoxLayout;
    cmd_cng_ = make_button(this, QStringLiteral("cmd_cng"), QStringLiteral("変更"));
    cmd_del_ = make_button(this, QStringLiteral("cmd_del"), QStringLiteral("削除"));
    cmd_ok_ = make_ok_button(this, true);
    cmd_cancel_ = make_cancel_button(this);
    for (QPushButton *b : {cmd_cng_, cmd_del_, cmd_ok_, cmd_cancel_})
        buttons->addWidget(b);
    bottom->addLayout(buttons);
    layout->addLayout(bottom);

    connect(cmb_kind_, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (item >= 0)
            show_item(item);
    });
    connect(cmd_cng_, &QPushButton::clicked, this, &KakuninDialog::cmd_cng_Click);
    connect(cmd_del_, &QPushButton::clicked, this, &KakuninDialog::cmd_del_Click);
    connect(cmd_ok_, &QPushButton::clicked, this, &KakuninDialog::cmd_ok_Click);
    connect(cmd_cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

int KakuninDialog::cell_columns() const
{
    return family_ == Family::goal ? static_cast<int>(kGoalCells.size())
                                   : static_cast<int>(kMatchCells.size());
}

void KakuninDialog::build_grid(QWidget *area)
{
    auto *grid = new QGridLayout(area);
    grid->setVerticalSpacing(2);
    slot_rows_.add_headings(grid, 0);
    const int rows = slot_rows_.rows();
    for (int i = 0; i < rows; ++i)
        slot_rows_.add_row(grid, i, i + 1);
    // Cells of rows 0..rows-1, then the heading row (index rows), placed above the rows.
    for (int c = 0; c < cell_columns(); ++c) {
        const CellColumn &column = family_ == Family::goal ? kGoalCells[static_cast<size_t>(c)]
                                                           : kMatchCells[static_cast<size_t>(c)];
        for (int i = 0; i <= rows; ++i) {
            const bool heading = i == rows;
            auto *label = make_label(area, control_name(column.name, i),
                                     heading ? QString::fromUtf8(column.heading) : QString());
            label->setAlignment(Qt::AlignCenter);
            cells_[static_cast<size_t>(i)][static_cast<size_t>(c)] = label;
            grid->addWidget(label, heading ? 0 : i + 1, slot_rows_.first_column() + c);
        }
    }
}

QGridLayout *KakuninDialog::build_counters()
{
    auto *counters = new QGridLayout;
    const struct {
        QLabel **value;
        const char *object;
        const char *caption;
    } counter_rows[] = {{&lbl_double_, "double", "ダブル"},
                        {&lbl_triple_, "triple", "トリプル"},
                        {&lbl_total_, "total", "合計"}};
    int at = 0;
    for (const auto &c : counter_rows) {
        const QString object = QLatin1String(c.object);
        if (at == 2) {
            auto *line_kuti = named(make_separator(this), QStringLiteral("line_kuti"));
            counters->addWidget(line_kuti, at++, 0, 1, 3);
            counter_widgets_.push_back(line_kuti);
        }
        auto *name = make_label(this, QStringLiteral("lbl_nm_") + object, QString::fromUtf8(c.caption));
        *c.value = make_label(this, QStringLiteral("lbl_") + object, QString());
        (*c.value)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *unit = make_label(this, QStringLiteral("lbl_kt_") + object, QStringLiteral("口"));
        counters->addWidget(name, at, 0);
        counters->addWidget(*c.value, at, 1);
        counters->addWidget(unit, at++, 2);
        counter_widgets_.insert(counter_widgets_.end(), {name, *c.value, unit});
    }
    lbl_right_ = make_label(this, QStringLiteral("lbl_right"), QStringLiteral("正当数"));
    lbl_right_num_ = make_label(this, QStringLiteral("lbl_right_num"), QString());
    counters->addWidget(lbl_right_, at, 0);
    counters->addWidget(lbl_right_num_, at, 1, 1, 2);
    counter_widgets_.insert(counter_widgets_.end(), {lbl_right_, lbl_right_num_});

    // Prize labels belong to the CSV confirmation; review keeps them hidden.
    for (int g = 0; g < prize_count(family_); ++g) {
        const QString name = QLatin1String(kPrizeLabelNames[static_cast<size_t>(g)]);
        auto *caption = make_label(this, name, grade_name(g + 1));
        auto *amount = make_label(this, name + QStringLiteral("_kin"), QString());
        counters->addWidget(caption, at + 1 + g, 0);
        counters->addWidget(amount, at + 1 + g, 1, 1, 2);
        caption->hide();
        amount->hide();
        prize_labels_.insert(prize_labels_.end(), {caption, amount});
    }
    return counters;
}

void KakuninDialog::show_round_texts()
{
    const RoundEntry &e = state_.current_entry();
    show_round_heading(e, lbl_kai_, lbl_kind_);
    slot_rows_.show_round(e, slot_count(e.kind), [](int) { return QList<QWidget *>(); });
    // Room for the longest line of the kind, so the heading keeps its place from ticket to ticket.
    lbl_line_->setMinimumWidth(lbl_line_->fontMetrics().horizontalAdvance(
        QString(slot_count(e.kind) * (is_big_family(e.kind) ? 2 : 4), u'0')));
    // The dropped-down list is as wide as the kind's longest item (a multi of all marks),
    // found without reading the items.
    const int marks = is_big_family(e.kind) ? 1 : marks_per_slot(e.kind);
    const QString longest = QStringLiteral("シングル ") + QString(slot_count(e.kind) * (marks + 1), u'0');
    QAbstractItemView *list = cmb_kind_->view();
    const QStyle *style = list->style();
    list->setMinimumWidth(list->fontMetrics().horizontalAdvance(longest) +
                          style->pixelMetric(QStyle::PM_ScrollBarExtent) +
                          2 * (list->frameWidth() + style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1));
}

void KakuninDialog::set_csv_import(const CsvImport &staged)
{
    csv_flag = -1;
    csv_ = &staged;
    csv_views_ = csv_row_views(staged);
}

void KakuninDialog::on_open()
{
    state_.dialog_result = DialogResult::cancelled;
    if (csv_mode()) {
        open_csv();
        return;
    }
    show_round_texts();
    {
        // The items are formatted as the combo shows them, not here.
        const QSignalBlocker quiet(cmb_kind_);
        items_->show_round(state_.book(), state_.current);
    }
    select_item(0);
}

void KakuninDialog::select_item(int select)
{
    const int item = select >= 0 && select < cmb_kind_->count() ? select : 0;
    {
        const QSignalBlocker quiet(cmb_kind_);
        cmb_kind_->setCurrentIndex(item);
    }
    show_item(item);
}

void KakuninDialog::set_ticket_visible(bool cells, bool counters)
{
    const int n = slot_count(state_.current_entry().kind);
    const int rows = slot_rows_.rows();
    for (int i = 0; i <= rows; ++i)
        for (int c = 0; c < cell_columns(); ++c)
            cells_[static_cast<size_t>(i)][static_cast<size_t>(c)]->setVisible(cells && (i < n || i == rows));
    // Each widget is set once to what it shows: one shown for a moment grows the window's
    // minimum, and the window keeps the grown size.
    const bool grading = !csv_mode();
    for (QWidget *w : counter_widgets_)
        w->setVisible(counters && (grading || (w != lbl_right_ && w != lbl_right_num_)));
}

void KakuninDialog::show_item(int item)
{
    if (csv_mode()) {
        show_csv_row(item);
        return;
    }
    const bool ticket = item > 0 && item < items_->rowCount();
    // The line is the item's tooltip.
    lbl_line_->setText(ticket ? cmb_kind_->itemData(item, Qt::ToolTipRole).toString() : QString());
    lbl_standing_->clear();
    if (!ticket) {
        shown_type_ = 0;
        state_.editing = state_.current;
        set_ticket_visible(false, false);
        return;
    }
    const ReviewTicket t = review_ticket(state_.book(), state_.current, items_->value(item));
    shown_type_ = t.type;
    state_.editing = t.pool_index;
    set_ticket_visible(true, true);
    lbl_double_->setText(QString::number(t.doubles));
    lbl_triple_->setText(QString::number(t.triples));
    lbl_total_->setText(QString::number(t.total));
    for (size_t i = 0; i < t.rows.size(); ++i) {
        for (int c = 0; c < cell_columns(); ++c) {
            QLabel *label = cells_[i][static_cast<size_t>(c)];
            const ReviewCell &rc = t.rows[i][static_cast<size_t>(c)];
            label->setText(rc.marked ? QStringLiteral("○") : QStringLiteral("－"));
            QPalette palette = label->parentWidget()->palette();
            if (rc.result)
                palette.setColor(QPalette::WindowText, kResultColour);
            label->setPalette(palette);
        }
    }
    lbl_right_num_->setText(t.right_text());
    lbl_standing_->setText(standing_text(state_.current_entry(), t.correct));
}

void KakuninDialog::cmd_cng_Click()
{
    const int item = cmb_kind_->currentIndex();
    if (item <= 0) {
        state_.editing = state_.current;
        if (editors_.edit_round)
            editors_.edit_round();
    } else if (shown_type_ == kSingle) {
        if (editors_.edit_single)
            editors_.edit_single(*state_.editing);
    } else if (editors_.edit_multi) {
        editors_.edit_multi(*state_.editing);
    }
    // Whatever the editor did, show the round as it is now.
    show_round_texts();
    {
        const QSignalBlocker quiet(cmb_kind_);
        items_->refresh();
    }
    select_item(item);
    state_.dialog_result = DialogResult::cancelled;
}

void KakuninDialog::cmd_del_Click()
{
    const int item = cmb_kind_->currentIndex();
    if (!confirm_deletion(ui_, this,
                          item > 0 ? QString() : round_deletion_text(state_.book(), state_.current)))
        return;
    if (item > 0) {
        if (!commit(editors_.delete_ticket ? editors_.delete_ticket(shown_type_, *state_.editing)
                                           : Outcome::failure(QString())))
            return;
        {
            // Only the deleted item's row goes; the others are not formatted again.
            const QSignalBlocker quiet(cmb_kind_);
            items_->purchase_deleted(item);
        }
        select_item(0);
        cmb_kind_->setFocus();
        return;
    }
    if (!commit(editors_.delete_round ? editors_.delete_round() : Outcome::failure(QString())))
        return;
    state_.dialog_result = DialogResult::ok;
    accept();
}

void KakuninDialog::cmd_ok_Click()
{
    if (csv_mode()) {
        // All or nothing: an import that does not fit leaves the book as it was and the
        // dialog open.
        if (!commit(editors_.import_csv ? editors_.import_csv(*csv_) : Outcome::failure(QString())))
            return;
        state_.dialog_result = DialogResult::ok;
    }
    accept();
}

// --- CSV import confirmation ----------------------------------------------------------------

void KakuninDialog::open_csv()
{
    setWindowTitle(csv_confirm_caption());
    for (QWidget *w : {static_cast<QWidget *>(cmd_cng_), static_cast<QWidget *>(cmd_del_),
                       static_cast<QWidget *>(lbl_right_), static_cast<QWidget *>(lbl_right_num_)})
        w->hide();
    show_round_texts();
    // The label as the file wrote it ("0123" for the round 123).
    show_round_label(lbl_kai_, csv_->label);
    lbl_kind_->setText(kind_display_name(csv_->kind));
    lbl_target_->setText(csv_target_text(state_.book(), csv_->entry));
    lbl_target_->show();
    const CsvEffect effect = csv_effect(state_.book(), *csv_, csv_views_);
    lbl_effect_->setText(effect.adds + u'\n' + effect.replaces);
    lbl_effect_->show();
    lbl_repeat_->setText(effect.repeats);
    lbl_repeat_->setVisible(!effect.repeats.isEmpty());

    {
        const QSignalBlocker quiet(cmb_kind_);
        items_->show_staged(csv_views_);
        cmb_kind_->setCurrentIndex(cmb_kind_->count() > 0 ? 0 : -1);
    }
    show_csv_row(0);
}

void KakuninDialog::show_csv_row(int row)
{
    for (QLabel *label : prize_labels_)
        label->hide();
    if (row < 0 || row >= static_cast<int>(csv_views_.size())) {
        lbl_line_->clear();
        set_ticket_visible(false, false);
        return;
    }
    const CsvRowView &view = csv_views_[static_cast<size_t>(row)];
    lbl_line_->setText(view.line);
    set_ticket_visible(true, view.counters_shown);
    lbl_double_->setText(QString::number(view.doubles));
    lbl_triple_->setText(QString::number(view.triples));
    lbl_total_->setText(QString::number(view.combos));

    const int n = slot_count(state_.current_entry().kind);
    for (int i = 0; i < n; ++i) {
        for (int c = 0; c < cell_columns(); ++c) {
            QLabel *label = cells_[static_cast<size_t>(i)][static_cast<size_t>(c)];
            label->setText(csv_cell_text(view.cells[static_cast<size_t>(i)][static_cast<size_t>(c)]));
            label->setPalette(label->parentWidget()->palette()); // no result colour here
        }
    }

    // prize_labels_ holds caption and amount of each grade in turn.
    const size_t shown = std::min(view.prize_texts.size(), prize_labels_.size() / 2);
    for (size_t g = 0; g < shown; ++g) {
        QLabel *amount = prize_labels_[2 * g + 1];
        amount->setText(view.prize_texts[g]);
        amount->show();
        prize_labels_[2 * g]->setVisible(view.grade_labels_shown);
    }
}

bool KakuninDialog::commit(const Outcome &outcome)
{
    if (!outcome.ok && !outcome.message.isEmpty())
        ui_.message(this, outcome.message, program_title(), UiServices::Icon::critical,
                    UiServices::Buttons::ok);
    return outcome.ok;
}

FormKakunin::FormKakunin(SharedState &state, UiServices &ui, ReviewEditors editors, QWidget *parent)
    : KakuninDialog(Family::match, state, ui, std::move(editors), parent)
{
}

FormGoalKakunin::FormGoalKakunin(SharedState &state, UiServices &ui, ReviewEditors editors, QWidget *parent)
    : KakuninDialog(Family::goal, state, ui, std::move(editors), parent)
{
}
