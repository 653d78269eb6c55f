// The bytes of a BMP file (24 bits per pixel, bottom-up rows padded to four bytes) made from
// 32-bit pixels: whole, or its header and rows apart for a writer that never holds the picture.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessary {

// Where a 24-bit BMP's parts lie: the headers, then rowBytes per row, the bottom row first.
struct Bmp24Layout {
    std::uint64_t headerBytes = 0, rowBytes = 0, totalBytes = 0;
};
// Nothing (totalBytes 0) when the size is not positive or the file would exceed 2 GB.
Bmp24Layout Bmp24LayoutFor(int width, int height);
// The headers (headerBytes of them) of that file.
std::vector<unsigned char> Bmp24Header(int width, int height);
// One row of 0xAARRGGBB words as the file stores it (blue, green, red; padding left as it is).
void PackBmp24Row(const std::uint32_t* row, int width, unsigned char* out);

// pixels: top-down rows of 0xAARRGGBB words, stridePixels apart (alpha is dropped). Empty when the
// size is not positive, the stride is below the width or the file would exceed 2 GB.
std::vector<unsigned char> EncodeBmp24(const std::uint32_t* pixels, int width, int height, int stridePixels);

} // namespace tessary
