// The monitor chooser under the preview: its entries and the notes the status bar shows about it.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

inline constexpr std::wstring_view kAllMonitorsEntry = L"All monitors";

struct MonitorSummary {
    int width = 0, height = 0; // physical pixels
    bool primary = false;
};

// "1 — 2560 × 1440 (primary)": the monitor's number counted from 1, its size, and the mark of the
// primary monitor.
std::wstring MonitorEntryText(int number, const MonitorSummary& monitor);
// "All monitors" followed by one entry per monitor, in order; empty when there is at most one
// monitor, since there is then nothing to choose and the chooser is hidden.
std::vector<std::wstring> MonitorChooserEntries(const std::vector<MonitorSummary>& monitors);

// Status note when the chosen monitor was disconnected.
std::wstring MonitorGoneNote(int number);
// Status note when one monitor was chosen but the system sets one wallpaper for all.
std::wstring PerMonitorUnavailableNote();

} // namespace tessary
