#include "resize/AnchoredDialog.h"

#include "framework/Dpi.h"

const MessageEntry CAnchoredDialog::kMessageEntries[] = {
    On<WM_CREATE, &CAnchoredDialog::OnCreate>(),
    On<WM_SIZE, &CAnchoredDialog::OnSize>(),
    On<WM_GETMINMAXINFO, &CAnchoredDialog::OnGetMinMaxInfo>(),
    On<WM_ERASEBKGND, &CAnchoredDialog::OnEraseBkgnd>(),
    On<WM_DESTROY, &CAnchoredDialog::OnDestroy>(),
    On<WM_DPICHANGED, &CAnchoredDialog::OnDpiChanged>(),
};
const MessageMap CAnchoredDialog::kMessageMap{&CDialog::kMessageMap, kMessageEntries};

CAnchoredDialog::CAnchoredDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent)
{
}

CAnchoredDialog::~CAnchoredDialog() = default;

// Called when the dialog window is created, before its controls.
int CAnchoredDialog::OnCreate(CREATESTRUCTA&)
{
    if (Default() == -1)
        return -1;
    LeaveDialogDpiScalingToOwner(m_hWnd);
    return m_resizer.OnCreate() ? 0 : -1;
}

// Called on every size change.
void CAnchoredDialog::OnSize(UINT type, int, int)
{
    Default();
    m_resizer.OnSize(type);
}

// Called when the platform asks for the size limits; no default processing.
void CAnchoredDialog::OnGetMinMaxInfo(MINMAXINFO& limits)
{
    m_resizer.OnGetMinMaxInfo(limits);
}

// Called to erase the background.
bool CAnchoredDialog::OnEraseBkgnd(HDC hdc)
{
    m_resizer.OnEraseBkgnd(hdc);
    return true;
}

// Called when the dialog is destroyed.
void CAnchoredDialog::OnDestroy()
{
    m_resizer.OnDestroy();
    Default();
}

// Called when the window moves to a monitor of another DPI, or that monitor's DPI
// changes; the resizer does what the default processing would, and more.
void CAnchoredDialog::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    m_resizer.OnDpiChanged(dpi, suggested);
}
