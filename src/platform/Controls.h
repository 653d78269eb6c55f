// Thin helpers over the standard and common controls, so control messages stay in one place.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

namespace tessary {

HWND CreateControl(const wchar_t* cls, HWND parent, const std::wstring& text, DWORD style, int x, int y,
                   int w, int h, int id, HFONT font, DWORD exStyle = 0);

// Check boxes and option buttons (manual styles: the form decides what a click changes).
bool IsChecked(HWND button);
// Sets the check state; returns true when it changed.
bool SetCheckState(HWND button, int state);

// Drop-down lists.
int ComboSelected(HWND combo);
// Selects entry index; false (and no change) when the index does not exist.
bool ComboSelect(HWND combo, int index);
void ComboAdd(HWND combo, const std::wstring& text);

// Sliders.
int TrackbarValue(HWND trackbar);
void TrackbarSetValue(HWND trackbar, int value);

// Status bar with panels numbered from 1, as the program's texts refer to them.
class StatusBar {
public:
    bool Create(HWND parent, int id, HFONT font, std::vector<int> widths);
    HWND hwnd() const { return hwnd_; }
    void SetPanelText(int panel, const std::wstring& text);
    std::wstring PanelText(int panel) const;
    // Re-fits the bar and its panels to the parent (call from WM_SIZE); the first panel stretches.
    void Fit();
    int Height() const;
    // New panel widths (the first panel still stretches), then Fit.
    void SetWidths(std::vector<int> widths);

private:
    HWND hwnd_ = nullptr;
    std::vector<int> widths_;
};

// The hourglass while a command keeps the window busy (no message runs meanwhile to set another);
// the cursor before it comes back after.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

// One tooltip window serving every control of a form.
class ToolTips {
public:
    void Create(HWND owner);
    void Add(HWND control, const std::wstring& text);
    HWND hwnd() const { return tip_; }

private:
    HWND tip_ = nullptr;
    HWND owner_ = nullptr;
};

std::wstring GetText(HWND hwnd);

} // namespace tessary
