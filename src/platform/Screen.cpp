#include "platform/Screen.h"
#include "platform/Handles.h"

namespace tessary {
namespace {

double TwipsPerPixel(int index) {
    WindowDC screen(nullptr);
    const int dpi = GetDeviceCaps(screen.get(), index);
    return dpi > 0 ? 1440.0 / dpi : 15.0;
}

BOOL CALLBACK CollectWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (GetMonitorInfoW(monitor, &mi))
        reinterpret_cast<std::vector<IntRect>*>(data)->push_back(
            {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom});
    return TRUE;
}

} // namespace

double TwipsPerPixelX() {
    return TwipsPerPixel(LOGPIXELSX);
}

double TwipsPerPixelY() {
    return TwipsPerPixel(LOGPIXELSY);
}

bool GetMonitorWorkArea(HWND window, IntRect& rect, bool& isPrimary) {
    rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY);
    if (!monitor)
        return false;
    MONITORINFOEXW mi{};
    mi.cbSize = sizeof(mi);
    if (!GetMonitorInfoW(monitor, &mi))
        return false;
    rect = {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
    isPrimary = mi.dwFlags == MONITORINFOF_PRIMARY;
    return true;
}

std::vector<IntRect> MonitorWorkAreas() {
    std::vector<IntRect> areas;
    EnumDisplayMonitors(nullptr, nullptr, CollectWorkArea, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

} // namespace tessary
