// The keeper on Windows: one process per display of a session, found through a named
// mutex, that puts the ramp back when the display no longer holds it.

#include "app/Keeper.h"

#include <windows.h>
#include <shellapi.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/DisplayKeepPort.h"
#include "app/KeeperLinkWin32.h"
#include "app/KeeperTrayWin32.h"
#include "base/UserFolders.h"
#include "base/WinHandles.h"
#include "framework/Wnd.h"
#include "lut/AdvancedColourWin32.h"
#include "lut/DisplayAccess.h"

namespace {

using Clock = KeepSchedule::Clock;

// The console's display state in a power-setting notification: 0 off, 1 on, 2 dimmed.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
constexpr DWORD kEndWaitMs = kKeeperEndSeconds * 1000;
constexpr DWORD kStopRepeatMs = 100;

// The hidden window of a keeper, which hears of the events. It is never shown, but it
// is a top-level window: a message-only window would miss the display-change broadcast.
class CKeeperWnd : public CWnd {
public:
    explicit CKeeperWnd(std::deque<KeepWake>& wakes) : m_wakes(wakes) {}
    ~CKeeperWnd() override { Destroy(); }

    // With `icon`, the keeper shows its icon in the notification area.
    bool Create(const std::string& monitor, bool icon);
    void Destroy();
    KeeperTrayIcon& Icon() { return m_icon; }

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }
    // The icon's messages and the task bar's "TaskbarCreated" are known only at run time.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    LRESULT OnDisplayChange(WPARAM, LPARAM);
    LRESULT OnSessionChange(WPARAM change, LPARAM);
    LRESULT OnPowerBroadcast(WPARAM event, LPARAM setting);
    LRESULT OnCopyData(WPARAM, LPARAM data);
    LRESULT OnQueryEndSession(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnEndSession(WPARAM ending, LPARAM);
    LRESULT OnCommand(WPARAM command, LPARAM);

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;

private:
    void Event(const char* cause) { m_wakes.push_back(KeepWake::Of(KeepWake::Kind::Event, cause)); }

    std::deque<KeepWake>& m_wakes;
    KeeperTrayIcon m_icon;
    bool m_showsIcon = false;
    bool m_paused = false;  // by the icon's menu
    UINT m_taskbarCreated = 0;
    HPOWERNOTIFY m_powerNotification = nullptr;
    bool m_sessionNotification = false;
    std::optional<DWORD> m_displayState;  // 0 off, 1 on, 2 dimmed; unknown until reported
};

const MessageEntry CKeeperWnd::kMessageEntries[] = {
    On<WM_DISPLAYCHANGE, &CKeeperWnd::OnDisplayChange>(),
    On<WM_WTSSESSION_CHANGE, &CKeeperWnd::OnSessionChange>(),
    On<WM_POWERBROADCAST, &CKeeperWnd::OnPowerBroadcast>(),
    On<WM_COPYDATA, &CKeeperWnd::OnCopyData>(),
    On<WM_QUERYENDSESSION, &CKeeperWnd::OnQueryEndSession>(),
    On<WM_ENDSESSION, &CKeeperWnd::OnEndSession>(),
    On<WM_COMMAND, &CKeeperWnd::OnCommand>(),
};
const MessageMap CKeeperWnd::kMessageMap{&CWnd::kMessageMap, kMessageEntries};

bool CKeeperWnd::Create(const std::string& monitor, bool icon)
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kKeeperWindowClass;
    RegisterClassExA(&windowClass);
    if (!CreateEx(WS_EX_TOOLWINDOW, kKeeperWindowClass, KeeperWindowTitle(monitor).c_str(), WS_POPUP, 0, 0, 0,
                  0, nullptr, nullptr))
        return false;
    // Either may be missing (an older system, a session service that is not running):
    // the periodic check still keeps the display.
    m_sessionNotification = WTSRegisterSessionNotification(m_hWnd, NOTIFY_FOR_THIS_SESSION) != FALSE;
    m_powerNotification = RegisterPowerSettingNotification(m_hWnd, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
    m_showsIcon = icon;
    m_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    if (icon)
        m_icon.Show(m_hWnd);
    return true;
}

LRESULT CKeeperWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == KeeperTrayIcon::kCallbackMessage) {
        if (LOWORD(lParam) == WM_RBUTTONUP || LOWORD(lParam) == WM_CONTEXTMENU)
            m_icon.ShowMenu(m_paused);
        else if (LOWORD(lParam) == WM_LBUTTONDBLCLK)
            OnCommand(kKeeperCommandOpen, 0);
        return 0;
    }
    if (message == m_taskbarCreated && m_taskbarCreated != 0 && m_showsIcon) {
        m_icon.Show(m_hWnd);
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// Called with a command of the icon's menu (or one sent to the keeper's window).
LRESULT CKeeperWnd::OnCommand(WPARAM command, LPARAM)
{
    switch (LOWORD(command)) {
    case kKeeperCommandOpen: {
        char program[MAX_PATH] = "";
        if (GetModuleFileNameA(nullptr, program, MAX_PATH) > 0)
            ShellExecuteA(nullptr, "open", program, nullptr, nullptr, SW_SHOWNORMAL);
        break;
    }
    case kKeeperCommandReapply:
        Event("request");
        break;
    case kKeeperCommandPause:
    case kKeeperCommandResume:
        m_paused = LOWORD(command) == kKeeperCommandPause;
        m_wakes.push_back(KeepWake::Of(m_paused ? KeepWake::Kind::Pause : KeepWake::Kind::Resume));
        break;
    case kKeeperCommandStop:
        m_wakes.push_back(KeepWake::Of(KeepWake::Kind::Stop));
        break;
    default:
        break;
    }
    return 0;
}

void CKeeperWnd::Destroy()
{
    if (m_sessionNotification)
        WTSUnRegisterSessionNotification(m_hWnd);
    if (m_powerNotification)
        UnregisterPowerSettingNotification(m_powerNotification);
    m_sessionNotification = false;
    m_powerNotification = nullptr;
    m_icon.Remove();
    DestroyWindow();
}

// Called when a display's mode or the set of displays changes.
LRESULT CKeeperWnd::OnDisplayChange(WPARAM, LPARAM)
{
    Event("display change");
    return 0;
}

// Called when the session is unlocked or reconnected to the console, among others.
LRESULT CKeeperWnd::OnSessionChange(WPARAM change, LPARAM)
{
    if (change == WTS_SESSION_UNLOCK || change == WTS_CONSOLE_CONNECT)
        Event("unlock");
    return 0;
}

// Called on suspend and resume, and when the console's display turns on or off.
LRESULT CKeeperWnd::OnPowerBroadcast(WPARAM event, LPARAM setting)
{
    if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND)
        Event("resume");
    const auto* changed = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
    if (event != PBT_POWERSETTINGCHANGE || !changed || changed->PowerSetting != kConsoleDisplayState ||
        changed->DataLength < sizeof(DWORD))
        return TRUE;
    // The first notification reports the state at registration; only a display that
    // comes back on counts.
    DWORD state = 0;
    std::memcpy(&state, changed->Data, sizeof(state));
    if (state == 1 && m_displayState && *m_displayState != 1)
        Event("display change");
    m_displayState = state;
    return TRUE;
}

