#pragma once

#include <QLineEdit>
#include <cstdint>

class UiServices;

// A prize amount box that behaves like a calculator display: digits go in at the right
// end, the text always shows thousands separators and never exceeds the maximum.
class AmountBox : public QLineEdit {
    Q_OBJECT

public:
    AmountBox(UiServices &ui, QWidget *parent = nullptr);

    void set_max(int64_t max);
    int64_t max() const { return max_; }
    int64_t amount() const; // read_amount of the text

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void normalize();
    void type_digit(const QString &digit);

    UiServices &ui_;
    int64_t max_ = 0;
    bool normalizing_ = false;
};
