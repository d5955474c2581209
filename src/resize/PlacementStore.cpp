#include "resize/PlacementStore.h"

#include <vector>

#include "framework/WinApp.h"
#include "resize/PlacementText.h"

namespace {

LayoutRect ToLayoutRect(const RECT& rect)
{
    return LayoutRect{rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info))
        reinterpret_cast<std::vector<MONITORINFO>*>(data)->push_back(info);
    return TRUE;
}

// The work areas of all monitors in workspace coordinates, the coordinates of a
// placement's normal rectangle: screen coordinates less the primary monitor's
// work-area offset.
std::vector<LayoutRect> WorkspaceWorkAreas()
{
    std::vector<MONITORINFO> monitors;
    EnumDisplayMonitors(nullptr, nullptr, &CollectWorkArea, reinterpret_cast<LPARAM>(&monitors));
    POINT offset{};
    for (const MONITORINFO& monitor : monitors) {
        if (monitor.dwFlags & MONITORINFOF_PRIMARY)
            offset = POINT{monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top};
    }
    std::vector<LayoutRect> areas;
    for (const MONITORINFO& monitor : monitors) {
        LayoutRect area = ToLayoutRect(monitor.rcWork);
        areas.push_back(LayoutRect{area.left - offset.x, area.top - offset.y, area.right - offset.x,
                                   area.bottom - offset.y});
    }
    return areas;
}

bool ReadPlacement(HWND hwnd, WINDOWPLACEMENT& placement)
{
    placement = WINDOWPLACEMENT{};
    placement.length = sizeof(placement);
    return GetWindowPlacement(hwnd, &placement) != 0;
}

} // namespace

bool CPlacementStore::SavePlacement(const char* section)
{
    CWinApp* app = AfxGetApp();
    WINDOWPLACEMENT placement;
    if (!app || !ReadPlacement(GetHostWindow().m_hWnd, placement))
        return false;
    const StoredPlacement stored{ToLayoutRect(placement.rcNormalPosition), static_cast<std::int32_t>(placement.showCmd),
                                 static_cast<std::int32_t>(placement.flags)};
    return app->WriteProfileString(section, kPlacementEntry, FormatPlacement(stored).c_str());
}

bool CPlacementStore::RestorePlacement(const char* section)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return false;
    const std::string text = app->GetProfileString(section, kPlacementEntry);
    if (text.empty())
        return false;
    WINDOWPLACEMENT placement;
    if (!ReadPlacement(GetHostWindow().m_hWnd, placement))
        return false;
    const std::optional<StoredPlacement> stored = ScanPlacement(text);
    if (!stored || !IsRestorableShowCommand(stored->showCommand))
        return false;

    const std::vector<LayoutRect> workAreas = WorkspaceWorkAreas();
    const LayoutRect normal = BringOntoWorkArea(stored->normal, workAreas);
    placement.rcNormalPosition = RECT{normal.left, normal.top, normal.right, normal.bottom};
    placement.showCmd = static_cast<UINT>(stored->showCommand);
    placement.flags = static_cast<UINT>(stored->flags);
    return SetWindowPlacement(GetHostWindow().m_hWnd, &placement) != 0;
}
