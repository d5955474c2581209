#include "resize/Resizer.h"

#include <commctrl.h>

#include <cstddef>

#include "framework/Dpi.h"
#include "framework/WinApp.h"
#include "resize/PlacementText.h"

const UINT WMU_RESIZESUPPORT = RegisterWindowMessageA(kResizeSupportMessageName);

namespace {

// The portable rules carry these platform values as their own constants.
constexpr bool Mirrors(std::uint32_t mirrored, long platform)
{
    return mirrored == static_cast<std::uint32_t>(platform);
}
static_assert(Mirrors(kPosNoSize, SWP_NOSIZE) && Mirrors(kPosNoMove, SWP_NOMOVE) &&
              Mirrors(kPosNoZOrder, SWP_NOZORDER) && Mirrors(kPosNoActivate, SWP_NOACTIVATE) &&
              Mirrors(kPosNoCopyBits, SWP_NOCOPYBITS) && Mirrors(kPosNoOwnerZOrder, SWP_NOOWNERZORDER));
static_assert(Mirrors(kStyleButtonTypeMask, BS_TYPEMASK) && Mirrors(kStyleGroupBox, BS_GROUPBOX) &&
              Mirrors(kStyleOwnerDrawButton, BS_OWNERDRAW) && Mirrors(kStyleStaticTypeMask, SS_TYPEMASK) &&
              Mirrors(kStyleCenterImage, SS_CENTERIMAGE) && Mirrors(kStyleEllipsisMask, SS_ELLIPSISMASK) &&
              Mirrors(kStyleToolbarTransparent, TBSTYLE_TRANSPARENT));
static_assert(kHitTransparent == HTTRANSPARENT);
static_assert(kShowNormal == SW_SHOWNORMAL && kShowMinimized == SW_SHOWMINIMIZED &&
              kShowMaximized == SW_SHOWMAXIMIZED);
static_assert(sizeof(LayoutRect) == sizeof(RECT) && offsetof(RECT, right) == offsetof(LayoutRect, right));

constexpr ATOM kDialogClassAtom = 32770;

LayoutRect ToLayoutRect(const RECT& rect)
{
    return LayoutRect{rect.left, rect.top, rect.right, rect.bottom};
}

std::uint32_t StyleOf(HWND hwnd)
{
    return static_cast<std::uint32_t>(GetWindowLongPtrA(hwnd, GWL_STYLE));
}

// A class brush may be a system colour index plus one instead of a brush.
HBRUSH RealBrush(HBRUSH brush)
{
    const auto value = reinterpret_cast<ULONG_PTR>(brush);
    if (value > 0 && value <= COLOR_MENUBAR + 1)
        return GetSysColorBrush(static_cast<int>(value - 1));
    return brush;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
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
    EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    POINT offset{};
    for (const MONITORINFO& monitor : monitors) {
        if (monitor.dwFlags & MONITORINFOF_PRIMARY)
            offset = POINT{monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top};
    }
    std::vector<LayoutRect> areas;
    for (const MONITORINFO& monitor : monitors) {
        const RECT& work = monitor.rcWork;
        areas.push_back(
            LayoutRect{work.left - offset.x, work.top - offset.y, work.right - offset.x, work.bottom - offset.y});
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

void CResizer::AnchorControl(int id, AnchorPoint topLeft, AnchorPoint bottomRight)
{
    AnchorWindow(GetDlgItem(m_host.m_hWnd, id), topLeft, bottomRight);
}

// A child that does not answer the query message gets its clipping decided now, by
// its class, and its repaint decided at every layout pass. A child registered twice
// is laid out twice; nobody registers one twice.
void CResizer::AnchorWindow(HWND hwnd, AnchorPoint topLeft, AnchorPoint bottomRight)
{
    Child child;
    child.hwnd = hwnd;
    char className[260] = {};
    GetClassNameA(hwnd, className, sizeof(className));
    child.className = className;
    child.anchors = ComputeChildAnchors(ToLayoutRect(m_host.GetClientRect()), RectOf(hwnd), topLeft, bottomRight);
    child.answersQueries = SendMessageA(hwnd, WMU_RESIZESUPPORT, RS_QUERY_TRAITS,
                                        reinterpret_cast<LPARAM>(&child.traits)) != 0;
    if (!child.answersQueries) {
        child.traits.askClipping = 0;
        child.traits.cachedClipping = AllowsClipping(child) ? 1 : 0;
        child.traits.askRepaint = 1;
    }
    m_children.push_back(std::move(child));
}

void CResizer::RememberPlacement(const char* section)
{
    m_placementSection = section;
    RestorePlacement(section);
}

// A top-level host gets a sizing frame around its client area, which becomes its
// minimum; the modal frame would keep the fixed border, and WS_POPUP keeps the
// window top-level whatever its template said.
bool CResizer::OnCreate()
{
    HWND host = m_host.m_hWnd;
    m_createdDpi = m_dpi = WindowDpi(host);
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(host, GWL_STYLE));
    m_topLevel = !(style & WS_CHILD);
    if (m_topLevel) {
        RECT frame = m_host.GetClientRect();
        const DWORD resizable = (style & ~DWORD{DS_MODALFRAME}) | WS_POPUP | WS_THICKFRAME;
        SetWindowLongPtrA(host, GWL_STYLE, static_cast<LONG_PTR>(resizable));
        AdjustWindowRectEx(&frame, resizable, IsMenu(GetMenu(host)),
                           static_cast<DWORD>(GetWindowLongPtrA(host, GWL_EXSTYLE)));
        const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
        SetWindowPos(host, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
        m_minimumTrackSize = size;
    }
    if (!m_grip.CreateEx(0, "SCROLLBAR", "", WS_CHILD | WS_CLIPSIBLINGS | SBS_SIZEGRIP, 0, 0, 0, 0, host, nullptr))
        return false;
    m_grip.ShapeAsTriangle();
    PlaceGrip();
    return true;
}

// Every real size change places the grip and lays the children out; the two
// notices about other windows' maximising change nothing here.
void CResizer::OnSize(UINT sizeType)
{
    if (sizeType == SIZE_MAXSHOW || sizeType == SIZE_MAXHIDE)
        return;
    m_maximised = sizeType == SIZE_MAXIMIZED;
    PlaceGrip();
    RepositionChildren();
}

// Only the minimum is ours; every other limit stays as the platform proposed it. The
// minimum is the size at creation, scaled to the current DPI.
void CResizer::OnGetMinMaxInfo(MINMAXINFO& limits) const
{
    if (m_minimumTrackSize) {
        const auto scale = [this](LONG value) {
            return ScaleForDpi(value, static_cast<std::int32_t>(m_dpi), static_cast<std::int32_t>(m_createdDpi));
        };
        limits.ptMinTrackSize = POINT{scale(m_minimumTrackSize->cx), scale(m_minimumTrackSize->cy)};
    }
}

// The font and the children scale first, and the children's offsets from their anchors
// are measured again in the scaled client area, so that the layout pass of the new
// size keeps them where the scaling put them. The grip takes its size for the new DPI.
void CResizer::OnDpiChanged(UINT dpi, const RECT& suggested)
{
    const UINT old = m_dpi;
    if (dpi != 0 && dpi != old) {
        m_dpi = dpi;
        ScaleFont(dpi);
        ScaleChildren(old, dpi);
        m_grip.FitDpi(dpi);
    }
    SetWindowPos(m_host.m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    // The suggested size may be the size the window had: no size notice then.
    PlaceGrip();
    RepositionChildren();
    RedrawWindow(m_host.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// Painting only around the children avoids their flicker.
void CResizer::OnEraseBkgnd(HDC hdc)
{
    HWND host = m_host.m_hWnd;
    HBRUSH brush = nullptr;
    if (static_cast<ATOM>(GetClassLongPtrA(host, GCW_ATOM)) == kDialogClassAtom)
        brush = reinterpret_cast<HBRUSH>(
            SendMessageA(host, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(host)));
    else
        brush = reinterpret_cast<HBRUSH>(GetClassLongPtrA(host, GCLP_HBRBACKGROUND));
    const Region region = BuildEraseRegion();
    if (brush && region)
        FillRgn(hdc, region.Get(), RealBrush(brush));
}

// The placement is saved while the children are still there.
void CResizer::OnDestroy()
{
    if (m_placementSection)
        SavePlacement(m_placementSection->c_str());
    m_children.clear();
}

// Children that may not be left out are put back, in registration order, so a later
// one puts back what it overlaps of an earlier one.
Region CResizer::BuildEraseRegion()
{
    const RECT client = m_host.GetClientRect();
    Region region(CreateRectRgnIndirect(&client));
    Region area(CreateRectRgn(0, 0, 0, 0));
    if (!region || !area)
        return region;
    for (const Child& child : m_children) {
        if (!IsWindowVisible(child.hwnd))
            continue;
        const LayoutRect r = RectOf(child.hwnd);
        const int regionType = GetWindowRgn(child.hwnd, area.Get());
        if (regionType == SIMPLEREGION || regionType == COMPLEXREGION)
            OffsetRgn(area.Get(), r.left, r.top);
        else
            SetRectRgn(area.Get(), r.left, r.top, r.right, r.bottom);
        const bool clip = child.traits.askClipping ? AllowsClipping(child) : child.traits.cachedClipping != 0;
        CombineRgn(region.Get(), region.Get(), area.Get(), clip ? RGN_DIFF : RGN_OR);
    }
    if (GetWindowLongPtrA(m_host.m_hWnd, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
        OffsetRgn(region.Get(), -1, 0);
    return region;
}

// All children that move or resize, in one deferred batch.
void CResizer::RepositionChildren()
{
    const LayoutRect area = ToLayoutRect(m_host.GetClientRect());
    HDWP batch = BeginDeferWindowPos(static_cast<int>(m_children.size()));
    for (const Child& child : m_children) {
        const LayoutRect oldRect = RectOf(child.hwnd);
        const LayoutRect newRect = ComputeChildRect(child.anchors, area);
        const bool repaint =
            child.traits.askRepaint ? NeedsRepaint(child, oldRect, newRect) : child.traits.cachedRepaint != 0;
        const std::uint32_t flags = ChildPositionFlags(oldRect, newRect, repaint);
        if (IsPositionSkipped(flags) || !batch)
            continue;
        batch = DeferWindowPos(batch, child.hwnd, nullptr, newRect.left, newRect.top, newRect.Width(),
                               newRect.Height(), flags);
    }
    if (batch)
        EndDeferWindowPos(batch);
}

// The grip goes to the corner behind every other child. Before it exists (a size
// change during creation) there is nothing to place.
void CResizer::PlaceGrip()
{
    if (!m_grip.m_hWnd)
        return;
    const RECT client = m_host.GetClientRect();
    const SIZE size = m_grip.Size();
    const bool shown = m_topLevel && !m_maximised;
    SetWindowPos(m_grip.m_hWnd, HWND_BOTTOM, client.right - size.cx, client.bottom - size.cy, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

// Every child but the grip, registered or not, keeps its place relative to the client
// origin and its size, both scaled.
void CResizer::ScaleChildren(UINT from, UINT to)
{
    HWND host = m_host.m_hWnd;
    const auto scale = [from, to](const LayoutRect& rect) {
        return ScaleForDpi(rect, static_cast<std::int32_t>(to), static_cast<std::int32_t>(from));
    };
    for (HWND child = GetWindow(host, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == m_grip.m_hWnd)
            continue;
        const LayoutRect rect = scale(RectOf(child));
        SetWindowPos(child, nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
    const LayoutRect area = scale(ToLayoutRect(m_host.GetClientRect()));
    for (Child& child : m_children) {
        child.anchors = ComputeChildAnchors(area, RectOf(child.hwnd), child.anchors.anchorTopLeft,
                                            child.anchors.anchorBottomRight);
    }
}

// The children get the host's font at the new DPI; the height is scaled from the font
// the host had at creation, so that going back and forth does not drift. The host keeps
// its own font: the dialog manager owns that one.
void CResizer::ScaleFont(UINT to)
{
    HWND host = m_host.m_hWnd;
    LOGFONTA description{};
    const auto current = reinterpret_cast<HFONT>(SendMessageA(host, WM_GETFONT, 0, 0));
    if (!current || !GetObjectA(current, sizeof(description), &description))
        return;
    if (!m_createdFontHeight)
        m_createdFontHeight = description.lfHeight;
    description.lfHeight = ScaleForDpi(m_createdFontHeight, static_cast<std::int32_t>(to),
                                       static_cast<std::int32_t>(m_createdDpi));
    Font font(CreateFontIndirectA(&description));
    if (!font)
        return;
    for (HWND child = GetWindow(host, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
    m_font = std::move(font);  // the previous one is no longer in use
}

bool CResizer::AllowsClipping(const Child& child)
{
    if (child.answersQueries) {
        std::int32_t answer = 0;
        if (SendMessageA(child.hwnd, WMU_RESIZESUPPORT, RS_QUERY_CLIP, reinterpret_cast<LPARAM>(&answer)))
            return answer != 0;
    }
    const std::uint32_t style = StyleOf(child.hwnd);
    bool transparent = false;
    if (ClippingAsksHitTest(child.className, style)) {
        RECT window{};
        GetWindowRect(child.hwnd, &window);
        transparent = SendMessageA(child.hwnd, WM_NCHITTEST, 0, MAKELPARAM(window.left, window.top)) ==
                      kHitTransparent;
    }
    return ChildAllowsClipping(child.className, style, transparent);
}

bool CResizer::NeedsRepaint(const Child& child, const LayoutRect& oldRect, const LayoutRect& newRect)
{
    if (child.answersQueries) {
        RepaintQuery query;
        query.oldRect = oldRect;
        query.newRect = newRect;
        if (SendMessageA(child.hwnd, WMU_RESIZESUPPORT, RS_QUERY_REPAINT, reinterpret_cast<LPARAM>(&query)))
            return query.answer != 0;
    }
    std::optional<ListBoxScroll> scroll;
    if (RepaintReadsScroll(child.className, oldRect, newRect)) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        if (GetScrollInfo(child.hwnd, SB_HORZ, &info))
            scroll = ListBoxScroll{info.nMax, info.nPage, info.nPos};
    }
    return ChildNeedsRepaint(child.className, StyleOf(child.hwnd), oldRect, newRect, scroll);
}

// In the host's client coordinates.
LayoutRect CResizer::RectOf(HWND child) const
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, m_host.m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return ToLayoutRect(rect);
}

bool CResizer::SavePlacement(const char* section) const
{
    CWinApp* app = AfxGetApp();
    WINDOWPLACEMENT placement;
    if (!app || !ReadPlacement(m_host.m_hWnd, placement))
        return false;
    const StoredPlacement stored{ToLayoutRect(placement.rcNormalPosition), static_cast<std::int32_t>(placement.showCmd),
                                 static_cast<std::int32_t>(placement.flags)};
    return app->WriteProfileString(section, kPlacementEntry, FormatPlacement(stored).c_str());
}

// A stored show command other than normal, minimised or maximised is not applied,
// and a normal rectangle outside every monitor's work area is moved onto the
// nearest one. The size notice that follows lays the children out.
bool CResizer::RestorePlacement(const char* section)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return false;
    const std::string text = app->GetProfileString(section, kPlacementEntry);
    WINDOWPLACEMENT placement;
    if (text.empty() || !ReadPlacement(m_host.m_hWnd, placement))
        return false;
    const std::optional<StoredPlacement> stored = ScanPlacement(text);
    if (!stored || !IsRestorableShowCommand(stored->showCommand))
        return false;
    const LayoutRect normal = BringOntoWorkArea(stored->normal, WorkspaceWorkAreas());
    placement.rcNormalPosition = RECT{normal.left, normal.top, normal.right, normal.bottom};
    placement.showCmd = static_cast<UINT>(stored->showCommand);
    placement.flags = static_cast<UINT>(stored->flags);
    return SetWindowPlacement(m_host.m_hWnd, &placement) != 0;
}
