// The viewer's arithmetic: how far an image is reduced to fit the monitor, the window that holds
// it, where that window goes, the caption's zoom percentage, and the height that keeps the
// image's proportions while the user drags the frame with Shift held.
#pragma once
#include "core/Geometry.h"
#include <string>
#include <string_view>

namespace tessary {

// How many times the image is reduced to fit 95 % of the work area; at least 1, so an image is
// never enlarged. An empty work area gives 1.
double ZoomFitFactor(IntSize image, IntSize workArea);

// The client size the image is drawn at: the requested size when both sides are positive,
// otherwise the image reduced by the fit factor, rounded (halves to even), at least 1 x 1.
IntSize ZoomDrawnSize(IntSize image, IntSize workArea, IntSize requested = {});

// The outer window size whose client area is exactly `drawn`.
IntSize ZoomWindowSize(IntSize drawn, IntSize frameExtra);

// The window centred in the work area, the work area's own left and top included so that it
// lands on the monitor that holds the main window and clear of a left or top taskbar. A window
// larger than the work area starts at the work area's left or top, keeping its caption reachable.
IntRect CenterInWorkArea(IntSize window, const IntRect& workArea);

// The zoom percentage: the mean of the horizontal and vertical scale, times 100.
double ZoomPercent(IntSize image, IntSize drawn);

// "Tessary - 38.0% - C:\Pics\big.jpg"
std::wstring ZoomCaption(std::wstring_view exeName, double percent, wchar_t decimalSeparator,
                         std::wstring_view imagePath);

// The outer height that gives the client area the image's width-to-height ratio for the proposed
// outer width cx. The proposal cy is returned unchanged when the ratio is not a positive number;
// the client height never goes below zero.
int AspectLockedHeight(int cx, int cy, IntSize frameExtra, double imageAspect);

} // namespace tessary
