// The monitors attached to the desktop, in physical pixels (the process is per-monitor DPI aware).
#pragma once
#include <windows.h>
#include <string>
#include <vector>

namespace tessary {

struct MonitorDesc {
    HMONITOR handle = nullptr;
    std::wstring device; // "\\.\DISPLAY1": names the monitor across enumerations
    RECT bounds{};       // desktop coordinates
    RECT work{};         // without the taskbar
    bool primary = false;
};

// Every monitor, in the system's enumeration order (the primary one need not be first).
std::vector<MonitorDesc> EnumerateMonitors();
// The smallest rectangle holding all monitors (the virtual screen); empty for none.
RECT MonitorsBoundingBox(const std::vector<MonitorDesc>& monitors);
// The primary monitor of the list, or the first; nullptr for an empty list.
const MonitorDesc* PrimaryMonitor(const std::vector<MonitorDesc>& monitors);

} // namespace tessary
