#include "platform/Dpi.h"
#include "core/Geometry.h"
#include "platform/Handles.h"

namespace tessary {

namespace {

// Looked up at run time: linking them would stop the program from starting on Windows 7.
template <typename F> F User32Function(const char* name) {
    static const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using GetThreadDpiAwarenessContextFn = HANDLE(WINAPI*)();
using GetAwarenessFromDpiAwarenessContextFn = int(WINAPI*)(HANDLE);

UINT ValidDpi(UINT dpi) {
    return dpi >= 48 && dpi <= 960 ? dpi : kDefaultDpi;
}

} // namespace

UINT SystemDpi() {
    WindowDC screen(nullptr);
    return ValidDpi(screen.get() ? static_cast<UINT>(GetDeviceCaps(screen.get(), LOGPIXELSX)) : kDefaultDpi);
}

UINT DpiOfWindow(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (window && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window))
            return ValidDpi(dpi);
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    if (forDpi)
        return forDpi(index, dpi);
    // The plain call answers for the system DPI.
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto forDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    if (forDpi)
        return forDpi(&rect, style, FALSE, exStyle, dpi) != FALSE;
    return AdjustWindowRectEx(&rect, style, FALSE, exStyle) != FALSE;
}

HFONT CreateFontForDpi(const wchar_t* face, double points, UINT dpi, bool bold) {
    const int height = -RoundToInt(points * dpi / 72.0);
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       face);
}

bool IsPerMonitorDpiAware() {
    static const auto context =
        User32Function<GetThreadDpiAwarenessContextFn>("GetThreadDpiAwarenessContext");
    static const auto awareness =
        User32Function<GetAwarenessFromDpiAwarenessContextFn>("GetAwarenessFromDpiAwarenessContext");
    constexpr int kPerMonitorAware = 2; // DPI_AWARENESS_PER_MONITOR_AWARE
    return context && awareness && awareness(context()) == kPerMonitorAware;
}

} // namespace tessary
