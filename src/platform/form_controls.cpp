#include "platform/form_controls.h"

namespace form_ui {

QString control_name(const char *array, int index)
{
    return QString::fromLatin1(array) + u'_' + QString::number(index);
}

QLabel *make_label(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    if (!name.isEmpty())
        label->setObjectName(name);
    return label;
}

QString row_number_text(int row, bool padded)
{
    return QStringLiteral("%1.").arg(row + 1, padded ? 2 : 0);
}

QFrame *make_separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("separator"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QPushButton *make_ok_button(QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("Ｏ．Ｋ．"), parent);
    button->setObjectName(QStringLiteral("cmd_ok"));
    button->setEnabled(false);
    button->setDefault(true);
    return button;
}

QPushButton *make_cancel_button(QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("キャンセル"), parent);
    button->setObjectName(QStringLiteral("cmd_cancel"));
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout *make_ok_cancel_row(QDialog *dialog, QPushButton *&ok, QPushButton *&cancel)
{
    auto *row = new QHBoxLayout;
    ok = make_ok_button(dialog);
    cancel = make_cancel_button(dialog);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}

} // namespace form_ui
