#pragma once

#include <QDialog>
#include <functional>

class PrintDocument;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// 印刷プレビュー: the document's pages one under the other, each drawn only while it is in
// sight, so a document of a thousand pages opens as fast as one of a page.
class PrintPreview : public QDialog {
    Q_OBJECT

public:
    PrintPreview(PrintDocument &document, QWidget *parent = nullptr);

    // What 印刷... and PDFに書き出し... do; afterwards the pages are shown anew, since
    // printing may have changed the paper.
    void set_commands(std::function<void()> print, std::function<void()> pdf);

    // The page in sight (from 0), and going to one.
    int current_page() const;
    void go_to_page(int page);
    // Pages painted since the preview opened: the test that only what is seen gets drawn.
    int pages_painted() const;

private:
    void pages_changed();
    void follow_scroll();

    PrintDocument &document_;
    class PageView;
    PageView *view_ = nullptr;
    QSpinBox *spn_page_ = nullptr;
    QLabel *lbl_pages_ = nullptr;
    QComboBox *cmb_zoom_ = nullptr;
    QPushButton *cmd_print_ = nullptr;
    QPushButton *cmd_pdf_ = nullptr;
    QPushButton *cmd_close_ = nullptr;
    std::function<void()> print_;
    std::function<void()> pdf_;
};
