// Start-up decisions that depend only on numbers: refused systems, first-run window size,
// the main window's layout and its minimum size.
#pragma once
#include "core/Geometry.h"
#include <optional>
#include <string>

namespace tessary {

// The message for a refused system, or nothing when the version may run.
std::optional<std::wstring> RefusalMessage(unsigned major, unsigned minor, unsigned platformId);
// The message shown when GDI+ cannot be started (exeBaseName: "Tessary").
std::wstring GdiplusMissingMessage(const std::wstring& exeBaseName);
// Where that message sends the user.
const std::wstring& GdiplusDownloadUrl();

// First-run outer window size in pixels for the screen size in pixels.
int DefaultWidthPx(float screenWidthPx);
int DefaultHeightPx(float screenHeightPx);

// The outer window rectangle in pixels from the stored Left, Top, Width and Height (twips), with tx
// and ty twips per pixel. Positions are clamped to +-kMaxWindowCoordinate and sizes to 0 to
// kMaxWindowCoordinate pixels before they are converted, so no stored text ("3E+10", "-1E+38")
// overflows; such a rectangle lies off every screen and KeepOnScreen brings it back.
inline constexpr int kMaxWindowCoordinate = 1'000'000;
IntRect WindowRectFromTwips(double left, double top, double width, double height, double tx, double ty);
// A saved window rectangle that touches none of the monitors' work areas is moved to the top-left
// of the primary work area (size kept); one that is on screen stays exactly where it was.
IntRect KeepOnScreen(const IntRect& window, const IntRect* workAreas, int count,
                     const IntRect& primaryWorkArea);

// Minimum outer size of the main window, enforced while the user drags its frame; scaled by
// DPI / 96 on screens of another DPI.
constexpr int kMinWindowWidth = 717;
constexpr int kMinWindowHeight = 535;
void ApplyMinimumSize(int& cx, int& cy, double scale = 1.0);
// A stored thumbnail size as the slider can show it: 50 to 200 in steps of 5 (rounded down, as
// the slider snaps), so that showing it at start-up changes nothing and loads nothing.
int SliderThumbSize(long long stored);
// The first-run window (no rectangle saved yet) made to lie inside the primary monitor's work
// area: shrunk to it when larger, though never below the minimum size, then moved in as little
// as needed. A window that fits stays where it was placed.
IntRect FitInWorkArea(const IntRect& window, const IntRect& workArea);

// Positions (pixels, relative to their container) that the resize rule computes for the client
// size W x H. tx/ty are twips per pixel; the one offset given in twips (the sort list's) is
// converted with them. The margins are designed at 96 DPI and scaled by `scale` (DPI / 96).
struct MainLayoutInput {
    int clientWidth = 0, clientHeight = 0;
    double tx = 15, ty = 15;
    double scale = 1;
    // Designed geometry read from the controls.
    int picturesLeft = 368, picturesTop = 0; // Frame2(0)
    int folderTop = 408;                     // Frame2(1)
    int sliderLeft = 184, sliderHeight = 17;
    int resampleButtonHeight = 25;
    int labelHeight = 17;
    int folderButtonsHeight = 25; // inner height of picPreviewButtonHolder
};
struct MainLayout {
    int picturesWidth, picturesHeight; // Frame2(0)
    int listWidth, listHeight;         // ListViewPics
    int sliderWidth, sliderTop;        // sliderThumbSize
    int labelTop;                      // Label1
    int listModeTop;                   // Picture1(1)
    int buttonRowTop;                  // picButtonBorder
    int sortTop;                       // cboSort
    int folderHeight;                  // Frame2(1)
    int folderButtonsTop;              // picPreviewButtonHolder
    int treeHeight;                    // FolderTreeview1
};
MainLayout ComputeMainLayout(const MainLayoutInput& in);

} // namespace tessary
