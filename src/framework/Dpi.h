#pragma once

#include <windows.h>

// The DPI a window is drawn for, and the system metrics at a given DPI. The per-monitor
// calls are looked up when first needed: systems before them run the program at the
// system DPI, which these functions then report.

inline constexpr UINT kDefaultDpi = 96;

UINT WindowDpi(HWND hwnd);
int MetricForDpi(int index, UINT dpi);
// The dialog's owner scales the font and the items on a DPI change; the dialog
// manager is told to leave them alone.
void LeaveDialogDpiScalingToOwner(HWND dialog);
