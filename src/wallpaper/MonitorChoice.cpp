#include "wallpaper/MonitorChoice.h"

namespace tessary {

std::wstring MonitorEntryText(int number, const MonitorSummary& monitor) {
    std::wstring text = std::to_wstring(number) + L" \u2014 " + std::to_wstring(monitor.width) + L" \u00D7 " +
                        std::to_wstring(monitor.height);
    if (monitor.primary)
        text += L" (primary)";
    return text;
}

std::vector<std::wstring> MonitorChooserEntries(const std::vector<MonitorSummary>& monitors) {
    std::vector<std::wstring> entries;
    if (monitors.size() < 2)
        return entries;
    entries.emplace_back(kAllMonitorsEntry);
    for (std::size_t i = 0; i < monitors.size(); ++i)
        entries.push_back(MonitorEntryText(static_cast<int>(i) + 1, monitors[i]));
    return entries;
}

std::wstring MonitorGoneNote(int number) {
    return L"Monitor " + std::to_wstring(number) + L" is no longer connected: showing all monitors.";
}

std::wstring PerMonitorUnavailableNote() {
    return L"This system cannot give one monitor its own wallpaper: set for all monitors.";
}

} // namespace tessary
