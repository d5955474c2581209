#include "app/KeeperWin32.h"

#include <windows.h>
#include <wtsapi32.h>

#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "app/KeepLog.h"
#include "app/KeepSchedule.h"
#include "app/SilentApply.h"
#include "base/DisplayIndex.h"
#include "base/TextWin32.h"
#include "base/UserFolders.h"
#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "lut/DisplayAccess.h"
#include "ui/KeeperLink.h"

namespace {

using Clock = KeepSchedule::Clock;

// The console's display state in a power-setting notification: 0 off, 1 on, 2 dimmed.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
// How long a new keeper or "/release" waits for the keeper it ends.
constexpr DWORD kEndWaitMs = 10000;
constexpr DWORD kStopRepeatMs = 100;

// %LOCALAPPDATA%\Rampwise\keep.log, the folder made if needed; empty when there is no
// such folder.
std::string KeepLogPath()
{
    const std::optional<std::filesystem::path> folder = ProgramFolder(UserFolder::State);
    if (!folder || (!CreateDirectoryW(folder->c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS))
        return {};
    return AnsiFromWide((*folder / L"keep.log").native());
}

// The hidden window of a keeper. It is never shown, but it is a top-level window: a
// message-only window would miss the display-change broadcast.
class CKeeperWnd : public CWnd {
public:
    CKeeperWnd(int displayIndex, const GammaRamp& ramp)
        : m_display(displayIndex), m_ramp(ramp), m_schedule(Clock::now()), m_logPath(KeepLogPath())
    {
    }

    bool Create();
    void Unregister();
    // Milliseconds until the next check is due.
    DWORD WaitBeforeCheck() const;
    // Runs the check that is due, if one is.
    void CheckIfDue();

protected:
    const MessageMap* GetMessageMap() const override { return &kMessageMap; }

    LRESULT OnDisplayChange(WPARAM, LPARAM);
    LRESULT OnSessionChange(WPARAM change, LPARAM);
    LRESULT OnPowerBroadcast(WPARAM event, LPARAM setting);
    LRESULT OnCopyData(WPARAM, LPARAM data);
    LRESULT OnQueryEndSession(WPARAM, LPARAM) { return TRUE; }
    LRESULT OnEndSession(WPARAM ending, LPARAM);

    static const MessageEntry kMessageEntries[];
    static const MessageMap kMessageMap;

private:
    int m_display;
    GammaRamp m_ramp;
    KeepSchedule m_schedule;
    std::string m_logPath;
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
};
const MessageMap CKeeperWnd::kMessageMap{&CWnd::kMessageMap, kMessageEntries};

bool CKeeperWnd::Create()
{
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kKeeperWindowClass;
    RegisterClassExA(&windowClass);
    if (!CreateEx(WS_EX_TOOLWINDOW, kKeeperWindowClass, KeeperWindowTitle(m_display).c_str(), WS_POPUP, 0, 0, 0, 0,
                  nullptr, nullptr))
        return false;
    // Either may be missing (an older system, a session service that is not running):
    // the periodic check still keeps the display.
    m_sessionNotification = WTSRegisterSessionNotification(m_hWnd, NOTIFY_FOR_THIS_SESSION) != FALSE;
    m_powerNotification = RegisterPowerSettingNotification(m_hWnd, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
    return true;
}

void CKeeperWnd::Unregister()
{
    if (m_sessionNotification)
        WTSUnRegisterSessionNotification(m_hWnd);
    if (m_powerNotification)
        UnregisterPowerSettingNotification(m_powerNotification);
    m_sessionNotification = false;
    m_powerNotification = nullptr;
}

DWORD CKeeperWnd::WaitBeforeCheck() const
{
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(m_schedule.NextCheck() - Clock::now());
    return wait.count() > 0 ? static_cast<DWORD>(wait.count()) : 0;
}

// A display that cannot be read (unplugged, or the session is not on the console) is
// waited for: the next check looks again.
void CKeeperWnd::CheckIfDue()
{
    const char* cause = m_schedule.TakeDue(Clock::now());
    if (!cause)
        return;
    const std::optional<RampDifference> difference = CompareDisplayRamp(m_display, m_ramp);
    if (!difference || difference->Holds() || !WriteDisplayRamp(m_display, m_ramp))
        return;
    if (!m_logPath.empty())
        AppendKeepLogLine(m_logPath, FormatKeepLogLine(std::time(nullptr), m_display, cause, difference->largest));
}

// Called when a display's mode or the set of displays changes.
LRESULT CKeeperWnd::OnDisplayChange(WPARAM, LPARAM)
{
    m_schedule.EventAt(Clock::now(), "display change");
    return 0;
}

// Called when the session is unlocked or reconnected to the console, among others.
LRESULT CKeeperWnd::OnSessionChange(WPARAM change, LPARAM)
{
    if (change == WTS_SESSION_UNLOCK || change == WTS_CONSOLE_CONNECT)
        m_schedule.EventAt(Clock::now(), "unlock");
    return 0;
}

// Called on suspend and resume, and when the console's display turns on or off.
LRESULT CKeeperWnd::OnPowerBroadcast(WPARAM event, LPARAM setting)
{
    if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND)
        m_schedule.EventAt(Clock::now(), "resume");
    const auto* changed = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
    if (event != PBT_POWERSETTINGCHANGE || !changed || changed->PowerSetting != kConsoleDisplayState ||
        changed->DataLength < sizeof(DWORD))
        return TRUE;
    // The first notification reports the state at registration; only a display that
    // comes back on counts.
    DWORD state = 0;
    std::memcpy(&state, changed->Data, sizeof(state));
    if (state == 1 && m_displayState && *m_displayState != 1)
        m_schedule.EventAt(Clock::now(), "display change");
    m_displayState = state;
    return TRUE;
}

// Called when the main window wrote a ramp to this display: it is the one to keep now.
LRESULT CKeeperWnd::OnCopyData(WPARAM, LPARAM data)
{
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(data);
    if (!copy || copy->dwData != kKeeperRampTag || copy->cbData != sizeof(m_ramp.entries) || !copy->lpData)
        return FALSE;
    std::memcpy(m_ramp.entries.data(), copy->lpData, sizeof(m_ramp.entries));
    return TRUE;
}

// Called when the session ends: so does the keeper.
LRESULT CKeeperWnd::OnEndSession(WPARAM ending, LPARAM)
{
    if (ending)
        PostQuitMessage(0);
    return 0;
}

// Ends the display's keeper, if it has one, and waits until it has ended; false when
// it did not end in time. With `takeOver` the caller gets the mutex and is the
// display's keeper from then on.
bool EndKeeper(int displayIndex, KernelObject* takeOver)
{
    const std::string mutexName = KeeperMutexName(displayIndex), stopName = KeeperStopEventName(displayIndex);
    KernelObject mutex(takeOver ? CreateMutexA(nullptr, FALSE, mutexName.c_str())
                                : OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, mutexName.c_str()));
    if (!mutex)
        return !takeOver;  // no keeper to end; a keeper that cannot make its mutex cannot keep
    // The stop is asked for again and again: a keeper that holds the mutex may not have
    // made its stop event yet, or may be clearing a stop meant for the one before it.
    bool ended = false;
    for (DWORD waited = 0; !ended && waited < kEndWaitMs; waited += kStopRepeatMs) {
        ended = WaitForSingleObject(mutex.Get(), waited == 0 ? 0 : kStopRepeatMs) != WAIT_TIMEOUT;
        if (!ended) {
            if (KernelObject stop{OpenEventA(EVENT_MODIFY_STATE, FALSE, stopName.c_str())})
                SetEvent(stop.Get());
        }
    }
    if (!ended)
        return false;
    if (takeOver)
        *takeOver = std::move(mutex);
    else
        ReleaseMutex(mutex.Get());
    return true;
}

// The display of each keeper window of this desktop.
BOOL CALLBACK AddKeeperDisplay(HWND window, LPARAM displays)
{
    char name[64] = "", title[64] = "";
    GetClassNameA(window, name, sizeof(name));
    const std::string prefix = KeeperWindowTitle(0).substr(0, KeeperWindowTitle(0).size() - 1);
    if (std::string(name) == kKeeperWindowClass && GetWindowTextA(window, title, sizeof(title)) > 0 &&
        std::string(title).starts_with(prefix))
        reinterpret_cast<std::vector<int>*>(displays)->push_back(ParseDisplayIndex(title + prefix.size()));
    return TRUE;
}

} // namespace

