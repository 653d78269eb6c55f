// The drop-down under the preview that picks the monitor the preview shows and the wallpaper is
// set on: "All monitors", then each monitor. Shown only while there is more than one monitor.
#pragma once
#include "platform/Monitors.h"
#include <functional>
#include <string>
#include <vector>

namespace tessary {

class MonitorChooser {
public:
    // Creates the (hidden) drop-down and fills it.
    bool Create(HWND parent, int id, int x, int y, int width, HFONT font);
    HWND hwnd() const { return combo_; }
    // Reads the monitors again and refills the list, keeping the chosen monitor. When that monitor
    // is gone the choice falls back to all monitors and the returned note says so (else empty).
    std::wstring Refresh();
    // Selects an entry from code: 0 all monitors, n the n-th monitor. False for a missing entry.
    bool Select(int entry);
    // Takes over the entry the user picked in the list.
    void TakeSelection();
    // The chosen monitor, or nullptr for all monitors.
    const MonitorDesc* Chosen() const;
    // The monitor the preview shows: the chosen one, else the primary one (nullptr without any).
    const MonitorDesc* Previewed() const;
    const std::vector<MonitorDesc>& Monitors() const { return monitors_; }
    // Where the monitors come from (tests unplug monitors through it).
    std::function<std::vector<MonitorDesc>()> source = EnumerateMonitors;

private:
    void Fill();
    HWND combo_ = nullptr;
    std::vector<MonitorDesc> monitors_;
    std::wstring chosenDevice_; // empty: all monitors
    int lastNumber_ = 0;        // the chosen monitor's number in the list
};

} // namespace tessary
