#pragma once

#include <windows.h>

#include "base/UniqueHandle.h"

namespace win_handles_detail {

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DeleteDeviceContext {
    void operator()(HDC hdc) const { DeleteDC(hdc); }
};
struct CloseKernelObject {
    void operator()(HANDLE object) const { CloseHandle(object); }
};
struct NoFile {
    static HANDLE Value() { return INVALID_HANDLE_VALUE; }
};
struct FreeLocalMemory {
    void operator()(HLOCAL memory) const { LocalFree(memory); }
};
struct DestroyIconHandle {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

} // namespace win_handles_detail

// A pen, brush, region, bitmap or font.
template <class Handle>
using GdiObject = UniqueHandle<Handle, win_handles_detail::DeleteGdiObject>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Region = GdiObject<HRGN>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;

// A device context made by CreateDC (a display) or CreateCompatibleDC (memory). A
// window's own context is released instead: see PaintScope.
using DeviceContext = UniqueHandle<HDC, win_handles_detail::DeleteDeviceContext>;

// A named mutex or event (kernel objects that report failure as null).
using KernelObject = UniqueHandle<HANDLE, win_handles_detail::CloseKernelObject>;

// A file or console opened by CreateFile, which reports failure as INVALID_HANDLE_VALUE.
using FileHandle = UniqueHandle<HANDLE, win_handles_detail::CloseKernelObject, win_handles_detail::NoFile>;

// Memory that the system hands over to be freed with LocalFree, such as the argument
// array of CommandLineToArgvW.
template <class Pointer>
using LocalMemory = UniqueHandle<Pointer, win_handles_detail::FreeLocalMemory>;

// An icon loaded at a size of our choosing (not a shared one).
using Icon = UniqueHandle<HICON, win_handles_detail::DestroyIconHandle>;
