#include "resize/AnchorLayout.h"

#include <optional>

const UINT WMU_RESIZESUPPORT = RegisterWindowMessageA(kResizeSupportMessageName);

namespace {

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

} // namespace

void CAnchorLayout::AnchorControl(int id, AnchorPoint topLeft, AnchorPoint bottomRight)
{
    AnchorWindow(GetDlgItem(GetHostWindow().m_hWnd, id), topLeft, bottomRight);
}

void CAnchorLayout::AnchorWindow(HWND child, AnchorPoint topLeft, AnchorPoint bottomRight)
{
    ChildLayout entry;
    entry.hwnd = child;
    char className[260] = {};
    GetClassNameA(child, className, sizeof(className));
    entry.className = className;
    entry.anchors = ComputeChildAnchors(GetLayoutArea(), ChildRect(child), topLeft, bottomRight);
    QueryChildTraits(entry);
    // A child registered twice is laid out twice; nobody registers one twice.
    m_entries.push_back(std::move(entry));
}

void CAnchorLayout::ClearAnchors()
{
    m_entries.clear();
}

void CAnchorLayout::RepositionChildren()
{
    const LayoutRect area = GetLayoutArea();
    HDWP batch = BeginDeferWindowPos(static_cast<int>(m_entries.size()));
    for (const ChildLayout& entry : m_entries) {
        const LayoutRect oldRect = ChildRect(entry.hwnd);
        const LayoutRect newRect = ComputeChildRect(entry.anchors, area);
        const bool repaint =
            entry.traits.askRepaint ? ChildNeedsRepaint(entry, oldRect, newRect) : entry.traits.cachedRepaint != 0;
        const std::uint32_t flags = ChildPositionFlags(oldRect, newRect, repaint);
        if (IsPositionSkipped(flags) || !batch)
            continue;
        batch = DeferWindowPos(batch, entry.hwnd, nullptr, newRect.left, newRect.top, newRect.Width(),
                               newRect.Height(), flags);
    }
    if (batch)
        EndDeferWindowPos(batch);
}

void CAnchorLayout::EraseUncoveredBackground(HDC hdc)
{
    HWND host = GetHostWindow().m_hWnd;
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

// The client area without the children that may be left out, with those that may
// not put back, in registration order.
Region CAnchorLayout::BuildEraseRegion()
{
    HWND host = GetHostWindow().m_hWnd;
    const RECT client = GetHostWindow().GetClientRect();
    Region region(CreateRectRgnIndirect(&client));
    Region child(CreateRectRgn(0, 0, 0, 0));
    if (!region || !child)
        return region;
    for (const ChildLayout& entry : m_entries) {
        if (!IsWindowVisible(entry.hwnd))
            continue;
        const LayoutRect r = ChildRect(entry.hwnd);
        const int regionType = GetWindowRgn(entry.hwnd, child.Get());
        if (regionType == SIMPLEREGION || regionType == COMPLEXREGION)
            OffsetRgn(child.Get(), r.left, r.top);
        else
            SetRectRgn(child.Get(), r.left, r.top, r.right, r.bottom);
        const bool clip = entry.traits.askClipping ? ChildAllowsClipping(entry) : entry.traits.cachedClipping != 0;
        CombineRgn(region.Get(), region.Get(), child.Get(), clip ? RGN_DIFF : RGN_OR);
    }
    if (GetWindowLongPtrA(host, GWL_EXSTYLE) & WS_EX_LAYOUTRTL)
        OffsetRgn(region.Get(), -1, 0);
    return region;
}

// Asked once per registration. A child that does not answer gets its clipping
// decided now, by its class, and its repaint decided at every pass.
void CAnchorLayout::QueryChildTraits(ChildLayout& entry)
{
    entry.answersQueries = SendMessageA(entry.hwnd, WMU_RESIZESUPPORT, RS_QUERY_TRAITS,
                                        reinterpret_cast<LPARAM>(&entry.traits)) != 0;
    if (entry.answersQueries)
        return;
    entry.traits.askClipping = 0;
    entry.traits.cachedClipping = ChildAllowsClipping(entry) ? 1 : 0;
    entry.traits.askRepaint = 1;
}

bool CAnchorLayout::ChildAllowsClipping(const ChildLayout& entry)
{
    if (entry.answersQueries) {
        std::int32_t answer = 0;
        if (SendMessageA(entry.hwnd, WMU_RESIZESUPPORT, RS_QUERY_CLIP, reinterpret_cast<LPARAM>(&answer)))
            return answer != 0;
    }
    const std::uint32_t style = StyleOf(entry.hwnd);
    bool transparent = false;
    if (ClippingAsksHitTest(entry.className, style)) {
        RECT window{};
        GetWindowRect(entry.hwnd, &window);
        transparent = SendMessageA(entry.hwnd, WM_NCHITTEST, 0, MAKELPARAM(window.left, window.top)) ==
                      kHitTransparent;
    }
    return ::ChildAllowsClipping(entry.className, style, transparent);
}

bool CAnchorLayout::ChildNeedsRepaint(const ChildLayout& entry, const LayoutRect& oldRect, const LayoutRect& newRect)
{
    if (entry.answersQueries) {
        RepaintQuery query;
        query.oldRect = oldRect;
        query.newRect = newRect;
        if (SendMessageA(entry.hwnd, WMU_RESIZESUPPORT, RS_QUERY_REPAINT, reinterpret_cast<LPARAM>(&query)))
            return query.answer != 0;
    }
    std::optional<ListBoxScroll> scroll;
    if (RepaintReadsScroll(entry.className, oldRect, newRect)) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        if (GetScrollInfo(entry.hwnd, SB_HORZ, &info))
            scroll = ListBoxScroll{info.nMax, info.nPage, info.nPos};
    }
    return ::ChildNeedsRepaint(entry.className, StyleOf(entry.hwnd), oldRect, newRect, scroll);
}

LayoutRect CAnchorLayout::GetLayoutArea()
{
    return ToLayoutRect(GetHostWindow().GetClientRect());
}

LayoutRect CAnchorLayout::ChildRect(HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetHostWindow().m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    return ToLayoutRect(rect);
}
