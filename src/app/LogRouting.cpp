#include "app/LogRouting.h"

#include "framework/WinApp.h"
#include "ui/RampwiseDlg.h"

bool AddLogLineToMainDialog(const char* format, std::va_list args)
{
    CWinApp* app = AfxGetApp();
    auto* dialog = app ? dynamic_cast<CRampwiseDlg*>(app->GetMainWnd()) : nullptr;
    if (dialog)
        dialog->AddLogLineV(format, args);
    return dialog != nullptr;
}
