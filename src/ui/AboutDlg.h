#pragma once

#include "framework/Dialog.h"

// The About box: the icon, the program's name and its version line.
class CAboutDlg : public CDialog {
public:
    CAboutDlg();

protected:
    bool OnInitDialog() override;
};
