#include "framework/Dialog.h"

#include <exception>
#include <optional>
#include <utility>
#include <stdexcept>
#include <string>

#include "framework/WinApp.h"

// How a dialog's messages flow. DoModal creates the dialog inside a
// WindowCreationScope: the dialog manager creates the dialog window with
// CreateWindowEx, whose HCBT_CREATEWND hook call subclasses it before WM_NCCREATE
// (checked under Wine by FrameworkDialog tests). Every message then reaches
// CWnd::StdWndProc first, the class's tables next, and Default() hands the rest to
// the dialog class's own procedure (DefDlgProc), which does the dialog manager's
// work and asks DialogProc below. Because the tables sit in front of DefDlgProc,
// a handler's return value is the message's result as it stands; DWLP_MSGRESULT
// plays no part.

// Enter, the OK button and a menu item with id 1 send IDOK; Escape, the Cancel
// button and the close box (through DefDlgProc's WM_CLOSE) send IDCANCEL. The
// handlers are virtual, so an override of OnOK or OnCancel is what runs.
const CommandEntry CDialog::kCommandEntries[] = {
    Command<IDOK, &CDialog::OnOK>(),
    Command<IDCANCEL, &CDialog::OnCancel>(),
};
const CommandMap CDialog::kCommandMap{nullptr, kCommandEntries};

void DDX_Control(CDataExchange& dx, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    if (!control.SubclassDlgItem(id, dx.Dialog()))
        throw std::logic_error("dialog item " + std::to_string(id) + " cannot be bound");
}

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_parent(parent)
{
}

namespace {

// The innermost modal dialog with accelerators on this thread.
thread_local CDialog* t_acceleratedDialog = nullptr;

// Installs the message filter that lets a modal dialog's accelerators through the
// dialog manager's own message loop, and removes it again.
class AcceleratorScope {
public:
    AcceleratorScope(CDialog& dialog, HOOKPROC filter) : m_previous(std::exchange(t_acceleratedDialog, &dialog))
    {
        m_hook = SetWindowsHookExA(WH_MSGFILTER, filter, nullptr, GetCurrentThreadId());
    }
    ~AcceleratorScope()
    {
        if (m_hook)
            UnhookWindowsHookEx(m_hook);
        t_acceleratedDialog = m_previous;
    }
    AcceleratorScope(const AcceleratorScope&) = delete;
    AcceleratorScope& operator=(const AcceleratorScope&) = delete;

private:
    CDialog* m_previous;
    HHOOK m_hook = nullptr;
};

} // namespace

// Without a parent the dialog is owned by the program's main window, once that is up:
// the main window is then disabled while the dialog runs, and the dialog gets no
// task-bar button of its own.
INT_PTR CDialog::DoModal()
{
    const CWinApp* app = AfxGetApp();
    const CWnd* parent = m_parent ? m_parent : app ? app->GetMainWnd() : nullptr;
    HWND owner = parent ? parent->m_hWnd : nullptr;
    std::optional<AcceleratorScope> accelerators;
    if (m_accelerators)
        accelerators.emplace(*this, &CDialog::MessageFilterProc);
    WindowCreationScope scope(*this);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), owner, &CDialog::DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

// Called for the messages of the dialog manager's modal loop. Keys for this dialog or
// its controls (not for a dialog opened on top of it) go through its accelerators.
LRESULT CALLBACK CDialog::MessageFilterProc(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    CDialog* dialog = t_acceleratedDialog;
    if (code == MSGF_DIALOGBOX && dialog && dialog->m_hWnd && msg &&
        (msg->hwnd == dialog->m_hWnd || IsChild(dialog->m_hWnd, msg->hwnd)) &&
        TranslateAcceleratorA(dialog->m_hWnd, dialog->m_accelerators, msg))
        return TRUE;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CDialog::EndDialog(INT_PTR result)
{
    ::EndDialog(m_hWnd, result);
}

void CDialog::DoDataExchange(CDataExchange&)
{
}

bool CDialog::OnInitDialog()
{
    return true;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::InitDialog()
{
    CDataExchange dx(*this);
    DoDataExchange(dx);
    return OnInitDialog();
}

// Asked by DefDlgProc for messages that the tables left to it. Only WM_INITDIALOG
// matters here: its result (focus or not) is returned straight to the dialog
// manager. It also carries the object, which is the fall-back should the creation
// hook ever miss the dialog window: the object is then bound here, and only the
// messages before WM_INITDIALOG (creation included) bypass its tables.
INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    if (!dialog)
        return FALSE;
    if (dialog->m_hWnd != hwnd && !dialog->SubclassWindow(hwnd)) {
        ::EndDialog(hwnd, -1);
        return FALSE;
    }
    try {
        return dialog->InitDialog() ? TRUE : FALSE;
    } catch (const std::exception& error) {
        ReportHandlerException(error.what());
    } catch (...) {
        ReportHandlerException("Command failed.");
    }
    // A dialog whose initialisation failed half-way is not shown.
    ::EndDialog(hwnd, -1);
    return FALSE;
}
