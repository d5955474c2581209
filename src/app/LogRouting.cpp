#include "app/LogRouting.h"

#include "framework/WinApp.h"
#include "ui/RampwiseDlg.h"

void AddLogLineToMainDialog(const char* format, std::va_list args)
{
    CWinApp* app = AfxGetApp();
    if (auto* dialog = app ? dynamic_cast<CRampwiseDlg*>(app->GetMainWnd()) : nullptr)
        dialog->AddLogLineV(format, args);
}