int RunKeeper(const LaunchArguments& arguments)
{
    const int display = arguments.DisplayIndex();
    GammaRamp ramp;
    if (!LoadLaunchSource(arguments, ramp))
        return 1;
    // The keeper before ends first: it would write its own ramp back.
    KernelObject mutex;
    if (!EndKeeper(display, &mutex))
        return 1;
    KernelObject stop(CreateEventA(nullptr, FALSE, FALSE, KeeperStopEventName(display).c_str()));
    // A stop meant for the keeper before, set as it was ending, is not for this one.
    if (stop)
        ResetEvent(stop.Get());
    CKeeperWnd window(display, ramp);
    const std::optional<RampDifference> written = WriteDisplayRampAndCompare(display, ramp);
    if (!stop || !written || !written->Holds() || !window.Create()) {
        ReleaseMutex(mutex.Get());
        return 1;
    }

    const HANDLE waitFor = stop.Get();
    for (bool running = true; running;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &waitFor, FALSE, window.WaitBeforeCheck(), QS_ALLINPUT);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED)
            break;
        MSG message;
        while (running && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            running = message.message != WM_QUIT;
            DispatchMessageA(&message);
        }
        window.CheckIfDue();
    }
    window.Unregister();
    window.DestroyWindow();
    ReleaseMutex(mutex.Get());
    return 0;
}

int ReleaseKeepers(const LaunchArguments& arguments)
{
    std::vector<int> displays;
    if (arguments.ReleasesAll())
        EnumWindows(&AddKeeperDisplay, reinterpret_cast<LPARAM>(&displays));
    else
        displays.push_back(arguments.DisplayIndex());
    bool allEnded = true;
    for (const int display : displays)
        allEnded = EndKeeper(display, nullptr) && allEnded;
    return allEnded ? 0 : 1;
}
