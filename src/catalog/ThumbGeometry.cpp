#include "catalog/ThumbGeometry.h"
#include <algorithm>
#include <cmath>
#include <limits>

namespace tessary {

namespace {

constexpr int kReferenceWidth = 200;
constexpr int kReferenceHeight = 160;

} // namespace

int ThumbHeight(int thumbSize, double screenWidth, double screenHeight) {
    if (!(screenWidth > 0) || !(screenHeight > 0))
        return 0;
    return RoundToInt(thumbSize * screenHeight / screenWidth);
}

IntSize CellSize(int thumbSize, int thumbHeight, int captionHeight) {
    return {thumbSize + 2 * kCellMargin, thumbHeight + kCellMargin + captionHeight};
}

int DecodeDivisor(int imageWidth, int imageHeight) {
    int divisor = std::max(imageWidth, 0) / kReferenceWidth;
    int byHeight = std::max(imageHeight, 0) / kReferenceHeight;
    if (byHeight > 1 && byHeight > divisor)
        divisor = byHeight;
    return std::max(divisor, 1);
}

IntSize ReducedSourceSize(int imageWidth, int imageHeight, int divisor) {
    divisor = std::max(divisor, 1);
    return {RoundToInt(static_cast<double>(imageWidth) / divisor),
            RoundToInt(static_cast<double>(imageHeight) / divisor)};
}

std::optional<FittedSize> FitIntoThumbArea(double sourceWidth, double sourceHeight, int thumbSize,
                                           int thumbHeight) {
    double w = sourceWidth, h = sourceHeight;
    if (!std::isfinite(w) || !std::isfinite(h))
        return std::nullopt;
    if (w <= 0 || h <= 0)
        return FittedSize{0, 0};
    double aspect = w / h;
    if (h > thumbHeight) {
        w = thumbHeight * aspect;
        h = thumbHeight;
    }
    if (w > thumbSize) {
        h = thumbSize / aspect;
        w = thumbSize;
    }
    if (!std::isfinite(w) || !std::isfinite(h))
        return std::nullopt;
    return FittedSize{w, h};
}

IntSize FittedPixels(const FittedSize& fitted) {
    return {RoundToInt(fitted.width), RoundToInt(fitted.height)};
}

CellLayout ComputeCellLayout(int thumbSize, int thumbHeight, const FittedSize& fitted, int captionHeight) {
    const double w = fitted.width, h = fitted.height;
    const IntSize cell = CellSize(thumbSize, thumbHeight, captionHeight);
    const IntSize pixels = FittedPixels(fitted);
    CellLayout layout;
    layout.cell = {0, 0, cell.width, cell.height};
    layout.face = {1, 1, cell.width - 1, cell.height - 1};

    const int x = RoundToInt((thumbSize - w) / 2 + kCellMargin);
    const int y = RoundToInt((thumbHeight - h) / 2 + kCellMargin);
    layout.picture = {x, y, x + pixels.width, y + pixels.height};

    // The frame's far sides are measured from its rounded near sides.
    const int left = RoundToInt((thumbSize - w) / 2 + kCellMargin - 2);
    const int top = RoundToInt((thumbHeight - h) / 2 + kCellMargin - 2);
    layout.frame = {left, top, RoundToInt(left + w + 4), RoundToInt(top + h + 4)};

    layout.captionX = RoundToInt(thumbSize / 2.0 + kCellMargin);
    layout.captionY = thumbHeight + kCellMargin;
    return layout;
}

std::uint32_t CaptionColour(int imageWidth, int imageHeight, int screenWidth, int screenHeight) {
    if (imageWidth == screenWidth && imageHeight == screenHeight)
        return kCaptionScreenSize;
    if (imageHeight != 0 && screenHeight != 0) {
        // Compared in single precision, so ratios that differ only beyond it count as equal.
        float image = static_cast<float>(static_cast<double>(imageWidth) / imageHeight);
        float screen = static_cast<float>(static_cast<double>(screenWidth) / screenHeight);
        if (image == screen)
            return kCaptionScreenAspect;
    }
    return kCaptionOther;
}

RgbQuad ColorToRGBQuad(std::uint32_t colour) {
    RgbQuad q;
    q.blue = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
    q.green = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
    q.red = static_cast<std::uint8_t>(colour & 0xFF);
    q.reserved = 0;
    return q;
}

std::uint32_t ChooseListTextColour(std::uint32_t background) {
    RgbQuad q = ColorToRGBQuad(background);
    int sum = q.red + q.green + q.blue;
    return sum >= 3 * 128 ? kBlack : kWhite;
}

} // namespace tessary
