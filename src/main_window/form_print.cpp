#include "main_window/form_print.h"

#include "main_window/print_pages.h"
#include "results/book_stats.h"
#include "ui/form_controls.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

FormPrint::FormPrint(const TicketBook &book, int selected, const PrintChoice &last, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("form_print"));
    setWindowTitle(QStringLiteral("印刷する内容"));
    setModal(true);

    opt_print_list_ = form_ui::named(new QRadioButton(QStringLiteral("一覧(&L)（表示中の行と合計）"), this),
                                     QStringLiteral("opt_print_list"));
    const bool has_round = selected >= 0 && selected < book.entry_count();
    opt_print_round_ = form_ui::named(
        new QRadioButton(has_round ? QStringLiteral("この回の購入(&R)（") +
                                         round_print_title(book.entries[static_cast<size_t>(selected)]) +
                                         QStringLiteral("）")
                                   : QStringLiteral("この回の購入(&R)（開催回を選んでください）"),
                         this),
        QStringLiteral("opt_print_round"));
    opt_print_round_->setEnabled(has_round);
    opt_print_stats_ = form_ui::named(new QRadioButton(QStringLiteral("収支統計(&S)（表とグラフ）"), this),
                                      QStringLiteral("opt_print_stats"));
    auto *group = new QButtonGroup(this);
    for (QRadioButton *o : {opt_print_list_, opt_print_round_, opt_print_stats_})
        group->addButton(o);

    cmb_print_kind_ = form_ui::named(new QComboBox(this), QStringLiteral("cmb_print_kind"));
    cmb_print_kind_->addItem(QStringLiteral("すべて"), -1);
    for (const KindStatsRow &k : book_stats(book).kinds)
        cmb_print_kind_->addItem(kind_display_name(k.kind), kind_code(k.kind));
    if (last.stats_kind)
        cmb_print_kind_->setCurrentIndex(std::max(0, cmb_print_kind_->findData(kind_code(*last.stats_kind))));

    switch (last.what) {
    case PrintChoice::What::round: (has_round ? opt_print_round_ : opt_print_list_)->setChecked(true); break;
    case PrintChoice::What::stats: opt_print_stats_->setChecked(true); break;
    case PrintChoice::What::list: opt_print_list_->setChecked(true); break;
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(opt_print_list_);
    layout->addWidget(opt_print_round_);
    layout->addWidget(opt_print_stats_);
    auto *kind_row = new QHBoxLayout;
    kind_row->addSpacing(24);
    kind_row->addWidget(
        form_ui::make_label(this, QStringLiteral("lbl_print_kind"), QStringLiteral("グラフの種別")));
    kind_row->addWidget(cmb_print_kind_);
    kind_row->addStretch(1);
    layout->addLayout(kind_row);
    layout->addLayout(form_ui::make_ok_cancel_row(this, cmd_ok_, cmd_cancel_, true));
    connect(cmd_ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(group, &QButtonGroup::buttonToggled, this, &FormPrint::follow_choice);
    follow_choice();
}

void FormPrint::follow_choice()
{
    cmb_print_kind_->setEnabled(opt_print_stats_->isChecked());
}

PrintChoice FormPrint::choice() const
{
    PrintChoice c;
    c.what = opt_print_round_->isChecked()   ? PrintChoice::What::round
             : opt_print_stats_->isChecked() ? PrintChoice::What::stats
                                             : PrintChoice::What::list;
    const int code = cmb_print_kind_->currentData().toInt();
    if (code >= 0)
        c.stats_kind = kind_from_code(code);
    return c;
}
