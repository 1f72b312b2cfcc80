// The base of the program's dialogs.  It will give them their skinned frame;
// for now a dialog is a plain QDialog.
#pragma once

#include <QDialog>
#include <QFont>

class CSkinDialog : public QDialog
{
public:
    using QDialog::QDialog;

    // The program's dialog font: "仿宋_GB2312" at 10 points, or the nearest
    // face this machine has.
    static QFont DialogFont();
};
