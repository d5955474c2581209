#include "app/LogRouting.h"

#include "framework/WinApp.h"
#include "ui/RampwiseDlg.h"

namespace {

CRampwiseDlg* MainDialog()
{
    CWinApp* app = AfxGetApp();
    return app ? dynamic_cast<CRampwiseDlg*>(app->GetMainWnd()) : nullptr;
}

} // namespace

void AddLogLineToMainDialog(const char* format, std::va_list args)
{
    if (CRampwiseDlg* dialog = MainDialog())
        dialog->AddLogLineV(format, args);
}

bool MainDialogTakesLog()
{
    return MainDialog() != nullptr;
}
