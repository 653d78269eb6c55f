// Exact quarter turns and mirror images of 32-bit pixel buffers: every pixel is moved, none is
// resampled. The eight transforms are numbered as the EXIF orientation tag numbers them, so a
// photo's tag maps straight onto the transform that shows it upright.
#pragma once
#include "imaging/Scaler.h"
#include <cstdint>
#include <vector>

namespace tessary {

enum class PixelTransform {
    None = 1,
    FlipHorizontal = 2, // mirror left to right
    Rotate180 = 3,
    FlipVertical = 4, // mirror top to bottom
    Transpose = 5,    // mirror across the top-left to bottom-right diagonal
    Rotate90 = 6,     // quarter turn clockwise
    Transverse = 7,   // mirror across the top-right to bottom-left diagonal
    Rotate270 = 8,    // quarter turn counter-clockwise
};

// The transform for an EXIF orientation value; None for values outside 1 to 8.
PixelTransform TransformFromExifOrientation(int orientation);

// True when the transform exchanges width and height.
bool SwapsSides(PixelTransform transform);

// Writes the transformed src into dst, which must be src's size with the sides exchanged when
// SwapsSides (false, and nothing written, otherwise or for unusable views). src and dst must not
// overlap.
bool TransformPixels(ConstPixelView src, PixelView dst, PixelTransform transform);

// The same into a new tightly packed buffer; width and height receive its size. Throws
// std::bad_alloc when the memory is not there.
std::vector<std::uint32_t> TransformedPixels(ConstPixelView src, PixelTransform transform, int& width,
                                             int& height);

} // namespace tessary
