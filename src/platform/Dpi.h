// Dots per inch of the monitor a window is on, and the system metrics at that DPI. The program is
// per-monitor DPI aware (its manifest says so): everything it measures is in physical pixels and
// it scales its own layout, fonts and artwork. The calls that take a DPI exist from Windows 10
// on; on older systems (and where Wine lacks one) the system DPI and the plain calls stand in.
#pragma once
#include <windows.h>

namespace tessary {

inline constexpr UINT kDefaultDpi = 96;

// The system's DPI (LOGPIXELSX of the screen): what a window that never moved monitors has.
UINT SystemDpi();
// The DPI of the window's monitor; the system DPI where the system cannot say.
UINT DpiOfWindow(HWND window);
// GetSystemMetrics as a window on a monitor of that DPI sees it.
int SystemMetricForDpi(int index, UINT dpi);
// AdjustWindowRectEx for a monitor of that DPI (no menu).
bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi);
// A font of the given point size at that DPI.
HFONT CreateFontForDpi(const wchar_t* face, double points, UINT dpi, bool bold = false);
// The process's DPI awareness is per monitor (v2 or v1): what the manifest asks for took effect.
bool IsPerMonitorDpiAware();

} // namespace tessary
