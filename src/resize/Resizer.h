#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "resize/AnchorMath.h"
#include "resize/ChildClassRules.h"
#include "resize/GripBar.h"

// The number of the registered message "WMU_RESIZESUPPORT", through which a child
// control may tell the layout how to treat it. Registered before any window exists.
extern const UINT WMU_RESIZESUPPORT;

// Makes a window built at a fixed size resizable: a sizing frame with the original
// size as the minimum, registered children kept at fixed distances from their anchor
// points, the background erased only around them, a size grip in the lower-right
// corner, and optionally the placement remembered between runs. On a DPI change the
// font, the children, the grip and the minimum scale with it. Bound to its host
// window object for life; the host passes on the messages named by the On* calls.
class CResizer {
public:
    explicit CResizer(CWnd& host) : m_host(host) {}
    CResizer(const CResizer&) = delete;
    CResizer& operator=(const CResizer&) = delete;

    // The id must name an existing child of the host.
    void AnchorControl(int id, AnchorPoint topLeft, AnchorPoint bottomRight);
    void AnchorWindow(HWND child, AnchorPoint topLeft, AnchorPoint bottomRight);
    // Saves the placement under this section when the host is destroyed, and
    // restores what was saved there now.
    void RememberPlacement(const char* section);

    // After the host's default processing of each message. OnCreate is false when
    // the grip could not be created; the host then refuses its window.
    bool OnCreate();
    void OnSize(UINT sizeType);
    void OnGetMinMaxInfo(MINMAXINFO& limits) const;
    void OnEraseBkgnd(HDC hdc);
    void OnDestroy();
    // Instead of the default processing: the host is now drawn at this DPI.
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    // The client area less the children that may be left out of the erase.
    Region BuildEraseRegion();
    HWND GripWindow() const { return m_grip.m_hWnd; }

private:
    struct Child {
        HWND hwnd = nullptr;    // not owned
        std::string className;  // read once, at registration
        ChildAnchors anchors;
        bool answersQueries = false;
        ChildTraits traits;
    };

    void RepositionChildren();
    void PlaceGrip();
    void ScaleChildren(UINT from, UINT to);
    void ScaleFont(UINT to);
    bool AllowsClipping(const Child& child);
    bool NeedsRepaint(const Child& child, const LayoutRect& oldRect, const LayoutRect& newRect);
    LayoutRect RectOf(HWND child) const;
    bool SavePlacement(const char* section) const;
    bool RestorePlacement(const char* section);

    CWnd& m_host;
    std::vector<Child> m_children;
    CGripBar m_grip;
    bool m_topLevel = false;   // only a top-level host is resizable and shows the grip
    bool m_maximised = false;  // the grip hides while the host is maximised
    std::optional<SIZE> m_minimumTrackSize;  // at m_createdDpi
    UINT m_createdDpi = 96;
    UINT m_dpi = 96;
    // The children's font at m_createdDpi, and the one made for the current DPI.
    LONG m_createdFontHeight = 0;
    Font m_font;
    std::optional<std::string> m_placementSection;
};
