#pragma once

#include "book/ticket_lines.h"
#include "ui/book_commits.h"
#include "ui/form_controls.h"
#include "ui/shared_state.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class UiServices;

// まとめて入力: many tickets for the round `current` at once, typed or pasted one per line
// in the ticket-line notation. The lines are read again a moment after each change (a paste
// of thousands of lines must not stall the typing); the summary, the marks of the lines
// with errors and the list of reasons follow. OK adds every ticket as one step.
class FormQuick : public form_ui::OpeningDialog {
    Q_OBJECT

public:
    FormQuick(SharedState &state, UiServices &ui, Commit<std::vector<NewPurchase>> commit,
              QWidget *parent = nullptr);

    // Reads the lines now rather than after the pause.
    void parse_now();
    // What the lines held when they were last read.
    const ParsedTickets &parsed() const { return parsed_; }
    // Waiting for the pause after a change to read the lines again.
    bool parse_pending() const;

    static constexpr int kParseDelayMs = 200;

    // Closing without OK: typed lines are thrown away only once the user says so.
    void reject() override;

protected:
    void on_open() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void txt_lines_Change();
    void show_parsed();
    void mark_error_lines();
    void lst_errors_Click(QListWidgetItem *item);
    void cmd_ok_Click();
    // The reason of an error on `line` (from 1), or "".
    QString error_of_line(int line) const;
    // What keeps the lines out of the book besides their errors: a limit of the book.
    QString limit_text() const;

    SharedState &state_;
    UiServices &ui_;
    Commit<std::vector<NewPurchase>> commit_;
    const Family family_;
    form_ui::SlotRows slot_rows_;
    ParsedTickets parsed_;

    QLabel *lbl_kai_ = nullptr;
    QLabel *lbl_kind_ = nullptr;
    QLabel *lbl_hint_ = nullptr;
    QPlainTextEdit *txt_lines_ = nullptr;
    QLabel *lbl_summary_ = nullptr;
    QLabel *lbl_errors_ = nullptr;
    QListWidget *lst_errors_ = nullptr;
    QTimer *tmr_parse_ = nullptr;
    QPushButton *cmd_ok_ = nullptr;
    QPushButton *cmd_cancel_ = nullptr;
};
