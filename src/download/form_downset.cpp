#include "download/form_downset.h"

#include "download/apply_download.h"
#include "download/download_confirmation.h"

#include <QComboBox>
#include <QVBoxLayout>

using namespace form_ui;

FormDownset::FormDownset(const RoundEntry &downloaded, SharedState &state, QWidget *parent)
    : OpeningDialog(parent), downloaded_(downloaded), state_(state)
{
    setObjectName(QStringLiteral("form_downset"));
    setWindowTitle(QStringLiteral("ダウンロード位置"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    lbl_received_ = make_label(this, QStringLiteral("lbl_received"), received_caption(downloaded_));
    layout->addWidget(lbl_received_);
    layout->addWidget(make_label(this, QStringLiteral("Label1"),
                                 QStringLiteral("ダウンロードしたデータの設定位置を選択してください")));
    cmb_kai_ = named(new QComboBox(this), QStringLiteral("cmb_kai"));
    layout->addWidget(cmb_kai_);
    layout->addLayout(make_ok_cancel_row(this, cmd_ok_, cmd_cancel_, true));
    connect(cmd_ok_, &QPushButton::clicked, this, &FormDownset::cmd_ok_Click);
}

void FormDownset::on_open()
{
    outcome_ = DownloadOutcome::cancelled;
    targets_ = download_targets(state_.book(), downloaded_);
    cmb_kai_->clear();
    cmb_kai_->addItem(QStringLiteral("新規追加"), -1);
    for (int entry : targets_.entries)
        cmb_kai_->addItem(target_caption(state_.book(), entry), entry);
    cmb_kai_->setCurrentIndex(targets_.preselected);
}

void FormDownset::cmd_ok_Click()
{
    target_ = cmb_kai_->currentData().toInt();
    outcome_ = target_ < 0 ? DownloadOutcome::result_as_new_entry : DownloadOutcome::result_into_entry;
    accept();
}
