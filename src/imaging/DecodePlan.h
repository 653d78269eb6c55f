// What a decode needs to know about an image file beforehand (its format and claimed size come from
// imaging/ImageHeader.h): whether a full decode of that size is affordable, and how a picture
// decoded at a DCT scale maps onto the reduced picture.
#pragma once
#include "imaging/ImageHeader.h"
#include "imaging/Scaler.h"
#include <cstddef>
#include <cstdint>

namespace tessary {

// Formats decoded in full before reducing (all but JPEG) are refused above this many pixels: a
// header claiming 30000 x 30000 would otherwise ask for gigabytes.
inline constexpr std::int64_t kMaxFullDecodePixels = 50'000'000;
bool FullDecodeAffordable(int width, int height);

// How a picture decoded at 1/scale is stretched onto the reduced source picture. Each side has
// ceil(full / scale) decoded pixels, of which only full / scale are image (the last one stands
// partly for padding), so the rectangles are given in units of 1/scale: the source rectangle is
// the whole image (full size, reaching beyond the decoded pixels), the destination the reduced
// size times scale. The reduced picture is the part of it on the surface; every reduced pixel then
// averages exactly the image area it stands for.
struct DecodeMapping {
    ScaleRect source, dest;
};
DecodeMapping ScaledDecodeMapping(int fullWidth, int fullHeight, int scale, int reducedWidth,
                                  int reducedHeight);

} // namespace tessary