// Called when the main window wrote a ramp to this display: it is the one to keep now.
LRESULT CKeeperWnd::OnCopyData(WPARAM, LPARAM data)
{
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(data);
    KeepWake wake = KeepWake::Of(KeepWake::Kind::NewRamp);
    if (!copy || copy->dwData != kKeeperRampTag || copy->cbData < sizeof(wake.ramp.entries) || !copy->lpData)
        return FALSE;
    std::memcpy(wake.ramp.entries.data(), copy->lpData, sizeof(wake.ramp.entries));
    wake.source.assign(static_cast<const char*>(copy->lpData) + sizeof(wake.ramp.entries),
                       copy->cbData - sizeof(wake.ramp.entries));
    m_wakes.push_back(wake);
    return TRUE;
}

// Called when the session ends: so does the keeper.
LRESULT CKeeperWnd::OnEndSession(WPARAM ending, LPARAM)
{
    if (ending)
        PostQuitMessage(0);
    return 0;
}

// A /keep claims its display before it waits for the display's keeper to end: the
// shared value holds the process id of the last one that did. The last /keep wins: a
// waiter that finds a later claim gives up.
class DisplayClaim {
public:
    explicit DisplayClaim(const std::string& monitor)
        : m_mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                       KeeperClaimName(monitor).c_str())),
          m_value(m_mapping ? static_cast<LONG*>(MapViewOfFile(m_mapping.Get(), FILE_MAP_WRITE, 0, 0, sizeof(LONG)))
                            : nullptr)
    {
        if (m_value)
            InterlockedExchange(m_value, static_cast<LONG>(GetCurrentProcessId()));
    }
    ~DisplayClaim()
    {
        if (m_value)
            UnmapViewOfFile(m_value);
    }
    DisplayClaim(const DisplayClaim&) = delete;
    DisplayClaim& operator=(const DisplayClaim&) = delete;

    // Whether a later /keep has claimed the display since.
    bool Superseded() const
    {
        return m_value && InterlockedCompareExchange(m_value, 0, 0) != static_cast<LONG>(GetCurrentProcessId());
    }

