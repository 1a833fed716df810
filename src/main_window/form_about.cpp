#include "main_window/form_about.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef YORIMO_VERSION_MAJOR
#error "the build defines the program version"
#endif

FormAbout::FormAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *lblTitle = new QLabel(QStringLiteral("ｙｏｒｉｍｏ"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    lblTitle->setFont(big);
    auto *lblVersion = new QLabel(version_text(YORIMO_VERSION_MAJOR, YORIMO_VERSION_MINOR), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    auto *lbl_copyright = new QLabel(QStringLiteral("Copyright (C) Brindlecap"), this);
    lbl_copyright->setObjectName(QStringLiteral("lbl_copyright"));
    auto *cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *lbl_description = new QLabel(QStringLiteral("toto・BIGの購入記録と当選チェック"), this);
    lbl_description->setObjectName(QStringLiteral("lbl_description"));
    auto *img_icon = new QLabel(this);
    img_icon->setObjectName(QStringLiteral("img_icon"));
    img_icon->setPixmap(QIcon(QStringLiteral(":/icons/program.svg")).pixmap(QSize(64, 64)));
    img_icon->setAlignment(Qt::AlignTop);

    auto *texts = new QVBoxLayout();
    texts->addWidget(lblTitle);
    texts->addWidget(lbl_description);
    texts->addWidget(lblVersion);
    texts->addWidget(lbl_copyright);
    auto *beside = new QHBoxLayout();
    beside->addWidget(img_icon);
    beside->addSpacing(12);
    beside->addLayout(texts, 1);
    layout->addLayout(beside);
    auto *buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons);
}

QString FormAbout::version_text(int major, int minor)
{
    return QStringLiteral("Ver.%1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
}
