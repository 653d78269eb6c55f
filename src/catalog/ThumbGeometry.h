// Thumbnail arithmetic: cell and picture sizes, the decode divisor, where each part of a cell is
// drawn, the caption and list text colours, and the size slider's steps. All sizes in pixels.
#pragma once
#include "core/Geometry.h"
#include <cstdint>
#include <optional>

namespace tessary {

constexpr int kCellMargin = 6;
constexpr int kCaptionHeight = 15;

// Height of a thumbnail's picture area: thumbSize scaled by the screen's aspect ratio (any common
// unit), halves to even. 0 when the screen size is not positive.
int ThumbHeight(int thumbSize, double screenWidth, double screenHeight);
// The whole cell: picture area plus a margin each side, and margin plus caption below. The
// caption band grows with the caption's font on screens of more than 96 DPI.
IntSize CellSize(int thumbSize, int thumbHeight, int captionHeight = kCaptionHeight);

// Whole-number reduction applied to a decoded image before it is fitted into a cell: based on a
// 200 x 160 reference, at least 1.
int DecodeDivisor(int imageWidth, int imageHeight);
// The reduced source picture for that divisor (each side divided and rounded, halves to even).
IntSize ReducedSourceSize(int imageWidth, int imageHeight, int divisor);

// A source picture fitted into the thumbSize x thumbHeight area, aspect kept, never enlarged.
struct FittedSize {
    double width = 0, height = 0;
};
// Nothing when the result cannot be drawn (a size that is not a finite number). An empty source
// fits as 0 x 0.
std::optional<FittedSize> FitIntoThumbArea(double sourceWidth, double sourceHeight, int thumbSize,
                                           int thumbHeight);
// The whole pixels the fitted picture covers in the buffer, from (0, 0).
IntSize FittedPixels(const FittedSize& fitted);

// Everything DrawThumbnailCell places in a cell, in cell coordinates.
struct CellLayout {
    IntRect cell;     // whole cell, drawn with a raised edge
    IntRect face;     // filled with the 3-D face colour
    IntRect picture;  // where the fitted picture from the buffer goes
    IntRect frame;    // sunken edge, two pixels outside the picture
    int captionX = 0; // horizontal centre of the caption
    int captionY = 0; // top of the caption
};
CellLayout ComputeCellLayout(int thumbSize, int thumbHeight, const FittedSize& fitted,
                             int captionHeight = kCaptionHeight);

// Colours as the platform's 0x00BBGGRR values.
constexpr std::uint32_t MakeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
           (static_cast<std::uint32_t>(b) << 16);
}
constexpr std::uint32_t kCaptionScreenSize = MakeColour(0, 0, 150);   // dark blue
constexpr std::uint32_t kCaptionScreenAspect = MakeColour(0, 150, 0); // dark green
constexpr std::uint32_t kCaptionOther = MakeColour(0, 0, 0);
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// Dark blue for an image exactly the screen's size, dark green for one of the screen's aspect
// ratio (compared in single precision), black otherwise.
std::uint32_t CaptionColour(int imageWidth, int imageHeight, int screenWidth, int screenHeight);

struct RgbQuad {
    std::uint8_t blue = 0, green = 0, red = 0, reserved = 0;
    friend bool operator==(const RgbQuad&, const RgbQuad&) = default;
};
RgbQuad ColorToRGBQuad(std::uint32_t colour);
// Black text on a light background (mean of red, green, blue at least 128), white on a dark one.
std::uint32_t ChooseListTextColour(std::uint32_t background);

// The thumbnail-size slider.
constexpr int kThumbSizeMin = 50;
constexpr int kThumbSizeMax = 200;
constexpr int kThumbSizeSmallChange = 5;
constexpr int kThumbSizeLargeChange = 20;
constexpr int kThumbSizeTickEvery = 10;

} // namespace tessary