private:
    KernelObject m_mapping;
    LONG* m_value;
};

// Ends the display's keeper, if it has one, and waits until it has ended: Failed when
// it did not end in time. With `takeOver` the caller gets the mutex and is the
// display's keeper from then on, unless `claim` is superseded meanwhile.
KeepPort::TakeOverResult EndKeeper(const std::string& monitor, KernelObject* takeOver,
                                   const DisplayClaim* claim = nullptr)
{
    using Result = KeepPort::TakeOverResult;
    const std::string mutexName = KeeperMutexName(monitor), stopName = KeeperStopEventName(monitor);
    KernelObject mutex(takeOver ? CreateMutexA(nullptr, FALSE, mutexName.c_str())
                                : OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, mutexName.c_str()));
    if (!mutex)  // no keeper to end; a keeper that cannot make its mutex cannot keep
        return takeOver ? Result::Failed : Result::Taken;
    // The stop is asked for again and again: a keeper that holds the mutex may not have
    // made its stop event yet, or may be clearing a stop meant for the one before it.
    bool ended = false;
    for (DWORD waited = 0; !ended && waited < kEndWaitMs; waited += kStopRepeatMs) {
        if (claim && claim->Superseded())
            return Result::Superseded;
        ended = WaitForSingleObject(mutex.Get(), waited == 0 ? 0 : kStopRepeatMs) != WAIT_TIMEOUT;
        if (!ended) {
            if (KernelObject stop{OpenEventA(EVENT_MODIFY_STATE, FALSE, stopName.c_str())})
                SetEvent(stop.Get());
        }
    }
    if (!ended)
        return Result::Failed;
    if (takeOver && !(claim && claim->Superseded())) {
        *takeOver = std::move(mutex);
        return Result::Taken;
    }
    ReleaseMutex(mutex.Get());
    return takeOver ? Result::Superseded : Result::Taken;
}

// The mutex and stop event of the display, the hidden window and the message queue.
class Win32KeepPort final : public DisplayKeepPort {
public:
    explicit Win32KeepPort(bool icon) : m_window(m_wakes), m_showsIcon(icon) {}
    // The window and the status file go while the mutex is still held: the next keeper
    // of the display may be waiting for it.
    ~Win32KeepPort() override
    {
        m_window.Destroy();
        if (m_statusFile) {
            std::error_code error;
            std::filesystem::remove(*m_statusFile, error);
        }
        if (m_mutex)
            ReleaseMutex(m_mutex.Get());
    }

    TakeOverResult TakeOver(const std::string& monitor) override;
    std::vector<DisplayListing> Displays() override { return ListDisplays(); }
    bool InHdrMode(int displayIndex) override { return DisplayInHdrMode(displayIndex); }
    // Also into the icon's tooltip.
    void Publish(const KeepStatus& status) override
    {
        DisplayKeepPort::Publish(status);
        m_tip = FormatKeepTooltip(status);
        m_window.Icon().SetTip(m_tip);
    }
    KeepWake Wait(Clock::time_point until) override;

private:
    std::deque<KeepWake> m_wakes;  // what the window heard of, oldest first
    CKeeperWnd m_window;
    KernelObject m_mutex;
    KernelObject m_stop;
    std::string m_monitor;
    bool m_showsIcon;
    std::string m_tip;
};

