#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Handles.h"
#include "framework/Wnd.h"
#include "resize/AnchorMath.h"
#include "resize/ChildClassRules.h"

// The number of the registered message "WMU_RESIZESUPPORT", through which a child
// control may tell the layout how to treat it. Registered before any window exists.
extern const UINT WMU_RESIZESUPPORT;

// One registered child of the layout.
struct ChildLayout {
    HWND hwnd = nullptr;       // not owned
    std::string className;     // read once, at registration
    ChildAnchors anchors;
    bool answersQueries = false;
    ChildTraits traits;
};

// Keeps registered children of a host window at fixed distances from their anchor
// points when the host is resized, and erases the host's background around them.
class CAnchorLayout {
public:
    virtual ~CAnchorLayout() = default;

    // The id must name an existing child of the host.
    void AnchorControl(int id, AnchorPoint topLeft, AnchorPoint bottomRight);
    void AnchorWindow(HWND child, AnchorPoint topLeft, AnchorPoint bottomRight);
    void ClearAnchors();
    // One layout pass: all children that move or resize, in one deferred batch.
    void RepositionChildren();
    void EraseUncoveredBackground(HDC hdc);
    Region BuildEraseRegion();

    const std::vector<ChildLayout>& Anchors() const { return m_entries; }

protected:
    virtual void QueryChildTraits(ChildLayout& entry);
    virtual bool ChildAllowsClipping(const ChildLayout& entry);
    virtual bool ChildNeedsRepaint(const ChildLayout& entry, const LayoutRect& oldRect, const LayoutRect& newRect);
    virtual LayoutRect GetLayoutArea();
    virtual CWnd& GetHostWindow() = 0;

private:
    LayoutRect ChildRect(HWND child);

    std::vector<ChildLayout> m_entries;
};
