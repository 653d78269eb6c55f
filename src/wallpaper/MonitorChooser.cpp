#include "wallpaper/MonitorChooser.h"
#include "platform/Controls.h"
#include "wallpaper/MonitorChoice.h"

namespace tessary {

namespace {

std::vector<MonitorSummary> Summaries(const std::vector<MonitorDesc>& monitors) {
    std::vector<MonitorSummary> list;
    for (const MonitorDesc& m : monitors)
        list.push_back({m.bounds.right - m.bounds.left, m.bounds.bottom - m.bounds.top, m.primary});
    return list;
}

} // namespace

bool MonitorChooser::Create(HWND parent, int id, int x, int y, int width, HFONT font) {
    // The height includes the dropped list.
    combo_ = CreateControl(L"COMBOBOX", parent, L"", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, x, y, width,
                           200, id, font);
    ShowWindow(combo_, SW_HIDE);
    Refresh();
    return combo_ != nullptr;
}

std::wstring MonitorChooser::Refresh() {
    monitors_ = source ? source() : EnumerateMonitors();
    std::wstring note;
    if (!chosenDevice_.empty() && !Chosen()) {
        // The monitor's number as the list showed it before.
        note = MonitorGoneNote(lastNumber_);
        chosenDevice_.clear();
    }
    Fill();
    return note;
}

void MonitorChooser::Fill() {
    if (!combo_)
        return;
    SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
    const std::vector<std::wstring> entries = MonitorChooserEntries(Summaries(monitors_));
    for (const std::wstring& e : entries)
        ComboAdd(combo_, e);
    int selected = 0;
    for (std::size_t i = 0; i < monitors_.size(); ++i)
        if (!chosenDevice_.empty() && monitors_[i].device == chosenDevice_)
            selected = static_cast<int>(i) + 1;
    if (!entries.empty())
        ComboSelect(combo_, selected);
    ShowWindow(combo_, entries.empty() ? SW_HIDE : SW_SHOWNA);
}

bool MonitorChooser::Select(int entry) {
    if (entry < 0 || entry > static_cast<int>(monitors_.size()) || (entry > 0 && monitors_.size() < 2))
        return false;
    chosenDevice_ = entry == 0 ? std::wstring() : monitors_[entry - 1].device;
    lastNumber_ = entry;
    if (combo_ && monitors_.size() >= 2)
        ComboSelect(combo_, entry);
    return true;
}

void MonitorChooser::TakeSelection() {
    const int entry = combo_ ? ComboSelected(combo_) : 0;
    Select(entry < 0 ? 0 : entry);
}

const MonitorDesc* MonitorChooser::Chosen() const {
    if (chosenDevice_.empty())
        return nullptr;
    for (const MonitorDesc& m : monitors_)
        if (m.device == chosenDevice_)
            return &m;
    return nullptr;
}

const MonitorDesc* MonitorChooser::Previewed() const {
    const MonitorDesc* chosen = Chosen();
    return chosen ? chosen : PrimaryMonitor(monitors_);
}

} // namespace tessary
