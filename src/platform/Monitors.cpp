#include "platform/Monitors.h"
#include <algorithm>

namespace tessary {

namespace {

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFOEXW mi{};
    mi.cbSize = sizeof(mi);
    if (GetMonitorInfoW(monitor, &mi)) {
        MonitorDesc d;
        d.handle = monitor;
        d.device = mi.szDevice;
        d.bounds = mi.rcMonitor;
        d.work = mi.rcWork;
        d.primary = (mi.dwFlags & MONITORINFOF_PRIMARY) != 0;
        reinterpret_cast<std::vector<MonitorDesc>*>(data)->push_back(std::move(d));
    }
    return TRUE;
}

} // namespace

std::vector<MonitorDesc> EnumerateMonitors() {
    std::vector<MonitorDesc> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

RECT MonitorsBoundingBox(const std::vector<MonitorDesc>& monitors) {
    if (monitors.empty())
        return {};
    RECT box = monitors.front().bounds;
    for (const MonitorDesc& m : monitors) {
        box.left = std::min(box.left, m.bounds.left);
        box.top = std::min(box.top, m.bounds.top);
        box.right = std::max(box.right, m.bounds.right);
        box.bottom = std::max(box.bottom, m.bounds.bottom);
    }
    return box;
}

const MonitorDesc* PrimaryMonitor(const std::vector<MonitorDesc>& monitors) {
    for (const MonitorDesc& m : monitors)
        if (m.primary)
            return &m;
    return monitors.empty() ? nullptr : &monitors.front();
}

} // namespace tessary
