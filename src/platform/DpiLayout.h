// Scales a window's controls to the DPI of its monitor. The controls are made at their designed
// places (pixels at 96 DPI); Capture records those, and Apply puts every recorded control at its
// designed rectangle scaled to a DPI. Controls that the window's resize rule stretches are then
// stretched again by that rule.
#pragma once
#include <windows.h>
#include <vector>

namespace tessary {

// A designed length (pixels at 96 DPI) at a DPI, rounded with halves to even.
int ScaleToDpi(int designed, UINT dpi);

class DpiLayout {
public:
    // Records the root's controls and those inside its frames and picture boxes (not the parts
    // that a list, tree or status bar makes of itself).
    void Capture(HWND root);
    void Apply(UINT dpi) const;
    // The designed rectangle of a recorded control (empty when it was not recorded).
    RECT Designed(HWND control) const;

private:
    struct Item {
        HWND hwnd;
        RECT designed;
    };
    std::vector<Item> items_;
};

// Gives every control under root that uses oldFont the newFont instead.
void ReplaceFont(HWND root, HFONT oldFont, HFONT newFont);

} // namespace tessary