KeepPort::TakeOverResult Win32KeepPort::TakeOver(const std::string& monitor)
{
    const DisplayClaim claim(monitor);
    KernelObject mutex;
    if (const TakeOverResult taken = EndKeeper(monitor, &mutex, &claim); taken != TakeOverResult::Taken)
        return taken;
    m_mutex = std::move(mutex);
    m_stop = KernelObject(CreateEventA(nullptr, FALSE, FALSE, KeeperStopEventName(monitor).c_str()));
    // A stop meant for the keeper before, set as it was ending, is not for this one.
    if (m_stop)
        ResetEvent(m_stop.Get());
    m_monitor = monitor;
    if (const std::optional<std::filesystem::path> folder = ProgramFolder(UserFolder::State))
        m_statusFile = *folder / KeeperStatusFileName(monitor);
    return m_stop ? TakeOverResult::Taken : TakeOverResult::Failed;
}

// The window is made once the ramp is on the display: the main window finds a keeper
// by it, and a ramp it hands over earlier would be overwritten by the keeper's own.
KeepWake Win32KeepPort::Wait(Clock::time_point until)
{
    if (!m_window.m_hWnd) {
        m_window.Icon().SetTip(m_tip);
        if (!m_window.Create(m_monitor, m_showsIcon))
            return KeepWake::Of(KeepWake::Kind::Gone);
    }
    for (;;) {
        if (!m_wakes.empty()) {
            KeepWake wake = m_wakes.front();
            m_wakes.pop_front();
            return wake;
        }
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
        const HANDLE stop = m_stop.Get();
        const DWORD woken = MsgWaitForMultipleObjects(1, &stop, FALSE, wait > 0 ? static_cast<DWORD>(wait) : 0,
                                                      QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED)
            return KeepWake::Of(KeepWake::Kind::Stop);
        if (woken == WAIT_TIMEOUT)
            return KeepWake::Of(KeepWake::Kind::Due);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return KeepWake::Of(KeepWake::Kind::Stop);
            DispatchMessageA(&message);
        }
    }
}

// The monitor of each keeper window of this desktop.
BOOL CALLBACK AddKeptMonitor(HWND window, LPARAM monitors)
{
    char name[64] = "", title[256] = "";
    GetClassNameA(window, name, sizeof(name));
    const std::string_view prefix = kKeeperWindowTitlePrefix;
    if (std::string_view(name) == kKeeperWindowClass && GetWindowTextA(window, title, sizeof(title)) > 0 &&
        std::string_view(title).starts_with(prefix))
        reinterpret_cast<std::vector<std::string>*>(monitors)->push_back(title + prefix.size());
    return TRUE;
}

} // namespace

int RunKeeper(const LaunchArguments& arguments)
{
    Win32KeepPort port(!arguments.quiet);
    SystemKeepClock clock;
    return RunKeep(arguments, port, clock);
}

std::vector<std::string> KeeperStatusLines()
{
    std::vector<std::string> monitors, lines;
    EnumWindows(&AddKeptMonitor, reinterpret_cast<LPARAM>(&monitors));
    const std::optional<std::filesystem::path> folder = ProgramFolder(UserFolder::State);
    for (const std::string& monitor : folder ? monitors : std::vector<std::string>{}) {
        std::ifstream status(*folder / KeeperStatusFileName(monitor));
        std::string line;
        if (std::getline(status, line) && !line.empty())
            lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Only where a keeper runs are the displays listed to name the monitor.
bool HandRampToKeeper(int displayIndex, const GammaRamp& ramp, const std::string& source)
{
    return FindWindowA(kKeeperWindowClass, nullptr) && OfferRampToKeeper(displayIndex, ramp, source);
}

int ReleaseKeepers(const LaunchArguments& arguments)
{
    std::vector<std::string> monitors;
    if (arguments.ReleasesAll())
        EnumWindows(&AddKeptMonitor, reinterpret_cast<LPARAM>(&monitors));
    else
        monitors.push_back(KeptMonitorName(arguments.displayParameter, ListDisplays()));
    bool allEnded = true;
    for (const std::string& monitor : monitors)
        allEnded = EndKeeper(monitor, nullptr) == KeepPort::TakeOverResult::Taken && allEnded;
    return allEnded ? 0 : 1;
}
