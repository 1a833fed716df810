#pragma once

#include <QDialog>

// The version box: program name, version and copyright.
class FormAbout : public QDialog {
    Q_OBJECT

public:
    explicit FormAbout(QWidget *parent = nullptr);

    // "Ver." followed by the major version and the minor version in two digits.
    static QString version_text(int major, int minor);
};
