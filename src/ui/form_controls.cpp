#include "ui/form_controls.h"

#include "book/message_text.h"

#include <QGridLayout>

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

QPushButton *make_ok_button(QWidget *parent, bool enabled)
{
    auto *button = new QPushButton(QStringLiteral("Ｏ．Ｋ．"), parent);
    button->setObjectName(QStringLiteral("cmd_ok"));
    button->setEnabled(enabled);
    button->setDefault(true);
    return button;
}

QPushButton *make_cancel_button(QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("キャンセル"), parent);
    button->setObjectName(QStringLiteral("cmd_cancel"));
    return button;
}

QPushButton *make_button(QWidget *parent, const QString &name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

QHBoxLayout *make_ok_cancel_row(QDialog *dialog, QPushButton *&ok, QPushButton *&cancel, bool ok_enabled)
{
    auto *row = new QHBoxLayout;
    ok = make_ok_button(dialog, ok_enabled);
    cancel = make_cancel_button(dialog);
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return row;
}

QHBoxLayout *make_round_heading(QWidget *parent, QLabel *&lbl_kai, QLabel *&lbl_kind)
{
    auto *head = new QHBoxLayout;
    lbl_kai = make_label(parent, QStringLiteral("lbl_kai"), QString());
    lbl_kind = make_label(parent, QStringLiteral("lbl_kind"), QString());
    head->addWidget(lbl_kai);
    head->addWidget(make_label(parent, QStringLiteral("lbl_kai_mark"), QStringLiteral("回")));
    head->addSpacing(16);
    head->addWidget(lbl_kind);
    head->addStretch();
    return head;
}

void show_round_heading(const RoundEntry &entry, QLabel *lbl_kai, QLabel *lbl_kind)
{
    show_round_label(lbl_kai, entry.kai.text());
    lbl_kind->setText(kind_display_name(entry.kind));
}

void show_round_label(QLabel *lbl_kai, const QString &kai)
{
    lbl_kai->setText(kai);
    // The heading's labels are children of one dialog, side by side.
    if (auto *mark = lbl_kai->parentWidget()->findChild<QLabel *>(QStringLiteral("lbl_kai_mark"),
                                                                  Qt::FindDirectChildrenOnly))
        mark->setVisible(kai_takes_round_mark(kai));
}

SlotRows::SlotRows(QWidget *parent, Family family, int rows, bool padded_numbers)
    : family_(family), rows_(rows)
{
    const bool match = family == Family::match;
    for (int i = 0; i < rows; ++i) {
        const auto s = static_cast<size_t>(i);
        no_[s] = make_label(parent, control_name("lbl_no", i), row_number_text(i, padded_numbers || !match));
        if (match) {
            home_[s] = make_label(parent, control_name("lbl_home", i), QString());
            vs_[s] = make_label(parent, control_name("lbl_vs", i), QStringLiteral("-"));
            away_[s] = make_label(parent, control_name("lbl_away", i), QString());
        } else {
            name_[s] = make_label(parent, control_name("lbl_name", i), QString());
        }
    }
}

void SlotRows::add_headings(QGridLayout *grid, int grid_row) const
{
    QWidget *parent = grid->parentWidget();
    if (family_ == Family::match) {
        grid->addWidget(make_label(parent, QString(), QStringLiteral("ホーム")), grid_row, 1,
                        Qt::AlignHCenter);
        grid->addWidget(make_label(parent, QString(), QStringLiteral("アウェイ")), grid_row, 3,
                        Qt::AlignHCenter);
    } else {
        grid->addWidget(make_label(parent, QString(), QStringLiteral("予想チーム")), grid_row, 1,
                        Qt::AlignHCenter);
    }
}

void SlotRows::add_row(QGridLayout *grid, int row, int grid_row) const
{
    const QList<QWidget *> labels = widgets(row);
    grid->addWidget(labels[0], grid_row, 0, Qt::AlignRight);
    for (int c = 1; c < labels.size(); ++c)
        grid->addWidget(labels[c], grid_row, c);
}

QList<QWidget *> SlotRows::widgets(int row) const
{
    const auto s = static_cast<size_t>(row);
    if (family_ == Family::match)
        return {no_[s], home_[s], vs_[s], away_[s]};
    return {no_[s], name_[s]};
}

void SlotRows::set_names(const RoundEntry &entry, int row) const
{
    const auto s = static_cast<size_t>(row);
    if (family_ == Family::match) {
        home_[s]->setText(entry.matches[s].home.text());
        away_[s]->setText(entry.matches[s].away.text());
    } else if (s < entry.teams.size()) {
        name_[s]->setText(entry.teams[s].team.text());
    }
}

} // namespace form_ui
