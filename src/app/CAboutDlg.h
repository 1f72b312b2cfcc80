// The About box: the program's icon, name and version, its maker, OK.
#pragma once

#include "CSkinDialog.h"

class CAboutDlg : public CSkinDialog
{
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};
