// The bytes of a BMP file (24 bits per pixel, bottom-up rows padded to four bytes) made from
// 32-bit pixels, as the thumbnail cache writes its temporary pictures.
#pragma once
#include <cstdint>
#include <vector>

namespace tessary {

// pixels: top-down rows of 0xAARRGGBB words, stridePixels apart (alpha is dropped). Empty when the
// size is not positive, the stride is below the width or the file would exceed 2 GB.
std::vector<unsigned char> EncodeBmp24(const std::uint32_t* pixels, int width, int height, int stridePixels);

} // namespace tessary
