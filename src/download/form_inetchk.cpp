#include "download/form_inetchk.h"

#include "download/apply_download.h"
#include "download/download_confirmation.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace form_ui;

InetCheckDialog::InetCheckDialog(Family family, const RoundEntry &downloaded, DownloadOutcome mode,
                                 int target, SharedState &state, QWidget *parent)
    : OpeningDialog(parent), family_(family), downloaded_(downloaded), mode_(mode), target_(target),
      state_(state), slot_rows_(this, family, family == Family::match ? kMaxMatchSlots : kMaxTeamSlots, true)
{
    setObjectName(family == Family::goal ? QStringLiteral("form_goal_inetchk")
                                         : QStringLiteral("form_inetchk"));
    setWindowTitle(QStringLiteral("ダウンロード確認"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(make_round_heading(this, lbl_kai_, lbl_kind_));
    auto *rows = new QWidget(this);
    layout->addWidget(rows);
    build_rows(rows);
    auto *prizes = new QWidget(this);
    layout->addWidget(prizes);
    build_prizes(prizes);
    layout->addLayout(make_ok_cancel_row(this, cmd_ok_, cmd_cancel_, true));
    connect(cmd_ok_, &QPushButton::clicked, this, &InetCheckDialog::cmd_ok_Click);
}

void InetCheckDialog::build_rows(QWidget *area)
{
    auto *grid = new QGridLayout(area);
    grid->setVerticalSpacing(2);
    slot_rows_.add_headings(grid, 0);
    const int first = slot_rows_.first_column();
    for (int i = 0; i < slot_rows_.rows(); ++i) {
        const auto s = static_cast<size_t>(i);
        slot_rows_.add_row(grid, i, i + 1);
        lbl_kekka1_[s] = make_label(area, control_name("lbl_kekka1", i), QStringLiteral("未実施"));
        lbl_allow_[s] = make_label(area, control_name("lbl_allow", i), QStringLiteral("→"));
        lbl_kekka2_[s] = make_label(area, control_name("lbl_kekka2", i), QString());
        grid->addWidget(lbl_kekka1_[s], i + 1, first, Qt::AlignHCenter);
        grid->addWidget(lbl_allow_[s], i + 1, first + 1, Qt::AlignHCenter);
        grid->addWidget(lbl_kekka2_[s], i + 1, first + 2, Qt::AlignHCenter);
    }
}

void InetCheckDialog::build_prizes(QWidget *area)
{
    auto *grid = new QGridLayout(area);
    lbl_kin_heading_ = make_label(area, QString(), QStringLiteral("当選金額"));
    grid->addWidget(lbl_kin_heading_, 0, 0, 1, 4);
    for (int g = 0; g < prize_count(family_); ++g) {
        const auto s = static_cast<size_t>(g);
        lbl_grade_[s] = make_label(area, control_name("lbl_grade", g), grade_name(g + 1));
        lbl_kin1_[s] = make_label(area, control_name("lbl_kin1", g), QString());
        lbl_kin_allow_[s] = make_label(area, control_name("lbl_kin_allow", g), QStringLiteral("→"));
        lbl_kin2_[s] = make_label(area, control_name("lbl_kin2", g), QString());
        grid->addWidget(lbl_grade_[s], g + 1, 0);
        grid->addWidget(lbl_kin1_[s], g + 1, 1, Qt::AlignRight);
        grid->addWidget(lbl_kin_allow_[s], g + 1, 2);
        grid->addWidget(lbl_kin2_[s], g + 1, 3, Qt::AlignRight);
    }
}

void InetCheckDialog::on_open()
{
    const bool update = mode_ == DownloadOutcome::result_into_entry;
    const bool results = mode_ != DownloadOutcome::schedule_as_new_entry;
    // An update shows the entry's own names and results beside the downloaded ones.
    const RoundEntry &shown = update ? state_.book().entries[static_cast<size_t>(target_)] : downloaded_;
    lbl_kind_->setText(kind_display_name(downloaded_.kind));
    show_round_label(lbl_kai_, downloaded_.kai.text());
    slot_rows_.show_round(shown, slot_count(downloaded_.kind), [&](int i) {
        const auto s = static_cast<size_t>(i);
        return QList<QWidget *>{lbl_kekka1_[s], lbl_allow_[s], lbl_kekka2_[s]};
    });
    for (int i = 0; i < slot_count(downloaded_.kind); ++i) {
        const auto s = static_cast<size_t>(i);
        lbl_kekka1_[s]->setVisible(results);
        lbl_allow_[s]->setVisible(update);
        lbl_kekka2_[s]->setVisible(update);
        if (update) {
            lbl_kekka1_[s]->setText(chg_kekka(family_, shown.slot_result(i)));
            lbl_kekka2_[s]->setText(chg_kekka(family_, downloaded_.slot_result(i)));
        } else if (results) {
            lbl_kekka1_[s]->setText(chg_kekka(family_, downloaded_.slot_result(i)));
        }
    }
    lbl_kin_heading_->setVisible(results);
    for (int g = 0; g < prize_count(family_); ++g) {
        const auto s = static_cast<size_t>(g);
        const bool grade =
            results && (grade_exists(downloaded_, g + 1) || (update && grade_exists(shown, g + 1)));
        lbl_grade_[s]->setVisible(grade);
        lbl_kin1_[s]->setVisible(grade);
        lbl_kin_allow_[s]->setVisible(grade && update);
        lbl_kin2_[s]->setVisible(grade && update);
        lbl_kin1_[s]->setText(prize_text(update ? shown : downloaded_, g + 1));
        lbl_kin2_[s]->setText(update ? prize_text(downloaded_, g + 1) : QString());
    }
}

void InetCheckDialog::cmd_ok_Click()
{
    accept();
}

FormInetChk::FormInetChk(const RoundEntry &downloaded, DownloadOutcome mode, int target, SharedState &state,
                         QWidget *parent)
    : InetCheckDialog(Family::match, downloaded, mode, target, state, parent)
{
}

FormGoalInetChk::FormGoalInetChk(const RoundEntry &downloaded, DownloadOutcome mode, int target,
                                 SharedState &state, QWidget *parent)
    : InetCheckDialog(Family::goal, downloaded, mode, target, state, parent)
{
}
