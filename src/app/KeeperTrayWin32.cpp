#include "app/KeeperTrayWin32.h"

#include <shellapi.h>

#include <algorithm>

#include "app/KeeperLinkWin32.h"
#include "base/TextWin32.h"
#include "res/resource.h"

namespace {

NOTIFYICONDATAW IconData(HWND owner)
{
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = 1;
    return data;
}

} // namespace

void KeeperTrayIcon::Show(HWND owner)
{
    m_owner = owner;
    NOTIFYICONDATAW data = IconData(owner);
    data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    std::copy_n(m_tip.c_str(), std::min(m_tip.size() + 1, std::size(data.szTip) - 1), data.szTip);
    // Without a notification area (a session without a task bar) the keeper keeps all the same.
    m_shown = Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void KeeperTrayIcon::SetTip(const std::string& tip)
{
    m_tip = WideFromAnsi(tip, CP_UTF8);
    if (!m_shown)
        return;
    NOTIFYICONDATAW data = IconData(m_owner);
    data.uFlags = NIF_TIP;
    std::copy_n(m_tip.c_str(), std::min(m_tip.size() + 1, std::size(data.szTip) - 1), data.szTip);
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void KeeperTrayIcon::Remove()
{
    if (!m_shown)
        return;
    NOTIFYICONDATAW data = IconData(m_owner);
    Shell_NotifyIconW(NIM_DELETE, &data);
    m_shown = false;
}

void KeeperTrayIcon::ShowMenu(bool paused) const
{
    const HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    AppendMenuA(menu, MF_STRING, kKeeperCommandOpen, "Open Rampwise");
    AppendMenuA(menu, MF_STRING, kKeeperCommandReapply, "Re-apply now");
    AppendMenuA(menu, MF_STRING, paused ? kKeeperCommandResume : kKeeperCommandPause,
                paused ? "Resume keeping" : "Pause keeping");
    AppendMenuA(menu, MF_STRING, kKeeperCommandStop, "Stop keeping");
    POINT at{};
    GetCursorPos(&at);
    // The owner comes to the front first, or the menu would not close when clicked away.
    SetForegroundWindow(m_owner);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, m_owner, nullptr);
    PostMessageA(m_owner, WM_NULL, 0, 0);
    DestroyMenu(menu);
}
