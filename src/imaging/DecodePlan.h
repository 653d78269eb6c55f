// How a picture decoded at a DCT scale maps onto the reduced picture (the format, the claimed size
// and the size rule every decode applies come from imaging/ImageHeader.h).
#pragma once
#include "imaging/ImageHeader.h"
#include "imaging/Scaler.h"
#include <cstddef>
#include <cstdint>

namespace tessary {

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
