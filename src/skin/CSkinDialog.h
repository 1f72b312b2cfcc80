// The base of the program's dialogs.  It will give them their skinned frame;
// for now a dialog is a plain QDialog.
#pragma once

#include <QDialog>

class CSkinDialog : public QDialog
{
public:
    using QDialog::QDialog;
};
