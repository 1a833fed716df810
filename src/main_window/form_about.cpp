#include "main_window/form_about.h"

#include <QHBoxLayout>
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

    layout->addWidget(lblTitle);
    layout->addWidget(lblVersion);
    layout->addWidget(lbl_copyright);
    auto *buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons);
}

QString FormAbout::version_text(int major, int minor)
{
    return QStringLiteral("Ver.%1.%2").arg(major).arg(minor, 2, 10, QLatin1Char('0'));
}
