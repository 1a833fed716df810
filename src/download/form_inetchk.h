#pragma once

#include "download/download_step.h"
#include "ui/form_controls.h"
#include "ui/shared_state.h"

#include <array>

class QLabel;
class QPushButton;

// ダウンロード確認: what the download will write, before anything is written, for its
// outcome `mode` (a schedule or results as a new entry, or results into entry `target`); it
// ends accepted with OK, rejected with Cancel. One class serves both families;
// FormInetChk (match kinds) and FormGoalInetChk (goal kinds) only choose the family.
class InetCheckDialog : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    void cmd_ok_Click();

protected:
    InetCheckDialog(Family family, const RoundEntry &downloaded, DownloadOutcome mode, int target,
                    SharedState &state, QWidget *parent);
    void on_open() override;

private:
    void build_rows(QWidget *area);
    void build_prizes(QWidget *area);

    const Family family_;
    const RoundEntry &downloaded_;
    const DownloadOutcome mode_;
    const int target_;
    SharedState &state_;
    form_ui::SlotRows slot_rows_;
    std::array<QLabel *, kMaxSlots> lbl_kekka1_{};
    std::array<QLabel *, kMaxSlots> lbl_allow_{};
    std::array<QLabel *, kMaxSlots> lbl_kekka2_{};
    QLabel *lbl_kin_heading_ = nullptr;
    std::array<QLabel *, kMaxGrades> lbl_grade_{};
    std::array<QLabel *, kMaxGrades> lbl_kin1_{};
    std::array<QLabel *, kMaxGrades> lbl_kin_allow_{};
    std::array<QLabel *, kMaxGrades> lbl_kin2_{};
    QLabel *lbl_kai_ = nullptr;
    QLabel *lbl_kind_ = nullptr;
    QPushButton *cmd_ok_ = nullptr;
    QPushButton *cmd_cancel_ = nullptr;
};

class FormInetChk : public InetCheckDialog {
    Q_OBJECT

public:
    FormInetChk(const RoundEntry &downloaded, DownloadOutcome mode, int target, SharedState &state,
                QWidget *parent = nullptr);
};

class FormGoalInetChk : public InetCheckDialog {
    Q_OBJECT

public:
    FormGoalInetChk(const RoundEntry &downloaded, DownloadOutcome mode, int target, SharedState &state,
                    QWidget *parent = nullptr);
};
