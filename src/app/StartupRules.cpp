#include "app/StartupRules.h"
#include "core/Geometry.h" // RoundHalfEven
#include <algorithm>
#include "core/Geometry.h"
#include <cmath>

namespace tessary {

std::optional<std::wstring> RefusalMessage(unsigned major, unsigned minor, unsigned platformId) {
    constexpr unsigned kWin9x = 1, kNT = 2;
    if (major == 4 && minor == 0 && platformId == kWin9x)
        return L"This software is not supported on Windows 95";
    if (major == 3 && minor == 51 && platformId == kNT)
        return L"This software is not supported on Windows NT 3.51";
    if (major == 4 && minor == 0 && platformId == kNT)
        return L"This software is not supported on Windows NT 4.0";
    return std::nullopt;
}

const std::wstring& GdiplusDownloadUrl() {
    static const std::wstring url = L"https://www.microsoft.com/en-us/download/details.aspx?id=18909";
    return url;
}

std::wstring GdiplusMissingMessage(const std::wstring& exeBaseName) {
    return L"You must have GDIPlus installed in order for " + exeBaseName +
           L" to run correctly.  You can download it from MicroSoft via the following URL: " +
           GdiplusDownloadUrl();
}

int DefaultWidthPx(float screenWidthPx) {
    if (screenWidthPx >= 1680)
        return 1200;
    if (screenWidthPx >= 1280)
        return 1000;
    if (screenWidthPx >= 1024)
        return 900;
    return 800;
}

int DefaultHeightPx(float screenHeightPx) {
    if (screenHeightPx >= 1024)
        return 900;
    if (screenHeightPx >= 768)
        return 700;
    return 600;
}

namespace {
int ClampedPixels(double twips, double twipsPerPixel, double low, double high) {
    const double pixels = twipsPerPixel > 0 ? twips / twipsPerPixel : 0;
    if (std::isnan(pixels))
        return 0;
    return static_cast<int>(RoundHalfEven(std::clamp(pixels, low, high)));
}
} // namespace

IntRect WindowRectFromTwips(double left, double top, double width, double height, double tx, double ty) {
    constexpr double kMax = kMaxWindowCoordinate;
    IntRect r;
    r.left = ClampedPixels(left, tx, -kMax, kMax);
    r.top = ClampedPixels(top, ty, -kMax, kMax);
    r.right = r.left + ClampedPixels(width, tx, 0, kMax);
    r.bottom = r.top + ClampedPixels(height, ty, 0, kMax);
    return r;
}

IntRect KeepOnScreen(const IntRect& window, const IntRect* workAreas, int count,
                     const IntRect& primaryWorkArea) {
    for (int i = 0; i < count; ++i)
        if (Intersects(window, workAreas[i]))
            return window;
    return {primaryWorkArea.left, primaryWorkArea.top, primaryWorkArea.left + window.width(),
            primaryWorkArea.top + window.height()};
}

void ApplyMinimumSize(int& cx, int& cy, double scale) {
    const int minWidth = static_cast<int>(RoundHalfEven(kMinWindowWidth * scale));
    const int minHeight = static_cast<int>(RoundHalfEven(kMinWindowHeight * scale));
    if (cx < minWidth)
        cx = minWidth;
    if (cy < minHeight)
        cy = minHeight;
}

namespace {
// One axis of FitInWorkArea: the new start and length.
void FitSpan(int& start, int& length, int areaStart, int areaLength, int minimum) {
    length = std::max(std::min(length, areaLength), minimum);
    // Moved right of the area's start last, so a window larger than the area keeps its top-left
    // (and with it the caption and the menu) inside.
    start = std::max(std::min(start, areaStart + areaLength - length), areaStart);
}
} // namespace

IntRect FitInWorkArea(const IntRect& window, const IntRect& workArea) {
    int left = window.left, top = window.top, width = window.width(), height = window.height();
    FitSpan(left, width, workArea.left, workArea.width(), kMinWindowWidth);
    FitSpan(top, height, workArea.top, workArea.height(), kMinWindowHeight);
    return {left, top, left + width, top + height};
}

MainLayout ComputeMainLayout(const MainLayoutInput& in) {
    // The margins are designed pixels at 96 DPI.
    auto px = [&](int designed) { return static_cast<int>(RoundHalfEven(designed * in.scale)); };
    MainLayout l{};
    l.picturesWidth = in.clientWidth - in.picturesLeft - px(6);
    l.listWidth = l.picturesWidth - px(17);
    l.sliderWidth = l.picturesWidth - px(5) - in.sliderLeft;
    l.picturesHeight = in.clientHeight - in.picturesTop - px(21);
    l.folderHeight = in.clientHeight - in.folderTop - px(21);
    l.sliderTop = l.picturesHeight - px(5) - in.sliderHeight - in.resampleButtonHeight - px(10);
    l.labelTop = l.sliderTop + px(3);
    l.listHeight = l.sliderTop - px(18);
    l.listModeTop = l.sliderTop + px(2);
    l.buttonRowTop = l.labelTop + in.labelHeight + px(5);
    l.sortTop = l.buttonRowTop + static_cast<int>(std::lround(15.0 / in.ty));
    l.folderButtonsTop = l.folderHeight - in.folderButtonsHeight - px(7);
    l.treeHeight = l.folderButtonsTop - px(22);
    return l;
}

int SliderThumbSize(long long stored) {
    const long long clamped = stored < 50 ? 50 : stored > 200 ? 200 : stored;
    return static_cast<int>(clamped / 5 * 5);
}

} // namespace tessary
