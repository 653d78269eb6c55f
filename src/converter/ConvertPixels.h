// The converter's pixel pipeline, free of Windows: a decoded source becomes the picture that is
// shown or written, at its size, turned or mirrored, with its transparency kept or put on white.
#pragma once
#include "converter/ConvertRules.h"
#include <cstdint>
#include <vector>

namespace tessary {

// A decoded picture: tightly packed top-down 0xAARRGGBB words with straight alpha.
struct PixelImage {
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    bool empty() const { return width < 1 || height < 1 || pixels.empty(); }
};

enum class AlphaHandling {
    OnWhite, // every pixel opaque: transparent parts drawn over white
    Keep,    // the alpha channel is kept (scaled with the colours premultiplied, so edges stay clean)
};

// True when some pixel is not fully opaque.
bool HasTransparency(const PixelImage& image);

// Turns the source (consumed) into a picture of size, measured before the rotation, so a quarter
// turn gives size.height x size.width: mirrored or turned exactly, then reduced by area-averaging
// or enlarged bicubically. Throws std::bad_alloc when the memory is not there.
PixelImage RenderPicture(PixelImage source, IntSize size, double rotateMode, AlphaHandling alpha);

} // namespace tessary
