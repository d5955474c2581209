#pragma once

#include <windows.h>

#include <utility>

#include "base/UniqueHandle.h"

namespace handles_detail {

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DeleteDeviceContext {
    void operator()(HDC hdc) const { DeleteDC(hdc); }
};
struct CloseKernelObject {
    void operator()(HANDLE object) const { CloseHandle(object); }
};
struct FreeLocalMemory {
    void operator()(HLOCAL memory) const { LocalFree(memory); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

} // namespace handles_detail

// A pen, brush, region, bitmap or font.
template <class Handle>
using GdiObject = UniqueHandle<Handle, handles_detail::DeleteGdiObject>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Region = GdiObject<HRGN>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;

// A device context made by CreateDC (a display) or CreateCompatibleDC (memory). A
// window's own context is released instead: see PaintScope.
using DeviceContext = UniqueHandle<HDC, handles_detail::DeleteDeviceContext>;

// A named mutex or event (kernel objects that report failure as null).
using KernelObject = UniqueHandle<HANDLE, handles_detail::CloseKernelObject>;

// Memory that the system hands over to be freed with LocalFree, such as the argument
// array of CommandLineToArgvW.
template <class Pointer>
using LocalMemory = UniqueHandle<Pointer, handles_detail::FreeLocalMemory>;

// An icon loaded at a size of our choosing (not a shared one).
using Icon = UniqueHandle<HICON, handles_detail::DestroyIconHandle>;

// Selects an object into a device context and puts the previous one back, so that an
// object is never deleted while selected. Declare it after the object it selects.
class SelectGuard {
public:
    SelectGuard(HDC hdc, HGDIOBJ object) : m_hdc(hdc), m_previous(SelectObject(hdc, object)) {}
    ~SelectGuard()
    {
        if (m_previous)
            SelectObject(m_hdc, m_previous);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_previous;
};

// Pairs BeginPaint with EndPaint for one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : m_hwnd(hwnd), m_hdc(BeginPaint(hwnd, &m_paint)) {}
    ~PaintScope() { EndPaint(m_hwnd, &m_paint); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC Get() const { return m_hdc; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_paint{};
    HDC m_hdc;
};
