#include "ui/AboutDlg.h"

#include "res/resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX)
{
}

bool CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    char version[128] = {};
    LoadStringA(GetModuleHandleA(nullptr), IDS_VERSION, version, sizeof(version));
    SetDlgItemTextA(m_hWnd, IDC_VERSION, version);
    return true;
}
