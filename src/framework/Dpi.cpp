#include "framework/Dpi.h"

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);
using SetDialogDpiChangeBehaviorCall = BOOL(WINAPI*)(HWND, int, int);

constexpr int kDialogDisableAll = 0x0001;  // DDC_DISABLE_ALL

// A user32 export, or null on systems that lack it. The round trip through void* is
// how a looked-up address becomes a typed function pointer without a cast warning.
template <class Call>
Call User32Export(const char* name)
{
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 ? reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

UINT SystemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

} // namespace

UINT WindowDpi(HWND hwnd)
{
    static const auto getDpiForWindow = User32Export<GetDpiForWindowCall>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow && hwnd ? getDpiForWindow(hwnd) : 0;
    return dpi ? dpi : SystemDpi();
}

int MetricForDpi(int index, UINT dpi)
{
    static const auto getMetricForDpi = User32Export<GetSystemMetricsForDpiCall>("GetSystemMetricsForDpi");
    if (getMetricForDpi)
        return getMetricForDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

void LeaveDialogDpiScalingToOwner(HWND dialog)
{
    static const auto setBehavior = User32Export<SetDialogDpiChangeBehaviorCall>("SetDialogDpiChangeBehavior");
    if (setBehavior)
        setBehavior(dialog, kDialogDisableAll, kDialogDisableAll);
}
