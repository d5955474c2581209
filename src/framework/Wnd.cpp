#include "framework/Wnd.h"

#include <exception>
#include <utility>

#include "framework/WinApp.h"

namespace {

constexpr char kObjectProperty[] = "Rampwise.CWnd";
constexpr char kPlainWindowClass[] = "RampwiseWindow";

// The object that the next window created on this thread belongs to.
thread_local CWnd* t_pendingWindow = nullptr;

} // namespace

const MessageEntry CWnd::kMessageEntries[] = {
    On<WM_DRAWITEM, &CWnd::OnDrawItem>(),
    On<WM_COMMAND, &CWnd::RouteCommand>(),
};
const MessageMap CWnd::kMessageMap{nullptr, kMessageEntries};

CWnd::~CWnd()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    return hwnd ? static_cast<CWnd*>(GetPropA(hwnd, kObjectProperty)) : nullptr;
}

const char* CWnd::RegisterWindowClass()
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kPlainWindowClass;
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExA(windowClass.hInstance, kPlainWindowClass, &existing))
        RegisterClassExA(&windowClass);
    return kPlainWindowClass;
}

bool CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menuOrId)
{
    CREATESTRUCTA create{};
    create.dwExStyle = exStyle;
    create.lpszClass = className;
    create.lpszName = windowName;
    create.style = static_cast<LONG>(style);
    create.x = x;
    create.y = y;
    create.cx = width;
    create.cy = height;
    create.hwndParent = parent;
    create.hMenu = menuOrId;
    create.hInstance = GetModuleHandleA(nullptr);
    if (!PreCreateWindow(create))
        return false;

    WindowCreationScope scope(*this);
    HWND hwnd = CreateWindowExA(create.dwExStyle, create.lpszClass, create.lpszName,
                                static_cast<DWORD>(create.style), create.x, create.y, create.cx, create.cy,
                                create.hwndParent, create.hMenu, create.hInstance, nullptr);
    return hwnd != nullptr && hwnd == m_hWnd;
}

bool CWnd::PreCreateWindow(CREATESTRUCTA&)
{
    return true;
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_hWnd || FromHandle(hwnd))
        return false;
    Attach(hwnd);
    return true;
}

bool CWnd::SubclassDlgItem(int id, CWnd& parent)
{
    return SubclassWindow(GetDlgItem(parent.m_hWnd, id));
}

bool CWnd::DestroyWindow()
{
    return m_hWnd && ::DestroyWindow(m_hWnd);
}

RECT CWnd::GetClientRect() const
{
    RECT rect{};
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

void CWnd::Invalidate(bool erase) const
{
    InvalidateRect(m_hWnd, nullptr, erase ? TRUE : FALSE);
}

CommandLookup CWnd::FindCommand(UINT id, UINT notifyCode) const
{
    for (const CommandMap* map = GetCommandMap(); map; map = map->base) {
        for (const CommandEntry& entry : map->entries) {
            if (entry.id == id && entry.notifyCode == notifyCode)
                return CommandLookup{entry.command, entry.update};
        }
    }
    return {};
}

// Called for WM_COMMAND. Menu items, accelerators and button clicks are commands;
// other control notifications match by their code. What no table handles goes to
// the window's own procedure (for a dialog, the dialog manager).
LRESULT CWnd::RouteCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT code = HIWORD(wParam);
    const UINT notifyCode = (lParam == 0 || code == BN_CLICKED) ? 0 : code;
    const CommandLookup found = FindCommand(LOWORD(wParam), notifyCode);
    if (!found.command)
        return Default();
    found.command(*this);
    return 0;
}

void CWnd::DrawItem(DRAWITEMSTRUCT&)
{
}

void CWnd::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    SetPropA(hwnd, kObjectProperty, this);
    m_superProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc)));
}

void CWnd::Detach()
{
    if (!m_hWnd)
        return;
    SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superProc));
    RemovePropA(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
    m_superProc = nullptr;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
        for (const MessageEntry& entry : map->entries) {
            if (entry.Matches(message))
                return entry.thunk(*this, wParam, lParam);
        }
    }
    return Default();
}

LRESULT CWnd::Default()
{
    return CallWindowProcA(m_superProc ? m_superProc : DefWindowProcA, m_hWnd, m_current.message,
                           m_current.wParam, m_current.lParam);
}

// Owner-drawn controls draw themselves: the parent hands the request to the control.
bool CWnd::OnDrawItem(int, DRAWITEMSTRUCT& item)
{
    if (item.CtlType != ODT_MENU) {
        if (CWnd* control = FromHandle(item.hwndItem)) {
            control->DrawItem(item);
            return true;
        }
    }
    return Default() != 0;
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* window = FromHandle(hwnd);
    if (!window)
        return DefWindowProcA(hwnd, message, wParam, lParam);

    const CurrentMessage outer = std::exchange(window->m_current, CurrentMessage{message, wParam, lParam});
    LRESULT result = 0;
    try {
        result = window->WindowProc(message, wParam, lParam);
    } catch (const std::exception& error) {
        ReportHandlerException(error.what());
    } catch (...) {
        ReportHandlerException("Command failed.");
    }
    window->m_current = outer;

    if (message == WM_NCDESTROY) {
        window->Detach();
        window->PostNcDestroy();
    }
    return result;
}

WindowCreationScope::WindowCreationScope(CWnd& window)
    : m_previousPending(std::exchange(t_pendingWindow, &window)),
      m_hook(SetWindowsHookExA(WH_CBT, &WindowCreationScope::CbtProc, nullptr, GetCurrentThreadId()))
{
}

WindowCreationScope::~WindowCreationScope()
{
    if (m_hook)
        UnhookWindowsHookEx(m_hook);
    t_pendingWindow = m_previousPending;
}

LRESULT CALLBACK WindowCreationScope::CbtProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_pendingWindow) {
        // The first window created in the scope is the object's; windows that its
        // creation messages create in turn are not.
        CWnd* window = std::exchange(t_pendingWindow, nullptr);
        window->Attach(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ReportHandlerException(const char* what)
{
    if (!what || !*what)
        what = "Command failed.";
    CWinApp* app = AfxGetApp();
    MessageBoxA(nullptr, what, app ? app->AppName().c_str() : "Rampwise", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}
