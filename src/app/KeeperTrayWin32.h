#pragma once

#include <windows.h>

#include <string>

// A keeper's icon in the notification area, owned by the keeper's hidden window: its
// tooltip says what the keeper does, its menu sends the window the keeper's commands
// (kKeeperCommand... in KeeperLinkWin32.h) as WM_COMMAND. Gone with the object.
class KeeperTrayIcon {
public:
    // The message the icon sends its window on a click (lParam: the mouse message).
    static constexpr UINT kCallbackMessage = WM_APP + 1;

    KeeperTrayIcon() = default;
    ~KeeperTrayIcon() { Remove(); }
    KeeperTrayIcon(const KeeperTrayIcon&) = delete;
    KeeperTrayIcon& operator=(const KeeperTrayIcon&) = delete;

    // Adds the icon to the notification area (again, after the task bar was made anew).
    void Show(HWND owner);
    void SetTip(const std::string& tip);
    void Remove();
    // The menu at the cursor; the chosen command goes to the owner.
    void ShowMenu(bool paused) const;

private:
    HWND m_owner = nullptr;
    std::wstring m_tip;
    bool m_shown = false;
};
