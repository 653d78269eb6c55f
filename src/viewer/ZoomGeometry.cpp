#include "viewer/ZoomGeometry.h"
#include "core/NumberText.h"
#include <algorithm>
#include <cmath>

namespace tessary {

double ZoomFitFactor(IntSize image, IntSize workArea) {
    if (image.empty() || workArea.empty())
        return 1.0;
    double s = image.width / (0.95 * workArea.width);
    const double s2 = image.height / (0.95 * workArea.height);
    if (s2 > s)
        s = s2;
    return s < 1.0 ? 1.0 : s;
}

IntSize ZoomDrawnSize(IntSize image, IntSize workArea, IntSize requested) {
    if (!requested.empty())
        return requested;
    const double s = ZoomFitFactor(image, workArea);
    return {std::max(1, RoundToInt(image.width / s)), std::max(1, RoundToInt(image.height / s))};
}

IntSize ZoomWindowSize(IntSize drawn, IntSize frameExtra) {
    return {drawn.width + frameExtra.width, drawn.height + frameExtra.height};
}

IntRect CenterInWorkArea(IntSize window, const IntRect& workArea) {
    const double spareX = static_cast<double>(workArea.width()) - window.width;
    const double spareY = static_cast<double>(workArea.height()) - window.height;
    const int left = workArea.left + std::max(0, RoundToInt(spareX / 2));
    const int top = workArea.top + std::max(0, RoundToInt(spareY / 2));
    return {left, top, left + window.width, top + window.height};
}

double ZoomPercent(IntSize image, IntSize drawn) {
    if (image.empty())
        return 0.0;
    return (static_cast<double>(drawn.height) / image.height +
            static_cast<double>(drawn.width) / image.width) *
           100.0 / 2.0;
}

std::wstring ZoomCaption(std::wstring_view exeName, double percent, wchar_t decimalSeparator,
                         std::wstring_view imagePath) {
    std::wstring caption(exeName);
    caption += L" - ";
    caption += FormatOneDecimal(percent, decimalSeparator);
    caption += L"% - ";
    caption += imagePath;
    return caption;
}

int AspectLockedHeight(int cx, int cy, IntSize frameExtra, double imageAspect) {
    if (!(imageAspect > 0.0) || !std::isfinite(imageAspect))
        return cy;
    const int height =
        RoundToInt((static_cast<double>(cx) - frameExtra.width) / imageAspect + frameExtra.height);
    return std::max(height, frameExtra.height);
}

} // namespace tessary
