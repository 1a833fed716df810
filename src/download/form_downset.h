#pragma once

#include "download/download_confirmation.h"
#include "download/download_step.h"
#include "ui/form_controls.h"
#include "ui/shared_state.h"

class QComboBox;
class QLabel;
class QPushButton;

// ダウンロード位置: where downloaded results go, a new entry or an entry of the same kind.
// OK gives the outcome: results as a new entry, or into the entry target().
class FormDownset : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    FormDownset(const RoundEntry &downloaded, SharedState &state, QWidget *parent = nullptr);

    int target() const { return target_; }
    DownloadOutcome outcome() const { return outcome_; }
    void cmd_ok_Click();

protected:
    void on_open() override;

private:
    const RoundEntry &downloaded_;
    SharedState &state_;
    DownloadTargets targets_;
    int target_ = -1;
    DownloadOutcome outcome_ = DownloadOutcome::cancelled;
    QLabel *lbl_received_ = nullptr;
    QComboBox *cmb_kai_ = nullptr;
    QPushButton *cmd_ok_ = nullptr;
    QPushButton *cmd_cancel_ = nullptr;
};
